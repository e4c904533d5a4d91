#pragma once

#include <QPoint>

// Where each 32 x 32 hand pointer picture "touches": the fingertips of the open hand, the
// middle of the closed fist.
inline constexpr QPoint kHandOpenHotSpot { 12, 2 };
inline constexpr QPoint kHandClosedHotSpot { 16, 14 };
