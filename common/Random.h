#pragma once

#include <cstdint>

// The random source the windows draw from: re-seeded from the clock where the oracle says so,
// then uniform single-precision draws in [0, 1). Tests script the draws.
class Random {
public:
    virtual ~Random() = default;
    virtual void reseed() = 0;
    virtual float next() = 0;

    // Int(Rnd * n): a whole number from 0 to n - 1.
    int pick(int n) { return static_cast<int>(static_cast<double>(next()) * n); }
};

class SystemRandom final : public Random {
public:
    SystemRandom();
    void reseed() override;
    float next() override;

private:
    uint64_t m_state = 0;
    uint64_t m_reseeds = 0;
};
