#include "WavClip.h"

#include "AudioStream.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatExtensible = 0xFFFE;
constexpr qint64 kLargestFile = 256 * 1024 * 1024;

quint16 u16At(const QByteArray& bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 u32At(const QByteArray& bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

std::optional<QAudioFormat> formatFrom(const QByteArray& file, qint64 at, qint64 size)
{
    if (size < 16)
        return std::nullopt;
    const quint16 tag = u16At(file, at);
    const quint16 channels = u16At(file, at + 2);
    const quint32 rate = u32At(file, at + 4);
    const quint16 bits = u16At(file, at + 14);
    const bool pcm = tag == kFormatPcm
        || (tag == kFormatExtensible && size >= 26 && u16At(file, at + 24) == kFormatPcm);
    if (!pcm || bits != 16 || channels < 1 || channels > 2 || rate < 1000 || rate > 192000)
        return std::nullopt;
    return pcm16Format(int(rate), channels);
}

} // namespace

std::optional<WavClip> WavClip::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return std::nullopt;
    return parse(file.readAll());
}

std::optional<WavClip> WavClip::parse(const QByteArray& file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<QAudioFormat> format;
    qint64 at = 12;
    while (at + 8 <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const qint64 size = u32At(file, at + 4);
        const qint64 body = at + 8;
        const qint64 available = std::min(size, file.size() - body);
        if (id == "fmt ") {
            format = formatFrom(file, body, available);
            if (!format)
                return std::nullopt;
        } else if (id == "data" && format) {
            // Writers that never patched the size after recording are common: play what is there.
            const qint64 frames = available / format->bytesPerFrame();
            return WavClip { *format, file.mid(body, frames * format->bytesPerFrame()) };
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}
