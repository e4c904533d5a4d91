#include "Timer.h"

Timer::Timer(int interval, bool enabled, QObject* parent)
    : QObject(parent)
    , m_interval(interval)
    , m_enabled(enabled)
{
    connect(&m_timer, &QTimer::timeout, this, &Timer::timeout);
    apply();
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    apply();
}

void Timer::setInterval(int ms)
{
    m_interval = ms;
    apply();
}

void Timer::apply()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}
