#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWebSocketServer>

class QTcpSocket;
class QWebSocket;

// The phones' push channel: every page that holds the token keeps a WebSocket open, and each
// is sent {"shown":…,"state":…} at once when it opens and whenever what the petition box shows
// or the state changes. The channel only speaks: a page that sends anything is closed. A phone
// that reads nothing is dropped once kMaxUnsentBytes wait for it, and one whose connection went
// silent (no answer to a ping for kSilentMs) is dropped too, so phones() counts the phones that
// really hold the page open.
class PushChannel : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxPhones = 4;
    static constexpr qint64 kMaxUnsentBytes = 64 * 1024;
    static constexpr int kPingMs = 5000;
    static constexpr int kSilentMs = 15000;

    explicit PushChannel(QObject* parent = nullptr);
    ~PushChannel() override;

    // A connection whose WebSocket handshake is still unread, already allowed by the exchange.
    void take(QTcpSocket* socket);

    void show(const QString& shown);
    void setState(const QByteArray& state);
    int phones() const { return static_cast<int>(m_phones.size()); }

signals:
    void phonesChanged(int phones);

private:
    struct Phone {
        QPointer<QTcpSocket> socket;
        QElapsedTimer heard;
    };

    void welcome();
    void drop(QWebSocket* phone);
    void expel(QWebSocket* phone);
    void sendAll();
    void send(QWebSocket* phone, Phone& state);
    void ping();
    QString message() const;

    QWebSocketServer m_server;
    QHash<QWebSocket*, Phone> m_phones;
    // Handed over, handshake not yet done: by the client's address and port, to find the
    // socket under its WebSocket again.
    QHash<QString, QPointer<QTcpSocket>> m_handshaking;
    QTimer m_pings;
    QString m_shown;
    QByteArray m_state = "idle";
};
