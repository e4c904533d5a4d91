#include "PetitionState.h"

#include "KeyCodes.h"

#include <limits>

bool PetitionState::keyPress(QChar ch)
{
    if (ch == QLatin1Char(',')) {
        modo_secreto = Capturando;
        if (!m_armed)
            return false;
        m_armed.reset();
        resposta.clear();
        return true;
    }
    if (ch == QLatin1Char('.')) {
        modo_secreto = FimCaptura;
        return false;
    }
    if (modo_secreto != Capturando)
        return false;
    resposta.append(ch);
    if (ch.unicode() == vk::Backspace)
        resposta.chop(2);
    return false;
}

void PetitionState::arm(const QString& answer)
{
    resposta = answer;
    m_armed = answer;
    if (modo_secreto == Capturando)
        modo_secreto = Normal;
}

PetitionState::Armed PetitionState::deliver()
{
    if (!m_armed)
        return Armed::None;
    const Armed outcome = *m_armed == resposta ? Armed::Spoken : Armed::Dropped;
    m_armed.reset();
    return outcome;
}

void PetitionState::advance()
{
    // Past the 16-bit limit the reveal simply stops growing.
    if (pos_pedido < std::numeric_limits<qint16>::max())
        ++pos_pedido;
}

std::optional<QString> PetitionState::keyUp(
    int vk, const QString& boxText, const QString& frase_pedido)
{
    std::optional<QString> shown;
    if (vk != vk::Backspace && modo_secreto == Capturando) {
        advance();
        shown = frase_pedido.left(pos_pedido);
    }
    if (modo_secreto == FimCaptura) {
        modo_secreto = Normal;
        advance();
        QString text = shown.value_or(boxText);
        text.chop(1);
        text += frase_pedido.mid(pos_pedido - 1, 1);
        shown = text;
    }
    return shown;
}

void PetitionState::reset()
{
    if (!m_armed)
        resposta.clear();
    pos_pedido = 0;
}
