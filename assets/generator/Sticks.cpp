#include "generator/Pictures.h"

namespace pictures {

// Drawn pixel by pixel: the bundle hides everything left of column 56, so whole and broken
// sticks must match exactly to its right.
QImage stick(bool broken)
{
    constexpr int kWidth = 95;
    constexpr int kHeight = 13;
    constexpr int kGapFirst = 38;
    constexpr int kGapLast = 55;
    const QRgb orange = qRgb(255, 128, 64);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int y = 5; y <= 7; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (!broken || x < kGapFirst || x > kGapLast)
                image.setPixel(x, y, orange);
        }
    }
    return image;
}

}
