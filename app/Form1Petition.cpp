// Petition entry and answer delivery of the main window.
#include "Form1.h"

#include "EsperaFala.h"
#include "HotSpot.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "SoundPlayer.h"
#include "Timer.h"

void Form1::setText1Colour(const QColor& colour)
{
    QPalette p = Text1->palette();
    p.setColor(QPalette::Text, colour);
    Text1->setPalette(p);
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
        m_module.iching_posicao = 1;
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
    if (const auto frase = m_oracle.waitingPhrase()) {
        m_tts1->speak_text(*frase);
        espera_fala(*m_tts1);
        acende_bola();
    }
    responde();
    Text1->setFocus();
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
