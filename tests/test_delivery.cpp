#include "Form1Fixture.h"
#include "HotSpot.h"
#include "OrbCanvas.h"
#include "Timer.h"

#include <QRandomGenerator>

class TestDelivery : public QObject {
    Q_OBJECT

    // The log without the key clicks and the orb's ring pauses.
    static QStringList steps(const QStringList& log)
    {
        QStringList kept;
        for (const QString& s : log) {
            if (s != "play(blip1.wav)" && s != "sleep(50)")
                kept << s;
        }
        return kept;
    }

private slots:
    void capturedAnswerComesAfterWaitingPhraseOrbAndPause()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(",sim. vou casar?");
        fx.random.draws = { 0.5f, 0.0f, 0.5f, 0.0f }; // r = 3, one pulse, 2000 ms, k = 0
        fx.enter();
        QCOMPARE(steps(fx.log),
            QStringList({ "speak_text(Espere enquanto me concentro)", "sleep(2000)",
                "speak_text(sim)", "play(SINISTER.wav)" }));
        QCOMPARE(fx.log.count("sleep(50)"), 60);
        QCOMPARE(fx.form->oracle().lastAnswer(), QStringLiteral("sim"));
        QCOMPARE(fx.form->Text1->text(), QStringLiteral(" "));
        QCOMPARE(fx.form->Text1->cursorPosition(), 0);
        QCOMPARE(fx.form->oracle().petition().pos_pedido(), qint16(0));
        QVERIFY(fx.form->oracle().petition().resposta().isEmpty());
        QVERIFY(fx.form->Timer2->isEnabled());
        QCOMPARE(fx.form->Picture3->pos(), QPoint(0, 0));
        QVERIFY(fx.form->Picture1->rings().isEmpty());
    }

    void noCapturedAnswerGetsARefusalAndStopsTheBlinking_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("nothing") << QString();
        QTest::newRow("a single blank captured") << QStringLiteral(", .");
    }
    void noCapturedAnswerGetsARefusalAndStopsTheBlinking()
    {
        QFETCH(QString, typed);
        Form1Fixture fx;
        fx.loaded();
        fx.type(typed);
        fx.random.draws = { 0.0f, 0.3f, 0.99f }; // r, pause draw (unused), k = 5
        fx.enter();
        QCOMPARE(steps(fx.log),
            QStringList(
                { "sleep(500)", QString::fromUtf8("speak_text(Não quero mais brincar. Vá embora.)"),
                    "play(SINISTER.wav)" }));
        QVERIFY(!fx.form->Timer2->isEnabled());
        QVERIFY(!fx.form->Picture4->isHidden());
        fx.type("a");
        QVERIFY(fx.form->Timer2->isEnabled());
        QVERIFY(fx.form->Picture4->isHidden());
    }

    void addressingTheOracleAnswersQuickly()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(QString::fromUtf8(",talvez. e voce sabe?"));
        fx.enter();
        QCOMPARE(steps(fx.log),
            QStringList({ "sleep(500)", "speak_text(talvez)", "play(SINISTER.wav)" }));
    }

    void repeatSpeaksTheLastAnswerAgainInItsSecondForm()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(",Sim, claro.");
        fx.enter();
        fx.log.clear();
        fx.type("repita");
        QCOMPARE(fx.form->Text1->text(), QStringLiteral("r epita"));
        fx.enter();
        QCOMPARE(steps(fx.log),
            QStringList({ "sleep(500)", "speak_text(Sim claro)", "play(SINISTER.wav)" }));
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
        QVERIFY(fx.form->Text1->text().isEmpty());
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
                QTest::keyClick(fx.form->Text1, Qt::Key_Backspace);
            else
                QTest::keyClick(fx.form->Text1, k);
            QVERIFY(!fx.form->Text1->text().contains("segredo"));
        });
        masher.start(1);
        fx.enter();
        QTRY_VERIFY_WITH_TIMEOUT(!masher.isActive(), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(fx.tts1().speaking_state(), 0, 30000);
        QVERIFY(fx.form->oracle().petition().pos_pedido() >= 0);
        QVERIFY(!fx.form->Text1->text().contains("segredo"));
    }
};

QTEST_MAIN(TestDelivery)
#include "test_delivery.moc"
