#include "RemoteServer.h"

#include "HttpConnection.h"
#include "RemotePage.h"

#include <QHostInfo>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

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

// What the phone or a script may call this machine in a request's Host.
QList<QByteArray> hostNames()
{
    QList<QByteArray> names { "localhost" };
    const QByteArray name = QHostInfo::localHostName().toUtf8();
    if (!name.isEmpty())
        names << name << name + ".local";
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        QHostAddress plain = address;
        plain.setScopeId({});
        names << plain.toString().toLatin1();
    }
    return names;
}

}

RemoteServer::RemoteServer(int language, QObject* parent)
    : QObject(parent)
    , m_language(language)
    , m_token(newToken())
    , m_exchange(std::make_unique<RemoteExchange>(m_token, remotePage(language)))
    , m_hostNames(hostNames())
{
    connect(&m_tcp, &QTcpServer::newConnection, this, &RemoteServer::accept);
    connect(m_exchange.get(), &RemoteExchange::stateChanged, &m_push, &PushChannel::setState);
}

RemoteServer::~RemoteServer() = default;

bool RemoteServer::start(quint16 port)
{
    const QHostAddress host = lanAddress();
    if (host.isNull()) {
        m_error = QStringLiteral("no local network to reach the phone on");
        return false;
    }
    if (!m_tcp.listen(QHostAddress::Any, port)) {
        m_error = QStringLiteral("port %1: %2").arg(port).arg(m_tcp.errorString());
        return false;
    }
    m_address = QStringLiteral("http://%1:%2/?t=%3")
                    .arg(host.toString())
                    .arg(m_tcp.serverPort())
                    .arg(QString::fromLatin1(m_token));
    return true;
}

QString RemoteServer::clientOf(const QHostAddress& address)
{
    bool mapped = false;
    const quint32 ipv4 = address.toIPv4Address(&mapped);
    if (mapped)
        return QHostAddress(ipv4).toString();
    const Q_IPV6ADDR ipv6 = address.toIPv6Address();
    Q_IPV6ADDR network {};
    std::copy(ipv6.c, ipv6.c + 8, network.c);
    return QHostAddress(network).toString() + QStringLiteral("/64");
}

// Over the caps a connection is closed as soon as it is taken, so that it holds no file for
// long: the oracle must always be able to open its settings file.
void RemoteServer::accept()
{
    while (QTcpSocket* socket = m_tcp.nextPendingConnection()) {
        const QString client = clientOf(socket->peerAddress());
        int& fromClient = m_openByClient[client];
        if (m_open >= kMaxConnections || fromClient >= kMaxPerClient) {
            if (fromClient == 0)
                m_openByClient.remove(client);
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_open;
        ++fromClient;
        connect(socket, &QObject::destroyed, this, [this, client] {
            --m_open;
            if (--m_openByClient[client] == 0)
                m_openByClient.remove(client);
        });
        auto* connection = new HttpConnection(
            socket, [this, client](const HttpRequest& request) { return answer(request, client); });
        connect(connection, &HttpConnection::handedOver, &m_push, &PushChannel::take);
    }
}

HttpReply RemoteServer::answer(const HttpRequest& request, const QString& client)
{
    // HTTP/1.0 may leave the Host out; a name this machine does not go by is refused.
    if (!request.host.isEmpty() && !hostNamesThisServer(request.host, m_hostNames))
        return { 421, "text/plain; charset=utf-8", "not this server\n", {}, false };
    const QUrlQuery query(QString::fromLatin1(request.query));
    const RemoteExchange::Reply reply
        = m_exchange->handle({ request.method, QString::fromLatin1(request.path),
            query.queryItemValue(QStringLiteral("t"), QUrl::FullyDecoded).toLatin1(), request.body,
            client, request.webSocketUpgrade });
    // The token travels in the address: no referrer may carry it elsewhere, no cache keep it.
    return { reply.status, reply.contentType, reply.body,
        { { "Cache-Control", "no-store" }, { "Referrer-Policy", "no-referrer" },
            { "X-Content-Type-Options", "nosniff" },
            { "Content-Security-Policy",
                "default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'; "
                "connect-src 'self'; form-action 'none'; frame-ancestors 'none'" } },
        reply.upgrade };
}
