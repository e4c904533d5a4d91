#pragma once

#include "generator/Animation.h"

#include <QImage>

// The pictures the windows hold.
namespace pictures {

// The stage's pictures can be drawn with `scale` pixels for each pixel of the stage, for
// screens of a higher density; their sizes here are at scale 1.

// The oracle: a pale mask in a dark hood, lit from below by a candle, 451 x 316.
QImage face(int scale = 1);
// Close crop of the face's eyes as they flare up, 136 x 54.
QImage faceCrop(int scale = 1);
// The mouth of `face` (drawn at `scale`) in each of its shapes, cropped at kMouthInFace and lit
// as the face is, in the order of kMouthPictures; the first, at rest, is the face as it is.
QList<QImage> mouths(const QImage& face, int scale = 1);
// The face for the voice window, 165 x 116.
QImage calibrarFace();

// "Quorvel" in carved, candle-lit lettering, 355 x 123.
QImage banner(int scale = 1);

// A wet staring eye that looks about and blinks, 57 x 52.
Animation eye(int scale = 1);

// 32 x 32 pointer pictures on transparency.
QImage handOpen();
QImage handClosed();

// 95 x 13: an orange bar on black, broken by a gap in columns 38..55 when `broken`.
QImage stick(bool broken);

}
