#include "RemoteExchange.h"

#include <QElapsedTimer>
#include <QStringDecoder>

#include <algorithm>

#include <memory>

namespace {

constexpr qint64 kWindowMs = 1000;
// Past this many remembered clients, the ones whose window has closed are forgotten.
constexpr qsizetype kRememberedClients = 256;

RemoteExchange::Reply text(int status, const char* message)
{
    return { status, "text/plain; charset=utf-8", QByteArray(message) + '\n' };
}

RemoteExchange::Clock steadyClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

// Nothing to hear: blanks; marks that have no width, only set the writing direction or only
// change the letter before them (variation selectors, combining marks alone); fillers that
// stand for no letter; the blank braille cell; noncharacters.
bool saysNothing(const QString& answer)
{
    static constexpr char32_t kFillers[] = { 0x115F, 0x1160, 0x2800, 0x3164, 0xFFA0 };
    const QList<uint> points = answer.toUcs4();
    return std::all_of(points.begin(), points.end(), [](uint point) {
        switch (QChar::category(point)) {
        case QChar::Other_Format:
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            return true;
        default:
            return QChar::isSpace(point) || QChar::isNonCharacter(point)
                || std::ranges::count(kFillers, char32_t(point)) > 0;
        }
    });
}

// The answer as the oracle will speak it; empty when the body is not an answer.
QString answerFrom(const QByteArray& body)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString answer = decode(body);
    if (decode.hasError())
        return {};
    answer.removeIf([](QChar ch) { return ch.category() == QChar::Other_Control; });
    if (saysNothing(answer) || answer.toUcs4().size() > RemoteExchange::kMaxAnswerCharacters)
        return {};
    return answer;
}

}

RemoteExchange::RemoteExchange(
    const QByteArray& token, const QByteArray& page, Clock clock, QObject* parent)
    : QObject(parent)
    , m_token(token)
    , m_page(page)
    , m_clock(clock ? std::move(clock) : steadyClock())
{
}

RemoteExchange::Reply RemoteExchange::handle(const Request& request)
{
    if (tooMany(request.client))
        return text(429, "too many requests");
    if (!tokenMatches(request.token))
        return tooManyGuesses() ? text(429, "too many requests") : text(403, "forbidden");
    return route(request);
}

RemoteExchange::Reply RemoteExchange::route(const Request& request)
{
    const auto is = [&request](const char* method, const char* path) {
        return request.method == method && request.path == QLatin1String(path);
    };
    if (is("GET", "/"))
        return { 200, "text/html; charset=utf-8", m_page };
    if (is("GET", "/status"))
        return stateReply();
    if (is("GET", "/push")) {
        if (!request.webSocket)
            return text(426, "the push channel is a WebSocket");
        return { 101, {}, {}, true };
    }
    if (is("POST", "/answer"))
        return arm(request.body);
    if (is("POST", "/refuse"))
        return refuse();
    return text(404, "not found");
}

bool RemoteExchange::counted(Window& window, int limit) const
{
    const qint64 now = m_clock();
    if (window.count == 0 || now - window.start >= kWindowMs)
        window = { now, 0 };
    return ++window.count > limit;
}

bool RemoteExchange::tooMany(const QString& client)
{
    const qint64 now = m_clock();
    if (m_windows.size() > kRememberedClients) {
        m_windows.removeIf(
            [now](const auto& entry) { return now - entry.value().start >= kWindowMs; });
    }
    return counted(m_windows[client], kRequestsPerSecond);
}

// Many addresses of one host (aliases, IPv4 and IPv6) each get their own share; together their
// guesses at the token are held to one limit, which the phone, holding the token, never meets.
bool RemoteExchange::tooManyGuesses()
{
    return counted(m_guesses, kGuessesPerSecond);
}

bool RemoteExchange::tokenMatches(const QByteArray& token) const
{
    unsigned difference = token.size() == m_token.size() ? 0u : 1u;
    for (qsizetype i = 0; i < m_token.size(); ++i) {
        const char given = i < token.size() ? token[i] : '\0';
        difference |= static_cast<unsigned char>(given ^ m_token[i]);
    }
    return difference == 0 && !m_token.isEmpty();
}

RemoteExchange::Reply RemoteExchange::arm(const QByteArray& body)
{
    if (body.size() > kMaxBodyBytes)
        return text(413, "answer too large");
    const QString answer = answerFrom(body);
    if (answer.isEmpty())
        return text(400, "not an answer: 1 to 200 characters of UTF-8 text");
    change(State::Armed, m_phase);
    emit answerArmed(answer);
    return stateReply();
}

RemoteExchange::Reply RemoteExchange::refuse()
{
    if (m_phase != Phase::Waiting)
        return text(409, "nothing waits for an answer");
    emit refusalAsked();
    return stateReply();
}

QByteArray RemoteExchange::stateName() const
{
    if (m_phase == Phase::Waiting)
        return "waiting";
    if (m_phase == Phase::Asked)
        return "asked";
    static const QByteArray names[] = { "idle", "armed", "spoken" };
    return names[static_cast<int>(m_state)];
}

RemoteExchange::Reply RemoteExchange::stateReply() const
{
    return { 200, "application/json", "{\"state\":\"" + stateName() + "\"}" };
}

void RemoteExchange::change(State state, Phase phase)
{
    const QByteArray before = stateName();
    m_state = state;
    m_phase = phase;
    if (stateName() != before)
        emit stateChanged(stateName());
}

void RemoteExchange::answerDelivered()
{
    if (m_state == State::Armed)
        change(State::Spoken, m_phase);
}

void RemoteExchange::armedAnswerReplaced()
{
    if (m_state == State::Armed)
        change(State::Idle, m_phase);
}

void RemoteExchange::setPhase(Phase phase)
{
    change(m_state, phase);
}
