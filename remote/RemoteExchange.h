#pragma once

#include "HttpRequestParser.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

// The rules of the performer's remote answer, with no sockets: RemoteServer hands every whole
// HTTP request to handle() and writes back the reply. The exchange is
//   GET  /?t=TOKEN        the page
//   GET  /push?t=TOKEN    the push channel (a WebSocket upgrade): what the petition box shows
//                         and the state, as they change
//   POST /answer?t=TOKEN  a UTF-8 text/plain answer; arms it: {"state":"armed"}
//   POST /refuse?t=TOKEN  while the oracle waits for the phone: it refuses at once
//   GET  /status?t=TOKEN  {"state":"idle"|"armed"|"spoken"|"asked"|"waiting"}
// checked in this order: too many requests from one client (429), wrong token (403, or 429
// when all clients together guess too often), unknown route (404), body too large (413), not an
// answer (400), nothing waits (409). The oracle hears of an armed answer through answerArmed and
// tells back whether it spoke it or a keyboard capture replaced it, and where its delivery is
// (setPhase). The state is the delivery's phase while a question is being answered ("asked", or
// "waiting" for the phone), else what became of the last armed answer.
class RemoteExchange : public QObject {
    Q_OBJECT
public:
    enum class State { Idle, Armed, Spoken };
    enum class Phase { None, Asked, Waiting };

    struct Request {
        QByteArray method;
        QString path;
        QByteArray token;
        QByteArray body;
        QString client;
        bool webSocket = false;
    };
    struct Reply {
        int status = 200;
        QByteArray contentType;
        QByteArray body;
        bool upgrade = false; // the push channel may open
    };

    // Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;

    static constexpr qsizetype kMaxBodyBytes = ::kMaxBodyBytes;
    static constexpr qsizetype kMaxAnswerCharacters = 200;
    static constexpr int kRequestsPerSecond = 8;
    // Requests with a wrong token, from all clients together.
    static constexpr int kGuessesPerSecond = 16;

    RemoteExchange(const QByteArray& token, const QByteArray& page, Clock clock = {},
        QObject* parent = nullptr);

    Reply handle(const Request& request);
    // Every byte is compared whatever the first difference, so the time taken tells nothing of
    // how much of a guessed token was right.
    bool tokenMatches(const QByteArray& token) const;
    State state() const { return m_state; }
    // The state's name, as the page and /status show it.
    QByteArray stateName() const;

signals:
    void answerArmed(const QString& answer);
    void refusalAsked();
    void stateChanged(const QByteArray& name);

public slots:
    void answerDelivered();
    void armedAnswerReplaced();
    void setPhase(RemoteExchange::Phase phase);

private:
    struct Window {
        qint64 start = 0;
        int count = 0;
    };

    bool counted(Window& window, int limit) const;
    bool tooMany(const QString& client);
    bool tooManyGuesses();
    Reply route(const Request& request);
    Reply arm(const QByteArray& body);
    Reply refuse();
    Reply stateReply() const;
    void change(State state, Phase phase);

    QByteArray m_token;
    QByteArray m_page;
    Clock m_clock;
    State m_state = State::Idle;
    Phase m_phase = Phase::None;
    QHash<QString, Window> m_windows;
    Window m_guesses;
};
