#include "Calibrar.h"
#include "Form1Fixture.h"
#include "Form2.h"
#include "HexagramTable.h"
#include "LanguageTables.h"
#include "StageClock.h"
#include "StageLook.h"
#include "StageScale.h"
#include "StageTimings.h"
#include "Timer.h"
#include "WindowKinds.h"
#include "WindowParts.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>

class TestForm1 : public QObject {
    Q_OBJECT

    static QStringList checks(StageWidgets& f)
    {
        QStringList on;
        for (QAction* a : f.menuOpcoes->actions()) {
            if (a->isChecked())
                on << a->text();
        }
        return on;
    }
    // A language item of the Options menu, by its caption.
    static QAction* language(StageWidgets& f, const char* caption)
    {
        for (QAction* a : f.menuOpcoes->actions()) {
            if (a->text() == QString::fromUtf8(caption))
                return a;
        }
        return nullptr;
    }
    // Draws that reach each of the twelve sticks of the consultation's shuffle.
    static QList<float> twelveSticks()
    {
        QList<float> draws;
        for (int i = 0; i < 12; ++i)
            draws << (i + 0.5f) / 12.0f;
        return draws;
    }
    // As inside a Wayland session, or on an X server of the program's own, while it lasts.
    struct Session {
        explicit Session(bool wayland) { qputenv("WAYLAND_DISPLAY", wayland ? "wayland-0" : ""); }
        ~Session() { qputenv("WAYLAND_DISPLAY", ""); }
    };
    static QRect onScreen(const QWidget* widget)
    {
        return { widget->mapToGlobal(QPoint(0, 0)), widget->size() };
    }
    static QStringList captions(StageWidgets& f)
    {
        return { f.menuArquivo->title(), f.menuArquivoSair->text(), f.menuOpcoes->title(),
            f.menuOpcoesVoz->text(), f.menuHelp->title(), f.menuHelpAbout->text() };
    }

private slots:
    void firstStartFollowsTheStagedOrder()
    {
        Form1Fixture fx;
        fx.form->Form_Load();
        QCOMPARE(fx.log,
            QStringList({ "select_voice(2)", "set_pitch(65)", "set_speed(91)", "play(SINISTER.wav)",
                QStringLiteral("sleep(%1)").arg(timing::kStartUpPauseMs),
                "speak_text(Faça sua pergunta)" }));
        QCOMPARE(fx.module.idioma, 0);
        QCOMPARE(checks(fx.w), QStringList { QString::fromUtf8("Português") });
        QVERIFY(!StageWidgets::calibrar());
        QVERIFY(fx.w.Timer2->isEnabled());
        QCOMPARE(fx.w.Timer2->interval(), timing::kBlinkShortMs);
        QVERIFY(!fx.w.Timer1->isEnabled());
        QVERIFY(fx.w.Text1->text().isEmpty());
    }

    void menusFollowTheStoredLanguage_data()
    {
        QTest::addColumn<QByteArray>("idioma");
        QTest::addColumn<int>("lingua"); // its place in the table, or -1
        for (int i = 0; i < int(languageCount()); ++i)
            QTest::newRow(qPrintable(languageName(std::size_t(i)))) << QByteArray::number(i) << i;
        QTest::newRow("a blank before the number") << QByteArray(" 1") << 1;
        QTest::newRow("the first index outside the table")
            << QByteArray::number(qulonglong(languageCount())) << -1;
    }
    void menusFollowTheStoredLanguage()
    {
        QFETCH(QByteArray, idioma);
        QFETCH(int, lingua);
        const MenuCaptions& m = lingua < 0 ? kDesignMenuCaptions : *menuCaptions(qint16(lingua));
        LanguageTexts texts;
        muda_lingua(qint16(lingua), texts);
        Form1Fixture fx("[Quorvel]\nidioma=" + idioma + "\n");
        fx.form->Form_Load();
        QCOMPARE(TestForm1::captions(fx.w),
            QStringList({ m.menuArquivo, m.menuArquivoSair, m.menuOpcoes, m.menuOpcoesVoz,
                m.menuHelp, m.menuHelpAbout }));
        QCOMPARE(checks(fx.w),
            lingua < 0 ? QStringList() : QStringList { languageName(std::size_t(lingua)) });
        for (std::size_t i = 0; i < languageCount(); ++i)
            QVERIFY(language(fx.w, languageName(i).toUtf8().constData()));
        QCOMPARE(fx.tts1().spoken, QStringList { texts.frase_pergunta });
    }

