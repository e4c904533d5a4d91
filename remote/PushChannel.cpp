#include "PushChannel.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QWebSocket>

namespace {

template <typename Socket> QString peer(const Socket& socket)
{
    return socket.peerAddress().toString() + QLatin1Char('|') + QString::number(socket.peerPort());
}

constexpr int kHandshakeMs = 5000;
constexpr int kClosingMs = 1000;
// What a page might say is never read: a frame is refused before it is held.
constexpr quint64 kMaxIncomingBytes = 1024;
// A small kernel buffer, so that a phone that stops reading shows in the bytes left unsent.
constexpr int kSendBufferBytes = 16 * 1024;

}

PushChannel::PushChannel(QObject* parent)
    : QObject(parent)
    , m_server(QStringLiteral("quorvel"), QWebSocketServer::NonSecureMode)
{
    m_server.setHandshakeTimeout(kHandshakeMs);
    connect(&m_server, &QWebSocketServer::newConnection, this, &PushChannel::welcome);
    m_pings.setInterval(kPingMs);
    connect(&m_pings, &QTimer::timeout, this, &PushChannel::ping);
    m_pings.start();
}

PushChannel::~PushChannel()
{
    for (QWebSocket* phone : m_phones.keys())
        phone->abort();
}

void PushChannel::take(QTcpSocket* socket)
{
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
    m_handshaking.removeIf([](const auto& entry) { return entry.value().isNull(); });
    m_handshaking.insert(peer(*socket), socket);
    m_server.handleConnection(socket);
}

void PushChannel::welcome()
{
    while (QWebSocket* phone = m_server.nextPendingConnection()) {
        const QPointer<QTcpSocket> socket = m_handshaking.take(peer(*phone));
        if (!socket || m_phones.size() >= kMaxPhones) {
            phone->abort();
            phone->deleteLater();
            continue;
        }
        phone->setMaxAllowedIncomingFrameSize(kMaxIncomingBytes);
        phone->setMaxAllowedIncomingMessageSize(kMaxIncomingBytes);
        Phone& state = m_phones[phone];
        state.socket = socket;
        state.heard.start();
        const auto unexpected = [this, phone] { expel(phone); };
        connect(phone, &QWebSocket::textMessageReceived, this, unexpected);
        connect(phone, &QWebSocket::binaryMessageReceived, this, unexpected);
        connect(phone, &QWebSocket::pong, this, [this, phone] {
            if (auto found = m_phones.find(phone); found != m_phones.end())
                found->heard.start();
        });
        connect(phone, &QWebSocket::disconnected, this, [this, phone] { drop(phone); });
        send(phone, state);
        emit phonesChanged(phones());
    }
}

void PushChannel::drop(QWebSocket* phone)
{
    if (!m_phones.remove(phone))
        return;
    phone->disconnect(this);
    phone->abort();
    phone->deleteLater();
    emit phonesChanged(phones());
}

// A page that speaks is no phone that listens: it stops counting at once, is told why, and is
// cut off if it does not end the closing handshake soon. The close is sent from the event
// loop, never from inside the socket's own handler of the frame it is refusing.
void PushChannel::expel(QWebSocket* phone)
{
    if (!m_phones.remove(phone))
        return;
    phone->disconnect(this);
    connect(phone, &QWebSocket::disconnected, phone, &QObject::deleteLater);
    QTimer::singleShot(kClosingMs, phone, [phone] {
        phone->abort();
        phone->deleteLater();
    });
    QMetaObject::invokeMethod(
        phone, [phone] { phone->close(QWebSocketProtocol::CloseCodePolicyViolated); },
        Qt::QueuedConnection);
    emit phonesChanged(phones());
}

void PushChannel::show(const QString& shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    sendAll();
}

void PushChannel::setState(const QByteArray& state)
{
    if (state == m_state)
        return;
    m_state = state;
    sendAll();
}

void PushChannel::sendAll()
{
    for (QWebSocket* phone : m_phones.keys()) {
        if (auto found = m_phones.find(phone); found != m_phones.end())
            send(phone, *found);
    }
}

void PushChannel::send(QWebSocket* phone, Phone& state)
{
    if (!state.socket || state.socket->bytesToWrite() > kMaxUnsentBytes) {
        drop(phone);
        return;
    }
    phone->sendTextMessage(message());
}

void PushChannel::ping()
{
    for (QWebSocket* phone : m_phones.keys()) {
        const auto found = m_phones.find(phone);
        if (found == m_phones.end())
            continue;
        if (found->heard.elapsed() > kSilentMs || !found->socket
            || found->socket->bytesToWrite() > kMaxUnsentBytes)
            drop(phone);
        else
            phone->ping();
    }
}

QString PushChannel::message() const
{
    const QJsonObject object { { QStringLiteral("shown"), m_shown },
        { QStringLiteral("state"), QString::fromLatin1(m_state) } };
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}
