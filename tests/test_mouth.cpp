#include "MouthTrack.h"
#include "PhonemeShapes.h"

#include <QMetaEnum>
#include <QtTest>

using mouth::Shape;
using Key = mouth::Track::Key;

namespace mouth {
char* toString(const Track::Key& key)
{
    return qstrdup(QByteArray::number(key.frame) + ":"
        + QMetaEnum::fromType<Shape>().valueToKey(int(key.shape)));
}
}

namespace {

struct Phoneme {
    qint64 frame;
    Shape shape;
};

}

Q_DECLARE_METATYPE(QList<Phoneme>)
Q_DECLARE_METATYPE(QList<Key>)

class TestMouth : public QObject {
    Q_OBJECT

    // Every phoneme, then the end, with nothing asked in between.
    static QList<Key> keysOf(const QList<Phoneme>& phonemes, qint64 end, int rate)
    {
        mouth::Track track(rate);
        for (const Phoneme& p : phonemes)
            track.phoneme(p.frame, p.shape);
        return track.finish(end);
    }

    static void tracks()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<QList<Phoneme>>("phonemes");
        QTest::addColumn<qint64>("end");
        QTest::addColumn<QList<Key>>("keys");
        using S = Shape;
        // At 1000 frames a second a frame is a millisecond.
        QTest::newRow("each sound long enough shows its mouth, then rest at the end")
            << 1000 << QList<Phoneme> { { 0, S::Open }, { 100, S::Wide }, { 200, S::Rounded } }
            << qint64(300)
            << QList<Key> { { 0, S::Open }, { 100, S::Wide }, { 200, S::Rounded },
                   { 300, S::Rest } };
        QTest::newRow("a sound under 40 ms keeps the mouth before it")
            << 1000 << QList<Phoneme> { { 0, S::Open }, { 100, S::Slight }, { 139, S::Wide } }
            << qint64(300) << QList<Key> { { 0, S::Open }, { 139, S::Wide }, { 300, S::Rest } };
        QTest::newRow("a sound of 40 ms is seen")
            << 1000 << QList<Phoneme> { { 0, S::Open }, { 100, S::Slight }, { 140, S::Wide } }
            << qint64(300)
            << QList<Key> { { 0, S::Open }, { 100, S::Slight }, { 140, S::Wide },
                   { 300, S::Rest } };
        QTest::newRow("a run of short sounds all merge into the mouth before them")
            << 1000
            << QList<Phoneme> { { 0, S::Open }, { 100, S::Slight }, { 120, S::Pressed },
                   { 150, S::Slight }, { 170, S::Wide } }
            << qint64(300) << QList<Key> { { 0, S::Open }, { 170, S::Wide }, { 300, S::Rest } };
        QTest::newRow("sounds with the same mouth make one change")
            << 1000
            << QList<Phoneme> { { 0, S::Open }, { 20, S::Open }, { 30, S::Open }, { 120, S::Wide } }
            << qint64(300) << QList<Key> { { 0, S::Open }, { 120, S::Wide }, { 300, S::Rest } };
        QTest::newRow("a short sound between two of one mouth leaves it unchanged")
            << 1000 << QList<Phoneme> { { 0, S::Open }, { 100, S::Pressed }, { 130, S::Open } }
            << qint64(300) << QList<Key> { { 0, S::Open }, { 300, S::Rest } };
        QTest::newRow("a short first sound leaves the mouth at rest")
            << 1000 << QList<Phoneme> { { 0, S::Slight }, { 20, S::Open } } << qint64(200)
            << QList<Key> { { 20, S::Open }, { 200, S::Rest } };
        QTest::newRow("a pause under 150 ms keeps the mouth")
            << 1000 << QList<Phoneme> { { 0, S::Open }, { 100, S::Rest }, { 249, S::Wide } }
            << qint64(400) << QList<Key> { { 0, S::Open }, { 249, S::Wide }, { 400, S::Rest } };
        QTest::newRow("a pause of 150 ms closes the mouth as it starts")
            << 1000 << QList<Phoneme> { { 0, S::Open }, { 100, S::Rest }, { 250, S::Wide } }
            << qint64(400)
            << QList<Key> { { 0, S::Open }, { 100, S::Rest }, { 250, S::Wide }, { 400, S::Rest } };
        QTest::newRow("pauses in a row count as one")
            << 1000
            << QList<Phoneme> { { 0, S::Open }, { 100, S::Rest }, { 200, S::Rest },
                   { 300, S::Wide } }
            << qint64(400)
            << QList<Key> { { 0, S::Open }, { 100, S::Rest }, { 300, S::Wide }, { 400, S::Rest } };
        QTest::newRow("the last pause closes the mouth as it starts, however short")
            << 1000 << QList<Phoneme> { { 0, S::Open }, { 100, S::Rest } } << qint64(110)
            << QList<Key> { { 0, S::Open }, { 100, S::Rest } };
        QTest::newRow("a last sound too short to see closes the mouth as it starts")
            << 1000 << QList<Phoneme> { { 0, S::Open }, { 100, S::Slight } } << qint64(120)
            << QList<Key> { { 0, S::Open }, { 100, S::Rest } };
        QTest::newRow("a text without phonemes never moves the mouth")
            << 1000 << QList<Phoneme> {} << qint64(0) << QList<Key> {};
        QTest::newRow("a text of pauses only never moves the mouth")
            << 1000 << QList<Phoneme> { { 0, S::Rest }, { 300, S::Rest } } << qint64(900)
            << QList<Key> {};
        QTest::newRow("at the voice's 22050 Hz, 881 frames are under 40 ms")
            << 22050 << QList<Phoneme> { { 0, S::Open }, { 2205, S::Slight }, { 3086, S::Wide } }
            << qint64(9000) << QList<Key> { { 0, S::Open }, { 3086, S::Wide }, { 9000, S::Rest } };
        QTest::newRow("at the voice's 22050 Hz, 882 frames are 40 ms")
            << 22050 << QList<Phoneme> { { 0, S::Open }, { 2205, S::Slight }, { 3087, S::Wide } }
            << qint64(9000)
            << QList<Key> { { 0, S::Open }, { 2205, S::Slight }, { 3087, S::Wide },
                   { 9000, S::Rest } };
    }

