#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

// The rules of the performer's remote answer, with no sockets: RemoteServer hands every HTTP
// request to handle() and writes back the reply. The exchange is
//   GET  /?t=TOKEN        the page
//   POST /answer?t=TOKEN  a UTF-8 text/plain answer; arms it: {"state":"armed"}
//   GET  /status?t=TOKEN  {"state":"idle"|"armed"|"spoken"}
// checked in this order: too many requests from one client (429), wrong token (403), unknown
// route (404), body too large (413), not an answer (400). The oracle hears of an armed answer
// through answerArmed and tells back whether it spoke it or a keyboard capture replaced it.
class RemoteExchange : public QObject {
    Q_OBJECT
public:
    enum class State { Idle, Armed, Spoken };

    struct Request {
        QByteArray method;
        QString path;
        QByteArray token;
        QByteArray body;
        QString client;
    };
    struct Reply {
        int status = 200;
        QByteArray contentType;
        QByteArray body;
    };

    // Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;

    static constexpr qsizetype kMaxBodyBytes = 4096;
    static constexpr qsizetype kMaxAnswerCharacters = 200;
    static constexpr int kRequestsPerSecond = 8;

    RemoteExchange(const QByteArray& token, const QByteArray& page, Clock clock = {},
        QObject* parent = nullptr);

    Reply handle(const Request& request);
    State state() const { return m_state; }

signals:
    void answerArmed(const QString& answer);

public slots:
    void answerDelivered();
    void armedAnswerReplaced();

private:
    struct Window {
        qint64 start = 0;
        int count = 0;
    };

    bool tooMany(const QString& client);
    bool tokenMatches(const QByteArray& token) const;
    Reply arm(const QByteArray& body);
    Reply stateReply() const;

    QByteArray m_token;
    QByteArray m_page;
    Clock m_clock;
    State m_state = State::Idle;
    QHash<QString, Window> m_windows;
};
