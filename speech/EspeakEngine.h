#pragma once

#include "SpeechEngine.h"

// The real voice: libespeak-ng as a synthesizer, its samples played on our own audio stream.
class EspeakEngine final : public SpeechEngine {
    Q_OBJECT
public:
    explicit EspeakEngine(QObject* parent = nullptr);
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
};
