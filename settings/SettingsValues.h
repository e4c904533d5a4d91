#pragma once

#include <QtGlobal>

// The four numbers the oracle remembers between runs, shared by every window.
struct SettingsValues {
    qint16 voz[3] = { 0, 0, 0 }; // voice number (1-based), pitch, speed
    qint16 idioma = 0; // the interface language: its place in the language table
};
