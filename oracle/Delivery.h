#pragma once

#include "PetitionState.h"

#include <QString>
#include <QtGlobal>

#include <functional>

class Oracle;

// What delivering an answer asks of the stage it plays on. Each call returns when its step is
// over: the waits let every other event run meanwhile (keys, hot spots, the phone), the pause
// freezes the stage.
class DeliveryStage {
public:
    virtual ~DeliveryStage() = default;

    // Starts speaking with the oracle's voice and returns at once.
    virtual void speak(const QString& phrase) = 0;
    // Until the voice falls silent, however long that takes.
    virtual void waitForSilence() = 0;
    // The orb's whole show over the face, the blinking held meanwhile.
    virtual void lightOrb() = 0;
    virtual void pause(int ms) = 0;
    // The orb's rings vanish, the face stays.
    virtual void clearFace() = 0;
    // The face stops blinking, its close crop shown, until the next key.
    virtual void showRefusal() = 0;
    virtual void playSinister() = 0;
    // The box holds one blank with the caret before it and has the keyboard; the eye is back in
    // its corner.
    virtual void resetBox() = 0;

    // The wait for the phone. `now` is in milliseconds that never go back.
    virtual qint64 now() = 0;
    // Silent for `ms`, or less once the phone speaks or the window closes.
    virtual void waitForPhone(qint64 ms) = 0;
    // One pulse of the orb, cut short as soon as `interrupted` says so.
    virtual void pulseOrb(const std::function<bool()>& interrupted) = 0;
    // The window is on its way out: nothing is waited for any more.
    virtual bool closing() const = 0;

    // What the performer's phone is told.
    virtual void tellAsked() = 0;
    virtual void tellPhoneWait(bool waiting) = 0;
    virtual void tellArmedFate(PetitionState::Armed fate) = 0;
    virtual void tellAnswered() = 0;
};

// The road of one answer, in the order the audience lives it: the waiting phrase and the orb
// (not on the quick road), the wait for the phone when it may answer, the pause, the answer or
// a refusal, the start-up sound again and a fresh box. Every choice on the way is the oracle's;
// this only walks it. Another question may be asked while a wait lets events run, and its road
// is walked inside this one, so nothing of a road is kept here.
class Delivery {
public:
    Delivery(Oracle& oracle, DeliveryStage& stage);

    void entrega();

private:
    void awaitPhone();
    void responde();

    Oracle& m_oracle;
    DeliveryStage& m_stage;
};
