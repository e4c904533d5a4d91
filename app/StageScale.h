#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// How the stage is shown in a window. The stage keeps its own 792 x 573 pixels, in which every
// position, the eye's jumps, the orb and the hot spots are given; the window shows it uniformly
// scaled to the largest size that fits, centred, and never smaller than half size (a smaller
// window shows the top left of a half-size stage). The scale is all that changes with the
// window; what the stage computes does not.
class StageScale {
public:
    static constexpr QSize kStage { 792, 573 };
    static constexpr double kSmallest = 0.5;

    // The stage at its own size, one device pixel per stage pixel.
    StageScale() = default;
    // For a window area of `window` logical pixels on a screen of `devicePixelRatio`.
    StageScale(QSize window, double devicePixelRatio);

    // Logical pixels per stage pixel.
    double scale() const { return m_scale; }
    double devicePixelRatio() const { return m_devicePixelRatio; }
    // Device pixels per stage pixel: the resolution pictures are drawn for.
    double density() const { return m_scale * m_devicePixelRatio; }
    // Where the stage stands in the window, in logical pixels.
    QRect stageRect() const { return m_stageRect; }

    // From stage pixels to logical pixels within the stage. Edges are rounded one by one, so
    // pictures that touch on the stage still touch.
    QRect toWindow(const QRect& stage) const;
    QPoint toWindow(QPoint stage) const;

    bool operator==(const StageScale&) const = default;

private:
    double m_scale = 1.0;
    double m_devicePixelRatio = 1.0;
    QRect m_stageRect { QPoint(), kStage };
};
