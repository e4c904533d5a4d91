#include "FileContents.h"
#include "NumberRule.h"
#include "ProfileFile.h"
#include "Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray blanks(int n)
{
    return QByteArray(n, ' ');
}

}

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
    QByteArray read() { return read(path()); }
    static QByteArray read(const QString& file)
    {
        QFile f(file);
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
        // 254 characters are delivered: the digit after 254 zeros is lost.
        write("[Quorvel]\nidioma=" + QByteArray(254, '0') + "3\n");
        QCOMPARE(loaded().idioma, 0);
        write("[Quorvel]\nidioma=" + QByteArray(253, '0') + "3\n");
        QCOMPARE(loaded().idioma, 3);
    }

    void theValueTextIsStrippedThenUnquoted_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("blanks and tabs around go") << QByteArray("k= \t2 \t") << QByteArray("2");
        QTest::newRow("blanks inside stay") << QByteArray("k= 6 5 ") << QByteArray("6 5");
        QTest::newRow("double quotes go, what they hold stays verbatim")
            << QByteArray("k=\" 2\"") << QByteArray(" 2");
        QTest::newRow("single quotes go") << QByteArray("k='a b'") << QByteArray("a b");
        QTest::newRow("quotes inside blanks go") << QByteArray("k=  \"7\"\t") << QByteArray("7");
        QTest::newRow("only the outer pair goes") << QByteArray("k=\"'3'\"") << QByteArray("'3'");
        QTest::newRow("a quote inside the pair stays")
            << QByteArray("k=\"a\"b\"") << QByteArray("a\"b");
        QTest::newRow("an opening quote without its closing one stays")
            << QByteArray("k=\"65") << QByteArray("\"65");
        QTest::newRow("a closing quote alone stays") << QByteArray("k=65'") << QByteArray("65'");
        QTest::newRow("different quotes are no pair") << QByteArray("k=\"3'") << QByteArray("\"3'");
        QTest::newRow("a lone quote is no pair") << QByteArray("k=\"") << QByteArray("\"");
        QTest::newRow("empty quotes leave nothing") << QByteArray("k=\"\"") << QByteArray("");
        QTest::newRow("blanks only leave nothing") << QByteArray("k=   ") << QByteArray("");
        QTest::newRow("an equals sign in the value stays")
            << QByteArray("k=a = b") << QByteArray("a = b");
        QTest::newRow("blanks around the key name do not matter")
            << QByteArray("  K \t= x") << QByteArray("x");
    }
    void theValueTextIsStrippedThenUnquoted()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, value);
        write("[s]\n" + line + "\n");
        QCOMPARE(ProfileFile::load(path()).value("s", "k"), std::optional<QByteArray>(value));
    }

    void settingsAreReadAsTheWindowsProfileFunctionsReadThem_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("values"); // vozvoz, voztom, vozvel, idioma

        // Line ends
        QTest::newRow("CR LF line ends")
            << QByteArray("[Quorvel]\r\nvozvoz=4\r\nvoztom=70\r\nvozvel=100\r\nidioma=2\r\n")
            << QList { 4, 70, 100, 2 };
        QTest::newRow("LF line ends")
            << QByteArray("[Quorvel]\nvozvoz=4\nvoztom=70\nvozvel=100\nidioma=2\n")
            << QList { 4, 70, 100, 2 };
        QTest::newRow("old Mac CR line ends are read line by line")
            << QByteArray("[Quorvel]\rvozvoz=4\rvoztom=70\rvozvel=100\ridioma=2\r")
            << QList { 4, 70, 100, 2 };
        QTest::newRow("CR, LF and CR LF mixed in one file")
            << QByteArray("[Quorvel]\r\nvozvoz=4\rvoztom=70\nvozvel=100\n\ridioma=2")
            << QList { 4, 70, 100, 2 };
        QTest::newRow("a CR before CR LF makes an empty line, not a longer one")
            << QByteArray("[Quorvel]\r\r\nidioma=3\r\r\nvozvoz=4\r\r\n") << QList { 4, 65, 91, 3 };
        QTest::newRow("a CR-only file's other sections stay apart")
            << QByteArray("[Other]\ridioma=1\r[Quorvel]\ridioma=3\r[More]\rvozvoz=9\r")
            << QList { 2, 65, 91, 3 };

        // Values
        QTest::newRow("blanks and tabs around values")
            << QByteArray("[Quorvel]\nvozvoz=\t 4 \t\nidioma=  3\n") << QList { 4, 65, 91, 3 };
        QTest::newRow("double-quoted values")
            << QByteArray("[Quorvel]\nvozvoz=\"4\"\nvoztom=\" 70\"\n") << QList { 4, 70, 91, 0 };
        QTest::newRow("single-quoted values")
            << QByteArray("[Quorvel]\nvozvoz='4'\nvozvel= '100' \n") << QList { 4, 65, 100, 0 };
        QTest::newRow("an unclosed quote stays and reads as 0")
            << QByteArray("[Quorvel]\nvoztom=\"65\n") << QList { 2, 0, 91, 0 };
        QTest::newRow("mismatched quotes stay and read as 0")
            << QByteArray("[Quorvel]\nidioma=\"3'\n") << QList { 2, 65, 91, 0 };
        QTest::newRow("empty quotes read as 0, not the default")
            << QByteArray("[Quorvel]\nvoztom=\"\"\n") << QList { 2, 0, 91, 0 };
        QTest::newRow("blanks only read as 0, not the default")
            << QByteArray("[Quorvel]\nvoztom=   \n") << QList { 2, 0, 91, 0 };
        QTest::newRow("stripping comes before the 254-character cut")
            << QByteArray("[Quorvel]\nidioma=" + blanks(300) + "3\n") << QList { 2, 65, 91, 3 };
        QTest::newRow("quoted blanks are value text and count towards the cut")
            << QByteArray("[Quorvel]\nidioma=\"" + blanks(300) + "3\"\n") << QList { 2, 65, 91, 0 };
        QTest::newRow("a quoted value of exactly 254 characters is whole")
            << QByteArray("[Quorvel]\nidioma=\"" + blanks(253) + "3\"\n") << QList { 2, 65, 91, 3 };

        // Section headers
        QTest::newRow("blanks around the name and the brackets")
            << QByteArray("  [ Quorvel ]  \nidioma=3\n") << QList { 2, 65, 91, 3 };
        QTest::newRow("a header without its closing bracket opens the section")
            << QByteArray("[Quorvel\nidioma=3\n") << QList { 2, 65, 91, 3 };
        QTest::newRow("a header without its closing bracket, with blanks after")
            << QByteArray("\t[Quorvel  \r\nidioma=3\r\n") << QList { 2, 65, 91, 3 };
        QTest::newRow("a header without its closing bracket ends the section before")
            << QByteArray("[Quorvel]\nidioma=3\n[Other\nvozvoz=4\n") << QList { 2, 65, 91, 3 };

        // Encodings
        QTest::newRow("UTF-16LE with its mark, CR LF")
            << utf16("[Quorvel]\r\nvozvoz=4\r\nvoztom=70\r\nvozvel=100\r\nidioma=2\r\n")
            << QList { 4, 70, 100, 2 };
        QTest::newRow("UTF-16LE with CR ends, quotes and a header without bracket") << utf16(
            "; notas à mão\r[ quorvel \rVOZVOZ = \"4\"\ridioma='3'") << QList { 4, 65, 91, 3 };
        QTest::newRow("UTF-16LE: a character beyond 8 bits ends a number")
            << utf16("[Quorvel]\nidioma=3€9\nvozvoz=€4\n") << QList { 0, 65, 91, 3 };
        QTest::newRow("UTF-16LE: a character beyond 8 bits never reads as a line end")
            << utf16("[Quorvel]\nidioma=3\u0a0d\u0d0avozvoz=4\n") << QList { 2, 65, 91, 3 };
        QTest::newRow("UTF-16 text without the mark is 8-bit bytes, so nothing is found")
            << utf16("[Quorvel]\r\nidioma=3\r\n").mid(2) << QList { 2, 65, 91, 0 };
        QTest::newRow("a UTF-8 mark is part of the first line, hiding a header there")
            << QByteArray("\xEF\xBB\xBF[Quorvel]\nidioma=3\n") << QList { 2, 65, 91, 0 };
        QTest::newRow("a UTF-8 mark before a comment line hides nothing")
            << QByteArray("\xEF\xBB\xBF; oracle\n[Quorvel]\nidioma=3\n") << QList { 2, 65, 91, 3 };

        // What was right before stays right
        QTest::newRow("names in any letter case")
            << QByteArray("[qUORVEL]\nVozVoz=4\nIDIOMA=1\n") << QList { 4, 65, 91, 1 };
        QTest::newRow("the first of two sections wins, whole")
            << QByteArray("[Quorvel]\nidioma=1\n[quorvel]\nidioma=2\nvozvoz=4\n")
            << QList { 2, 65, 91, 1 };
        QTest::newRow("the first of two keys wins")
            << QByteArray("[Quorvel]\nidioma=1\nidioma=2\n") << QList { 2, 65, 91, 1 };
        QTest::newRow("keys before any section belong to none")
            << QByteArray("idioma=3\n[Quorvel]\nvozvoz=4\n") << QList { 4, 65, 91, 0 };
        QTest::newRow("a line without an equals sign is no key")
            << QByteArray("[Quorvel]\nidioma\nidioma=3\n") << QList { 2, 65, 91, 3 };
        QTest::newRow("an empty file gives the defaults") << QByteArray() << QList { 2, 65, 91, 0 };
        QTest::newRow("an empty value gives 0")
            << QByteArray("[Quorvel]\nvoztom=\n") << QList { 2, 0, 91, 0 };
        QTest::newRow("a value beyond 16 bits keeps the start value 0")
            << QByteArray("[Quorvel]\nvoztom=70000\n") << QList { 2, 0, 91, 0 };
    }
    void settingsAreReadAsTheWindowsProfileFunctionsReadThem()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, values);
        write(file);
        SettingsValues v;
        QVERIFY(le_ini(v, path()));
        QCOMPARE((QList<int> { v.voz[0], v.voz[1], v.voz[2], v.idioma }), values);
    }

    void savesEditInPlaceInTheFilesOwnStyle_data()
    {
        // Every row saves voice 5, pitch 70, speed 99, language 1.
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("an empty file gets the section with LF line ends")
            << QByteArray()
            << QByteArray("[Quorvel]\nvozvoz= 5\nvoztom= 70\nvozvel= 99\nidioma= 1\n");
        QTest::newRow("a CR-only file is edited in place and new lines end with CR")
            << QByteArray("[Quorvel]\rvozvoz=3\ridioma=2\r\r[Other]\rx=1\r")
            << QByteArray(
                   "[Quorvel]\rvozvoz= 5\ridioma= 1\rvoztom= 70\rvozvel= 99\r\r[Other]\rx=1\r");
        QTest::newRow("a CR-only file without the section gets it with CR")
            << QByteArray("; note\r")
            << QByteArray("; note\r[Quorvel]\rvozvoz= 5\rvoztom= 70\rvozvel= 99\ridioma= 1\r");
        QTest::newRow("a CR LF file's unended last line gets CR LF before the append")
            << QByteArray("[Other]\r\nx=1")
            << QByteArray("[Other]\r\nx=1\r\n[Quorvel]\r\nvozvoz= 5\r\nvoztom= 70\r\nvozvel= "
                          "99\r\nidioma= 1\r\n");
        QTest::newRow("a CR file's unended last line gets CR before the append")
            << QByteArray("[Other]\rx=1")
            << QByteArray(
                   "[Other]\rx=1\r[Quorvel]\rvozvoz= 5\rvoztom= 70\rvozvel= 99\ridioma= 1\r");
        QTest::newRow("an unended key line edited in place, then ended for the next key")
            << QByteArray("[Quorvel]\r\nvozvoz=3")
            << QByteArray("[Quorvel]\r\nvozvoz= 5\r\nvoztom= 70\r\nvozvel= 99\r\nidioma= 1\r\n");
        QTest::newRow("a file of one unended line gets LF, as a new file")
            << QByteArray("; note")
            << QByteArray("; note\n[Quorvel]\nvozvoz= 5\nvoztom= 70\nvozvel= 99\nidioma= 1\n");
        QTest::newRow("in a mixed file new lines end like the lines above them")
            << QByteArray("[Other]\r\nx=1\r\n[Quorvel]\nvozvoz=3\n[Last]\ry=2\r")
            << QByteArray("[Other]\r\nx=1\r\n[Quorvel]\nvozvoz= 5\nvoztom= 70\nvozvel= 99\nidioma= "
                          "1\n[Last]\ry=2\r");
        QTest::newRow("quoted values and comments after them are replaced whole")
            << QByteArray("[Quorvel]\nvozvoz=\"3\"\nVozTom = ' 60' ; low\n")
            << QByteArray("[Quorvel]\nvozvoz= 5\nVozTom = 70\nvozvel= 99\nidioma= 1\n");
        QTest::newRow("a header without its bracket takes the new keys")
            << QByteArray("[Quorvel\nvozvoz=3\n\n[Other]\n")
            << QByteArray("[Quorvel\nvozvoz= 5\nvoztom= 70\nvozvel= 99\nidioma= 1\n\n[Other]\n");
        QTest::newRow("a UTF-8 mark hides the first header, which stays as it was")
            << QByteArray("\xEF\xBB\xBF[Quorvel]\nvozvoz=3\n")
            << QByteArray("\xEF\xBB\xBF[Quorvel]\nvozvoz=3\n[Quorvel]\nvozvoz= 5\nvoztom= "
                          "70\nvozvel= 99\nidioma= 1\n");
        QTest::newRow("a UTF-16LE file stays UTF-16LE with its mark, edited in place")
            << utf16("[Quorvel]\r\nvozvoz=3\r\nidioma=2\r\n[Outro]\r\nnome=José €\r\n")
            << utf16("[Quorvel]\r\nvozvoz= 5\r\nidioma= 1\r\nvoztom= 70\r\nvozvel= 99\r\n"
                     "[Outro]\r\nnome=José €\r\n");
        QTest::newRow("a UTF-16LE file without the section gets it in UTF-16LE")
            << utf16("; só €\r\n")
            << utf16("; só €\r\n[Quorvel]\r\nvozvoz= 5\r\nvoztom= 70\r\nvozvel= 99\r\nidioma= "
                     "1\r\n");
        QTest::newRow("a UTF-16LE file cut inside a character is completed before the append")
            << utf16("; x\r\ny") + 'A'
            << utf16("; x\r\ny") + 'A' + '\0'
                + utf16("\r\n[Quorvel]\r\nvozvoz= 5\r\nvoztom= 70\r\nvozvel= 99\r\nidioma= 1\r\n")
                      .mid(2);
        QTest::newRow("a UTF-16LE file that is only its mark")
            << utf16("") << utf16("[Quorvel]\nvozvoz= 5\nvoztom= 70\nvozvel= 99\nidioma= 1\n");
        QTest::newRow("binary bytes and NULs elsewhere stay")
            << QByteArray("x=") + '\0' + "\xff\r\n[Quorvel]\r\nidioma=2\r\n\r\n[Z]\r\n\x01\x02"
            << QByteArray("x=") + '\0'
                + "\xff\r\n[Quorvel]\r\nidioma= 1\r\nvozvoz= 5\r\nvoztom= 70\r\nvozvel= "
                  "99\r\n\r\n[Z]\r\n\x01\x02";
    }
    void savesEditInPlaceInTheFilesOwnStyle()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        write(before);
        SettingsValues v;
        v.voz[0] = 5;
        v.voz[1] = 70;
        v.voz[2] = 99;
        v.idioma = 1;
        salva_ini(v, path());
        QCOMPARE(read(), after);
        const SettingsValues back = loaded();
        QCOMPARE((QList<int> { back.voz[0], back.voz[1], back.voz[2], back.idioma }),
            (QList<int> { 5, 70, 99, 1 }));
        salva_ini(back, path());
        QCOMPARE(read(), after);
    }

    // The oracle tells the operator when it could not keep the settings: it must know.
    void aSaveSaysWhetherItWrote_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("saved");
        QTest::newRow("a file in a folder that exists") << "oraculo.ini" << true;
        QTest::newRow("a file in a folder that does not") << "missing/oraculo.ini" << false;
        QTest::newRow("a path that is a folder") << "." << false;
    }
    void aSaveSaysWhetherItWrote()
    {
        QFETCH(QString, name);
        QFETCH(bool, saved);
        SettingsValues v;
        QCOMPARE(salva_ini(v, m_dir.filePath(name)), saved);
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
