#include "generator/Sounds.h"

#include "generator/Noise.h"
#include "generator/Reverb.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace sounds {

namespace {

    constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
    constexpr int kRate = 44100;

    float smoothStep(float from, float to, float t)
    {
        const float x = std::clamp((t - from) / (to - from), 0.0f, 1.0f);
        return x * x * (3.0f - 2.0f * x);
    }

    // Rises from `start` to full over `rise` seconds, holds, then dies away from `fade` to `end`.
    float envelope(float t, float start, float rise, float fade, float end)
    {
        return smoothStep(start, start + rise, t) * (1.0f - smoothStep(fade, end, t));
    }

    struct Voice {
        float phase = 0.0f;
        float advance(float frequency)
        {
            phase += kTwoPi * frequency / kRate;
            if (phase > kTwoPi)
                phase -= kTwoPi;
            return phase;
        }
    };

    // A band-limited buzzing tone: twelve harmonics falling off as a sawtooth's.
    float buzz(float phase)
    {
        float sum = 0.0f;
        for (int k = 1; k <= 12; ++k)
            sum += std::sin(phase * k) / static_cast<float>(k);
        return sum * 0.6f;
    }

    class Drone {
    public:
        Drone(float frequency, float detune)
            : m_frequency(frequency * detune)
        {
        }
        float next(float t)
        {
            const float wobble = 1.0f + 0.004f * std::sin(kTwoPi * 0.23f * t + m_frequency);
            const float raw = buzz(m_voice.advance(m_frequency * wobble));
            const float cutoff = 180.0f + 700.0f * envelope(t, 0.2f, 1.6f, 2.4f, 4.6f);
            m_low += (1.0f - std::exp(-kTwoPi * cutoff / kRate)) * (raw - m_low);
            return m_low;
        }

    private:
        float m_frequency;
        Voice m_voice;
        float m_low = 0.0f;
    };

    class Wind {
    public:
        explicit Wind(std::uint32_t seed)
            : m_noise(seed)
        {
        }
        float next(float t)
        {
            const float centre = 420.0f + 260.0f * std::sin(kTwoPi * 0.31f * t + 1.0f);
            const float f = 2.0f * std::sin(std::numbers::pi_v<float> * centre / kRate);
            const float input = m_noise.next() * 2.0f - 1.0f;
            m_low += f * m_band;
            const float high = input - m_low - 0.25f * m_band;
            m_band += f * high;
            return m_band;
        }

    private:
        noise::Sequence m_noise;
        float m_low = 0.0f;
        float m_band = 0.0f;
    };

    struct Channel {
        std::array<Drone, 4> drones;
        Voice boom, wail, bell[4], glass[3];
        Wind wind;
    };

    Channel makeChannel(float detune, std::uint32_t seed)
    {
        return Channel { { Drone(55.0f, detune), Drone(58.27f, 1.0f / detune),
                             Drone(77.78f, detune), Drone(110.0f, 1.0f / detune) },
            {}, {}, {}, {}, Wind(seed) };
    }

    float boomAt(Channel& c, float t)
    {
        const float frequency = 30.0f + 46.0f * std::exp(-t * 2.5f);
        return std::sin(c.boom.advance(frequency)) * std::exp(-t / 1.1f)
            * (1.0f - std::exp(-t * 300.0f));
    }

    float bellAt(Channel& c, float t)
    {
        constexpr std::array<float, 4> ratios { 1.0f, 2.76f, 5.40f, 8.93f };
        constexpr std::array<float, 4> decays { 3.2f, 1.6f, 0.8f, 0.4f };
        float sum = 0.0f;
        for (size_t i = 0; i < ratios.size(); ++i)
            sum += std::sin(c.bell[i].advance(196.0f * ratios[i])) * std::exp(-t / decays[i])
                / static_cast<float>(i + 1);
        return sum * (1.0f - std::exp(-t * 500.0f));
    }

    float glassAt(Channel& c, float t)
    {
        constexpr std::array<float, 3> notes { 880.0f, 932.3f, 1244.5f };
        const float vibrato = 1.0f + 0.006f * std::sin(kTwoPi * 5.3f * t);
        float sum = 0.0f;
        for (size_t i = 0; i < notes.size(); ++i)
            sum += std::sin(c.glass[i].advance(notes[i] * vibrato));
        return sum * envelope(t, 0.6f, 1.4f, 2.6f, 4.3f);
    }

    float wailAt(Channel& c, float t)
    {
        const float glide = 660.0f - 220.0f * smoothStep(1.4f, 3.6f, t);
        const float vibrato = 1.0f + 0.012f * std::sin(kTwoPi * 4.6f * t);
        return std::sin(c.wail.advance(glide * vibrato)) * envelope(t, 1.3f, 0.8f, 2.9f, 4.0f);
    }

    float dryAt(Channel& c, float t)
    {
        float drone = 0.0f;
        for (Drone& d : c.drones)
            drone += d.next(t);
        return 0.9f * boomAt(c, t) + 0.16f * drone * envelope(t, 0.0f, 1.2f, 3.0f, 4.8f)
            + 0.10f * bellAt(c, t) + 0.035f * glassAt(c, t) + 0.06f * wailAt(c, t)
            + 0.10f * c.wind.next(t) * envelope(t, 0.0f, 1.5f, 2.5f, 4.8f);
    }

}

void normalise(Sound& sound, float peak)
{
    float loudest = 0.0f;
    for (float s : sound.samples)
        loudest = std::max(loudest, std::abs(s));
    if (loudest <= 0.0f)
        return;
    for (float& s : sound.samples)
        s *= peak / loudest;
}

Sound sinisterSting()
{
    constexpr float kSeconds = 5.5f;
    Sound sound { 2, kRate, {} };
    std::array<Channel, 2> channels { makeChannel(0.997f, 11u), makeChannel(1.003f, 23u) };
    std::array<Reverb, 2> rooms { Reverb(kRate, 0, 0.88f, 0.35f), Reverb(kRate, 23, 0.88f, 0.35f) };
    const int frames = static_cast<int>(kSeconds * kRate);
    for (int i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float tail = 1.0f - smoothStep(kSeconds - 0.5f, kSeconds, t);
        for (size_t ch = 0; ch < 2; ++ch) {
            const float dry = dryAt(channels[ch], t);
            sound.samples.push_back((0.75f * dry + 0.9f * rooms[ch].process(dry)) * tail);
        }
    }
    normalise(sound, 0.7f);
    return sound;
}

Sound keyClick()
{
    constexpr float kSeconds = 0.045f;
    Sound sound { 1, kRate, {} };
    noise::Sequence grit(5u);
    float low = 0.0f;
    const int frames = static_cast<int>(kSeconds * kRate);
    for (int i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / kRate;
        low += 0.3f * ((grit.next() * 2.0f - 1.0f) - low);
        const float knock = std::sin(kTwoPi * 1750.0f * t) * std::exp(-t / 0.005f)
            + 0.6f * std::sin(kTwoPi * 820.0f * t) * std::exp(-t / 0.011f)
            + 0.8f * low * std::exp(-t / 0.0015f);
        const float edges
            = smoothStep(0.0f, 0.0006f, t) * (1.0f - smoothStep(kSeconds - 0.01f, kSeconds, t));
        sound.samples.push_back(knock * edges);
    }
    normalise(sound, 0.4f);
    return sound;
}

}
