#pragma once

#include "PushChannel.h"
#include "RemoteExchange.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <memory>

struct HttpReply;
struct HttpRequest;
class QTcpSocket;

// The remote answer's web server, on the event loop: it listens on every interface (the phone
// is on the local network), answers through RemoteExchange with a token that is new at each
// start, and keeps nothing but the armed answer's state. Anybody on the network can reach it,
// so it holds little for anybody: at most kMaxConnections connections, kMaxPerClient of them
// from one client (an IPv6 client is its /64: one host has many addresses there), each request
// within HttpConnection's limits, and only requests naming this machine in their Host.
class RemoteServer : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 8765;
    static constexpr int kMaxConnections = 64;
    static constexpr int kMaxPerClient = 12;

    explicit RemoteServer(int language, QObject* parent = nullptr);
    ~RemoteServer() override;

    // False when the server cannot serve the phone (port taken, no local network):
    // errorString() says why, and the oracle goes on without it.
    bool start(quint16 port);

    // The page's address with its token, for the phone; empty until started.
    QString address() const { return m_address; }
    QString errorString() const { return m_error; }
    int language() const { return m_language; }
    RemoteExchange& exchange() { return *m_exchange; }
    PushChannel& push() { return m_push; }

    // Who counts as one client: an IPv4 address, or an IPv6 address's first 64 bits.
    static QString clientOf(const QHostAddress& address);

private:
    void accept();
    HttpReply answer(const HttpRequest& request, const QString& client);

    int m_language;
    QByteArray m_token;
    std::unique_ptr<RemoteExchange> m_exchange;
    QList<QByteArray> m_hostNames;
    // Before the sockets: a socket destroyed with the server still counts itself out here.
    int m_open = 0;
    QHash<QString, int> m_openByClient;
    QTcpServer m_tcp;
    PushChannel m_push;
    QString m_address;
    QString m_error;
};
