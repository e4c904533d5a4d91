#include "HttpConnection.h"
#include "PushChannel.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>
#include <QtTest>

#include <memory>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A listening socket whose every handshake goes to the channel, as the server hands over one
// the exchange allowed.
struct Channel {
    PushChannel push;
    QTcpServer server;

    Channel()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                auto* http = new HttpConnection(socket, &PushChannel::handshake);
                QObject::connect(http, &HttpConnection::handedOver, &push, &PushChannel::take);
            }
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

QByteArray handshake()
{
    return "GET /push HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
           "Connection: Upgrade\r\nSec-WebSocket-Key: "
           "dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
}

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

    void aPageMaySayOnlyPongAndClose_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("closeAnswered");
        // Masked with a zero key: the payload reads as sent.
        const QByteArray mask(4, '\0');
        QTest::newRow("a close is answered with a close")
            << QByteArray("\x88\x82") + mask + "\x03\xe8" << true;
        QTest::newRow("data is dropped") << QByteArray("\x81\x83") + mask + "sim" << false;
        QTest::newRow("a ping is dropped") << QByteArray("\x89\x80") + mask << false;
        QTest::newRow("an empty continuation is dropped") << QByteArray("\x80\x80") + mask << false;
        QTest::newRow("a pong nobody asked for is dropped")
            << QByteArray("\x8a\x80") + mask << false;
        QTest::newRow("an unmasked close is dropped") << QByteArray("\x88\x00", 2) << false;
        QTest::newRow("a frame of an unfinished message is dropped")
            << QByteArray("\x01\x81") + mask + "s" << false;
        QTest::newRow("a long frame is dropped before it is read")
            << QByteArray("\x82\xff\x7f\xff\xff\xff\xff\xff\xff\xff") << false;
    }
    void aPageMaySayOnlyPongAndClose()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, closeAnswered);
        Channel channel;
        QTcpSocket page;
        page.connectToHost(QHostAddress::LocalHost, channel.server.serverPort());
        QVERIFY(page.waitForConnected(2000));
        page.write(handshake());
        QByteArray heard;
        QTRY_VERIFY((heard += page.readAll()).endsWith("\"state\":\"idle\"}"));
        page.write(frame);
        QTRY_COMPARE(channel.push.phones(), 0);
        QTRY_COMPARE(page.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(page.readAll().startsWith("\x88\x02\x03\xe8"), closeAnswered);
    }

    void theNewestPageWinsAtTheCap()
    {
        Channel channel;
        std::vector<std::unique_ptr<Page>> pages;
        for (int i = 0; i <= PushChannel::kMaxPhones; ++i) {
            pages.push_back(std::make_unique<Page>(channel.url()));
            QTRY_COMPARE(pages.back()->heard.size(), 1);
        }
        QTRY_COMPARE(pages.front()->socket.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(channel.push.phones(), PushChannel::kMaxPhones);
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
        QCOMPARE(::send(fd, handshake().constData(), size_t(handshake().size()), 0),
            ssize_t(handshake().size()));
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
