#include "generator/Animations.h"
#include "generator/Noise.h"
#include "generator/Raster.h"
#include "generator/Skull.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace animations {

namespace {

    constexpr int kWidth = 113;
    constexpr int kHeight = 161;
    constexpr int kFrames = 12;
    constexpr QPointF kCentre { 56.5, 72 };
    const QVector3D kRed { 1.0f, 0.12f, 0.04f };

    // Red mist curling up from below, moving round a loop.
    void paintMist(QImage& image, float phase, int scale)
    {
        for (int row_ = 0; row_ < image.height(); ++row_) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(row_));
            const float y = raster::unscaled(row_, scale);
            for (int column = 0; column < image.width(); ++column) {
                const float x = raster::unscaled(column, scale);
                const float s = noise::loopingFbm(x / 22.0f, y / 18.0f, phase, 1.2f, 4, 88u);
                const float low = std::clamp((y - 40.0f) / 120.0f, 0.0f, 1.0f);
                const float k
                    = std::pow(std::clamp(s - 0.4f, 0.0f, 1.0f) * 2.5f, 2.0f) * 90.0f * low;
                row[column] = qRgb(
                    static_cast<int>(k), static_cast<int>(k * 0.08f), static_cast<int>(k * 0.05f));
            }
        }
    }

    // Sparks rising from the sockets, each on its own looping path.
    void paintSparks(QPainter& painter, float phase)
    {
        noise::Sequence random(15u);
        for (int spark = 0; spark < 10; ++spark) {
            const int side = spark % 2 ? 1 : -1;
            const float offset = random.next();
            const float life = std::fmod(phase + offset, 1.0f);
            const QPointF from = skull::eyeSocket(kCentre, 1.0f, side);
            const QPointF at
                = from + QPointF(side * 6 * life + 4 * std::sin(life * 9 + offset * 6), -70 * life);
            raster::glowSpot(painter, at, 3.5, QColor(255, 90, 30), 0.9 * (1 - life));
        }
    }

    QImage drawFrame(int frame, int scale)
    {
        const float phase = static_cast<float>(frame) / kFrames;
        const float pulse
            = 0.75f + 0.6f * std::pow(std::sin(std::numbers::pi_v<float> * phase), 2.0f);
        QImage image = raster::blackCanvas(kWidth * scale, kHeight * scale);
        paintMist(image, phase, scale);
        QList<relief::PointLight> lights {
            { QVector3D(kCentre.x() - 10, kHeight + 30, 60), QVector3D(1.5f, 0.75f, 0.32f),
                130.0f },
            { QVector3D(kCentre.x() + 30, -20, 80), QVector3D(0.35f, 0.3f, 0.28f), 120.0f },
        };
        for (int side : { -1, 1 }) {
            const QPointF socket = skull::eyeSocket(kCentre, 1.0f, side);
            lights << relief::PointLight { QVector3D(socket.x(), socket.y() + 4, 12),
                kRed * 1.1f * pulse, 12.0f };
        }
        const QImage skullImage = relief::shade(
            image.size(),
            [pulse](QPointF p) {
                return skull::pointAt(p, kCentre, 1.0f, pulse, QVector3D(1.0f, 0.25f, 0.08f));
            },
            lights, QVector3D(0.03f, 0.02f, 0.02f), {}, scale);
        QPainter painter(&image);
        painter.drawImage(0, 0, skullImage);
        painter.scale(scale, scale);
        paintSparks(painter, phase);
        painter.end();
        raster::addGlow(image, 6 * scale, 0.55f * pulse, 110);
        raster::vignette(image, 0.5f);
        return raster::opaque(image);
    }

}

Animation skullGlow(int scale)
{
    return animate(kFrames, 10, [scale](int frame) { return drawFrame(frame, scale); });
}

}
