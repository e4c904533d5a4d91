#include "Form1Fixture.h"
#include "HotSpot.h"
#include "OrbCanvas.h"
#include "StageLook.h"
#include "StageTimings.h"
#include "Timer.h"

#include <QEventLoop>
#include <QMouseEvent>

class TestEffects : public QObject {
    Q_OBJECT

    static void moveOver(QWidget* w)
    {
        const QPointF at(2, 2);
        QMouseEvent move(
            QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }

private slots:
    void orbDrawsFadingYellowRingsAndLeavesThePhoto()
    {
        Form1Fixture fx;
        fx.loaded();
        QList<OrbCanvas::Ring> drawn;
        bool crop = true, blinking = false;
        fx.pause.onSleep = [&] {
            drawn << fx.w.Picture1->rings().last();
            crop = crop && !fx.w.Picture4->isHidden();
            blinking = blinking || fx.w.Timer2->isEnabled();
        };
        fx.random.draws = { 0.999f };
        fx.form->acende_bola();
        QCOMPARE(drawn.size(), look::kOrbMostPulses * look::kOrbRings);
        for (int i = 0; i < drawn.size(); ++i) {
            const int anel = i % look::kOrbRings;
            QCOMPARE(drawn[i].centre, QPointF(226.5, 159));
            QCOMPARE(drawn[i].radius, look::kOrbFirstRadius + look::kOrbGrowth * anel);
            QCOMPARE(drawn[i].colour, look::orbRing(look::kOrbFirstLevel - look::kOrbFade * anel));
        }
        QCOMPARE(fx.pause.pauses.first(), timing::kOrbRingMs);
        QVERIFY(crop && !blinking);
        QVERIFY(fx.w.Picture1->rings().isEmpty());
        QVERIFY(fx.w.Picture4->isHidden());
        QVERIFY(fx.w.Timer2->isEnabled());

        fx.pause.pauses.clear();
        fx.random.draws = { 0.0f };
        fx.form->acende_bola();
        QCOMPARE(fx.pause.pauses.size(), look::kOrbRings);
    }

    void theOrbsRingsFadeFromBrightYellowToNearlyBlack_data()
    {
        QTest::addColumn<int>("nivel");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("the first ring") << look::kOrbFirstLevel << QColor(255, 255, 0);
        QTest::newRow("the last ring")
            << look::kOrbFirstLevel - look::kOrbFade * (look::kOrbRings - 1) << QColor(19, 19, 0);
    }
    void theOrbsRingsFadeFromBrightYellowToNearlyBlack()
    {
        QFETCH(int, nivel);
        QFETCH(QColor, colour);
        QCOMPARE(look::orbRing(nivel), colour);
    }

    // The orb and the eye draw on from the last re-seed, never re-seeding themselves.
    void theOrbAndTheEyeDrawWithoutReseeding()
    {
        Form1Fixture fx;
        fx.loaded();
        const int before = fx.random.reseeds;
        fx.form->acende_bola();
        emit fx.w.Timer1->timeout();
        QCOMPARE(fx.random.reseeds, before);
    }

    // A stick held during a reading: on a desktop its drag runs an event loop of its own until
    // the stick is let go (the offscreen platform's drag returns at once, so the hold is played
    // here by such a loop). The rings go on meanwhile, from one pulse to the next.
    void theOrbRingsOnWhileAHandlerWaitsInItsOwnEventLoop()
    {
        Form1Fixture fx;
        fx.loaded();
        QEventLoop held;
        int ringsWhileHeld = 0;
        const int ringsIntoTheSecondPulse = look::kOrbRings * 3 / 2;
        QTimer::singleShot(0, fx.form.get(), [&] {
            QTimer::singleShot(5000, &held, &QEventLoop::quit);
            held.exec();
        });
        fx.pause.onSleep = [&] {
            if (held.isRunning() && ++ringsWhileHeld == ringsIntoTheSecondPulse)
                held.quit();
        };
        fx.random.draws = { 0.2f }; // two pulses
        fx.form->acende_bola();
        QCOMPARE(ringsWhileHeld, ringsIntoTheSecondPulse);
        QCOMPARE(fx.pause.pauses, QList<int>(2 * look::kOrbRings, timing::kOrbRingMs));
        QVERIFY(fx.w.Picture1->rings().isEmpty());
        QVERIFY(fx.w.Picture4->isHidden());
    }

    // Lit again between two rings (a question asked during a reading), the orb plays the new
    // pulse whole, then the first one goes on where it was.
    void anOrbLitAgainMeanwhileHoldsTheFirstUntilItsOwnIsOver()
    {
        Form1Fixture fx;
        fx.loaded();
        QList<double> radii;
        fx.pause.onSleep = [&] {
            radii << fx.w.Picture1->rings().last().radius;
            if (radii.size() == 10)
                QTimer::singleShot(0, fx.form.get(), [&] { fx.form->acende_bola(); });
        };
        fx.random.draws = { 0.0f, 0.0f }; // one pulse each
        fx.form->acende_bola();
        QCOMPARE(radii.size(), 2 * look::kOrbRings);
        const qsizetype second = radii.indexOf(look::kOrbFirstRadius, 1);
        QVERIFY(second >= 10);
        QList<double> outer = radii.mid(0, second) + radii.mid(second + look::kOrbRings);
        QList<double> inner = radii.mid(second, look::kOrbRings);
        for (int step = 0; step < look::kOrbRings; ++step) {
            QCOMPARE(outer[step], look::kOrbFirstRadius + look::kOrbGrowth * step);
            QCOMPARE(inner[step], look::kOrbFirstRadius + look::kOrbGrowth * step);
        }
        QVERIFY(fx.w.Picture1->rings().isEmpty());
    }

    void theEyeWandersInsideItsBoxAndParksOutOfSight()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.random.draws = { 0.0f, 0.0f, 0.99999994f, 0.99999994f };
        emit fx.w.Timer1->timeout();
        QCOMPARE(fx.w.Picture3->pos(), look::kEyeWanders.topLeft());
        emit fx.w.Timer1->timeout();
        QCOMPARE(fx.w.Picture3->pos(), look::kEyeWanders.bottomRight());
        QPoint parked;
        fx.tts1().msPerWord = 5;
        connect(
            &fx.tts1(), &SpeechEngine::word_event, fx.form.get(),
            [&] { parked = fx.w.Picture3->pos(); }, Qt::SingleShotConnection);
        fx.type(",a.");
        fx.enter();
        QCOMPARE(parked, look::kEyeParked);
        QVERIFY(!QRect(QPoint(0, 0), fx.form->centralWidget()->size())
                     .intersects(QRect(parked, fx.w.Picture3->size())));
        QVERIFY(!fx.w.Timer1->isEnabled());
        QCOMPARE(fx.w.Timer1->interval(), 0);
    }

