#include "generator/Reverb.h"

namespace {

// Tunings in samples at 44.1 kHz, mutually prime so the echoes do not pile up.
constexpr std::array<int, 8> kCombLengths { 1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617 };
constexpr std::array<int, 4> kAllPassLengths { 556, 441, 341, 225 };

std::size_t scaled(int length, int sampleRate, int spread)
{
    return static_cast<std::size_t>((length + spread) * sampleRate / 44100);
}

}

Reverb::Reverb(int sampleRate, int spread, float roomSize, float damping)
    : m_feedback(roomSize)
    , m_damping(damping)
{
    for (std::size_t i = 0; i < m_combs.size(); ++i)
        m_combs[i].buffer.assign(scaled(kCombLengths[i], sampleRate, spread), 0.0f);
    for (std::size_t i = 0; i < m_allPasses.size(); ++i)
        m_allPasses[i].buffer.assign(scaled(kAllPassLengths[i], sampleRate, spread), 0.0f);
}

float Reverb::process(float input)
{
    float output = 0.0f;
    for (Comb& comb : m_combs) {
        const float delayed = comb.buffer[comb.index];
        comb.store = delayed * (1.0f - m_damping) + comb.store * m_damping;
        comb.buffer[comb.index] = input * 0.015f + comb.store * m_feedback;
        comb.index = (comb.index + 1) % comb.buffer.size();
        output += delayed;
    }
    for (AllPass& pass : m_allPasses) {
        const float delayed = pass.buffer[pass.index];
        pass.buffer[pass.index] = output + delayed * 0.5f;
        pass.index = (pass.index + 1) % pass.buffer.size();
        output = delayed - output;
    }
    return output;
}
