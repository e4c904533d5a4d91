#pragma once

#include "AudioStream.h"
#include "SoundPlayer.h"

#include <memory>

// Plays WAV files on the audio thread, so a blocked user-interface thread never stalls them.
// The file is read on the audio thread too; play() only posts the request.
class WavSoundPlayer final : public SoundPlayer {
public:
    explicit WavSoundPlayer(AudioStream::Clock clock = AudioStream::defaultClock());
    ~WavSoundPlayer() override;
    void play(const QString& path) override;

    // True while a sound has samples left to play (for tests).
    bool isPlaying() const;

private:
    std::shared_ptr<AudioStream> m_stream;
    std::shared_ptr<std::atomic<bool>> m_playing;
};
