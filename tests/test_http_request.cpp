#include "HttpRequestParser.h"

#include <QtTest>

namespace {

using Outcome = HttpParse::Outcome;

QByteArray get(const QByteArray& headers = "Host: 192.0.2.1:8765\r\n")
{
    return "GET /status?t=abc HTTP/1.1\r\n" + headers + "\r\n";
}

QByteArray post(const QByteArray& headers, const QByteArray& body = {})
{
    return "POST /answer?t=abc HTTP/1.1\r\nHost: 192.0.2.1\r\n" + headers + "\r\n" + body;
}

}

Q_DECLARE_METATYPE(HttpParse::Outcome)

class TestHttpRequest : public QObject {
    Q_OBJECT

private slots:
    void eachRequestIsReadOrRefusedOnTheBytesSeen_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("status");

        QTest::newRow("a whole GET") << get() << Outcome::Complete << 0;
        QTest::newRow("half a head waits") << get().left(20) << Outcome::Incomplete << 0;
        QTest::newRow("a head of exactly the limit is read")
            << get("Host: h\r\nX-Pad: " + QByteArray(8192 - 48, 'a') + "\r\n") << Outcome::Complete
            << 0;
        QTest::newRow("a head past the limit is refused before its end arrives")
            << get("Host: h\r\nX-Pad: " + QByteArray(9000, 'a')).left(8192) << Outcome::Refused
            << 431;
        QTest::newRow("a head that never ends is refused at the limit")
            << QByteArray(8192, 'G') << Outcome::Refused << 431;
        QTest::newRow("a body is waited for")
            << post("Content-Length: 3\r\n", "si") << Outcome::Incomplete << 0;
        QTest::newRow("a body of 4 KiB is read")
            << post("Content-Length: 4096\r\n", QByteArray(4096, 'a')) << Outcome::Complete << 0;
        QTest::newRow("a body announced over 4 KiB is refused before it is sent")
            << post("Content-Length: 4097\r\n") << Outcome::Refused << 413;
        QTest::newRow("a huge length is refused, not overflowed")
            << post("Content-Length: 99999999999999999999999\r\n") << Outcome::Refused << 413;
        QTest::newRow("two lengths are refused, even when equal")
            << post("Content-Length: 3\r\nContent-Length: 3\r\n", "sim") << Outcome::Refused << 400;
        QTest::newRow("a length that is not a number is refused")
            << post("Content-Length: 3x\r\n", "sim") << Outcome::Refused << 400;
        QTest::newRow("a negative length is refused")
            << post("Content-Length: -1\r\n") << Outcome::Refused << 400;
        QTest::newRow("chunked bodies are not taken")
            << post("Transfer-Encoding: chunked\r\n") << Outcome::Refused << 501;
        QTest::newRow("HTTP/1.1 without a Host is refused")
            << QByteArray("GET / HTTP/1.1\r\n\r\n") << Outcome::Refused << 400;
        QTest::newRow("two Hosts are refused")
            << get("Host: a\r\nHost: b\r\n") << Outcome::Refused << 400;
        QTest::newRow("HTTP/1.0 may leave the Host out")
            << QByteArray("GET / HTTP/1.0\r\n\r\n") << Outcome::Complete << 0;
        QTest::newRow("HTTP/2 in plain text is not spoken")
            << QByteArray("GET / HTTP/2.0\r\nHost: h\r\n\r\n") << Outcome::Refused << 505;
        QTest::newRow("a request line without a version is refused")
            << QByteArray("GET /\r\nHost: h\r\n\r\n") << Outcome::Refused << 400;
        QTest::newRow("a target that is neither a path nor absolute is refused")
            << QByteArray("GET x/ HTTP/1.1\r\nHost: h\r\n\r\n") << Outcome::Refused << 400;
        QTest::newRow("a target in absolute form is read")
            << QByteArray("GET http://h:1/s?t=a HTTP/1.1\r\nHost: h\r\n\r\n") << Outcome::Complete
            << 0;
        QTest::newRow("an absolute target with a user in it is refused")
            << QByteArray("GET http://u@h/ HTTP/1.1\r\nHost: h\r\n\r\n") << Outcome::Refused << 400;
        QTest::newRow("HTTP/1.2 is served as 1.1")
            << QByteArray("GET / HTTP/1.2\r\nHost: h\r\n\r\n") << Outcome::Complete << 0;
        QTest::newRow("an empty line before the request is ignored")
            << "\r\n" + get() << Outcome::Complete << 0;
        QTest::newRow("a NUL in the target is refused")
            << QByteArray("GET /a\0b HTTP/1.1\r\nHost: h\r\n\r\n", 30) << Outcome::Refused << 400;
        QTest::newRow("a DEL in the target is refused")
            << QByteArray("GET /a\x7f HTTP/1.1\r\nHost: h\r\n\r\n") << Outcome::Refused << 400;
        QTest::newRow("a byte past ASCII in the target is refused")
            << QByteArray("GET /\xc3\xa9 HTTP/1.1\r\nHost: h\r\n\r\n") << Outcome::Refused << 400;
        QTest::newRow("a broken percent escape in the target is refused")
            << QByteArray("GET /%zz HTTP/1.1\r\nHost: h\r\n\r\n") << Outcome::Refused << 400;
        QTest::newRow("a NUL in a field value is refused")
            << get(QByteArray("Host: h\r\nX: a\0b\r\n", 17)) << Outcome::Refused << 400;
        QTest::newRow("a bare carriage return in a field value is refused")
            << get("Host: h\r\nX: a\rb\r\n") << Outcome::Refused << 400;
        QTest::newRow("a vertical tab after a length is refused, not trimmed")
            << post("Content-Length: 3\v\r\n", "sim") << Outcome::Refused << 400;
        QTest::newRow("an escape in a field value is refused")
            << get("Host: h\r\nX: \x1b[2J\r\n") << Outcome::Refused << 400;
        QTest::newRow("UTF-8 in a field value is taken")
            << get("Host: h\r\nX: n\xc3\xa3o\r\n") << Outcome::Complete << 0;
        QTest::newRow("a Host whose port is no number is refused")
            << get("Host: 127.0.0.1:abc\r\n") << Outcome::Refused << 400;
        QTest::newRow("an IPv6 Host without brackets is refused")
            << get("Host: ::1\r\n") << Outcome::Refused << 400;
        QTest::newRow("an empty Host is refused on HTTP/1.1")
            << get("Host: \r\n") << Outcome::Refused << 400;
        QTest::newRow("a folded header line is refused")
            << get("Host: h\r\n folded\r\n") << Outcome::Refused << 400;
        QTest::newRow("a header name with a blank is refused")
            << get("Host : h\r\n") << Outcome::Refused << 400;
        QTest::newRow("a bare line feed inside the head is refused")
            << QByteArray("GET / HTTP/1.1\nHost: h\r\n\r\n") << Outcome::Refused << 400;
        QTest::newRow("an expectation other than 100-continue is refused")
            << post("Expect: magic\r\nContent-Length: 3\r\n") << Outcome::Refused << 417;
        QTest::newRow("100-continue with too large a body is refused before the body")
            << post("Expect: 100-continue\r\nContent-Length: 5000\r\n") << Outcome::Refused << 413;
    }
    void eachRequestIsReadOrRefusedOnTheBytesSeen()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Outcome, outcome);
        QFETCH(int, status);
        const HttpParse parse = parseHttpRequest(bytes);
        QCOMPARE(parse.outcome, outcome);
        QCOMPARE(parse.status, status);
    }

    void aWholeRequestSaysHowItWantsToBeAnswered_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("keepAlive");
        QTest::addColumn<bool>("webSocket");

        QTest::newRow("HTTP/1.1 keeps the connection") << get() << true << false;
        QTest::newRow("Connection: close is heard")
            << get("Host: h\r\nConnection: close\r\n") << false << false;
        QTest::newRow("Connection: close among other tokens, in capitals")
            << get("Host: h\r\nConnection: TE, CLOSE\r\n") << false << false;
        QTest::newRow("HTTP/1.0 closes after the reply")
            << QByteArray("GET / HTTP/1.0\r\n\r\n") << false << false;
        QTest::newRow("a WebSocket handshake")
            << get("Host: h\r\nConnection: keep-alive, Upgrade\r\nUpgrade: websocket\r\n") << true
            << true;
        QTest::newRow("an Upgrade without Connection: upgrade is no handshake")
            << get("Host: h\r\nUpgrade: websocket\r\n") << true << false;
        QTest::newRow("an upgrade to something else is no handshake")
            << get("Host: h\r\nConnection: upgrade\r\nUpgrade: h2c\r\n") << true << false;
    }
    void aWholeRequestSaysHowItWantsToBeAnswered()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, keepAlive);
        QFETCH(bool, webSocket);
        const HttpParse parse = parseHttpRequest(bytes);
        QCOMPARE(parse.outcome, Outcome::Complete);
        QCOMPARE(parse.request.keepAlive, keepAlive);
        QCOMPARE(parse.request.webSocketUpgrade, webSocket);
    }

    void theRequestIsTakenApart()
    {
        const QByteArray first = post("Content-Length: 3\r\n", "sim");
        const HttpParse parse = parseHttpRequest(first + get());
        QCOMPARE(parse.outcome, Outcome::Complete);
        // A request sent right behind it is left for the next read.
        QCOMPARE(parse.consumed, first.size());
        QCOMPARE(parse.request.method, QByteArray("POST"));
        QCOMPARE(parse.request.path, QByteArray("/answer"));
        QCOMPARE(parse.request.query, QByteArray("t=abc"));
        QCOMPARE(parse.request.host, QByteArray("192.0.2.1"));
        QCOMPARE(parse.request.body, QByteArray("sim"));
        // In absolute form the target names the host.
        const HttpParse absolute
            = parseHttpRequest("\r\nGET http://192.0.2.1:8765?t=a HTTP/1.1\r\nHost: x\r\n\r\n");
        QCOMPARE(absolute.request.host + absolute.request.path, QByteArray("192.0.2.1:8765/"));
        QCOMPARE(absolute.consumed, 53);
    }

    void continueIsWantedOnlyBeforeTheBody_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("wanted");
        QTest::newRow("the head alone asks for it")
            << post("Expect: 100-continue\r\nContent-Length: 3\r\n") << true;
        QTest::newRow("once the body has begun it is too late")
            << post("Expect: 100-continue\r\nContent-Length: 3\r\n", "s") << false;
        QTest::newRow("a head that does not ask") << post("Content-Length: 3\r\n") << false;
    }
    void continueIsWantedOnlyBeforeTheBody()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, wanted);
        const HttpParse parse = parseHttpRequest(bytes);
        QCOMPARE(parse.outcome, Outcome::Incomplete);
        QCOMPARE(parse.continueWanted, wanted);
    }

    void theHostMustNameThisServer_data()
    {
        QTest::addColumn<QByteArray>("host");
        QTest::addColumn<bool>("ours");
        QTest::newRow("its address with the port") << QByteArray("192.0.2.1:8765") << true;
        QTest::newRow("its address alone") << QByteArray("192.0.2.1") << true;
        QTest::newRow("its name, in any letter case") << QByteArray("Oracle.LOCAL:8765") << true;
        QTest::newRow("an IPv6 literal with the port") << QByteArray("[::1]:8765") << true;
        QTest::newRow("an IPv6 literal alone") << QByteArray("[::1]") << true;
        QTest::newRow("a name that rebinds to this address")
            << QByteArray("evil.example:8765") << false;
        QTest::newRow("an address of ours with more after it")
            << QByteArray("192.0.2.1.evil.example") << false;
        QTest::newRow("nothing") << QByteArray() << false;
    }
    void theHostMustNameThisServer()
    {
        QFETCH(QByteArray, host);
        QFETCH(bool, ours);
        QCOMPARE(hostNamesThisServer(host, { "192.0.2.1", "oracle.local", "::1" }), ours);
    }
};

QTEST_APPLESS_MAIN(TestHttpRequest)
#include "test_http_request.moc"
