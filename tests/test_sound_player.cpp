#include "WavClip.h"
#include "WavSoundPlayer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray chunk(const QByteArray& id, const QByteArray& body, quint32 declared = 0)
{
    QByteArray c = id + le32(declared ? declared : quint32(body.size())) + body;
    if (body.size() % 2)
        c += '\0';
    return c;
}

QByteArray fmtBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = quint16(channels * bits / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

QByteArray wav(const QList<QByteArray>& chunks)
{
    QByteArray body = "WAVE";
    for (const QByteArray& c : chunks)
        body += c;
    return "RIFF" + le32(quint32(body.size())) + body;
}

QByteArray silence(int frames, int channels)
{
    return QByteArray(frames * channels * 2, '\0');
}

} // namespace

class TestSoundPlayer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

private slots:
    void wavFilesAreParsed_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("frames");
        QTest::newRow("mono 22050")
            << wav({ chunk("fmt ", fmtBody(1, 1, 22050, 16)), chunk("data", silence(100, 1)) }) << 1
            << 22050 << 100;
        QTest::newRow("stereo 44100")
            << wav({ chunk("fmt ", fmtBody(1, 2, 44100, 16)), chunk("data", silence(50, 2)) }) << 2
            << 44100 << 50;
        QTest::newRow("odd-sized chunk before the data")
            << wav({ chunk("fmt ", fmtBody(1, 1, 8000, 16)), chunk("LIST", "abc"),
                   chunk("data", silence(10, 1)) })
            << 1 << 8000 << 10;
        QTest::newRow("data size never patched") << wav(
            { chunk("fmt ", fmtBody(1, 1, 11025, 16)), chunk("data", silence(30, 1), 0xFFFFFFFF) })
                                                 << 1 << 11025 << 30;
    }

    void wavFilesAreParsed()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, frames);
        const std::optional<WavClip> clip = WavClip::parse(file);
        QVERIFY(clip);
        QCOMPARE(clip->format.channelCount(), channels);
        QCOMPARE(clip->format.sampleRate(), rate);
        QCOMPARE(clip->pcm.size(), frames * channels * 2);
    }

    void unplayableFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not RIFF") << QByteArray("hello, this is not a sound file");
        QTest::newRow("8-bit") << wav(
            { chunk("fmt ", fmtBody(1, 1, 22050, 8)), chunk("data", "abcd") });
        QTest::newRow("compressed")
            << wav({ chunk("fmt ", fmtBody(2, 1, 22050, 16)), chunk("data", "abcd") });
        QTest::newRow("six channels")
            << wav({ chunk("fmt ", fmtBody(1, 6, 22050, 16)), chunk("data", "abcd") });
        QTest::newRow("no format chunk") << wav({ chunk("data", silence(10, 1)) });
        QTest::newRow("truncated format") << wav({ chunk("fmt ", "\x01\x00\x01\x00") });
        QTest::newRow("no data chunk") << wav({ chunk("fmt ", fmtBody(1, 1, 22050, 16)) });
    }

    void unplayableFilesAreRefused()
    {
        QFETCH(QByteArray, file);
        QVERIFY(!WavClip::parse(file));
    }

    void missingAndCorruptFilesAreSilent()
    {
        WavSoundPlayer player(AudioStream::Clock::Virtual);
        player.play(m_dir.filePath(QStringLiteral("absent.wav")));
        player.play(write(QStringLiteral("corrupt.wav"), "RIFF\x10\x00\x00\x00WAVEjunkjunk"));
        QTest::qWait(100);
        QVERIFY(!player.isPlaying());
    }

    void aSoundPlaysForItsDurationThenStops()
    {
        WavSoundPlayer player(AudioStream::Clock::Virtual);
        player.play(write(QStringLiteral("short.wav"),
            wav({ chunk("fmt ", fmtBody(1, 1, 22050, 16)), chunk("data", silence(4410, 1)) })));
        QTRY_VERIFY(player.isPlaying());
        QTRY_VERIFY(!player.isPlaying());
    }

    void aSecondSoundCutsTheFirst()
    {
        WavSoundPlayer player(AudioStream::Clock::Virtual);
        const QString tenSeconds = write(QStringLiteral("long.wav"),
            wav({ chunk("fmt ", fmtBody(1, 2, 44100, 16)), chunk("data", silence(441000, 2)) }));
        const QString tenthOfASecond = write(QStringLiteral("blip.wav"),
            wav({ chunk("fmt ", fmtBody(1, 1, 22050, 16)), chunk("data", silence(2205, 1)) }));
        player.play(tenSeconds);
        QTRY_VERIFY(player.isPlaying());
        player.play(tenthOfASecond);
        QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 3000);
    }

    void aMissingFileStillCutsTheSoundPlaying()
    {
        WavSoundPlayer player(AudioStream::Clock::Virtual);
        player.play(write(QStringLiteral("long2.wav"),
            wav({ chunk("fmt ", fmtBody(1, 1, 22050, 16)), chunk("data", silence(220500, 1)) })));
        QTRY_VERIFY(player.isPlaying());
        player.play(m_dir.filePath(QStringLiteral("absent.wav")));
        QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 3000);
    }
};

QTEST_MAIN(TestSoundPlayer)
#include "test_sound_player.moc"
