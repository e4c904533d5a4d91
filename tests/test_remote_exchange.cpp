#include "RemoteExchange.h"
#include "RemotePage.h"
#include "RemoteServer.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QByteArray kToken = "0123456789abcdef0123456789abcdef";
const QByteArray kPage = "<html>page</html>";

// One client on a clock the test moves by hand.
struct Phone {
    qint64 now = 0;
    RemoteExchange exchange { kToken, kPage, [this] { return now; } };

    RemoteExchange::Reply send(const QByteArray& method, const QString& path,
        const QByteArray& body = {}, const QByteArray& token = kToken,
        const QString& client = QStringLiteral("192.0.2.7"))
    {
        // A second apart, so that only the rate-limit rows meet the limit.
        now += 1000;
        return exchange.handle({ method, path, token, body, client });
    }
    RemoteExchange::Reply answer(const QByteArray& body) { return send("POST", "/answer", body); }
    QByteArray state() { return send("GET", "/status").body; }
};

QByteArray repeated(const char* piece, int times)
{
    QByteArray text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

}

class TestRemoteExchange : public QObject {
    Q_OBJECT

private slots:
    void everyRequestIsAnsweredByItsRule_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("token");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("reply");

        const QByteArray armed = "{\"state\":\"armed\"}";
        const QByteArray idle = "{\"state\":\"idle\"}";
        QTest::newRow("the page is served with the token")
            << QByteArray("GET") << "/" << kToken << QByteArray() << 200 << kPage;
        QTest::newRow("the status starts idle")
            << QByteArray("GET") << "/status" << kToken << QByteArray() << 200 << idle;
        QTest::newRow("an answer is armed")
            << QByteArray("POST") << "/answer" << kToken << QByteArray("sim") << 200 << armed;
        QTest::newRow("the page without a token is forbidden")
            << QByteArray("GET") << "/" << QByteArray() << QByteArray() << 403 << QByteArray();
        QTest::newRow("an answer with a wrong token is forbidden")
            << QByteArray("POST") << "/answer" << QByteArray("0123456789abcdef0123456789abcdee")
            << QByteArray("sim") << 403 << QByteArray();
        QTest::newRow("a token that only begins right is forbidden")
            << QByteArray("GET") << "/status" << kToken.left(31) << QByteArray() << 403
            << QByteArray();
        QTest::newRow("a token with more after it is forbidden")
            << QByteArray("GET") << "/status" << kToken + "0" << QByteArray() << 403
            << QByteArray();
        QTest::newRow("an unknown path without the token is still forbidden") << QByteArray(
            "GET") << "/favicon.ico" << QByteArray() << QByteArray() << 403 << QByteArray();
        QTest::newRow("an unknown path is not found")
            << QByteArray("GET") << "/favicon.ico" << kToken << QByteArray() << 404 << QByteArray();
        QTest::newRow("an answer by GET is not found")
            << QByteArray("GET") << "/answer" << kToken << QByteArray() << 404 << QByteArray();
        QTest::newRow("the page by POST is not found")
            << QByteArray("POST") << "/" << kToken << QByteArray("x") << 404 << QByteArray();
        QTest::newRow("another method is not found")
            << QByteArray("OTHER") << "/status" << kToken << QByteArray() << 404 << QByteArray();
        QTest::newRow("a body of exactly 4 KiB is read (and is too long an answer)") << QByteArray(
            "POST") << "/answer" << kToken << QByteArray(4096, 'a') << 400 << QByteArray();
        QTest::newRow("a body over 4 KiB is too large")
            << QByteArray("POST") << "/answer" << kToken << QByteArray(4097, 'a') << 413
            << QByteArray();
        QTest::newRow("200 characters are an answer")
            << QByteArray("POST") << "/answer" << kToken << QByteArray(200, 'a') << 200 << armed;
        QTest::newRow("201 characters are not") << QByteArray("POST") << "/answer" << kToken
                                                << QByteArray(201, 'a') << 400 << QByteArray();
        QTest::newRow("200 accented letters are counted as letters, not bytes")
            << QByteArray("POST") << "/answer" << kToken << repeated("é", 200) << 200 << armed;
        QTest::newRow("letters beyond 16 bits count once each")
            << QByteArray("POST") << "/answer" << kToken << repeated("\xF0\x9F\x94\xAE", 200) << 200
            << armed;
        QTest::newRow("a lone continuation byte is not UTF-8")
            << QByteArray("POST") << "/answer" << kToken << QByteArray("sim\x80") << 400
            << QByteArray();
        QTest::newRow("Latin-1 is not UTF-8") << QByteArray("POST") << "/answer" << kToken
                                              << QByteArray("n\xe3o") << 400 << QByteArray();
        QTest::newRow("an overlong encoding is not UTF-8")
            << QByteArray("POST") << "/answer" << kToken << QByteArray("\xC0\xAF") << 400
            << QByteArray();
        QTest::newRow("an empty answer is no answer")
            << QByteArray("POST") << "/answer" << kToken << QByteArray() << 400 << QByteArray();
        QTest::newRow("blanks and control characters alone are no answer") << QByteArray(
            "POST") << "/answer" << kToken << QByteArray(" \r\n\t ") << 400 << QByteArray();
        QTest::newRow("zero-width characters alone are no answer")
            << QByteArray("POST") << "/answer" << kToken
            << QByteArray("\xE2\x80\x8B\xE2\x80\x8C\xE2\x80\x8D\xE2\x81\xA0\xEF\xBB\xBF") << 400
            << QByteArray();
        QTest::newRow("direction marks and overrides alone are no answer")
            << QByteArray("POST") << "/answer" << kToken
            << QByteArray("\xE2\x80\x8E\xE2\x80\x8F\xE2\x80\xAE \xE2\x81\xA6") << 400
            << QByteArray();
        QTest::newRow("invisible tags beyond 16 bits alone are no answer")
            << QByteArray("POST") << "/answer" << kToken << QByteArray("\xF3\xA0\x80\x81") << 400
            << QByteArray();
        for (const char* nothing : { "\xEF\xB8\x8F", "\xCD\x8F", "\xCC\x81", "\xE3\x85\xA4",
                 "\xE2\xA0\x80", "\xEF\xBF\xBF", "\xE1\x85\x9F \xEF\xBE\xA0" }) {
            QTest::newRow(qPrintable("says nothing: U+"
                + QString::number(QString::fromUtf8(nothing).toUcs4()[0], 16).toUpper()))
                << QByteArray("POST") << "/answer" << kToken << QByteArray(nothing) << 400
                << QByteArray();
        }
        QTest::newRow("a letter with its combining accent is an answer")
            << QByteArray("POST") << "/answer" << kToken << QByteArray("e\xCC\x81") << 200 << armed;
        QTest::newRow("a symbol with its variation selector is an answer")
            << QByteArray("POST") << "/answer" << kToken << QByteArray("\xE2\x9C\x94\xEF\xB8\x8F")
            << 200 << armed;
        QTest::newRow("a word among direction marks is an answer")
            << QByteArray("POST") << "/answer" << kToken << QByteArray("\xE2\x80\x8Fsim") << 200
            << armed;
        QTest::newRow("the push channel by plain GET asks for the upgrade")
            << QByteArray("GET") << "/push" << kToken << QByteArray() << 426 << QByteArray();
        QTest::newRow("the push channel without the token is forbidden")
            << QByteArray("GET") << "/push" << QByteArray() << QByteArray() << 403 << QByteArray();
        QTest::newRow("a refusal while nothing waits is a conflict")
            << QByteArray("POST") << "/refuse" << kToken << QByteArray() << 409 << QByteArray();
        QTest::newRow("a refusal by GET is not found")
            << QByteArray("GET") << "/refuse" << kToken << QByteArray() << 404 << QByteArray();
    }
    void everyRequestIsAnsweredByItsRule()
    {
        QFETCH(QByteArray, method);
        QFETCH(QString, path);
        QFETCH(QByteArray, token);
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(QByteArray, reply);
        Phone phone;
        const RemoteExchange::Reply got = phone.send(method, path, body, token);
        QCOMPARE(got.status, status);
        if (!reply.isNull())
            QCOMPARE(got.body, reply);
    }

    void theArmedAnswerIsTheTextAsSpoken_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("answer");
        QTest::newRow("plain text is kept as sent") << QByteArray("Sim, amanhã.") << "Sim, amanhã.";
        QTest::newRow("letter case and inner blanks are kept")
            << QByteArray("  Talvez  NÃO ") << "  Talvez  NÃO ";
        QTest::newRow("line breaks and tabs are stripped")
            << QByteArray("sim\r\nnão\tagora") << "simnãoagora";
        QTest::newRow("escape and delete are stripped") << QByteArray("a\x1b[2Jb\x7f") << "a[2Jb";
        QTest::newRow("C1 controls are stripped") << QByteArray("a\xC2\x85"
                                                                "b")
                                                  << "ab";
        QTest::newRow("characters of every script pass")
            << QByteArray("Ναι, はい, да") << QString::fromUtf8("Ναι, はい, да");
    }
    void theArmedAnswerIsTheTextAsSpoken()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, answer);
        Phone phone;
        QSignalSpy armed(&phone.exchange, &RemoteExchange::answerArmed);
        QCOMPARE(phone.answer(body).status, 200);
        QCOMPARE(armed.size(), 1);
        QCOMPARE(armed.first().first().toString(), answer);
    }

    void aRefusedAnswerArmsNothing_data()
    {
        QTest::addColumn<QByteArray>("token");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("wrong token") << QByteArray("nope") << QByteArray("sim");
        QTest::newRow("too large") << kToken << QByteArray(5000, 'a');
        QTest::newRow("too long") << kToken << QByteArray(201, 'a');
        QTest::newRow("not UTF-8") << kToken << QByteArray("\xff");
    }
    void aRefusedAnswerArmsNothing()
    {
        QFETCH(QByteArray, token);
        QFETCH(QByteArray, body);
        Phone phone;
        QSignalSpy armed(&phone.exchange, &RemoteExchange::answerArmed);
        phone.send("POST", "/answer", body, token);
        QCOMPARE(armed.size(), 0);
        QCOMPARE(phone.state(), QByteArray("{\"state\":\"idle\"}"));
    }

    void theStateFollowsWhatTheOracleDid_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("state");
        QTest::newRow("nothing sent") << QStringList() << "idle";
        QTest::newRow("sent") << QStringList { "send" } << "armed";
        QTest::newRow("sent and spoken") << QStringList { "send", "delivered" } << "spoken";
        QTest::newRow("sent again before the question replaces it and stays armed")
            << QStringList { "send", "send" } << "armed";
        QTest::newRow("sent again after it was spoken")
            << QStringList { "send", "delivered", "send" } << "armed";
        QTest::newRow("replaced by a keyboard capture")
            << QStringList { "send", "replaced" } << "idle";
        QTest::newRow("a delivery with nothing armed speaks no remote answer")
            << QStringList { "delivered" } << "idle";
        QTest::newRow("a capture after the spoken answer leaves it spoken")
            << QStringList { "send", "delivered", "replaced" } << "spoken";
        QTest::newRow("a second delivery after the spoken one changes nothing")
            << QStringList { "send", "delivered", "delivered" } << "spoken";
        QTest::newRow("a question being answered reads asked")
            << QStringList { "asked" } << "asked";
        QTest::newRow("the oracle waiting for the phone reads waiting")
            << QStringList { "asked", "waiting" } << "waiting";
        QTest::newRow("an answer sent while it waits leaves it waiting until the oracle hears it")
            << QStringList { "asked", "waiting", "send" } << "waiting";
        QTest::newRow("the answer heard, the delivery goes on")
            << QStringList { "asked", "waiting", "send", "asked" } << "asked";
        QTest::newRow("the answer waited for and spoken") << QStringList { "asked", "waiting",
            "send", "asked", "delivered", "ended" } << "spoken";
        QTest::newRow("an armed answer during its delivery reads asked")
            << QStringList { "send", "asked" } << "asked";
        QTest::newRow("a refusal after the wait ends idle")
            << QStringList { "asked", "waiting", "asked", "ended" } << "idle";
    }
    void theStateFollowsWhatTheOracleDid()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, state);
        Phone phone;
        for (const QString& step : steps) {
            if (step == "send")
                QCOMPARE(phone.answer("sim").status, 200);
            else if (step == "delivered")
                phone.exchange.answerDelivered();
            else if (step == "asked")
                phone.exchange.setPhase(RemoteExchange::Phase::Asked);
            else if (step == "waiting")
                phone.exchange.setPhase(RemoteExchange::Phase::Waiting);
            else if (step == "ended")
                phone.exchange.setPhase(RemoteExchange::Phase::None);
            else
                phone.exchange.armedAnswerReplaced();
        }
        QCOMPARE(phone.state(), "{\"state\":\"" + state.toLatin1() + "\"}");
    }

    void aFloodIsLimitedPerClientAndSecond_data()
    {
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("spacingMs");
        QTest::addColumn<int>("refused");
        QTest::newRow("a few in one second all pass")
            << RemoteExchange::kRequestsPerSecond << 10 << 0;
        QTest::newRow("one more in the same second is refused")
            << RemoteExchange::kRequestsPerSecond + 1 << 10 << 1;
        QTest::newRow("a burst of 100 keeps only the first few")
            << 100 << 0 << 100 - RemoteExchange::kRequestsPerSecond;
        QTest::newRow("five a second for ten seconds all pass") << 50 << 200 << 0;
        QTest::newRow("a steady 20 a second is cut to the limit in each second")
            << 100 << 50 << 100 - 5 * RemoteExchange::kRequestsPerSecond;
    }
    void aFloodIsLimitedPerClientAndSecond()
    {
        QFETCH(int, requests);
        QFETCH(int, spacingMs);
        QFETCH(int, refused);
        qint64 now = 0;
        RemoteExchange exchange(kToken, kPage, [&now] { return now; });
        int tooMany = 0;
        for (int i = 0; i < requests; ++i) {
            const auto reply = exchange.handle({ "GET", "/status", kToken, {}, "192.0.2.7" });
            tooMany += reply.status == 429;
            now += spacingMs;
        }
        QCOMPARE(tooMany, refused);
    }

    void oneClientsFloodLeavesTheOthersServed()
    {
        qint64 now = 0;
        RemoteExchange exchange(kToken, kPage, [&now] { return now; });
        for (int i = 0; i < 50; ++i)
            exchange.handle({ "GET", "/status", "guess", {}, "192.0.2.66" });
        QCOMPARE(exchange.handle({ "GET", "/status", kToken, {}, "192.0.2.66" }).status, 429);
        QCOMPARE(exchange.handle({ "GET", "/status", kToken, {}, "192.0.2.7" }).status, 200);
        now += 1000;
        QCOMPARE(exchange.handle({ "GET", "/status", kToken, {}, "192.0.2.66" }).status, 200);
    }

    void manyClientsAreForgottenOnceTheirSecondIsOver()
    {
        qint64 now = 0;
        RemoteExchange exchange(kToken, kPage, [&now] { return now; });
        for (int i = 0; i < 5000; ++i) {
            const QString client = QStringLiteral("10.0.%1.%2").arg(i / 250).arg(i % 250);
            QCOMPARE(exchange.handle({ "GET", "/status", kToken, {}, client }).status, 200);
            now += 10;
        }
    }

    void thePageSpeaksTheInterfaceLanguageAndNeedsNothingElse_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("send");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("Portuguese") << 0 << "pt"
                                    << "enviar"
                                    << "falada";
        QTest::newRow("English") << 1 << "en"
                                 << "send"
                                 << "spoken";
        QTest::newRow("French") << 2 << "fr"
                                << "envoyer" << QString::fromUtf8("prononcée");
        QTest::newRow("Spanish") << 3 << "es"
                                 << "enviar"
                                 << "dicha";
        // A settings file may hold any number: the page, with no texts of its own, reads
        // Portuguese then.
        QTest::newRow("below the table") << -1 << "pt"
                                         << "enviar"
                                         << "falada";
        QTest::newRow("above the table") << 9 << "pt"
                                         << "enviar"
                                         << "falada";
    }
    void thePageSpeaksTheInterfaceLanguageAndNeedsNothingElse()
    {
        QFETCH(int, language);
        QFETCH(QString, tag);
        QFETCH(QString, send);
        QFETCH(QString, spoken);
        const QString page = QString::fromUtf8(remotePage(language));
        QVERIFY(page.contains("<html lang=\"" + tag + "\">"));
        QVERIFY(page.contains(">" + send + "</button>"));
        QVERIFY(page.contains("data-spoken=\"" + spoken + "\""));
        QVERIFY2(!page.contains("{{"), "every text filled in");
        for (const char* outside : { "http:", "https:", "url(", "src=", "@import" })
            QVERIFY2(!page.contains(QLatin1String(outside)), outside);
    }

    void theStateIsToldOnlyWhenItChanges()
    {
        Phone phone;
        QSignalSpy changed(&phone.exchange, &RemoteExchange::stateChanged);
        phone.exchange.setPhase(RemoteExchange::Phase::Asked);
        phone.exchange.setPhase(RemoteExchange::Phase::Asked);
        phone.answer("sim");
        phone.exchange.setPhase(RemoteExchange::Phase::None);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed[0][0].toByteArray(), QByteArray("asked"));
        QCOMPARE(changed[1][0].toByteArray(), QByteArray("armed"));
    }

    void theRefuseButtonIsHeardOnlyWhileTheOracleWaits()
    {
        Phone phone;
        QSignalSpy refusals(&phone.exchange, &RemoteExchange::refusalAsked);
        phone.exchange.setPhase(RemoteExchange::Phase::Asked);
        QCOMPARE(phone.send("POST", "/refuse").status, 409);
        phone.exchange.setPhase(RemoteExchange::Phase::Waiting);
        QCOMPARE(phone.send("POST", "/refuse").status, 200);
        QCOMPARE(refusals.size(), 1);
    }

    void thePushChannelOpensOnlyForAWebSocketWithTheToken_data()
    {
        QTest::addColumn<QByteArray>("token");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("upgrade");
        QTest::newRow("the token opens it") << kToken << 101 << true;
        QTest::newRow("a wrong token gets nothing") << QByteArray("nope") << 403 << false;
        QTest::newRow("no token gets nothing") << QByteArray() << 403 << false;
    }
    void thePushChannelOpensOnlyForAWebSocketWithTheToken()
    {
        QFETCH(QByteArray, token);
        QFETCH(int, status);
        QFETCH(bool, upgrade);
        RemoteExchange exchange(kToken, kPage, [] { return 0; });
        const auto reply = exchange.handle({ "GET", "/push", token, {}, "192.0.2.7", true });
        QCOMPARE(reply.status, status);
        QCOMPARE(reply.upgrade, upgrade);
    }

    void guessesFromManyAddressesAreLimitedTogether()
    {
        qint64 now = 0;
        RemoteExchange exchange(kToken, kPage, [&now] { return now; });
        int forbidden = 0;
        int tooMany = 0;
        for (int alias = 1; alias < 250; ++alias) {
            const QString client = QStringLiteral("127.0.0.%1").arg(alias);
            const int status = exchange.handle({ "GET", "/status", "guess", {}, client }).status;
            forbidden += status == 403;
            tooMany += status == 429;
        }
        QCOMPARE(forbidden, RemoteExchange::kGuessesPerSecond);
        QCOMPARE(tooMany, 249 - RemoteExchange::kGuessesPerSecond);
        // The phone holds the token: the guessers never shut it out.
        QCOMPARE(exchange.handle({ "GET", "/status", kToken, {}, "192.0.2.7" }).status, 200);
        now += 1000;
        QCOMPARE(exchange.handle({ "GET", "/status", "guess", {}, "127.0.0.1" }).status, 403);
    }

    void oneClientIsAnIPv4AddressOrAnIPv6Network_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("two IPv4 addresses are two clients") << "127.0.0.1"
                                                            << "127.0.0.2" << false;
        QTest::newRow("an IPv4 address is the same client mapped into IPv6")
            << "192.0.2.7"
            << "::ffff:192.0.2.7" << true;
        QTest::newRow("two addresses of one /64 are one client") << "2001:db8:1:2:3:4:5:6"
                                                                 << "2001:db8:1:2:ffff::1" << true;
        QTest::newRow("two /64 networks are two clients") << "2001:db8:1:2::1"
                                                          << "2001:db8:1:3::1" << false;
        QTest::newRow("IPv6 loopback is not IPv4 loopback") << "::1"
                                                            << "127.0.0.1" << false;
    }
    void oneClientIsAnIPv4AddressOrAnIPv6Network()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(RemoteServer::clientOf(QHostAddress(a)) == RemoteServer::clientOf(QHostAddress(b)),
            same);
    }

    void thePageOffersTheReadyAnswersOfItsLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("refuse");
        QTest::newRow("Portuguese") << 0
                                    << QStringList { "Sim", QString::fromUtf8("Não"), "Talvez",
                                           "Com certeza", "Jamais", "Pergunte de novo mais tarde" }
                                    << "recusar";
        QTest::newRow("English") << 1 << QStringList { "Yes", "No", "Maybe" } << "refuse";
        QTest::newRow("French") << 2 << QStringList { "Oui", "Non", QString::fromUtf8("Peut-être") }
                                << "refuser";
        QTest::newRow("Spanish") << 3 << QStringList { QString::fromUtf8("Sí"), "No" }
                                 << "rechazar";
    }
    void thePageOffersTheReadyAnswersOfItsLanguage()
    {
        QFETCH(int, language);
        QFETCH(QStringList, answers);
        QFETCH(QString, refuse);
        const QString page = QString::fromUtf8(remotePage(language));
        for (const QString& answer : answers)
            QVERIFY2(page.contains("data-answer=\"" + answer + "\">" + answer + "</button>"),
                qPrintable(answer));
        QVERIFY(page.contains(">" + refuse + "</button>"));
        // Nothing in large type names the trick: the title is a plain notebook's.
        const QString title = page.section("<title>", 1).section("</title>", 0, 0);
        for (const char* word : { "Or", "Resp", "Answer", "Rép" })
            QVERIFY2(!title.contains(QLatin1String(word)), qPrintable(title));
    }

    void anEmptyTokenNeverMatches()
    {
        RemoteExchange exchange(QByteArray(), kPage, [] { return 0; });
        QCOMPARE(exchange.handle({ "GET", "/", QByteArray(), {}, "192.0.2.7" }).status, 403);
    }
};

QTEST_GUILESS_MAIN(TestRemoteExchange)
#include "test_remote_exchange.moc"
