// The stage effects of the main window: the wandering eye, the blinking face, the hot spots
// and the glowing orb.
#include "Form1.h"

#include "HotSpot.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "Random.h"
#include "Timer.h"

#include <QEventLoop>
#include <QTimer>

#include <utility>

void Form1::Timer1_Timer()
{
    Random& random = m_platform.random;
    const int x = static_cast<int>(double(random.next()) * 388.0 + 32.0);
    const int y = static_cast<int>(double(random.next()) * 253.0 + 32.0);
    Picture3->move(x, y);
}

void Form1::Timer2_Timer()
{
    Timer2->setInterval(Timer2->interval() == 250 ? 3500 : 250);
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
    const int pulsos = static_cast<int>(double(m_platform.random.next()) * 5.0 + 1.0);
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
    const QPointF centro(Picture1->width() / 2.0, Picture1->height() / 2.0);
    double raio = 60;
    int nivel = 255;
    int anel = 0;
    bool over = false;
    QTimer rings;
    QEventLoop loop;
    const auto nextRing = [&] {
        const bool stopped = interrupted && interrupted();
        if (anel == 60 || stopped) {
            Picture1->cls();
            over = stopped || --pulsos == 0;
            if (over) {
                rings.stop();
                loop.quit();
                return;
            }
            raio = 60;
            nivel = 255;
            anel = 0;
        }
        Picture1->circle(centro, raio, QColor(nivel, nivel, 0));
        nivel -= 4;
        raio += 5;
        ++anel;
        m_platform.pause.sleep(50);
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
