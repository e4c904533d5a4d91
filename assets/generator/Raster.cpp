#include "generator/Raster.h"

#include "generator/Noise.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

namespace raster {

namespace {

    // One box pass along rows (or columns when transposed) over four interleaved channels.
    void boxPass(std::vector<float>& data, int width, int height, int radius, bool alongRows)
    {
        const int lines = alongRows ? height : width;
        const int length = alongRows ? width : height;
        std::vector<float> line(static_cast<size_t>(length) * 4);
        for (int l = 0; l < lines; ++l) {
            auto at = [&](int i) -> float* {
                const int x = alongRows ? i : l;
                const int y = alongRows ? l : i;
                return &data[(static_cast<size_t>(y) * width + x) * 4];
            };
            for (int c = 0; c < 4; ++c) {
                float sum = 0.0f;
                for (int i = -radius; i <= radius; ++i)
                    sum += at(std::clamp(i, 0, length - 1))[c];
                for (int i = 0; i < length; ++i) {
                    line[static_cast<size_t>(i) * 4 + c] = sum / static_cast<float>(2 * radius + 1);
                    sum += at(std::min(i + radius + 1, length - 1))[c];
                    sum -= at(std::max(i - radius, 0))[c];
                }
            }
            for (int i = 0; i < length; ++i)
                std::copy_n(&line[static_cast<size_t>(i) * 4], 4, at(i));
        }
    }

    int clampByte(float v)
    {
        return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
    }

}

QImage blackCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    return image;
}

QImage blurred(const QImage& image, int radius)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = source.width();
    const int height = source.height();
    std::vector<float> data(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            float* px = &data[(static_cast<size_t>(y) * width + x) * 4];
            px[0] = qRed(row[x]);
            px[1] = qGreen(row[x]);
            px[2] = qBlue(row[x]);
            px[3] = qAlpha(row[x]);
        }
    }
    const int passRadius = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(data, width, height, passRadius, true);
        boxPass(data, width, height, passRadius, false);
    }
    QImage result(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float* px = &data[(static_cast<size_t>(y) * width + x) * 4];
            const int a = clampByte(px[3]);
            row[x] = qRgba(std::min(clampByte(px[0]), a), std::min(clampByte(px[1]), a),
                std::min(clampByte(px[2]), a), a);
        }
    }
    return result;
}

void addGlow(QImage& image, int radius, float strength, int threshold)
{
    QImage bright = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < bright.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(bright.scanLine(y));
        for (int x = 0; x < bright.width(); ++x) {
            auto lift = [&](int v) { return clampByte((v - threshold) * strength); };
            const int r = lift(qRed(row[x]));
            const int g = lift(qGreen(row[x]));
            const int b = lift(qBlue(row[x]));
            row[x] = qRgba(r, g, b, std::max({ r, g, b }));
        }
    }
    const QImage halo = blurred(bright, radius);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.drawImage(0, 0, halo);
}

void addGrain(QImage& image, float amount, std::uint32_t seed)
{
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const float n = noise::hash(x, y, seed) + noise::hash(x, y, seed + 7u) - 1.0f;
            const float luma = (qRed(row[x]) + qGreen(row[x]) + qBlue(row[x])) / 765.0f;
            const float weight = 0.35f + 2.6f * luma * (1.0f - luma);
            const float delta = n * amount * weight;
            const int a = qAlpha(row[x]);
            auto shift = [&](int v) { return std::min(a, clampByte(v + delta)); };
            row[x] = qRgba(shift(qRed(row[x])), shift(qGreen(row[x])), shift(qBlue(row[x])), a);
        }
    }
}

void vignette(QImage& image, float strength)
{
    const float cx = image.width() / 2.0f;
    const float cy = image.height() / 2.0f;
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const float dx = (x - cx) / cx;
            const float dy = (y - cy) / cy;
            const float k = std::clamp(1.0f - strength * (dx * dx + dy * dy) * 0.5f, 0.0f, 1.0f);
            row[x] = qRgba(clampByte(qRed(row[x]) * k), clampByte(qGreen(row[x]) * k),
                clampByte(qBlue(row[x]) * k), qAlpha(row[x]));
        }
    }
}

void glowSpot(QPainter& painter, QPointF centre, qreal radius, QColor colour, qreal opacity)
{
    QRadialGradient gradient(centre, radius);
    QColor inner = colour;
    inner.setAlphaF(static_cast<float>(opacity));
    QColor middle = colour;
    middle.setAlphaF(static_cast<float>(opacity * 0.3));
    QColor outer = colour;
    outer.setAlpha(0);
    gradient.setColorAt(0.0, inner);
    gradient.setColorAt(0.35, middle);
    gradient.setColorAt(1.0, outer);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

QImage opaque(const QImage& image)
{
    QImage result(image.size(), QImage::Format_RGB32);
    result.fill(Qt::black);
    QPainter painter(&result);
    painter.drawImage(0, 0, image);
    return result;
}

}
