// The stage effects of the main window: the wandering eye, the blinking face, the hot spots
// and the glowing orb.
#include "Form1.h"

#include "HotSpot.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "Random.h"
#include "StageLook.h"
#include "StageView.h"
#include "Timer.h"

#include <QEventLoop>
#include <QTimer>

#include <utility>

void Form1::Timer1_Timer()
{
    Random& random = m_platform.random;
    const int x = look::kEyeWanders.left() + random.pick(look::kEyeWanders.width());
    const int y = look::kEyeWanders.top() + random.pick(look::kEyeWanders.height());
    m_view->move(Picture3, { x, y });
}

void Form1::Timer2_Timer()
{
    Timer2->setInterval(Timer2->interval() == kBlinkShortMs ? kBlinkLongMs : kBlinkShortMs);
    Picture4->setHidden(!Picture4->isHidden());
}

void Form1::fala_hotspot(Spot spot)
{
    if (const auto frase = m_oracle.hotSpot(spot, m_tts1->speaking_state() == 1))
        m_tts1->speak_text(*frase);
}

void Form1::rearma()
{
    m_oracle.rearm();
}

void Form1::acende_bola()
{
    Picture4->show();
    Timer2->setEnabled(false);
    const int pulsos = m_platform.random.pick(look::kOrbMostPulses) + 1;
    glowOrb(pulsos, {});
    Timer2->setEnabled(true);
    Picture4->hide();
}

void Form1::pulseOrb(const std::function<bool()>& interrupted)
{
    glowOrb(1, interrupted);
}

// Each ring is drawn by a timer, in whichever event loop runs, not by a loop on this call's
// stack: a handler run between two rings that waits in an event loop of its own (a stick held in
// a drag, a wait for speech) would otherwise hold the rings still until it returned. The pause
// after a ring still blocks; the events queued meanwhile run before the next ring. The orb lit
// again meanwhile holds these rings until its own are over.
void Form1::glowOrb(int pulsos, const std::function<bool()>& interrupted)
{
    const QSizeF orb = m_view->stageRect(Picture1).size();
    const QPointF centro(orb.width() / 2.0, orb.height() / 2.0);
    double raio = look::kOrbFirstRadius;
    int nivel = look::kOrbFirstLevel;
    int anel = 0;
    bool over = false;
    QTimer rings;
    QEventLoop loop;
    const auto nextRing = [&] {
        const bool stopped = interrupted && interrupted();
        if (anel == look::kOrbRings || stopped) {
            Picture1->cls();
            over = stopped || --pulsos == 0;
            if (over) {
                rings.stop();
                loop.quit();
                return;
            }
            raio = look::kOrbFirstRadius;
            nivel = look::kOrbFirstLevel;
            anel = 0;
        }
        Picture1->circle(centro, raio, look::orbRing(nivel));
        nivel -= look::kOrbFade;
        raio += look::kOrbGrowth;
        ++anel;
        m_platform.pause.sleep(kOrbRingMs);
    };
    connect(&rings, &QTimer::timeout, &loop, nextRing);

    QTimer* const outer = std::exchange(m_orbRings, &rings);
    const bool outerPlaying = outer && outer->isActive();
    if (outerPlaying)
        outer->stop();
    nextRing();
    if (!over) {
        rings.start(0);
        loop.exec();
    }
    m_orbRings = outer;
    if (outerPlaying)
        outer->start(0);
}
