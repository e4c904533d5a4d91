#include "Calibrar.h"
#include "FakeSpeechEngine.h"
#include "FakeStage.h"
#include "LanguageColumn.h"
#include "LanguageTables.h"
#include "SettingsValues.h"
#include "StageScale.h"
#include "WindowParts.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

class TestCalibrar : public QObject {
    Q_OBJECT

    SettingsValues m_module;
    FakeSpeechEngine* m_tts1 = nullptr;
    FakeSpeechEngine* m_tts = nullptr; // owned by the window
    FakeStage* m_stage = nullptr;
    QLineEdit* m_form1Text1 = nullptr;
    QPointer<Calibrar> m_window;

    Calibrar& open(qint16 voice, qint16 pitch, qint16 speed, qint16 idioma = 0)
    {
        m_module.voz[0] = voice;
        m_module.voz[1] = pitch;
        m_module.voz[2] = speed;
        m_module.idioma = idioma;
        auto tts = std::make_unique<FakeSpeechEngine>();
        m_tts = tts.get();
        m_window = new Calibrar(m_module, *m_stage, std::move(tts));
        return *m_window;
    }

    Calibrar& load(qint16 voice, qint16 pitch, qint16 speed, qint16 idioma = 0)
    {
        Calibrar& window = open(voice, pitch, speed, idioma);
        window.Form_Load();
        return window;
    }

    // Loads the window with no voice installed, accepting its notice once `look` has read it.
    Calibrar& loadWithoutVoices(qint16 voice, qint16 pitch, qint16 speed,
        const std::function<void(QMessageBox*)>& look = {})
    {
        Calibrar& window = open(voice, pitch, speed);
        m_tts->labels.clear();
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (look)
                look(box);
            box->accept();
        });
        closer.start(10);
        window.Form_Load();
        return window;
    }

    static QString heard(QWidget* widget)
    {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }

    static void pick(Calibrar& window, int entry)
    {
        part<QComboBox>(&window, "Combo1")->setCurrentIndex(entry);
        emit part<QComboBox>(&window, "Combo1")->activated(entry);
    }

