#include "EspeakEngine.h"

#include "SynthesisWorker.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr int kPitchLowest = 0;
constexpr int kPitchHighest = 100;
constexpr int kSpeedLowest = 80;
constexpr int kSpeedHighest = 450;

// espeak-ng's own 0..100 pitch puts its default at 50; ours at 65 should sound lower than that.
int espeakPitch(int pitch)
{
    return std::clamp(pitch, kPitchLowest, kPitchHighest) * 3 / 5;
}

QAudioFormat speechFormat(int sampleRate)
{
    return pcm16Format(sampleRate > 0 ? sampleRate : kFallbackSampleRate);
}

} // namespace

EspeakEngine::EspeakEngine(QObject* parent)
    : EspeakEngine(AudioStream::defaultClock(), parent)
{
}

EspeakEngine::EspeakEngine(AudioStream::Clock clock, QObject* parent)
    : SpeechEngine(parent)
    , m_clock(clock)
    , m_cancelled(std::make_shared<std::atomic<bool>>(false))
{
}

EspeakEngine::~EspeakEngine()
{
    *m_cancelled = true;
    if (m_stream)
        m_stream->clear();
}

const std::shared_ptr<AudioStream>& EspeakEngine::audio()
{
    if (!m_stream) {
        m_stream
            = AudioStream::create(speechFormat(SynthesisWorker::instance().sampleRate()), m_clock);
        connect(m_stream.get(), &AudioStream::markReached, this, &EspeakEngine::onMark,
            Qt::QueuedConnection);
    }
    return m_stream;
}

void EspeakEngine::speak_text(const QString& text)
{
    SynthesisWorker& worker = SynthesisWorker::instance();
    if (worker.voices().isEmpty())
        return;
    for (int voice : std::exchange(m_untested, {}))
        select_voice(voice);
    ++m_pending;
    worker.submit({ text.toUtf8(), SynthesisWorker::wordStartsOf(text),
        worker.voices().at(m_voice - 1).name, espeakPitch(m_pitch),
        std::clamp(m_speed, kSpeedLowest, kSpeedHighest), audio(), m_cancelled });
}

int EspeakEngine::speaking_state() const
{
    return m_pending > 0 ? 1 : 0;
}

bool EspeakEngine::select_voice(int voice)
{
    // Configuring the voice at start-up must not wait for the synthesizer's set-up: until it is
    // done, the choices that may be valid are kept and tested, in turn, when the engine first
    // speaks.
    if (!SynthesisWorker::instance().isSetUp()) {
        if (voice < 1)
            return false;
        m_untested << voice;
        return true;
    }
    if (voice < 1 || voice > voice_count())
        return false;
    m_voice = voice;
    return true;
}

int EspeakEngine::voice_count() const
{
    return int(SynthesisWorker::instance().voices().size());
}

QString EspeakEngine::voice_label(int voice) const
{
    return SynthesisWorker::instance().voices().value(voice - 1).label;
}

QString EspeakEngine::voice_detail(int voice) const
{
    return SynthesisWorker::instance().voices().value(voice - 1).detail;
}

void EspeakEngine::set_pitch(int pitch)
{
    m_pitch = std::clamp(pitch, kPitchLowest, kPitchHighest);
}
int EspeakEngine::pitch_min() const
{
    return kPitchLowest;
}
int EspeakEngine::pitch_max() const
{
    return kPitchHighest;
}

void EspeakEngine::set_speed(int speed)
{
    m_speed = std::clamp(speed, kSpeedLowest, kSpeedHighest);
}
int EspeakEngine::speed_min() const
{
    return kSpeedLowest;
}
int EspeakEngine::speed_max() const
{
    return kSpeedHighest;
}

void EspeakEngine::onMark(int tag, qint64 frame)
{
    if (const std::optional<MouthShape> shape = SynthesisWorker::mouthOfTag(tag)) {
        emit mouth_shape(*shape);
        return;
    }
    if (tag != SynthesisWorker::kEndOfUtterance) {
        emit word_event(tag + 1, int(frame * 1000 / m_stream->sampleRate()), 0);
        return;
    }
    if (m_pending > 0 && --m_pending == 0)
        emit silenced();
}
