#include "Form1Fixture.h"
#include "PetitionState.h"

#include <QSignalSpy>

// The performer's remote answer in the trick: it stands for a captured answer until a comma
// starts a fresh capture or a delivery speaks it.
class TestArmedAnswer : public QObject {
    Q_OBJECT

    static const QString& phrase()
    {
        static const QString p = QString::fromUtf8("Responda Oráculo - Por favor, por favor:");
        return p;
    }

    // What a delivery speaks when nothing was collected.
    static const QString& refusal()
    {
        static const QString r = QString::fromUtf8("Não quero mais brincar. Vá embora.");
        return r;
    }

    // Keys typed as the box would hand them over: press, then release.
    static void type(PetitionState& state, const QString& keys)
    {
        for (QChar ch : keys) {
            state.keyPress(ch);
            state.keyUp(ch.toUpper().unicode(), QString(), phrase());
        }
    }

private slots:
    void theArmedAnswerStandsUntilSomethingReplacesIt_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("resposta");
        QTest::addColumn<bool>("armed");
        QTest::newRow("armed alone, the answer is the armed one") << ""
                                                                  << ""
                                                                  << "sim" << true;
        QTest::newRow("a question typed after it is no capture") << ""
                                                                 << "vai chover"
                                                                 << "sim" << true;
        QTest::newRow("arming ends a capture left on, so the question is not collected")
            << ",abc"
            << "vai chover"
            << "sim" << true;
        QTest::newRow("an earlier keyboard capture is replaced by the armed answer")
            << ",abc."
            << ""
            << "sim" << true;
        QTest::newRow("a comma after it starts a fresh capture: the latest wins") << ""
                                                                                  << ",nao."
                                                                                  << "nao" << false;
        QTest::newRow("a comma alone after it leaves nothing captured") << ""
                                                                        << ","
                                                                        << "" << false;
        QTest::newRow("a full stop after it changes nothing") << ""
                                                              << "."
                                                              << "sim" << true;
    }
    void theArmedAnswerStandsUntilSomethingReplacesIt()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, resposta);
        QFETCH(bool, armed);
        PetitionState state;
        type(state, before);
        state.arm(QStringLiteral("sim"));
        type(state, after);
        QCOMPARE(state.resposta(), resposta);
        QCOMPARE(state.deliver(refusal()) == PetitionState::Armed::Spoken, armed);
    }

    void onlyTheCommaThatDropsAnArmedAnswerSaysSo()
    {
        PetitionState state;
        QVERIFY(!state.keyPress(','));
        state.arm(QStringLiteral("sim"));
        QVERIFY(!state.keyPress('x'));
        QVERIFY(state.keyPress(','));
        QVERIFY(!state.keyPress(','));
    }

    void aDeliveryTellsWhatBecameOfTheArmedAnswer_data()
    {
        QTest::addColumn<bool>("arm");
        QTest::addColumn<QString>("repeated"); // the last answer, put in place by "repeat"
        QTest::addColumn<int>("outcome");
        QTest::newRow("nothing armed") << false << "sim" << int(PetitionState::Armed::None);
        QTest::newRow("the armed answer spoken")
            << true << "sim" << int(PetitionState::Armed::Spoken);
        QTest::newRow("a keyword put the last answer in its place")
            << true << "ontem" << int(PetitionState::Armed::Dropped);
        QTest::newRow("a keyword put an empty last answer in its place: a refusal")
            << true << "" << int(PetitionState::Armed::Dropped);
    }
    void aDeliveryTellsWhatBecameOfTheArmedAnswer()
    {
        QFETCH(bool, arm);
        QFETCH(QString, repeated);
        QFETCH(int, outcome);
        PetitionState state;
        if (arm)
            state.arm(QStringLiteral("sim"));
        state.repeat(repeated);
        QCOMPARE(int(state.deliver(refusal())), outcome);
        QCOMPARE(state.resposta(), repeated.isEmpty() ? refusal() : repeated);
        QCOMPARE(state.deliver(refusal()), PetitionState::Armed::None);
    }

    void anAnswerArmedWhileTheLastIsSpokenWaitsForTheNextQuestion()
    {
        PetitionState state;
        state.arm(QStringLiteral("sim"));
        QCOMPARE(state.deliver(refusal()), PetitionState::Armed::Spoken);
        state.arm(QStringLiteral("amanhã"));
        state.reset();
        QCOMPARE(state.resposta(), QStringLiteral("amanhã"));
        QCOMPARE(state.pos_pedido(), qint16(0));
        QCOMPARE(state.deliver(refusal()), PetitionState::Armed::Spoken);
        state.reset();
        QVERIFY(state.resposta().isEmpty());
    }

    // Wiring: the main window speaks the armed answer as a captured one and says so.
    void theMainWindowDeliversAnArmedAnswerAndNeverShowsIt()
    {
        Form1Fixture fx;
        fx.loaded();
        QSignalSpy delivered(fx.form.get(), &Form1::hiddenAnswerDelivered);
        QSignalSpy replaced(fx.form.get(), &Form1::capturedAnswerReplacedArmed);
        fx.form->armHiddenAnswer(QStringLiteral("zebra"));
        fx.type("vai chover");
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("vai chover"));
        fx.random.draws = { 0.0f, 0.0f, 0.0f, 0.0f };
        fx.enter();
        QVERIFY(fx.tts1().spoken.contains(QStringLiteral("zebra")));
        QVERIFY(fx.tts1().spoken.first() != QStringLiteral("zebra")); // waiting phrase first
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(replaced.size(), 0);
        QVERIFY(fx.answer() != QStringLiteral("zebra")); // spoken once, then gone
    }

    void aCommaAtTheKeyboardReplacesTheArmedAnswerAndSaysSo()
    {
        Form1Fixture fx;
        fx.loaded();
        QSignalSpy delivered(fx.form.get(), &Form1::hiddenAnswerDelivered);
        QSignalSpy replaced(fx.form.get(), &Form1::capturedAnswerReplacedArmed);
        fx.form->armHiddenAnswer(QStringLiteral("zebra"));
        fx.type(",nao.vai chover");
        QCOMPARE(replaced.size(), 1);
        fx.random.draws = { 0.0f, 0.0f, 0.0f, 0.0f };
        fx.enter();
        QVERIFY(fx.tts1().spoken.contains(QStringLiteral("nao")));
        QVERIFY(!fx.tts1().spoken.contains(QStringLiteral("zebra")));
        QCOMPARE(delivered.size(), 0);
    }

    // Wiring: with a phone listening, an uncaptured question waits for what the phone does.
    void theMainWindowWaitsForTheListeningPhone_data()
    {
        QTest::addColumn<QString>("phone");
        QTest::addColumn<bool>("refusal");
        QTest::newRow("its answer is spoken") << "answer" << false;
        QTest::newRow("its refuse button is a refusal") << "refuse" << true;
    }
    void theMainWindowWaitsForTheListeningPhone()
    {
        QFETCH(QString, phone);
        QFETCH(bool, refusal);
        Form1Fixture fx;
        fx.loaded();
        QSignalSpy asked(fx.form.get(), &Form1::questionAsked);
        QSignalSpy waiting(fx.form.get(), &Form1::phoneWaitChanged);
        QSignalSpy answered(fx.form.get(), &Form1::questionAnswered);
        fx.form->setPhonesListening(1);
        fx.type("vai chover");
        QTimer::singleShot(50, fx.form.get(), [&fx, phone] {
            if (phone == QLatin1String("answer"))
                fx.form->armHiddenAnswer(QStringLiteral("zebra"));
            else
                fx.form->refuseForPhone();
        });
        fx.enter();
        QTRY_COMPARE(answered.size(), 1);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(waiting.size(), 2);
        QCOMPARE(waiting[0][0].toBool(), true);
        QCOMPARE(waiting[1][0].toBool(), false);
        const QString last = fx.tts1().spoken.last();
        QCOMPARE(last == QStringLiteral("zebra"), !refusal);
        const LanguageTexts texts = fx.texts();
        const auto& refusals = texts.frases_recusa;
        QCOMPARE(std::find(std::begin(refusals), std::end(refusals), last) != std::end(refusals),
            refusal);
    }

    void withNoPhoneListeningThereIsNoWait()
    {
        Form1Fixture fx;
        fx.loaded();
        QSignalSpy waiting(fx.form.get(), &Form1::phoneWaitChanged);
        fx.form->setPhonesListening(1);
        fx.form->setPhonesListening(0);
        fx.type("vai chover");
        fx.enter();
        QCOMPARE(waiting.size(), 0);
    }

    void closingTheWindowEndsTheWaitAndSavesOnce()
    {
        Form1Fixture fx;
        fx.loaded();
        QSignalSpy waiting(fx.form.get(), &Form1::phoneWaitChanged);
        fx.form->setPhonesListening(1);
        fx.type("vai chover");
        QTimer::singleShot(50, fx.form.get(), [&fx] { fx.form->close(); });
        fx.enter();
        QTRY_COMPARE(waiting.size(), 2);
        QCOMPARE(fx.ended, 1);
        QVERIFY(fx.ini().contains("idioma"));
    }

    void theAudienceSeesWhatThePhoneIsShown()
    {
        Form1Fixture fx;
        fx.loaded();
        QSignalSpy shown(fx.form.get(), &Form1::petitionShown);
        fx.type(",z.vai");
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.last().first().toString(), fx.w.Text1->text());
        for (const QList<QVariant>& each : shown)
            QVERIFY2(!each.first().toString().contains(QLatin1Char('z')), "never the answer");
    }
};

QTEST_MAIN(TestArmedAnswer)
#include "test_armed_answer.moc"
