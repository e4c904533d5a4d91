#pragma once

#include "StageAnimation.h"
#include "StageScale.h"

#include <QImage>
#include <QStringList>

#include <optional>

// The stage's pictures for a scale it is about to take, decoded on another thread while the
// start-up pause runs and the window is not yet shown: the still pictures, drawn for the scale's
// device pixels, and the animations with their first frame read from the set for its density.
// A stage that then takes that scale finds them here instead of decoding them in front of the
// audience; a stage that takes another has them dropped.
namespace prefetch {

// Starts decoding `stills` (see stagePicture) and `animations` (files, see pictureSet) for
// `scale`, dropping anything started before. Nothing needs decoding at one device pixel per
// stage pixel.
void start(const StageScale& scale, const QStringList& stills, const QStringList& animations);
// The still picture `path` as drawn for `scale`, once; waits for the decoding if it is still
// under way.
std::optional<QImage> takeStill(const QString& path, const StageScale& scale);
// The animation in the file `file` (a set's own file), once.
std::optional<StageAnimation> takeAnimation(const QString& file);
// The stage has taken `scale`, and whoever wanted a picture for it has taken it: what is left is
// dropped, unless the scale shows one device pixel per stage pixel, as a window not yet placed
// does.
void settle(const StageScale& scale);

}
