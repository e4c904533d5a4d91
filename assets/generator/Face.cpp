#include "generator/Noise.h"
#include "generator/Palette.h"
#include "generator/Pictures.h"
#include "generator/Raster.h"
#include "generator/Relief.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

    constexpr int kWidth = 451;
    constexpr int kHeight = 316;
    constexpr float kCentreX = 225.0f;
    constexpr float kCentreY = 150.0f;
    constexpr float kHalfWidth = 86.0f;
    constexpr float kHalfHeight = 124.0f;

    QPointF onFace(float u, float v)
    {
        return { kCentreX + u * kHalfWidth, kCentreY + v * kHalfHeight };
    }

    // Distance from the face's centre in units of its outline; the jaw narrows towards the chin.
    float faceRadius(QPointF p)
    {
        const float v = static_cast<float>(p.y() - kCentreY) / kHalfHeight;
        const float narrowing = 1.0f - 0.22f * std::max(0.0f, v) * std::max(0.0f, v);
        const float u = static_cast<float>(p.x() - kCentreX) / (kHalfWidth * narrowing);
        return std::sqrt(u * u + v * v);
    }

    float eyeSockets(QPointF p)
    {
        float h = 0.0f;
        for (float side : { -1.0f, 1.0f }) {
            h += relief::bump(p, onFace(0.37f * side, -0.13f), 21.0f, 14.0f, -24.0f);
            h += relief::bump(p, onFace(0.50f * side, 0.10f), 20.0f, 12.0f, 7.0f); // cheekbone
            h += relief::bump(p, onFace(0.46f * side, 0.40f), 18.0f, 16.0f, -7.0f); // hollow cheek
            h += relief::bump(p, onFace(0.09f * side, 0.41f), 4.0f, 3.0f, -4.0f); // nostril
        }
        return h;
    }

    float maskHeight(QPointF p)
    {
        const float r = faceRadius(p);
        const float dome = 62.0f * std::sqrt(std::max(0.0f, 1.0f - r * r));
        return dome + eyeSockets(p)
            + relief::bump(p, onFace(0.0f, -0.30f), 64.0f, 10.0f, 9.0f) // brow
            + relief::bump(p, onFace(0.0f, 0.12f), 8.0f, 36.0f, 15.0f) // nose ridge
            + relief::bump(p, onFace(0.0f, 0.33f), 11.0f, 9.0f, 9.0f) // nose tip
            + relief::bump(p, onFace(0.0f, 0.565f), 24.0f, 4.0f, 4.0f) // upper lip
            + relief::bump(p, onFace(0.0f, 0.605f), 26.0f, 2.2f, -7.0f) // mouth
            + relief::bump(p, onFace(0.0f, 0.655f), 20.0f, 4.5f, 4.0f) // lower lip
            + relief::bump(p, onFace(0.0f, 0.86f), 22.0f, 11.0f, 6.0f) // chin
            + 2.2f
            * noise::fbm(
                static_cast<float>(p.x()) / 9.0f, static_cast<float>(p.y()) / 9.0f, 3, 71u);
    }

    float hoodHalfWidth(float y)
    {
        return 168.0f + std::max(0.0f, y - 215.0f) * 1.1f;
    }

    float hoodHeight(QPointF p)
    {
        const float x = static_cast<float>(p.x());
        const float y = static_cast<float>(p.y());
        const float across = (x - kCentreX) / hoodHalfWidth(y);
        const float wobble = noise::fbm(x / 40.0f, y / 90.0f, 3, 5u);
        const float folds = 7.0f * std::sin(x * 0.075f + wobble * 6.0f + y * 0.012f);
        const float rim = relief::bump(p, QPointF(kCentreX, kCentreY), 112.0f, 150.0f, 28.0f);
        return 46.0f * std::sqrt(std::max(0.0f, 1.0f - across * across)) + folds + rim;
    }

    // Soft glow inside each socket: a pinpoint pupil in a sickly haze.
    QVector3D eyeLight(QPointF p, float flare)
    {
        float pupil = 0.0f;
        float haze = 0.0f;
        for (float side : { -1.0f, 1.0f }) {
            const QPointF centre = onFace(0.37f * side, -0.115f);
            pupil += relief::bump(p, centre, 3.2f, 2.6f, 1.0f);
            haze += relief::bump(p, centre, 13.0f, 8.0f, 1.0f);
        }
        const QVector3D green(0.45f, 1.0f, 0.35f);
        return green * (pupil * 1.6f + haze * 0.22f) * flare
            + QVector3D(1, 1, 0.8f) * pupil * 0.5f * flare;
    }

    relief::SurfacePoint maskPoint(QPointF p, float flare)
    {
        relief::SurfacePoint point;
        point.height = maskHeight(p) + 40.0f;
        const float sockets = std::clamp(-eyeSockets(p) / 20.0f, 0.0f, 1.0f);
        const float grime = noise::fbm(
            static_cast<float>(p.x()) / 14.0f, static_cast<float>(p.y()) / 14.0f, 4, 9u);
        const float tone = (0.92f - 0.55f * sockets) * (0.75f + 0.4f * grime);
        point.albedo = QVector3D(0.80f, 0.72f, 0.60f) * tone;
        point.specular = 0.22f;
        point.shininess = 18.0f;
        point.coverage = std::clamp((1.0f - faceRadius(p)) * 40.0f, 0.0f, 1.0f);
        point.emission = eyeLight(p, flare);
        return point;
    }

    relief::SurfacePoint hoodPoint(QPointF p)
    {
        relief::SurfacePoint point;
        const float y = static_cast<float>(p.y());
        const float across = std::abs(static_cast<float>(p.x()) - kCentreX) / hoodHalfWidth(y);
        const float top = 8.0f + 60.0f * across * across * across * across;
        point.height = hoodHeight(p);
        point.albedo = QVector3D(0.30f, 0.07f, 0.05f)
            * (0.7f + 0.5f * noise::fbm(p.x() / 3.0f, p.y() / 30.0f, 2, 3u));
        point.specular = 0.05f;
        point.coverage = std::clamp((1.0f - across) * 30.0f, 0.0f, 1.0f)
            * std::clamp((y - top) / 6.0f, 0.0f, 1.0f);
        // The opening of the hood is a pit of shadow around the mask.
        const float r = faceRadius(p);
        point.albedo *= std::clamp((r - 1.0f) * 2.5f, 0.0f, 1.0f);
        return point;
    }

    const QList<relief::PointLight> kCandleBelow {
        { QVector3D(kCentreX + 20.0f, kHeight + 50.0f, 70.0f), QVector3D(3.4f, 1.75f, 0.7f),
            190.0f },
        { QVector3D(-120.0f, -140.0f, 60.0f), QVector3D(0.10f, 0.26f, 0.13f), 420.0f },
    };

    void paintSmoke(QImage& canvas)
    {
        for (int y = 0; y < canvas.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
            for (int x = 0; x < canvas.width(); ++x) {
                const float s = noise::fbm(x / 55.0f, y / 28.0f - x / 160.0f, 5, 41u);
                const float wisp = std::pow(std::clamp(s - 0.42f, 0.0f, 1.0f) * 2.6f, 2.0f);
                const float nearCandle = std::clamp(
                    1.0f - std::hypot(x - kCentreX, (y - kHeight) * 1.4f) / 330.0f, 0.0f, 1.0f);
                const float k = wisp * (0.15f + 0.85f * nearCandle) * 70.0f;
                row[x] = qRgb(std::min(255, static_cast<int>(k)),
                    std::min(255, static_cast<int>(k * 0.5f)),
                    std::min(255, static_cast<int>(k * 0.25f)));
            }
        }
        QPainter painter(&canvas);
        raster::glowSpot(painter, QPointF(kCentreX + 20, kHeight + 30), 170, palette::candle, 0.55);
    }

    QImage render(float flare)
    {
        QImage canvas = raster::blackCanvas(kWidth, kHeight);
        paintSmoke(canvas);
        const QVector3D ambient(0.012f, 0.010f, 0.016f);
        const QImage hood = relief::shade(canvas.size(), hoodPoint, kCandleBelow, ambient);
        const QImage mask = relief::shade(
            canvas.size(), [flare](QPointF p) { return maskPoint(p, flare); }, kCandleBelow,
            ambient);
        {
            QPainter painter(&canvas);
            painter.drawImage(0, 0, hood);
            painter.drawImage(0, 0, mask);
        }
        raster::addGlow(canvas, 10, 0.7f, 90);
        raster::vignette(canvas, 0.75f);
        raster::addGrain(canvas, 22.0f, 1234u);
        return raster::opaque(canvas);
    }

}

QImage face()
{
    return render(0.9f);
}

QImage faceCrop()
{
    const QImage flaring = render(2.6f);
    const QPointF eyes = onFace(0.0f, -0.13f);
    return flaring.copy(static_cast<int>(eyes.x()) - 68, static_cast<int>(eyes.y()) - 25, 136, 54);
}

QImage calibrarFace()
{
    return face().scaled(165, 116, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}
