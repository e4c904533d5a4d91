#pragma once

#include "RemoteExchange.h"

#include <QHttpServer>
#include <QObject>
#include <QString>

#include <memory>

class QTcpServer;

// The remote answer's web server, on the event loop: it listens on every interface (the phone
// is on the local network), answers through RemoteExchange with a token that is new at each
// start, and keeps nothing but the armed answer's state.
class RemoteServer : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 8765;

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

private:
    void respond(const QHttpServerRequest& request, QHttpServerResponder&& responder);

    int m_language;
    QByteArray m_token;
    std::unique_ptr<RemoteExchange> m_exchange;
    QHttpServer m_http;
    QString m_address;
    QString m_error;
};
