#pragma once

#include "PushChannel.h"
#include "RemoteExchange.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QThread>

struct HttpReply;
struct HttpRequest;
class QTcpSocket;

// The remote answer's web server, on a thread of its own so that it answers while the stage
// pauses on purpose: it listens on every interface (the phone is on the local network),
// answers through RemoteExchange with a token that is new at each start, and keeps nothing but
// the armed answer's state. Anybody on the network can reach it, so it holds little for
// anybody: at most kMaxConnections connections, kMaxPerClient of them from one client (an IPv6
// client is its /64: one host has many addresses there), each request within HttpConnection's
// limits, and only requests naming this machine in their Host. A connection's slot is given
// back however it ends; at the cap the oldest connection that has not shown the token makes
// room for a new one, so no crowd of silent connections keeps the phone out. The exchange and
// the push channel live on the server's thread: connect to their signals and slots (queued).
class RemoteServer : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 8765;
    static constexpr int kMaxConnections = 64;
    static constexpr int kMaxPerClient = 12;

    // Without a parent: it moves to its own thread once started.
    explicit RemoteServer(int language);
    ~RemoteServer() override;

    // False when the server cannot serve the phone (port taken, no local network):
    // errorString() says why, and the oracle goes on without it. Once started, the server runs
    // on its own thread.
    bool start(quint16 port);

    // The page's address with its token, for the phone; empty until started.
    QString address() const { return m_address; }
    QString errorString() const { return m_error; }
    int language() const { return m_language; }
    RemoteExchange& exchange() { return m_exchange; }
    PushChannel& push() { return m_push; }

    // Who counts as one client: an IPv4 address, or an IPv6 address's first 64 bits.
    static QString clientOf(const QHostAddress& address);

private:
    struct Connection {
        QTcpSocket* socket;
        QString client;
        bool showedToken = false;
    };

    void accept();
    bool makeRoom(const QString& client);
    void release(QTcpSocket* socket);
    void outOfFiles(QAbstractSocket::SocketError error);
    HttpReply answer(const HttpRequest& request, QTcpSocket* socket);

    // First, so that it is stopped after everything that runs on it.
    QThread m_thread;
    int m_language;
    QByteArray m_token;
    RemoteExchange m_exchange;
    QList<QByteArray> m_hostNames;
    // Oldest first.
    QList<Connection> m_open;
    // Closed to make room for one more connection when the process has no file left for it.
    int m_spare = -1;
    QTcpServer m_tcp;
    PushChannel m_push;
    QString m_address;
    QString m_error;
};
