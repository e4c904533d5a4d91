#include "HttpConnection.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>
#include <vector>

#include <sys/socket.h>

namespace {

// A server answering "/" with a page, "/push" by handing the socket over, anything else 404.
HttpReply answer(const HttpRequest& request)
{
    if (request.path == "/push")
        return { 101, {}, {}, {}, true };
    if (request.path == "/")
        return { 200, "text/plain", "page:" + request.method, {}, false };
    return { 404, "text/plain", "none", {}, false };
}

struct Conversation {
    QStringList statuses;
    QByteArray reply;
    bool closed = false;
    int handedOver = 0;
};

// `bytes` sent on a real loopback connection; what came back, and whether the server closed.
Conversation talk(const QByteArray& bytes, bool halfClose, bool expectClose)
{
    Conversation seen;
    QTcpServer server;
    // Sockets handed over stay open until the conversation is over, as a WebSocket server would
    // keep them (the server is their parent until then).
    std::vector<std::unique_ptr<QTcpSocket>> taken;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return seen;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            auto* connection = new HttpConnection(socket, answer);
            QObject::connect(connection, &HttpConnection::handedOver, [&](QTcpSocket* s) {
                ++seen.handedOver;
                taken.emplace_back(s);
            });
        }
    });
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    if (!client.waitForConnected(2000))
        return seen;
    client.write(bytes);
    client.flush();
    if (halfClose)
        ::shutdown(int(client.socketDescriptor()), SHUT_WR);
    const auto closed = [&client] { return client.state() == QAbstractSocket::UnconnectedState; };
    if (expectClose)
        seen.closed = QTest::qWaitFor(closed, 3000);
    else
        QTest::qWait(300);
    seen.reply = client.readAll();
    seen.closed = closed();
    const QRegularExpression status(QStringLiteral("HTTP/1\\.1 (\\d{3}) "));
    for (auto it = status.globalMatch(QString::fromLatin1(seen.reply)); it.hasNext();)
        seen.statuses << it.next().captured(1);
    return seen;
}

const QByteArray kHost = "Host: 127.0.0.1\r\n";

}

class TestHttpConnection : public QObject {
    Q_OBJECT

private slots:
    void eachConversationEndsAsHttpSays_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("halfClose");
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<bool>("closed");
        QTest::newRow("a GET is answered and the connection kept") << "GET / HTTP/1.1\r\n" + kHost
                + "\r\n" << false << QStringList { "200" } << false;
        QTest::newRow("Connection: close closes after the reply")
            << "GET / HTTP/1.1\r\n" + kHost + "Connection: close\r\n\r\n"
            << false << QStringList { "200" } << true;
        QTest::newRow("HTTP/1.0 closes after the reply")
            << QByteArray("GET / HTTP/1.0\r\n\r\n") << false << QStringList { "200" } << true;
        QTest::newRow("a client that half-closes still gets its reply") << "GET / HTTP/1.1\r\n"
                + kHost + "\r\n" << true << QStringList { "200" } << true;
        QTest::newRow("pipelined requests are answered in order")
            << "GET /x HTTP/1.1\r\n" + kHost + "\r\nGET / HTTP/1.1\r\n" + kHost + "\r\n"
            << false << QStringList { "404", "200" } << false;
        QTest::newRow("100-continue is answered before the body is sent")
            << "POST / HTTP/1.1\r\n" + kHost + "Expect: 100-continue\r\nContent-Length: 3\r\n\r\n"
            << false << QStringList { "100" } << false;
        QTest::newRow("a refused request gets its status, then the close")
            << "POST / HTTP/1.1\r\n" + kHost + "Content-Length: 5000\r\n\r\n" + QByteArray(100, 'a')
            << false << QStringList { "413" } << true;
        QTest::newRow("a head that never ends is refused at 8 KiB")
            << "GET / HTTP/1.1\r\n" + kHost + "X: " + QByteArray(9000, 'a') << false
            << QStringList { "431" } << true;
        QTest::newRow("a handshake that is not taken gets its status and the close")
            << "GET /x HTTP/1.1\r\n" + kHost + "Connection: Upgrade\r\nUpgrade: websocket\r\n\r\n"
            << false << QStringList { "404" } << true;
        QTest::newRow("a handshake that is taken gets nothing from the HTTP side")
            << "GET /push HTTP/1.1\r\n" + kHost
                + "Connection: Upgrade\r\nUpgrade: websocket\r\n\r\n"
            << false << QStringList() << false;
    }
    void eachConversationEndsAsHttpSays()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, halfClose);
        QFETCH(QStringList, statuses);
        QFETCH(bool, closed);
        const Conversation seen = talk(bytes, halfClose, closed);
        QCOMPARE(seen.statuses, statuses);
        QCOMPARE(seen.closed, closed);
        QCOMPARE(seen.handedOver, bytes.startsWith("GET /push") ? 1 : 0);
    }

    void headGetsTheHeadOfGetWithoutItsBody()
    {
        const Conversation seen
            = talk("HEAD / HTTP/1.1\r\n" + kHost + "Connection: close\r\n\r\n", false, true);
        QVERIFY(seen.reply.contains("Content-Length: 8\r\n"));
        QVERIFY(seen.reply.endsWith("\r\n\r\n"));
    }

    void aTakenHandshakeLeavesTheRequestUnreadForTheWebSocketServer()
    {
        const QByteArray handshake = "GET /push HTTP/1.1\r\n" + kHost
            + "Connection: Upgrade\r\nUpgrade: websocket\r\n\r\n";
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        QByteArray unread;
        QObject::connect(&server, &QTcpServer::newConnection, [&] {
            auto* connection = new HttpConnection(server.nextPendingConnection(), answer);
            QObject::connect(connection, &HttpConnection::handedOver, [&unread](QTcpSocket* s) {
                unread = s->readAll();
                s->deleteLater();
            });
        });
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, server.serverPort());
        QVERIFY(client.waitForConnected(2000));
        client.write(handshake);
        QTRY_COMPARE(unread, handshake);
    }
};

QTEST_GUILESS_MAIN(TestHttpConnection)
#include "test_http_connection.moc"
