#pragma once

#include "generator/Animation.h"

// The seven looping animations that dress the stage; each is drawn at its player's size, or with
// `scale` pixels for each of the stage's, for screens of a higher density.
namespace animations {

Animation gargoyle(int scale = 1); // 65 x 128, a stone gargoyle facing left, eyes smouldering
Animation candle(int scale = 1); // 113 x 160, a guttering candle
Animation skullGlow(int scale = 1); // 113 x 161, a skull whose eye sockets glow red
Animation ghostlySkull(int scale = 1); // 136 x 104, a translucent green skull drifting in mist
Animation skeletonHammock(
    int scale = 1); // 313 x 283, a skeleton rocking in a hammock between dead trees
Animation demonEyes(int scale = 1); // 241 x 83, pairs of eyes blinking in the dark
Animation reaper(int scale = 1); // 140 x 148, the reaper swinging his scythe

}
