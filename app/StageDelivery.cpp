#include "StageDelivery.h"

#include "Blink.h"
#include "EsperaFala.h"
#include "Orb.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "Platform.h"
#include "WanderingEye.h"

#include <QEventLoop>
#include <QTimer>

#include <chrono>

StageDelivery::StageDelivery(
    Oracle& oracle, const Platform& platform, const Parts& parts, QObject* parent)
    : QObject(parent)
    , m_platform(platform)
    , m_parts(parts)
    , m_delivery(oracle, *this)
{
}

void StageDelivery::entrega()
{
    m_delivery.entrega();
}

void StageDelivery::wakeFromPhoneWait()
{
    if (m_phoneLoop)
        m_phoneLoop->quit();
}

void StageDelivery::close()
{
    m_closing = true;
    wakeFromPhoneWait();
}

void StageDelivery::speak(const QString& phrase)
{
    m_parts.voice.speak_text(phrase);
}

void StageDelivery::waitForSilence()
{
    espera_fala(m_parts.voice);
}

void StageDelivery::lightOrb()
{
    m_parts.orb.acende_bola();
}

void StageDelivery::pause(int ms)
{
    m_platform.pause.sleep(ms);
}

void StageDelivery::clearFace()
{
    m_parts.orb.clear();
}

void StageDelivery::showRefusal()
{
    m_parts.blink.hold();
}

void StageDelivery::playSinister()
{
    m_platform.play(StageSound::Sinister);
}

// The blank is selected, its caret before it: it holds the box's place between questions, and
// the first character typed takes its place instead of pushing it along ("a dvice").
void StageDelivery::resetBox()
{
    PetitionBox& box = m_parts.box;
    box.setText(QStringLiteral(" "));
    box.setSelection(1, -1);
    m_parts.eye.goHome();
    box.setFocus();
}

qint64 StageDelivery::now()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void StageDelivery::waitForPhone(qint64 ms)
{
    QEventLoop loop;
    m_phoneLoop = &loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void StageDelivery::pulseOrb(const std::function<bool()>& interrupted)
{
    m_parts.orb.pulse(interrupted);
}

void StageDelivery::tellAsked()
{
    emit asked();
}

void StageDelivery::tellPhoneWait(bool waiting)
{
    emit phoneWaitChanged(waiting);
}

void StageDelivery::tellArmedFate(PetitionState::Armed fate)
{
    if (fate == PetitionState::Armed::Spoken)
        emit armedAnswerSpoken();
    if (fate == PetitionState::Armed::Dropped)
        emit armedAnswerDropped();
}

void StageDelivery::tellAnswered()
{
    emit answered();
}
