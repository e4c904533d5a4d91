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
        const qint64 limit = PhoneWait::kLimitMs, pulse = PhoneWait::kPulseMs;
        const auto at = [](qint64 ms, const char* news = "") {
            return QStringLiteral("%1 %2").arg(ms).arg(QLatin1String(news)).trimmed();
        };
        const auto wait = [](qint64 ms) { return QStringLiteral("wait %1").arg(ms); };
        QTest::newRow("an answer in time ends the wait") << QStringList { at(0),
            at(pulse - 2000, "answered") } << QStringList { wait(pulse), "answer" };
        QTest::newRow("the orb pulses again after every quiet spell")
            << QStringList { at(0), at(pulse), at(pulse), at(2 * pulse), at(2 * pulse + 2000) }
            << QStringList { wait(pulse), "pulse", wait(pulse), "pulse", wait(pulse) };
        QTest::newRow("the quiet between pulses counts from the end of a pulse")
            << QStringList { at(pulse), at(2 * pulse), at(2 * pulse + 3000), at(2 * pulse + 6000) }
            << QStringList { wait(pulse), "pulse", wait(pulse), wait(pulse - 3000) };
        QTest::newRow("no answer within the limit is a refusal") << QStringList { at(0), at(pulse),
            at(limit - 1), at(limit) } << QStringList { wait(pulse), "pulse", wait(1), "refuse" };
        QTest::newRow("the last wait ends at the limit, not at the next pulse")
            << QStringList { at(0), at(limit - 3000), at(limit - 2000) }
            << QStringList { wait(pulse), "pulse", wait(2000) };
        QTest::newRow("the refuse button refuses at once")
            << QStringList { at(0), at(1200, "refused") } << QStringList { wait(pulse), "refuse" };
        QTest::newRow("an answer that made it wins over a refusal asked with it")
            << QStringList { at(0), at(1200, "answered refused") }
            << QStringList { wait(pulse), "answer" };
        QTest::newRow("an answer already armed needs no wait at all")
            << QStringList { at(0, "answered") } << QStringList { "answer" };
        QTest::newRow("the limit counts from the first call, not from zero") << QStringList {
            at(100000), at(100000 + pulse), at(100000 + limit - 1), at(100000 + limit)
        } << QStringList { wait(pulse), "pulse", wait(1), "refuse" };
        QTest::newRow("a clock that jumps past the limit refuses")
            << QStringList { at(0), at(limit + 15000) } << QStringList { wait(pulse), "refuse" };
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
