#include "generator/Noise.h"

#include <cmath>
#include <numbers>

namespace noise {

namespace {

    std::uint32_t mix(std::uint32_t h)
    {
        h ^= h >> 16;
        h *= 0x7feb352du;
        h ^= h >> 15;
        h *= 0x846ca68bu;
        h ^= h >> 16;
        return h;
    }

    float smooth(float t)
    {
        return t * t * (3.0f - 2.0f * t);
    }

}

float hash(int x, int y, std::uint32_t seed)
{
    const std::uint32_t h = mix(static_cast<std::uint32_t>(x) * 0x8da6b343u
        ^ static_cast<std::uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu);
    return static_cast<float>(h >> 8) / 16777216.0f;
}

float value(float x, float y, std::uint32_t seed)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = smooth(x - fx);
    const float ty = smooth(y - fy);
    const float top = hash(ix, iy, seed) + (hash(ix + 1, iy, seed) - hash(ix, iy, seed)) * tx;
    const float bottom
        = hash(ix, iy + 1, seed) + (hash(ix + 1, iy + 1, seed) - hash(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

float fbm(float x, float y, int octaves, std::uint32_t seed)
{
    float sum = 0.0f;
    float amplitude = 0.5f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * value(x, y, seed + static_cast<std::uint32_t>(octave) * 101u);
        total += amplitude;
        x = x * 2.03f + 17.1f;
        y = y * 2.03f - 9.7f;
        amplitude *= 0.5f;
    }
    return sum / total;
}

float loopingFbm(float x, float y, float phase, float travel, int octaves, std::uint32_t seed)
{
    const float angle = 2.0f * std::numbers::pi_v<float> * phase;
    return fbm(x + travel * std::cos(angle), y + travel * std::sin(angle), octaves, seed);
}

float Sequence::next()
{
    m_state = m_state * 1664525u + 1013904223u;
    return static_cast<float>(mix(m_state) >> 8) / 16777216.0f;
}

}