    void switchingLanguagesLeavesOneCheckAndNoEarlierText()
    {
        Form1Fixture fx;
        fx.loaded();
        for (const char* caption : { "Español", "English", "Française", "English" })
            language(fx.w, caption)->trigger();
        QCOMPARE(checks(fx.w), QStringList { "English" });
        QCOMPARE(fx.module.idioma, 1);
        fx.type(",ok");
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Ans")); // the English petition
        QCOMPARE(fx.w.menuHelp->title(), QStringLiteral("Help"));
        // Choosing the language that is already checked keeps it checked.
        language(fx.w, "English")->trigger();
        QCOMPARE(checks(fx.w), QStringList { "English" });
    }

    void languageMenuOpensTheCalibrationWindowOnceAndKeepsFocus()
    {
        Form1Fixture fx;
        fx.loaded();
        language(fx.w, "Française")->trigger();
        QPointer<Calibrar> first = StageWidgets::calibrar();
        QVERIFY(first);
        QCOMPARE(part<QLabel>(first, "Label2", 0)->text(), QStringLiteral("Pitch"));
        language(fx.w, "English")->trigger();
        QCOMPARE(StageWidgets::calibrar(), first);
        // Loaded once: its captions stay in the earlier language.
        QCOMPARE(part<QLabel>(first, "Label2", 1)->text(), QStringLiteral("Vitesse"));
        QCOMPARE(fx.engines.size(), 2);
    }

