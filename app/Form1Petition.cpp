// Petition entry and answer delivery of the main window.
#include "Form1.h"

#include "EsperaFala.h"
#include "HotSpot.h"
#include "KeyCodes.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "Random.h"
#include "SoundPlayer.h"
#include "Timer.h"

void Form1::setText1Colour(const QColor& colour)
{
    QPalette p = Text1->palette();
    p.setColor(QPalette::Text, colour);
    Text1->setPalette(p);
}

bool Form1::contem(const QString& q, const QString (&palavras)[2]) const
{
    // An empty keyword (no language loaded) names nothing.
    for (const QString& palavra : palavras) {
        if (!palavra.isEmpty() && q.contains(palavra, Qt::CaseSensitive))
            return true;
    }
    return false;
}

void Form1::Text1_KeyDown(int keyCode)
{
    if (petition.modo_secreto == PetitionState::Capturando
        || (keyCode != vk::Space && keyCode != vk::Shift))
        play(QStringLiteral("\\blip1.wav"));
    Timer1->setInterval(350);
    Timer1->setEnabled(true);
    Picture3->move(0, 0);
    Timer2->setEnabled(true);
    Picture4->hide();
    m_platform.random.reseed();
    const int r = m_platform.random.pick(6);
    if (keyCode != vk::Enter)
        return;

    Timer1->setEnabled(false);
    Timer1->setInterval(0);
    Picture3->move(-200, -200);
    const QString q = Text1->text().toUpper();
    resposta_rapida = contem(q, textos.palavras_voce);
    if (contem(q, textos.palavras_repita)) {
        petition.resposta = ultima_resposta;
        resposta_rapida = true;
    }
    if (contem(q, textos.palavras_exit)) {
        fim();
        return;
    }
    if (contem(q, textos.palavras_mudar_voz)) {
        abre_calibrar();
        return;
    }
    if (contem(q, textos.palavras_conselho)) {
        m_module.iching_posicao = 1;
        abre_form2();
        return;
    }
    entrega(r);
}

void Form1::Text1_KeyPress(QChar ch)
{
    if (!Timer1->isEnabled())
        Timer1->setEnabled(true);
    if (Picture3->isHidden())
        Picture3->show();
    setText1Colour(Qt::black);
    if (petition.keyPress(ch))
        emit capturedAnswerReplacedArmed();
}

void Form1::armHiddenAnswer(const QString& answer)
{
    petition.arm(answer);
}

void Form1::Text1_KeyUp(int keyCode)
{
    if (const auto shown = petition.keyUp(keyCode, Text1->text(), textos.frase_pedido))
        Text1->setText(*shown);
    setText1Colour(Qt::white);
    Text1->setCursorPosition(static_cast<int>(Text1->text().size()));
    Picture3->show();
}

bool Form1::semResposta(const QString& resposta)
{
    return resposta.isEmpty() || resposta == QLatin1String(" ");
}

void Form1::entrega(int r)
{
    if (semResposta(petition.resposta))
        resposta_rapida = true;
    if (!resposta_rapida) {
        m_tts1->speak_text(textos.frases_espera[r]);
        espera_fala(*m_tts1);
        acende_bola();
    }
    responde();
    Text1->setFocus();
}

void Form1::responde()
{
    Random& random = m_platform.random;
    random.reseed();
    int pausa = static_cast<int>(double(random.next()) * 2001.0 + 1000.0);
    if (resposta_rapida)
        pausa = 500;
    m_platform.pause.sleep(pausa);
    Picture1->cls();
    random.reseed();
    const int k = random.pick(6);
    if (semResposta(petition.resposta))
        petition.resposta = textos.frases_recusa[k];
    // Told before the wait, so that an answer armed during it is not taken for this one.
    const PetitionState::Armed armed = petition.deliver();
    if (armed == PetitionState::Armed::Spoken)
        emit hiddenAnswerDelivered();
    if (armed == PetitionState::Armed::Dropped)
        emit capturedAnswerReplacedArmed();
    m_tts1->speak_text(petition.resposta);
    ultima_resposta = petition.resposta;
    espera_fala(*m_tts1);
    if (petition.resposta == textos.frases_recusa[k]) {
        Timer2->setEnabled(false);
        Picture4->show();
    }
    play(QStringLiteral("\\SINISTER.wav"));
    petition.reset();
    Text1->setText(QStringLiteral(" "));
    Text1->setCursorPosition(0);
    Picture3->move(0, 0);
}
