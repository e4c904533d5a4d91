#pragma once

#include "IchingState.h"
#include "SettingsValues.h"

// The storage every window shares: the remembered settings (voz, idioma), the hexagram table
// and the consultation state. main() owns one and hands it to the windows by reference.
struct Module1 : SettingsValues, IchingState { };
