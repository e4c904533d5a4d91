#include "SpeakingSpots.h"

#include "HotSpot.h"
#include "OrbCanvas.h"
#include "SpeechEngine.h"

SpeakingSpots::SpeakingSpots(Oracle& oracle, SpeechEngine& voice, QObject* parent)
    : QObject(parent)
    , m_oracle(oracle)
    , m_voice(voice)
{
}

void SpeakingSpots::speaks(HotSpot* spot, Spot which)
{
    connect(spot, &HotSpot::mouseMoved, this, [this, which] { fala_hotspot(which); });
}

void SpeakingSpots::rearmsOn(HotSpot* background)
{
    connect(background, &HotSpot::mouseMoved, this, &SpeakingSpots::rearma);
}

void SpeakingSpots::rearmsOn(OrbCanvas* face)
{
    connect(face, &OrbCanvas::mouseMoved, this, &SpeakingSpots::rearma);
}

void SpeakingSpots::fala_hotspot(Spot spot)
{
    if (const auto phrase = m_oracle.hotSpot(spot, m_voice.speaking_state() == 1))
        m_voice.speak_text(*phrase);
}

void SpeakingSpots::rearma()
{
    m_oracle.rearm();
}
