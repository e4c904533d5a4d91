#include "MouthPictures.h"
#include "generator/Noise.h"
#include "generator/Palette.h"
#include "generator/Pictures.h"
#include "generator/Raster.h"
#include "generator/Relief.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <ranges>

namespace pictures {

namespace {

    constexpr int kWidth = 451;
    constexpr int kHeight = 316;
    constexpr float kCentreX = 225.0f;
    constexpr float kCentreY = 150.0f;
    constexpr float kHalfWidth = 86.0f;
    constexpr float kHalfHeight = 124.0f;

    QRect scaled(const QRect& rect, int scale)
    {
        return { rect.topLeft() * scale, rect.size() * scale };
    }

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

    // Fine cracks in old glaze: where a noise field crosses its middle value.
    float distanceToSegment(QPointF p, QPointF a, QPointF b)
    {
        const QPointF ab = b - a;
        const qreal t
            = std::clamp(QPointF::dotProduct(p - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
        const QPointF d = p - (a + ab * t);
        return static_cast<float>(std::hypot(d.x(), d.y()));
    }

    // One deep crack running down through the right eye.
    float fracture(QPointF p)
    {
        static const QList<QPointF> kPath { onFace(0.22f, -0.97f), onFace(0.31f, -0.72f),
            onFace(0.26f, -0.52f), onFace(0.37f, -0.34f), onFace(0.34f, -0.18f),
            onFace(0.43f, 0.02f), onFace(0.37f, 0.17f), onFace(0.49f, 0.33f),
            onFace(0.46f, 0.45f) };
        float nearest = 1e9f;
        for (qsizetype i = 1; i < kPath.size(); ++i)
            nearest = std::min(nearest, distanceToSegment(p, kPath[i - 1], kPath[i]));
        return std::clamp(1.2f - nearest, 0.0f, 1.0f);
    }

    float crackle(QPointF p)
    {
        const float n = noise::fbm(
            static_cast<float>(p.x()) / 26.0f, static_cast<float>(p.y()) / 26.0f, 4, 333u);
        return 0.5f * std::clamp(1.0f - std::abs(n - 0.5f) / 0.006f, 0.0f, 1.0f);
    }

    // How the mouth stands for one of its shapes. The default is the mouth at rest, as the
    // face has always been drawn.
    struct MouthPose {
        float width = 1.0f; // of the lips, against their width at rest
        float lift = 0.0f; // the upper lip rises, in pixels
        float drop = 0.0f; // the lower lip falls (up when negative)
        float pout = 0.0f; // the lips come forward
        float press = 0.0f; // 0..1: the lips pressed thin together
        float opening = 0.0f; // height of the gap between the lips
        float openingWidth = 0.0f; // half of its width
        float teeth = 0.0f; // 0..1: how far down the gap the upper teeth reach
        float lowerTeeth = 0.0f; // 0..1: how far up it the lower teeth reach
        float tongue = 0.0f; // 0..1: the tongue's tip behind the teeth
    };

    const QPointF kUpperLip = onFace(0.0f, 0.565f);
    const QPointF kLipLine = onFace(0.0f, 0.605f);
    const QPointF kLowerLip = onFace(0.0f, 0.655f);

    QPointF moved(QPointF p, float down)
    {
        return { p.x(), p.y() + down };
    }

    // Where the lips part: midway between them as they move apart.
    QPointF gapCentre(const MouthPose& m)
    {
        return moved(kLipLine, (m.drop - m.lift) / 2.0f);
    }

    float upperLip(QPointF p, const MouthPose& m)
    {
        return relief::bump(p, moved(kUpperLip, -m.lift), 24.0f * m.width,
            4.0f * (1.0f - 0.4f * m.press), 4.0f + m.pout - 2.0f * m.press);
    }

    float lipLine(QPointF p, const MouthPose& m)
    {
        // The line between the lips gives way to the gap as the mouth opens.
        return relief::bump(p, gapCentre(m), 26.0f * m.width, 2.2f * (1.0f - 0.4f * m.press),
            -7.0f * (1.0f - 0.3f * m.press) / (1.0f + m.opening));
    }

    float lowerLip(QPointF p, const MouthPose& m)
    {
        return relief::bump(p, moved(kLowerLip, m.drop), 20.0f * m.width,
            4.5f * (1.0f - 0.4f * m.press), 4.0f + m.pout - 2.0f * m.press);
    }

    // Lips pressed together push the flesh around them out.
    float pressedBulge(QPointF p, const MouthPose& m)
    {
        return relief::bump(p, kLipLine, 30.0f, 9.0f, 2.5f * m.press);
    }

    // 1 well inside the gap between the lips, 0 outside it, with a soft edge of a pixel or so.
    float inGap(QPointF p, const MouthPose& m)
    {
        if (m.opening <= 0.0f)
            return 0.0f;
        const QPointF centre = gapCentre(m);
        const float u = static_cast<float>(p.x() - centre.x()) / m.openingWidth;
        const float v = static_cast<float>(p.y() - centre.y()) / (m.opening / 2.0f);
        const float r = std::sqrt(u * u + v * v);
        const float soft = 0.8f / std::min(m.openingWidth, m.opening / 2.0f);
        return std::clamp((1.0f - r) / soft, 0.0f, 1.0f);
    }

    // How far down the gap a point lies: 0 at its top, 1 at its bottom.
    float downTheGap(QPointF p, const MouthPose& m)
    {
        const QPointF centre = gapCentre(m);
        return std::clamp(static_cast<float>(p.y() - centre.y()) / m.opening + 0.5f, 0.0f, 1.0f);
    }

    // What shows in the gap: the dark of the mouth, the upper teeth, the tongue's tip.
    struct InTheGap {
        float depth;
        QVector3D albedo;
        float specular;
    };

    InTheGap gapAt(QPointF p, const MouthPose& m)
    {
        const QVector3D enamel(0.95f, 0.90f, 0.74f);
        const float down = downTheGap(p, m);
        if (down < m.teeth || down > 1.0f - m.lowerTeeth)
            return { -1.5f, enamel, 0.6f };
        const QPointF centre = gapCentre(m);
        const float across = std::abs(static_cast<float>(p.x() - centre.x())) / m.openingWidth;
        if (across < 0.5f * m.tongue)
            return { -3.0f, QVector3D(0.70f, 0.22f, 0.20f), 0.5f };
        return { -13.0f, QVector3D(0.22f, 0.02f, 0.02f), 0.05f };
    }

    float gapDepth(QPointF p, const MouthPose& m)
    {
        const float gap = inGap(p, m);
        return gap > 0.0f ? gap * gapAt(p, m).depth : 0.0f;
    }

    float maskHeight(QPointF p, const MouthPose& m)
    {
        const float r = faceRadius(p);
        const float dome = 62.0f * std::sqrt(std::max(0.0f, 1.0f - r * r));
        return dome + eyeSockets(p)
            + relief::bump(p, onFace(0.0f, -0.30f), 64.0f, 10.0f, 9.0f) // brow
            + relief::bump(p, onFace(0.0f, 0.14f), 12.0f, 34.0f, 13.0f) // nose ridge
            + relief::bump(p, onFace(0.0f, 0.34f), 13.0f, 9.0f, 8.0f) // nose tip
            + upperLip(p, m) + lipLine(p, m) + lowerLip(p, m)
            + relief::bump(p, onFace(0.0f, 0.86f), 22.0f, 11.0f, 6.0f) // chin
            + 0.9f
            * noise::fbm(
                static_cast<float>(p.x()) / 14.0f, static_cast<float>(p.y()) / 14.0f, 3, 71u)
            - 1.2f * crackle(p) - 4.0f * fracture(p) + gapDepth(p, m) + pressedBulge(p, m);
    }

    float hoodHalfWidth(float y)
    {
        return 170.0f + std::max(0.0f, y - 200.0f) * 1.2f;
    }

    // Distance from the middle of the hood's opening in units of the opening.
    float openingRadius(QPointF p)
    {
        const float u = static_cast<float>(p.x() - kCentreX) / 100.0f;
        const float v = static_cast<float>(p.y() - 170.0f) / 134.0f;
        return std::sqrt(u * u + v * v);
    }

    float hoodHeight(QPointF p)
    {
        const float x = static_cast<float>(p.x());
        const float y = static_cast<float>(p.y());
        const float across = (x - kCentreX) / hoodHalfWidth(y);
        const float ro = openingRadius(p);
        const float angle = std::atan2(y - 170.0f, x - kCentreX);
        const float wobble = noise::fbm(x / 50.0f, y / 50.0f, 3, 5u);
        const float folds = 6.0f * std::sin(angle * 11.0f + wobble * 5.0f)
            * std::clamp((ro - 1.15f) * 3.0f, 0.0f, 1.0f);
        const float rim = 26.0f * std::exp(-std::pow((ro - 1.1f) / 0.12f, 2.0f));
        return 40.0f * std::sqrt(std::max(0.0f, 1.0f - across * across)) + folds + rim;
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

    relief::SurfacePoint maskPoint(QPointF p, float flare, const MouthPose& mouth)
    {
        relief::SurfacePoint point;
        point.height = maskHeight(p, mouth) + 40.0f;
        const float sockets = std::clamp(-eyeSockets(p) / 20.0f, 0.0f, 1.0f);
        const float grime = noise::fbm(
            static_cast<float>(p.x()) / 30.0f, static_cast<float>(p.y()) / 30.0f, 4, 9u);
        const float tone = (0.92f - 0.55f * sockets) * (0.82f + 0.25f * grime)
            * (1.0f - 0.55f * crackle(p)) * (1.0f - 0.9f * fracture(p));
        point.albedo = QVector3D(0.80f, 0.72f, 0.60f) * tone;
        point.specular = 0.45f;
        if (const float gap = inGap(p, mouth); gap > 0.0f) {
            const InTheGap inside = gapAt(p, mouth);
            point.albedo = point.albedo * (1.0f - gap) + inside.albedo * tone * gap;
            point.specular = point.specular * (1.0f - gap) + inside.specular * gap;
        }
        point.shininess = 34.0f;
        point.coverage = std::clamp((1.0f - faceRadius(p)) * 40.0f, 0.0f, 1.0f)
            * std::clamp((1.0f - openingRadius(p)) * 40.0f, 0.0f, 1.0f);
        point.emission = eyeLight(p, flare);
        return point;
    }

    relief::SurfacePoint hoodPoint(QPointF p)
    {
        relief::SurfacePoint point;
        const float y = static_cast<float>(p.y());
        const float across = std::abs(static_cast<float>(p.x()) - kCentreX) / hoodHalfWidth(y);
        const float crown = std::hypot(across, (y - 178.0f) / 172.0f);
        point.height = hoodHeight(p);
        const float weave = noise::fbm(p.x() / 2.0f, p.y() / 2.0f, 2, 3u);
        // The opening of the hood is a pit of shadow around the mask.
        const float pit = std::clamp((openingRadius(p) - 1.0f) * 10.0f, 0.0f, 1.0f);
        point.albedo = QVector3D(0.20f, 0.11f, 0.08f) * (0.8f + 0.35f * weave) * pit;
        point.specular = 0.04f;
        point.coverage = y > 178.0f ? std::clamp((1.0f - across) * 30.0f, 0.0f, 1.0f)
                                    : std::clamp((1.0f - crown) * 30.0f, 0.0f, 1.0f);
        return point;
    }

    const QList<relief::PointLight> kCandleBelow {
        { QVector3D(kCentreX + 20.0f, kHeight + 50.0f, 70.0f), QVector3D(2.5f, 1.2f, 0.45f),
            230.0f },
        { QVector3D(kCentreX - 40.0f, 300.0f, 320.0f), QVector3D(0.55f, 0.28f, 0.12f), 300.0f },
        { QVector3D(kCentreX + 60.0f, -120.0f, -30.0f), QVector3D(0.10f, 0.24f, 0.13f), 300.0f },
    };

    void paintSmoke(QImage& canvas, int scale)
    {
        for (int row_ = 0; row_ < canvas.height(); ++row_) {
            QRgb* row = reinterpret_cast<QRgb*>(canvas.scanLine(row_));
            const float y = float(row_) / float(scale);
            for (int column = 0; column < canvas.width(); ++column) {
                const float x = float(column) / float(scale);
                const float s = noise::fbm(x / 55.0f, y / 28.0f - x / 160.0f, 5, 41u);
                const float wisp = std::pow(std::clamp(s - 0.42f, 0.0f, 1.0f) * 2.6f, 2.0f);
                const float nearCandle = std::clamp(
                    1.0f - std::hypot(x - kCentreX, (y - kHeight) * 1.4f) / 330.0f, 0.0f, 1.0f);
                const float k = wisp * (0.15f + 0.85f * nearCandle) * 70.0f;
                row[column] = qRgb(std::min(255, static_cast<int>(k)),
                    std::min(255, static_cast<int>(k * 0.5f)),
                    std::min(255, static_cast<int>(k * 0.25f)));
            }
        }
        QPainter painter(&canvas);
        if (scale != 1)
            painter.scale(scale, scale);
        raster::glowSpot(painter, QPointF(kCentreX + 20, kHeight + 30), 170, palette::candle, 0.55);
    }

    // Candle-lit film: shadows sink to crimson, highlights turn to pale gold. Green light (the
    // eyes) keeps its colour.
    void grade(QImage& image)
    {
        const QList<std::pair<float, QVector3D>> ramp { { 0.0f, { 0, 0, 0 } },
            { 0.12f, { 38, 6, 10 } }, { 0.4f, { 190, 80, 32 } }, { 0.75f, { 250, 190, 110 } },
            { 1.0f, { 255, 242, 214 } } };
        for (int y = 0; y < image.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int r = qRed(row[x]);
                const int g = qGreen(row[x]);
                const int b = qBlue(row[x]);
                if (g > r)
                    continue;
                const float luma
                    = std::min(1.0f, (0.3f * r + 0.59f * g + 0.11f * b) / 255.0f * 1.25f);
                qsizetype i = 1;
                while (ramp[i].first < luma)
                    ++i;
                const float t = (luma - ramp[i - 1].first) / (ramp[i].first - ramp[i - 1].first);
                const QVector3D c = ramp[i - 1].second * (1 - t) + ramp[i].second * t;
                row[x] = qRgb((r + static_cast<int>(c.x())) / 2, (g + static_cast<int>(c.y())) / 2,
                    (b + static_cast<int>(c.z())) / 2);
            }
        }
    }

    // `shaded` limits the costly shading of hood and mask to a part of the picture (all of it
    // when empty); elsewhere they are left out. The picture has `scale` pixels for each of the
    // face's; `shaded` is in the picture's.
    QImage render(float flare, const MouthPose& mouth = {}, QRect shaded = {}, int scale = 1)
    {
        QImage canvas = raster::blackCanvas(kWidth * scale, kHeight * scale);
        paintSmoke(canvas, scale);
        const QVector3D ambient(0.012f, 0.010f, 0.016f);
        const QImage hood
            = relief::shade(canvas.size(), hoodPoint, kCandleBelow, ambient, shaded, scale);
        const QImage mask = relief::shade(
            canvas.size(), [flare, &mouth](QPointF p) { return maskPoint(p, flare, mouth); },
            kCandleBelow, ambient, shaded, scale);
        {
            QPainter painter(&canvas);
            painter.drawImage(0, 0, hood);
            painter.drawImage(0, 0, mask);
        }
        grade(canvas);
        raster::addGlow(canvas, 10 * scale, 0.7f, 90);
        raster::vignette(canvas, 0.75f);
        raster::addGrain(canvas, 22.0f, 1234u);
        return raster::opaque(canvas);
    }

}

constexpr float kFaceFlare = 0.9f;

QImage face(int scale)
{
    return render(kFaceFlare, {}, {}, scale);
}

QImage faceCrop(int scale)
{
    const QImage flaring = render(2.6f, {}, {}, scale);
    const QPointF eyes = onFace(0.0f, -0.13f);
    return flaring.copy(scaled(
        QRect(static_cast<int>(eyes.x()) - 68, static_cast<int>(eyes.y()) - 21, 136, 54), scale));
}

namespace {

    // In the order of kMouthPictures.
    const MouthPose kMouthPoses[] = {
        {}, // rest
        { .width = 1.06f, .pout = 0.3f, .press = 1.0f }, // pressed
        { .drop = 2.0f, .opening = 3.5f, .openingWidth = 16.0f, .teeth = 0.4f }, // slight
        { .lift = 1.5f, .drop = 7.5f, .opening = 11.0f, .openingWidth = 17.0f, .teeth = 0.25f },
        { .width = 1.18f,
            .lift = 0.5f,
            .drop = 2.0f,
            .press = 0.3f,
            .opening = 6.0f,
            .openingWidth = 23.0f,
            .teeth = 0.45f,
            .lowerTeeth = 0.3f }, // wide
        { .width = 0.62f,
            .lift = 1.0f,
            .drop = 3.5f,
            .pout = 3.0f,
            .opening = 8.0f,
            .openingWidth = 8.5f }, // rounded
        { .width = 0.45f, .drop = 1.0f, .pout = 5.0f, .opening = 3.5f, .openingWidth = 3.5f },
        { .lift = 1.2f,
            .drop = -1.0f,
            .pout = -1.2f,
            .opening = 4.0f,
            .openingWidth = 15.0f,
            .teeth = 0.9f }, // teeth on lip
        { .lift = 0.5f,
            .drop = 3.5f,
            .opening = 6.0f,
            .openingWidth = 15.0f,
            .teeth = 0.3f,
            .tongue = 1.0f },
    };
    static_assert(std::size(kMouthPoses) == kMouthPictures.size());

    // Towards its edges the crop fades into the face at rest, so it meets the face without a
    // seam wherever it is laid over it.
    constexpr int kFeather = 8;

    QImage feathered(const QImage& rest, const QImage& shaped, int scale)
    {
        QImage blended = shaped.convertToFormat(QImage::Format_RGB32);
        const QImage base = rest.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < blended.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(blended.scanLine(y));
            const QRgb* under = reinterpret_cast<const QRgb*>(base.constScanLine(y));
            for (int x = 0; x < blended.width(); ++x) {
                const int inside
                    = std::min({ x, y, blended.width() - 1 - x, blended.height() - 1 - y });
                const float w = std::clamp(float(inside) / float(kFeather * scale), 0.0f, 1.0f);
                auto mix = [w](int a, int b) {
                    return static_cast<int>(std::lround(a * (1 - w) + b * w));
                };
                row[x] = qRgb(mix(qRed(under[x]), qRed(row[x])),
                    mix(qGreen(under[x]), qGreen(row[x])), mix(qBlue(under[x]), qBlue(row[x])));
            }
        }
        return blended;
    }

}

QList<QImage> mouths(const QImage& face, int scale)
{
    // The glow spreads light some thirty pixels: shading that much around the crop gives it
    // the very pixels of a whole face.
    const QRect shaded = scaled(kMouthInFace.adjusted(-32, -32, 32, 32), scale);
    const QRect crop = scaled(kMouthInFace, scale);
    const QImage rest = face.copy(crop);
    QList<QImage> pictures { rest };
    for (const MouthPose& pose : kMouthPoses | std::views::drop(1))
        pictures << feathered(rest, render(kFaceFlare, pose, shaded, scale).copy(crop), scale);
    return pictures;
}

QImage calibrarFace()
{
    return face().scaled(165, 116, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}
