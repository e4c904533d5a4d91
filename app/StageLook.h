#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

class QMouseEvent;
class QWidget;

// The look every window of the stage shares.
//
// The windows were laid out in twips, the old unit of 1/1440 inch; at the 96 dots per inch the
// layout was drawn for, 15 twips make one pixel. Coordinates stay in twips where the layout
// gives them and become pixels here, rounded to the nearest.
namespace look {

inline constexpr int kTwipsPerPixel = 15;

int pixels(int twips);
QRect twips(int left, int top, int width, int height);

// The pale yellow of captions and of the consultation window.
inline const QColor kPaleYellow { 255, 255, 192 };

}

// Moves a frameless window by a press on its background: the window system moves it where it
// can; elsewhere the window follows the pointer while the button is held.
class WindowDrag {
public:
    void press(QWidget* window, QMouseEvent* event);
    void move(QWidget* window, QMouseEvent* event);
    void release();

private:
    bool m_following = false;
    QPoint m_grab;
};
