#pragma once

#include "SoundPlayer.h"

// Plays WAV files on the audio thread, so a blocked user-interface thread never stalls them.
class WavSoundPlayer final : public SoundPlayer {
public:
    WavSoundPlayer();
    ~WavSoundPlayer() override;
    void play(const QString& path) override;
};
