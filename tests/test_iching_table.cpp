#include "HexagramTable.h"

#include <QSet>
#include <QtTest>

class TestIchingTable : public QObject {
    Q_OBJECT

private slots:
    void codes_select_their_hexagram_data();
    void codes_select_their_hexagram();
    void malformed_codes_match_nothing_data();
    void malformed_codes_match_nothing();
    void every_six_digit_pattern_has_exactly_one_entry();
    void names_are_exact();
    void texts_have_the_advice_form();
    void only_entries_14_and_37_end_without_a_blank();
    void entry_0_means_no_hexagram();
};

void TestIchingTable::codes_select_their_hexagram_data()
{
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<int>("indice");
    QTest::addColumn<QString>("nome");
    QTest::newRow("six whole lines") << "111111" << 1 << "CH'IEN - O Criativo";
    QTest::newRow("six broken lines") << "000000" << 2 << "K'UN - O Receptivo";
    QTest::newRow("water over thunder") << "010001" << 3 << "CHUN - Dificuldade inicial";
    QTest::newRow("mountain over water") << "100010" << 4 << "MENG - A inexperiência";
    QTest::newRow("earth over heaven") << "000111" << 11 << "T'AI - A paz";
    QTest::newRow("heaven over earth") << "111000" << 12 << "PI - A estagnação";
    QTest::newRow("last of the sequence") << "101010" << 64 << "WEI CHI - Antes da conclusão";
}

void TestIchingTable::codes_select_their_hexagram()
{
    QFETCH(QString, codigo);
    QFETCH(int, indice);
    QFETCH(QString, nome);
    QCOMPARE(findHexagram(codigo), indice);
    QCOMPARE(iching_nome(indice), nome);
    QCOMPARE(iching_codigo(indice), codigo);
}

void TestIchingTable::malformed_codes_match_nothing_data()
{
    QTest::addColumn<QString>("codigo");
    QTest::newRow("empty") << "";
    QTest::newRow("five digits") << "11111";
    QTest::newRow("seven digits") << "1111111";
    QTest::newRow("twelve digits") << "000111000111";
    QTest::newRow("a two") << "111211";
    QTest::newRow("letters") << "abcdef";
    QTest::newRow("blank inside") << "111 11";
    QTest::newRow("trailing blank") << "111111 ";
}

void TestIchingTable::malformed_codes_match_nothing()
{
    QFETCH(QString, codigo);
    QCOMPARE(findHexagram(codigo), 0);
}

void TestIchingTable::every_six_digit_pattern_has_exactly_one_entry()
{
    QCOMPARE(kHexagramCount, 64);
    QSet<QString> codigos;
    for (int i = 1; i <= kHexagramCount; ++i) {
        QCOMPARE(iching_codigo(i).size(), 6);
        codigos.insert(iching_codigo(i));
    }
    QCOMPARE(codigos.size(), 64);
    for (int padrao = 0; padrao < 64; ++padrao)
        QVERIFY(codigos.contains(QStringLiteral("%1").arg(padrao, 6, 2, QLatin1Char('0'))));
}

void TestIchingTable::names_are_exact()
{
    QCOMPARE(iching_nome(13), QStringLiteral("TUNG JÊN - A Fraternidade"));
    QCOMPARE(iching_nome(28), QStringLiteral("TA KUO - O imperio dos fatos"));
    QCOMPARE(iching_nome(37), QStringLiteral("CHIA JEN - A familia"));
    QCOMPARE(iching_nome(56), QStringLiteral("LÜ - O viajante"));
    QCOMPARE(iching_nome(62), QStringLiteral("HSIAO KUO - O avanço do pequeno"));
    QCOMPARE(iching_codigo(54), QStringLiteral("001011"));
}

void TestIchingTable::texts_have_the_advice_form()
{
    for (int i = 1; i <= kHexagramCount; ++i) {
        const QString texto = iching_texto(i);
        QVERIFY2(texto.size() >= 71 && texto.size() <= 192, qPrintable(QString::number(i)));
        QVERIFY2(!texto.startsWith(QLatin1Char(' ')), qPrintable(QString::number(i)));
        QVERIFY2(!texto.contains(QLatin1String("  ")), qPrintable(QString::number(i)));
    }
    QCOMPARE(iching_texto(1),
        QStringLiteral("Você tem a força mas deve usa-la com sabedoria. O sucesso estará garantido "
                       "para aquele que souber agir criativamente e com senso de justiça. "));
    QCOMPARE(iching_texto(14),
        QStringLiteral("Apenas aquele que for suave e calmo possuirá a verdadeira força. O sucesso "
                       "será luminoso."));
    QCOMPARE(iching_texto(37),
        QStringLiteral(
            "Saber viver em família é uma virtude. Todos devem se manter iguais no afeto "
            "e no respeito mútuo. Seja compreensivo e firme."));
}

void TestIchingTable::only_entries_14_and_37_end_without_a_blank()
{
    for (int i = 1; i <= kHexagramCount; ++i) {
        const QString texto = iching_texto(i);
        if (i == 14 || i == 37) {
            QVERIFY2(texto.endsWith(QLatin1Char('.')), qPrintable(QString::number(i)));
        } else {
            QVERIFY2(texto.endsWith(QLatin1String(". ")), qPrintable(QString::number(i)));
            QVERIFY2(!texto.endsWith(QLatin1String("  ")), qPrintable(QString::number(i)));
        }
    }
}

void TestIchingTable::entry_0_means_no_hexagram()
{
    QVERIFY(iching_texto(0).isEmpty());
    QVERIFY(iching_nome(0).isEmpty());
    QVERIFY(iching_codigo(0).isEmpty());
}

QTEST_APPLESS_MAIN(TestIchingTable)
#include "test_iching_table.moc"
