#include "Random.h"

#include <chrono>

namespace {

uint64_t splitmix64(uint64_t& state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}

SystemRandom::SystemRandom()
{
    reseed();
}

void SystemRandom::reseed()
{
    // Several reseeds within one clock tick must still give fresh draws, or a loop that reseeds
    // before every draw (the stick shuffle) could repeat one value for the whole tick.
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    m_state = static_cast<uint64_t>(ticks) ^ (++m_reseeds * 0xD1B54A32D192ED03ull);
}

float SystemRandom::next()
{
    // 24 random bits scaled by 2^-24: never reaches 1.0, unlike a rounded float division.
    return static_cast<float>(splitmix64(m_state) >> 40) * (1.0f / 16777216.0f);
}
