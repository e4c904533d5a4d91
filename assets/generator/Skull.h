#pragma once

#include "generator/Relief.h"

// A sculpted skull, facing the viewer, for the relief renderer.
namespace skull {

// The skull fills about 80 x 104 pixels times `scale` around `centre` (the middle of the eyes);
// `glow` lights the eye sockets from inside with `glowColour`.
relief::SurfacePoint pointAt(
    QPointF p, QPointF centre, float scale, float glow, QVector3D glowColour);

// Where the eye sockets are, to hang lights in them.
QPointF eyeSocket(QPointF centre, float scale, int side);

}
