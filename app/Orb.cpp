#include "Orb.h"

#include "Blink.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "Random.h"
#include "StageLook.h"
#include "StageTimings.h"

#include <QEventLoop>
#include <QTimer>

#include <utility>

Orb::Orb(OrbCanvas& canvas, Blink& blink, Random& random, Pause& pause, QObject* parent)
    : QObject(parent)
    , m_canvas(canvas)
    , m_blink(blink)
    , m_random(random)
    , m_pause(pause)
{
}

void Orb::acende_bola()
{
    m_blink.hold();
    glow(m_random.pick(look::kOrbMostPulses) + 1, {});
    m_blink.resume();
}

void Orb::pulse(const std::function<bool()>& interrupted)
{
    glow(1, interrupted);
}

void Orb::clear()
{
    m_canvas.cls();
}

// Each ring is drawn by a timer, in whichever event loop runs, not by a loop on this call's
// stack: a handler run between two rings that waits in an event loop of its own (a stick held in
// a drag, a wait for speech) would otherwise hold the rings still until it returned. The pause
// after a ring still blocks; the events queued meanwhile run before the next ring. The orb lit
// again meanwhile holds these rings until its own are over.
void Orb::glow(int pulses, const std::function<bool()>& interrupted)
{
    const QSizeF stage = m_canvas.stageSize();
    const QPointF centre(stage.width() / 2.0, stage.height() / 2.0);
    double radius = look::kOrbFirstRadius;
    int level = look::kOrbFirstLevel;
    int ring = 0;
    bool over = false;
    QTimer rings;
    QEventLoop loop;
    const auto nextRing = [&] {
        const bool stopped = interrupted && interrupted();
        if (ring == look::kOrbRings || stopped) {
            m_canvas.cls();
            over = stopped || --pulses == 0;
            if (over) {
                rings.stop();
                loop.quit();
                return;
            }
            radius = look::kOrbFirstRadius;
            level = look::kOrbFirstLevel;
            ring = 0;
        }
        m_canvas.circle(centre, radius, look::orbRing(level));
        level -= look::kOrbFade;
        radius += look::kOrbGrowth;
        ++ring;
        m_pause.sleep(timing::kOrbRingMs);
    };
    connect(&rings, &QTimer::timeout, &loop, nextRing);

    QTimer* const outer = std::exchange(m_rings, &rings);
    const bool outerPlaying = outer && outer->isActive();
    if (outerPlaying)
        outer->stop();
    nextRing();
    if (!over) {
        rings.start(0);
        loop.exec();
    }
    m_rings = outer;
    if (outerPlaying)
        outer->start(0);
}
