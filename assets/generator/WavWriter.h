#pragma once

#include <QString>

#include <vector>

// A sound as interleaved samples in [-1, 1].
struct Sound {
    int channels = 1;
    int sampleRate = 44100;
    std::vector<float> samples;
};

// Writes 16-bit PCM in a plain RIFF/WAVE container.
bool writeWav(const QString& path, const Sound& sound);
