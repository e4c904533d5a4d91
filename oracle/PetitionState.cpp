#include "PetitionState.h"

#include "KeyCodes.h"

#include <limits>

bool PetitionState::keyPress(QChar ch)
{
    if (ch == QLatin1Char(',')) {
        m_modo_secreto = CaptureMode::Capturing;
        if (!m_armed)
            return false;
        m_armed.reset();
        m_resposta.clear();
        return true;
    }
    if (ch == QLatin1Char('.')) {
        m_modo_secreto = CaptureMode::JustEnded;
        return false;
    }
    if (m_modo_secreto != CaptureMode::Capturing)
        return false;
    m_resposta.append(ch);
    if (ch.unicode() == vk::Backspace)
        m_resposta.chop(2);
    return false;
}

void PetitionState::arm(const QString& answer)
{
    m_resposta = answer;
    m_armed = answer;
    if (m_modo_secreto == CaptureMode::Capturing)
        m_modo_secreto = CaptureMode::Normal;
}

bool PetitionState::semResposta() const
{
    return m_resposta.isEmpty() || m_resposta == QLatin1String(" ");
}

void PetitionState::repeat(const QString& ultima_resposta)
{
    m_resposta = ultima_resposta;
}

PetitionState::Armed PetitionState::deliver(const QString& recusa)
{
    if (semResposta())
        m_resposta = recusa;
    if (!m_armed)
        return Armed::None;
    const Armed outcome = *m_armed == m_resposta ? Armed::Spoken : Armed::Dropped;
    m_armed.reset();
    return outcome;
}

void PetitionState::advance()
{
    // Past the 16-bit limit the reveal simply stops growing.
    if (m_pos_pedido < std::numeric_limits<qint16>::max())
        ++m_pos_pedido;
}

std::optional<QString> PetitionState::keyUp(
    int vk, const QString& boxText, const QString& frase_pedido)
{
    std::optional<QString> shown;
    if (vk != vk::Backspace && m_modo_secreto == CaptureMode::Capturing) {
        advance();
        shown = frase_pedido.left(m_pos_pedido);
    }
    if (m_modo_secreto == CaptureMode::JustEnded) {
        m_modo_secreto = CaptureMode::Normal;
        advance();
        QString text = shown.value_or(boxText);
        text.chop(1);
        text += frase_pedido.mid(m_pos_pedido - 1, 1);
        shown = text;
    }
    return shown;
}

QString PetitionState::question(const QString& boxText, const QString& frase_pedido) const
{
    // The disguise is as much of the revealed phrase as the box still starts with: an edit
    // inside it ends the disguise there.
    const qsizetype revealed = qMin<qsizetype>(m_pos_pedido, frase_pedido.size());
    qsizetype disguise = 0;
    while (disguise < revealed && disguise < boxText.size()
        && boxText.at(disguise) == frase_pedido.at(disguise))
        ++disguise;
    return boxText.mid(disguise);
}

void PetitionState::reset()
{
    if (!m_armed)
        m_resposta.clear();
    m_pos_pedido = 0;
}
