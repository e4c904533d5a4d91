#include "generator/Noise.h"
#include "generator/Palette.h"
#include "generator/Pictures.h"
#include "generator/Raster.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace pictures {

namespace {

    constexpr int kFrames = 16;
    constexpr QPointF kCentre { 28.5, 26.0 };

    QPainterPath almond(qreal open)
    {
        QPainterPath path;
        path.moveTo(4, kCentre.y());
        path.cubicTo(16, kCentre.y() - 24 * open, 41, kCentre.y() - 24 * open, 53, kCentre.y() - 1);
        path.cubicTo(41, kCentre.y() + 17 * open, 16, kCentre.y() + 17 * open, 4, kCentre.y());
        return path;
    }

    void paintFlesh(QPainter& painter)
    {
        QRadialGradient flesh(kCentre + QPointF(0, 4), 28);
        flesh.setColorAt(0.0, QColor(120, 52, 30));
        flesh.setColorAt(0.55, QColor(60, 20, 12));
        flesh.setColorAt(1.0, Qt::black);
        painter.setPen(Qt::NoPen);
        painter.setBrush(flesh);
        painter.drawEllipse(kCentre, 28.5, 26);
    }

    void paintVeins(QPainter& painter)
    {
        noise::Sequence random(404u);
        painter.setBrush(Qt::NoBrush);
        for (int vein = 0; vein < 12; ++vein) {
            const qreal angle = random.between(0, 2 * std::numbers::pi_v<float>);
            QPointF p = kCentre + QPointF(std::cos(angle) * 26, std::sin(angle) * 16);
            QPainterPath path(p);
            for (int step = 0; step < 5; ++step) {
                p += (kCentre - p) * 0.14 + QPointF(random.between(-2, 2), random.between(-2, 2));
                path.lineTo(p);
            }
            painter.setPen(QPen(QColor(170, 20, 20, 150), random.between(0.5f, 1.0f)));
            painter.drawPath(path);
        }
    }

    void paintIris(QPainter& painter, QPointF centre, qreal pupil)
    {
        QRadialGradient iris(centre, 9.5);
        iris.setColorAt(0.0, QColor(230, 255, 140));
        iris.setColorAt(0.45, QColor(110, 220, 60));
        iris.setColorAt(0.85, QColor(30, 90, 20));
        iris.setColorAt(1.0, QColor(5, 20, 5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(iris);
        painter.drawEllipse(centre, 9.5, 9.5);
        painter.setPen(QPen(QColor(20, 60, 10, 140), 0.6));
        for (int streak = 0; streak < 18; ++streak) {
            const qreal a = streak * std::numbers::pi / 9;
            painter.drawLine(centre + QPointF(std::cos(a), std::sin(a)) * (pupil + 1),
                centre + QPointF(std::cos(a), std::sin(a)) * 8.5);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(centre, pupil * 0.55, pupil);
        painter.setBrush(QColor(255, 255, 240, 220));
        painter.drawEllipse(centre + QPointF(-3.2, -3.6), 1.6, 1.3);
    }

    // Wide open but for a blink near the end of the loop.
    qreal openness(int frame)
    {
        switch (frame) {
        case 11:
            return 0.55;
        case 12:
            return 0.08;
        case 13:
            return 0.45;
        default:
            return 1.0;
        }
    }

    QImage drawFrame(int frame, int scale)
    {
        const qreal phase = 2 * std::numbers::pi * frame / kFrames;
        const QPointF gaze = kCentre + QPointF(7 * std::sin(phase), 1.5 * std::sin(2 * phase));
        const qreal pupil = 3.6 + 1.2 * std::cos(phase);
        QImage image = raster::blackCanvas(57 * scale, 52 * scale);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        if (scale != 1)
            painter.scale(scale, scale);
        paintFlesh(painter);
        const QPainterPath shape = almond(openness(frame));
        painter.save();
        painter.setClipPath(shape);
        QRadialGradient white(kCentre, 26);
        white.setColorAt(0.0, QColor(240, 226, 190));
        white.setColorAt(0.7, QColor(200, 150, 120));
        white.setColorAt(1.0, QColor(110, 40, 30));
        painter.fillRect(image.rect(), white);
        paintVeins(painter);
        paintIris(painter, gaze, pupil);
        QLinearGradient lidShadow(0, kCentre.y() - 16, 0, kCentre.y());
        lidShadow.setColorAt(0.0, QColor(0, 0, 0, 200));
        lidShadow.setColorAt(1.0, Qt::transparent);
        painter.fillRect(image.rect(), lidShadow);
        painter.restore();
        painter.setPen(QPen(QColor(40, 6, 4), 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape);
        raster::glowSpot(painter, gaze, 13, palette::sickly, 0.25 * openness(frame));
        painter.end();
        raster::addGrain(image, 6.0f, static_cast<std::uint32_t>(frame));
        return raster::opaque(image);
    }

}

Animation eye(int scale)
{
    return animate(kFrames, 9, [scale](int frame) { return drawFrame(frame, scale); });
}

}
