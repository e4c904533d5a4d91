#include "PhoneWait.h"

#include <QtTest>

namespace {

// "t" asks at t ms; "t answered" or "t refused" asks with the phone's news.
QString step(PhoneWait& wait, const QString& call)
{
    const QStringList parts = call.split(QLatin1Char(' '));
    const PhoneWait::Next next = wait.next(parts[0].toLongLong(),
        parts.contains(QStringLiteral("answered")), parts.contains(QStringLiteral("refused")));
    switch (next.step) {
    case PhoneWait::Step::Wait:
        return QStringLiteral("wait %1").arg(next.forMs);
    case PhoneWait::Step::Pulse:
        return QStringLiteral("pulse");
    case PhoneWait::Step::Answer:
        return QStringLiteral("answer");
    case PhoneWait::Step::Refuse:
        return QStringLiteral("refuse");
    }
    return {};
}

}

class TestPhoneWait : public QObject {
    Q_OBJECT

private slots:
    void theWaitEndsByThePhoneOrTheClock_data()
    {
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("an answer in time ends the wait")
            << QStringList { "0", "3000 answered" } << QStringList { "wait 5000", "answer" };
        QTest::newRow("the orb pulses again every five seconds")
            << QStringList { "0", "5000", "5000", "10000", "12000" }
            << QStringList { "wait 5000", "pulse", "wait 5000", "pulse", "wait 5000" };
        QTest::newRow("the quiet between pulses counts from the end of a pulse")
            << QStringList { "5000", "10000", "13000", "16000" }
            << QStringList { "wait 5000", "pulse", "wait 5000", "wait 2000" };
        QTest::newRow("no answer within 30 s is a refusal") << QStringList { "0", "5000", "29999",
            "30000" } << QStringList { "wait 5000", "pulse", "wait 1", "refuse" };
        QTest::newRow("the last wait ends at the limit, not at the next pulse")
            << QStringList { "0", "27000", "28000" }
            << QStringList { "wait 5000", "pulse", "wait 2000" };
        QTest::newRow("the refuse button refuses at once")
            << QStringList { "0", "1200 refused" } << QStringList { "wait 5000", "refuse" };
        QTest::newRow("an answer that made it wins over a refusal asked with it")
            << QStringList { "0", "1200 answered refused" }
            << QStringList { "wait 5000", "answer" };
        QTest::newRow("an answer already armed needs no wait at all")
            << QStringList { "0 answered" } << QStringList { "answer" };
        QTest::newRow("the thirty seconds count from the first call, not from zero")
            << QStringList { "100000", "105000", "129999", "130000" }
            << QStringList { "wait 5000", "pulse", "wait 1", "refuse" };
        QTest::newRow("a clock that jumps past the limit refuses")
            << QStringList { "0", "45000" } << QStringList { "wait 5000", "refuse" };
    }
    void theWaitEndsByThePhoneOrTheClock()
    {
        QFETCH(QStringList, calls);
        QFETCH(QStringList, steps);
        PhoneWait wait;
        QStringList got;
        for (const QString& call : calls)
            got << step(wait, call);
        QCOMPARE(got, steps);
    }
};

QTEST_APPLESS_MAIN(TestPhoneWait)
#include "test_phone_wait.moc"
