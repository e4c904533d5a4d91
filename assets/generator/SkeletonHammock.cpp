#include "generator/Animations.h"
#include "generator/Noise.h"
#include "generator/Palette.h"
#include "generator/Raster.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace animations {

namespace {

    constexpr int kWidth = 313;
    constexpr int kHeight = 283;
    constexpr int kFrames = 16;
    constexpr QPointF kLeftTie { 52, 128 };
    constexpr QPointF kRightTie { 262, 124 };
    constexpr QPointF kLantern { 238, 72 };

    void paintSky(QImage& image, int scale)
    {
        for (int row_ = 0; row_ < image.height(); ++row_) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(row_));
            const float y = raster::unscaled(row_, scale);
            for (int column = 0; column < image.width(); ++column) {
                const float x = raster::unscaled(column, scale);
                const float cloud = noise::fbm(x / 60.0f, y / 20.0f, 5, 900u);
                const float k = std::pow(std::clamp(cloud - 0.45f, 0.0f, 1.0f) * 2.2f, 2.0f) * 40.0f
                    * std::clamp(1.0f - y / 180.0f, 0.0f, 1.0f);
                row[column] = qRgb(static_cast<int>(k * 0.6f), static_cast<int>(k * 0.75f),
                    static_cast<int>(k * 0.7f));
            }
        }
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        raster::glowSpot(painter, QPointF(160, 52), 90, QColor(170, 200, 170), 0.45);
        QRadialGradient moon(QPointF(154, 46), 26);
        moon.setColorAt(0.0, QColor(235, 240, 215));
        moon.setColorAt(1.0, QColor(160, 175, 150));
        painter.setPen(Qt::NoPen);
        painter.setBrush(moon);
        painter.drawEllipse(QPointF(160, 52), 24, 24);
        painter.setBrush(QColor(120, 135, 115, 120));
        painter.drawEllipse(QPointF(152, 46), 5, 4);
        painter.drawEllipse(QPointF(167, 60), 7, 5);
        painter.drawEllipse(QPointF(170, 44), 3, 3);
    }

    void branch(QPainter& painter, QPointF from, qreal angle, qreal length, qreal width,
        noise::Sequence& random)
    {
        const QPointF to = from + QPointF(std::cos(angle), std::sin(angle)) * length;
        painter.setPen(QPen(QColor(14, 10, 12), width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(from, to);
        if (width < 1.2)
            return;
        for (int twig = 0; twig < 2; ++twig)
            branch(painter, to, angle + random.between(-0.7f, 0.7f),
                length * random.between(0.55f, 0.8f), width * 0.62, random);
    }

    void paintTrees(QPainter& painter)
    {
        noise::Sequence random(31u);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(18, 13, 14));
        painter.drawPolygon(
            QPolygonF({ { 36, 283 }, { 44, 90 }, { 52, 60 }, { 60, 90 }, { 62, 283 } }));
        painter.drawPolygon(
            QPolygonF({ { 252, 283 }, { 258, 100 }, { 264, 70 }, { 272, 100 }, { 280, 283 } }));
        branch(painter, { 52, 70 }, -1.9, 40, 7, random);
        branch(painter, { 52, 90 }, -0.6, 36, 5, random);
        branch(painter, { 264, 80 }, -1.3, 42, 7, random);
        branch(painter, { 264, 96 }, -2.6, 36, 5, random);
    }

    void paintGround(QPainter& painter)
    {
        QPainterPath hill;
        hill.moveTo(0, 250);
        hill.cubicTo(90, 236, 200, 262, 313, 244);
        hill.lineTo(313, 283);
        hill.lineTo(0, 283);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(10, 12, 10));
        painter.drawPath(hill);
        QPainterPath stone;
        stone.addRoundedRect(QRectF(196, 222, 22, 30), 10, 10);
        painter.setBrush(QColor(38, 40, 38));
        painter.drawPath(stone);
        painter.setPen(QPen(QColor(25, 25, 25), 1.5));
        painter.drawLine(QPointF(207, 229), QPointF(207, 243));
        painter.drawLine(QPointF(201, 234), QPointF(213, 234));
    }

    QPointF along(QPointF sag, qreal t)
    {
        const qreal u = 1 - t;
        return u * u * kLeftTie + 2 * u * t * sag + t * t * kRightTie;
    }

    void paintHammock(QPainter& painter, QPointF sag)
    {
        QPainterPath cloth(kLeftTie);
        cloth.quadTo(sag + QPointF(0, 10), kRightTie);
        cloth.quadTo(sag - QPointF(0, 26), kLeftTie);
        QLinearGradient weave(0, 120, 0, 230);
        weave.setColorAt(0.0, QColor(90, 60, 40));
        weave.setColorAt(1.0, QColor(30, 16, 12));
        painter.setPen(QPen(QColor(10, 6, 4), 1.2));
        painter.setBrush(weave);
        painter.drawPath(cloth);
        painter.setPen(QPen(QColor(140, 100, 60, 110), 0.8));
        for (int strand = 1; strand < 12; ++strand) {
            const qreal t = strand / 12.0;
            painter.drawLine(along(sag - QPointF(0, 13), t), along(sag + QPointF(0, 10), t));
        }
    }

    void bone(QPainter& painter, QPointF a, QPointF b, qreal width)
    {
        painter.setPen(QPen(palette::bone, width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(a, b);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette::bone);
        painter.drawEllipse(a, width * 0.75, width * 0.75);
        painter.drawEllipse(b, width * 0.75, width * 0.75);
    }

    // Seen from the side, chest up: ribs curve from the spine to the breastbone.
    void paintRibcage(QPainter& painter)
    {
        painter.setBrush(QColor(20, 16, 14, 200));
        painter.setPen(QPen(palette::bone, 1.6));
        QPainterPath cage(QPointF(-62, -15));
        cage.cubicTo(QPointF(-58, -40), QPointF(-30, -38), QPointF(-22, -10));
        painter.drawPath(cage);
        painter.setBrush(Qt::NoBrush);
        for (int rib = 1; rib < 7; ++rib) {
            const qreal t = rib / 7.0;
            const QPointF onSpine(-62 + 40 * t, -15 + 5 * t);
            const QPointF onBreast(-58 + 30 * t, -37 + 20 * t * t);
            QPainterPath path(onSpine);
            path.quadTo(onSpine + QPointF(-7, -10), onBreast);
            painter.drawPath(path);
        }
    }

    void paintSkull(QPainter& painter, QPointF centre)
    {
        QRadialGradient shade(centre + QPointF(-3, -4), 12);
        shade.setColorAt(0.0, palette::bone.lighter(110));
        shade.setColorAt(1.0, palette::bone.darker(170));
        painter.setPen(Qt::NoPen);
        painter.setBrush(shade);
        painter.drawEllipse(centre, 9.5, 8.5);
        painter.drawRoundedRect(QRectF(centre.x() - 6, centre.y() + 3, 11, 9), 3, 3); // jaw
        painter.setBrush(QColor(10, 6, 6));
        painter.drawEllipse(centre + QPointF(-4.5, -1), 2.6, 3.0);
        painter.drawEllipse(centre + QPointF(2.5, -1.5), 2.2, 2.8);
        painter.drawEllipse(centre + QPointF(-1, 3.5), 1.0, 1.6);
        painter.setPen(QPen(QColor(10, 6, 6), 0.8));
        for (int tooth = 0; tooth < 4; ++tooth)
            painter.drawLine(
                centre + QPointF(-4 + tooth * 2.5, 8), centre + QPointF(-4 + tooth * 2.5, 10.5));
    }

    // Lying on its back, head to the left, one arm hanging over the edge.
    void paintSkeleton(QPainter& painter, QPointF hips, qreal tilt, qreal dangle)
    {
        painter.save();
        painter.translate(hips);
        painter.rotate(tilt);
        bone(painter, { -72, -14 }, { -58, 30 + dangle }, 3); // hanging arm
        bone(painter, { -58, 30 + dangle }, { -52 + dangle * 0.5, 58 + dangle }, 2.4);
        bone(painter, { 0, 0 }, { -64, -14 }, 3); // spine
        paintRibcage(painter);
        painter.setBrush(palette::bone);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(2, -3), 10, 7); // pelvis
        bone(painter, { 6, -4 }, { 38, -30 }, 3.4); // thigh
        bone(painter, { 38, -30 }, { 66, -10 }, 3); // shin
        bone(painter, { 66, -10 }, { 74, -14 }, 2.4); // foot
        bone(painter, { 8, -2 }, { 44, -14 }, 3.4);
        bone(painter, { 44, -14 }, { 78, -18 }, 3);
        bone(painter, { -64, -16 }, { -84, -34 }, 2.6); // arm behind the head
        paintSkull(painter, QPointF(-80, -24));
        painter.restore();
    }

    void paintLantern(QPainter& painter, qreal flicker)
    {
        painter.setPen(QPen(QColor(30, 22, 18), 1.2));
        painter.drawLine(kLantern + QPointF(0, -14), kLantern + QPointF(0, -4));
        raster::glowSpot(
            painter, kLantern + QPointF(0, 6), 60 * flicker, palette::candle, 0.5 * flicker);
        painter.setBrush(QColor(255, 190, 90));
        painter.setPen(QPen(QColor(30, 22, 18), 1.6));
        painter.drawRoundedRect(QRectF(kLantern.x() - 6, kLantern.y() - 4, 12, 18), 3, 3);
    }

    void paintFireflies(QPainter& painter, qreal phase)
    {
        noise::Sequence random(77u);
        for (int fly = 0; fly < 7; ++fly) {
            const QPointF home(random.between(20, 290), random.between(150, 250));
            const qreal a = 2 * std::numbers::pi * phase + random.between(0, 6.28f);
            const QPointF at = home + QPointF(10 * std::sin(a), 6 * std::sin(2 * a));
            raster::glowSpot(painter, at, 6, palette::sickly, 0.5 + 0.5 * std::sin(a * 3));
        }
    }

    QImage drawFrame(int frame, int scale)
    {
        const qreal phase = static_cast<qreal>(frame) / kFrames;
        const qreal swing = std::sin(2 * std::numbers::pi * phase);
        const QPointF sag(157 + 16 * swing, 226 - 3 * std::abs(swing));
        QImage image = raster::blackCanvas(kWidth * scale, kHeight * scale);
        paintSky(image, scale);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        paintTrees(painter);
        paintGround(painter);
        paintHammock(painter, sag);
        paintSkeleton(painter, along(sag - QPointF(0, 12), 0.55), swing * -4,
            4 * std::cos(2 * std::numbers::pi * phase));
        paintLantern(
            painter, 0.85 + 0.15 * noise::loopingFbm(4, 4, static_cast<float>(phase), 1.3f, 2, 5u));
        paintFireflies(painter, phase);
        painter.end();
        raster::addGlow(image, 6 * scale, 0.6f, 110);
        raster::vignette(image, 0.6f);
        return raster::opaque(image);
    }

}

Animation skeletonHammock(int scale)
{
    return animate(kFrames, 10, [scale](int frame) { return drawFrame(frame, scale); });
}

}
