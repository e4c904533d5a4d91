#include "Form1Fixture.h"
#include "FullScreen.h"
#include "HotSpot.h"
#include "StageTimings.h"
#include "Timer.h"

#include <QInputMethodEvent>
#include <QMenuBar>

class TestPetition : public QObject {
    Q_OBJECT

    static QString pt(const char* s) { return QString::fromUtf8(s); }

private slots:
    void theTrickRevealsThePetitionOneCharacterPerKey()
    {
        Form1Fixture fx;
        fx.loaded();
        QStringList shown;
        for (char key : { ',', 's', 'i', 'm', '.' }) {
            QTest::keyClick(fx.w.Text1, key);
            shown << fx.w.Text1->text();
        }
        QCOMPARE(shown, QStringList({ "R", "Re", "Res", "Resp", "Respo" }));
        fx.type(" vou casar?");
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Respo vou casar?"));
        QCOMPARE(fx.answer(), QStringLiteral("sim"));
    }

    void theFullScreenKeyNeverReachesTheTrick()
    {
        Form1Fixture fx;
        fx.loaded();
        new FullScreen(fx.form.get());
        fx.type(",si");
        const QPoint eye = fx.w.Picture3->pos();
        const QWidget* stage = fx.w.Text1->parentWidget();
        const auto* menuBar = fx.form->findChild<QMenuBar*>();
        for (bool full : { true, false }) {
            QTest::keyClick(fx.w.Text1, FullScreen::kToggleKey);
            QCOMPARE(fx.form->isFullScreen(), full);
            QCOMPARE(fx.w.Text1->text(), QStringLiteral("Res"));
            QCOMPARE(fx.w.Picture3->pos(), eye);
            QCOMPARE(menuBar->isVisible(), !full);
            if (full) {
                // The menu bar called back at the top edge shows over the stage, which stays put.
                QCoreApplication::processEvents();
                const QRect shown(stage->mapTo(fx.form.get(), QPoint()), stage->size());
                QTest::mouseMove(fx.form.get(), QPoint(fx.form->width() / 2, 0));
                QVERIFY(menuBar->isVisible());
                QCOMPARE(QRect(stage->mapTo(fx.form.get(), QPoint()), stage->size()), shown);
            }
        }
        QCOMPARE(fx.answer(), QStringLiteral("si"));
    }

    void keysThatProduceNoCharacterRevealButCollectNothing()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(",");
        QTest::keyClick(fx.w.Text1, Qt::Key_Left);
        QTest::keyClick(fx.w.Text1, Qt::Key_Delete);
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Res"));
        // A capital typed with Shift: one reveal for the Shift release, one for the letter.
        // (keyClick with a modifier presses and releases Shift around the letter)
        QTest::keyClick(fx.w.Text1, 'S', Qt::ShiftModifier);
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Respo"));
        QCOMPARE(fx.answer(), QStringLiteral("S"));
    }

    void backspaceEditsTheHiddenAnswer()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(",");
        QTest::keyClick(fx.w.Text1, Qt::Key_Backspace); // nothing to take away yet
        fx.type("nao");
        QTest::keyClick(fx.w.Text1, Qt::Key_Backspace);
        // The box's own editing took one petition character away; the next key restores it.
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Res"));
        fx.type("o");
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Respo"));
        QCOMPARE(fx.answer(), QStringLiteral("nao"));
    }

    void autoRepeatCollectsEveryCharacterButRevealsOnce()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(",");
        for (int i = 0; i < 4; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", i > 0);
            QApplication::sendEvent(fx.w.Text1, &press);
        }
        QTest::keyRelease(fx.w.Text1, Qt::Key_A);
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Re"));
        QCOMPARE(fx.answer(), QStringLiteral("aaaa"));
    }

    void aCommaInsideTheQuestionStartsCaptureAgain()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(",a.quem");
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Resquem"));
        fx.type(",b");
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Respo"));
        QCOMPARE(fx.answer(), QStringLiteral("ab"));
    }

    void accentsFromAnInputMethodAreCapturedAndHidden()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(",n");
        QInputMethodEvent compose;
        compose.setCommitString(pt("ã"));
        QApplication::sendEvent(fx.w.Text1, &compose);
        fx.type("o.");
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("Respo"));
        QVERIFY(!fx.w.Text1->text().contains(pt("ã")));
        QCOMPARE(fx.answer(), pt("não"));
    }

    void enterIsNeverCollected()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(",sim");
        QCOMPARE(fx.answer(), QStringLiteral("sim"));
        // Still capturing: what is typed next is hidden, and nothing of Enter was collected.
        fx.type("x");
        QCOMPARE(fx.w.Text1->text(), QStringLiteral("R"));
        QCOMPARE(fx.answer(), QStringLiteral("x"));
    }

    void keyHooksStartTheEyeAndTheBlinking()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.w.Timer2->setEnabled(false);
        fx.w.Picture4->show();
        fx.type("a");
        QVERIFY(fx.w.Timer1->isEnabled());
        QCOMPARE(fx.w.Timer1->interval(), timing::kEyeMs);
        QVERIFY(fx.w.Timer2->isEnabled());
        QVERIFY(fx.w.Picture4->isHidden());
        QVERIFY(!fx.w.Picture3->isHidden());
        QCOMPARE(fx.w.Text1->palette().color(QPalette::Text), QColor(Qt::white));
    }

    void keyClickSkipsSpaceAndShiftOutsideCapture()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.type(" a");
        QTest::keyClick(fx.w.Text1, Qt::Key_Shift);
        QCOMPARE(fx.sound.played, QStringList { "blip1.wav" });
        fx.type(", ");
        QTest::keyClick(fx.w.Text1, Qt::Key_Shift);
        QCOMPARE(fx.sound.played.size(), 4);
    }
};

QTEST_MAIN(TestPetition)
#include "test_petition.moc"
