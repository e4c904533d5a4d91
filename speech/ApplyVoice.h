#pragma once

#include <QtGlobal>

class SpeechEngine;

// Gives `engine` a remembered voice (`voz`: voice number counted from 1, pitch, speed). The
// voice comes first: the pitch and speed ranges are the voice's.
void applyVoice(SpeechEngine& engine, const qint16 (&voz)[3]);