private slots:
    void init()
    {
        m_module = SettingsValues {};
        m_tts1 = new FakeSpeechEngine;
        m_stage = new FakeStage(*m_tts1);
        m_form1Text1 = m_stage->petitionBox;
        m_form1Text1->setText(QStringLiteral("MUDAR VOZ"));
    }

    void cleanup()
    {
        delete m_window;
        delete m_stage;
        delete m_tts1;
    }

    void threeVoicesAreListedInOrderAndTheStoredOneIsSelected()
    {
        Calibrar& window = load(2, 65, 91);
        QComboBox* list = part<QComboBox>(&window, "Combo1");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->itemText(0), QStringLiteral("Alpha: pt-br"));
        QCOMPARE(list->itemText(2), QStringLiteral("Gamma: fr"));
        for (int entry = 0; entry < 3; ++entry)
            QCOMPARE(list->itemData(entry).toInt(), entry + 1);
        QCOMPARE(list->currentIndex(), 1);
        QCOMPARE(m_tts->voice, 2);
        QCOMPARE(part<QScrollBar>(&window, "HScroll1")->value(), 65);
        QCOMPARE(part<QScrollBar>(&window, "HScroll2")->value(), 91);
        QCOMPARE(part<QLabel>(&window, "Label1")->text(), QStringLiteral("65"));
        QCOMPARE(part<QLabel>(&window, "Label3")->text(), QStringLiteral("91"));
        QCOMPARE(m_tts->calls,
            QStringList({ "select_voice(2)", "set_pitch(50)", "set_speed(265)", "set_pitch(65)",
                "set_speed(91)" }));
        QVERIFY(m_tts1->calls.isEmpty());
    }

    void storedValuesOutsideTheRangesAreClampedAndAplicarStoresTheClampedOnes_data()
    {
        QTest::addColumn<int>("pitch");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("shownPitch");
        QTest::addColumn<int>("shownSpeed");
        QTest::newRow("above the maxima") << 500 << 9000 << 100 << 450;
        QTest::newRow("below the minima") << -5 << 10 << 0 << 80;
        QTest::newRow("on the bounds") << 100 << 80 << 100 << 80;
    }

    void storedValuesOutsideTheRangesAreClampedAndAplicarStoresTheClampedOnes()
    {
        QFETCH(int, pitch);
        QFETCH(int, speed);
        QFETCH(int, shownPitch);
        QFETCH(int, shownSpeed);
        Calibrar& window = load(2, qint16(pitch), qint16(speed));
        QCOMPARE(part<QScrollBar>(&window, "HScroll1")->value(), shownPitch);
        QCOMPARE(part<QScrollBar>(&window, "HScroll2")->value(), shownSpeed);
        QCOMPARE(part<QLabel>(&window, "Label1")->text(), QString::number(shownPitch));
        part<QPushButton>(&window, "Command2")->click();
        QCOMPARE(m_module.voz[0], qint16(2));
        QCOMPARE(m_module.voz[1], qint16(shownPitch));
        QCOMPARE(m_module.voz[2], qint16(shownSpeed));
        QVERIFY(m_tts1->calls.isEmpty());
    }

    void pickingAnotherVoiceResetsBothBarsToTheMiddleOfItsRanges()
    {
        Calibrar& window = load(2, 65, 91);
        m_tts->pMin = -20;
        m_tts->pMax = 200;
        m_tts->sMin = 100;
        m_tts->sMax = 401;
        m_tts->calls.clear();
        pick(window, 2);
        QCOMPARE(m_tts->voice, 3);
        QCOMPARE(part<QScrollBar>(&window, "HScroll1")->value(), 90);
        QCOMPARE(part<QScrollBar>(&window, "HScroll2")->value(), 250);
        QCOMPARE(part<QLabel>(&window, "Label1")->text(), QStringLiteral("90"));
        QCOMPARE(part<QLabel>(&window, "Label3")->text(), QStringLiteral("250"));
        QCOMPARE(
            m_tts->calls, QStringList({ "select_voice(3)", "set_pitch(90)", "set_speed(250)" }));
    }

    void rewritingTheRangesNeitherChangesTheLabelsNorCallsTheEngine()
    {
        Calibrar& window = load(2, 65, 91);
        // New ranges that push the current values out: the bars move while the ranges are set.
        m_tts->pMin = 70;
        m_tts->pMax = 72;
        m_tts->sMin = 20;
        m_tts->sMax = 22;
        m_tts->calls.clear();
        QStringList labelsAtEachCall;
        connect(part<QScrollBar>(&window, "HScroll1"), &QScrollBar::rangeChanged, this, [&] {
            labelsAtEachCall << part<QLabel>(&window, "Label1")->text() + QLatin1Char('/')
                    + part<QLabel>(&window, "Label3")->text();
        });
        connect(part<QScrollBar>(&window, "HScroll2"), &QScrollBar::rangeChanged, this, [&] {
            labelsAtEachCall << part<QLabel>(&window, "Label1")->text() + QLatin1Char('/')
                    + part<QLabel>(&window, "Label3")->text();
        });
        pick(window, 0);
        QCOMPARE(labelsAtEachCall, QStringList({ "65/91", "65/91", "71/91", "71/91" }));
        QCOMPARE(
            m_tts->calls, QStringList({ "select_voice(1)", "set_pitch(71)", "set_speed(21)" }));
    }

    void rangeBoundsBeyondSixteenBitsLeaveTheBarAlone()
    {
        Calibrar& window = open(2, 65, 91);
        m_tts->pMin = -40000;
        m_tts->pMax = 40000;
        window.Form_Load();
        QCOMPARE(part<QScrollBar>(&window, "HScroll1")->minimum(), 0);
        QCOMPARE(part<QScrollBar>(&window, "HScroll1")->maximum(), 32767);
        QCOMPARE(part<QScrollBar>(&window, "HScroll1")->value(), 65);
    }

    void aDraggedThumbCallsNothingUntilReleased()
    {
        Calibrar& window = load(2, 65, 91);
        m_tts->calls.clear();
        QScrollBar* bar = part<QScrollBar>(&window, "HScroll1");
        bar->setSliderDown(true);
        bar->setSliderPosition(30);
        bar->setSliderPosition(35);
        QVERIFY(m_tts->calls.isEmpty());
        QCOMPARE(part<QLabel>(&window, "Label1")->text(), QStringLiteral("65"));
        bar->setSliderDown(false);
        QCOMPARE(m_tts->calls, QStringList({ "set_pitch(35)" }));
        QCOMPARE(part<QLabel>(&window, "Label1")->text(), QStringLiteral("35"));
    }

    void aStoredVoiceOutsideTheListSelectsNothingButStillSetsTheRanges()
    {
        Calibrar& window = load(9, 65, 91);
        QCOMPARE(part<QComboBox>(&window, "Combo1")->currentIndex(), -1);
        QVERIFY(!m_tts->calls.join(QLatin1Char(' ')).contains(QLatin1String("select_voice")));
        QCOMPARE(part<QScrollBar>(&window, "HScroll1")->value(), 65);
        part<QScrollBar>(&window, "HScroll1")->setValue(40);
        part<QPushButton>(&window, "Command2")->click();
        QCOMPARE(m_module.voz[0], qint16(9));
        QCOMPARE(m_module.voz[1], qint16(40));
    }

    void sairWithoutAplicarRestoresTheStoredValuesOnTheMainEngine()
    {
        Calibrar& window = load(2, 65, 91);
        pick(window, 2);
        part<QScrollBar>(&window, "HScroll1")->setValue(10);
        part<QScrollBar>(&window, "HScroll2")->setValue(300);
        part<QPushButton>(&window, "Command3")->click();
        QCOMPARE(
            m_tts1->calls, QStringList({ "select_voice(2)", "set_pitch(65)", "set_speed(91)" }));
        QVERIFY(m_form1Text1->text().isEmpty());
        QTRY_VERIFY(m_window.isNull());
    }

    void aplicarThenSairHandsTheNewChoiceToTheMainEngine()
    {
        Calibrar& window = load(2, 65, 91);
        pick(window, 2);
        part<QScrollBar>(&window, "HScroll1")->setValue(10);
        part<QPushButton>(&window, "Command2")->click();
        part<QPushButton>(&window, "Command3")->click();
        QCOMPARE(
            m_tts1->calls, QStringList({ "select_voice(3)", "set_pitch(10)", "set_speed(265)" }));
    }

    // What the window shows, says and lets a screen reader hear, in every language, and as laid
    // out for an index outside the table.
    void theWindowFollowsTheLanguage_data()
    {
        QTest::addColumn<int>("idioma");
        for (int i = 0; i < int(languageCount()); ++i)
            QTest::newRow(qPrintable(languageName(std::size_t(i)))) << i;
        QTest::newRow("below the table keeps the design") << -1;
        QTest::newRow("above the table keeps the design") << int(languageCount());
    }
    void theWindowFollowsTheLanguage()
    {
        QFETCH(int, idioma);
        const auto u = [](const char* text) { return QString::fromUtf8(text); };
        const VoiceWindowTexts* texts = voiceWindowTexts(qint16(idioma));
        const WidgetDescriptions& described
            = *(texts ? widgetDescriptions(qint16(idioma)) : widgetDescriptions(0));
        const VoiceWindowDesign& design = kVoiceWindowDesign;
        const QString sentence = u(texts ? texts->frase : design.neutralSentence);
        const QString pitch = u(texts ? texts->tom : design.pitch);
        const QString speed = u(texts ? texts->velocidade : design.speed);
        Calibrar& window = load(2, 65, 91, qint16(idioma));
        QCOMPARE(part<QPlainTextEdit>(&window, "Text1")->toPlainText(), sentence);
        QCOMPARE(part<QLabel>(&window, "Label2", 0)->text(), pitch);
        QCOMPARE(part<QLabel>(&window, "Label2", 1)->text(), speed);
        QCOMPARE(part<QLabel>(&window, "Label2", 2)->text(), u(design.voices));
        QCOMPARE(part<QPushButton>(&window, "Command1")->text(), u(design.speak));
        QCOMPARE(heard(&window), u(described.voiceWindowTitle));
        QCOMPARE(heard(part<QPlainTextEdit>(&window, "Text1")), u(described.trialSentence));
        QCOMPARE(heard(part<QScrollBar>(&window, "HScroll1")), pitch);
        QCOMPARE(heard(part<QScrollBar>(&window, "HScroll2")), speed);
        QCOMPARE(heard(part<QPushButton>(&window, "Command1")), u(design.speak));
        QCOMPARE(heard(part<QPushButton>(&window, "Command2")), u(design.apply));
        QCOMPARE(heard(part<QPushButton>(&window, "Command3")), u(design.leave));
        QCOMPARE(heard(part<QLabel>(&window, "Label2", 2)), u(design.voices));
        QCOMPARE(part<QLabel>(&window, "Label2", 2)->buddy(), part<QComboBox>(&window, "Combo1"));
        // "Falar" with an empty box asks the language's question, or says the design sentence.
        part<QPlainTextEdit>(&window, "Text1")->clear();
        part<QPushButton>(&window, "Command1")->click();
        QCOMPARE(m_tts->spoken, QStringList({ texts ? u(texts->pergunta) : sentence }));
        QVERIFY(m_tts1->spoken.isEmpty());
    }

    void falarSpeaksTheTrialTextAsTyped()
    {
        Calibrar& window = load(2, 65, 91);
        part<QPlainTextEdit>(&window, "Text1")->setPlainText(QStringLiteral(" Olá,  mundo "));
        part<QPushButton>(&window, "Command1")->click();
        QCOMPARE(m_tts->spoken, QStringList({ QStringLiteral(" Olá,  mundo ") }));
        QVERIFY(m_tts1->spoken.isEmpty());
    }

    void withoutVoicesOnlyTheNoticeIsShown()
    {
        QString shown;
        QString title;
        QList<QMessageBox::StandardButton> buttons;
        Calibrar& window = loadWithoutVoices(2, 65, 91, [&](QMessageBox* box) {
            shown = box->text();
            title = box->windowTitle();
            for (QAbstractButton* b : box->buttons())
                buttons << box->standardButton(b);
        });
        QCOMPARE(shown, QString::fromUtf8(kNoVoiceNotice));
        QCOMPARE(title, QApplication::applicationDisplayName());
        QCOMPARE(buttons, QList<QMessageBox::StandardButton>({ QMessageBox::Ok }));
        QCOMPARE(part<QComboBox>(&window, "Combo1")->count(), 0);
        QCOMPARE(part<QScrollBar>(&window, "HScroll1")->maximum(), 32767);
        QVERIFY(m_tts->calls.isEmpty());
    }

    void withoutVoicesAplicarKeepsTheSavedVoice()
    {
        Calibrar& window = loadWithoutVoices(2, 65, 91);
        part<QScrollBar>(&window, "HScroll1")->setValue(40);
        part<QPushButton>(&window, "Command2")->click();
        QCOMPARE(m_module.voz[0], qint16(2));
        QCOMPARE(m_module.voz[1], qint16(65));
        QCOMPARE(m_module.voz[2], qint16(91));
        part<QPushButton>(&window, "Command3")->click();
        QCOMPARE(
            m_tts1->calls, QStringList({ "select_voice(2)", "set_pitch(65)", "set_speed(91)" }));
    }

    void theWindowIsTopmostAtTheTopLeftAndDeletesItselfOnClose_data()
    {
        QTest::addColumn<double>("scale"); // the stage's, on the screen
        QTest::newRow("the stage at its own size") << 1.0;
        QTest::newRow("the stage at twice its size") << 2.0;
    }
    void theWindowIsTopmostAtTheTopLeftAndDeletesItselfOnClose()
    {
        QFETCH(double, scale);
        Calibrar& window = open(2, 65, 91);
        const QFont design = window.font();
        window.setScale(StageScale(StageScale::kStage * scale, 1.0));
        window.Form_Load();
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(window.size(), QSize(439, 245) * scale);
        QCOMPARE(window.pos(), QPoint(0, 0));
        QCOMPARE(part<QPushButton>(&window, "Command3")->geometry(),
            QRect(QPoint(332, 183) * scale, QSize(43, 25) * scale));
        QCOMPARE(part<QLabel>(&window, "Image2")->geometry(),
            QRect(QPoint(240, 48) * scale, QSize(165, 116) * scale));
        QCOMPARE(part<QLabel>(&window, "Image2")->pixmap().deviceIndependentSize(),
            QSizeF(165, 116) * scale);
        QCOMPARE(part<QLabel>(&window, "Label1")->font().pointSizeF(), design.pointSizeF() * scale);
        window.show();
        window.close();
        QTRY_VERIFY(m_window.isNull());
        QVERIFY(m_tts1->calls.isEmpty());
    }
};

QTEST_MAIN(TestCalibrar)
#include "test_calibrar.moc"
