#pragma once

#include "Oracle.h"

#include <QObject>

class HotSpot;
class OrbCanvas;
class SpeechEngine;

// The stage's hot spots: the pointer over one makes the oracle say its phrase, once, until the
// pointer crosses the background (or the face) again.
class SpeakingSpots : public QObject {
    Q_OBJECT
public:
    SpeakingSpots(Oracle& oracle, SpeechEngine& voice, QObject* parent);

    // `spot` speaks as `which`.
    void speaks(HotSpot* spot, Spot which);
    // Crossing `background` re-arms every spot.
    void rearmsOn(HotSpot* background);
    void rearmsOn(OrbCanvas* face);

    void fala_hotspot(Spot spot);
    void rearma();

private:
    Oracle& m_oracle;
    SpeechEngine& m_voice;
};
