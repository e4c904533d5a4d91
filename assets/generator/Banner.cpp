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

    QImage coverage(const QPainterPath& shape)
    {
        QImage mask = raster::blackCanvas(kWidth, kHeight);
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(shape, Qt::white);
        return mask;
    }

    float sample(const QImage& image, QPointF p)
    {
        const int x = std::clamp(static_cast<int>(p.x()), 0, image.width() - 1);
        const int y = std::clamp(static_cast<int>(p.y()), 0, image.height() - 1);
        return qRed(image.pixel(x, y)) / 255.0f;
    }

    QImage shadedLetters(const QImage& letters, const QImage& blood)
    {
        const QImage bevel = raster::blurred(letters, 3);
        const QImage bloodBevel = raster::blurred(blood, 2);
        auto surface = [&](QPointF p) {
            relief::SurfacePoint point;
            const float metal = sample(letters, p);
            const float wet = sample(blood, p) * (1.0f - metal);
            point.coverage = std::max(metal, wet);
            point.height = 22.0f * sample(bevel, p) + 5.0f * sample(bloodBevel, p)
                + 1.2f * noise::fbm(p.x() / 3.0f, p.y() / 3.0f, 2, 8u);
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
        };
        return relief::shade(
            QSize(kWidth, kHeight), surface, lights, QVector3D(0.08f, 0.05f, 0.04f));
    }

    void paintBackdrop(QImage& canvas, const QImage& letters)
    {
        for (int y = 0; y < kHeight; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
            for (int x = 0; x < kWidth; ++x) {
                const float s = noise::fbm(x / 40.0f, y / 16.0f, 4, 77u);
                const float k = std::pow(std::clamp(s - 0.45f, 0.0f, 1.0f) * 2.5f, 2.0f) * 50.0f
                    * (1.0f - std::abs(x - kWidth / 2.0f) / (kWidth / 2.0f));
                row[x] = qRgb(
                    static_cast<int>(k), static_cast<int>(k * 0.3f), static_cast<int>(k * 0.15f));
            }
        }
        QImage tinted = raster::blurred(letters, 14);
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

QImage banner()
{
    const QPainterPath letters = weathered(lettering());
    const QImage letterMask = coverage(letters);
    const QImage bloodMask = coverage(drips(letters));
    QImage canvas = raster::blackCanvas(kWidth, kHeight);
    paintBackdrop(canvas, letterMask);
    {
        QPainter painter(&canvas);
        painter.drawImage(0, 0, shadedLetters(letterMask, bloodMask));
        paintFlourish(painter);
    }
    raster::addGlow(canvas, 5, 0.5f, 120);
    raster::addGrain(canvas, 8.0f, 99u);
    return raster::opaque(canvas);
}

}
