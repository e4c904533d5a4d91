#include "generator/Animations.h"
#include "generator/Noise.h"
#include "generator/Palette.h"
#include "generator/Raster.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace animations {

namespace {

    constexpr int kWidth = 113;
    constexpr int kHeight = 160;
    constexpr int kFrames = 16;
    constexpr qreal kWickX = 56.5;
    constexpr qreal kWaxTop = 88;

    struct Flicker {
        qreal sway; // sideways lean of the flame's tip, pixels
        qreal height; // flame length, pixels
        qreal brightness; // 0.7 .. 1.1
    };

    Flicker flickerAt(int frame)
    {
        const float phase = static_cast<float>(frame) / kFrames;
        return { (noise::loopingFbm(3, 3, phase, 1.3f, 3, 51u) - 0.5) * 14,
            30 + (noise::loopingFbm(9, 1, phase, 1.6f, 3, 52u) - 0.5) * 16,
            0.75 + 0.45 * noise::loopingFbm(5, 7, phase, 1.4f, 2, 53u) };
    }

    QPainterPath flameShape(const Flicker& f, qreal scale)
    {
        const QPointF base(kWickX, kWaxTop - 6);
        const QPointF tip = base + QPointF(f.sway, -f.height * scale);
        const qreal w = 6.5 * scale;
        QPainterPath path(tip);
        path.cubicTo(base + QPointF(f.sway * 0.3 + w * 0.6, -f.height * 0.45 * scale),
            base + QPointF(w * 1.2, 2), base + QPointF(0, 4 * scale));
        path.cubicTo(base + QPointF(-w * 1.2, 2),
            base + QPointF(f.sway * 0.3 - w * 0.6, -f.height * 0.45 * scale), tip);
        return path;
    }

    void paintWax(QPainter& painter, const Flicker& f)
    {
        const qreal left = 38;
        const qreal right = 75;
        QLinearGradient body(left, 0, right, 0);
        const int lit = static_cast<int>(205 * f.brightness);
        body.setColorAt(0.0, QColor(40, 22, 12));
        body.setColorAt(
            0.45, QColor(std::min(255, lit + 30), std::min(255, lit), std::min(255, lit / 2 + 40)));
        body.setColorAt(1.0, QColor(30, 16, 10));
        QPainterPath wax;
        wax.moveTo(left, kWaxTop);
        wax.lineTo(left, kHeight);
        wax.lineTo(right, kHeight);
        wax.lineTo(right, kWaxTop);
        // Drips of molten wax over the rim.
        for (qreal x : { 43.0, 52.0, 66.0, 71.0 }) {
            const qreal length = 8 + std::fmod(x * 7.3, 22.0);
            QPainterPath drip;
            drip.addRoundedRect(QRectF(x - 2.5, kWaxTop - 1, 5, length), 2.5, 2.5);
            wax = wax.united(drip);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(body);
        painter.drawPath(wax);
        QLinearGradient fade(0, kWaxTop, 0, kHeight);
        fade.setColorAt(0.0, Qt::transparent);
        fade.setColorAt(1.0, QColor(0, 0, 0, 230));
        painter.setBrush(fade);
        painter.drawRect(QRectF(left - 4, kWaxTop, right - left + 8, kHeight - kWaxTop));
        QRadialGradient pool(QPointF(kWickX, kWaxTop), 19);
        pool.setColorAt(0.0, QColor(255, 210, 130));
        pool.setColorAt(1.0, QColor(150, 90, 40));
        painter.setBrush(pool);
        painter.drawEllipse(QPointF(kWickX, kWaxTop), 18.5, 4);
    }

    void paintFlame(QPainter& painter, const Flicker& f)
    {
        raster::glowSpot(painter, QPointF(kWickX + f.sway * 0.3, kWaxTop - 18), 70 * f.brightness,
            palette::candle, 0.45 * f.brightness);
        const QList<std::pair<qreal, QColor>> layers { { 1.25, QColor(200, 60, 10, 150) },
            { 1.0, QColor(255, 150, 40) }, { 0.7, QColor(255, 220, 120) },
            { 0.42, QColor(255, 252, 230) } };
        painter.setPen(Qt::NoPen);
        for (const auto& [scale, colour] : layers) {
            painter.setBrush(colour);
            painter.drawPath(flameShape(f, scale));
        }
        painter.setBrush(QColor(60, 90, 255, 150));
        painter.drawEllipse(QPointF(kWickX, kWaxTop - 4), 3.5, 2.5);
        painter.setPen(QPen(QColor(20, 10, 5), 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(kWickX, kWaxTop), QPointF(kWickX + f.sway * 0.1, kWaxTop - 8));
    }

    QImage drawFrame(int frame, int scale)
    {
        const Flicker f = flickerAt(frame);
        QImage image = raster::blackCanvas(kWidth * scale, kHeight * scale);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        paintWax(painter, f);
        paintFlame(painter, f);
        painter.end();
        raster::addGlow(image, 6 * scale, 0.6f, 100);
        return raster::opaque(image);
    }

}

Animation candle(int scale)
{
    return animate(kFrames, 7, [scale](int frame) { return drawFrame(frame, scale); });
}

}
