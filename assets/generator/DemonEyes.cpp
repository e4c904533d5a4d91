#include "generator/Animations.h"
#include "generator/Noise.h"
#include "generator/Raster.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace animations {

namespace {

    constexpr int kWidth = 241;
    constexpr int kHeight = 83;
    constexpr int kFrames = 20;

    struct Pair {
        QPointF centre;
        qreal size; // half-width of one eye
        qreal spacing;
        QColor colour;
        int blinkFrame; // the frame at which this pair is shut
        qreal tilt; // degrees; frowning brows slant the eyes inwards
    };

    const QList<Pair> kPairs {
        { { 120, 38 }, 14, 40, QColor(255, 40, 10), 6, 14 },
        { { 40, 28 }, 8, 22, QColor(255, 190, 40), 13, 12 },
        { { 200, 50 }, 9, 24, QColor(140, 255, 80), 2, 16 },
        { { 62, 66 }, 5, 14, QColor(255, 90, 20), 17, 10 },
        { { 180, 16 }, 5, 13, QColor(255, 60, 30), 9, 12 },
    };

    qreal openness(const Pair& pair, int frame)
    {
        const int distance = std::abs(frame - pair.blinkFrame);
        return distance == 0 ? 0.08 : distance == 1 ? 0.5 : 1.0;
    }

    // `side` -1 draws a left eye, 1 its mirror image.
    void paintEye(QPainter& painter, QPointF centre, int side, const Pair& pair, qreal open)
    {
        painter.save();
        const qreal size = pair.size;
        painter.translate(centre);
        painter.scale(-side, 1);
        painter.rotate(pair.tilt);
        QPainterPath shape;
        shape.moveTo(-size, 0);
        shape.quadTo(0, -size * 0.9 * open, size, size * 0.1);
        shape.quadTo(0, size * 0.6 * open, -size, 0);
        QRadialGradient fire(QPointF(0, 0), size);
        fire.setColorAt(0.0, QColor(255, 250, 210));
        fire.setColorAt(0.35, pair.colour.lighter(130));
        fire.setColorAt(1.0, pair.colour.darker(250));
        painter.setPen(Qt::NoPen);
        painter.setBrush(fire);
        painter.drawPath(shape);
        painter.setBrush(QColor(10, 0, 0));
        painter.drawEllipse(QPointF(0, 0), size * 0.12, size * 0.5 * open);
        painter.restore();
    }

    void paintFog(QImage& image, float phase, int scale)
    {
        for (int row_ = 0; row_ < image.height(); ++row_) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(row_));
            const float y = raster::unscaled(row_, scale);
            for (int column = 0; column < image.width(); ++column) {
                const float x = raster::unscaled(column, scale);
                const float s = noise::loopingFbm(x / 30.0f, y / 12.0f, phase, 2.0f, 4, 500u);
                const float k = std::pow(std::clamp(s - 0.45f, 0.0f, 1.0f) * 2.4f, 2.0f) * 45.0f;
                row[column] = qRgb(static_cast<int>(k * 0.6f), static_cast<int>(k * 0.15f),
                    static_cast<int>(k * 0.2f));
            }
        }
    }

    QImage drawFrame(int frame, int scale)
    {
        const float phase = static_cast<float>(frame) / kFrames;
        QImage image = raster::blackCanvas(kWidth * scale, kHeight * scale);
        paintFog(image, phase, scale);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        for (const Pair& pair : kPairs) {
            const qreal open = openness(pair, frame);
            const qreal drift = 1.5 * std::sin(phase * 6.2832 + pair.centre.x());
            for (int side : { -1, 1 }) {
                const QPointF centre = pair.centre + QPointF(side * pair.spacing / 2 + drift, 0);
                raster::glowSpot(painter, centre, pair.size * 2.4, pair.colour, 0.35 * open);
                paintEye(painter, centre, side, pair, open);
            }
        }
        painter.end();
        raster::addGlow(image, 5 * scale, 0.8f, 70);
        return raster::opaque(image);
    }

}

Animation demonEyes(int scale)
{
    return animate(kFrames, 10, [scale](int frame) { return drawFrame(frame, scale); });
}

}
