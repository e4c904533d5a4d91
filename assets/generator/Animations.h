#pragma once

#include "generator/Animation.h"

// The seven looping animations that dress the stage; each is drawn at its player's size.
namespace animations {

Animation gargoyle(); // 65 x 128, a stone gargoyle facing left, eyes smouldering
Animation candle(); // 113 x 160, a guttering candle
Animation skullGlow(); // 113 x 161, a skull whose eye sockets glow red
Animation ghostlySkull(); // 136 x 104, a translucent green skull drifting in mist
Animation skeletonHammock(); // 313 x 283, a skeleton rocking in a hammock between dead trees
Animation demonEyes(); // 241 x 83, pairs of eyes blinking in the dark
Animation reaper(); // 140 x 148, the reaper swinging his scythe

}
