#pragma once

#include "generator/Animation.h"

#include <QString>

// Writes an animation as a GIF89a that loops forever (NETSCAPE2.0 extension), with one palette
// chosen for all its frames so that colours do not shimmer from frame to frame.
bool writeGif(const QString& path, const Animation& animation);
