#include "PushChannel.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A listening socket whose every connection goes to the channel, as the server hands over a
// handshake the exchange allowed.
struct Channel {
    PushChannel push;
    QTcpServer server;

    Channel()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection())
                push.take(socket);
        });
    }
    QUrl url() const
    {
        return QUrl(QStringLiteral("ws://127.0.0.1:%1/push").arg(server.serverPort()));
    }
};

struct Page {
    QWebSocket socket;
    QStringList heard;

    explicit Page(const QUrl& url)
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived,
            [this](const QString& message) { heard << message; });
        socket.open(url);
    }
};

QString message(const char* shown, const char* state)
{
    return QStringLiteral("{\"shown\":\"%1\",\"state\":\"%2\"}")
        .arg(QString::fromUtf8(shown), QLatin1String(state));
}

}

class TestPushChannel : public QObject {
    Q_OBJECT

private slots:
    void aPageHearsWhereThingsAreAndEveryChange()
    {
        Channel channel;
        channel.push.show(QStringLiteral("vai"));
        Page page(channel.url());
        QTRY_COMPARE(page.heard, QStringList { message("vai", "idle") });
        channel.push.show(QStringLiteral("vai"));
        channel.push.show(QStringLiteral("vai chover"));
        channel.push.setState("waiting");
        channel.push.setState("waiting");
        QTRY_COMPARE(page.heard.size(), 3);
        QCOMPARE(page.heard[1], message("vai chover", "idle"));
        QCOMPARE(page.heard[2], message("vai chover", "waiting"));
    }

    void phonesAreCountedAsTheyComeAndGo()
    {
        Channel channel;
        QSignalSpy changed(&channel.push, &PushChannel::phonesChanged);
        auto first = std::make_unique<Page>(channel.url());
        Page second(channel.url());
        QTRY_COMPARE(channel.push.phones(), 2);
        first.reset();
        QTRY_COMPARE(channel.push.phones(), 1);
        QCOMPARE(changed.last().first().toInt(), 1);
    }

    void aPageThatSpeaksIsClosed()
    {
        Channel channel;
        Page page(channel.url());
        QTRY_COMPARE(channel.push.phones(), 1);
        page.socket.sendTextMessage(QStringLiteral("{\"answer\":\"sim\"}"));
        QTRY_COMPARE(channel.push.phones(), 0);
        QTRY_COMPARE(page.socket.closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);
        QTRY_COMPARE(page.socket.state(), QAbstractSocket::UnconnectedState);
    }

    void aPageThatNeverReadsIsDropped()
    {
        Channel channel;
        // A client with a small receive buffer that sends its handshake and never reads again.
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const int small = 4096;
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        sockaddr_in to {};
        to.sin_family = AF_INET;
        to.sin_port = htons(channel.server.serverPort());
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
        const QByteArray handshake
            = "GET /push HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
              "Connection: Upgrade\r\nSec-WebSocket-Key: "
              "dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
        QCOMPARE(::send(fd, handshake.constData(), size_t(handshake.size()), 0),
            ssize_t(handshake.size()));
        QTRY_COMPARE(channel.push.phones(), 1);
        // Each change is new text, so each is sent: far more than any buffer holds.
        for (int i = 0; i < 200 && channel.push.phones() > 0; ++i) {
            channel.push.show(QString(8000, QLatin1Char('a' + i % 26)));
            QTest::qWait(5);
        }
        QCOMPARE(channel.push.phones(), 0);
        ::close(fd);
    }
};

QTEST_GUILESS_MAIN(TestPushChannel)
#include "test_push_channel.moc"
