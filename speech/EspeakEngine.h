#pragma once

#include "AudioStream.h"
#include "SpeechEngine.h"

#include <QList>

#include <atomic>
#include <memory>

// The real voice: libespeak-ng as a synthesizer, its samples played on this engine's own audio
// stream, so two engines can speak at once. Pitch runs 0 to 100 (scaled down into espeak-ng's
// range so that the stored default 65 stays deep), speed 80 to 450 words per minute.
// word_event carries the word's number in its utterance and its position in the engine's
// stream in milliseconds; mouth_shape follows the synthesizer's phonemes, in the voice's
// language, merged as mouth::Track merges them. Without espeak-ng data there are no voices and
// speak_text does nothing. espeak-ng is set up in the background from the first call that needs
// it, so creating and configuring an engine never wait; voices chosen before the set-up is done
// are tested in turn when the engine first speaks (an invalid one keeps the voice before it, as
// it would have).
class EspeakEngine final : public SpeechEngine {
    Q_OBJECT
public:
    explicit EspeakEngine(QObject* parent = nullptr);
    explicit EspeakEngine(AudioStream::Clock clock, QObject* parent = nullptr);
    ~EspeakEngine() override;

    void speak_text(const QString& text) override;
    int speaking_state() const override;
    bool select_voice(int voice) override;
    int voice_count() const override;
    QString voice_label(int voice) const override;
    QString voice_detail(int voice) const override;
    void set_pitch(int pitch) override;
    int pitch_min() const override;
    int pitch_max() const override;
    void set_speed(int speed) override;
    int speed_min() const override;
    int speed_max() const override;

    // The stream this engine plays on, for measurements.
    const AudioStream& stream() { return *audio(); }

private:
    const std::shared_ptr<AudioStream>& audio();
    void onMark(int tag, qint64 frame);

    int m_voice = 1;
    QList<int> m_untested; // voices chosen before the synthesizer was set up
    int m_pitch = 50;
    int m_speed = 175;
    int m_pending = 0;
    AudioStream::Clock m_clock;
    // Made when first needed: its format waits for the synthesizer's set-up, which must not
    // hold up the window that creates the engine.
    std::shared_ptr<AudioStream> m_stream;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};