private slots:
    void phonemesShowTheirLanguagesMouths_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("phoneme");
        QTest::addColumn<Shape>("shape");
        const auto row
            = [](const char* name, const char* language, const char* phoneme, Shape shape) {
                  QTest::newRow(name)
                      << QString::fromUtf8(language) << QString::fromUtf8(phoneme) << shape;
              };
        row("pt: the m of mãe presses the lips", "pt-br", "m", Shape::Pressed);
        row("pt: the a of casa opens", "pt-br", "a", Shape::Open);
        row("pt: the nasal ã of mãe opens", "pt-br", "ɐ̃", Shape::Open);
        row("pt: ão opens first", "pt-br", "ɐ̃ʊ̃", Shape::Open);
        row("pt: the é of fé is wide", "pt-br", "ɛ", Shape::Wide);
        row("pt: the unstressed i of que is wide", "pt-br", "y", Shape::Wide);
        row("pt: the ei of rei is wide", "pt-br", "eɪ", Shape::Wide);
        row("pt: the ó of só is rounded", "pt-br", "ɔ", Shape::Rounded);
        row("pt: the u of tudo is pursed", "pt-br", "u", Shape::Pursed);
        row("pt: the nasal u of um is pursed", "pt-br", "ũ", Shape::Pursed);
        row("pt: the ou of pouco is pursed", "pt-br", "ou", Shape::Pursed);
        row("pt: the closing o of tudo is pursed", "pt-br", "ʊ", Shape::Pursed);
        row("pt: the f of força bites the lip", "pt-br", "f", Shape::TeethOnLip);
        row("pt: the l of leão shows the tongue", "pt-br", "l", Shape::Tongue);
        row("pt: the lh of filha shows the tongue", "pt-br", "ʎ", Shape::Tongue);
        row("pt: the nh of minha is slightly open", "pt-br", "ɲ", Shape::Slight);
        row("en: the th of thing shows the tongue", "en-us", "θ", Shape::Tongue);
        row("en: the long ee of we is wide", "en-us", "iː", Shape::Wide);
        row("en: the oo of fools is pursed", "en-us", "uː", Shape::Pursed);
        row("en: the o of go is pursed", "en-us", "oʊ", Shape::Pursed);
        row("en: the a of father opens", "en-us", "ɑː", Shape::Open);
        row("en: the i of five opens first", "en-us", "aɪ", Shape::Open);
        row("en: the r of red is rounded", "en-us", "ɹ", Shape::Rounded);
        row("en: a stressed vowel counts by its letter", "en-us", "ˈæ", Shape::Open);
        row("fr: the u of vue is pursed", "fr", "y", Shape::Pursed);
        row("fr: the ui of huit is pursed", "fr", "ɥ", Shape::Pursed);
        row("fr: the mute e of le is rounded", "fr", "ə-", Shape::Rounded);
        row("fr: the un of un is rounded", "fr", "œ̃", Shape::Rounded);
        row("fr: the an of champagne opens", "fr", "ɑ̃", Shape::Open);
        row("fr: the in of vin is wide", "fr", "ɛ̃", Shape::Wide);
        row("fr: the r of rue is slightly open", "fr", "ʁ", Shape::Slight);
        row("es: the ll of llueve shows the tongue", "es", "ʎ", Shape::Tongue);
        row("es: the d of nada shows the tongue", "es", "ð", Shape::Tongue);
        row("es: the soft b of llueve leaves the lips apart", "es", "β", Shape::Slight);
        row("es: the ch of mucho is slightly open", "es", "tʃ", Shape::Slight);
        row("es: the o of yo is rounded", "es", "o", Shape::Rounded);
        row("de: the ch of ich is wide", "de", "ç", Shape::Wide);
        row("de: the ch of ach is slightly open", "de", "x", Shape::Slight);
        row("de: the sch of schön is pursed", "de", "ʃ", Shape::Pursed);
        row("de: the tsch of Deutsch is pursed", "de", "tʃ", Shape::Pursed);
        row("de: the z of Zucker is slightly open", "de", "ts", Shape::Slight);
        row("de: the pf of Pfeffer bites the lip", "de", "pf", Shape::TeethOnLip);
        row("de: the er of Meister opens", "de", "ɜ", Shape::Open);
        row("de: the ü of Hütte is pursed", "de", "ʏ", Shape::Pursed);
        row("de: the ö of schön is rounded", "de", "øː", Shape::Rounded);
        row("de: the ö of Köln is rounded", "de", "œ", Shape::Rounded);
    }

    void phonemesShowTheirLanguagesMouths()
    {
        QFETCH(QString, language);
        QFETCH(QString, phoneme);
        QFETCH(Shape, shape);
        QCOMPARE(mouth::shapeOf(language, phoneme), shape);
    }

    void unknownNamesNeverLeaveTheMouthOpenWide_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("phoneme");
        QTest::addColumn<Shape>("shape");
        QTest::newRow("a pause") << "pt-br"
                                 << "" << Shape::Rest;
        QTest::newRow("espeak-ng's own name of a pause") << "pt-br"
                                                         << "_:" << Shape::Rest;
        QTest::newRow("a stress mark alone") << "en-us" << QString::fromUtf8("ˈ") << Shape::Rest;
        QTest::newRow("an unknown letter") << "pt-br" << QString::fromUtf8("ʕ") << Shape::Slight;
        QTest::newRow("an unknown sound of several letters")
            << "en-us" << QString::fromUtf8("ɚ") << Shape::Slight;
        QTest::newRow("an emoji") << "pt-br" << QString::fromUtf8("😀") << Shape::Slight;
        QTest::newRow("another language: the shared table")
            << "it" << QString::fromUtf8("a") << Shape::Open;
        QTest::newRow("another language's y is French u, not Portuguese i")
            << "it" << QString::fromUtf8("y") << Shape::Pursed;
        QTest::newRow("no language at all") << "" << QString::fromUtf8("m") << Shape::Pressed;
    }

    void unknownNamesNeverLeaveTheMouthOpenWide()
    {
        QFETCH(QString, language);
        QFETCH(QString, phoneme);
        QFETCH(Shape, shape);
        QCOMPARE(mouth::shapeOf(language, phoneme), shape);
    }

    void shortSoundsMergeAndPausesClose_data() { tracks(); }
    void shortSoundsMergeAndPausesClose()
    {
        QFETCH(int, rate);
        QFETCH(QList<Phoneme>, phonemes);
        QFETCH(qint64, end);
        QFETCH(QList<Key>, keys);
        QCOMPARE(keysOf(phonemes, end, rate), keys);
    }

    // As the synthesizer feeds it: sound produced in steps of 10 ms, each phoneme told up to a
    // step before its sound is produced. The same changes come out, each settled before the
    // sound it starts is handed on, and the sound is held back no more than the longest wait
    // for a proof.
    void changesAreSettledBeforeTheirSoundIsHandedOn_data() { tracks(); }
    void changesAreSettledBeforeTheirSoundIsHandedOn()
    {
        QFETCH(int, rate);
        QFETCH(QList<Phoneme>, phonemes);
        QFETCH(qint64, end);
        QFETCH(QList<Key>, keys);
        mouth::Track track(rate);
        const qint64 step = rate / 100;
        const qint64 longestHold = qint64(mouth::Track::kPauseMs) * rate / 1000;
        QList<Key> given;
        qint64 handedOn = 0;
        qsizetype next = 0;
        for (qint64 produced = step; produced < end + step; produced += step) {
            produced = std::min(produced, end);
            for (; next < phonemes.size() && phonemes[next].frame < produced + step; ++next)
                track.phoneme(phonemes[next].frame, phonemes[next].shape);
            for (const Key& key : track.takeSettled(produced)) {
                QVERIFY2(key.frame >= handedOn, "a change placed in sound already handed on");
                given << key;
            }
            const qint64 until = track.settledUntil(produced);
            QVERIFY(until >= handedOn && until <= produced);
            QVERIFY(produced - until <= longestHold);
            handedOn = until;
        }
        for (const Key& key : track.finish(end)) {
            QVERIFY(key.frame >= handedOn);
            given << key;
        }
        QCOMPARE(given, keys);
    }
};

QTEST_GUILESS_MAIN(TestMouth)
#include "test_mouth.moc"
