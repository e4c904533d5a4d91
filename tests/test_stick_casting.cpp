#include "HexagramTable.h"
#include "ScriptedRandom.h"
#include "StickCasting.h"

#include <QSet>
#include <QtTest>

namespace {

// A draw that picks stick n.
float draw(int n)
{
    return (static_cast<float>(n) + 0.5f) / 12.0f;
}

QList<float> draws(std::initializer_list<int> sticks)
{
    QList<float> result;
    for (int n : sticks)
        result << draw(n);
    return result;
}

}

class TestStickCasting : public QObject {
    Q_OBJECT

private slots:
    void the_bundle_takes_sticks_in_drawing_order_data();
    void the_bundle_takes_sticks_in_drawing_order();
    void a_real_shuffle_places_each_stick_once();
    void six_drops_read_the_column_from_top_to_bottom_data();
    void six_drops_read_the_column_from_top_to_bottom();
    void drops_fill_the_slots_upwards_at_the_same_left();
    void a_restacked_stick_takes_the_next_slot_and_counts_again();
    void drops_during_a_reading_are_forgotten_when_it_ends();
};

void TestStickCasting::the_bundle_takes_sticks_in_drawing_order_data()
{
    QTest::addColumn<QList<float>>("script");
    QTest::addColumn<QList<int>>("order");
    const QList<int> ascending { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 };
    const QList<int> shuffled { 7, 2, 11, 0, 5, 9, 3, 10, 1, 6, 8, 4 };
    QTest::newRow("ascending") << draws({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 }) << ascending;
    QTest::newRow("shuffled") << draws({ 7, 2, 11, 0, 5, 9, 3, 10, 1, 6, 8, 4 }) << shuffled;
    QTest::newRow("repeated draws are skipped")
        << draws({ 7, 7, 2, 7, 11, 0, 0, 5, 9, 3, 3, 3, 10, 1, 6, 8, 11, 4 }) << shuffled;
    QTest::newRow("draws at the ends of the range")
        << (QList<float> { 0.0f, 0.99999f } + draws({ 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 }))
        << QList<int> { 0, 11, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 };
}

void TestStickCasting::the_bundle_takes_sticks_in_drawing_order()
{
    QFETCH(QList<float>, script);
    QFETCH(QList<int>, order);
    ScriptedRandom random;
    random.draws = script;
    StickCasting casting(random);
    casting.arruma_acaso();
    QVERIFY(random.draws.isEmpty());
    QCOMPARE(random.reseeds, script.size());
    for (int k = 0; k < order.size(); ++k)
        QCOMPARE(casting.posicao(order.at(k)), QPoint(-840, 1200 + 135 * k));
}

void TestStickCasting::a_real_shuffle_places_each_stick_once()
{
    SystemRandom random;
    StickCasting casting(random);
    for (int round = 0; round < 20; ++round) {
        casting.arruma_acaso();
        QSet<int> tops;
        for (int i = 0; i < StickCasting::kPauzinhos; ++i) {
            const QPoint p = casting.posicao(i);
            QCOMPARE(p.x(), -840);
            QCOMPARE((p.y() - 1200) % 135, 0);
            tops.insert(p.y());
        }
        QCOMPARE(tops.size(), 12);
        QCOMPARE(*std::min_element(tops.begin(), tops.end()), 1200);
        QCOMPARE(*std::max_element(tops.begin(), tops.end()), 2685);
    }
}

void TestStickCasting::six_drops_read_the_column_from_top_to_bottom_data()
{
    QTest::addColumn<QList<int>>("drops");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<int>("indice");
    QTest::newRow("whole sticks first") << QList<int> { 0, 1, 2, 6, 7, 8 } << "000111" << 11;
    QTest::newRow("broken sticks first") << QList<int> { 6, 7, 8, 0, 1, 2 } << "111000" << 12;
    QTest::newRow("all whole") << QList<int> { 5, 4, 3, 2, 1, 0 } << "111111" << 1;
    QTest::newRow("all broken") << QList<int> { 11, 10, 9, 8, 7, 6 } << "000000" << 2;
    QTest::newRow("lowest line whole") << QList<int> { 0, 6, 7, 8, 1, 9 } << "010001" << 3;
}

void TestStickCasting::six_drops_read_the_column_from_top_to_bottom()
{
    QFETCH(QList<int>, drops);
    QFETCH(QString, codigo);
    QFETCH(int, indice);
    ScriptedRandom random;
    StickCasting casting(random);
    casting.clearCode();
    bool completo = false;
    for (int stick : drops)
        completo = casting.drop(stick);
    QVERIFY(completo);
    QCOMPARE(casting.codigo_lancado(), codigo);

    QCOMPARE(findHexagram(casting.codigo_lancado()), indice);
}

void TestStickCasting::drops_fill_the_slots_upwards_at_the_same_left()
{
    ScriptedRandom random;
    StickCasting casting(random);
    const QList<int> tops { 2520, 2280, 2040, 1800, 1560, 1320 };
    for (int k = 0; k < tops.size(); ++k) {
        QCOMPARE(casting.topo_proximo(), tops.at(k));
        QCOMPARE(casting.drop(k + 3), k == 5);
        QCOMPARE(casting.posicao(k + 3), QPoint(1200, tops.at(k)));
    }
    QCOMPARE(casting.topo_proximo(), 1080);
}

void TestStickCasting::a_restacked_stick_takes_the_next_slot_and_counts_again()
{
    ScriptedRandom random;
    StickCasting casting(random);
    casting.drop(6);
    casting.drop(6);
    QCOMPARE(casting.posicao(6), QPoint(1200, 2280));
    QCOMPARE(casting.codigo_lancado(), QStringLiteral("00"));
    casting.drop(0);
    casting.drop(0);
    casting.drop(6);
    QVERIFY(casting.drop(0));
    QCOMPARE(casting.codigo_lancado(), QStringLiteral("101100"));
}

void TestStickCasting::drops_during_a_reading_are_forgotten_when_it_ends()
{
    ScriptedRandom random;
    random.fallback = 0.0f;
    StickCasting casting(random);
    for (int k = 0; k < 6; ++k)
        casting.drop(k);
    casting.clearCode();
    // While the reading is delivered, more sticks can be dropped; they land above the square
    // and complete nothing.
    QVERIFY(!casting.drop(7));
    QCOMPARE(casting.posicao(7), QPoint(1200, 1080));
    QVERIFY(!casting.drop(8));

    random.draws = draws({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 });
    casting.gather();
    QVERIFY(casting.codigo_lancado().isEmpty());
    QCOMPARE(casting.topo_proximo(), 2520);
    QCOMPARE(casting.posicao(7), QPoint(-840, 1200 + 7 * 135));

    for (int stick : { 6, 7, 8, 0, 1, 2 })
        casting.drop(stick);
    QCOMPARE(casting.codigo_lancado(), QStringLiteral("111000"));
}

QTEST_APPLESS_MAIN(TestStickCasting)
#include "test_stick_casting.moc"
