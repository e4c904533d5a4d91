// Petition entry of the main window, and the stage an answer is delivered on.
#include "Form1.h"

#include "EsperaFala.h"
#include "HotSpot.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "SoundPlayer.h"
#include "StageLook.h"
#include "StageView.h"
#include "Timer.h"

#include <QEventLoop>
#include <QTimer>

#include <chrono>

void Form1::setText1Colour(const QColor& colour)
{
    look::setColour(Text1, QPalette::Text, colour);
    tellPetitionShown();
}

// Text in black on the black box is a key's moment before the disguise takes its place:
// nobody sees it, so nobody is told of it.
void Form1::tellPetitionShown()
{
    if (Text1->palette().color(QPalette::Text) != Qt::black)
        emit petitionShown(Text1->text());
}

void Form1::startWandering()
{
    Timer1->setInterval(kEyeMs);
    Timer1->setEnabled(true);
    m_view->move(Picture3, look::kEyeHome);
}

void Form1::parkEye()
{
    Timer1->setEnabled(false);
    Timer1->setInterval(0);
    m_view->move(Picture3, look::kEyeParked);
}

void Form1::Text1_KeyDown(int keyCode)
{
    const KeyDownReply reply = m_oracle.keyDown(keyCode, Text1->text());
    if (reply.click)
        play(StageSound::Blip);
    startWandering();
    Timer2->setEnabled(true);
    Picture4->hide();
    if (!reply.command)
        return;

    parkEye();
    switch (*reply.command) {
    case Command::Exit:
        fim();
        return;
    case Command::ChangeVoice:
        abre_calibrar();
        return;
    case Command::Consult:
        abre_form2();
        return;
    case Command::Answer:
        m_delivery.entrega();
        return;
    }
}

void Form1::Text1_KeyPress(QChar ch)
{
    if (!Timer1->isEnabled())
        Timer1->setEnabled(true);
    if (Picture3->isHidden())
        Picture3->show();
    setText1Colour(Qt::black);
    if (m_oracle.keyPress(ch))
        emit capturedAnswerReplacedArmed();
}

void Form1::armHiddenAnswer(const QString& answer)
{
    m_oracle.arm(answer);
    wakeFromPhoneWait();
}

void Form1::setPhonesListening(int phones)
{
    m_oracle.setPhoneListening(phones > 0);
}

void Form1::refuseForPhone()
{
    m_oracle.refuseNow();
    wakeFromPhoneWait();
}

void Form1::wakeFromPhoneWait()
{
    if (m_phoneLoop)
        m_phoneLoop->quit();
}

void Form1::Text1_KeyUp(int keyCode)
{
    if (const auto shown = m_oracle.keyUp(keyCode, Text1->text()))
        Text1->setText(*shown);
    setText1Colour(Qt::white);
    Text1->setCursorPosition(static_cast<int>(Text1->text().size()));
    Picture3->show();
}

void Form1::speak(const QString& frase)
{
    m_tts1->speak_text(frase);
}

void Form1::waitForSilence()
{
    espera_fala(*m_tts1);
}

void Form1::lightOrb()
{
    acende_bola();
}

void Form1::pause(int ms)
{
    m_platform.pause.sleep(ms);
}

void Form1::clearFace()
{
    Picture1->cls();
}

void Form1::showRefusal()
{
    Timer2->setEnabled(false);
    Picture4->show();
}

void Form1::playSinister()
{
    play(StageSound::Sinister);
}

void Form1::resetBox()
{
    Text1->setText(QStringLiteral(" "));
    Text1->setCursorPosition(0);
    m_view->move(Picture3, look::kEyeHome);
    Text1->setFocus();
}

qint64 Form1::now()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Form1::waitForPhone(qint64 ms)
{
    QEventLoop loop;
    m_phoneLoop = &loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Form1::closing() const
{
    return m_descarregando;
}

void Form1::tellAsked()
{
    emit questionAsked();
}

void Form1::tellPhoneWait(bool waiting)
{
    emit phoneWaitChanged(waiting);
}

void Form1::tellArmedFate(PetitionState::Armed fate)
{
    if (fate == PetitionState::Armed::Spoken)
        emit hiddenAnswerDelivered();
    if (fate == PetitionState::Armed::Dropped)
        emit capturedAnswerReplacedArmed();
}

void Form1::tellAnswered()
{
    emit questionAnswered();
}
