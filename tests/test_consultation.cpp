#include "Consultation.h"
#include "HexagramTable.h"

#include <QtTest>

using Display = Consultation::Display;

Q_DECLARE_METATYPE(Consultation::Display)

namespace {

// A consultation whose window is open, showing the reading of hexagram `indice` with its first
// `words` words revealed.
Consultation showing(int indice, int words = 0)
{
    Consultation consultation;
    consultation.open();
    consultation.select(iching_codigo(indice));
    for (int k = 0; k < words; ++k)
        consultation.nextWord();
    return consultation;
}

}

class TestConsultation : public QObject {
    Q_OBJECT

private slots:
    void a_new_consultation_shows_nothing();
    void a_cast_selects_its_hexagram_and_restarts_the_display_data();
    void a_cast_selects_its_hexagram_and_restarts_the_display();
    void words_are_revealed_one_at_a_time_data();
    void words_are_revealed_one_at_a_time();
    void the_display_runs_only_for_a_reading_while_the_window_is_open_data();
    void the_display_runs_only_for_a_reading_while_the_window_is_open();
    void the_advice_keyword_again_only_restarts_the_display();
    void closing_forgets_the_reading();
};

void TestConsultation::a_new_consultation_shows_nothing()
{
    Consultation consultation;
    QCOMPARE(consultation.iching_indice(), 0);
    QCOMPARE(consultation.iching_posicao(), 1);
    QVERIFY(!consultation.iching_ativo());
    QVERIFY(consultation.name().isEmpty());
    QVERIFY(consultation.advice().isEmpty());
    QCOMPARE(consultation.nextWord(), Display::Off);
}

void TestConsultation::a_cast_selects_its_hexagram_and_restarts_the_display_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<int>("indice");
    QTest::newRow("a first cast") << 0 << "000111" << 11;
    QTest::newRow("a second cast replaces the first") << 37 << "111000" << 12;
    QTest::newRow("a code of seven digits keeps the last reading") << 37 << "1111111" << 37;
    QTest::newRow("a code of five digits keeps the last reading") << 14 << "11111" << 14;
    QTest::newRow("an empty code keeps the last reading") << 1 << "" << 1;
    QTest::newRow("a bad first cast selects nothing") << 0 << "111211" << 0;
}

void TestConsultation::a_cast_selects_its_hexagram_and_restarts_the_display()
{
    QFETCH(int, before);
    QFETCH(QString, codigo);
    QFETCH(int, indice);
    Consultation consultation = showing(before, 8);
    consultation.select(codigo);
    QCOMPARE(consultation.iching_indice(), indice);
    QCOMPARE(consultation.iching_posicao(), 1);
    QCOMPARE(consultation.name(), iching_nome(indice));
    QCOMPARE(consultation.advice(), iching_texto(indice));
    QVERIFY(consultation.revealed().isEmpty());
}

void TestConsultation::words_are_revealed_one_at_a_time_data()
{
    QTest::addColumn<int>("indice");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("entry 1 keeps its trailing blank")
        << 1 << QStringList { "Você ", "Você tem ", "Você tem a ", "Você tem a força " }
        << "e com senso de justiça. ";
    QTest::newRow("entry 14 ends on its full stop")
        << 14 << QStringList { "Apenas ", "Apenas aquele " } << "O sucesso será luminoso.";
    QTest::newRow("entry 37 ends on its full stop")
        << 37 << QStringList { "Saber ", "Saber viver " } << "Seja compreensivo e firme.";
}

void TestConsultation::words_are_revealed_one_at_a_time()
{
    QFETCH(int, indice);
    QFETCH(QStringList, first);
    QFETCH(QString, last);
    Consultation consultation = showing(indice);
    const QString texto = iching_texto(indice);
    QStringList shown;
    const qsizetype words = texto.split(QLatin1Char(' '), Qt::SkipEmptyParts).size();
    for (qsizetype k = 0; k < words; ++k) {
        QCOMPARE(consultation.nextWord(), Display::Grown);
        shown << consultation.revealed();
    }
    QCOMPARE(shown.mid(0, first.size()), first);
    QVERIFY(shown.last().endsWith(last));
    QCOMPARE(shown.last(), texto);
    QCOMPARE(consultation.iching_posicao(), texto.size() + 1);
    QCOMPARE(consultation.nextWord(), Display::Unchanged);
    QCOMPARE(consultation.revealed(), texto);
    QCOMPARE(consultation.iching_posicao(), texto.size() + 1);
}

void TestConsultation::the_display_runs_only_for_a_reading_while_the_window_is_open_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<int>("words");
    QTest::addColumn<Display>("display");
    QTest::newRow("a reading while open grows") << true << "111111" << 0 << Display::Grown;
    QTest::newRow("a whole advice stays as it is") << true << "101111" << 16 << Display::Unchanged;
    QTest::newRow("no reading selected") << true << "" << 0 << Display::Off;
    QTest::newRow("a cast that named nothing") << true << "0101010" << 0 << Display::Off;
    QTest::newRow("instruction not yet spoken") << false << "111111" << 0 << Display::Off;
}

void TestConsultation::the_display_runs_only_for_a_reading_while_the_window_is_open()
{
    QFETCH(bool, open);
    QFETCH(QString, codigo);
    QFETCH(int, words);
    QFETCH(Display, display);
    Consultation consultation;
    if (open)
        consultation.open();
    consultation.select(codigo);
    for (int k = 0; k < words; ++k)
        consultation.nextWord();
    const int posicao = consultation.iching_posicao();
    QCOMPARE(consultation.nextWord(), display);
    QCOMPARE(consultation.iching_posicao() != posicao, display == Display::Grown);
}

// Asking for advice while the window is open reloads nothing: the reading stays selected and
// the display goes on from the first word.
void TestConsultation::the_advice_keyword_again_only_restarts_the_display()
{
    Consultation consultation = showing(1, 3);
    QCOMPARE(consultation.revealed(), QStringLiteral("Você tem a "));
    consultation.start();
    QCOMPARE(consultation.iching_posicao(), 1);
    QCOMPARE(consultation.iching_indice(), 1);
    QVERIFY(consultation.iching_ativo());
    QCOMPARE(consultation.nextWord(), Display::Grown);
    QCOMPARE(consultation.revealed(), QStringLiteral("Você "));
}

void TestConsultation::closing_forgets_the_reading()
{
    Consultation consultation = showing(11, 4);
    consultation.close();
    QCOMPARE(consultation.iching_indice(), 0);
    QCOMPARE(consultation.iching_posicao(), 1);
    QVERIFY(!consultation.iching_ativo());
    QVERIFY(consultation.name().isEmpty());
    QCOMPARE(consultation.nextWord(), Display::Off);
}

QTEST_APPLESS_MAIN(TestConsultation)
#include "test_consultation.moc"
