#pragma once

#include "HttpConnection.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>

class QTcpSocket;

// The phones' push channel: every page that holds the token keeps a WebSocket open, and each
// is sent {"shown":…,"state":…} at once when it opens and whenever what the petition box shows
// or the state changes. The channel only speaks, and speaks the protocol itself so that it
// holds nothing a page sends: a page may only answer the channel's pings with pongs and end
// with a close; a ping, data, a continuation, a pong nobody asked for or a frame of the wrong
// shape has it dropped at once. A phone that reads nothing is dropped once kMaxUnsentBytes wait
// for it, and one whose connection went silent (no answer to a ping for kSilentMs) is dropped
// too, so phones() counts the phones that really hold the page open. Whatever a phone sends or
// leaves unread, it holds in this process no more than kMaxUnsentBytes and one message unsent,
// and kMaxFrameBytes unread: 64 KiB and 131 bytes besides the one message.
class PushChannel : public QObject {
    Q_OBJECT
public:
    // The newest page wins: past this many, the one open longest is dropped.
    static constexpr int kMaxPhones = 4;
    static constexpr qint64 kMaxUnsentBytes = 64 * 1024;
    static constexpr int kSendBufferBytes = 16 * 1024;
    // A masked control frame with its largest payload.
    static constexpr qint64 kMaxFrameBytes = 2 + 4 + 125;
    static constexpr int kPingMs = 5000;
    static constexpr int kSilentMs = 15000;

    explicit PushChannel(QObject* parent = nullptr);
    ~PushChannel() override;

    // The reply to a WebSocket handshake the exchange allowed: 101, which hands the connection
    // over to take(), or 400 when it is not a version 13 handshake with a 16-byte key.
    static HttpReply handshake(const HttpRequest& request);

    // A connection whose handshake was answered (101): from here it is a phone's.
    void take(QTcpSocket* socket);

    void show(const QString& shown);
    void setState(const QByteArray& state);
    int phones() const { return static_cast<int>(m_phones.size()); }

signals:
    void phonesChanged(int phones);

private:
    struct Phone {
        QElapsedTimer heard;
        qint64 since = 0;
        int pingsUnanswered = 0;
    };

    void read(QTcpSocket* socket);
    bool heardFrame(QTcpSocket* socket, Phone& phone);
    void drop(QTcpSocket* socket);
    void close(QTcpSocket* socket, quint16 code);
    void forget(QTcpSocket* socket);
    void sendAll();
    void send(QTcpSocket* socket, int opcode, const QByteArray& payload);
    void ping();
    QByteArray message() const;

    QHash<QTcpSocket*, Phone> m_phones;
    qint64 m_taken = 0;
    QTimer m_pings;
    QString m_shown;
    QByteArray m_state = "idle";
};
