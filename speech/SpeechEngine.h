#pragma once

#include "MouthShape.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The oracle's voice as the windows use it. Every window speaks through one of these:
// `tts1` on the main window, `tts` on the calibration window. Voice numbers are 1-based.
class SpeechEngine : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts speaking and returns at once; a text given while speaking is queued behind it.
    virtual void speak_text(const QString& text) = 0;
    // 1 from speak_text until the last sample has been played; 0 when silent.
    virtual int speaking_state() const = 0;

    // False (and the current voice kept) for a number outside 1..voice_count(). An engine
    // still setting itself up may accept a number >= 1 at once and check it when it first
    // speaks; an invalid one then keeps the voice before it all the same.
    virtual bool select_voice(int voice) = 0;
    virtual int voice_count() const = 0;
    virtual QString voice_label(int voice) const = 0;
    virtual QString voice_detail(int voice) const = 0;

    virtual void set_pitch(int pitch) = 0;
    virtual int pitch_min() const = 0;
    virtual int pitch_max() const = 0;
    virtual void set_speed(int speed) = 0;
    virtual int speed_min() const = 0;
    virtual int speed_max() const = 0;

signals:
    // One per word, on the user-interface thread, when playback reaches that word.
    void word_event(int a, int b, int c);
    // The mouth the face shows from now on, on the user-interface thread, when playback reaches
    // the sound that changes it; Rest once the last sound of a text has been played.
    void mouth_shape(MouthShape shape);
    // speaking_state() has just left 1: lets waits for silence sleep instead of polling.
    void silenced();
};

using SpeechEngineFactory = std::function<std::unique_ptr<SpeechEngine>()>;
