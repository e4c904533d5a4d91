// The stage effects of the main window: the wandering eye, the blinking face, the hot spots
// and the glowing orb.
#include "Form1.h"

#include "HotSpot.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "Random.h"
#include "StageLook.h"
#include "Timer.h"

#include <QCoreApplication>

void Form1::Timer1_Timer()
{
    Random& random = m_platform.random;
    const int x = look::kEyeWanders.left() + random.pick(look::kEyeWanders.width());
    const int y = look::kEyeWanders.top() + random.pick(look::kEyeWanders.height());
    Picture3->move(x, y);
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
    for (int pulso = 0; pulso < pulsos; ++pulso)
        pulseOrb({});
    Timer2->setEnabled(true);
    Picture4->hide();
}

void Form1::pulseOrb(const std::function<bool()>& interrupted)
{
    const QPointF centro(Picture1->width() / 2.0, Picture1->height() / 2.0);
    double raio = look::kOrbFirstRadius;
    int nivel = look::kOrbFirstLevel;
    for (int anel = 0; anel < look::kOrbRings && !(interrupted && interrupted()); ++anel) {
        Picture1->circle(centro, raio, look::orbRing(nivel));
        nivel -= look::kOrbFade;
        raio += look::kOrbGrowth;
        m_platform.pause.sleep(kOrbRingMs);
        QCoreApplication::processEvents();
    }
    Picture1->cls();
}
