#include "MouthTrack.h"

#include <algorithm>
#include <utility>

namespace mouth {

Track::Track(int framesPerSecond)
    : m_framesPerSecond(framesPerSecond)
{
}

qint64 Track::framesOf(int ms) const
{
    return qint64(ms) * m_framesPerSecond / 1000;
}

qint64 Track::neededFor(Shape shape) const
{
    return framesOf(shape == Shape::Rest ? kPauseMs : kShortestMs);
}

// The candidate is shown if its sound has lasted long enough by `until`.
void Track::settle(qint64 until)
{
    if (!m_candidate || until - m_candidate->frame < neededFor(m_candidate->shape))
        return;
    m_settled << Key { m_candidate->frame, m_candidate->shape };
    m_shown = m_candidate->shape;
    m_candidate.reset();
}

void Track::phoneme(qint64 frame, Shape shape)
{
    if (m_candidate) {
        if (shape == m_candidate->shape)
            return; // the same mouth goes on
        settle(frame);
        // Too short: the mouth it would have shown is never seen.
        m_candidate.reset();
    }
    if (shape != m_shown)
        m_candidate = Candidate { frame, shape };
}

QList<Track::Key> Track::takeSettled(qint64 produced)
{
    settle(produced);
    return std::exchange(m_settled, {});
}

qint64 Track::settledUntil(qint64 produced) const
{
    // A phoneme may be told before the sound it starts has been produced.
    return m_candidate ? std::min(m_candidate->frame, produced) : produced;
}

QList<Track::Key> Track::finish(qint64 end)
{
    settle(end);
    // A last pause closes the mouth however short it is; a last sound too short to see is not
    // shown, the mouth closes as it starts.
    const qint64 restAt = m_candidate ? m_candidate->frame : end;
    m_candidate.reset();
    if (m_shown != Shape::Rest)
        m_settled << Key { restAt, Shape::Rest };
    m_shown = Shape::Rest;
    return std::exchange(m_settled, {});
}

}
