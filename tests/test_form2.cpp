#include "FakeSpeechEngine.h"
#include "FakeStage.h"
#include "Fakes.h"
#include "Form2.h"
#include "HexagramTable.h"
#include "StageScale.h"
#include "WindowParts.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTextEdit>
#include <QtTest>

namespace {

const QString kAbertura = QStringLiteral(
    "Muito bem. Enquanto mentaliza sua dúvida, arraste 6 pauzinhos para o quadrado.");
const QString kComLeitura = QStringLiteral("Medite sôbre estas palavras e tudo dará certo.");
const QString kSemLeitura = QStringLiteral("Porque você não perguntou nada?");

// Counts what a repaint of a widget sends it.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest)
            ++paints;
        return false;
    }
};

// The main window as the consultation window sees it, and the window itself.
struct Stage {
    FakeSpeechEngine tts1;
    SystemRandom systemRandom;
    FakeStage main { tts1 };
    QPointer<Form2> form;
    QStringList shown;

    explicit Stage(Random* random = nullptr)
    {
        main.firstAnimationLeft = 8;
        main.window.setGeometry(100, 200, 800, 600);
        main.window.show();
        main.petitionBox->setText(QStringLiteral("CONSELHO"));
        form = new Form2(main, random ? *random : systemRandom);
        QObject::connect(&tts1, &SpeechEngine::word_event, &tts1, [this] {
            if (form)
                shown << part<QTextEdit>(form, "Text2")->toPlainText();
        });
    }
    ~Stage() { delete form; }

    void open() { form->Form_Load(); }
    void cast(std::initializer_list<int> sticks)
    {
        for (int stick : sticks)
            form->Form_DragDrop(stick);
    }
};

QMimeData* stickData(int stick)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(Form2::kMimePauzinho), QByteArray::number(stick));
    return data;
}

// Drops a stick on `target` the way Qt delivers it: enter, then drop, each passed to the
// parent when refused.
void dropOn(QWidget* target, int stick)
{
    QMimeData* data = stickData(stick);
    QDragEnterEvent enter(QPoint(2, 2), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    for (QWidget* w = target; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (w->acceptDrops() && QApplication::sendEvent(w, &drop) && drop.isAccepted())
            break;
    }
    delete data;
}

// Draws that bundle the sticks in the given order, top first.
QList<float> bundleOrder(const QList<int>& sticks)
{
    QList<float> draws;
    for (int stick : sticks)
        draws << (stick + 0.5f) / 12.0f;
    return draws;
}

// The part of the consultation window where the bundle lies.
QImage bundleSeen(Form2* form)
{
    QRect bundle;
    for (int i = 0; i < 12; ++i)
        bundle |= part<QLabel>(form, "Picture1", i)->geometry();
    return form->grab(bundle & form->rect()).toImage();
}

// Picks a stick up and lets go of it nowhere: Esc ends the drag should the platform run one.
void pressWithoutDrop(QWidget* stick)
{
    QTimer::singleShot(20, stick, [] {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(qApp, &esc);
    });
    QTest::mousePress(stick, Qt::LeftButton, {}, QPoint(60, 7));
    QTest::mouseRelease(stick, Qt::LeftButton, {}, QPoint(60, 7));
}

}

class TestForm2 : public QObject {
    Q_OBJECT

private slots:
    void openingSpeaksTheInstructionThenListensForWords();
    void openingPlacesTheWindowAndBundlesTheSticks_data();
    void openingPlacesTheWindowAndBundlesTheSticks();
    void sixDropsDeliverTheHexagramAndGatherTheSticks();
    void aSecondReadingRestartsTheDisplay();
    void dropsOverTheWindowChildrenChangeNothing();
    void aPressWithoutADropChangesNothing();
    void aReadingCastDuringTheInstructionRevealsNothing();
    void wordsWithoutAReadingOnShowRepaintNothing_data();
    void wordsWithoutAReadingOnShowRepaintNothing();
    void leavingSpeaksThePhraseThatFits_data();
    void leavingSpeaksThePhraseThatFits();
    void escOnAnyPartOfTheWindowLeaves();
    void leavingDuringTheOpeningPhraseLeavesTheConsultationClosed();
    void leavingAgainDuringTheClosingPhraseSaysItAgain_data();
    void leavingAgainDuringTheClosingPhraseSaysItAgain();
    void theExitLabelLightsUpUnderThePointer();
    void theBundleLooksTheSameWhicheverSticksAreBroken_data();
    void theBundleLooksTheSameWhicheverSticksAreBroken();
    void everyStickSoundsTheSameToAScreenReader();
};

