#include "PhoneWait.h"

#include <algorithm>

PhoneWait::Next PhoneWait::next(qint64 nowMs, bool answered, bool refusalAsked)
{
    // An answer that made it in time wins, even over a refusal asked in the same moment.
    if (answered)
        return { Step::Answer };
    // The quiet runs from the start, and from the end of each pulse: the call after it.
    if (!m_start || m_pulsing)
        m_nextPulse = nowMs + kPulseMs;
    if (!m_start)
        m_start = nowMs;
    m_pulsing = false;
    const qint64 deadline = *m_start + kLimitMs;
    if (refusalAsked || nowMs >= deadline)
        return { Step::Refuse };
    if (nowMs >= m_nextPulse) {
        m_pulsing = true;
        return { Step::Pulse };
    }
    return { Step::Wait, std::min(m_nextPulse, deadline) - nowMs };
}
