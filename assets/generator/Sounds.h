#pragma once

#include "generator/WavWriter.h"

// The stage's two sounds.
namespace sounds {

// The dark sting that opens the show and follows every answer: a low boom, a dissonant drone
// swelling and dying, a glassy wail and wind, all in a long reverberant room.
Sound sinisterSting();

// A soft wooden key click.
Sound keyClick();

// Scales the sound so that its loudest sample reaches the given peak.
void normalise(Sound& sound, float peak);

}
