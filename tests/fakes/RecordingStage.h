#pragma once

#include "Delivery.h"
#include "TypedOracle.h"

#include <QStringList>

#include <algorithm>
#include <functional>

// The stage a delivery walks on, written down step by step instead of shown, on a clock moved
// by hand. What the phone and the window do meanwhile is scripted ("7000 answer sim" arms "sim"
// at 7 s, "2000 refuse" presses the refuse button, "2000 close" closes the window) and happens
// during the wait or the pulse that spans its time; a pulse lasts kPulseMs.
class RecordingStage final : public DeliveryStage {
public:
    static constexpr qint64 kPulseMs = 3000;

    RecordingStage(TypedOracle& typed, const QStringList& events)
        : m_typed(typed)
        , m_events(events)
    {
    }

    QStringList steps;

    void speak(const QString& frase) override { steps << QStringLiteral("speak ") + frase; }
    void waitForSilence() override { steps << QStringLiteral("wait for silence"); }
    void lightOrb() override { steps << QStringLiteral("light the orb"); }
    void pause(int ms) override
    {
        if (ms == Oracle::kQuickPauseMs)
            steps << QStringLiteral("quick pause");
        else if (ms >= Oracle::kShortestPauseMs && ms <= Oracle::kLongestPauseMs)
            steps << QStringLiteral("pause");
        else
            steps << QStringLiteral("a pause of %1 ms, out of every range").arg(ms);
    }
    void clearFace() override { steps << QStringLiteral("clear the face"); }
    void showRefusal() override { steps << QStringLiteral("show the refusal"); }
    void playSinister() override { steps << QStringLiteral("play SINISTER"); }
    void resetBox() override { steps << QStringLiteral("reset the box"); }

    qint64 now() override { return m_now; }
    void waitForPhone(qint64 ms) override
    {
        steps << QStringLiteral("wait for the phone");
        // Whatever the phone or the window does wakes the wait.
        runUntil(m_now + ms, [] { return true; });
    }
    void pulseOrb(const std::function<bool()>& interrupted) override
    {
        steps << QStringLiteral("pulse the orb");
        if (runUntil(m_now + kPulseMs, interrupted))
            steps << QStringLiteral("the pulse is cut short");
    }
    bool closing() const override { return m_closing; }

    void tellAsked() override { steps << QStringLiteral("told: asked"); }
    void tellPhoneWait(bool waiting) override
    {
        steps << (waiting ? QStringLiteral("told: waiting for the phone")
                          : QStringLiteral("told: the phone wait is over"));
    }
    void tellArmedFate(PetitionState::Armed fate) override
    {
        if (fate == PetitionState::Armed::Spoken)
            steps << QStringLiteral("told: the armed answer is spoken");
        if (fate == PetitionState::Armed::Dropped)
            steps << QStringLiteral("told: the armed answer is dropped");
    }
    void tellAnswered() override { steps << QStringLiteral("told: answered"); }

private:
    // Lets the scripted events up to `end` happen; true when `stop` ended it early.
    bool runUntil(qint64 end, const std::function<bool()>& stop)
    {
        while (!m_events.isEmpty() && TypedOracle::at(m_events.first()) <= end) {
            const QString event = m_events.takeFirst();
            m_now = std::max(m_now, TypedOracle::at(event));
            happen(event);
            if (stop()) {
                return true;
            }
        }
        m_now = end;
        return false;
    }
    void happen(const QString& event)
    {
        const QString at = QString::number(TypedOracle::at(event)) + QStringLiteral(": ");
        const QString what = event.section(QLatin1Char(' '), 1);
        if (what == QLatin1String("close")) {
            m_closing = true;
            steps << at + QStringLiteral("the window closes");
        } else if (what == QLatin1String("refuse")) {
            m_typed.phone(event);
            steps << at + QStringLiteral("the phone refuses");
        } else {
            m_typed.phone(event);
            steps << at + QStringLiteral("the phone answers ") + what.section(QLatin1Char(' '), 1);
        }
    }

    TypedOracle& m_typed;
    QStringList m_events;
    qint64 m_now = 0;
    bool m_closing = false;
};

// One delivery on the real road, written down.
inline QStringList walk(TypedOracle& typed, const QStringList& events = QStringList())
{
    RecordingStage stage(typed, events);
    Delivery(typed.oracle, stage).entrega();
    typed.box = QStringLiteral(" ");
    return stage.steps;
}

// What a delivery said, in order.
inline QStringList spokenIn(const QStringList& steps)
{
    QStringList spoken;
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("speak ")))
            spoken << step.mid(6);
    }
    return spoken;
}
