#pragma once

#include <QObject>

// The handful of mouths an animator draws for speech. Every sound the voice makes shows one of
// them; Rest is the face as it is when the oracle is silent.
namespace mouth {
Q_NAMESPACE

enum class Shape {
    Rest, // closed, at ease
    Pressed, // lips pressed together: m, b, p
    Slight, // slightly open: most consonants, and any sound not known
    Open, // open: a
    Wide, // stretched wide: e, i
    Rounded, // rounded: o
    Pursed, // pursed forward: u, w
    TeethOnLip, // lower lip under the upper teeth: f, v
    Tongue, // tongue behind the teeth: l, th
};
Q_ENUM_NS(Shape)

inline constexpr int kShapes = 9;

}

using MouthShape = mouth::Shape;
