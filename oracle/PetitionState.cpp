#include "PetitionState.h"

#include "KeyCodes.h"

#include <limits>

bool PetitionState::keyPress(QChar ch)
{
    if (ch == QLatin1Char(',')) {
        modo_secreto = CaptureMode::Capturing;
        if (!m_armed)
            return false;
        m_armed.reset();
        resposta.clear();
        return true;
    }
    if (ch == QLatin1Char('.')) {
        modo_secreto = CaptureMode::JustEnded;
        return false;
    }
    if (modo_secreto != CaptureMode::Capturing)
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
    if (modo_secreto == CaptureMode::Capturing)
        modo_secreto = CaptureMode::Normal;
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
    if (vk != vk::Backspace && modo_secreto == CaptureMode::Capturing) {
        advance();
        shown = frase_pedido.left(pos_pedido);
    }
    if (modo_secreto == CaptureMode::JustEnded) {
        modo_secreto = CaptureMode::Normal;
        advance();
        QString text = shown.value_or(boxText);
        text.chop(1);
        text += frase_pedido.mid(pos_pedido - 1, 1);
        shown = text;
    }
    return shown;
}

QString PetitionState::question(const QString& boxText, const QString& frase_pedido) const
{
    // The disguise is as much of the revealed phrase as the box still starts with: an edit
    // inside it ends the disguise there.
    const qsizetype revealed = qMin<qsizetype>(pos_pedido, frase_pedido.size());
    qsizetype disguise = 0;
    while (disguise < revealed && disguise < boxText.size()
        && boxText.at(disguise) == frase_pedido.at(disguise))
        ++disguise;
    return boxText.mid(disguise);
}

void PetitionState::reset()
{
    if (!m_armed)
        resposta.clear();
    pos_pedido = 0;
}
