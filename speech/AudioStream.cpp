#include "AudioStream.h"

#include "AudioThread.h"

#include "PulseOutput.h"

#include <QTimer>

#include <algorithm>

namespace {

constexpr int kPumpIntervalMs = 5;
// Silence kept in the device while marks wait, so a short sound is never held back in the
// server's prebuffer and the clock keeps running to the last mark.
constexpr int kPaddingMs = 60;
// A device left open this long after the last sound is closed again.
constexpr int kIdleCloseMs = 1000;
// A device that plays nothing of what it was given for this long (a server with no session
// manager to link the stream, a hung server), once on a fresh stream too, is given up for the
// virtual clock. Waking a suspended sink takes under a second.
constexpr int kStallMs = 3000;
constexpr int kReopenAfterStallMs = 1500;

} // namespace

AudioStream::Clock AudioStream::defaultClock()
{
    return qEnvironmentVariable("QUORVEL_AUDIO") == QLatin1String("virtual") ? Clock::Virtual
                                                                             : Clock::Device;
}

QAudioFormat pcm16Format(int sampleRate, int channels)
{
    QAudioFormat format;
    format.setSampleFormat(QAudioFormat::Int16);
    format.setChannelCount(channels);
    format.setSampleRate(sampleRate);
    return format;
}

std::shared_ptr<AudioStream> AudioStream::create(const QAudioFormat& format, Clock clock)
{
    auto* stream = new AudioStream(format, clock);
    stream->moveToThread(audioThread());
    return std::shared_ptr<AudioStream>(stream, [](AudioStream* s) { s->deleteLater(); });
}

AudioStream::AudioStream(const QAudioFormat& format, Clock clock)
    : m_format(format)
    , m_virtual(clock == Clock::Virtual)
{
}

AudioStream::~AudioStream()
{
    closeSink();
}

void AudioStream::append(const QByteArray& pcm, const QList<Mark>& marks)
{
    {
        std::lock_guard lock(m_mutex);
        appendLocked(pcm, marks);
    }
    wake();
}

void AudioStream::clear()
{
    {
        std::lock_guard lock(m_mutex);
        dropUnplayedLocked();
    }
    wake();
}

void AudioStream::restart(
    const QAudioFormat& format, const QByteArray& pcm, const QList<Mark>& marks)
{
    {
        std::lock_guard lock(m_mutex);
        dropUnplayedLocked();
        m_format = format;
        appendLocked(pcm, marks);
    }
    wake();
}

qint64 AudioStream::queuedFrames() const
{
    std::lock_guard lock(m_mutex);
    return m_queuedFrames;
}

qint64 AudioStream::playedFrames() const
{
    return m_playedFrames;
}

bool AudioStream::isVirtual() const
{
    return m_virtual;
}

int AudioStream::sampleRate() const
{
    std::lock_guard lock(m_mutex);
    return m_format.sampleRate();
}

void AudioStream::dropUnplayedLocked()
{
    m_chunks.clear();
    m_chunkOffset = 0;
    m_marks.clear();
    m_writtenFrames = m_queuedFrames = m_playedFrames.load();
    m_cut = true;
}

void AudioStream::appendLocked(const QByteArray& pcm, const QList<Mark>& marks)
{
    for (const Mark& mark : marks) {
        const Mark absolute { m_queuedFrames + mark.frame, mark.tag };
        const auto at = std::upper_bound(m_marks.begin(), m_marks.end(), absolute,
            [](const Mark& a, const Mark& b) { return a.frame < b.frame; });
        m_marks.insert(at, absolute);
    }
    if (!pcm.isEmpty())
        m_chunks.push_back(pcm);
    m_queuedFrames += framesOf(pcm.size());
}

void AudioStream::wake()
{
    if (m_wakePosted.exchange(true))
        return;
    QMetaObject::invokeMethod(this, &AudioStream::startPumping, Qt::QueuedConnection);
}

void AudioStream::startPumping()
{
    m_wakePosted = false;
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setTimerType(Qt::PreciseTimer);
        m_timer->setInterval(kPumpIntervalMs);
        connect(m_timer, &QTimer::timeout, this, &AudioStream::pump);
    }
    if (!m_timer->isActive()) {
        m_virtualClock.start();
        m_virtualCarryNs = 0;
        m_timer->start();
    }
    m_idle.invalidate();
    pump();
}

void AudioStream::pump()
{
    QList<Mark> reached;
    {
        std::lock_guard lock(m_mutex);
        if (m_cut) {
            closeSink();
            m_cut = false;
        }
        if (!m_virtual && !m_output && hasWork())
            openSink();
        if (m_output && m_output->failed())
            switchToVirtual();
        if (m_virtual)
            feedVirtual();
        else if (m_output)
            feedDevice();
        updatePlayed();
        giveUpWhenStalled();
        reached = takeReachedMarks();
        stopWhenIdle();
    }
    for (const Mark& mark : reached)
        emit markReached(mark.tag, mark.frame);
}

void AudioStream::openSink()
{
    m_output = PulseOutput::open(m_format);
    m_sinkBase = m_writtenFrames;
    if (!m_output)
        switchToVirtual();
}

