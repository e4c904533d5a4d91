#include "EspeakEngine.h"

#include <QElapsedTimer>
#include <QMetaEnum>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// The real synthesizer against the virtual audio clock: real timing, no sound device needed.
class TestEspeakEngine : public QObject {
    Q_OBJECT

    static std::unique_ptr<EspeakEngine> fastEngine()
    {
        auto engine = std::make_unique<EspeakEngine>(AudioStream::Clock::Virtual);
        engine->set_speed(engine->speed_max());
        return engine;
    }

    static int wordsOf(const QString& text)
    {
        return int(text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
    }

    // Samples synthesized for text, waiting until it has been played.
    static qint64 samplesFor(const QString& text, int* words = nullptr)
    {
        auto engine = fastEngine();
        QSignalSpy spoken(engine.get(), &SpeechEngine::word_event);
        QSignalSpy silenced(engine.get(), &SpeechEngine::silenced);
        const qint64 before = engine->stream().queuedFrames();
        engine->speak_text(text);
        if (!silenced.wait(20000))
            return -1;
        if (words)
            *words = int(spoken.count());
        return engine->stream().queuedFrames() - before;
    }

    // What the face is told while `engine` says `text`: the shapes raised, and where playback
    // stood at each, until the engine falls silent.
    struct Mouthing {
        QList<MouthShape> shapes;
        QList<qint64> playedAt;
        bool silenced = false;
        bool restedBeforeSilence = true;
    };

    static Mouthing mouthingOf(EspeakEngine& engine, const QString& text)
    {
        Mouthing m;
        QObject context;
        connect(&engine, &SpeechEngine::mouth_shape, &context, [&](MouthShape shape) {
            m.shapes << shape;
            m.playedAt << engine.stream().playedFrames();
        });
        connect(&engine, &SpeechEngine::silenced, &context, [&] {
            m.restedBeforeSilence = m.shapes.isEmpty() || m.shapes.last() == MouthShape::Rest;
        });
        QSignalSpy silenced(&engine, &SpeechEngine::silenced);
        engine.speak_text(text);
        m.silenced = silenced.wait(20000);
        return m;
    }

private slots:
    void initTestCase()
    {
        qputenv("QUORVEL_AUDIO", "virtual");
        if (EspeakEngine().voice_count() == 0)
            QSKIP("espeak-ng data is not installed");
    }

    void theVoiceListStartsWithBrazilianPortugueseAndHasLabelsAndDetails()
    {
        EspeakEngine engine;
        QVERIFY(engine.voice_count() >= 2);
        QVERIFY(engine.voice_detail(1).startsWith(QLatin1String("pt-br")));
        QVERIFY(engine.voice_detail(2).startsWith(QLatin1String("pt-br")));
        for (int v = 1; v <= engine.voice_count(); ++v) {
            QVERIFY(!engine.voice_label(v).isEmpty());
            QVERIFY(!engine.voice_detail(v).isEmpty());
        }
        QVERIFY(engine.voice_label(0).isEmpty());
        QVERIFY(engine.voice_label(engine.voice_count() + 1).isEmpty());
    }

    void theStoredDefaultsLieInsideTheRanges()
    {
        EspeakEngine engine;
        QVERIFY(engine.pitch_min() <= 65 && 65 <= engine.pitch_max());
        QVERIFY(engine.speed_min() <= 91 && 91 <= engine.speed_max());
    }

    void invalidVoiceNumbersAreRefused_data()
    {
        QTest::addColumn<int>("voice");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("one past the last") << EspeakEngine().voice_count() + 1;
        QTest::newRow("largest 16-bit") << 32767;
    }

    void invalidVoiceNumbersAreRefused()
    {
        QFETCH(int, voice);
        auto engine = fastEngine();
        QVERIFY(engine->select_voice(2));
        QVERIFY(!engine->select_voice(voice));
        // The kept voice still speaks.
        QSignalSpy silenced(engine.get(), &SpeechEngine::silenced);
        engine->speak_text(QStringLiteral("sim"));
        QVERIFY(silenced.wait(5000));
    }

    void aSentenceRaisesOneWordEventPerWordInOrderThenFallsSilent()
    {
        const QString sentence = QStringLiteral("Eu sou o Oráculo que tudo vê e tudo sabe.");
        auto engine = fastEngine();
        QSignalSpy words(engine.get(), &SpeechEngine::word_event);
        QSignalSpy silenced(engine.get(), &SpeechEngine::silenced);

        QElapsedTimer clock;
        clock.start();
        engine->speak_text(sentence);
        QCOMPARE(engine->speaking_state(), 1);
        QVERIFY(silenced.wait(10000));

        QCOMPARE(engine->speaking_state(), 0);
        QCOMPARE(silenced.count(), 1);
        QCOMPARE(words.count(), wordsOf(sentence));
        for (int i = 1; i < words.count(); ++i)
            QVERIFY(words.at(i).at(0).toInt() > words.at(i - 1).at(0).toInt());
        // Played in real time: the words cannot all have been reported as soon as synthesized.
        const qint64 spokenMs = engine->stream().queuedFrames() * 1000 / 22050;
        QVERIFY(clock.elapsed() >= spokenMs - 50);
    }

    void noWordIsReportedBeforePlaybackReachesIt()
    {
        auto engine = fastEngine();
        QList<qint64> playedAtWord;
        connect(engine.get(), &SpeechEngine::word_event, this,
            [&] { playedAtWord << engine->stream().playedFrames(); });
        QSignalSpy silenced(engine.get(), &SpeechEngine::silenced);
        engine->speak_text(QStringLiteral("um dois três quatro cinco"));
        QVERIFY(silenced.wait(10000));
        QCOMPARE(playedAtWord.size(), 5);
        for (int i = 1; i < playedAtWord.size(); ++i)
            QVERIFY(playedAtWord.at(i) > playedAtWord.at(i - 1));
    }

    void textGivenWhileSpeakingIsQueuedAndTheStateStaysOneUntilBothEnd()
    {
        auto engine = fastEngine();
        QSignalSpy words(engine.get(), &SpeechEngine::word_event);
        QSignalSpy silenced(engine.get(), &SpeechEngine::silenced);
        engine->speak_text(QStringLiteral("primeira frase"));
        engine->speak_text(QStringLiteral("segunda frase aqui"));
        QTRY_COMPARE_WITH_TIMEOUT(words.count(), 2, 10000);
        QCOMPARE(engine->speaking_state(), 1);
        QCOMPARE(silenced.count(), 0);
        QVERIFY(silenced.wait(10000));
        QCOMPARE(words.count(), 5);
        QCOMPARE(silenced.count(), 1);
    }

    void twoInstancesSpeakAtTheSameTime()
    {
        auto tts1 = fastEngine();
        auto tts = fastEngine();
        QVERIFY(tts->select_voice(tts->voice_count()));
        QSignalSpy done1(tts1.get(), &SpeechEngine::silenced);
        QSignalSpy done(tts.get(), &SpeechEngine::silenced);
        QSignalSpy words1(tts1.get(), &SpeechEngine::word_event);
        QSignalSpy words(tts.get(), &SpeechEngine::word_event);
        tts1->speak_text(QStringLiteral("um dois três quatro cinco seis"));
        tts->speak_text(QStringLiteral("one two three four five six"));
        QTRY_VERIFY_WITH_TIMEOUT(words1.count() >= 2 && words.count() >= 2, 10000);
        QCOMPARE(tts1->speaking_state(), 1);
        QCOMPARE(tts->speaking_state(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(done1.count() == 1 && done.count() == 1, 10000);
        QCOMPARE(words1.count(), 6);
        QCOMPARE(words.count(), 6);
    }

    void anEmptyTextFallsSilentWithoutWords()
    {
        auto engine = fastEngine();
        QSignalSpy words(engine.get(), &SpeechEngine::word_event);
        QSignalSpy silenced(engine.get(), &SpeechEngine::silenced);
        engine->speak_text(QString());
        QVERIFY(silenced.wait(5000));
        QCOMPARE(engine->speaking_state(), 0);
        QCOMPARE(words.count(), 0);
    }

    void aTenThousandCharacterTextIsSynthesizedAndCanBeDroppedMidSpeech()
    {
        QString text;
        while (text.size() < 10000)
            text += QStringLiteral("O oráculo vê tudo e sabe tudo. ");
        text.truncate(10000);
        auto engine = fastEngine();
        engine->speak_text(text);
        // Over a minute of speech at the fastest speed; synthesis itself takes well under that.
        const qint64 aMinute = 60 * 22050;
        QTRY_VERIFY_WITH_TIMEOUT(engine->stream().queuedFrames() > aMinute, 20000);
        QCOMPARE(engine->speaking_state(), 1);
        engine.reset();
    }

    void everyBlankSeparatedWordRaisesExactlyOneEvent_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("lone dash") << QStringLiteral("Vou pensar - agora");
        QTest::newRow("numbers") << QStringLiteral("um 2 três 40 cinco");
        QTest::newRow("trailing punctuation")
            << QStringLiteral("Até logo. Vejo você no inferno...");
        QTest::newRow("extra blanks") << QStringLiteral("  Medite   sôbre estas palavras ");
        QTest::newRow("English words") << QStringLiteral("one two three four five six");
    }

    void everyBlankSeparatedWordRaisesExactlyOneEvent()
    {
        QFETCH(QString, text);
        int words = 0;
        QVERIFY(samplesFor(text, &words) > 0);
        QCOMPARE(words, wordsOf(text));
    }

    void theMouthMovesWithTheVoiceAndRestsBeforeSilence()
    {
        // At an everyday speed, where most sounds last long enough to be seen.
        EspeakEngine engine(AudioStream::Clock::Virtual);
        engine.set_speed(175);
        const Mouthing m = mouthingOf(engine, QStringLiteral("Você sabe tudo, filho de um leão."));
        QVERIFY(m.silenced);
        QVERIFY2(m.shapes.size() >= 8, qPrintable(QString::number(m.shapes.size())));
        QVERIFY(m.restedBeforeSilence);
        for (MouthShape shape : { MouthShape::Open, MouthShape::Wide, MouthShape::Pursed,
                 MouthShape::TeethOnLip, MouthShape::Tongue, MouthShape::Pressed })
            QVERIFY2(
                m.shapes.contains(shape), QMetaEnum::fromType<MouthShape>().valueToKey(int(shape)));
        for (qsizetype i = 1; i < m.shapes.size(); ++i) {
            QVERIFY(m.shapes[i] != m.shapes[i - 1]);
            // Told as the sound plays, not all at once when synthesized.
            QVERIFY(m.playedAt[i] >= m.playedAt[i - 1]);
        }
        QVERIFY(m.playedAt.last() - m.playedAt.first() > engine.stream().sampleRate() / 2);
    }

    void textsWithoutSpeechNeverLeaveTheMouthOpen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << QString();
        QTest::newRow("digits only") << QStringLiteral("0123456789");
        QTest::newRow("punctuation only") << QStringLiteral("...!?;,-");
        QTest::newRow("emoji") << QString::fromUtf8("😀🔮👁");
        QTest::newRow("200 of one letter") << QString(200, QLatin1Char('a'));
        QTest::newRow("markup") << QStringLiteral("<speak>[[]]</speak>");
    }

    void textsWithoutSpeechNeverLeaveTheMouthOpen()
    {
        QFETCH(QString, text);
        auto engine = fastEngine();
        const Mouthing m = mouthingOf(*engine, text);
        QVERIFY(m.silenced);
        QVERIFY(m.restedBeforeSilence);
    }

    void everyVoiceEndsWithTheMouthAtRest()
    {
        auto engine = fastEngine();
        for (int voice = 1; voice <= engine->voice_count(); ++voice) {
            QVERIFY(engine->select_voice(voice));
            const Mouthing m = mouthingOf(*engine, QStringLiteral("Olá, bom dia."));
            QVERIFY2(m.silenced && m.restedBeforeSilence, qPrintable(engine->voice_detail(voice)));
            QVERIFY2(m.shapes.size() >= 2,
                qPrintable(engine->voice_detail(voice)
                    + QStringLiteral(": %1 shapes").arg(m.shapes.size())));
        }
    }

    void markupAndPhonemeBracketsAreSpokenAsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ifInterpreted");
        QTest::newRow("tags") << QStringLiteral("eu <b>x</b> sou") << QStringLiteral("eu x sou");
        QTest::newRow("phonemes") << QStringLiteral("[[k'a:z@]]") << QStringLiteral("kaza");
    }

    void markupAndPhonemeBracketsAreSpokenAsText()
    {
        QFETCH(QString, text);
        QFETCH(QString, ifInterpreted);
        const qint64 literal = samplesFor(text);
        const qint64 interpreted = samplesFor(ifInterpreted);
        QVERIFY(interpreted > 0);
        QVERIFY2(literal > interpreted * 7 / 5,
            qPrintable(QStringLiteral("%1 samples against %2").arg(literal).arg(interpreted)));
    }
};

QTEST_MAIN(TestEspeakEngine)
#include "test_espeak_engine.moc"
