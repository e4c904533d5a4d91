#pragma once

// The stage's clock, in milliseconds: the numbers a performer may want to tune, in one place.
namespace timing {

// The start-up sound plays alone this long before the oracle invites a question; the window
// appears only after it.
inline constexpr int kStartUpPauseMs = 3000;
// The eye jumps this often while the operator types.
inline constexpr int kEyeMs = 350;
// The blink's two intervals, taken in turn, and the one that runs until loading starts them.
inline constexpr int kBlinkShortMs = 250;
inline constexpr int kBlinkLongMs = 3500;
inline constexpr int kBlinkBeforeLoadMs = 5000;
// Each ring of the orb, before the next is drawn.
inline constexpr int kOrbRingMs = 50;

}
