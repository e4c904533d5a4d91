#pragma once

#include "Delivery.h"

#include <QObject>
#include <QPointer>

class Blink;
class Orb;
class PetitionBox;
class QEventLoop;
class SpeechEngine;
class WanderingEye;
struct Platform;

// The stage an answer is delivered on: Delivery's steps carried out with the real voice, orb,
// face, pause, sound and petition box, the waits run as nested event loops; and what the
// performer's phone is told on the way, as signals.
class StageDelivery : public QObject, private DeliveryStage {
    Q_OBJECT
public:
    struct Parts {
        SpeechEngine& voice;
        Orb& orb;
        Blink& blink;
        WanderingEye& eye;
        PetitionBox& box;
    };
    StageDelivery(Oracle& oracle, const Platform& platform, const Parts& parts, QObject* parent);

    void entrega();
    // Ends a wait for the phone now: the phone spoke.
    void wakeFromPhoneWait();
    // The window is on its way out: nothing is waited for any more.
    void close();

signals:
    void asked();
    void phoneWaitChanged(bool waiting);
    void armedAnswerSpoken();
    void armedAnswerDropped();
    void answered();

private:
    void speak(const QString& phrase) override;
    void waitForSilence() override;
    void lightOrb() override;
    void pause(int ms) override;
    void clearFace() override;
    void showRefusal() override;
    void playSinister() override;
    void resetBox() override;
    qint64 now() override;
    void waitForPhone(qint64 ms) override;
    void pulseOrb(const std::function<bool()>& interrupted) override;
    bool closing() const override { return m_closing; }
    void tellAsked() override;
    void tellPhoneWait(bool waiting) override;
    void tellArmedFate(PetitionState::Armed fate) override;
    void tellAnswered() override;

    const Platform& m_platform;
    Parts m_parts;
    bool m_closing = false;
    // The wait for the phone, to wake when the phone speaks or the window closes.
    QPointer<QEventLoop> m_phoneLoop;
    Delivery m_delivery;
};
