#pragma once

// A pause that blocks the user-interface thread: no input is handled meanwhile (it queues up),
// while audio, which does not depend on this thread, plays on.
class Pause {
public:
    virtual ~Pause() = default;
    virtual void sleep(int ms) = 0;
};

class ThreadPause final : public Pause {
public:
    void sleep(int ms) override;
};
