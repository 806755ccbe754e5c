#include "tools/datagen/sound_effects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>

#include "game/world/class_rows.h"
#include "game/world/sound_ids.h"
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
    SoundEffect effect{.loudness = loudness};
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
    SoundEffect effect{.loudness = kShotHitLoudness};
    effect.voices.push_back(Hit(Wave::kNoise, 0.0, 0.03 + 0.01 * kind, 7000 - 1200 * kind, 2500, 0.6, 0.02));
    effect.voices.push_back(
        Hit(Wave::kSquare, 0.0, 0.02 + 0.005 * kind, 500.0 * (5 - kind), 200.0 * (5 - kind), 0.35, 0.015));
    return effect;
}

// Firing: falling pulse chirps, thinner and longer with the number; even ones have a noisy edge.
SoundEffect ShotFire(int kind) {
    SoundEffect effect{.loudness = kShotFireLoudness};
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
    SoundEffect effect{.loudness = kNewsLoudness};
    Arpeggio(effect, {523.3, 659.3, 784.0, 1046.5, 784.0, 1046.5, 1318.5, 1568.0, 2093.0}, 0.06, 0.5, 0.35);
    return effect;
}

SoundEffect Jingle(double loudness, std::initializer_list<double> notes, double step, double duty, double lastLength) {
    SoundEffect effect{.loudness = loudness};
    Arpeggio(effect, notes, step, duty, lastLength);
    return effect;
}

SoundEffect Bell() {
    SoundEffect effect{.loudness = kBellLoudness};
    effect.voices.push_back(Hit(Wave::kSine, 0.0, 0.9, 1568, 1568, 0.6, 0.35));
    effect.voices.push_back(Hit(Wave::kSine, 0.0, 0.5, 1568 * 2.76, 1568 * 2.76, 0.3, 0.12));
    effect.voices.push_back(Hit(Wave::kSine, 0.0, 0.2, 1568 * 5.4, 1568 * 5.4, 0.15, 0.05));
    return effect;
}

// A squeal: a sawtooth that leaps up and falls back, doubled an octave lower.
SoundEffect Eek(double low, double high, double rise, double fall) {
    SoundEffect effect{.loudness = kEekLoudness};
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

SoundEffect Drum(std::initializer_list<Voice> voices) { return SoundEffect{.voices = voices, .loudness = kDrumLoudness}; }

SoundEffect PowerUp() {
    SoundEffect effect{.voices = {Beep(0.0, 0.35, 300, 0.25, 0.45)}, .loudness = kNewsLoudness};
    effect.voices[0].frequencyEnd = 1800;
    return effect;
}

SoundEffect CharacterLost() {
    Voice fall = Hit(Wave::kSquare, 0.0, 0.6, 900, 80, 0.5, 0.5);
    fall.sustain = 0.3;
    return SoundEffect{.voices = {fall, Hit(Wave::kNoise, 0.0, 0.5, 2000, 200, 0.5, 0.3)}, .loudness = kNewsLoudness};
}

// How each effect is made, by id; its file is the effect's row in sound_rows.h.
struct Recipe {
    int32_t id;
    SoundEffect (*make)();
};

constexpr Recipe kRecipes[] = {
    {sound::kBlast1, [] { return Blast(1); }},
    {sound::kBlast2, [] { return Blast(2); }},
    {sound::kBlast3, [] { return Blast(3); }},
    {sound::kBlast4, [] { return Blast(4); }},
    {sound::kBlast5, [] { return Blast(5); }},
    {sound::kBlast6, [] { return Blast(6); }},
    {sound::kBlast7, [] { return Blast(7); }},
    {sound::kBlast8, [] { return Blast(8); }},
    {sound::kExtend, Extend},
    {sound::kGhostBass,
     [] { return Drum({Hit(Wave::kSine, 0.0, 0.3, 160, 45, 1.0, 0.15), Hit(Wave::kTriangle, 0.0, 0.02, 600, 200, 0.4, 0.01)}); }},
    {sound::kGhostHiHatClosed, [] { return Drum({Hit(Wave::kNoise, 0.0, 0.045, 11000, 9000, 0.5, 0.015)}); }},
    {sound::kGhostHiHatOpen, [] { return Drum({Hit(Wave::kNoise, 0.0, 0.3, 11000, 9000, 0.5, 0.12)}); }},
    {sound::kGhostSnare,
     [] { return Drum({Hit(Wave::kNoise, 0.0, 0.18, 6000, 3000, 0.7, 0.06), Hit(Wave::kTriangle, 0.0, 0.08, 240, 170, 0.6, 0.04)}); }},
    {sound::kBonusItemTaken, [] { return Jingle(kItemLoudness, {523.3, 784.0, 1046.5}, 0.07, 0.25, 0.15); }},
    {sound::kPowerItemTaken, [] { return Jingle(kItemLoudness, {880.0, 1174.7, 1760.0}, 0.04, 0.5, 0.06); }},
    {sound::kPowerUp, PowerUp},
    {sound::kCharacterLost, CharacterLost},
    {sound::kMenuMove, [] { return Jingle(kMenuLoudness, {1318.5}, 0.035, 0.25, 0.035); }},
    {sound::kMenuDecide, [] { return Jingle(kMenuLoudness, {880.0, 1318.5}, 0.06, 0.5, 0.12); }},
    {sound::kMenuCancel, [] { return Jingle(kMenuLoudness, {659.3, 440.0}, 0.06, 0.5, 0.1); }},
    {sound::kShotHit1, [] { return ShotHit(1); }},
    {sound::kShotHit2, [] { return ShotHit(2); }},
    {sound::kShotHit3, [] { return ShotHit(3); }},
    {sound::kShotHit4, [] { return ShotHit(4); }},
    {sound::kShot1, [] { return ShotFire(1); }},
    {sound::kShot2, [] { return ShotFire(2); }},
    {sound::kShot3, [] { return ShotFire(3); }},
    {sound::kShot4, [] { return ShotFire(4); }},
    {sound::kShot5, [] { return ShotFire(5); }},
    {sound::kShot6, [] { return ShotFire(6); }},
    {sound::kShotBell, Bell},
    {sound::kPi, [] { return Jingle(kSignalLoudness, {2093.0}, 0.08, 0.5, 0.08); }},
    {sound::kEek1, [] { return Eek(700, 1500, 0.12, 0.2); }},
    {sound::kEek2, [] { return Eek(900, 2000, 0.1, 0.3); }},
};
static_assert(std::size(kRecipes) == sound::kEffectCount && RowsRunFrom(kRecipes, 1),
              "one recipe per effect of sound_rows.h, in id order");

}  // namespace

std::vector<SoundEffect> SoundEffects() {
    std::vector<SoundEffect> effects;
    for (const Recipe& recipe : kRecipes) {
        effects.push_back(recipe.make());
        effects.back().file = sound::kEffectRows[recipe.id - 1].file;
    }
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
