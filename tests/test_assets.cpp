#include "MouthPictures.h"
#include "PictureSets.h"
#include "PointerHotSpots.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMovie>
#include <QtEndian>
#include <QtTest>

#include <cmath>

namespace {

QString appFile(const QString& name)
{
    return QDir(qEnvironmentVariable("QUORVEL_TEST_APP_DIR")).filePath(name);
}

// Mean brightness of the outermost ring of pixels, 0..255.
double borderBrightness(const QImage& image)
{
    double sum = 0;
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y : { 0, image.height() - 1 }) {
            sum += qGray(image.pixel(x, y));
            ++count;
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x : { 0, image.width() - 1 }) {
            sum += qGray(image.pixel(x, y));
            ++count;
        }
    }
    return sum / count;
}

// Mean difference per channel, 0..255, of two pictures of one size, over `area`.
double meanDifference(const QImage& a, const QImage& b, const QRect& area)
{
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * area.width() * area.height());
}

QImage mouthPicture(const char* name)
{
    return QImage(QStringLiteral(":/pictures/") + QLatin1String(name));
}

// The face where the mouth pictures lie over it.
QImage faceAtTheMouth()
{
    return QImage(":/pictures/face.jpg").copy(kMouthInFace);
}

struct Wave {
    quint16 format = 0;
    quint16 channels = 0;
    quint32 sampleRate = 0;
    quint16 bitsPerSample = 0;
    QList<qint16> samples;
};

Wave readWave(const QString& path)
{
    QFile file(path);
    Wave wave;
    if (!file.open(QIODevice::ReadOnly))
        return wave;
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return wave;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const char* body = bytes.constData() + at + 8;
        if (id == "fmt ") {
            wave.format = qFromLittleEndian<quint16>(body);
            wave.channels = qFromLittleEndian<quint16>(body + 2);
            wave.sampleRate = qFromLittleEndian<quint32>(body + 4);
            wave.bitsPerSample = qFromLittleEndian<quint16>(body + 14);
        } else if (id == "data") {
            for (quint32 i = 0; i + 1 < size && at + 8 + i + 1 < bytes.size(); i += 2)
                wave.samples << qFromLittleEndian<qint16>(body + i);
        }
        at += 8 + size + (size & 1);
    }
    return wave;
}

int peakOf(const QList<qint16>& samples, qsizetype from = 0)
{
    int peak = 0;
    for (qsizetype i = from; i < samples.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

}

class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void animationsBesideTheExecutableHaveTheirPlayersSizesAndLoopForever_data();
    void animationsBesideTheExecutableHaveTheirPlayersSizesAndLoopForever();
    void animationsPlayInAMovie_data();
    void animationsPlayInAMovie();
    void animationsSitOnBlack_data();
    void animationsSitOnBlack();

    void picturesAreCompiledIntoTheProgram_data();
    void picturesAreCompiledIntoTheProgram();
    void theEyeIsALoopingAnimation();
    void mouthsMeetTheFaceWithoutASeam_data();
    void mouthsMeetTheFaceWithoutASeam();
    void everyMouthShapeIsAMouthOfItsOwn();
    void handPointersAreTransparentAroundTheHandAndSolidAtTheirHotSpots_data();
    void handPointersAreTransparentAroundTheHandAndSolidAtTheirHotSpots();

    void sticksAreAnOrangeBarOnBlackWithTheBrokenOneGapped_data();
    void sticksAreAnOrangeBarOnBlackWithTheBrokenOneGapped();
    void wholeAndBrokenSticksLookTheSameInTheBundle();

    void soundsAre16BitPcmOfTheirIntendedLength_data();
    void soundsAre16BitPcmOfTheirIntendedLength();
    void soundsAreAudibleNeverClipAndFadeOutWithoutAClick_data();
    void soundsAreAudibleNeverClipAndFadeOutWithoutAClick();
};

void TestAssets::animationsBesideTheExecutableHaveTheirPlayersSizesAndLoopForever_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("gargoyle") << "GargoyleLeft.gif" << QSize(65, 128);
    QTest::newRow("candle") << "Candlelight.gif" << QSize(113, 160);
    QTest::newRow("glowing skull") << "skullgloweyered.gif" << QSize(113, 161);
    QTest::newRow("ghostly skull") << "ghostlyskull.gif" << QSize(136, 104);
    QTest::newRow("skeleton in hammock") << "skeletoninhammock.gif" << QSize(313, 283);
    QTest::newRow("demonic eyes") << "eyesdemonic.gif" << QSize(241, 83);
    QTest::newRow("reaper") << "reaperattack.gif" << QSize(140, 148);
}

