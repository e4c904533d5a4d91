#pragma once

#include <QString>

// Asynchronous playback of a sound file: play() returns at once, a new sound cuts off the one
// still playing, and a missing or unreadable file is silent.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString& path) = 0;
};
