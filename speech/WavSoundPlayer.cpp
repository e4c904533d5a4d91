#include "WavSoundPlayer.h"

// Interim player: silent until the audio thread lands.
WavSoundPlayer::WavSoundPlayer() = default;
WavSoundPlayer::~WavSoundPlayer() = default;
void WavSoundPlayer::play(const QString&) { }
