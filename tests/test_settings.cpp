#include "NumberRule.h"
#include "ProfileFile.h"
#include "Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath("oraculo.ini"); }
    void write(const QByteArray& data)
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }
    QByteArray read()
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    SettingsValues loaded()
    {
        SettingsValues v;
        le_ini(v, path());
        return v;
    }

private slots:
    void init() { QFile::remove(path()); }

    void numberRule_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("leading blank") << QByteArray(" 65") << 65.0;
        QTest::newRow("trailing letters") << QByteArray("91km") << 91.0;
        QTest::newRow("letters only") << QByteArray("abc") << 0.0;
        QTest::newRow("blank inside digits") << QByteArray("6 5") << 65.0;
        QTest::newRow("tabs and line feeds skipped") << QByteArray("\t-\n1 2") << -12.0;
        QTest::newRow("second decimal point ends it") << QByteArray("1.5.3") << 1.5;
        QTest::newRow("exponent") << QByteArray("1.5E2") << 150.0;
        QTest::newRow("lower-case exponent with sign") << QByteArray("25e-1") << 2.5;
        QTest::newRow("exponent without digits ignored") << QByteArray("7E+") << 7.0;
        QTest::newRow("hexadecimal") << QByteArray("&H1F") << 31.0;
        QTest::newRow("octal") << QByteArray("&o17") << 15.0;
        QTest::newRow("hex stops at a non-digit") << QByteArray("&HAZ") << 10.0;
        QTest::newRow("ampersand alone") << QByteArray("&12") << 0.0;
        QTest::newRow("sign alone") << QByteArray("-") << 0.0;
        QTest::newRow("point alone") << QByteArray(".") << 0.0;
        QTest::newRow("empty") << QByteArray("") << 0.0;
        QTest::newRow("NUL stops") << QByteArray("4\0"
                                                 "5",
            3) << 4.0;
    }
    void numberRule()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QCOMPARE(parseNumber(text), value);
    }

    void roundingGoesHalfToEvenAndRejectsOverflow_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expected"); // -99999: store skipped
        QTest::newRow("2.5") << QByteArray("2.5") << 2;
        QTest::newRow("3.5") << QByteArray("3.5") << 4;
        QTest::newRow("-2.5") << QByteArray("-2.5") << -2;
        QTest::newRow("max") << QByteArray("32767") << 32767;
        QTest::newRow("min") << QByteArray("-32768.5") << -32768;
        QTest::newRow("just over") << QByteArray("32767.5") << -99999;
        QTest::newRow("70000") << QByteArray("70000") << -99999;
        QTest::newRow("huge exponent") << QByteArray("1E400") << -99999;
        QTest::newRow("hex over") << QByteArray("&HFFFFF") << -99999;
    }
    void roundingGoesHalfToEvenAndRejectsOverflow()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, expected);
        const auto n = roundToInt16(parseNumber(text));
        QCOMPARE(n ? int(*n) : -99999, expected);
    }

    void missingFileGivesDefaults()
    {
        const SettingsValues v = loaded();
        QCOMPARE(v.voz[0], 2);
        QCOMPARE(v.voz[1], 65);
        QCOMPARE(v.voz[2], 91);
        QCOMPARE(v.idioma, 0);
    }

    void readRules()
    {
        // Other case for names, an empty value, a missing key, an out-of-range value, and a
        // duplicate key of which only the first counts.
        write("[other]\nvozvoz=9\n[QUORVEL]\nVOZVOZ=4\nvoztom=70000\nvozvel=\nvozvoz=7\n");
        SettingsValues v;
        v.voz[1] = 33;
        le_ini(v, path());
        QCOMPARE(v.voz[0], 4);
        QCOMPARE(v.voz[1], 33);
        QCOMPARE(v.voz[2], 0);
        QCOMPARE(v.idioma, 0);
    }

    void valueLongerThanTheBufferIsCut()
    {
        // 254 characters are delivered: the digit after 254 blanks is lost.
        write("[Quorvel]\nidioma=" + QByteArray(254, ' ') + "3\n");
        QCOMPARE(loaded().idioma, 0);
        write("[Quorvel]\nidioma=" + QByteArray(253, ' ') + "3\n");
        QCOMPARE(loaded().idioma, 3);
    }

    void freshSaveWritesExactlyFiveLines()
    {
        SettingsValues v = loaded();
        salva_ini(v, path());
        QCOMPARE(read(), QByteArray("[Quorvel]\nvozvoz= 2\nvoztom= 65\nvozvel= 91\nidioma= 0\n"));
    }

    void saveWritesNegativesAndRoundTrips()
    {
        SettingsValues v;
        v.voz[0] = 3;
        v.voz[1] = -5;
        v.voz[2] = 120;
        v.idioma = 9;
        salva_ini(v, path());
        QVERIFY(read().contains("voztom=-5\n"));
        QVERIFY(read().contains("vozvel= 120\n"));
        const SettingsValues back = loaded();
        QCOMPARE(back.voz[1], -5);
        QCOMPARE(back.voz[2], 120);
        QCOMPARE(back.idioma, 9);
    }

    void saveKeepsForeignContentByteForByte()
    {
        const QByteArray before = "; comment line\r\n"
                                  "[Other]\r\n"
                                  "vozvoz=keep me\r\n"
                                  "\r\n"
                                  "[quorvel]\r\n"
                                  "VozTom = 10 ; odd\r\n"
                                  "extra=stay\r\n"
                                  "\r\n"
                                  "[Tail]\r\n"
                                  "x=\xff\xfe binary\r\n"
                                  "no newline at end";
        write(before);
        SettingsValues v;
        v.voz[0] = 5;
        v.voz[1] = 70;
        v.voz[2] = 99;
        v.idioma = 1;
        salva_ini(v, path());
        const QByteArray after = "; comment line\r\n"
                                 "[Other]\r\n"
                                 "vozvoz=keep me\r\n"
                                 "\r\n"
                                 "[quorvel]\r\n"
                                 "VozTom = 70\r\n"
                                 "extra=stay\r\n"
                                 "vozvoz= 5\r\n"
                                 "vozvel= 99\r\n"
                                 "idioma= 1\r\n"
                                 "\r\n"
                                 "[Tail]\r\n"
                                 "x=\xff\xfe binary\r\n"
                                 "no newline at end";
        QCOMPARE(read(), after);
        salva_ini(v, path());
        QCOMPARE(read(), after);
    }

    void garbageAndHugeFilesAreSurvived()
    {
        QByteArray junk(8 * 1024 * 1024, '\0');
        for (qsizetype i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 7919) % 251);
        write(junk + "\n[Quorvel]\nidioma=2\n");
        QCOMPARE(loaded().idioma, 2);
        SettingsValues v = loaded();
        v.idioma = 3;
        salva_ini(v, path());
        const QByteArray after = read();
        QVERIFY(after.startsWith(junk));
        QVERIFY(after.endsWith("[Quorvel]\nidioma= 3\nvozvoz= 2\nvoztom= 65\nvozvel= 91\n"));
    }

    void unreadableOrDirectoryFileIsNeverOverwritten()
    {
        QVERIFY(QDir(m_dir.path()).mkdir("oraculo.ini"));
        QCOMPARE(loaded().voz[1], 65);
        salva_ini(loaded(), path());
        QVERIFY(QFileInfo(path()).isDir());
        QVERIFY(QDir(m_dir.path()).rmdir("oraculo.ini"));
    }

    void failedSaveLeavesOldFileIntact()
    {
        write("[Quorvel]\nidioma=1\n");
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        ProfileFile file = ProfileFile::load(path());
        file.setValue("Quorvel", "idioma", " 2");
        const bool saved = file.save();
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (saved)
            QSKIP("running as root: a read-only folder is still writable");
        QCOMPARE(read(), QByteArray("[Quorvel]\nidioma=1\n"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
