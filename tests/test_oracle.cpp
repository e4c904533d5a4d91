#include "RecordingStage.h"

#include <QtTest>

// The model's rules; an answer is delivered on the real road, written down.
struct Stage : TypedOracle {
    using TypedOracle::TypedOracle;

    // What one delivery says; the steps of one delivery, the phone's events meanwhile.
    QStringList deliver() { return spokenIn(walk(*this)); }
    QStringList road(const QStringList& events = QStringList()) { return walk(*this, events); }
    bool quick() { return road().contains(QStringLiteral("quick pause")); }
};

class TestOracle : public QObject {
    Q_OBJECT

    static QString u(const char* s) { return QString::fromUtf8(s); }

    // A capture that has shown `n` characters of a petition phrase and collected nothing.
    static void reveal(PetitionState& s, int n)
    {
        s.keyPress(QLatin1Char(','));
        for (int i = 0; i < n; ++i)
            s.keyUp('A', QString(), QStringLiteral("p"));
    }

private slots:
    void theQuestionDecidesWhatHappens_data()
    {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("quick"); // for an answer: on the quick road
        QTest::newRow("a plain question is answered the slow way")
            << 0 << ",sim. vou casar?" << int(Command::Answer) << false;
        QTest::newRow("addressing the oracle with an accent gives the quick road")
            << 0 << u(",sim. VOCÊ sabe?") << int(Command::Answer) << true;
        QTest::newRow("addressing the oracle without the accent too")
            << 0 << ",sim. e voce?" << int(Command::Answer) << true;
        QTest::newRow("exit wins over the voice window")
            << 0 << "mudar voz e exit" << int(Command::Exit) << false;
        QTest::newRow("exit wins over the consultation")
            << 0 << "conselho exit" << int(Command::Exit) << false;
        QTest::newRow("exit counts inside a longer word")
            << 3 << "nexit" << int(Command::Exit) << false;
        QTest::newRow("the voice window wins over the consultation")
            << 0 << "conselho e mudar voz" << int(Command::ChangeVoice) << false;
        QTest::newRow("repeat with the voice window opens the window")
            << 0 << "repita mudar voz" << int(Command::ChangeVoice) << false;
        QTest::newRow("you with repeat is quick either way")
            << 1 << ",sim. you repeat" << int(Command::Answer) << true;
        QTest::newRow("advice in English opens the consultation")
            << 1 << "any ADVICE?" << int(Command::Consult) << false;
        QTest::newRow("a word typed straight after an answer reads in its second form")
            << 0 << ",sim. r epita" << int(Command::Answer) << true;
        QTest::newRow("keywords of another language mean nothing")
            << 0 << ",sim. change voice" << int(Command::Answer) << false;
    }
    void theQuestionDecidesWhatHappens()
    {
        QFETCH(int, lingua);
        QFETCH(QString, typed);
        QFETCH(int, command);
        QFETCH(bool, quick);
        Stage stage { qint16(lingua) };
        stage.type(typed);
        QCOMPARE(int(stage.enter()), command);
        if (command == int(Command::Answer))
            QCOMPARE(stage.quick(), quick);
    }

    // A hidden answer long enough to reveal the whole petition phrase: the phrase is disguise,
    // and its "you" or "vous" must not turn every question into a quick one.
    void keywordsAreLookedForOnlyInTheQuestion_data()
    {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("quick");
        for (int lingua = 0; lingua < int(languageCount()); ++lingua) {
            QTest::addRow("language %d, no keyword: the slow road", lingua)
                << lingua << " vou casar?" << false;
        }
        QTest::newRow("English, addressed in the question") << 1 << " will you?" << true;
        QTest::newRow("French, addressed in the question") << 2 << " et vous?" << true;
        QTest::newRow("Spanish, addressed in the question") << 3 << " usted sabe?" << true;
        QTest::newRow("German, addressed in the question") << 4 << " weißt du es?" << true;
    }
    void keywordsAreLookedForOnlyInTheQuestion()
    {
        QFETCH(int, lingua);
        QFETCH(QString, question);
        QFETCH(bool, quick);
        Stage stage { qint16(lingua) };
        stage.type(QLatin1Char(',') + QString(60, QLatin1Char('y')) + QLatin1Char('.'));
        QVERIFY(stage.box.startsWith(stage.texts.frase_pedido));
        stage.type(question);
        QCOMPARE(stage.enter(), Command::Answer);
        QCOMPARE(stage.quick(), quick);
    }

    void anEditInsideTheDisguiseMakesItPartOfTheQuestion()
    {
        PetitionState petition;
        reveal(petition, 20);
        const QString phrase = QStringLiteral("Answer Oracle - Please I beg you");
        QCOMPARE(petition.question("Answer Oracle - Plea will you?", phrase), " will you?");
        QCOMPARE(petition.question("Answer you Oracle", phrase), "you Oracle");
        QCOMPARE(PetitionState().question("Answer", phrase), "Answer");
    }

