#pragma once

#include "MouthShape.h"

#include <QStringView>

namespace mouth {

// The mouth a phoneme shows. `phoneme` is espeak-ng's IPA name of it; a pause ("", or "_" in
// espeak-ng's own names) is Rest. `language` is the voice's language ("pt", "en", "fr",
// "es"; a longer tag such as "pt-br+m8" counts by its first part), since a few letters sound,
// and look, different from one language to another. Stress and length marks and diacritics (the
// tilde of a nasal vowel) do not change the mouth; a diphthong shows the mouth of its first
// vowel, except o gliding into u, which is pursed. A phoneme the tables do not know shows Slight.
Shape shapeOf(QStringView language, QStringView phoneme);

}
