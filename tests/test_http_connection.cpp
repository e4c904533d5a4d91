#include "HttpConnection.h"
#include "RemoteServer.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>
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

// A client from one loopback address. The server runs on a thread of its own: waiting here
// holds nothing up there.
std::unique_ptr<QTcpSocket> connectFrom(quint16 port, const char* from = "127.0.0.1")
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->bind(QHostAddress(QString::fromLatin1(from)));
    socket->connectToHost(QHostAddress::LocalHost, port);
    socket->waitForConnected(3000);
    return socket;
}

bool closedByServer(QTcpSocket& socket, int ms = 3000)
{
    return socket.state() == QAbstractSocket::UnconnectedState || socket.waitForDisconnected(ms);
}

QByteArray replyTo(QTcpSocket& socket, const QByteArray& bytes)
{
    socket.write(bytes);
    socket.waitForReadyRead(3000);
    return socket.readAll();
}

struct Started {
    RemoteServer server { 1 };
    quint16 port = 0;
    QByteArray token;

    bool start()
    {
        if (!server.start(0))
            return false;
        const QUrl address(server.address());
        port = quint16(address.port());
        token = QUrlQuery(address).queryItemValue(QStringLiteral("t")).toLatin1();
        return true;
    }
    QByteArray get(const QByteArray& path, const QByteArray& headers = {}) const
    {
        return "GET " + path + "?t=" + token + " HTTP/1.1\r\n" + kHost + headers + "\r\n";
    }
    QByteArray handshake(const QByteArray& origin = {}) const
    {
        return get("/push",
            "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                + (origin.isEmpty() ? QByteArray() : "Origin: " + origin + "\r\n"));
    }
};

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
        QTest::newRow("a handshake that is taken is answered 101 and kept open")
            << "GET /push HTTP/1.1\r\n" + kHost
                + "Connection: Upgrade\r\nUpgrade: websocket\r\n\r\n"
            << false << QStringList { "101" } << false;
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

    void whatFollowsATakenHandshakeIsLeftForTheNewProtocol()
    {
        const QByteArray handshake = "GET /push HTTP/1.1\r\n" + kHost
            + "Connection: Upgrade\r\nUpgrade: websocket\r\n\r\n";
        const QByteArray frame("\x88\x80\0\0\0\0", 6);
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
        client.write(handshake + frame);
        QTRY_COMPARE(unread, frame);
    }

    // More times than one client may hold connections: a slot that did not come back would
    // leave the last of them, and the phone's request after them, without a reply.
    void everySlotComesBackHoweverItsConnectionEnds_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how :
            { "the client's close frame", "the client's plain close", "the client's reset",
                "the server's drop", "a reply with Connection: close", "a refusal", "a timeout" })
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void everySlotComesBackHoweverItsConnectionEnds()
    {
        QFETCH(QString, how);
        Started started;
        if (!started.start())
            QSKIP("no local network on this machine");
        const QByteArray closeFrame("\x88\x80\0\0\0\0", 6);
        const QByteArray pingFrame("\x89\x80\0\0\0\0", 6);
        std::vector<std::unique_ptr<QTcpSocket>> waiting;
        for (int i = 0; i <= RemoteServer::kMaxPerClient; ++i) {
            auto client = connectFrom(started.port);
            if (how == "a timeout") {
                // Opened together and ended together by the server.
                waiting.push_back(std::move(client));
                if (int(waiting.size()) == RemoteServer::kMaxPerClient) {
                    for (const auto& silent : waiting)
                        QVERIFY(closedByServer(*silent, HttpConnection::kRequestMs + 2000));
                    waiting.clear();
                }
                continue;
            }
            const QByteArray request = how == "a refusal" ? "BAD\r\n\r\n"
                : how == "a reply with Connection: close"
                ? started.get("/status", "Connection: close\r\n")
                : started.handshake();
            QVERIFY(!replyTo(*client, request).isEmpty());
            if (how == "the client's close frame" || how == "the server's drop")
                client->write(how == "the server's drop" ? pingFrame : closeFrame);
            if (how == "the client's reset") {
                const linger now { 1, 0 };
                ::setsockopt(
                    int(client->socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now);
            }
            if (how == "the client's plain close" || how == "a refusal"
                || how == "the client's reset")
                client->abort();
            else
                QVERIFY(closedByServer(*client));
            // Under the rate limit of the token's requests.
            QTest::qWait(1000 / RemoteExchange::kRequestsPerSecond + 20);
        }
        QTest::qWait(1000);
        QVERIFY(
            replyTo(*connectFrom(started.port), started.get("/status")).startsWith("HTTP/1.1 200"));
    }

    void onlyThisServersOwnPageOpensThePushChannel()
    {
        Started started;
        if (!started.start())
            QSKIP("no local network on this machine");
        QVERIFY(replyTo(*connectFrom(started.port), started.handshake("http://evil.example"))
                    .startsWith("HTTP/1.1 403"));
        QVERIFY(replyTo(*connectFrom(started.port), started.handshake("http://127.0.0.1"))
                    .startsWith("HTTP/1.1 101"));
    }

    void silentStrangersMakeRoomForThePhone()
    {
        Started started;
        if (!started.start())
            QSKIP("no local network on this machine");
        std::vector<std::unique_ptr<QTcpSocket>> strangers;
        for (int i = 0; i < RemoteServer::kMaxConnections + 8; ++i) {
            const QByteArray from
                = "127.0.0." + QByteArray::number(2 + i / RemoteServer::kMaxPerClient);
            strangers.push_back(connectFrom(started.port, from.constData()));
        }
        // A stranger over its own cap is refused at once.
        QVERIFY(closedByServer(*connectFrom(started.port, "127.0.0.7"), 1000));
        QVERIFY(
            replyTo(*connectFrom(started.port), started.get("/status")).startsWith("HTTP/1.1 200"));
    }
};

QTEST_GUILESS_MAIN(TestHttpConnection)
#include "test_http_connection.moc"
