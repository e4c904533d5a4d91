// The stage effects of the main window: the wandering eye, the blinking face, the hot spots
// and the glowing orb.
#include "Form1.h"

#include "HotSpot.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "Random.h"
#include "Timer.h"

#include <QCoreApplication>

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
    for (int pulso = 0; pulso < pulsos; ++pulso)
        pulseOrb({});
    Timer2->setEnabled(true);
    Picture4->hide();
}

void Form1::pulseOrb(const std::function<bool()>& interrupted)
{
    const QPointF centro(Picture1->width() / 2.0, Picture1->height() / 2.0);
    double raio = 60;
    int nivel = 255;
    for (int anel = 0; anel < 60 && !(interrupted && interrupted()); ++anel) {
        Picture1->circle(centro, raio, QColor(nivel, nivel, 0));
        nivel -= 4;
        raio += 5;
        m_platform.pause.sleep(50);
        QCoreApplication::processEvents();
    }
    Picture1->cls();
}
