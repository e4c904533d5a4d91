#pragma once

#include <QObject>

#include <functional>

class Blink;
class OrbCanvas;
class Pause;
class QTimer;
class Random;

// The glowing orb over the oracle's face: pulses of fading rings drawn into the canvas, the
// face's blinking held meanwhile.
class Orb : public QObject {
    Q_OBJECT
public:
    Orb(OrbCanvas& canvas, Blink& blink, Random& random, Pause& pause, QObject* parent);

    // The orb's whole show: a drawn number of pulses.
    void acende_bola();
    // One pulse; stops early once `interrupted` says so.
    void pulse(const std::function<bool()>& interrupted);
    // The rings vanish, the face stays.
    void clear();

private:
    // Pulses of the rings, kOrbRingMs apart, the face cleared after each.
    void glow(int pulses, const std::function<bool()>& interrupted);

    OrbCanvas& m_canvas; // Picture1
    Blink& m_blink;
    Random& m_random;
    Pause& m_pause;
    // The rings of the orb being lit, while they play.
    QTimer* m_rings = nullptr;
};
