#pragma once

#include "ScaledLayout.h"
#include "StageScale.h"

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

// Shows the stage at the scale its window allows: watches the window area that holds it, and at
// every change of size or screen density places the stage and each widget on it at the scale
// of the moment, with fonts and still pictures to match. The widgets are given their stage
// positions once; whatever moves one later moves it here, in stage pixels.
class StageView : public QObject {
    Q_OBJECT
public:
    // `area` is the window's area the stage stands in; `stage` is the 792 x 573 stage on it.
    StageView(QWidget* area, QWidget* stage);

    // Shows `widget` at `stage`, in stage pixels, now and at every change of scale.
    void place(QWidget* widget, const QRect& stage);
    // Shows a picture label at `stage`, holding the still picture `picture` (see stagePicture).
    void place(QLabel* label, const QRect& stage, const QString& picture);
    // Moves a placed widget to `stage`, keeping its size.
    void move(QWidget* widget, QPoint stage);
    // Where a placed widget stands, in stage pixels.
    QRect stageRect(const QWidget* widget) const;

    const StageScale& scale() const { return m_layout.scale(); }

signals:
    void scaleChanged(const StageScale& scale);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rescale();

    QWidget* m_area;
    QWidget* m_stage;
    ScaledLayout m_layout;
};

// A still picture of the stage. The generator draws each one for stage pixels (`path`, as
// ":/pictures/face.jpg") and, for some, again for 2, 3 and 4 device pixels per stage pixel
// ("face@2x.jpg"...). Gives the set nearest above the scale's density (or the largest there is),
// smoothly scaled down to the device pixels the picture covers; at one device pixel per stage
// pixel, the picture itself.
QPixmap stagePicture(const QString& path, const StageScale& scale);
// The same, as an image; safe on any thread.
QImage stageImage(const QString& path, const StageScale& scale);
