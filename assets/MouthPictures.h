#pragma once

#include <QRect>

#include <array>

// The mouth pictures the generator draws from the face and the stage shows over it: one per
// mouth shape, in the order of mouth::Shape (speech/MouthShape.h), each a crop of the face's
// picture at kMouthInFace.
inline constexpr QRect kMouthInFace { 171, 203, 108, 48 };
inline constexpr std::array<const char*, 9> kMouthPictures { "mouth_rest.png", "mouth_pressed.png",
    "mouth_slight.png", "mouth_open.png", "mouth_wide.png", "mouth_rounded.png", "mouth_pursed.png",
    "mouth_teeth_on_lip.png", "mouth_tongue.png" };
