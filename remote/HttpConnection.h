#pragma once

#include "HttpRequestParser.h"

#include <QObject>
#include <QTimer>

#include <functional>

class QTcpSocket;

// What a server answers to one whole request.
struct HttpReply {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
    // Once this reply is sent the connection speaks another protocol: the socket is handed over
    // (a WebSocket handshake answered with 101).
    bool handOver = false;
};

// One client's connection: reads requests within the parser's limits, no more than a whole
// request ahead (the socket's buffer is capped), answers them in order, and closes the
// connection when the client asks to, when a request is refused, or when a request has not
// arrived whole within kRequestMs of the last reply (or of the connection). The head is
// searched for its end once per byte, however it arrives. Deletes itself and its socket once
// the socket is closed (a socket handed over too).
class HttpConnection : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<HttpReply(const HttpRequest&)>;

    static constexpr int kRequestMs = 5000;
    // How long the rest of a refused request is read and thrown away before the close.
    static constexpr int kLingerMs = 1000;
    // Replies the client leaves unread beyond this mean it does not read: it is dropped.
    static constexpr qint64 kMaxUnreadReplyBytes = 64 * 1024;

    HttpConnection(QTcpSocket* socket, Answer answer);

signals:
    void handedOver(QTcpSocket* socket);

private:
    void readRequests();
    bool answer(HttpRequest request);
    void write(const HttpReply& reply, bool headOnly, bool close);
    void refuse(int status);
    void timedOut();

    QTcpSocket* m_socket;
    Answer m_answer;
    QTimer m_deadline;
    qsizetype m_searched = 0;
    bool m_continued = false;
    bool m_closing = false;
};
