#include "Delivery.h"

#include "Oracle.h"

Delivery::Delivery(Oracle& oracle, DeliveryStage& stage)
    : m_oracle(oracle)
    , m_stage(stage)
{
}

void Delivery::entrega()
{
    m_stage.tellAsked();
    if (const auto phrase = m_oracle.waitingPhrase()) {
        m_stage.speak(*phrase);
        m_stage.waitForSilence();
        m_stage.lightOrb();
        if (m_oracle.waitsForPhone())
            awaitPhone();
    }
    responde();
    m_stage.tellAnswered();
}

// Silent, the orb pulsing now and then, while every event runs as in any other wait; closing
// the window ends it.
void Delivery::awaitPhone()
{
    m_stage.tellPhoneWait(true);
    const auto cutShort = [this] { return m_oracle.phoneHasSpoken() || m_stage.closing(); };
    for (;;) {
        const PhoneWait::Next next = m_oracle.waitForPhone(m_stage.now());
        if (m_stage.closing() || next.step == PhoneWait::Step::Answer
            || next.step == PhoneWait::Step::Refuse)
            break;
        if (next.step == PhoneWait::Step::Pulse)
            m_stage.pulseOrb(cutShort);
        else
            m_stage.waitForPhone(next.forMs);
    }
    m_stage.tellPhoneWait(false);
}

void Delivery::responde()
{
    m_stage.pause(m_oracle.pause());
    m_stage.clearFace();
    m_stage.speak(m_oracle.answer());
    // Told before the wait, so that an answer armed during it is not taken for this one.
    m_stage.tellArmedFate(m_oracle.armedFate());
    m_stage.waitForSilence();
    if (m_oracle.refused())
        m_stage.showRefusal();
    m_stage.playSinister();
    m_oracle.answered();
    m_stage.resetBox();
}
