#pragma once

#include "SpeechEngine.h"
#include "StageSound.h"

#include <QString>

#include <functional>

class Pause;
class Random;
class SoundPlayer;

// What the windows need from the system: the seams tests replace with fakes.
struct Platform {
    SoundPlayer& sound;
    Pause& pause;
    Random& random;
    QString appFolder; // where the pictures and sounds are
    QString settingsPath; // the settings file
    SpeechEngineFactory newEngine; // each call gives a fresh, independent instance
    std::function<void()> endProcess; // ends at once: no handler runs afterwards

    // Starts one of the stage's sounds from the application folder and returns at once.
    void play(StageSound sound) const;
};
