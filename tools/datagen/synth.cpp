#include "tools/datagen/synth.h"

#include <algorithm>
#include <cmath>

namespace datagen {
namespace {

// A fixed linear congruential generator: noise is the same on every run and machine.
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    float Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f;
    }

private:
    uint32_t state_;
};

float Oscillate(Wave wave, double phase, double duty, float noiseLevel) {
    switch (wave) {
        case Wave::kSine:
            return static_cast<float>(std::sin(phase * 6.283185307179586));
        case Wave::kSquare:
            return phase < duty ? 1.0f : -1.0f;
        case Wave::kTriangle:
            return static_cast<float>(phase < 0.5 ? phase * 4.0 - 1.0 : 3.0 - phase * 4.0);
        case Wave::kSaw:
            return static_cast<float>(phase * 2.0 - 1.0);
        case Wave::kNoise:
            return noiseLevel;
    }
    return 0.0f;
}

// The amplitude of a level in decibels relative to full scale: 0 dB is 1, -20 dB is 0.1.
double FromDecibels(double decibels) {
    return std::pow(10.0, decibels / 20.0);
}

}  // namespace

void MixVoice(std::vector<float>& buffer, const Voice& voice) {
    const int64_t first = std::llround(voice.start * kSampleRate);
    const int64_t held = std::max<int64_t>(1, std::llround(voice.length * kSampleRate));
    const int64_t released = std::llround(voice.release * kSampleRate);
    const int64_t attack = std::max<int64_t>(1, std::llround(voice.attack * kSampleRate));
    const int64_t total = std::min<int64_t>(held + released, static_cast<int64_t>(buffer.size()) - first);
    // Glide and decay step by a constant factor per sample rather than calling pow and exp each time.
    const double glide = std::pow(voice.frequencyEnd / voice.frequencyStart, 1.0 / static_cast<double>(held));
    const double decayStep = std::exp(-1.0 / (voice.decay * kSampleRate));
    NoiseSource noise(static_cast<uint32_t>(first) ^ static_cast<uint32_t>(voice.frequencyStart * 16));
    double frequency = voice.frequencyStart;
    double phase = 0.0;
    double decaying = 1.0;
    double gateLevel = 0.0;
    float noiseLevel = noise.Next();
    for (int64_t i = 0; i < total; ++i) {
        if (first + i < 0) continue;  // a voice may start before the buffer; its start is cut off
        double level;
        if (i >= held) {
            level = gateLevel * (1.0 - static_cast<double>(i - held) / std::max<int64_t>(1, released));
        } else if (i < attack) {
            level = static_cast<double>(i) / attack;
        } else {
            decaying *= decayStep;
            level = voice.sustain + (1.0 - voice.sustain) * decaying;
        }
        if (i < held) gateLevel = level;
        buffer[first + i] +=
            static_cast<float>(level * voice.volume) * Oscillate(voice.wave, phase, voice.duty, noiseLevel);
        phase += frequency / kSampleRate;
        if (phase >= 1.0) {
            phase -= std::floor(phase);
            noiseLevel = noise.Next();
        }
        if (i < held) frequency *= glide;
    }
}

void SetLoudness(std::vector<float>& buffer, double loudness, size_t window, double ceiling) {
    window = std::clamp<size_t>(window, 1, std::max<size_t>(buffer.size(), 1));
    // The energy of every stretch of `window` samples, kept as a running sum.
    double energy = 0.0;
    double loudestEnergy = 0.0;
    float peak = 0.0f;
    for (size_t i = 0; i < buffer.size(); ++i) {
        energy += static_cast<double>(buffer[i]) * buffer[i];
        if (i >= window) energy -= static_cast<double>(buffer[i - window]) * buffer[i - window];
        if (i + 1 >= window) loudestEnergy = std::max(loudestEnergy, energy);
        peak = std::max(peak, std::abs(buffer[i]));
    }
    if (peak == 0.0f) return;
    const double rms = std::sqrt(std::max(loudestEnergy, 0.0) / static_cast<double>(window));
    double scale = FromDecibels(ceiling) / peak;
    if (rms > 0.0) scale = std::min(scale, FromDecibels(loudness) / rms);
    for (float& sample : buffer) sample = static_cast<float>(sample * scale);
}

std::vector<int16_t> ToPcm16(const std::vector<float>& buffer) {
    std::vector<int16_t> pcm(buffer.size());
    for (size_t i = 0; i < buffer.size(); ++i) {
        const float clipped = std::clamp(buffer[i], -1.0f, 1.0f);
        pcm[i] = static_cast<int16_t>(std::lrint(clipped * 32767.0f));
    }
    return pcm;
}

}  // namespace datagen