void TestForm2::openingSpeaksTheInstructionThenListensForWords()
{
    Stage stage;
    stage.open();
    QCOMPARE(stage.tts1.spoken, QStringList { kAbertura });
    QVERIFY(part<QTextEdit>(stage.form, "Text2")->toPlainText().isEmpty());
    stage.cast({ 0, 1, 2, 6, 7, 8 });
    QCOMPARE(part<QTextEdit>(stage.form, "Text2")->toPlainText(), iching_texto(11));
}

void TestForm2::openingPlacesTheWindowAndBundlesTheSticks_data()
{
    QTest::addColumn<double>("scale"); // the stage's, on the screen
    QTest::newRow("the stage at its own size") << 1.0;
    QTest::newRow("the stage at twice its size") << 2.0;
}
void TestForm2::openingPlacesTheWindowAndBundlesTheSticks()
{
    QFETCH(double, scale);
    Stage stage;
    stage.form->setScale(StageScale(StageScale::kStage * scale, 1.0));
    const auto shown = [scale](QPoint design) { return design * scale; };
    stage.open();
    Form2* form = stage.form;
    QVERIFY(form->isVisible());
    QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(form->size(), QSize(635, 217) * scale);
    // 700 twips below the main window's frame; its picture's Left read as twips.
    QCOMPARE(form->frameGeometry().topLeft(),
        QPoint(1, stage.main.window.frameGeometry().top()) + shown({ 0, 47 }));
    QSet<int> tops;
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(part<QLabel>(form, "Picture1", i)->geometry().x(), shown({ -56, 0 }).x());
        QCOMPARE(part<QLabel>(form, "Picture1", i)->size(), QSize(97, 15) * scale);
        tops.insert(part<QLabel>(form, "Picture1", i)->y());
    }
    QCOMPARE(tops.size(), 12);
    dropOn(form, 0);
    QCOMPARE(part<QLabel>(form, "Picture1", 0)->pos(), shown({ 80, 168 })); // the lowest slot
}

void TestForm2::sixDropsDeliverTheHexagramAndGatherTheSticks()
{
    Stage stage;
    stage.open();
    stage.cast({ 0, 1, 2, 6, 7 });
    QCOMPARE(part<QLabel>(stage.form, "Picture1", 7)->pos(), QPoint(80, 104));
    QCOMPARE(stage.main.orbs, 0);
    stage.cast({ 8 });
    QCOMPARE(stage.main.orbs, 1);
    QCOMPARE(part<QLineEdit>(stage.form, "Text3")->text(), QStringLiteral("T'AI - A paz"));
    QCOMPARE(part<QLineEdit>(stage.form, "Text3")->cursorPosition(), 0);
    QCOMPARE(stage.tts1.spoken.last(), iching_texto(11));
    QCOMPARE(part<QTextEdit>(stage.form, "Text2")->toPlainText(), iching_texto(11));
    for (int i = 0; i < 12; ++i)
        QCOMPARE(part<QLabel>(stage.form, "Picture1", i)->x(), -56);
    // The column starts again from its lowest slot.
    stage.cast({ 3 });
    QCOMPARE(part<QLabel>(stage.form, "Picture1", 3)->pos(), QPoint(80, 168));
}

void TestForm2::aSecondReadingRestartsTheDisplay()
{
    Stage stage;
    stage.open();
    stage.cast({ 0, 1, 2, 6, 7, 8 });
    stage.shown.clear();
    stage.cast({ 6, 7, 8, 0, 1, 2 });
    QCOMPARE(part<QLineEdit>(stage.form, "Text3")->text(), QStringLiteral("PI - A estagnação"));
    QCOMPARE(stage.shown.first(), QStringLiteral("Céu "));
    QCOMPARE(stage.shown.last(), iching_texto(12));
}

void TestForm2::dropsOverTheWindowChildrenChangeNothing()
{
    Stage stage;
    stage.open();
    Form2* form = stage.form;
    dropOn(form, 3);
    QCOMPARE(part<QLabel>(form, "Picture1", 3)->pos(), QPoint(80, 168));
    const QPoint bundled = part<QLabel>(form, "Picture1", 9)->pos();
    const QList<QWidget*> children { part<QLabel>(form, "Picture1", 3),
        part<QLabel>(form, "Picture1", 5), part<QLineEdit>(form, "Text3"),
        part<QTextEdit>(form, "Text2")->viewport(), part<QLabel>(form, "Label1") };
    for (QWidget* child : children)
        dropOn(child, 9);
    QCOMPARE(part<QLabel>(form, "Picture1", 9)->pos(), bundled);
    dropOn(form, 9);
    QCOMPARE(part<QLabel>(form, "Picture1", 9)->pos(), QPoint(80, 152)); // the next slot
}

