#include "tools/datagen/sound_effects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "tools/datagen/bytes.h"

namespace datagen {
namespace {

// How loud each kind of effect is: the RMS level of its loudest 50 ms, in dB relative to full
// scale. The mixer adds every sound at full gain (the default volumes), so these leave room for
// the busiest moment of play, every blast and shot hit of a fight starting on one frame over the
// music's loudest beat, without reaching full scale. What can sound many times a second is
// quietest; rare news (an extra life, a miss, a power-up) is loudest, and blasts still sit well
// above the music's level. An effect has one voice and restarts at most 20 times a second.
constexpr double kShotHitLoudness = -32.0;     // shots hitting a target
constexpr double kItemLoudness = -29.0;        // medal and power item pick-ups
constexpr double kSmallBlastLoudness = -24.0;  // blasts 1-4: enemies destroyed
constexpr double kLargeBlastLoudness = -21.0;  // blasts 5-8: large enemies and bosses
constexpr double kShotFireLoudness = -26.0;
constexpr double kBellLoudness = -24.0;
constexpr double kSignalLoudness = -26.0;      // "pi": a short beep
constexpr double kEekLoudness = -23.0;
constexpr double kNewsLoudness = -19.0;        // extend, power-up, miss
constexpr double kMenuLoudness = -21.0;
constexpr double kDrumLoudness = -24.0;        // the ghost-mode drums, played over its tune
constexpr size_t kLoudnessWindow = kSampleRate / 20;
constexpr double kEffectCeiling = -6.0;        // no effect peaks higher, whatever its loudness

// A voice that starts at full level after a click-free attack and decays to silence.
Voice Hit(Wave wave, double start, double length, double from, double to, double volume, double decay) {
    Voice voice;
    voice.wave = wave;
    voice.start = start;
    voice.length = length;
    voice.frequencyStart = from;
    voice.frequencyEnd = to;
    voice.volume = volume;
    voice.decay = decay;
    voice.release = 0.01;
    return voice;
}

// A voice held at a steady level: menu beeps and jingles.
Voice Beep(double start, double length, double frequency, double duty, double volume) {
    Voice voice = Hit(Wave::kSquare, start, length, frequency, frequency, volume, 1.0);
    voice.sustain = 0.8;
    voice.duty = duty;
    return voice;
}

// Explosions grow in length, depth and weight with their size, 1 to 8.
SoundEffect Blast(int size) {
    const double s = size / 8.0;
    const double tint = size % 2 == 0 ? 1.15 : 1.0;
    const double loudness = size <= 4 ? kSmallBlastLoudness : kLargeBlastLoudness;
    SoundEffect effect{"blast_" + std::to_string(size) + ".wav", {}, loudness};
    effect.voices.push_back(
        Hit(Wave::kNoise, 0.0, 0.15 + 0.6 * s, (5000 - 2500 * s) * tint, 150 + 200 * (1 - s), 0.8, 0.08 + 0.35 * s));
    effect.voices.push_back(Hit(Wave::kSine, 0.0, 0.1 + 0.3 * s, 120 * tint, 35, 0.2 + 0.6 * s, 0.1 + 0.2 * s));
    if (size >= 5) {
        effect.voices.push_back(Hit(Wave::kNoise, 0.08 + 0.04 * s, 0.3 + 0.5 * s, 1800 * tint, 90, 0.6, 0.2 + 0.3 * s));
    }
    return effect;
}

// Shots hitting a target: short bright clicks, lower and longer with the number.
SoundEffect ShotHit(int kind) {
    SoundEffect effect{"shot_hit_" + std::to_string(kind) + ".wav", {}, kShotHitLoudness};
    effect.voices.push_back(Hit(Wave::kNoise, 0.0, 0.03 + 0.01 * kind, 7000 - 1200 * kind, 2500, 0.6, 0.02));
    effect.voices.push_back(
        Hit(Wave::kSquare, 0.0, 0.02 + 0.005 * kind, 500.0 * (5 - kind), 200.0 * (5 - kind), 0.35, 0.015));
    return effect;
}

// Firing: falling pulse chirps, thinner and longer with the number; even ones have a noisy edge.
SoundEffect ShotFire(int kind) {
    SoundEffect effect{"shot_shot_" + std::to_string(kind) + ".wav", {}, kShotFireLoudness};
    Voice chirp =
        Hit(Wave::kSquare, 0.0, 0.05 + 0.015 * kind, 1800 - 150 * kind, 500 - 40 * kind, 0.5, 0.05 + 0.01 * kind);
    chirp.duty = std::array<double, 3>{0.5, 0.25, 0.125}[kind % 3];
    effect.voices.push_back(chirp);
    if (kind % 2 == 0) effect.voices.push_back(Hit(Wave::kNoise, 0.0, 0.04, 8000, 3000, 0.25, 0.02));
    return effect;
}

// A rising run of notes, each `step` seconds after the last.
void Arpeggio(SoundEffect& effect, std::initializer_list<double> notes, double step, double duty, double lastLength) {
    double start = 0.0;
    for (auto note = notes.begin(); note != notes.end(); ++note) {
        const bool last = note + 1 == notes.end();
        effect.voices.push_back(Beep(start, last ? lastLength : step * 0.9, *note, duty, 0.4));
        start += step;
    }
}

SoundEffect Extend() {
    SoundEffect effect{"extend.wav", {}, kNewsLoudness};
    Arpeggio(effect, {523.3, 659.3, 784.0, 1046.5, 784.0, 1046.5, 1318.5, 1568.0, 2093.0}, 0.06, 0.5, 0.35);
    return effect;
}

SoundEffect Jingle(const char* file, double loudness, std::initializer_list<double> notes, double step, double duty,
                   double lastLength) {
    SoundEffect effect{file, {}, loudness};
    Arpeggio(effect, notes, step, duty, lastLength);
    return effect;
}

SoundEffect Bell() {
    SoundEffect effect{"shot_bell.wav", {}, kBellLoudness};
    effect.voices.push_back(Hit(Wave::kSine, 0.0, 0.9, 1568, 1568, 0.6, 0.35));
    effect.voices.push_back(Hit(Wave::kSine, 0.0, 0.5, 1568 * 2.76, 1568 * 2.76, 0.3, 0.12));
    effect.voices.push_back(Hit(Wave::kSine, 0.0, 0.2, 1568 * 5.4, 1568 * 5.4, 0.15, 0.05));
    return effect;
}

// A squeal: a sawtooth that leaps up and falls back, doubled an octave lower.
SoundEffect Eek(const char* file, double low, double high, double rise, double fall) {
    SoundEffect effect{file, {}, kEekLoudness};
    Voice up = Hit(Wave::kSaw, 0.0, rise, low, high, 0.45, 1.0);
    up.sustain = 0.9;
    up.release = 0.0;
    Voice down = Hit(Wave::kSaw, rise, fall, high, low * 1.2, 0.45, fall * 0.6);
    effect.voices.push_back(up);
    effect.voices.push_back(down);
    up.frequencyStart /= 2;
    up.frequencyEnd /= 2;
    down.frequencyStart /= 2;
    down.frequencyEnd /= 2;
    up.wave = down.wave = Wave::kSquare;
    up.volume = down.volume = 0.2;
    effect.voices.push_back(up);
    effect.voices.push_back(down);
    return effect;
}

double EffectSeconds(const SoundEffect& effect) {
    double end = 0.0;
    for (const Voice& voice : effect.voices) end = std::max(end, voice.start + voice.length + voice.release);
    return end + 0.01;
}

}  // namespace

std::vector<SoundEffect> SoundEffects() {
    std::vector<SoundEffect> effects;
    for (int size = 1; size <= 8; ++size) effects.push_back(Blast(size));
    effects.push_back(Extend());
    effects.push_back(SoundEffect{
        "ghost_bass.wav",
        {Hit(Wave::kSine, 0.0, 0.3, 160, 45, 1.0, 0.15), Hit(Wave::kTriangle, 0.0, 0.02, 600, 200, 0.4, 0.01)},
        kDrumLoudness});
    effects.push_back(
        SoundEffect{"ghost_hhclose.wav", {Hit(Wave::kNoise, 0.0, 0.045, 11000, 9000, 0.5, 0.015)}, kDrumLoudness});
    effects.push_back(
        SoundEffect{"ghost_hhopen.wav", {Hit(Wave::kNoise, 0.0, 0.3, 11000, 9000, 0.5, 0.12)}, kDrumLoudness});
    effects.push_back(SoundEffect{
        "ghost_snare.wav",
        {Hit(Wave::kNoise, 0.0, 0.18, 6000, 3000, 0.7, 0.06), Hit(Wave::kTriangle, 0.0, 0.08, 240, 170, 0.6, 0.04)},
        kDrumLoudness});
    effects.push_back(Jingle("item_bget.wav", kItemLoudness, {523.3, 784.0, 1046.5}, 0.07, 0.25, 0.15));
    effects.push_back(Jingle("item_pget.wav", kItemLoudness, {880.0, 1174.7, 1760.0}, 0.04, 0.5, 0.06));
    {
        SoundEffect powerUp{"item_pup.wav", {Beep(0.0, 0.35, 300, 0.25, 0.45)}, kNewsLoudness};
        powerUp.voices[0].frequencyEnd = 1800;
        effects.push_back(powerUp);
    }
    {
        Voice fall = Hit(Wave::kSquare, 0.0, 0.6, 900, 80, 0.5, 0.5);
        fall.sustain = 0.3;
        effects.push_back(
            SoundEffect{"pc_miss.wav", {fall, Hit(Wave::kNoise, 0.0, 0.5, 2000, 200, 0.5, 0.3)}, kNewsLoudness});
    }
    effects.push_back(Jingle("select_select.wav", kMenuLoudness, {1318.5}, 0.035, 0.25, 0.035));
    effects.push_back(Jingle("select_decide.wav", kMenuLoudness, {880.0, 1318.5}, 0.06, 0.5, 0.12));
    effects.push_back(Jingle("select_Cancel.wav", kMenuLoudness, {659.3, 440.0}, 0.06, 0.5, 0.1));
    for (int kind = 1; kind <= 4; ++kind) effects.push_back(ShotHit(kind));
    for (int kind = 1; kind <= 6; ++kind) effects.push_back(ShotFire(kind));
    effects.push_back(Bell());
    effects.push_back(Jingle("pi.wav", kSignalLoudness, {2093.0}, 0.08, 0.5, 0.08));
    effects.push_back(Eek("eek1.wav", 700, 1500, 0.12, 0.2));
    effects.push_back(Eek("eek2.wav", 900, 2000, 0.1, 0.3));
    return effects;
}

std::vector<int16_t> RenderSoundEffect(const SoundEffect& effect) {
    std::vector<float> buffer(static_cast<size_t>(std::ceil(EffectSeconds(effect) * kSampleRate)));
    for (const Voice& voice : effect.voices) MixVoice(buffer, voice);
    SetLoudness(buffer, effect.loudness, kLoudnessWindow, kEffectCeiling);
    return ToPcm16(buffer);
}

std::vector<uint8_t> EncodeWav16(const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    ByteWriter out;
    out.Text("RIFF");
    out.U32(4 + (8 + 16) + (8 + dataBytes));
    out.Text("WAVE");
    out.Text("fmt ");
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(1);  // mono
    out.U32(kSampleRate);
    out.U32(kSampleRate * 2);  // bytes per second
    out.U16(2);                // bytes per sample frame
    out.U16(16);
    out.Text("data");
    out.U32(dataBytes);
    for (int16_t sample : samples) out.U16(static_cast<uint16_t>(sample));
    return out.Take();
}

}  // namespace datagen
