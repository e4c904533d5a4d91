#include "PushChannel.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>

#include <algorithm>

namespace {

constexpr int kClosingMs = 1000;
constexpr QByteArrayView kWebSocketGuid = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";
constexpr int kKeyBytes = 16;

enum Opcode { Text = 0x1, Close = 0x8, Ping = 0x9, Pong = 0xA };
constexpr quint16 kNormalClosure = 1000;

// The only frames a page may send: final and unextended, masked, with a payload that fits a
// control frame.
constexpr quint8 kFinal = 0x80;
constexpr quint8 kMasked = 0x80;
constexpr quint8 kSmallLengths = 126;

QByteArray frame(int opcode, const QByteArray& payload)
{
    QByteArray out;
    out += char(0x80 | opcode);
    const qsizetype size = payload.size();
    if (size < kSmallLengths) {
        out += char(size);
    } else if (size <= 0xffff) {
        out += char(126);
        out += char(size >> 8);
        out += char(size & 0xff);
    } else {
        out += char(127);
        for (int shift = 56; shift >= 0; shift -= 8)
            out += char((quint64(size) >> shift) & 0xff);
    }
    return out + payload;
}

}

PushChannel::PushChannel(QObject* parent)
    : QObject(parent)
    , m_pings(this)
{
    m_pings.setInterval(kPingMs);
    connect(&m_pings, &QTimer::timeout, this, &PushChannel::ping);
    m_pings.start();
}

PushChannel::~PushChannel()
{
    for (QTcpSocket* socket : m_phones.keys())
        socket->abort();
}

HttpReply PushChannel::handshake(const HttpRequest& request)
{
    const QByteArray& key = request.webSocketKey;
    const auto decoded
        = QByteArray::fromBase64Encoding(key, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != kKeyBytes || request.webSocketVersion != "13")
        return { 400, "text/plain; charset=utf-8", "not a WebSocket handshake\n", {}, false };
    const QByteArray accept
        = QCryptographicHash::hash(key + kWebSocketGuid.toByteArray(), QCryptographicHash::Sha1)
              .toBase64();
    return { 101, {}, {},
        { { "Upgrade", "websocket" }, { "Connection", "Upgrade" },
            { "Sec-WebSocket-Accept", accept } },
        true };
}

void PushChannel::take(QTcpSocket* socket)
{
    // Qt holds no more than one frame a page may send; a small kernel buffer, so that a phone
    // that stops reading shows in the bytes left unsent.
    socket->setReadBufferSize(kMaxFrameBytes);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { forget(socket); });
    connect(socket, &QObject::destroyed, this, [this, socket] { forget(socket); });
    if (m_phones.size() >= kMaxPhones) {
        const auto oldest = std::min_element(m_phones.begin(), m_phones.end(),
            [](const Phone& a, const Phone& b) { return a.since < b.since; });
        close(oldest.key(), kNormalClosure);
    }
    Phone& phone = m_phones[socket];
    phone.since = ++m_taken;
    phone.heard.start();
    send(socket, Text, message());
    emit phonesChanged(phones());
    read(socket);
}

void PushChannel::read(QTcpSocket* socket)
{
    while (socket->bytesAvailable() > 0) {
        const auto found = m_phones.find(socket);
        if (found == m_phones.end()) {
            // Closing: whatever else it sends is not read.
            socket->skip(socket->bytesAvailable());
            return;
        }
        if (!heardFrame(socket, *found))
            return;
    }
}

// One whole frame read and acted on; false when it is not whole yet or the phone is gone.
bool PushChannel::heardFrame(QTcpSocket* socket, Phone& phone)
{
    const QByteArray head = socket->peek(2);
    if (head.size() < 2)
        return false;
    const auto first = static_cast<quint8>(head[0]);
    const auto second = static_cast<quint8>(head[1]);
    const int opcode = first & 0x0f;
    const qint64 length = second & ~kMasked;
    const bool shaped = (first & 0xf0) == kFinal && (second & kMasked) && length < kSmallLengths;
    const bool expected = (opcode == Pong && phone.pingsUnanswered > 0) || opcode == Close;
    if (!shaped || !expected) {
        drop(socket);
        return false;
    }
    if (socket->bytesAvailable() < 2 + 4 + length)
        return false;
    socket->skip(2 + 4 + length);
    if (opcode == Close) {
        close(socket, kNormalClosure);
        return false;
    }
    --phone.pingsUnanswered;
    phone.heard.start();
    return true;
}

// Cut off at once: a page that speaks out of turn is no phone that listens.
void PushChannel::drop(QTcpSocket* socket)
{
    forget(socket);
    socket->abort();
}

// The closing handshake, bounded: a page that does not end it soon is cut off.
void PushChannel::close(QTcpSocket* socket, quint16 code)
{
    forget(socket);
    QByteArray why;
    why += char(code >> 8);
    why += char(code & 0xff);
    socket->write(frame(Close, why));
    QTimer::singleShot(kClosingMs, socket, &QTcpSocket::abort);
    socket->disconnectFromHost();
}

void PushChannel::forget(QTcpSocket* socket)
{
    if (m_phones.remove(socket))
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
    const QByteArray text = message();
    for (QTcpSocket* socket : m_phones.keys())
        send(socket, Text, text);
}

void PushChannel::send(QTcpSocket* socket, int opcode, const QByteArray& payload)
{
    if (socket->bytesToWrite() > kMaxUnsentBytes) {
        drop(socket);
        return;
    }
    socket->write(frame(opcode, payload));
}

void PushChannel::ping()
{
    for (QTcpSocket* socket : m_phones.keys()) {
        const auto found = m_phones.find(socket);
        if (found == m_phones.end())
            continue;
        if (found->heard.elapsed() > kSilentMs) {
            drop(socket);
            continue;
        }
        ++found->pingsUnanswered;
        send(socket, Ping, {});
    }
}

QByteArray PushChannel::message() const
{
    const QJsonObject object { { QStringLiteral("shown"), m_shown },
        { QStringLiteral("state"), QString::fromLatin1(m_state) } };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
