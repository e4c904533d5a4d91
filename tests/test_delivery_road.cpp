#include "RecordingStage.h"

#include <QtTest>

class TestDeliveryRoad : public QObject {
    Q_OBJECT

    static QString u(const char* s) { return QString::fromUtf8(s); }

    // One Enter: r, the pause's draw (2000 ms), k = 0.
    static QStringList deliver(
        TypedOracle& typed, const QString& question, const QStringList& events = QStringList())
    {
        typed.type(question);
        typed.random.draws = { 0.0f, 0.5f, 0.0f };
        if (typed.enter() != Command::Answer)
            return { QStringLiteral("no answer asked for") };
        return walk(typed, events);
    }

private slots:
    void theRoadOfEveryAnswer_data()
    {
        QTest::addColumn<bool>("phone"); // listening
        QTest::addColumn<QString>("before"); // a question answered first
        QTest::addColumn<QString>("armed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("steps");
        const QString wait = QStringLiteral("wait for silence");
        const QString refusal = u("speak Você não é o meu quorvel! Não respondo.");
        const QStringList end { QStringLiteral("play SINISTER"), QStringLiteral("reset the box"),
            QStringLiteral("told: answered") };
        const QStringList fullRoad { "told: asked", "speak Vou pensar!", wait, "light the orb" };

        QTest::newRow("a captured answer: waiting phrase, orb, pause, answer")
            << false << QString() << QString() << ",sim. vou casar?" << QStringList()
            << fullRoad + QStringList { "pause", "clear the face", "speak sim", wait } + end;
        QTest::newRow("a question to the oracle: the quick road")
            << false << QString() << QString() << ",talvez. e voce sabe?" << QStringList()
            << QStringList { "told: asked", "quick pause", "clear the face", "speak talvez", wait }
                + end;
        QTest::newRow("nothing captured: a refusal, and the face stops blinking")
            << false << QString() << QString() << "vou casar?" << QStringList { "1000 answer sim" }
            << QStringList {
                   "told: asked", "quick pause", "clear the face", refusal, wait, "show the refusal"
               } + end;
        QTest::newRow("repeat: the last answer again, quickly")
            << false << ",sim." << QString() << "repita" << QStringList()
            << QStringList { "told: asked", "quick pause", "clear the face", "speak sim", wait }
                + end;
        QTest::newRow("an armed answer, its sender told before the wait")
            << false << QString() << "zebra"
            << "vai chover" << QStringList()
            << fullRoad
                + QStringList { "pause", "clear the face", "speak zebra",
                      "told: the armed answer is spoken", wait }
                + end;
        QTest::newRow("repeat drops the armed answer for the last one")
            << false << ",sim."
            << "zebra"
            << "repita" << QStringList()
            << QStringList { "told: asked", "quick pause", "clear the face", "speak sim",
                   "told: the armed answer is dropped", wait }
                + end;
        const QStringList quickRefusal { "told: asked", "quick pause", "clear the face", refusal,
            wait, "show the refusal" };
        QTest::newRow("a phone listening: a captured answer is not waited for")
            << true << QString() << QString() << ",sim. vou casar?" << QStringList()
            << fullRoad + QStringList { "pause", "clear the face", "speak sim", wait } + end;
        QTest::newRow("a phone listening: an armed answer is not waited for")
            << true << QString() << "talvez"
            << "vou casar?" << QStringList()
            << fullRoad
                + QStringList { "pause", "clear the face", "speak talvez",
                      "told: the armed answer is spoken", wait }
                + end;
        QTest::newRow("a phone listening: a question to the oracle keeps the quick road")
            << true << QString() << QString() << u("você sabe?")
            << QStringList { "1000 answer sim" } << quickRefusal + end;
        QTest::newRow("a phone listening: repeat before any answer keeps the quick road")
            << true << QString() << QString() << "repita" << QStringList { "1000 answer sim" }
            << quickRefusal + end;
        QTest::newRow("a comma typed and left empty is no answer: the phone is waited for")
            << true << QString() << QString() << ",. vou casar?" << QStringList { "500 answer sim" }
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "500: the phone answers sim", "told: the phone wait is over", "pause",
                      "clear the face", "speak sim", "told: the armed answer is spoken", wait }
                + end;
        QTest::newRow("the phone answers during a pulse: cut short, then the usual pause")
            << true << QString() << QString() << "vou casar?"
            << QStringList { "7000 answer com certeza" }
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "pulse the orb", "7000: the phone answers com certeza",
                      "the pulse is cut short", "told: the phone wait is over", "pause",
                      "clear the face", "speak com certeza", "told: the armed answer is spoken",
                      wait }
                + end;
        QTest::newRow("the phone refuses: the quick pause and a refusal")
            << true << QString() << QString() << "vou casar?" << QStringList { "2000 refuse" }
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "2000: the phone refuses", "told: the phone wait is over", "quick pause",
                      "clear the face", refusal, wait, "show the refusal" }
                + end;
        QTest::newRow("the phone is silent to the end: the orb pulses meanwhile, then a refusal")
            << true << QString() << QString() << "vou casar?" << QStringList()
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "pulse the orb", "wait for the phone", "pulse the orb", "wait for the phone",
                      "pulse the orb", "wait for the phone", "pulse the orb",
                      "told: the phone wait is over", "quick pause", "clear the face", refusal,
                      wait, "show the refusal" }
                + end;
        QTest::newRow("the window closes during the wait: the wait ends there")
            << true << QString() << QString() << "vou casar?" << QStringList { "2000 close" }
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "2000: the window closes", "told: the phone wait is over", "pause",
                      "clear the face", refusal, wait, "show the refusal" }
                + end;
        QTest::newRow("the window closes during a pulse: cut short")
            << true << QString() << QString() << "vou casar?" << QStringList { "6000 close" }
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "pulse the orb", "6000: the window closes", "the pulse is cut short",
                      "told: the phone wait is over", "pause", "clear the face", refusal, wait,
                      "show the refusal" }
                + end;
    }
    void theRoadOfEveryAnswer()
    {
        QFETCH(bool, phone);
        QFETCH(QString, before);
        QFETCH(QString, armed);
        QFETCH(QString, typed);
        QFETCH(QStringList, events);
        QFETCH(QStringList, steps);
        TypedOracle oracle;
        if (!before.isEmpty())
            deliver(oracle, before);
        oracle.oracle.setPhoneListening(phone);
        if (!armed.isEmpty())
            oracle.oracle.arm(armed);
        QCOMPARE(deliver(oracle, typed, events), steps);
    }
};

QTEST_GUILESS_MAIN(TestDeliveryRoad)
#include "test_delivery_road.moc"
