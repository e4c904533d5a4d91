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

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Whether the client sent bytes not read yet, here or still in the kernel.
bool hasUnread(QTcpSocket& socket)
{
    char byte;
    return socket.bytesAvailable() > 0
        || ::recv(int(socket.socketDescriptor()), &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
}

HttpReply plainReply(int status, const char* message)
{
    return { status, "text/plain; charset=utf-8", QByteArray(message) + '\n', {}, false };
}

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

RemoteServer::RemoteServer(int language)
    : m_language(language)
    , m_token(newToken())
    , m_exchange(m_token, remotePage(language), {}, this)
    , m_hostNames(hostNames())
    , m_tcp(this)
    , m_push(this)
{
    connect(&m_tcp, &QTcpServer::newConnection, this, &RemoteServer::accept);
    connect(&m_tcp, &QTcpServer::acceptError, this, &RemoteServer::outOfFiles);
    connect(&m_exchange, &RemoteExchange::stateChanged, &m_push, &PushChannel::setState);
}

RemoteServer::~RemoteServer()
{
    if (m_thread.isRunning()) {
        // Back to the thread that ends it, to be taken apart there once its own has stopped.
        QThread* here = QThread::currentThread();
        QMetaObject::invokeMethod(
            this, [this, here] { moveToThread(here); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    if (m_spare >= 0)
        ::close(m_spare);
}

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
    m_spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    moveToThread(&m_thread);
    m_thread.start();
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
        if (!makeRoom(client)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_open.append({ socket, client });
        // However the connection ends, by either side, a timeout or after a handover, its slot
        // comes back as soon as it is closed.
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { release(socket); });
        connect(socket, &QObject::destroyed, this, [this, socket] { release(socket); });
        auto* connection = new HttpConnection(
            socket, [this, socket](const HttpRequest& request) { return answer(request, socket); });
        connect(connection, &HttpConnection::handedOver, &m_push, &PushChannel::take);
    }
}

// Whether one more connection from `client` may be taken, the oldest that has not shown the
// token (a silent one first) closed for it when every slot is held.
bool RemoteServer::makeRoom(const QString& client)
{
    const auto fromClient = std::count_if(m_open.cbegin(), m_open.cend(),
        [&client](const Connection& open) { return open.client == client; });
    if (fromClient >= kMaxPerClient)
        return false;
    if (m_open.size() < kMaxConnections)
        return true;
    // A stranger with a request on its way (the phone, before its token is read) is kept while
    // a silent one is left.
    const auto stranger = [this](bool evenSpeaking) {
        return std::find_if(m_open.cbegin(), m_open.cend(), [evenSpeaking](const Connection& open) {
            return !open.showedToken && (evenSpeaking || !hasUnread(*open.socket));
        });
    };
    auto room = stranger(false);
    if (room == m_open.cend())
        room = stranger(true);
    if (room == m_open.cend())
        return false;
    QTcpSocket* oldest = room->socket;
    release(oldest);
    oldest->abort();
    return true;
}

void RemoteServer::release(QTcpSocket* socket)
{
    m_open.removeIf([socket](const Connection& open) { return open.socket == socket; });
}

// Qt stops accepting for good when a connection cannot be taken. Out of open files, the spare
// one is given up to take the waiting connection and close it at once, and kept again; the
// server goes on accepting whatever the error.
void RemoteServer::outOfFiles(QAbstractSocket::SocketError error)
{
    if (error == QAbstractSocket::SocketResourceError && m_spare >= 0) {
        ::close(m_spare);
        const int waiting
            = ::accept4(int(m_tcp.socketDescriptor()), nullptr, nullptr, SOCK_CLOEXEC);
        if (waiting >= 0)
            ::close(waiting);
        m_spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    }
    m_tcp.resumeAccepting();
}

HttpReply RemoteServer::answer(const HttpRequest& request, QTcpSocket* socket)
{
    // HTTP/1.0 may leave the Host out; a name this machine does not go by is refused.
    if (!request.host.isEmpty() && !hostNamesThisServer(request.host, m_hostNames))
        return plainReply(421, "not this server");
    // Any web page the phone visits could open a WebSocket here: only this server's own may.
    if (request.webSocketUpgrade && !request.origin.isEmpty()
        && request.origin.compare("http://" + request.host, Qt::CaseInsensitive) != 0)
        return plainReply(403, "not this server's page");
    const QByteArray token = QUrlQuery(QString::fromLatin1(request.query))
                                 .queryItemValue(QStringLiteral("t"), QUrl::FullyDecoded)
                                 .toLatin1();
    if (m_exchange.tokenMatches(token)) {
        for (Connection& open : m_open)
            open.showedToken = open.showedToken || open.socket == socket;
    }
    const RemoteExchange::Reply reply
        = m_exchange.handle({ request.method, QString::fromLatin1(request.path), token,
            request.body, clientOf(socket->peerAddress()), request.webSocketUpgrade });
    if (reply.upgrade)
        return PushChannel::handshake(request);
    // The token travels in the address: no referrer may carry it elsewhere, no cache keep it.
    return { reply.status, reply.contentType, reply.body,
        { { "Cache-Control", "no-store" }, { "Referrer-Policy", "no-referrer" },
            { "X-Content-Type-Options", "nosniff" },
            { "Content-Security-Policy",
                "default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'; "
                "connect-src 'self'; form-action 'none'; frame-ancestors 'none'" } },
        false };
}