void AudioStream::closeSink()
{
    m_output.reset();
}

void AudioStream::switchToVirtual()
{
    static std::atomic<bool> told { false };
    if (!told.exchange(true))
        qWarning("quorvel: no sound can be played (no PulseAudio or PipeWire server answers, or "
                 "it does not play): the oracle goes on silently");
    closeSink();
    m_virtual = true;
    m_virtualClock.start();
    m_virtualCarryNs = 0;
}

void AudioStream::feedDevice()
{
    qint64 room = m_output->writableBytes();
    while (room > 0 && !m_chunks.empty()) {
        const QByteArray& chunk = m_chunks.front();
        const qint64 wanted = std::min<qint64>(room, chunk.size() - m_chunkOffset);
        const qint64 frameBytes = m_format.bytesPerFrame();
        const qint64 written
            = m_output->write(chunk.constData() + m_chunkOffset, wanted - wanted % frameBytes);
        if (written <= 0)
            return;
        room -= written;
        m_chunkOffset += written;
        m_writtenFrames += framesOf(written);
        m_soundWritten += framesOf(written);
        if (m_chunkOffset >= chunk.size()) {
            m_chunks.pop_front();
            m_chunkOffset = 0;
        }
    }
    if (m_chunks.empty())
        padWithSilence(room);
}

void AudioStream::padWithSilence(qint64 room)
{
    const qint64 target = qint64(m_format.sampleRate()) * kPaddingMs / 1000;
    const qint64 missing = target - (m_writtenFrames - m_playedFrames);
    const qint64 frames = std::min(missing, room / m_format.bytesPerFrame());
    if (frames <= 0)
        return;
    const QByteArray silence(frames * m_format.bytesPerFrame(), '\0');
    const qint64 written = m_output->write(silence.constData(), silence.size());
    if (written <= 0)
        return;
    m_writtenFrames += framesOf(written);
    m_queuedFrames += framesOf(written);
}

void AudioStream::feedVirtual()
{
    for (const QByteArray& chunk : m_chunks)
        m_soundWritten += framesOf(chunk.size());
    m_soundWritten -= framesOf(m_chunkOffset);
    m_chunks.clear();
    m_chunkOffset = 0;
    m_writtenFrames = m_queuedFrames;
}

void AudioStream::updatePlayed()
{
    qint64 played = m_playedFrames;
    if (m_virtual) {
        m_virtualCarryNs += m_virtualClock.nsecsElapsed();
        m_virtualClock.restart();
        const qint64 frames = m_virtualCarryNs * m_format.sampleRate() / 1000000000;
        m_virtualCarryNs -= frames * 1000000000 / m_format.sampleRate();
        played += frames;
        if (played >= m_writtenFrames)
            m_virtualCarryNs = 0; // a starved clock does not run ahead
    } else if (m_output) {
        played = m_sinkBase + m_output->heardUSecs() * m_format.sampleRate() / 1000000;
    }
    m_playedFrames = std::clamp(played, m_playedFrames.load(), m_writtenFrames);
}

void AudioStream::giveUpWhenStalled()
{
    const bool waiting = m_output && m_playedFrames < m_writtenFrames;
    if (!waiting || m_playedFrames != m_stalledAt) {
        if (m_playedFrames != m_stalledAt)
            m_reopenedForStall = false;
        m_stalledAt = m_playedFrames;
        m_stall.invalidate();
        return;
    }
    if (!m_stall.isValid()) {
        m_stall.start();
        return;
    }
    // A server now and then leaves one new stream unplayed: a fresh stream is tried first, the
    // little sound already handed to the stuck one given up, and only then the virtual clock.
    if (!m_reopenedForStall && m_stall.elapsed() >= kReopenAfterStallMs) {
        m_reopenedForStall = true;
        closeSink();
        m_playedFrames = m_writtenFrames;
        m_stalledAt = m_playedFrames;
        m_stall.invalidate();
    } else if (m_reopenedForStall && m_stall.elapsed() >= kStallMs) {
        switchToVirtual();
    }
}

QList<AudioStream::Mark> AudioStream::takeReachedMarks()
{
    QList<Mark> reached;
    while (!m_marks.empty() && m_marks.front().frame <= m_playedFrames) {
        reached << m_marks.front();
        m_marks.pop_front();
    }
    return reached;
}

void AudioStream::stopWhenIdle()
{
    if (hasWork()) {
        m_idle.invalidate();
        return;
    }
    if (m_output) {
        if (!m_idle.isValid())
            m_idle.start();
        if (m_idle.elapsed() < kIdleCloseMs)
            return;
        closeSink();
    }
    m_timer->stop();
}

bool AudioStream::hasWork() const
{
    return !m_chunks.empty() || !m_marks.empty() || (m_virtual && m_playedFrames < m_writtenFrames);
}

qint64 AudioStream::framesOf(qint64 bytes) const
{
    return m_format.bytesPerFrame() > 0 ? bytes / m_format.bytesPerFrame() : 0;
}
