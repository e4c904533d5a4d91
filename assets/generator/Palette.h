#pragma once

#include <QColor>

// One palette for the whole stage: deep blacks, candle orange, sickly green and red glows.
namespace palette {

inline const QColor candle { 255, 150, 60 };
inline const QColor candleCore { 255, 236, 170 };
inline const QColor ember { 200, 40, 10 };
inline const QColor blood { 150, 8, 8 };
inline const QColor sickly { 120, 255, 110 };
inline const QColor bone { 222, 208, 176 };
inline const QColor stone { 92, 86, 80 };
inline const QColor night { 8, 6, 10 };

}
