#include "generator/Animations.h"
#include "generator/Noise.h"
#include "generator/Raster.h"
#include "generator/Skull.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace animations {

namespace {

    constexpr int kWidth = 136;
    constexpr int kHeight = 104;
    constexpr int kFrames = 16;
    constexpr float kScale = 0.62f;

    // Ectoplasm: green wisps streaming away behind the skull.
    void paintWisps(QImage& image, QPointF centre, float phase, int scale)
    {
        for (int row_ = 0; row_ < image.height(); ++row_) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(row_));
            const float y = raster::unscaled(row_, scale);
            for (int column = 0; column < image.width(); ++column) {
                const float x = raster::unscaled(column, scale);
                const float dx = static_cast<float>(x - centre.x());
                const float dy = static_cast<float>(y - centre.y());
                const float body = std::exp(-(dx * dx / 1800.0f + dy * dy / 1100.0f));
                const float trail = std::exp(-std::pow((dy - 0.25f * dx) / 14.0f, 2.0f))
                    * std::clamp(dx / 60.0f, 0.0f, 1.0f);
                const float s = noise::loopingFbm(x / 14.0f, y / 10.0f, phase, 1.5f, 4, 300u);
                const float k = std::clamp(s * 1.6f - 0.45f, 0.0f, 1.0f) * (body + trail) * 150.0f;
                row[column] = qRgb(static_cast<int>(k * 0.35f), std::min(255, static_cast<int>(k)),
                    static_cast<int>(k * 0.45f));
            }
        }
    }

    QImage drawFrame(int frame, int scale)
    {
        const float angle = 2.0f * std::numbers::pi_v<float> * frame / kFrames;
        const QPointF centre(60 + 5 * std::sin(angle), 50 + 5 * std::sin(2 * angle + 0.5));
        QImage image = raster::blackCanvas(kWidth * scale, kHeight * scale);
        paintWisps(image, centre, static_cast<float>(frame) / kFrames, scale);
        const QList<relief::PointLight> lights {
            { QVector3D(centre.x() - 30, centre.y() - 50, 60), QVector3D(0.45f, 1.3f, 0.55f),
                120.0f },
        };
        const QImage ghost = relief::shade(
            image.size(),
            [centre](QPointF p) {
                return skull::pointAt(p, centre, kScale, 1.2f, QVector3D(0.5f, 1.0f, 0.3f));
            },
            lights, QVector3D(0.02f, 0.07f, 0.03f), {}, scale);
        QPainter painter(&image);
        painter.setOpacity(0.62 + 0.18 * std::sin(angle * 2));
        painter.drawImage(0, 0, ghost);
        painter.end();
        raster::addGlow(image, 6 * scale, 0.6f, 100);
        return raster::opaque(image);
    }

}

Animation ghostlySkull(int scale)
{
    return animate(kFrames, 10, [scale](int frame) { return drawFrame(frame, scale); });
}

}
