#include "Oracle.h"

#include "KeyCodes.h"
#include "Random.h"

Oracle::Oracle(const LanguageTexts& texts, Random& random)
    : m_texts(texts)
    , m_random(random)
{
}

KeyDownReply Oracle::keyDown(int vk, const QString& boxText)
{
    KeyDownReply reply;
    reply.click = m_petition.modo_secreto() == CaptureMode::Capturing
        || (vk != vk::Space && vk != vk::Shift);
    m_random.reseed();
    m_waitingIndex = m_random.pick(6);
    if (vk == vk::Enter)
        reply.command = readQuestion(boxText);
    return reply;
}

bool Oracle::keyPress(QChar ch)
{
    return m_petition.keyPress(ch);
}

void Oracle::arm(const QString& answer)
{
    m_petition.arm(answer);
}

std::optional<QString> Oracle::keyUp(int vk, const QString& boxText)
{
    return m_petition.keyUp(vk, boxText, m_texts.frase_pedido);
}

bool Oracle::contem(const QString& q, const QString (&forms)[2]) const
{
    // An empty keyword (no language loaded) names nothing.
    for (const QString& form : forms) {
        if (!form.isEmpty() && q.contains(form, Qt::CaseSensitive))
            return true;
    }
    return false;
}

// The tests run in this order and each sees what the earlier ones did: "repeat" arms the last
// answer even when a later keyword wins.
Command Oracle::readQuestion(const QString& boxText)
{
    const QString q = m_petition.question(boxText, m_texts.frase_pedido).toUpper();
    m_resposta_rapida = contem(q, m_texts.palavras_voce);
    if (contem(q, m_texts.palavras_repita)) {
        m_petition.repeat(m_ultima_resposta);
        m_resposta_rapida = true;
    }
    if (contem(q, m_texts.palavras_exit))
        return Command::Exit;
    if (contem(q, m_texts.palavras_mudar_voz))
        return Command::ChangeVoice;
    if (contem(q, m_texts.palavras_conselho))
        return Command::Consult;
    return Command::Answer;
}

std::optional<QString> Oracle::waitingPhrase()
{
    m_phoneWait.reset();
    if (m_petition.semResposta()) {
        if (m_phoneListening && !m_resposta_rapida) {
            m_refusalAsked = false;
            m_phoneWait.emplace();
            return m_texts.frases_espera[m_waitingIndex];
        }
        m_resposta_rapida = true;
    }
    if (m_resposta_rapida)
        return std::nullopt;
    return m_texts.frases_espera[m_waitingIndex];
}

PhoneWait::Next Oracle::waitForPhone(qint64 nowMs)
{
    if (!m_phoneWait)
        return { PhoneWait::Step::Refuse };
    const PhoneWait::Next next = m_phoneWait->next(nowMs, m_petition.armed(), m_refusalAsked);
    if (next.step == PhoneWait::Step::Refuse)
        m_resposta_rapida = true;
    if (next.step == PhoneWait::Step::Answer || next.step == PhoneWait::Step::Refuse)
        m_phoneWait.reset();
    return next;
}

void Oracle::refuseNow()
{
    if (m_phoneWait)
        m_refusalAsked = true;
}

bool Oracle::phoneHasSpoken() const
{
    return m_phoneWait && (m_petition.armed() || m_refusalAsked);
}

int Oracle::pause()
{
    m_random.reseed();
    const int drawn = static_cast<int>(
        double(m_random.next()) * (kLongestPauseMs - kShortestPauseMs + 1) + kShortestPauseMs);
    return m_resposta_rapida ? kQuickPauseMs : drawn;
}

QString Oracle::answer()
{
    m_random.reseed();
    m_refusalIndex = m_random.pick(6);
    m_armedFate = m_petition.deliver(m_texts.frases_recusa[m_refusalIndex]);
    m_ultima_resposta = m_petition.resposta();
    return m_ultima_resposta;
}

// Judged by the words, not by the road they came: an answer worded as the refusal just drawn
// counts as refused, and a refusal repeated under another draw does not.
bool Oracle::refused() const
{
    return m_petition.resposta() == m_texts.frases_recusa[m_refusalIndex];
}

void Oracle::answered()
{
    m_petition.reset();
}

std::optional<QString> Oracle::hotSpot(Spot spot, bool speaking)
{
    if (speaking || m_ja_falou)
        return std::nullopt;
    m_ja_falou = true;
    switch (spot) {
    case Spot::Friend:
        return m_texts.frase_amigo;
    case Spot::Eyes:
        return m_texts.frase_olhos;
    case Spot::Gaze:
        return m_texts.frase_olhar;
    case Spot::Death:
        return m_texts.frase_morte;
    case Spot::Eye:
        return m_texts.frase_olho;
    }
    return std::nullopt;
}

void Oracle::rearm()
{
    m_ja_falou = false;
}
