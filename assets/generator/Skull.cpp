#include "generator/Skull.h"

#include "generator/Noise.h"

#include <algorithm>
#include <cmath>

namespace skull {

namespace {

    // Parts in units of the design skull, centre between the eyes.
    const QList<relief::Ellipsoid> kBone {
        { { 0, -22 }, 40, 42, 0, 36 }, // cranium
        { { -24, 6 }, 14, 12, 20, 20 }, // cheekbones
        { { 24, 6 }, 14, 12, -20, 20 }, { { 0, 22 }, 25, 16, 0, 26 }, // upper jaw
        { { 0, 42 }, 22, 12, 0, 20 }, // lower jaw
        { { 0, 8 }, 26, 20, 0, 26 }, // face
    };

    float hollows(QPointF q)
    {
        float h = 0.0f;
        for (int side : { -1, 1 }) {
            h += relief::bump(q, QPointF(side * 15.5, 1), 9.5f, 10.5f, -30.0f); // eye sockets
            h += relief::bump(q, QPointF(side * 35, 8), 6.0f, 9.0f, -8.0f); // temples
        }
        h += relief::bump(q, QPointF(0, 19), 3.6f, 6.0f, -22.0f); // nasal hole
        return h;
    }

    // Ridged teeth across the jaws, a dark line where the jaws meet.
    float teeth(QPointF q)
    {
        const float x = static_cast<float>(q.x());
        const float y = static_cast<float>(q.y());
        if (std::abs(x) > 19.0f || y < 28.0f || y > 40.0f)
            return 0.0f;
        const float gap = std::pow(std::abs(std::sin(x * 3.14159f / 5.0f)), 0.3f);
        const float bite = std::exp(-std::pow((y - 34.0f) / 1.2f, 2.0f));
        return 4.0f * gap - 10.0f * bite - 4.0f;
    }

}

QPointF eyeSocket(QPointF centre, float scale, int side)
{
    return centre + QPointF(side * 15.5 * scale, scale);
}

relief::SurfacePoint pointAt(
    QPointF p, QPointF centre, float scale, float glow, QVector3D glowColour)
{
    const QPointF q = (p - centre) / scale;
    const float bone = relief::highest(kBone, q);
    relief::SurfacePoint point;
    point.coverage = relief::edge(bone, 36.0f / scale);
    const float hollow = hollows(q);
    point.height = (std::max(0.0f, bone) + hollow + teeth(q)
                       + 1.5f
                           * noise::fbm(static_cast<float>(q.x()) / 5,
                               static_cast<float>(q.y()) / 5, 3, 61u))
        * scale;
    const float depth = std::clamp(-hollow / 22.0f, 0.0f, 1.0f);
    const float stain
        = noise::fbm(static_cast<float>(q.x()) / 12, static_cast<float>(q.y()) / 12, 4, 62u);
    point.albedo = QVector3D(0.86f, 0.80f, 0.66f) * (1.0f - 0.85f * depth) * (0.7f + 0.45f * stain);
    point.specular = 0.15f;
    point.shininess = 10.0f;
    float socketGlow = 0.0f;
    for (int side : { -1, 1 })
        socketGlow += relief::bump(q, QPointF(side * 15.5, 2), 6.5f, 7.0f, 1.0f);
    point.emission = glowColour * glow * socketGlow;
    return point;
}

}