void TestForm2::aPressWithoutADropChangesNothing()
{
    Stage stage;
    stage.open();
    Form2* form = stage.form;
    stage.cast({ 6, 7 });
    const QPoint bundled = part<QLabel>(form, "Picture1", 4)->pos();
    pressWithoutDrop(part<QLabel>(form, "Picture1", 4));
    pressWithoutDrop(part<QLabel>(form, "Picture1", 7));
    QCOMPARE(part<QLabel>(form, "Picture1", 4)->pos(), bundled);
    QCOMPARE(part<QLabel>(form, "Picture1", 7)->pos(), QPoint(80, 152));
    stage.cast({ 8, 0, 1, 2 }); // the two sticks cast before count, and nothing else
    QCOMPARE(part<QLineEdit>(stage.form, "Text3")->text(), iching_nome(12));
}

// The voice's words reveal nothing before the instruction has been spoken: a reading cast
// meanwhile is shown by its name alone.
void TestForm2::aReadingCastDuringTheInstructionRevealsNothing()
{
    Stage stage;
    const auto castNow = [&] { stage.cast({ 0, 1, 2, 6, 7, 8 }); };
    connect(
        &stage.tts1, &SpeechEngine::word_event, this,
        [&] { QTimer::singleShot(0, stage.form, castNow); }, Qt::SingleShotConnection);
    stage.open();
    QCOMPARE(stage.tts1.spoken, (QStringList { kAbertura, iching_texto(11) }));
    QCOMPARE(part<QLineEdit>(stage.form, "Text3")->text(), iching_nome(11));
    QVERIFY(part<QTextEdit>(stage.form, "Text2")->toPlainText().isEmpty());
}

void TestForm2::wordsWithoutAReadingOnShowRepaintNothing_data()
{
    QTest::addColumn<int>("readings");
    QTest::addColumn<bool>("repaints");
    QTest::newRow("no reading yet") << 0 << false;
    QTest::newRow("a whole advice on show") << 1 << true;
}

void TestForm2::wordsWithoutAReadingOnShowRepaintNothing()
{
    QFETCH(int, readings);
    QFETCH(bool, repaints);
    Stage stage;
    stage.open();
    QVERIFY(QTest::qWaitForWindowExposed(stage.form));
    for (int k = 0; k < readings; ++k)
        stage.cast({ 0, 1, 2, 6, 7, 8 });
    const QString before = part<QTextEdit>(stage.form, "Text2")->toPlainText();
    QCoreApplication::processEvents();
    PaintCounter counter;
    part<QTextEdit>(stage.form, "Text2")->installEventFilter(&counter);
    part<QTextEdit>(stage.form, "Text2")->viewport()->installEventFilter(&counter);
    stage.tts1.speak_text(QStringLiteral("Mais uma palavra"));
    QTRY_COMPARE(stage.tts1.speaking_state(), 0);
    QCOMPARE(counter.paints > 0, repaints);
    QCOMPARE(part<QTextEdit>(stage.form, "Text2")->toPlainText(), before);
}

void TestForm2::leavingSpeaksThePhraseThatFits_data()
{
    QTest::addColumn<int>("readings");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("before any reading") << 0 << kSemLeitura;
    QTest::newRow("after one reading") << 1 << kComLeitura;
    QTest::newRow("after two readings") << 2 << kComLeitura;
}

void TestForm2::leavingSpeaksThePhraseThatFits()
{
    QFETCH(int, readings);
    QFETCH(QString, phrase);
    Stage stage;
    stage.open();
    for (int k = 0; k < readings; ++k)
        stage.cast({ 0, 1, 2, 3, 4, 5 });
    stage.form->sair();
    QCOMPARE(stage.tts1.spoken.last(), phrase);
    QVERIFY(stage.main.petitionBox->text().isEmpty());
    QTRY_VERIFY(stage.form.isNull());
    QTRY_VERIFY(stage.main.petitionBox->hasFocus());
}

void TestForm2::escOnAnyPartOfTheWindowLeaves()
{
    for (int target = 0; target < 4; ++target) {
        Stage stage;
        stage.open();
        QWidget* const targets[] = { stage.form, part<QTextEdit>(stage.form, "Text2"),
            part<QLineEdit>(stage.form, "Text3"), part<QLabel>(stage.form, "Picture1", 6) };
        QTest::keyClick(targets[target], Qt::Key_A);
        QCOMPARE(stage.tts1.spoken.size(), 1);
        QTest::keyClick(targets[target], Qt::Key_Escape);
        QCOMPARE(stage.tts1.spoken.last(), kSemLeitura);
        QTRY_VERIFY(stage.form.isNull());
    }
}

void TestForm2::leavingDuringTheOpeningPhraseLeavesTheConsultationClosed()
{
    Stage stage;
    stage.tts1.msPerWord = 5;
    // Esc pressed twice while the instruction is still being spoken.
    connect(&stage.tts1, &SpeechEngine::word_event, this, [&] {
        if (stage.tts1.spoken.size() == 1)
            QTimer::singleShot(0, stage.form, [&] {
                QTest::keyClick(stage.form, Qt::Key_Escape);
                QTest::keyClick(stage.form, Qt::Key_Escape);
            });
    });
    stage.open();
    QCOMPARE(stage.tts1.spoken, (QStringList { kAbertura, kSemLeitura }));
    QCOMPARE(stage.main.keyboardsReturned, 1);
    QTRY_VERIFY(stage.form.isNull());
}

