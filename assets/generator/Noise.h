#pragma once

#include <cstdint>

// Deterministic noise, so every build draws the same pictures.
namespace noise {

// Uniform in [0, 1) for an integer lattice point.
float hash(int x, int y, std::uint32_t seed);

// Smoothly interpolated lattice noise in [0, 1).
float value(float x, float y, std::uint32_t seed);

// Sum of octaves of value noise, in [0, 1).
float fbm(float x, float y, int octaves, std::uint32_t seed);

// fbm whose sampling point travels round a circle as phase goes 0..1, so animations loop.
float loopingFbm(float x, float y, float phase, float travel, int octaves, std::uint32_t seed);

// Deterministic sequence of uniform numbers in [0, 1).
class Sequence {
public:
    explicit Sequence(std::uint32_t seed)
        : m_state(seed * 2654435761u + 1u)
    {
    }
    float next();
    float between(float low, float high) { return low + (high - low) * next(); }

private:
    std::uint32_t m_state;
};

}
