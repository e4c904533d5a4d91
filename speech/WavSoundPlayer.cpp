#include "WavSoundPlayer.h"

#include "WavClip.h"

#include <optional>

namespace {

constexpr int kEndOfSound = 0;

} // namespace

WavSoundPlayer::WavSoundPlayer(AudioStream::Clock clock)
    : m_stream(AudioStream::create(pcm16Format(kFallbackSampleRate), clock))
    , m_playing(std::make_shared<std::atomic<bool>>(false))
{
    QObject::connect(
        m_stream.get(), &AudioStream::markReached, m_stream.get(),
        [playing = m_playing](int, qint64) { *playing = false; }, Qt::DirectConnection);
}

WavSoundPlayer::~WavSoundPlayer()
{
    m_stream->clear();
}

void WavSoundPlayer::play(const QString& path)
{
    QMetaObject::invokeMethod(m_stream.get(), [stream = m_stream, playing = m_playing, path] {
        const std::optional<WavClip> clip = WavClip::load(path);
        if (!clip) {
            *playing = false;
            stream->clear();
            return;
        }
        *playing = true;
        stream->restart(clip->format, clip->pcm,
            { { clip->pcm.size() / clip->format.bytesPerFrame(), kEndOfSound } });
    });
}

bool WavSoundPlayer::isPlaying() const
{
    return *m_playing;
}
