#include "generator/Animations.h"
#include "generator/Noise.h"
#include "generator/Palette.h"
#include "generator/Raster.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <numbers>

namespace animations {

namespace {

    constexpr int kWidth = 140;
    constexpr int kHeight = 148;
    // Wind up, strike, follow through, recover: the scythe's angle in degrees per frame.
    constexpr std::array<qreal, 12> kSwing { -18, -26, -34, -40, -42, -20, 25, 58, 64, 48, 22, 0 };
    constexpr QPointF kGrip { 92, 70 };

    QPainterPath robe(qreal phase)
    {
        QPainterPath path;
        path.moveTo(58, 14);
        path.cubicTo(40, 14, 34, 34, 36, 52); // back of the hood
        path.cubicTo(28, 80, 20, 110, 12, 140);
        // Tattered hem, fluttering.
        for (int tooth = 0; tooth <= 10; ++tooth) {
            const qreal x = 12 + tooth * 9.5;
            const qreal flutter = 5 * std::sin(phase * 2 * std::numbers::pi + tooth * 1.7);
            path.lineTo(x + 4, 146 - (tooth % 2 ? 10 : 0) + flutter * 0.6);
        }
        path.lineTo(100, 132);
        path.cubicTo(96, 100, 92, 80, 86, 62); // front of the robe
        path.cubicTo(84, 40, 80, 16, 58, 14);
        return path;
    }

    void paintBackdrop(QPainter& painter)
    {
        raster::glowSpot(painter, QPointF(64, 44), 95, QColor(90, 130, 100), 0.5);
        raster::glowSpot(painter, QPointF(64, 150), 60, palette::candle, 0.35);
    }

    void paintRobe(QPainter& painter, qreal phase)
    {
        const QPainterPath shape = robe(phase);
        QLinearGradient cloth(0, 10, 0, kHeight);
        cloth.setColorAt(0.0, QColor(26, 22, 30));
        cloth.setColorAt(1.0, QColor(6, 4, 8));
        painter.setPen(QPen(QColor(110, 150, 120, 160), 1.2));
        painter.setBrush(cloth);
        painter.drawPath(shape);
        painter.setPen(QPen(QColor(0, 0, 0, 200), 1.4));
        painter.drawLine(QPointF(50, 70), QPointF(40, 138));
        painter.drawLine(QPointF(66, 76), QPointF(64, 140));
        painter.drawLine(QPointF(80, 80), QPointF(88, 136));
        QPainterPath hoodOpening;
        hoodOpening.addEllipse(QPointF(64, 36), 13, 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(2, 0, 2));
        painter.drawPath(hoodOpening);
    }

    void paintEyes(QPainter& painter, qreal strength)
    {
        for (qreal x : { 59.0, 70.0 }) {
            raster::glowSpot(painter, QPointF(x, 36), 9, palette::ember, 0.8 * strength);
            raster::glowSpot(painter, QPointF(x, 36), 2.5, QColor(255, 200, 120), strength);
        }
    }

    void paintScythe(QPainter& painter, qreal degrees, qreal streak)
    {
        painter.save();
        painter.translate(kGrip);
        painter.rotate(degrees);
        painter.setPen(QPen(QColor(70, 45, 25), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, 66), QPointF(0, -58));
        QPainterPath blade;
        blade.moveTo(0, -58);
        blade.cubicTo(-20, -72, -52, -66, -70, -46);
        blade.cubicTo(-50, -58, -24, -58, 0, -50);
        blade.closeSubpath();
        QLinearGradient steel(-70, -46, 0, -60);
        steel.setColorAt(0.0, QColor(240, 250, 240));
        steel.setColorAt(0.5, QColor(150, 160, 150));
        steel.setColorAt(1.0, QColor(60, 60, 60));
        painter.setPen(QPen(QColor(20, 20, 20), 0.8));
        painter.setBrush(steel);
        painter.drawPath(blade);
        if (streak > 0) {
            painter.setPen(QPen(QColor(200, 230, 210, static_cast<int>(90 * streak)), 6));
            painter.setBrush(Qt::NoBrush);
            painter.drawArc(QRectF(-80, -80, 160, 160), 90 * 16, 60 * 16);
        }
        raster::glowSpot(painter, QPointF(-66, -48), 6, palette::sickly, 0.8);
        painter.restore();
    }

    void paintHand(QPainter& painter)
    {
        QPainterPath sleeve(QPointF(70, 48));
        sleeve.cubicTo(QPointF(80, 50), QPointF(84, 60), kGrip + QPointF(-6, -7));
        sleeve.lineTo(kGrip + QPointF(-5, 6));
        sleeve.cubicTo(QPointF(80, 72), QPointF(72, 66), QPointF(64, 62));
        sleeve.closeSubpath();
        QLinearGradient cloth(70, 40, 90, 76);
        cloth.setColorAt(0.0, QColor(34, 30, 38));
        cloth.setColorAt(1.0, QColor(10, 8, 12));
        painter.setPen(QPen(QColor(110, 150, 120, 120), 1));
        painter.setBrush(cloth);
        painter.drawPath(sleeve);
        painter.setPen(QPen(palette::bone.darker(130), 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(kGrip + QPointF(-5, 0), kGrip + QPointF(-2, 0)); // wrist
        painter.setPen(QPen(palette::bone, 1.6, Qt::SolidLine, Qt::RoundCap));
        for (int finger = 0; finger < 4; ++finger)
            painter.drawLine(
                kGrip + QPointF(-3, -4 + finger * 2.5), kGrip + QPointF(3, -4 + finger * 2.5));
    }

    QImage drawFrame(int frame, int scale)
    {
        const qreal phase = static_cast<qreal>(frame) / kSwing.size();
        const qreal previous = kSwing[(frame + kSwing.size() - 1) % kSwing.size()];
        const qreal speed = std::abs(kSwing[frame] - previous);
        QImage image = raster::blackCanvas(kWidth * scale, kHeight * scale);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        paintBackdrop(painter);
        paintRobe(painter, phase);
        paintEyes(painter, 0.7 + 0.3 * std::sin(phase * 2 * std::numbers::pi));
        paintScythe(painter, kSwing[frame], speed > 30 ? 1.0 : 0.0);
        paintHand(painter);
        painter.end();
        raster::addGlow(image, 4 * scale, 0.7f, 100);
        raster::addGrain(image, 5.0f, 9u);
        return raster::opaque(image);
    }

}

Animation reaper(int scale)
{
    return animate(
        static_cast<int>(kSwing.size()), 9, [scale](int frame) { return drawFrame(frame, scale); });
}

}
