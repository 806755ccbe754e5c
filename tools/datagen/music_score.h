// Music written as note lists: the score format of assets/music and its synthesis.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/datagen/synth.h"

namespace datagen {

struct Instrument {
    std::string name;
    Voice sound;        // wave, volume and envelope; the notes give start, length and pitch
    double glide = 0;   // semitones the pitch slides over a held note (drums)
    double gate = 0.9;  // fraction of a note's length it is held
};

struct Note {
    int start = 0;   // sixteenths from the pattern's start
    int length = 0;  // sixteenths
    int key = 0;     // MIDI key number (60 = middle C)
};

struct Pattern {
    std::string name;
    int instrument = 0;
    int length = 0;  // sixteenths, rests included
    std::vector<Note> notes;
};

struct Placement {
    double bar = 0;  // where the first repeat starts, in bars of four beats
    int pattern = 0;
    int times = 1;
    int transpose = 0;  // semitones
};

struct Score {
    double tempo = 120;  // beats (quarter notes) per minute
    double bars = 0;     // length of the piece
    std::vector<Instrument> instruments;
    std::vector<Pattern> patterns;
    std::vector<Placement> placements;
};

// Parses a score (format in the header of each assets/music file); throws std::runtime_error
// naming the line of the first fault.
Score ParseScore(std::string_view text);

// Number of samples the score lasts at kSampleRate.
size_t ScoreSamples(const Score& score);

// Synthesises the score into mono samples at the level every track shares.
std::vector<float> RenderScore(const Score& score);

}  // namespace datagen
