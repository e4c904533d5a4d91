#pragma once

#include "SpeechEngine.h"

#include <QStringList>
#include <QTimer>

#include <utility>

// A scripted engine: each text "speaks" for msPerWord per word (on a real timer, so waits and
// nested event loops behave as with the real engine), raising one word_event per word, each
// after the next of the scripted `mouths`; a text that moved the mouth ends with it at Rest.
// Every call is recorded in `calls` as "name(args)" so tests can check order.
class FakeSpeechEngine final : public SpeechEngine {
    Q_OBJECT
public:
    explicit FakeSpeechEngine(QStringList* log = nullptr, QObject* parent = nullptr)
        : SpeechEngine(parent)
        , m_log(log)
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &FakeSpeechEngine::tick);
    }

    QStringList calls;
    QStringList spoken;
    QStringList labels { "Alpha", "Beta", "Gamma" };
    QStringList details { "pt-br", "en", "fr" };
    int msPerWord = 1;
    int pMin = 0, pMax = 100, sMin = 80, sMax = 450;
    int voice = 1;
    bool stuck = false; // keeps reporting 1 forever
    QList<MouthShape> mouths; // raised in turn, one with each word spoken

    void speak_text(const QString& text) override
    {
        record(QStringLiteral("speak_text(%1)").arg(text));
        spoken << text;
        m_queue << text;
        if (!m_speaking)
            startNext();
    }
    int speaking_state() const override { return (m_speaking || stuck) ? 1 : 0; }
    bool select_voice(int v) override
    {
        record(QStringLiteral("select_voice(%1)").arg(v));
        if (v < 1 || v > labels.size())
            return false;
        voice = v;
        return true;
    }
    int voice_count() const override { return static_cast<int>(labels.size()); }
    QString voice_label(int v) const override { return labels.value(v - 1); }
    QString voice_detail(int v) const override { return details.value(v - 1); }
    void set_pitch(int p) override { record(QStringLiteral("set_pitch(%1)").arg(p)); }
    int pitch_min() const override { return pMin; }
    int pitch_max() const override { return pMax; }
    void set_speed(int s) override { record(QStringLiteral("set_speed(%1)").arg(s)); }
    int speed_min() const override { return sMin; }
    int speed_max() const override { return sMax; }

    // Ends whatever is being said at once, as if the last sample had just been played.
    void finishNow()
    {
        m_timer.stop();
        m_queue.clear();
        m_wordsLeft = 0;
        m_speaking = false;
        m_mouthMoved = false;
        emit silenced();
    }

private:
    void record(const QString& c)
    {
        calls << c;
        if (m_log)
            *m_log << c;
    }
    void startNext()
    {
        const QString text = m_queue.takeFirst();
        m_wordsLeft = static_cast<int>(text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
        m_speaking = true;
        m_timer.start(msPerWord);
    }
    void tick()
    {
        if (m_wordsLeft > 0) {
            --m_wordsLeft;
            if (!mouths.isEmpty()) {
                m_mouthMoved = true;
                emit mouth_shape(mouths.takeFirst());
            }
            emit word_event(0, 0, 0);
        }
        if (m_wordsLeft > 0) {
            m_timer.start(msPerWord);
            return;
        }
        if (std::exchange(m_mouthMoved, false))
            emit mouth_shape(MouthShape::Rest);
        if (!m_queue.isEmpty()) {
            startNext();
            return;
        }
        finish();
    }
    void finish()
    {
        if (!m_speaking)
            return;
        m_speaking = false;
        emit silenced();
    }

    QStringList* m_log;
    QStringList m_queue;
    QTimer m_timer;
    int m_wordsLeft = 0;
    bool m_speaking = false;
    bool m_mouthMoved = false;
};
