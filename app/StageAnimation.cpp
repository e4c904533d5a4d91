#include "StageAnimation.h"

#include <QImageReader>

#include <numeric>

namespace {

// A frame without a delay of its own would otherwise spin as fast as it can be drawn.
constexpr int kDefaultDelayMs = 100;

QImage compact(const QImage& frame)
{
    const QImage indexed = frame.convertToFormat(QImage::Format_Indexed8);
    return indexed.convertToFormat(frame.format()) == frame ? indexed : frame;
}

} // namespace

StageAnimation::StageAnimation(const QString& path)
    : m_reader(std::make_unique<QImageReader>(path))
{
    readFrame();
}

StageAnimation::StageAnimation(const QList<QImage>& frames, const QList<int>& delays)
    : m_frames(frames)
    , m_delays(delays)
    , m_loopLength(std::accumulate(delays.begin(), delays.end(), qint64(0)))
{
}

StageAnimation::StageAnimation(StageAnimation&&) noexcept = default;
StageAnimation& StageAnimation::operator=(StageAnimation&&) noexcept = default;
StageAnimation::~StageAnimation() = default;

const QImage& StageAnimation::currentFrame() const
{
    static const QImage none;
    return isEmpty() ? none : m_frames.at(m_current);
}

bool StageAnimation::advanceTo(qint64 ms)
{
    const int before = m_current;
    // Whole loops missed while the thread was blocked end on the frame they began with.
    if (m_loopLength > 0 && ms - m_shownAt >= m_loopLength)
        m_shownAt += (ms - m_shownAt) / m_loopLength * m_loopLength;
    for (qint64 due = nextChangeAt(); due >= 0 && ms >= due; due = nextChangeAt()) {
        m_shownAt = due;
        if (!stepForward())
            break;
    }
    return m_current != before;
}

qint64 StageAnimation::nextChangeAt() const
{
    if (m_frames.isEmpty() || (m_frames.size() == 1 && !m_reader))
        return -1;
    return m_shownAt + m_delays.at(m_current);
}

bool StageAnimation::stepForward()
{
    if (m_current + 1 < m_frames.size() || readFrame())
        ++m_current;
    else
        m_current = 0;
    return nextChangeAt() >= 0;
}

bool StageAnimation::readFrame()
{
    if (!m_reader)
        return false;
    QImage frame;
    if (!m_reader->read(&frame)) {
        m_reader.reset();
        m_loopLength = std::accumulate(m_delays.begin(), m_delays.end(), qint64(0));
        return false;
    }
    const int delay = m_reader->nextImageDelay();
    m_frames << compact(frame);
    m_delays << (delay > 0 ? delay : kDefaultDelayMs);
    return true;
}
