#include "generator/Noise.h"
#include "generator/Palette.h"
#include "generator/Pictures.h"
#include "generator/Raster.h"
#include "generator/Relief.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

    constexpr int kWidth = 355;
    constexpr int kHeight = 123;
    constexpr qreal kBaseline = 84.0;

    QPainterPath lettering()
    {
        QFont font("Liberation Serif");
        font.setBold(true);
        font.setPixelSize(96);
        font.setLetterSpacing(QFont::AbsoluteSpacing, -2);
        QPainterPath path;
        path.addText(0, 0, font, QStringLiteral("Quorvel"));
        const QRectF box = path.boundingRect();
        const qreal scale = std::min(322.0 / box.width(), 74.0 / box.height());
        QTransform fit;
        fit.translate(kWidth / 2.0, kBaseline);
        fit.scale(scale, scale * 1.08);
        fit.translate(-box.center().x(), 0);
        return fit.map(path);
    }

    // Worn edges: every outline point is pushed about by noise.
    QPainterPath weathered(const QPainterPath& path)
    {
        QPainterPath result;
        result.setFillRule(Qt::WindingFill);
        for (QPolygonF polygon : path.toFillPolygons()) {
            for (QPointF& p : polygon) {
                const float n = noise::fbm(p.x() / 5.0f, p.y() / 5.0f, 3, 17u) - 0.5f;
                const float m = noise::fbm(p.x() / 5.0f + 40.0f, p.y() / 5.0f, 3, 17u) - 0.5f;
                p += QPointF(n * 1.4, m * 1.4);
            }
            result.addPolygon(polygon);
        }
        return result;
    }

    // Blood running down from the feet of the letters.
    QPainterPath drips(const QPainterPath& letters)
    {
        QPainterPath result;
        noise::Sequence random(29u);
        for (qreal x = 20; x < kWidth - 20; x += 3) {
            if (!letters.contains(QPointF(x, kBaseline - 3)) || random.next() > 0.16f)
                continue;
            const qreal length = random.between(5, 27);
            const qreal width = random.between(1.6f, 3.2f);
            QPainterPath drop;
            drop.moveTo(x - width, kBaseline - 4);
            drop.cubicTo(x - width * 0.6, kBaseline + length * 0.5, x - width * 0.4,
                kBaseline + length * 0.8, x - width * 0.9, kBaseline + length);
            drop.arcTo(
                QRectF(x - width * 0.9, kBaseline + length - width * 0.9, width * 1.8, width * 1.8),
                180, 180);
            drop.cubicTo(x + width * 0.4, kBaseline + length * 0.8, x + width * 0.6,
                kBaseline + length * 0.5, x + width, kBaseline - 4);
            drop.closeSubpath();
            result.addPath(drop);
        }
        return result;
    }

    QImage coverage(const QPainterPath& shape, int scale)
    {
        QImage mask = raster::blackCanvas(kWidth * scale, kHeight * scale);
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        if (scale != 1)
            painter.scale(scale, scale);
        painter.fillPath(shape, Qt::white);
        return mask;
    }

    // The image's value at p, in the banner's own pixels, of an image `scale` times finer.
    float sample(const QImage& image, QPointF p, int scale)
    {
        const int x = std::clamp(static_cast<int>(p.x() * scale), 0, image.width() - 1);
        const int y = std::clamp(static_cast<int>(p.y() * scale), 0, image.height() - 1);
        return qRed(image.pixel(x, y)) / 255.0f;
    }

    QImage shadedLetters(const QImage& letters, const QImage& blood, int scale)
    {
        const QImage bevel = raster::blurred(letters, 3 * scale);
        const QImage bloodBevel = raster::blurred(blood, 2 * scale);
        auto surface = [&](QPointF p) {
            relief::SurfacePoint point;
            const float metal = sample(letters, p, scale);
            const float wet = sample(blood, p, scale) * (1.0f - metal);
            point.coverage = std::max(metal, wet);
            point.height = 22.0f * sample(bevel, p, scale) + 5.0f * sample(bloodBevel, p, scale)
                + 0.6f * noise::fbm(p.x() / 4.0f, p.y() / 4.0f, 2, 8u);
            const float down = static_cast<float>(p.y()) / kHeight;
            const QVector3D gold = QVector3D(0.95f, 0.62f, 0.25f) * (1.0f - down)
                + QVector3D(0.75f, 0.18f, 0.06f) * down;
            point.albedo = metal >= wet ? gold : QVector3D(0.55f, 0.02f, 0.02f);
            point.specular = metal >= wet ? 0.7f : 1.0f;
            point.shininess = metal >= wet ? 16.0f : 40.0f;
            return point;
        };
        const QList<relief::PointLight> lights {
            { QVector3D(kWidth / 2.0f, kHeight + 60.0f, 80.0f), QVector3D(2.2f, 1.3f, 0.6f),
                180.0f },
            { QVector3D(kWidth * 0.15f, -40.0f, 60.0f), QVector3D(0.30f, 0.26f, 0.16f), 200.0f },
            { QVector3D(kWidth * 0.5f, 20.0f, 260.0f), QVector3D(0.6f, 0.42f, 0.22f), 300.0f },
        };
        return relief::shade(QSize(kWidth, kHeight) * scale, surface, lights,
            QVector3D(0.08f, 0.05f, 0.04f), {}, scale);
    }

    void paintBackdrop(QImage& canvas, const QImage& letters, int scale)
    {
        for (int row_ = 0; row_ < canvas.height(); ++row_) {
            QRgb* row = reinterpret_cast<QRgb*>(canvas.scanLine(row_));
            const float y = float(row_) / float(scale);
            for (int column = 0; column < canvas.width(); ++column) {
                const float x = float(column) / float(scale);
                const float s = noise::fbm(x / 40.0f, y / 16.0f, 4, 77u);
                const float k = std::pow(std::clamp(s - 0.45f, 0.0f, 1.0f) * 2.5f, 2.0f) * 50.0f
                    * (1.0f - std::abs(x - kWidth / 2.0f) / (kWidth / 2.0f));
                row[column] = qRgb(
                    static_cast<int>(k), static_cast<int>(k * 0.3f), static_cast<int>(k * 0.15f));
            }
        }
        QImage tinted = raster::blurred(letters, 14 * scale);
        QPainter tint(&tinted);
        tint.setCompositionMode(QPainter::CompositionMode_Multiply);
        tint.fillRect(tinted.rect(), QColor(200, 60, 10));
        tint.end();
        QPainter glow(&canvas);
        glow.setCompositionMode(QPainter::CompositionMode_Plus);
        glow.setOpacity(0.8);
        glow.drawImage(0, 0, tinted);
    }

    void paintFlourish(QPainter& painter)
    {
        QLinearGradient line(30, 0, kWidth - 30, 0);
        line.setColorAt(0.0, Qt::transparent);
        line.setColorAt(0.5, QColor(230, 140, 60));
        line.setColorAt(1.0, Qt::transparent);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QBrush(line), 1.2));
        const qreal y = kHeight - 9.5;
        painter.drawLine(QPointF(30, y), QPointF(kWidth / 2.0 - 12, y));
        painter.drawLine(QPointF(kWidth / 2.0 + 12, y), QPointF(kWidth - 30, y));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(230, 140, 60), 1.2));
        painter.drawEllipse(QPointF(kWidth / 2.0, y), 8, 4.5);
        raster::glowSpot(painter, QPointF(kWidth / 2.0, y), 7, palette::sickly, 0.9);
        painter.setBrush(Qt::black);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(kWidth / 2.0, y), 1.2, 3.2);
    }

}

QImage banner(int scale)
{
    const QPainterPath letters = weathered(lettering());
    const QImage letterMask = coverage(letters, scale);
    const QImage bloodMask = coverage(drips(letters), scale);
    QImage canvas = raster::blackCanvas(kWidth * scale, kHeight * scale);
    paintBackdrop(canvas, letterMask, scale);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        if (scale != 1)
            painter.scale(scale, scale);
        painter.strokePath(letters, QPen(QColor(12, 2, 0), 2.2));
        painter.drawImage(
            QRectF(0, 0, kWidth, kHeight), shadedLetters(letterMask, bloodMask, scale));
        paintFlourish(painter);
    }
    raster::addGlow(canvas, 5 * scale, 0.5f, 120);
    raster::addGrain(canvas, 8.0f, 99u);
    return raster::opaque(canvas);
}

}
