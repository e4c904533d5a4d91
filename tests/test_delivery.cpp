#include "Form1Fixture.h"
#include "HotSpot.h"
#include "OrbCanvas.h"
#include "StageLook.h"
#include "StageTimings.h"
#include "Timer.h"

#include <QRandomGenerator>

// Wiring: the main window is the stage an answer's road is walked on (the road itself is in
// test_delivery_road), and it ends the program on the exit keyword.
class TestDelivery : public QObject {
    Q_OBJECT

    static QString ringPause() { return QStringLiteral("sleep(%1)").arg(timing::kOrbRingMs); }

    // The log without the key clicks and the orb's ring pauses.
    static QStringList steps(const QStringList& log)
    {
        QStringList kept;
        for (const QString& s : log) {
            if (s != "play(blip1.wav)" && s != ringPause())
                kept << s;
        }
        return kept;
    }

private slots:
    void theStageSpeaksLightsPausesAndResetsItsWidgets()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(",sim. vou casar?");
        fx.random.draws = { 0.5f, 0.0f, 0.5f, 0.0f }; // r = 3, one pulse, 2000 ms, k = 0
        fx.enter();
        QCOMPARE(steps(fx.log),
            QStringList({ "speak_text(Espere enquanto me concentro)", "sleep(2000)",
                "speak_text(sim)", "play(SINISTER.wav)" }));
        QCOMPARE(fx.log.count(ringPause()), look::kOrbRings);
        QCOMPARE(fx.w.Text1->text(), QStringLiteral(" "));
        QCOMPARE(fx.w.Text1->cursorPosition(), 0);
        QVERIFY(fx.w.Timer2->isEnabled());
        QCOMPARE(fx.w.Picture3->pos(), look::kEyeHome);
        QVERIFY(fx.w.Picture1->rings().isEmpty());
    }

    void aRefusalStopsTheBlinkingUntilTheNextKey()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.random.draws = { 0.0f, 0.3f, 0.99f }; // r, pause draw (unused), k = 5
        fx.enter();
        QCOMPARE(steps(fx.log),
            QStringList({ QStringLiteral("sleep(%1)").arg(Oracle::kQuickPauseMs),
                QString::fromUtf8("speak_text(Não quero mais brincar. Vá embora.)"),
                "play(SINISTER.wav)" }));
        QVERIFY(!fx.w.Timer2->isEnabled());
        QVERIFY(!fx.w.Picture4->isHidden());
        fx.type("a");
        QVERIFY(fx.w.Timer2->isEnabled());
        QVERIFY(fx.w.Picture4->isHidden());
    }

    // The reset leaves one blank, the caret before it; what is typed next takes its place.
    void whatIsTypedStraightAfterAnAnswerTakesThePlaceOfTheBlank_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nothing yet: one blank") << ""
                                                << " ";
        QTest::newRow("a keyword reads whole, and repeats") << "repita"
                                                            << "repita";
        QTest::newRow("a blank typed first is the one blank") << " ok"
                                                              << " ok";
        QTest::newRow("a comma starts the capture") << ",n"
                                                    << "Re";
    }
    void whatIsTypedStraightAfterAnAnswerTakesThePlaceOfTheBlank()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Form1Fixture fx;
        fx.loaded();
        fx.type(",Sim, claro.");
        fx.enter();
        fx.type(typed);
        QCOMPARE(fx.w.Text1->text(), shown);
        fx.enter();
        QCOMPARE(fx.tts1().spoken.last() == QStringLiteral("Sim claro"), typed == "repita");
    }

    void exitKeywordEndsInEveryLanguageEvenInsideAWord_data()
    {
        QTest::addColumn<QByteArray>("idioma");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("farewell");
        QTest::newRow("pt") << QByteArray("0") << "Exit"
                            << QString::fromUtf8("Até logo. Vejo você no inferno...");
        QTest::newRow("en") << QByteArray("1") << "the exits"
                            << "Good by. See you in the hell...";
        QTest::newRow("fr") << QByteArray("2") << "EXIT"
                            << "Arrevois. Voyez-vous dans l'enfer...";
        QTest::newRow("es") << QByteArray("3") << "nexit"
                            << "Adios. Le veré en el infierno...";
    }
    void exitKeywordEndsInEveryLanguageEvenInsideAWord()
    {
        QFETCH(QByteArray, idioma);
        QFETCH(QString, question);
        QFETCH(QString, farewell);
        Form1Fixture fx("[Quorvel]\nidioma=" + idioma + "\n");
        fx.loaded();
        fx.type(question);
        fx.enter();
        QCOMPARE(fx.tts1().spoken, QStringList { QString::fromUtf8(farewell.toUtf8()) });
        QCOMPARE(fx.ended, 1);
        QVERIFY(fx.ini().contains("idioma= " + idioma + "\n"));
    }

    void anOutOfTableLanguageRefusesSilentlyAndRevealsNothing()
    {
        Form1Fixture fx("[Quorvel]\nidioma=9\n");
        fx.loaded();
        fx.type(",abc.");
        QVERIFY(fx.w.Text1->text().isEmpty());
        fx.type("exit");
        fx.enter();
        QCOMPARE(fx.ended, 0);
        QCOMPARE(fx.tts1().spoken, QStringList({ "", "abc" }));
    }

    void keyMashingDuringADeliveryLeavesASaneBox()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.tts1().msPerWord = 3;
        fx.type(",segredo muito secreto.");
        int sent = 0;
        QTimer masher;
        const char keys[] = "abc,.x \r\b";
        connect(&masher, &QTimer::timeout, fx.form.get(), [&] {
            if (++sent > 300) {
                masher.stop();
                return;
            }
            const char k = keys[QRandomGenerator::global()->bounded(int(sizeof keys) - 1)];
            if (k == '\r')
                fx.enter();
            else if (k == '\b')
                QTest::keyClick(fx.w.Text1, Qt::Key_Backspace);
            else
                QTest::keyClick(fx.w.Text1, k);
            QVERIFY(!fx.w.Text1->text().contains("segredo"));
        });
        masher.start(1);
        fx.enter();
        QTRY_VERIFY_WITH_TIMEOUT(!masher.isActive(), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(fx.tts1().speaking_state(), 0, 30000);
        QVERIFY(!fx.w.Text1->text().contains("segredo"));
    }
};

QTEST_MAIN(TestDelivery)
#include "test_delivery.moc"
