#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QString>

#include <optional>

// The PCM samples and format of a RIFF/WAVE file: 16-bit integer PCM, mono or stereo, any rate.
struct WavClip {
    QAudioFormat format;
    QByteArray pcm;

    static std::optional<WavClip> load(const QString& path);
    static std::optional<WavClip> parse(const QByteArray& file);
};