    void afterALanguageCommandTheKeysStillGoToThePetitionBox_data()
    {
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<int>("scale"); // the stage's in its window
        QTest::newRow("X server") << false << 1;
        QTest::newRow("Wayland session") << true << 1;
        QTest::newRow("X server, the stage at twice its size") << false << 2;
        QTest::newRow("Wayland session, the stage at twice its size") << true << 2;
    }
    void afterALanguageCommandTheKeysStillGoToThePetitionBox()
    {
        QFETCH(bool, wayland);
        QFETCH(int, scale);
        const Session session(wayland);
        Form1Fixture fx;
        fx.loaded();
        fx.form->show();
        QVERIFY(QTest::qWaitForWindowActive(fx.form.get()));
        language(fx.w, "English")->trigger();
        Calibrar* voice = StageWidgets::calibrar();
        QVERIFY(voice->isVisible());
        // The stage grown while it is open.
        fx.form->resize(fx.form->size() + fx.form->centralWidget()->size() * (scale - 1));
        QTRY_COMPARE(voice->size(), QSize(439, 245) * scale);
        if (wayland)
            QVERIFY(voice->parentWidget()->rect().contains(voice->geometry()));
        const WindowKind kind = windowKind(ChildWindow::Voice, currentWindowSystem());
        QCOMPARE(voice->isWindow(), !kind.panel);
        QCOMPARE(voice->parentWidget() == nullptr, !wayland);
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), fx.form.get());
        QCOMPARE(QApplication::focusWidget(), fx.w.Text1);
        // Closed as a window manager closes it, after the operator took it up.
        voice->activateWindow();
        part<QComboBox>(voice, "Combo1")->setFocus();
        voice->close();
        QTRY_COMPARE(QApplication::focusWidget(), fx.w.Text1);
    }

    // How the stage is shown in a window of each size, on screens of each density.
    void theStageScalesUniformlyToItsWindow_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<double>("ratio"); // the screen's device pixels per logical pixel
        QTest::addColumn<double>("scale");
        QTest::addColumn<QRect>("stage");
        QTest::addColumn<QRect>("face"); // where Picture1 (352, 256, 453 x 318) is shown
        const QSize design = StageScale::kStage;
        QTest::newRow("its own size")
            << design << 1.0 << 1.0 << QRect(QPoint(), design) << QRect(352, 256, 453, 318);
        QTest::newRow("its own size on a 2x screen")
            << design << 2.0 << 1.0 << QRect(QPoint(), design) << QRect(352, 256, 453, 318);
        QTest::newRow("1080p full screen: the height decides, black at the sides") << QSize(1920,
            1080) << 1.0 << 1080 / 573.0 << QRect(213, 0, 1493, 1080) << QRect(663, 483, 854, 599);
        QTest::newRow("4K full screen")
            << QSize(3840, 2160) << 1.0 << 2160 / 573.0 << QRect(427, 0, 2986, 2160)
            << QRect(1327, 965, 1708, 1199);
        QTest::newRow("a tall window: the width decides, black above and below") << QSize(
            1584, 1400) << 1.5 << 2.0 << QRect(0, 127, 1584, 1146) << QRect(704, 512, 906, 636);
        QTest::newRow("smaller than the stage: shrunk")
            << QSize(594, 600) << 1.0 << 0.75 << QRect(0, 85, 594, 430)
            << QRect(264, 192, 340, 239);
        QTest::newRow("smaller than half: half size, from the top left")
            << QSize(300, 200) << 1.0 << 0.5 << QRect(0, 0, 396, 287) << QRect(176, 128, 227, 159);
    }
    void theStageScalesUniformlyToItsWindow()
    {
        QFETCH(QSize, window);
        QFETCH(double, ratio);
        QFETCH(double, scale);
        QFETCH(QRect, stage);
        QFETCH(QRect, face);
        const StageScale shown(window, ratio);
        QCOMPARE(shown.scale(), scale);
        QCOMPARE(shown.density(), scale * ratio);
        QCOMPARE(shown.stageRect(), stage);
        QCOMPARE(shown.toWindow(QRect(352, 256, 453, 318)), face);
    }

    void theWholeStageScalesWithTheWindow()
    {
        Form1Fixture fx;
        fx.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
        auto* stage = fx.form->findChild<QWidget*>(QStringLiteral("Form1"));
        QWidget* area = fx.form->centralWidget();
        QCOMPARE(area->size(), StageScale::kStage);
        QCOMPARE(stage->geometry(), area->rect());
        const QFont design = fx.w.Text1->font();
        fx.form->resize(1280, 1000);
        QTRY_COMPARE(area->width(), 1280);
        const StageScale shown(area->size(), area->devicePixelRatioF());
        QCOMPARE(stage->geometry(), shown.stageRect());
        QCOMPARE(fx.w.Gifs[5]->geometry(), shown.toWindow(QRect(24, 488, 241, 83)));
        QCOMPARE(fx.w.Text1->font().pointSizeF(), design.pointSizeF() * shown.scale());
        QCOMPARE(area->palette().color(QPalette::Window), QColor(Qt::black));
        // The eye keeps jumping in stage pixels.
        fx.random.draws = { 0.0f, 0.0f };
        emit fx.w.Timer1->timeout();
        QCOMPARE(fx.w.Picture3->pos(), shown.toWindow(look::kEyeWanders.topLeft()));
    }

    // What the pointer meets at each spot: a hot spot only where no picture lies over it.
    void theHotSpotsLieUnderThePictures_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("meets");
        QTest::newRow("Label3 where the ghostly skull covers it") << QPoint(710, 200) << "Gif89a3";
        QTest::newRow("Label3 beside the skull") << QPoint(750, 200) << "Label3";
        QTest::newRow("Label4, clear of every picture") << QPoint(630, 60) << "Label4";
        QTest::newRow("Label1, clear of every picture") << QPoint(20, 300) << "Label1";
    }
    void theHotSpotsLieUnderThePictures()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, meets);
        Form1Fixture fx;
        auto* stage = fx.form->findChild<QWidget*>(QStringLiteral("Form1"));
        QWidget* met = stage->childAt(at);
        QVERIFY(met);
        QCOMPARE(met->objectName(), meets);
    }

    // As a window manager that activates every new window, and keeps it active, would have it.
    void keysGivenToTheVoiceWindowAfterALanguageCommandLandInThePetitionBox()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.form->show();
        QVERIFY(QTest::qWaitForWindowActive(fx.form.get()));
        language(fx.w, "English")->trigger();
        QWindow* voice = StageWidgets::calibrar()->windowHandle();
        for (QChar ch : QStringLiteral(",sim.")) {
            const auto key = Qt::Key(ch.toUpper().unicode());
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(voice, &press);
            QCoreApplication::sendEvent(voice, &release);
        }
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Answe"));
    }

    void windowKeywordsOpenTheirWindowAndKeepThePendingAnswer_data()
    {
        QTest::addColumn<QByteArray>("idioma");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("consultation");
        QTest::addColumn<bool>("wayland");
        QTest::newRow("pt voice") << QByteArray("0") << "quero mudar voz" << false << false;
        QTest::newRow("en voice") << QByteArray("1") << "Change Voice" << false << false;
        QTest::newRow("fr voice") << QByteArray("2") << "changez voix!" << false << false;
        QTest::newRow("es voice") << QByteArray("3") << "cambiar voz" << false << false;
        QTest::newRow("pt advice") << QByteArray("0") << "um CONSELHO" << true << false;
        QTest::newRow("en advice") << QByteArray("1") << "some Advice" << true << false;
        QTest::newRow("fr advice") << QByteArray("2") << "conseil" << true << false;
        QTest::newRow("es advice") << QByteArray("3") << "consejo" << true << false;
        QTest::newRow("de advice") << QByteArray("4") << "ein Ratschlag" << true << false;
        QTest::newRow("pt voice, Wayland") << QByteArray("0") << "mudar voz" << false << true;
        QTest::newRow("pt advice, Wayland") << QByteArray("0") << "conselho" << true << true;
    }
    void windowKeywordsOpenTheirWindowAndKeepThePendingAnswer()
    {
        QFETCH(QByteArray, idioma);
        QFETCH(QString, question);
        QFETCH(bool, consultation);
        QFETCH(bool, wayland);
        const Session session(wayland);
        Form1Fixture fx("[Quorvel]\nidioma=" + idioma + "\n");
        fx.form->show();
        fx.loaded();
        fx.random.cycle = twelveSticks();
        fx.type(",sim.");
        fx.type(question);
        const QString box = fx.w.Text1->text();
        fx.enter();
        QCOMPARE(bool(StageWidgets::form2()), consultation);
        QCOMPARE(bool(StageWidgets::calibrar()), !consultation);
        if (consultation)
            QVERIFY(StageWidgets::form2()->isVisible());
        QWidget* opened = StageWidgets::form2() ? static_cast<QWidget*>(StageWidgets::form2())
                                                : StageWidgets::calibrar();
        const WindowKind kind = windowKind(
            consultation ? ChildWindow::Consultation : ChildWindow::Voice, currentWindowSystem());
        QCOMPARE(kind.panel, wayland);
        QCOMPARE(opened->windowType(), Qt::WindowType(int(kind.flags & Qt::WindowType_Mask)));
        QCOMPARE(opened->windowFlags().testFlag(Qt::FramelessWindowHint),
            kind.flags.testFlag(Qt::FramelessWindowHint));
        // The window or panel stands clear of the petition box and its frame.
        const auto* frame = fx.form->findChild<QWidget*>(QStringLiteral("Shape1"));
        QVERIFY(!onScreen(opened).intersects(onScreen(frame)));
        QCOMPARE(QApplication::focusWidget()->window(), opened->window());
        QCOMPARE(fx.w.Text1->text(), box);
        StageWidgets::form2() ? StageWidgets::form2()->close() : StageWidgets::calibrar()->close();
        fx.w.Text1->setText(QStringLiteral("?"));
        QCOMPARE(fx.answer(), QStringLiteral("sim"));
    }

    // The consultation's reading stays and nothing reloads; only the display starts over.
    void theAdviceKeywordAgainWhileConsultingRestartsTheDisplayOnly()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.random.cycle = twelveSticks();
        fx.type("conselho");
        fx.enter();
        QPointer<Form2> form2 = StageWidgets::form2();
        for (int stick : { 0, 1, 2, 6, 7, 8 })
            form2->Form_DragDrop(stick);
        QCOMPARE(part<QTextEdit>(form2, "Text2")->toPlainText(), iching_texto(11));
        const QStringList spoken = fx.tts1().spoken;
        const QPoint bundled = part<QLabel>(form2, "Picture1", 3)->pos();

        fx.type("conselho");
        fx.enter();
        QCOMPARE(StageWidgets::form2(), form2);
        QCOMPARE(fx.tts1().spoken, spoken);
        QCOMPARE(part<QLabel>(form2, "Picture1", 3)->pos(), bundled);
        QCOMPARE(part<QTextEdit>(form2, "Text2")->toPlainText(), iching_texto(11));
        fx.tts1().speak_text(QStringLiteral("Sim"));
        QTRY_COMPARE(fx.tts1().speaking_state(), 0);
        const QString firstWord = iching_texto(11).section(QLatin1Char(' '), 0, 0) + ' ';
        QCOMPARE(part<QTextEdit>(form2, "Text2")->toPlainText(), firstWord);
        QCOMPARE(part<QLineEdit>(form2, "Text3")->text(), iching_nome(11));
        form2->close();
    }

    void leavingClosesTheOtherWindowsAndSavesOnce()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.random.cycle = twelveSticks();
        fx.w.menuOpcoesVoz->trigger();
        fx.type("conselho");
        fx.enter();
        QPointer<Calibrar> calibrar = StageWidgets::calibrar();
        QPointer<Form2> form2 = StageWidgets::form2();
        QVERIFY(calibrar && form2);
        fx.w.menuArquivoSair->trigger();
        QCOMPARE(fx.ended, 1);
        QTRY_VERIFY(!calibrar && !form2);
    }

    void aboutDoesNothing()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.w.menuHelpAbout->trigger();
        QVERIFY(fx.log.isEmpty());
    }

    void closingByTheWindowSystemSavesOnceWithoutFarewell()
    {
        Form1Fixture fx;
        fx.loaded();
        language(fx.w, "English")->trigger();
        fx.form->close();
        QCOMPARE(fx.ended, 1);
        QVERIFY(fx.tts1().spoken.isEmpty());
        QCOMPARE(fx.ini(), QByteArray("[Quorvel]\nvozvoz= 2\nvoztom= 65\nvozvel= 91\nidioma= 1\n"));
        fx.form->close();
        QCOMPARE(fx.ended, 1);
    }

    void exitMenuSaysFarewellThenSavesOnce()
    {
        Form1Fixture fx("[Quorvel]\nidioma=2\n");
        fx.loaded();
        fx.tts1().msPerWord = 20;
        fx.module.voz[1] = 70;
        fx.w.menuArquivoSair->trigger();
        QCOMPARE(fx.tts1().spoken, QStringList { "Arrevois. Voyez-vous dans l'enfer..." });
        QCOMPARE(fx.tts1().speaking_state(), 0);
        QCOMPARE(fx.ended, 1);
        QVERIFY(fx.ini().contains("voztom= 70\n"));
        QVERIFY(fx.ini().contains("idioma= 2\n"));
    }

    void closeBoxDuringTheFarewellEndsAtOnce()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.tts1().stuck = true;
        int endedAtClose = 0;
        QByteArray savedAtClose;
        QTimer::singleShot(20, fx.form.get(), [&] {
            fx.form->close();
            endedAtClose = fx.ended;
            savedAtClose = fx.ini();
            // Here the process is gone; release the wait so the test can finish.
            fx.tts1().stuck = false;
            fx.tts1().finishNow();
        });
        fx.form->fim();
        QCOMPARE(endedAtClose, 1);
        QVERIFY(savedAtClose.startsWith("[Quorvel]"));
    }

    void aSecondExitDuringTheFarewellSaysItAgainAndEndsAfterIt()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.tts1().msPerWord = 10;
        QTimer::singleShot(5, fx.form.get(), [&] { fx.w.menuArquivoSair->trigger(); });
        fx.form->fim();
        const QString farewell = QStringLiteral("speak_text(%1)").arg(fx.texts().frase_despedida);
        QCOMPARE(fx.log.mid(0, 3), QStringList({ farewell, farewell, "end" }));
        QCOMPARE(fx.ini().count("[Quorvel]"), 1);
    }

    void thePetitionBoxGetsTheKeyboardBackAfterAnAnswer()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.form->show();
        QVERIFY(QTest::qWaitForWindowActive(fx.form.get()));
        fx.type(",sim.");
        fx.form->menuBar()->setFocus();
        fx.enter();
        QTRY_COMPARE(fx.tts1().speaking_state(), 0);
        QVERIFY(fx.w.Text1->hasFocus());
    }

    void whatIsTypedIsDrawnBlackOnBlackUntilTheKeyComesUp()
    {
        Form1Fixture fx;
        fx.loaded();
        QTest::keyPress(fx.w.Text1, 'q');
        QCOMPARE(fx.w.Text1->palette().color(QPalette::Text), QColor(Qt::black));
        QCOMPARE(fx.w.Text1->palette().color(QPalette::Base), QColor(Qt::black));
        QTest::keyRelease(fx.w.Text1, 'q');
        QCOMPARE(fx.w.Text1->palette().color(QPalette::Text), QColor(Qt::white));
    }

    void thePetitionBoxIsDescribedInTheInterfaceLanguage_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::addColumn<int>("described"); // the language its description is in
        for (int i = 0; i < int(languageCount()); ++i)
            QTest::newRow(qPrintable(languageName(std::size_t(i)))) << i << i;
        QTest::newRow("outside the table keeps the Portuguese design") << 9 << 0;
    }
    void thePetitionBoxIsDescribedInTheInterfaceLanguage()
    {
        QFETCH(int, idioma);
        QFETCH(int, described);
        Form1Fixture fx("[Quorvel]\nidioma=" + QByteArray::number(idioma) + "\n");
        fx.form->Form_Load();
        const QString heard = QString::fromUtf8(widgetDescriptions(qint16(described))->petitionBox);
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(fx.w.Text1);
        QCOMPARE(box->text(QAccessible::Name), heard);
        language(fx.w, "English")->trigger();
        QCOMPARE(
            box->text(QAccessible::Name), QString::fromUtf8(widgetDescriptions(1)->petitionBox));
        StageWidgets::calibrar()->close();
    }

    void missingPicturesAndSoundsDoNotStopStartUp()
    {
        Form1Fixture fx;
        fx.form->Form_Load();
        const auto* animations = fx.form->findChild<StageClock*>();
        for (QLabel* gif : fx.w.Gifs)
            QVERIFY(animations->animationOf(gif)->isEmpty());
        QCOMPARE(fx.tts1().spoken.size(), 1);
    }

    void eachPlayerPlaysItsOwnFile()
    {
        Form1Fixture fx;
        QVERIFY(QFile::copy(
            QDir(qEnvironmentVariable("QUORVEL_TEST_APP_DIR")).filePath("eyesdemonic.gif"),
            fx.dir.filePath("eyesdemonic.gif")));
        fx.form->Form_Load();
        const auto* animations = fx.form->findChild<StageClock*>();
        QStringList playing;
        for (QLabel* gif : fx.w.Gifs) {
            if (!animations->animationOf(gif)->isEmpty())
                playing << gif->objectName();
        }
        QCOMPARE(playing, QStringList { "Gif89a5" });
        QCOMPARE(fx.w.Gifs[5]->geometry(), QRect(24, 488, 241, 83));
    }
};

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
