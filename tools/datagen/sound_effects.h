// The game's sound effects (game/world/sound_rows.h), synthesised, and their WAVE encoding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/datagen/synth.h"

namespace datagen {

struct SoundEffect {
    std::string file = {};           // name in the folder "sound", from the effect's row
    std::vector<Voice> voices = {};  // mixed together, then brought to the loudness
    double loudness = 0.0;           // RMS level of the loudest 50 ms, in dB relative to full scale
};

// The effects in id order (id = position + 1).
std::vector<SoundEffect> SoundEffects();

// Mixes an effect into 16-bit samples at kSampleRate, mono, at its loudness.
std::vector<int16_t> RenderSoundEffect(const SoundEffect& effect);

// A RIFF WAVE file: PCM, 16-bit, mono, kSampleRate.
std::vector<uint8_t> EncodeWav16(const std::vector<int16_t>& samples);

}  // namespace datagen
