#pragma once

#include <QtGlobal>

#include <optional>

// The oracle waiting for the performer's phone, on a clock given at each call (milliseconds
// that never go back; the first call starts the wait): it waits silent, the orb pulsing again
// after every kPulseMs of quiet, until the phone's answer arrives, the phone asks for a refusal, or
// kLimitMs have passed.
class PhoneWait {
public:
    static constexpr qint64 kLimitMs = 30000;
    static constexpr qint64 kPulseMs = 5000;

    enum class Step {
        Wait, // nothing yet: wait `forMs` (or until the phone says something)
        Pulse, // light the orb once more, then ask again
        Answer, // the phone's answer is there
        Refuse, // the phone asked for a refusal, or the time ran out
    };
    struct Next {
        Step step;
        qint64 forMs = 0;
    };

    Next next(qint64 nowMs, bool answered, bool refusalAsked);

private:
    std::optional<qint64> m_start;
    qint64 m_nextPulse = 0;
    bool m_pulsing = false;
};
