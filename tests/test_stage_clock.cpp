#include "StageAnimation.h"
#include "StageClock.h"
#include "StagePrefetch.h"
#include "StageScale.h"
#include "StageView.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace {

QString appFile(const QString& name)
{
    return QDir(qEnvironmentVariable("QUORVEL_TEST_APP_DIR")).filePath(name);
}

// Frames told apart by their colour, each on show for the given time.
StageAnimation plainAnimation(const QList<int>& delays)
{
    QList<QImage> frames;
    for (int i = 0; i < delays.size(); ++i) {
        QImage frame(4, 4, QImage::Format_Indexed8);
        frame.setColorTable({ qRgb(10 * i, 0, 0) });
        frame.fill(0);
        frames << frame;
    }
    return StageAnimation(frames, delays);
}

QString changedAsText(const QList<int>& players)
{
    QStringList names;
    for (int i : players)
        names << QString::number(i);
    return names.join(QLatin1Char(' '));
}

} // namespace

class TestStageClock : public QObject {
    Q_OBJECT

private slots:
    void framesFollowTheirOwnDelays_data()
    {
        QTest::addColumn<QList<int>>("delays");
        QTest::addColumn<QList<qint64>>("ticks");
        QTest::addColumn<QList<int>>("frames");
        const QList<int> delays { 70, 90, 100 };
        QTest::newRow("the first frame shows from the start")
            << delays << QList<qint64> { 0 } << QList<int> { 0 };
        QTest::newRow("a frame stays until its delay is up")
            << delays << QList<qint64> { 69, 159, 259 } << QList<int> { 0, 1, 2 };
        QTest::newRow("the next frame comes the moment the delay is up")
            << delays << QList<qint64> { 70, 160, 260 } << QList<int> { 1, 2, 0 };
        QTest::newRow("a late tick does not delay the frames after it")
            << delays << QList<qint64> { 85, 160 } << QList<int> { 1, 2 };
        QTest::newRow("a tick that missed whole frames shows the next one and counts from there")
            << delays << QList<qint64> { 165, 254, 255 } << QList<int> { 1, 1, 2 };
        QTest::newRow("a single frame stays for ever")
            << QList<int> { 100 } << QList<qint64> { 100, 5000 } << QList<int> { 0, 0 };
    }

    void framesFollowTheirOwnDelays()
    {
        QFETCH(QList<int>, delays);
        QFETCH(QList<qint64>, ticks);
        QFETCH(QList<int>, frames);
        StageAnimation animation = plainAnimation(delays);
        QList<int> shown;
        for (qint64 ms : ticks) {
            animation.advanceTo(ms);
            shown << animation.currentIndex();
        }
        QCOMPARE(shown, frames);
    }

    void onlyThePlayersWhoseFrameChangedAreRepainted_data()
    {
        QTest::addColumn<QList<int>>("delays"); // one two-frame animation per player, 0 = empty
        QTest::addColumn<QList<qint64>>("ticks");
        QTest::addColumn<QStringList>("changed");
        QTest::newRow("nothing changes before the shortest delay")
            << QList<int> { 70, 90, 100 } << QList<qint64> { 50 } << QStringList { "" };
        QTest::newRow("each player changes at its own delay") << QList<int> { 70, 90,
            100 } << QList<qint64> { 70, 90, 100, 140 } << QStringList { "0", "1", "2", "0" };
        QTest::newRow("players due at the same time change in one tick") << QList<int> { 100, 70,
            100 } << QList<qint64> { 70, 100 } << QStringList { "1", "0 2" };
        QTest::newRow("an empty player never changes")
            << QList<int> { 0, 70 } << QList<qint64> { 70, 140 } << QStringList { "1", "1" };
    }

    void onlyThePlayersWhoseFrameChangedAreRepainted()
    {
        QFETCH(QList<int>, delays);
        QFETCH(QList<qint64>, ticks);
        QFETCH(QStringList, changed);
        QWidget stage;
        StageClock clock;
        for (int delay : delays) {
            const QList<int> twoFrames { delay, delay };
            clock.play(new QWidget(&stage),
                delay > 0 ? plainAnimation(twoFrames) : StageAnimation(QList<QImage>(), {}));
        }
        QStringList seen;
        for (qint64 ms : ticks)
            seen << changedAsText(clock.advanceTo(ms));
        QCOMPARE(seen, changed);
    }

