#pragma once

#include <QtGlobal>

// The four numbers the oracle remembers between runs, shared by every window.
struct SettingsValues {
    qint16 voz[3] = { 0, 0, 0 }; // voice number (1-based), pitch, speed
    qint16 idioma = 0; // 0 Portuguese, 1 English, 2 French, 3 Spanish
};
