#include "generator/WavWriter.h"

#include <QDataStream>
#include <QFile>

#include <algorithm>
#include <cmath>

bool writeWav(const QString& path, const Sound& sound)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const quint32 dataBytes = static_cast<quint32>(sound.samples.size() * 2);
    const quint16 blockAlign = static_cast<quint16>(sound.channels * 2);
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(sound.channels) << quint32(sound.sampleRate)
        << quint32(sound.sampleRate * blockAlign) << blockAlign << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (float s : sound.samples)
        out << static_cast<qint16>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
    return out.status() == QDataStream::Ok && file.flush();
}