    void aFileThatCannotBeReadLeavesItsPlayerEmpty_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::newRow("a missing file") << QByteArray();
        QTest::newRow("an empty file") << QByteArray("");
        QTest::newRow("a file that is no picture") << QByteArray("GIF89a\x01\x02 not really");
    }

    void aFileThatCannotBeReadLeavesItsPlayerEmpty()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath("broken.gif");
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QWidget stage;
        auto* player = new QWidget(&stage);
        player->resize(40, 40);
        StageClock clock;
        clock.play(player, StageAnimation(path));
        QVERIFY(clock.animationOf(player)->isEmpty());
        QCOMPARE(clock.animationOf(player)->nextChangeAt(), -1);
        QCOMPARE(clock.advanceTo(10000), QList<int>());
        QVERIFY(!player->grab().isNull());
    }

    void aFileCutOffPartWayLoopsTheFramesBeforeTheCut()
    {
        QFile whole(appFile("GargoyleLeft.gif"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        QTemporaryDir dir;
        QFile cut(dir.filePath("cut.gif"));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(bytes.left(bytes.size() / 2));
        cut.close();

        StageAnimation animation(cut.fileName());
        QVERIFY(!animation.isEmpty());
        for (qint64 ms = 0; ms < 10000; ms += 10)
            animation.advanceTo(ms);
        QVERIFY(animation.frameCount() < QImageReader(whole.fileName()).imageCount());
        QVERIFY(animation.currentIndex() < animation.frameCount());
        QVERIFY(!animation.picture().isNull());
    }

    // A player is placed at the stage's scale, and its frame drawn to cover it at that scale: a
    // frame taller than the bands it is drawn in, its top half one colour and its bottom another.
    void aFrameCoversItsPlayerAtTheStagesScale_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("the stage's own size") << 1.0;
        QTest::newRow("twice as large") << 2.0;
        QTest::newRow("a TV's") << 1080.0 / 573;
        QTest::newRow("half size") << StageScale::kSmallest;
    }
    void aFrameCoversItsPlayerAtTheStagesScale()
    {
        QFETCH(double, scale);
        const StageScale shown(StageScale::kStage * scale, 1.0);
        QWidget player;
        player.resize(shown.toWindow(QRect(0, 0, 8, 100)).size());
        const QRgb top = qRgb(200, 30, 10);
        const QRgb bottom = qRgb(10, 30, 200);
        QImage frame(8, 100, QImage::Format_RGB32);
        frame.fill(top);
        for (int y = 50; y < 100; ++y)
            std::fill_n(reinterpret_cast<QRgb*>(frame.scanLine(y)), 8, bottom);
        StageClock clock;
        clock.setScale(shown);
        clock.play(&player, StageAnimation({ frame }, { 100 }));
        const QImage seen = player.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Away from where the halves meet, resampled into each other.
        const int middle = player.height() / 2;
        for (int y = 0; y < player.height(); ++y) {
            if (std::abs(y - middle) <= 2)
                continue;
            for (int x = 0; x < player.width(); ++x)
                QCOMPARE(seen.pixel(x, y), y < middle ? top : bottom);
        }
    }

    // Frames of 200 colours each, none shared: together more than one colour table holds.
    void framesWithMoreColoursThanATableHoldsStillShowAsTheyAre()
    {
        QList<QImage> frames;
        for (int i = 0; i < 3; ++i) {
            QImage frame(200, 1, QImage::Format_RGB32);
            for (int x = 0; x < 200; ++x)
                frame.setPixel(x, 0, qRgb(x, 100 * i, 7));
            frames << frame;
        }
        StageAnimation animation(frames, { 10, 10, 10 });
        for (int step = 0; step < 6; ++step) {
            QCOMPARE(animation.picture().convertToFormat(QImage::Format_RGB32),
                frames[animation.currentIndex()]);
            animation.advanceTo(animation.nextChangeAt());
        }
    }

    // What is decoded ahead for a scale is what the stage would decode itself, given once, and
    // only for that scale.
    void picturesDecodedAheadAreThoseOfTheirScale()
    {
        const StageScale twice(StageScale::kStage * 2, 1.0);
        const QString face = QStringLiteral(":/pictures/face.jpg");
        prefetch::start(twice, { face }, { appFile("Candlelight.gif") });
        QVERIFY(!prefetch::takeStill(face, StageScale()));
        QVERIFY(!prefetch::takeAnimation(appFile("Candlelight.gif")));
        QCOMPARE(prefetch::takeStill(face, twice).value(), stageImage(face, twice));
        QVERIFY(!prefetch::takeStill(face, twice));
        const std::optional<StageAnimation> candle
            = prefetch::takeAnimation(appFile("Candlelight@2x.gif"));
        QVERIFY(candle);
        QCOMPARE(candle->picture().size(), QImageReader(appFile("Candlelight@2x.gif")).size());
        prefetch::settle(twice);
    }

    void theStagePicturesLookAndTimeAsTheFileSays_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name :
            { "GargoyleLeft.gif", "Candlelight.gif", "skullgloweyered.gif", "ghostlyskull.gif",
                "skeletoninhammock.gif", "eyesdemonic.gif", "reaperattack.gif" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void theStagePicturesLookAndTimeAsTheFileSays()
    {
        QFETCH(QString, name);
        QImageReader reader(appFile(name));
        QList<QImage> expected;
        QList<int> delays;
        for (QImage image; reader.read(&image);) {
            expected << image;
            delays << reader.nextImageDelay();
        }
        QVERIFY(!expected.isEmpty());
        StageAnimation animation(appFile(name));
        qint64 at = 0;
        // The second loop draws from what the first one learnt.
        for (int loop = 0; loop < 2; ++loop) {
            for (int i = 0; i < expected.size(); ++i) {
                QCOMPARE(animation.currentIndex(), i);
                QVERIFY(animation.frame(i).isNull()
                    || animation.frame(i).format() == QImage::Format_Indexed8);
                QCOMPARE(animation.picture().convertToFormat(expected[i].format()), expected[i]);
                at += delays[i];
                QCOMPARE(animation.nextChangeAt(), at);
                animation.advanceTo(at);
            }
        }
        QCOMPARE(animation.frameCount(), expected.size());
    }
};

QTEST_MAIN(TestStageClock)
#include "test_stage_clock.moc"
