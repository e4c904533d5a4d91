#include "Calibrar.h"
#include "Form1Fixture.h"
#include "MouthPictures.h"
#include "OrbCanvas.h"
#include "WindowParts.h"

#include <QPushButton>

// The face that speaks, wired to the voices of the stage.
class TestFace : public QObject {
    Q_OBJECT

    // Where the canvas paints, while it is watched.
    struct PaintWatch : QObject {
        QList<QRect> painted;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                painted << static_cast<QPaintEvent*>(event)->rect();
            return false;
        }
    };

    // The mouth's part of the canvas as it would paint now.
    static QImage mouthOnScreen(OrbCanvas* canvas)
    {
        return canvas->grab(canvas->mouthRect()).toImage().convertToFormat(QImage::Format_RGB32);
    }

    static QImage facePictureAtTheMouth(const char* name)
    {
        return QImage(QStringLiteral(":/pictures/") + QLatin1String(name))
            .convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void theMouthShowsEachShapeAsTheVoiceReachesItThenRests()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.tts1().msPerWord = 5;
        fx.tts1().mouths = { MouthShape::Open, MouthShape::Wide, MouthShape::Pursed };
        QList<MouthShape> atWords;
        connect(&fx.tts1(), &SpeechEngine::word_event, fx.form.get(),
            [&] { atWords << fx.w.Picture1->mouth(); });
        fx.form->voice().speak_text(QStringLiteral("Você tem tudo"));
        QTRY_COMPARE(fx.tts1().speaking_state(), 0);
        QCOMPARE(
            atWords, QList<MouthShape>({ MouthShape::Open, MouthShape::Wide, MouthShape::Pursed }));
        QCOMPARE(fx.w.Picture1->mouth(), MouthShape::Rest);
        QCOMPARE(mouthOnScreen(fx.w.Picture1), facePictureAtTheMouth(kMouthPictures[0]));
    }

    void eachShapeShowsItsOwnPictureAtTheMouth_data()
    {
        QTest::addColumn<MouthShape>("shape");
        for (int i = 1; i < mouth::kShapes; ++i)
            QTest::newRow(kMouthPictures[size_t(i)]) << MouthShape(i);
    }

    void eachShapeShowsItsOwnPictureAtTheMouth()
    {
        QFETCH(MouthShape, shape);
        Form1Fixture fx;
        fx.loaded();
        emit fx.tts1().mouth_shape(shape);
        QCOMPARE(
            mouthOnScreen(fx.w.Picture1), facePictureAtTheMouth(kMouthPictures[size_t(shape)]));
        // Lying over the face where the pictures were cropped from, inside the frame.
        QCOMPARE(fx.w.Picture1->mouthRect().topLeft(), kMouthInFace.topLeft() + QPoint(1, 1));
    }

    void onlyTheMouthRepaintsAndASilentFaceStaysStill()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
        QTest::qWait(50);
        PaintWatch watch;
        fx.w.Picture1->installEventFilter(&watch);
        fx.tts1().msPerWord = 20;
        fx.tts1().mouths = { MouthShape::Open, MouthShape::Open, MouthShape::Wide };
        fx.form->voice().speak_text(QStringLiteral("um dois três"));
        QTRY_COMPARE(fx.tts1().speaking_state(), 0);
        QTRY_VERIFY(!watch.painted.isEmpty());
        // Open, Wide and Rest: a repeated shape and the silence after the rest paint nothing.
        QTest::qWait(100);
        QVERIFY2(watch.painted.size() <= 3, qPrintable(QString::number(watch.painted.size())));
        for (const QRect& r : std::as_const(watch.painted))
            QVERIFY(fx.w.Picture1->mouthRect().contains(r));
        watch.painted.clear();
        QTest::qWait(300);
        QVERIFY(watch.painted.isEmpty());
    }

    void theRingsStayOverTheMouthAndClearingLeavesNoStaleMouth()
    {
        Form1Fixture fx;
        fx.loaded();
        OrbCanvas* face = fx.w.Picture1;
        const QColor ring(255, 255, 0);
        // A ring of the orb's through the mouth.
        face->circle(QPointF(226.5, 159), 70, ring);
        const auto ringPixels = [&] {
            const QImage mouth = mouthOnScreen(face);
            int count = 0;
            for (int y = 0; y < mouth.height(); ++y) {
                for (int x = 0; x < mouth.width(); ++x)
                    count += mouth.pixel(x, y) == ring.rgb();
            }
            return count;
        };
        const int before = ringPixels();
        QVERIFY(before > 10);
        emit fx.tts1().mouth_shape(MouthShape::Open);
        QCOMPARE(ringPixels(), before);
        // Cut short: the voice falls silent without a last shape.
        fx.tts1().speak_text(QStringLiteral("e"));
        fx.tts1().finishNow();
        face->cls();
        QCOMPARE(face->mouth(), MouthShape::Rest);
        QCOMPARE(mouthOnScreen(face), facePictureAtTheMouth(kMouthPictures[0]));
    }

    void theVoiceWindowsTrialLeavesTheFaceStill()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.w.menuOpcoesVoz->trigger();
        QVERIFY(StageWidgets::calibrar());
        FakeSpeechEngine& tts = *fx.engines.last();
        QVERIFY(&tts != &fx.tts1());
        tts.msPerWord = 5;
        tts.mouths = { MouthShape::Open, MouthShape::Wide };
        QList<MouthShape> atWords;
        connect(&tts, &SpeechEngine::word_event, fx.form.get(),
            [&] { atWords << fx.w.Picture1->mouth(); });
        part<QPushButton>(StageWidgets::calibrar(), "Command1")->click();
        QTRY_COMPARE(tts.speaking_state(), 0);
        QVERIFY(!atWords.isEmpty());
        QCOMPARE(atWords, QList<MouthShape>(atWords.size(), MouthShape::Rest));
    }
};

QTEST_MAIN(TestFace)
#include "test_face.moc"
