#pragma once

#include <array>
#include <cstddef>
#include <vector>

// A Schroeder-Moorer reverberator (parallel damped combs into serial all-passes) for one channel;
// two with different spreads make a stereo room.
class Reverb {
public:
    Reverb(int sampleRate, int spread, float roomSize, float damping);
    float process(float input);

private:
    struct Comb {
        std::vector<float> buffer;
        std::size_t index = 0;
        float store = 0.0f;
    };
    struct AllPass {
        std::vector<float> buffer;
        std::size_t index = 0;
    };

    std::array<Comb, 8> m_combs;
    std::array<AllPass, 4> m_allPasses;
    float m_feedback;
    float m_damping;
};
