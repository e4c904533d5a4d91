#include "generator/Animations.h"
#include "generator/Noise.h"
#include "generator/Raster.h"
#include "generator/Relief.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace animations {

namespace {

    constexpr int kWidth = 65;
    constexpr int kHeight = 128;
    constexpr int kFrames = 12;
    constexpr QPointF kEye { 13.5, 43 };

    // The beast crouches on a pillar, snout to the left, wings folded behind; `breath` swells
    // its chest.
    QList<relief::Ellipsoid> beast(float breath)
    {
        return {
            { { 38, 70 }, 16, 21, 10, 22 }, // haunch and back
            { { 26, 63 }, 11.0f + breath, 14.0f + breath, -10, 20 }, // chest
            { { 19, 45 }, 10, 9, 0, 18 }, // head
            { { 8, 49 }, 8.5f, 4.5f, 12, 14 }, // snout
            { { 12, 55 }, 7, 3.2f, 5, 12 }, // jaw
            { { 25, 32 }, 2.6f, 9, 28, 9 }, // horns
            { { 16, 32 }, 2.3f, 7.5f, -18, 8 }, { { 28, 39 }, 2.2f, 6, 55, 7 }, // ear
            { { 46, 42 }, 10, 30, 18, 12 }, // folded wing
            { { 53, 14 }, 3.5f, 12, 24, 8 }, // wing claw
            { { 22, 80 }, 5, 12, 8, 14 }, // fore leg
            { { 17, 91 }, 7, 3, 0, 10 }, // talons
            { { 44, 89 }, 10, 4, 0, 12 }, // hind foot
            { { 58, 82 }, 3, 11, -28, 8 }, // tail
        };
    }

    float pillarHeight(QPointF p)
    {
        const float x = static_cast<float>(p.x());
        const float y = static_cast<float>(p.y());
        if (y >= 93 && y < 100 && x > 3 && x < 62)
            return 20.0f + 4.0f * std::min(x - 3, 62 - x) / 59.0f; // capital
        if (y >= 100 && x > 9 && x < 56) {
            const float course = std::fmod(y - 100.0f, 11.0f) < 1.0f ? -3.0f : 0.0f; // mortar
            return 16.0f + 6.0f * std::sin((x - 9.0f) / 47.0f * std::numbers::pi_v<float>) + course;
        }
        return -1.0f;
    }

    relief::SurfacePoint stoneAt(QPointF p, float breath, float glow)
    {
        relief::SurfacePoint point;
        const float body = relief::highest(beast(breath), p);
        const float column = pillarHeight(p);
        const float h = std::max(body, column);
        point.coverage = column > 0 ? 1.0f : relief::edge(body, 6.0f);
        const float grit = noise::fbm(
            static_cast<float>(p.x()) / 2.5f, static_cast<float>(p.y()) / 2.5f, 3, 12u);
        point.height = std::max(0.0f, h) + 1.6f * grit;
        point.albedo = QVector3D(0.45f, 0.43f, 0.40f)
            * (0.55f + 0.7f * noise::fbm(p.x() / 9.0f, p.y() / 9.0f, 3, 13u));
        point.specular = 0.05f;
        point.emission
            = QVector3D(1.6f, 0.3f, 0.1f) * glow * relief::bump(p, kEye, 2.8f, 2.0f, 1.0f);
        return point;
    }

    QImage drawFrame(int frame, int scale)
    {
        const float phase = static_cast<float>(frame) / kFrames;
        const float wave = std::sin(2.0f * std::numbers::pi_v<float> * phase);
        const float breath = 0.8f * wave;
        const float glow = 1.6f + 0.9f * wave;
        const float flicker = 0.8f + 0.4f * noise::loopingFbm(2, 2, phase, 1.2f, 2, 14u);
        const QList<relief::PointLight> lights {
            { QVector3D(-25, 75, 55), QVector3D(1.9f, 0.95f, 0.4f) * flicker, 85.0f },
            { QVector3D(70, -20, 40), QVector3D(0.12f, 0.3f, 0.14f), 150.0f },
            { QVector3D(kEye.x() - 2, kEye.y() + 2, 24), QVector3D(0.5f, 0.06f, 0.02f) * glow,
                6.0f },
        };
        QImage image = raster::blackCanvas(kWidth * scale, kHeight * scale);
        const QImage stone = relief::shade(
            image.size(), [breath, glow](QPointF p) { return stoneAt(p, breath, glow); }, lights,
            QVector3D(0.02f, 0.02f, 0.025f), {}, scale);
        QPainter painter(&image);
        painter.drawImage(0, 0, stone);
        painter.end();
        raster::addGlow(image, 3 * scale, 0.7f, 110);
        return raster::opaque(image);
    }

}

Animation gargoyle(int scale)
{
    return animate(kFrames, 10, [scale](int frame) { return drawFrame(frame, scale); });
}

}
