// Oscillator voices with envelopes, mixed into a sample buffer; shared by the effects and the music.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace datagen {

inline constexpr int kSampleRate = 44100;

enum class Wave {
    kSine,
    kSquare,  // pulse with the voice's duty cycle
    kTriangle,
    kSaw,
    kNoise,  // a new random level each period: the frequency sets the noise's pitch
};

// One sounding: a tone or noise burst with a pitch glide and an attack-decay-sustain-release envelope.
struct Voice {
    Wave wave = Wave::kSine;
    double start = 0.0;   // seconds from the buffer's start
    double length = 0.1;  // seconds the note is held; the release follows
    double frequencyStart = 440.0;
    double frequencyEnd = 440.0;  // reached at the end of the held part (exponential glide)
    double volume = 0.5;
    double attack = 0.002;  // seconds to full level
    double decay = 0.1;     // seconds for the level above the sustain to fall by a factor e
    double sustain = 0.0;   // level the decay settles to, 0-1
    double release = 0.02;  // seconds to silence after the held part
    double duty = 0.5;      // square wave only
};

// Adds the voice into the buffer (mono, kSampleRate); samples past the buffer's end are dropped.
void MixVoice(std::vector<float>& buffer, const Voice& voice);

// Scales the buffer so that its loudest stretch of `window` samples (at least one, at most all of
// them) has an RMS level of `loudness` dB relative to full scale, or less where that would lift a
// sample above `ceiling` dB. A silent buffer stays silent.
void SetLoudness(std::vector<float>& buffer, double loudness, size_t window, double ceiling);

// The buffer as 16-bit samples, clipped to the 16-bit range.
std::vector<int16_t> ToPcm16(const std::vector<float>& buffer);

}  // namespace datagen
