// Petition entry of the main window, and what the performer's phone asks of it.
#include "Form1.h"

#include "Blink.h"
#include "PetitionBox.h"
#include "StageDelivery.h"
#include "StageLook.h"
#include "WanderingEye.h"

void Form1::setText1Colour(const QColor& colour)
{
    look::setColour(m_Text1, { QPalette::Text }, colour);
    tellPetitionShown();
}

// Text in black on the black box is a key's moment before the disguise takes its place:
// nobody sees it, so nobody is told of it.
void Form1::tellPetitionShown()
{
    if (m_Text1->palette().color(QPalette::Text) != Qt::black)
        emit petitionShown(m_Text1->text());
}

void Form1::Text1_KeyDown(int keyCode)
{
    const KeyDownReply reply = m_oracle.keyDown(keyCode, m_Text1->text());
    if (reply.click)
        m_platform.play(StageSound::Blip);
    m_eye->startWandering();
    m_blink->resume();
    if (!reply.command)
        return;

    m_eye->park();
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
        m_delivery->entrega();
        return;
    }
}

void Form1::Text1_KeyPress(QChar ch)
{
    m_eye->keepWandering();
    setText1Colour(Qt::black);
    if (m_oracle.keyPress(ch))
        emit capturedAnswerReplacedArmed();
}

void Form1::Text1_KeyUp(int keyCode)
{
    if (const auto shown = m_oracle.keyUp(keyCode, m_Text1->text()))
        m_Text1->setText(*shown);
    setText1Colour(Qt::white);
    m_Text1->setCursorPosition(static_cast<int>(m_Text1->text().size()));
    m_eye->show();
}

void Form1::armHiddenAnswer(const QString& answer)
{
    m_oracle.arm(answer);
    m_delivery->wakeFromPhoneWait();
}

void Form1::setPhonesListening(int phones)
{
    m_oracle.setPhoneListening(phones > 0);
}

void Form1::refuseForPhone()
{
    m_oracle.refuseNow();
    m_delivery->wakeFromPhoneWait();
}