void TestForm2::leavingAgainDuringTheClosingPhraseSaysItAgain_data()
{
    QTest::addColumn<bool>("byEsc");
    QTest::addColumn<int>("readings");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("Esc twice before a reading") << true << 0 << kSemLeitura;
    QTest::newRow("Esc twice after a reading") << true << 1 << kComLeitura;
    QTest::newRow("Sair twice before a reading") << false << 0 << kSemLeitura;
}

void TestForm2::leavingAgainDuringTheClosingPhraseSaysItAgain()
{
    QFETCH(bool, byEsc);
    QFETCH(int, readings);
    QFETCH(QString, phrase);
    Stage stage;
    stage.open();
    for (int k = 0; k < readings; ++k)
        stage.cast({ 0, 1, 2, 6, 7, 8 });
    const auto leave = [&] {
        if (byEsc)
            QTest::keyPress(stage.form, Qt::Key_Escape);
        else
            QTest::mouseClick(part<QLabel>(stage.form, "Label1"), Qt::LeftButton);
    };
    const qsizetype before = stage.tts1.spoken.size();
    stage.tts1.msPerWord = 5;
    connect(
        &stage.tts1, &SpeechEngine::word_event, this,
        [&] { QTimer::singleShot(0, stage.form, leave); }, Qt::SingleShotConnection);
    leave();
    QCOMPARE(stage.tts1.spoken.mid(before), (QStringList { phrase, phrase }));
    QCOMPARE(stage.main.keyboardsReturned, 1);
    QTRY_VERIFY(stage.form.isNull());
    QVERIFY(stage.main.petitionBox->text().isEmpty());
}

void TestForm2::theExitLabelLightsUpUnderThePointer()
{
    Stage stage;
    stage.open();
    QLabel* label = part<QLabel>(stage.form, "Label1");
    QMouseEvent overLabel(QEvent::MouseMove, QPointF(5, 5), label->mapToGlobal(QPointF(5, 5)),
        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(label, &overLabel);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QMouseEvent overText(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(part<QTextEdit>(stage.form, "Text2")->viewport(), &overText);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 255, 192));
    QApplication::sendEvent(label, &overLabel);
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(stage.tts1.spoken.last(), kSemLeitura);
    QTRY_VERIFY(stage.form.isNull());
}

void TestForm2::theBundleLooksTheSameWhicheverSticksAreBroken_data()
{
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("broken sticks on top instead of whole ones")
        << QList<int> { 6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5 };
    QTest::newRow("a broken stick on top in place of a whole one")
        << QList<int> { 6, 1, 2, 3, 4, 5, 0, 7, 8, 9, 10, 11 };
    QTest::newRow("whole and broken sticks taking turns")
        << QList<int> { 0, 6, 1, 7, 2, 8, 3, 9, 4, 10, 5, 11 };
}

// Against a bundle of the whole sticks on top, the broken ones below.
void TestForm2::theBundleLooksTheSameWhicheverSticksAreBroken()
{
    QFETCH(QList<int>, order);
    ScriptedRandom wholeFirst;
    wholeFirst.draws = bundleOrder({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 });
    Stage plain(&wholeFirst);
    plain.open();
    ScriptedRandom shuffled;
    shuffled.draws = bundleOrder(order);
    Stage other(&shuffled);
    other.open();
    QCOMPARE(part<QLabel>(plain.form, "Picture1", 0)->y(), 80);
    QCOMPARE(part<QLabel>(other.form, "Picture1", order.first())->y(), 80);

    const QImage seen = bundleSeen(plain.form);
    QCOMPARE(seen.size(), QSize(41, 114));
    QVERIFY(seen.pixelColor(0, 7) == QColor(255, 128, 64));
    QCOMPARE(bundleSeen(other.form), seen);
}

void TestForm2::everyStickSoundsTheSameToAScreenReader()
{
    Stage stage;
    const QString heard
        = QAccessible::queryAccessibleInterface(part<QLabel>(stage.form, "Picture1", 0))
              ->text(QAccessible::Name);
    QCOMPARE(heard, QStringLiteral("Pauzinho"));
    for (int i = 1; i < 12; ++i) {
        QAccessibleInterface* stick
            = QAccessible::queryAccessibleInterface(part<QLabel>(stage.form, "Picture1", i));
        QCOMPARE(stick->text(QAccessible::Name), heard);
        QCOMPARE(stick->text(QAccessible::Description), QString());
    }
}

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
