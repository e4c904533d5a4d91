#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

class PulseOutput;
class QTimer;

// Every sound the oracle plays is 16-bit PCM: the voice mono at the synthesizer's rate, the
// stage's sounds as their files say.
inline constexpr int kFallbackSampleRate = 22050;
QAudioFormat pcm16Format(int sampleRate, int channels = 1);

// One stream of PCM played on the machine's audio server from the audio thread. Marks are
// positions in the stream; markReached(tag, frame) is emitted on the audio thread (connect it
// queued) once the sound at that position is heard, by the server's own account, never earlier.
//
// Without a usable device (no audio server, a stream it refuses or never plays, a server going
// away mid-way) the stream goes on against a real-time virtual clock, so timing and marks behave
// the same and nothing waits forever. Setting the environment variable QUORVEL_AUDIO=virtual, or
// passing Clock::Virtual, forces that clock from the start (tests, machines without sound).
//
// append(), clear(), restart() and the position reads may be called from any thread.
class AudioStream final : public QObject {
    Q_OBJECT
public:
    struct Mark {
        qint64 frame; // counted from the start of the pcm it comes with
        int tag;
    };
    enum class Clock { Device, Virtual };

    static Clock defaultClock();
    // The stream lives on the audio thread and is deleted there when the last owner lets go.
    static std::shared_ptr<AudioStream> create(
        const QAudioFormat& format, Clock clock = defaultClock());

    void append(const QByteArray& pcm, const QList<Mark>& marks = {});
    // Drops everything not yet played, its marks included, and cuts the sound at once.
    void clear();
    // clear(), then plays pcm in a new format.
    void restart(const QAudioFormat& format, const QByteArray& pcm, const QList<Mark>& marks = {});

    qint64 queuedFrames() const;
    qint64 soundWrittenFrames() const { return m_soundWritten; } // the same, padding left out
    qint64 playedFrames() const;
    bool isVirtual() const;
    int sampleRate() const;

signals:
    void markReached(int tag, qint64 frame);

private:
    AudioStream(const QAudioFormat& format, Clock clock);
    ~AudioStream() override;

    void dropUnplayedLocked();
    void appendLocked(const QByteArray& pcm, const QList<Mark>& marks);
    void wake();
    void startPumping();
    void pump();
    void openSink();
    void closeSink();
    void switchToVirtual();
    void feedDevice();
    void padWithSilence(qint64 room);
    void feedVirtual();
    void updatePlayed();
    void giveUpWhenStalled();
    QList<Mark> takeReachedMarks();
    void stopWhenIdle();
    bool hasWork() const;
    qint64 framesOf(qint64 bytes) const;

    mutable std::mutex m_mutex;
    QAudioFormat m_format;
    std::deque<QByteArray> m_chunks;
    qint64 m_chunkOffset = 0;
    std::deque<Mark> m_marks; // absolute frames, in order
    qint64 m_queuedFrames = 0;
    qint64 m_writtenFrames = 0;
    std::atomic<qint64> m_playedFrames { 0 };
    std::atomic<qint64> m_soundWritten { 0 };
    std::atomic<bool> m_virtual;
    std::atomic<bool> m_wakePosted { false };
    bool m_cut = false;

    // Audio thread only.
    QTimer* m_timer = nullptr;
    std::unique_ptr<PulseOutput> m_output;
    qint64 m_sinkBase = 0; // frames written before the device was opened
    QElapsedTimer m_virtualClock;
    qint64 m_virtualCarryNs = 0;
    QElapsedTimer m_idle;
    QElapsedTimer m_stall;
    qint64 m_stalledAt = -1;
    bool m_reopenedForStall = false;
};