void TestAssets::animationsBesideTheExecutableHaveTheirPlayersSizesAndLoopForever()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QImageReader reader(appFile(name));
    QCOMPARE(reader.format(), QByteArray("gif"));
    QCOMPARE(reader.size(), size);
    QCOMPARE(reader.loopCount(), -1);
    int frames = 0;
    QImage frame;
    while (reader.read(&frame)) {
        QCOMPARE(frame.size(), size);
        QVERIFY2(reader.nextImageDelay() >= 40 && reader.nextImageDelay() <= 300,
            qPrintable(QString::number(reader.nextImageDelay())));
        ++frames;
    }
    QVERIFY2(frames >= 8, qPrintable(QString::number(frames)));
    // Drawn again for denser screens: the same animation, `set` times finer.
    for (int set = 2; set <= kFinestAnimationSet; ++set) {
        QImageReader finer(pictureSetName(appFile(name), set));
        QCOMPARE(finer.size(), size * set);
        QCOMPARE(finer.imageCount(), frames);
    }
}

void TestAssets::animationsPlayInAMovie_data()
{
    animationsBesideTheExecutableHaveTheirPlayersSizesAndLoopForever_data();
}

void TestAssets::animationsPlayInAMovie()
{
    QFETCH(QString, name);
    QMovie movie(appFile(name));
    QVERIFY(movie.isValid());
    QVERIFY(movie.frameCount() >= 8);
    QCOMPARE(movie.loopCount(), -1);
    for (int frame = 0; frame < movie.frameCount(); ++frame) {
        QVERIFY(movie.jumpToNextFrame());
        QVERIFY(!movie.currentImage().isNull());
    }
}

void TestAssets::animationsSitOnBlack_data()
{
    animationsBesideTheExecutableHaveTheirPlayersSizesAndLoopForever_data();
}

void TestAssets::animationsSitOnBlack()
{
    QFETCH(QString, name);
    const QImage first(appFile(name));
    QVERIFY(!first.isNull());
    QVERIFY2(borderBrightness(first) < 40, qPrintable(QString::number(borderBrightness(first))));
}

void TestAssets::picturesAreCompiledIntoTheProgram_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::newRow("face") << ":/pictures/face.jpg" << QByteArray("jpeg") << QSize(451, 316);
    QTest::newRow("banner") << ":/pictures/banner.png" << QByteArray("png") << QSize(355, 123);
    QTest::newRow("eye") << ":/pictures/eye.gif" << QByteArray("gif") << QSize(57, 52);
    QTest::newRow("face crop") << ":/pictures/face_crop.png" << QByteArray("png") << QSize(136, 54);
    QTest::newRow("small face") << ":/pictures/calibrar_face.png" << QByteArray("png")
                                << QSize(165, 116);
    QTest::newRow("open hand") << ":/pictures/hand_open.png" << QByteArray("png") << QSize(32, 32);
    QTest::newRow("closed hand") << ":/pictures/hand_closed.png" << QByteArray("png")
                                 << QSize(32, 32);
    QTest::newRow("whole stick") << ":/pictures/stick_whole.png" << QByteArray("png")
                                 << QSize(95, 13);
    QTest::newRow("broken stick") << ":/pictures/stick_broken.png" << QByteArray("png")
                                  << QSize(95, 13);
    for (const char* name : kMouthPictures)
        QTest::newRow(name) << QStringLiteral(":/pictures/") + QLatin1String(name)
                            << QByteArray("png") << kMouthInFace.size();
}

void TestAssets::picturesAreCompiledIntoTheProgram()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QImageReader reader(path);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
}

void TestAssets::theEyeIsALoopingAnimation()
{
    QMovie movie(":/pictures/eye.gif");
    QVERIFY(movie.isValid());
    QVERIFY(movie.frameCount() >= 8);
    QCOMPARE(movie.loopCount(), -1);
}

void TestAssets::mouthsMeetTheFaceWithoutASeam_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : kMouthPictures)
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Laid over the face, a mouth's edges are the face's own pixels, so nothing shows where the
// picture ends; the mouth at rest is the face.
void TestAssets::mouthsMeetTheFaceWithoutASeam()
{
    QFETCH(QString, name);
    const QImage mouth = mouthPicture(qPrintable(name));
    const QImage face = faceAtTheMouth();
    QVERIFY(!mouth.hasAlphaChannel());
    const QRect all = mouth.rect();
    for (const QRect& edge :
        { QRect(0, 0, all.width(), 1), QRect(0, all.height() - 1, all.width(), 1),
            QRect(0, 0, 1, all.height()), QRect(all.width() - 1, 0, 1, all.height()) }) {
        const double difference = meanDifference(mouth, face, edge);
        QVERIFY2(difference < 0.5, qPrintable(QString::number(difference)));
    }
    if (name == QLatin1String(kMouthPictures[0]))
        QCOMPARE(mouth, face.convertToFormat(mouth.format()));
}

