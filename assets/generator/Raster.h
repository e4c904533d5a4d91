#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>

#include <cstdint>

class QPainter;

// Photographic finishing touches shared by every picture.
namespace raster {

// Where a per-pixel loop samples a picture drawn `scale` times finer: the middle of the finer
// pixel `index`, in the picture's own pixels, counted as the loop at scale 1 counts them. At
// scale 1 it is `index` itself.
inline float unscaled(int index, int scale)
{
    return (static_cast<float>(index) + 0.5f) / static_cast<float>(scale) - 0.5f;
}

// A new ARGB32 premultiplied image cleared to black.
QImage blackCanvas(int width, int height);

// Three box passes: close to a gaussian of the given radius.
QImage blurred(const QImage& image, int radius);

// Adds a blurred copy of the bright parts onto the image, as light bleeding in a lens.
void addGlow(QImage& image, int radius, float strength, int threshold = 60);

// Monochrome film grain, strongest in the mid-tones.
void addGrain(QImage& image, float amount, std::uint32_t seed);

// Darkens towards the corners.
void vignette(QImage& image, float strength);

// A soft radial light added onto whatever is painted.
void glowSpot(QPainter& painter, QPointF centre, qreal radius, QColor colour, qreal opacity);

// Flattens onto black, dropping transparency.
QImage opaque(const QImage& image);

}
