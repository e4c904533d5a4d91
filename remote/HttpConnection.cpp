#include "HttpConnection.h"

#include <QTcpSocket>

namespace {

QByteArray reason(int status)
{
    switch (status) {
    case 100:
        return "Continue";
    case 101:
        return "Switching Protocols";
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 408:
        return "Request Timeout";
    case 409:
        return "Conflict";
    case 413:
        return "Content Too Large";
    case 417:
        return "Expectation Failed";
    case 421:
        return "Misdirected Request";
    case 426:
        return "Upgrade Required";
    case 429:
        return "Too Many Requests";
    case 431:
        return "Request Header Fields Too Large";
    case 501:
        return "Not Implemented";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Unknown";
    }
}

}

HttpConnection::HttpConnection(QTcpSocket* socket, Answer answer)
    : QObject(socket)
    , m_socket(socket)
    , m_answer(std::move(answer))
{
    // Qt reads no further ahead than one whole request of the largest size allowed.
    m_socket->setReadBufferSize(kMaxHeadBytes + kMaxBodyBytes + 1);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kRequestMs);
    connect(&m_deadline, &QTimer::timeout, this, &HttpConnection::timedOut);
    connect(m_socket, &QTcpSocket::readyRead, this, &HttpConnection::readRequests);
    connect(m_socket, &QTcpSocket::disconnected, m_socket, &QObject::deleteLater);
    m_deadline.start();
    readRequests();
}

void HttpConnection::readRequests()
{
    if (m_closing) {
        m_socket->skip(m_socket->bytesAvailable());
        return;
    }
    while (m_socket->state() == QAbstractSocket::ConnectedState && m_socket->bytesAvailable()) {
        if (m_socket->bytesToWrite() > kMaxUnreadReplyBytes) {
            m_socket->abort();
            return;
        }
        const HttpParse parse
            = parseHttpRequest(m_socket->peek(m_socket->bytesAvailable()), m_searched);
        m_searched = parse.searched;
        if (parse.outcome == HttpParse::Outcome::Refused) {
            refuse(parse.status);
            return;
        }
        if (parse.outcome == HttpParse::Outcome::Incomplete) {
            if (parse.continueWanted && !m_continued) {
                m_continued = true;
                m_socket->write("HTTP/1.1 100 Continue\r\n\r\n");
            }
            return;
        }
        m_socket->skip(parse.consumed);
        m_searched = 0;
        m_continued = false;
        if (!answer(parse.request))
            return;
    }
}

// False when no further request is read here: the connection closes or was handed over.
bool HttpConnection::answer(HttpRequest request)
{
    const bool head = request.method == "HEAD";
    if (head)
        request.method = "GET";
    const HttpReply reply = m_answer(request);
    if (reply.handOver) {
        write(reply, false, false);
        m_deadline.stop();
        m_socket->disconnect(this);
        emit handedOver(m_socket);
        deleteLater();
        return false;
    }
    // A handshake that was refused gets nothing more on this connection.
    const bool close = !request.keepAlive || request.webSocketUpgrade;
    write(reply, head, close);
    if (close)
        return false;
    m_deadline.start();
    return true;
}

void HttpConnection::write(const HttpReply& reply, bool headOnly, bool close)
{
    QByteArray out
        = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reason(reply.status) + "\r\n";
    // An interim reply (a protocol switch) has no body to measure.
    if (reply.status >= 200)
        out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    if (!reply.contentType.isEmpty())
        out += "Content-Type: " + reply.contentType + "\r\n";
    for (const auto& [name, value] : reply.headers)
        out += name + ": " + value + "\r\n";
    if (close || m_closing)
        out += "Connection: close\r\n";
    out += "\r\n";
    if (!headOnly)
        out += reply.body;
    m_socket->write(out);
    // Out now, not at the next turn of the event loop: a client that half-closes after its
    // request makes Qt drop the socket, and whatever it still holds, as soon as it reads the end.
    m_socket->flush();
    if (close) {
        m_closing = true;
        m_deadline.stop();
        m_socket->disconnectFromHost();
    }
}

void HttpConnection::refuse(int status)
{
    // The rest of the request is read and thrown away for a while, so that the close does not
    // reset the connection before the client has read why.
    m_closing = true;
    write({ status, "text/plain; charset=utf-8", reason(status) + '\n', {}, false }, false, false);
    m_socket->skip(m_socket->bytesAvailable());
    m_deadline.start(kLingerMs);
}

void HttpConnection::timedOut()
{
    if (m_closing)
        m_socket->disconnectFromHost();
    else if (m_socket->bytesAvailable() > 0)
        refuse(408);
    else
        m_socket->abort();
}
