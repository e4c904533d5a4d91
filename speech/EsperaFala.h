#pragma once

class SpeechEngine;

// Waits until the engine falls silent, letting window events run meanwhile. No time-out: a
// stuck engine keeps the caller waiting, as the oracle's waits always have.
void espera_fala(SpeechEngine& engine);