// Each shape reads as its own mouth: it differs from the face at rest and from every other
// shape where the lips are.
void TestAssets::everyMouthShapeIsAMouthOfItsOwn()
{
    const QRect lips = QRect(QPoint(0, 0), kMouthInFace.size()).adjusted(24, 10, -24, -10);
    for (size_t i = 0; i < kMouthPictures.size(); ++i) {
        for (size_t j = i + 1; j < kMouthPictures.size(); ++j) {
            const double difference = meanDifference(
                mouthPicture(kMouthPictures[i]), mouthPicture(kMouthPictures[j]), lips);
            QVERIFY2(difference > 4,
                qPrintable(
                    QStringLiteral("%1 against %2: %3")
                        .arg(QLatin1String(kMouthPictures[i]), QLatin1String(kMouthPictures[j]))
                        .arg(difference)));
        }
    }
}

void TestAssets::handPointersAreTransparentAroundTheHandAndSolidAtTheirHotSpots_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QPoint>("hotSpot");
    QTest::newRow("open") << ":/pictures/hand_open.png" << kHandOpenHotSpot;
    QTest::newRow("closed") << ":/pictures/hand_closed.png" << kHandClosedHotSpot;
}

void TestAssets::handPointersAreTransparentAroundTheHandAndSolidAtTheirHotSpots()
{
    QFETCH(QString, path);
    QFETCH(QPoint, hotSpot);
    const QImage hand = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(hand.hasAlphaChannel());
    for (const QPoint corner : { QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31) })
        QCOMPARE(qAlpha(hand.pixel(corner)), 0);
    int solidNearHotSpot = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx)
            solidNearHotSpot += qAlpha(hand.pixel(hotSpot + QPoint(dx, dy))) > 200 ? 1 : 0;
    }
    QVERIFY2(solidNearHotSpot >= 3, "the hot spot is not on the hand");
}

void TestAssets::sticksAreAnOrangeBarOnBlackWithTheBrokenOneGapped_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("broken");
    QTest::newRow("whole") << ":/pictures/stick_whole.png" << false;
    QTest::newRow("broken") << ":/pictures/stick_broken.png" << true;
}

void TestAssets::sticksAreAnOrangeBarOnBlackWithTheBrokenOneGapped()
{
    QFETCH(QString, path);
    QFETCH(bool, broken);
    const QImage stick(path);
    QCOMPARE(stick.size(), QSize(95, 13));
    for (int y = 0; y < stick.height(); ++y) {
        for (int x = 0; x < stick.width(); ++x) {
            const bool inGap = broken && x >= 38 && x <= 55;
            const bool onBar = y >= 5 && y <= 7 && !inGap;
            const QRgb expected = onBar ? qRgb(255, 128, 64) : qRgb(0, 0, 0);
            if (stick.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3")
                                     .arg(x)
                                     .arg(y)
                                     .arg(stick.pixel(x, y), 8, 16)));
        }
    }
}

void TestAssets::wholeAndBrokenSticksLookTheSameInTheBundle()
{
    const QImage whole(":/pictures/stick_whole.png");
    const QImage broken(":/pictures/stick_broken.png");
    QCOMPARE(whole.copy(56, 0, 39, 13), broken.copy(56, 0, 39, 13));
    QVERIFY(whole.copy(38, 0, 18, 13) != broken.copy(38, 0, 18, 13));
}

void TestAssets::soundsAre16BitPcmOfTheirIntendedLength_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("shortestMs");
    QTest::addColumn<int>("longestMs");
    QTest::newRow("sting") << "SINISTER.wav" << 2000 << 8000;
    QTest::newRow("key click") << "blip1.wav" << 30 << 60;
}

void TestAssets::soundsAre16BitPcmOfTheirIntendedLength()
{
    QFETCH(QString, name);
    QFETCH(int, shortestMs);
    QFETCH(int, longestMs);
    const Wave wave = readWave(appFile(name));
    QCOMPARE(wave.format, quint16(1));
    QCOMPARE(wave.bitsPerSample, quint16(16));
    QVERIFY(wave.sampleRate == 22050 || wave.sampleRate == 44100);
    QVERIFY(wave.channels == 1 || wave.channels == 2);
    const double ms = 1000.0 * wave.samples.size() / wave.channels / wave.sampleRate;
    QVERIFY2(ms >= shortestMs && ms <= longestMs, qPrintable(QString::number(ms)));
}

void TestAssets::soundsAreAudibleNeverClipAndFadeOutWithoutAClick_data()
{
    soundsAre16BitPcmOfTheirIntendedLength_data();
}

void TestAssets::soundsAreAudibleNeverClipAndFadeOutWithoutAClick()
{
    QFETCH(QString, name);
    const Wave wave = readWave(appFile(name));
    QVERIFY(!wave.samples.isEmpty());
    const int minusOneDbfs = static_cast<int>(32767 * std::pow(10.0, -1.0 / 20.0));
    const int peak = peakOf(wave.samples);
    QVERIFY2(peak < minusOneDbfs, qPrintable(QString::number(peak)));
    QVERIFY2(peak > 3000, qPrintable(QString::number(peak)));
    const qsizetype lastMillisecond = wave.samples.size() - wave.sampleRate * wave.channels / 1000;
    QVERIFY(peakOf(wave.samples, lastMillisecond) < 330);
}

QTEST_MAIN(TestAssets)
#include "test_assets.moc"