    void blinkingAlternatesItsTwoIntervals()
    {
        Form1Fixture fx;
        fx.loaded();
        QList<int> intervals;
        QList<bool> shown;
        for (int i = 0; i < 4; ++i) {
            emit fx.w.Timer2->timeout();
            intervals << fx.w.Timer2->interval();
            shown << !fx.w.Picture4->isHidden();
        }
        const int shortMs = timing::kBlinkShortMs, longMs = timing::kBlinkLongMs;
        QCOMPARE(intervals, QList<int>({ longMs, shortMs, longMs, shortMs }));
        QCOMPARE(shown, QList<bool>({ true, false, true, false }));
    }

    void hotSpotsSpeakOncePerPassOverTheBackground()
    {
        Form1Fixture fx;
        fx.loaded();
        StageWidgets& f = fx.w;
        moveOver(f.Labels[1]);
        moveOver(f.Labels[1]);
        QTRY_COMPARE(fx.tts1().speaking_state(), 0);
        QCOMPARE(fx.tts1().spoken.size(), 1);
        // Across the text box, the banner or a picture: still disarmed.
        moveOver(f.Text1);
        moveOver(f.Picture2);
        moveOver(f.Gifs[4]);
        moveOver(f.Labels[0]);
        QCOMPARE(fx.tts1().spoken.size(), 1);
        // Across the black background, or the face: armed again.
        moveOver(fx.form->centralWidget());
        moveOver(f.Labels[0]);
        QTRY_COMPARE(fx.tts1().speaking_state(), 0);
        moveOver(f.Picture1);
        moveOver(f.Labels[3]);
        QTRY_COMPARE(fx.tts1().speaking_state(), 0);
        QCOMPARE(fx.tts1().spoken,
            QStringList({ QString::fromUtf8("Estes olhos veêm no fundo de sua alma..."),
                "este é o meu amigo bahiano...", "Cuidado. A morte vai te dar as respostas..." }));
    }

    void aHotSpotWhileTheOracleSpeaksSaysNothingAndStaysArmed()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.tts1().stuck = true;
        fx.w.Picture3->show();
        moveOver(fx.w.Picture3);
        QVERIFY(fx.tts1().spoken.isEmpty());
        fx.tts1().stuck = false;
        moveOver(fx.w.Picture3);
        QCOMPARE(fx.tts1().spoken,
            QStringList { QString::fromUtf8("Este é o olho que tudo vê e tudo sabe...") });
    }
};

QTEST_MAIN(TestEffects)
#include "test_effects.moc"
