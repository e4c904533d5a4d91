#include "RemoteExchange.h"

#include <QElapsedTimer>
#include <QStringDecoder>

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

// The answer as the oracle will speak it; empty when the body is not an answer.
QString answerFrom(const QByteArray& body)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString answer = decode(body);
    if (decode.hasError())
        return {};
    answer.removeIf([](QChar ch) { return ch.category() == QChar::Other_Control; });
    if (answer.trimmed().isEmpty() || answer.toUcs4().size() > RemoteExchange::kMaxAnswerCharacters)
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
        return text(403, "forbidden");
    if (request.method == "GET" && request.path == QLatin1String("/"))
        return { 200, "text/html; charset=utf-8", m_page };
    if (request.method == "GET" && request.path == QLatin1String("/status"))
        return stateReply();
    if (request.method == "POST" && request.path == QLatin1String("/answer"))
        return arm(request.body);
    return text(404, "not found");
}

bool RemoteExchange::tooMany(const QString& client)
{
    const qint64 now = m_clock();
    if (m_windows.size() > kRememberedClients) {
        m_windows.removeIf(
            [now](const auto& entry) { return now - entry.value().start >= kWindowMs; });
    }
    Window& window = m_windows[client];
    if (window.count == 0 || now - window.start >= kWindowMs)
        window = { now, 0 };
    return ++window.count > kRequestsPerSecond;
}

// Every byte is compared whatever the first difference, so the time taken tells nothing of
// how much of a guessed token was right.
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
    m_state = State::Armed;
    emit answerArmed(answer);
    return stateReply();
}

RemoteExchange::Reply RemoteExchange::stateReply() const
{
    static const QByteArray names[] = { "idle", "armed", "spoken" };
    return { 200, "application/json", "{\"state\":\"" + names[static_cast<int>(m_state)] + "\"}" };
}

void RemoteExchange::answerDelivered()
{
    if (m_state == State::Armed)
        m_state = State::Spoken;
}

void RemoteExchange::armedAnswerReplaced()
{
    if (m_state == State::Armed)
        m_state = State::Idle;
}
