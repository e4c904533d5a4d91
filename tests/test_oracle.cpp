#include "ScriptedRandom.h"
#include "KeyCodes.h"
#include "Oracle.h"

#include <QtTest>

// The trick's rules without a window: a small stand-in for the petition box types keys the way
// the real box delivers them (key down, character, the box's own editing, key up).
struct Stage {
    LanguageTexts texts;
    ScriptedRandom random;
    Oracle oracle { texts, random };
    QString box;

    explicit Stage(qint16 lingua = 0) { muda_lingua(lingua, texts); }

    std::optional<Command> key(QChar ch)
    {
        const int vk = ch == QLatin1Char('\b') ? vk::Backspace
            : ch == QLatin1Char('\r')          ? vk::Enter
                                               : ch.toUpper().unicode();
        const KeyDownReply reply = oracle.keyDown(vk, box);
        if (reply.command)
            return reply.command;
        oracle.keyPress(ch);
        if (ch == QLatin1Char('\b'))
            box.chop(1);
        else
            box += ch;
        if (const auto shown = oracle.keyUp(vk, box))
            box = *shown;
        return std::nullopt;
    }

    void type(const QString& keys)
    {
        for (QChar ch : keys)
            key(ch);
    }

    Command enter() { return *key(QLatin1Char('\r')); }

    // What the phone does during a wait: "7000 answer sim" arms "sim" at 7 s, "2000 refuse"
    // presses the refuse button; events past the delivery's end happen after it.
    void phone(const QString& event)
    {
        const QStringList parts = event.split(QLatin1Char(' '));
        if (parts[1] == QLatin1String("answer"))
            oracle.arm(parts.mid(2).join(QLatin1Char(' ')));
        else
            oracle.refuseNow();
    }
    static qint64 at(const QString& event)
    {
        return event.section(QLatin1Char(' '), 0, 0).toLongLong();
    }

    // The road of one delivery on a clock moved by hand, as the window walks it.
    QStringList road(QStringList events)
    {
        QStringList road;
        if (oracle.waitingPhrase())
            road << QStringLiteral("waiting phrase");
        qint64 now = 0;
        int pulses = 0;
        while (oracle.waitsForPhone()) {
            while (!events.isEmpty() && at(events.first()) <= now)
                phone(events.takeFirst());
            const PhoneWait::Next next = oracle.waitForPhone(now);
            if (next.step == PhoneWait::Step::Pulse)
                ++pulses;
            else if (next.step == PhoneWait::Step::Wait)
                now = events.isEmpty() ? now + next.forMs
                                       : std::min(now + next.forMs, at(events.first()));
            else
                road << QStringLiteral("waited %1 ms, %2 pulses").arg(now).arg(pulses);
        }
        road << (oracle.pause() == 500 ? QStringLiteral("quick pause") : QStringLiteral("pause"));
        const QString spoken = oracle.answer();
        road << (oracle.refused() ? QStringLiteral("refusal") : spoken);
        oracle.answered();
        box = QStringLiteral(" ");
        for (const QString& late : events)
            phone(late);
        return road;
    }

    // The whole road of one answer, as the window walks it; returns what was spoken.
    QStringList deliver()
    {
        QStringList spoken;
        if (const auto phrase = oracle.waitingPhrase())
            spoken << *phrase;
        oracle.pause();
        spoken << oracle.answer();
        oracle.answered();
        box = QStringLiteral(" ");
        return spoken;
    }
};

class TestOracle : public QObject {
    Q_OBJECT

    static QString u(const char* s) { return QString::fromUtf8(s); }

private slots:
    void theQuestionDecidesWhatHappens_data()
    {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("quick");
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
            << 0 << "repita mudar voz" << int(Command::ChangeVoice) << true;
        QTest::newRow("you with repeat is quick either way")
            << 1 << "you repeat" << int(Command::Answer) << true;
        QTest::newRow("advice in English opens the consultation")
            << 1 << "any ADVICE?" << int(Command::Consult) << false;
        QTest::newRow("a word typed straight after an answer reads in its second form")
            << 0 << "r epita" << int(Command::Answer) << true;
        QTest::newRow("keywords of another language mean nothing")
            << 0 << "change voice" << int(Command::Answer) << false;
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
        QCOMPARE(stage.oracle.quickAnswer(), quick);
    }

    // A hidden answer long enough to reveal the whole petition phrase: the phrase is disguise,
    // and its "you" or "vous" must not turn every question into a quick one.
    void keywordsAreLookedForOnlyInTheQuestion_data()
    {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("quick");
        for (int lingua = 0; lingua < 4; ++lingua) {
            QTest::addRow("language %d, no keyword: the slow road", lingua)
                << lingua << " vou casar?" << false;
        }
        QTest::newRow("English, addressed in the question") << 1 << " will you?" << true;
        QTest::newRow("French, addressed in the question") << 2 << " et vous?" << true;
        QTest::newRow("Spanish, addressed in the question") << 3 << " usted sabe?" << true;
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
        QCOMPARE(stage.oracle.quickAnswer(), quick);
    }