    void theRoadOfAnAnswer_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<float>>("draws"); // r, then pause, then k
        QTest::addColumn<QStringList>("spoken");
        QTest::addColumn<int>("pause");
        QTest::addColumn<bool>("refused");
        QTest::newRow("a captured answer comes after a waiting phrase")
            << ",sim. vou casar?" << QList<float> { 0.5f, 0.0f, 0.0f }
            << QStringList { "Espere enquanto me concentro", "sim" } << Oracle::kShortestPauseMs
            << false;
        QTest::newRow("the longest pause")
            << ",sim. vou casar?" << QList<float> { 0.0f, 0.99999994f, 0.0f }
            << QStringList { "Vou pensar!", "sim" } << Oracle::kLongestPauseMs << false;
        QTest::newRow("nothing captured is refused after the quick pause")
            << "vou casar?" << QList<float> { 0.0f, 0.9f, 0.99f }
            << QStringList { u("Não quero mais brincar. Vá embora.") } << Oracle::kQuickPauseMs
            << true;
        QTest::newRow("a single blank captured counts as nothing")
            << ", .?" << QList<float> { 0.0f, 0.9f, 0.0f }
            << QStringList { u("Você não é o meu quorvel! Não respondo.") } << Oracle::kQuickPauseMs
            << true;
        QTest::newRow("Backspace edits what is spoken")
            << ",naoo\b. e?" << QList<float> { 0.0f, 0.5f, 0.0f }
            << QStringList { "Vou pensar!", "nao" } << 2000 << false;
    }
    void theRoadOfAnAnswer()
    {
        QFETCH(QString, typed);
        QFETCH(QList<float>, draws);
        QFETCH(QStringList, spoken);
        QFETCH(int, pause);
        QFETCH(bool, refused);
        Stage stage;
        stage.type(typed);
        stage.random.draws = draws;
        QCOMPARE(stage.enter(), Command::Answer);
        QStringList said;
        if (const auto phrase = stage.oracle.waitingPhrase())
            said << *phrase;
        QCOMPARE(stage.oracle.pause(), pause);
        said << stage.oracle.answer();
        QCOMPARE(said, spoken);
        QCOMPARE(stage.oracle.refused(), refused);
        stage.oracle.answered();
        QVERIFY(stage.oracle.petition().resposta().isEmpty());
        QCOMPARE(stage.oracle.petition().pos_pedido(), qint16(0));
    }

    void repeatSaysTheLastThingSpokenQuickly_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("repeated");
        QTest::newRow("after an answer, the answer")
            << QStringLiteral(",Sim, claro.") << QStringLiteral("Sim claro");
        QTest::newRow("after a refusal, that refusal")
            << QStringLiteral("?") << u("Sei a resposta mas não falo para você.");
    }
    void repeatSaysTheLastThingSpokenQuickly()
    {
        QFETCH(QString, first);
        QFETCH(QString, repeated);
        Stage stage;
        stage.random.fallback = 0.2f; // k = 1
        stage.type(first);
        stage.enter();
        stage.deliver();
        stage.type("repita");
        QCOMPARE(stage.enter(), Command::Answer);
        QCOMPARE(stage.deliver(), QStringList { repeated });
    }

    void repeatBeforeAnyAnswerIsARefusal()
    {
        Stage stage;
        stage.type("REPITA");
        stage.enter();
        QCOMPARE(stage.deliver(), QStringList { u("Você não é o meu quorvel! Não respondo.") });
    }

    // What stops the blinking is the words spoken, whatever road they came by: the refusal drawn
    // for this answer, and nothing else.
    void theFaceStopsBlinkingOnlyForTheRefusalDrawn_data()
    {
        QTest::addColumn<QString>("before"); // a question answered first, with k = 5
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("armed");
        QTest::addColumn<float>("k");
        QTest::addColumn<bool>("refused");
        QTest::newRow("nothing captured: the refusal drawn")
            << QString() << "vou casar?" << QString() << 0.99f << true;
        QTest::newRow("a captured answer") << QString() << ",sim. ?" << QString() << 0.99f << false;
        QTest::newRow("an answer typed in the words of the refusal drawn")
            << QString() << ",nao sei. ?" << QString() << 0.99f << true;
        QTest::newRow("an answer typed in the words of another refusal")
            << QString() << ",nao sei. ?" << QString() << 0.0f << false;
        QTest::newRow("an armed answer in the words of the refusal drawn")
            << QString() << "?"
            << "nao sei" << 0.99f << true;
        QTest::newRow("an armed answer in the words of another refusal")
            << QString() << "?"
            << "nao sei" << 0.0f << false;
        QTest::newRow("a refusal repeated under the same draw")
            << "?"
            << "repita" << QString() << 0.99f << true;
        QTest::newRow("a refusal repeated under another draw")
            << "?"
            << "repita" << QString() << 0.0f << false;
    }
    void theFaceStopsBlinkingOnlyForTheRefusalDrawn()
    {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, armed);
        QFETCH(float, k);
        QFETCH(bool, refused);
        Stage stage;
        // A last refusal that can be typed: a full stop would end the capture.
        stage.texts.frases_recusa[5] = QStringLiteral("nao sei");
        if (!before.isEmpty()) {
            stage.type(before);
            stage.random.draws = { 0.0f, 0.0f, 0.99f };
            stage.enter();
            stage.deliver();
        }
        if (!armed.isEmpty())
            stage.oracle.arm(armed);
        stage.type(typed);
        stage.random.draws = { 0.0f, 0.0f, k };
        QCOMPARE(stage.enter(), Command::Answer);
        QCOMPARE(stage.road().contains(QStringLiteral("show the refusal")), refused);
    }

    void repeatWithAWindowKeywordArmsTheLastAnswer()
    {
        Stage stage;
        stage.type(",sim.");
        stage.enter();
        stage.deliver();
        stage.type("repita mudar voz");
        QCOMPARE(stage.enter(), Command::ChangeVoice);
        QCOMPARE(stage.oracle.petition().resposta(), QStringLiteral("sim"));
        stage.box = QStringLiteral(" ");
        stage.enter();
        QCOMPARE(stage.deliver().last(), QStringLiteral("sim"));
    }

    // The clock re-seeds the draws at each key pressed and twice in each answer, before the pause
    // and before the refusal; everything else draws on from there.
    void theDrawsAreReseededAtTheKeyThePauseAndTheAnswer_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("reseeds");
        QTest::newRow("a key pressed") << "key down" << 1;
        QTest::newRow("the character it produces") << "key press" << 0;
        QTest::newRow("its release") << "key up" << 0;
        QTest::newRow("the waiting phrase") << "waiting phrase" << 0;
        QTest::newRow("the wait for the phone") << "phone wait" << 0;
        QTest::newRow("the pause") << "pause" << 1;
        QTest::newRow("the answer") << "answer" << 1;
        QTest::newRow("the box's reset") << "answered" << 0;
        QTest::newRow("a hot spot") << "hot spot" << 0;
    }
    void theDrawsAreReseededAtTheKeyThePauseAndTheAnswer()
    {
        QFETCH(QString, step);
        QFETCH(int, reseeds);
        Stage stage;
        stage.oracle.setPhoneListening(true);
        stage.type(QStringLiteral("vou casar?"));
        stage.enter();
        const int before = stage.random.reseeds;
        if (step == QLatin1String("key down"))
            stage.oracle.keyDown('A', stage.box);
        else if (step == QLatin1String("key press"))
            stage.oracle.keyPress(QLatin1Char('a'));
        else if (step == QLatin1String("key up"))
            stage.oracle.keyUp('A', stage.box);
        else if (step == QLatin1String("waiting phrase"))
            stage.oracle.waitingPhrase();
        else if (step == QLatin1String("phone wait")) {
            stage.oracle.waitingPhrase();
            stage.oracle.waitForPhone(0);
        } else if (step == QLatin1String("pause"))
            stage.oracle.pause();
        else if (step == QLatin1String("answer"))
            stage.oracle.answer();
        else if (step == QLatin1String("answered"))
            stage.oracle.answered();
        else
            stage.oracle.hotSpot(Spot::Eyes, false);
        QCOMPARE(stage.random.reseeds - before, reseeds);
    }

    void aWindowKeywordKeepsThePendingAnswer()
    {
        Stage stage;
        stage.type(",sim. mudar voz");
        QCOMPARE(stage.enter(), Command::ChangeVoice);
        QCOMPARE(stage.oracle.petition().resposta(), QStringLiteral("sim"));
        stage.box = QStringLiteral("Resp");
        stage.enter();
        QCOMPARE(stage.deliver().last(), QStringLiteral("sim"));
    }

    void captureStaysOnAfterAnAnswerDeliveredWithoutAFullStop()
    {
        Stage stage;
        stage.type(",ok");
        stage.enter();
        stage.deliver();
        stage.type("x");
        QCOMPARE(stage.oracle.petition().resposta(), QStringLiteral("x"));
        QCOMPARE(stage.box, QStringLiteral("R"));
    }

    void theKeyClick_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("vk");
        QTest::addColumn<bool>("click");
        QTest::newRow("a letter clicks") << QString() << int('A') << true;
        QTest::newRow("Space is silent outside capture") << QString() << int(vk::Space) << false;
        QTest::newRow("Shift is silent outside capture") << QString() << int(vk::Shift) << false;
        QTest::newRow("Space clicks while capturing") << "," << int(vk::Space) << true;
        QTest::newRow("Shift clicks while capturing") << "," << int(vk::Shift) << true;
    }
    void theKeyClick()
    {
        QFETCH(QString, before);
        QFETCH(int, vk);
        QFETCH(bool, click);
        Stage stage;
        stage.type(before);
        QCOMPARE(stage.oracle.keyDown(vk, stage.box).click, click);
    }

    void hotSpotsSpeakOnceUntilReArmed()
    {
        Stage stage;
        QCOMPARE(stage.oracle.hotSpot(Spot::Eyes, true), std::nullopt);
        QCOMPARE(stage.oracle.hotSpot(Spot::Eyes, false), stage.texts.frase_olhos);
        QCOMPARE(stage.oracle.hotSpot(Spot::Death, false), std::nullopt);
        stage.oracle.rearm();
        QCOMPARE(stage.oracle.hotSpot(Spot::Death, false), stage.texts.frase_morte);
        stage.oracle.rearm();
        QCOMPARE(stage.oracle.hotSpot(Spot::Eye, false), stage.texts.frase_olho);
    }

    void aFullStopBecomesTheNextPetitionCharacterOrVanishesPastTheEnd()
    {
        PetitionState s;
        s.keyPress(QLatin1Char('.'));
        QCOMPARE(s.keyUp(46, "quem.", QStringLiteral("Responda")).value(), QStringLiteral("quemR"));
        reveal(s, 7);
        QCOMPARE(s.pos_pedido(), qint16(8));
        s.keyPress(QLatin1Char('.'));
        QCOMPARE(s.keyUp(46, "quem.", QStringLiteral("Responda")).value(), QStringLiteral("quem"));
    }

    void moreKeysThanThePhraseKeepShowingItWhole()
    {
        PetitionState s;
        s.keyPress(QLatin1Char(','));
        for (int i = 0; i < 20; ++i) {
            s.keyPress(QLatin1Char('x'));
            QCOMPARE(s.keyUp('X', QString(), "Abc").value(), QString("Abc").left(i + 1));
        }
        QCOMPARE(s.resposta().size(), 20);
    }

    void revealStopsAtTheSixteenBitLimit()
    {
        PetitionState s;
        reveal(s, 32766);
        const QString phrase(40000, QLatin1Char('p'));
        QCOMPARE(s.keyUp('A', QString(), phrase)->size(), 32767);
        QCOMPARE(s.keyUp('A', QString(), phrase)->size(), 32767);
        QCOMPARE(s.pos_pedido(), qint16(32767));
        s.keyPress(QLatin1Char('.'));
        QVERIFY(s.keyUp(46, "x.", phrase).has_value());
    }

    void keywordsWinOverWaitingForThePhone_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("command");
        QTest::newRow("exit") << "exit" << int(Command::Exit);
        QTest::newRow("the voice window") << "mudar voz" << int(Command::ChangeVoice);
        QTest::newRow("advice") << "conselho" << int(Command::Consult);
    }
    void keywordsWinOverWaitingForThePhone()
    {
        QFETCH(QString, question);
        QFETCH(int, command);
        Stage stage;
        stage.oracle.setPhoneListening(true);
        stage.type(question);
        QCOMPARE(int(stage.enter()), command);
    }

    void anAnswerTooLateIsKeptForTheNextQuestion()
    {
        Stage stage;
        stage.oracle.setPhoneListening(true);
        stage.type(QStringLiteral("vou casar?"));
        stage.enter();
        QVERIFY(!stage.deliver().contains(QStringLiteral("tarde")));
        stage.oracle.arm(QStringLiteral("tarde"));
        stage.type(QStringLiteral("e agora?"));
        stage.enter();
        QCOMPARE(stage.deliver().last(), QStringLiteral("tarde"));
    }

    void theRefuseButtonMeansNothingOutsideAWait()
    {
        Stage stage;
        stage.oracle.setPhoneListening(true);
        stage.oracle.refuseNow();
        stage.type(QStringLiteral("vou casar?"));
        stage.enter();
        QVERIFY(stage.road({ "1000 answer sim" }).contains(QStringLiteral("speak sim")));
    }

    void aLanguageOutsideTheTablesRevealsNothingAndMatchesNothing()
    {
        Stage stage(9);
        stage.type(",abc.exit");
        QCOMPARE(stage.box, QStringLiteral("exit"));
        QCOMPARE(stage.enter(), Command::Answer);
    }
};

QTEST_GUILESS_MAIN(TestOracle)
#include "test_oracle.moc"
