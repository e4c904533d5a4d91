#include "RemoteServer.h"

#include "RemoteTexts.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QTcpServer>

namespace {

QByteArray newToken()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char*>(words), sizeof words).toHex();
}

// The address a phone on the same network reaches this machine by.
QHostAddress lanAddress()
{
    const auto wanted = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if ((interface.flags() & wanted) != wanted
            || interface.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLinkLocal())
                return ip;
        }
    }
    return {};
}

QByteArray methodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return "GET";
    case QHttpServerRequest::Method::Post:
        return "POST";
    default:
        return "OTHER";
    }
}

}

RemoteServer::RemoteServer(int language, QObject* parent)
    : QObject(parent)
    , m_language(language)
    , m_token(newToken())
    , m_exchange(std::make_unique<RemoteExchange>(m_token, remotePage(language)))
{
    // No route is registered: every request reaches the exchange, which knows the routes.
    m_http.setMissingHandler(
        [this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
            respond(request, std::move(responder));
        });
}

RemoteServer::~RemoteServer() = default;

bool RemoteServer::start(quint16 port)
{
    const QHostAddress host = lanAddress();
    if (host.isNull()) {
        m_error = QStringLiteral("no local network to reach the phone on");
        return false;
    }
    auto* tcp = new QTcpServer(&m_http);
    if (!tcp->listen(QHostAddress::Any, port)) {
        m_error = QStringLiteral("port %1: %2").arg(port).arg(tcp->errorString());
        delete tcp;
        return false;
    }
    m_http.bind(tcp);
    m_address = QStringLiteral("http://%1:%2/?t=%3")
                    .arg(host.toString())
                    .arg(tcp->serverPort())
                    .arg(QString::fromLatin1(m_token));
    return true;
}

void RemoteServer::respond(const QHttpServerRequest& request, QHttpServerResponder&& responder)
{
    const RemoteExchange::Reply reply = m_exchange->handle({ methodName(request.method()),
        request.url().path(), request.query().queryItemValue(QStringLiteral("t")).toLatin1(),
        request.body(), request.remoteAddress().toString() });
    // The token travels in the address: no referrer may carry it elsewhere, no cache keep it.
    responder.write(reply.body,
        { { "Content-Type", reply.contentType }, { "Cache-Control", "no-store" },
            { "Referrer-Policy", "no-referrer" }, { "X-Content-Type-Options", "nosniff" },
            { "Content-Security-Policy",
                "default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'; "
                "connect-src 'self'; form-action 'none'; frame-ancestors 'none'" } },
        static_cast<QHttpServerResponder::StatusCode>(reply.status));
}
