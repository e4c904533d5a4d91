// Petition entry and answer delivery of the main window.
#include "Form1.h"

#include "EsperaFala.h"
#include "HotSpot.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "SoundPlayer.h"
#include "Timer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void Form1::setText1Colour(const QColor& colour)
{
    QPalette p = Text1->palette();
    p.setColor(QPalette::Text, colour);
    Text1->setPalette(p);
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
    Timer1->setInterval(350);
    Timer1->setEnabled(true);
    Picture3->move(0, 0);
}

void Form1::parkEye()
{
    Timer1->setEnabled(false);
    Timer1->setInterval(0);
    Picture3->move(-200, -200);
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
        entrega();
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
    m_phoneSpoke = true;
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

void Form1::entrega()
{
    emit questionAsked();
    if (const auto frase = m_oracle.waitingPhrase()) {
        m_tts1->speak_text(*frase);
        espera_fala(*m_tts1);
        acende_bola();
        if (m_oracle.waitsForPhone())
            awaitPhone();
    }
    responde();
    Text1->setFocus();
    emit questionAnswered();
}

// Silent, the orb pulsing now and then, while every event runs as in any other wait; closing
// the window ends it.
void Form1::awaitPhone()
{
    emit phoneWaitChanged(true);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        m_phoneSpoke = false;
        const PhoneWait::Next next = m_oracle.waitForPhone(clock.elapsed());
        if (m_descarregando || next.step == PhoneWait::Step::Answer
            || next.step == PhoneWait::Step::Refuse)
            break;
        if (next.step == PhoneWait::Step::Pulse)
            pulseOrb([this] { return m_phoneSpoke || m_descarregando; });
        else
            waitForPhoneMessage(next.forMs);
    }
    emit phoneWaitChanged(false);
}

void Form1::waitForPhoneMessage(qint64 ms)
{
    if (m_phoneSpoke)
        return;
    QEventLoop loop;
    m_phoneLoop = &loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Form1::responde()
{
    m_platform.pause.sleep(m_oracle.pause());
    Picture1->cls();
    m_tts1->speak_text(m_oracle.answer());
    // Told before the wait, so that an answer armed during it is not taken for this one.
    if (m_oracle.armedFate() == PetitionState::Armed::Spoken)
        emit hiddenAnswerDelivered();
    if (m_oracle.armedFate() == PetitionState::Armed::Dropped)
        emit capturedAnswerReplacedArmed();
    espera_fala(*m_tts1);
    if (m_oracle.refused()) {
        Timer2->setEnabled(false);
        Picture4->show();
    }
    play(StageSound::Sinister);
    m_oracle.answered();
    Text1->setText(QStringLiteral(" "));
    Text1->setCursorPosition(0);
    Picture3->move(0, 0);
}