    void anEditInsideTheDisguiseMakesItPartOfTheQuestion()
    {
        PetitionState petition;
        petition.pos_pedido = 20;
        const QString phrase = QStringLiteral("Answer Oracle - Please I beg you");
        QCOMPARE(petition.question("Answer Oracle - Plea will you?", phrase), " will you?");
        QCOMPARE(petition.question("Answer you Oracle", phrase), "you Oracle");
        petition.pos_pedido = 0;
        QCOMPARE(petition.question("Answer", phrase), "Answer");
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
            << QStringList { "Espere enquanto me concentro", "sim" } << 1000 << false;
        QTest::newRow("the longest pause")
            << ",sim. vou casar?" << QList<float> { 0.0f, 0.99999994f, 0.0f }
            << QStringList { "Vou pensar!", "sim" } << 3000 << false;
        QTest::newRow("nothing captured is refused after half a second")
            << "vou casar?" << QList<float> { 0.0f, 0.9f, 0.99f }
            << QStringList { u("Não quero mais brincar. Vá embora.") } << 500 << true;
        QTest::newRow("a single blank captured counts as nothing")
            << ", .?" << QList<float> { 0.0f, 0.9f, 0.0f }
            << QStringList { u("Você não é o meu quorvel! Não respondo.") } << 500 << true;
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
        QVERIFY(stage.oracle.petition().resposta.isEmpty());
        QCOMPARE(stage.oracle.petition().pos_pedido, qint16(0));
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
        QCOMPARE(stage.oracle.lastAnswer(), repeated);
    }

    void repeatBeforeAnyAnswerIsARefusal()
    {
        Stage stage;
        stage.type("REPITA");
        stage.enter();
        QCOMPARE(stage.deliver(), QStringList { u("Você não é o meu quorvel! Não respondo.") });
    }

    void aWindowKeywordKeepsThePendingAnswer()
    {
        Stage stage;
        stage.type(",sim. mudar voz");
        QCOMPARE(stage.enter(), Command::ChangeVoice);
        QCOMPARE(stage.oracle.petition().resposta, QStringLiteral("sim"));
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
        QCOMPARE(stage.oracle.petition().resposta, QStringLiteral("x"));
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
        s.pos_pedido = 8;
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
        QCOMPARE(s.resposta.size(), 20);
    }

    void revealStopsAtTheSixteenBitLimit()
    {
        PetitionState s;
        s.modo_secreto = CaptureMode::Capturing;
        s.pos_pedido = 32766;
        const QString phrase(40000, QLatin1Char('p'));
        QCOMPARE(s.keyUp('A', QString(), phrase)->size(), 32767);
        QCOMPARE(s.keyUp('A', QString(), phrase)->size(), 32767);
        QCOMPARE(s.pos_pedido, qint16(32767));
        s.keyPress(QLatin1Char('.'));
        QVERIFY(s.keyUp(46, "x.", phrase).has_value());
    }

    void anUncapturedQuestionWaitsForAListeningPhone_data()
    {
        QTest::addColumn<bool>("phone");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("armed");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("road");
        const QString refusal = QStringLiteral("refusal");
        QTest::newRow("a captured answer is delivered without waiting")
            << true << ",sim. vou casar?" << QString() << QStringList()
            << QStringList { "waiting phrase", "pause", "sim" };
        QTest::newRow("an armed answer is delivered without waiting")
            << true << "vou casar?"
            << "talvez" << QStringList() << QStringList { "waiting phrase", "pause", "talvez" };
        QTest::newRow("with no phone the quick refusal holds")
            << false << "vou casar?" << QString() << QStringList { "1000 answer sim" }
            << QStringList { "quick pause", refusal };
        QTest::newRow("the phone's answer in time is spoken after the usual pause")
            << true << "vou casar?" << QString() << QStringList { "7000 answer com certeza" }
            << QStringList { "waiting phrase", "waited 7000 ms, 1 pulses", "pause", "com certeza" };
        QTest::newRow("no answer within 30 s is a quick refusal")
            << true << "vou casar?" << QString() << QStringList()
            << QStringList { "waiting phrase", "waited 30000 ms, 5 pulses", "quick pause",
                   refusal };
        QTest::newRow("the refuse button refuses at once")
            << true << "vou casar?" << QString() << QStringList { "2000 refuse" }
            << QStringList { "waiting phrase", "waited 2000 ms, 0 pulses", "quick pause", refusal };
        QTest::newRow("a question to the oracle keeps the quick road")
            << true << u("você sabe?") << QString() << QStringList { "1000 answer sim" }
            << QStringList { "quick pause", refusal };
        QTest::newRow("repeat before any answer keeps the quick road")
            << true << "repita" << QString() << QStringList { "1000 answer sim" }
            << QStringList { "quick pause", refusal };
        QTest::newRow("a comma typed and left empty is no answer: the phone is waited for")
            << true << ",. vou casar?" << QString() << QStringList { "500 answer sim" }
            << QStringList { "waiting phrase", "waited 500 ms, 0 pulses", "pause", "sim" };
    }
    void anUncapturedQuestionWaitsForAListeningPhone()
    {
        QFETCH(bool, phone);
        QFETCH(QString, typed);
        QFETCH(QString, armed);
        QFETCH(QStringList, events);
        QFETCH(QStringList, road);
        Stage stage;
        stage.oracle.setPhoneListening(phone);
        if (!armed.isEmpty())
            stage.oracle.arm(armed);
        stage.type(typed);
        QCOMPARE(stage.enter(), Command::Answer);
        QCOMPARE(stage.road(events), road);
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
        QCOMPARE(stage.road({ "31000 answer tarde" }).last(), QStringLiteral("refusal"));
        stage.type(QStringLiteral("e agora?"));
        stage.enter();
        QCOMPARE(stage.road({}), (QStringList { "waiting phrase", "pause", "tarde" }));
    }

    void theRefuseButtonMeansNothingOutsideAWait()
    {
        Stage stage;
        stage.oracle.setPhoneListening(true);
        stage.oracle.refuseNow();
        stage.type(QStringLiteral("vou casar?"));
        stage.enter();
        QCOMPARE(stage.road({ "1000 answer sim" }).last(), QStringLiteral("sim"));
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
