#include "tools/datagen/music_score.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace datagen {
namespace {

struct WaveName {
    const char* name;
    Wave wave;
};

constexpr WaveName kWaves[] = {{"sine", Wave::kSine},
                               {"square", Wave::kSquare},
                               {"triangle", Wave::kTriangle},
                               {"saw", Wave::kSaw},
                               {"noise", Wave::kNoise}};

// Every track has the same RMS level over its whole length, low enough for the attacks of the sound
// effects to stand out over it, unless its loudest beat would then pass the ceiling: the ceiling
// keeps the room the effects of a busy moment need on top of the music.
constexpr double kMusicLoudness = -24.0;
constexpr double kMusicCeiling = -9.0;

[[noreturn]] void Fail(int line, const std::string& message) {
    throw std::runtime_error("score line " + std::to_string(line) + ": " + message);
}

double ParseDecimal(const std::string& word, int line) {
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    // Scores hold modest figures; the bound keeps every later product and conversion in range.
    if (error != std::errc() || end != word.data() + word.size() || !(std::abs(value) <= 1e6)) {
        Fail(line, "bad number \"" + word + "\"");
    }
    return value;
}

int ParseWhole(const std::string& word, int line) {
    const double value = ParseDecimal(word, line);
    if (value != std::floor(value)) Fail(line, "whole number expected: \"" + word + "\"");
    return static_cast<int>(value);
}

// "c4" is middle C; "#" after the letter raises it a semitone; "r" is a rest (key -1).
int ParseKey(std::string_view word, int line) {
    if (word == "r") return -1;
    constexpr std::string_view kLetters = "c d ef g a b";
    const size_t letter = word.empty() ? std::string_view::npos : kLetters.find(word[0]);
    if (letter == std::string_view::npos || word[0] == ' ') Fail(line, "bad note \"" + std::string(word) + "\"");
    size_t at = 1;
    int semitone = static_cast<int>(letter);
    if (at < word.size() && word[at] == '#') {
        ++semitone;
        ++at;
    }
    if (at + 1 != word.size() || word[at] < '0' || word[at] > '9')
        Fail(line, "bad octave in \"" + std::string(word) + "\"");
    return (word[at] - '0' + 1) * 12 + semitone;
}

int FindByName(const auto& items, const std::string& name, int line, const char* what) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].name == name) return static_cast<int>(i);
    }
    Fail(line, std::string("unknown ") + what + " \"" + name + "\"");
}

Instrument ParseInstrument(std::istringstream& words, int line) {
    Instrument instrument;
    std::string wave;
    std::string numbers[5];
    words >> instrument.name >> wave;
    for (std::string& number : numbers) words >> number;
    if (numbers[4].empty()) Fail(line, "instrument needs: name wave volume attack decay sustain release");
    bool known = false;
    for (const WaveName& entry : kWaves) {
        if (wave == entry.name) {
            instrument.sound.wave = entry.wave;
            known = true;
        }
    }
    if (!known) Fail(line, "unknown wave \"" + wave + "\"");
    instrument.sound.volume = ParseDecimal(numbers[0], line);
    instrument.sound.attack = ParseDecimal(numbers[1], line);
    instrument.sound.decay = ParseDecimal(numbers[2], line);
    instrument.sound.sustain = ParseDecimal(numbers[3], line);
    instrument.sound.release = ParseDecimal(numbers[4], line);
    if (instrument.sound.decay <= 0 || instrument.sound.attack < 0 || instrument.sound.release < 0) {
        Fail(line, "attack and release must be at least 0 and decay above 0");
    }
    std::string key;
    std::string value;
    while (words >> key >> value) {
        if (key == "duty") {
            instrument.sound.duty = ParseDecimal(value, line);
        } else if (key == "glide") {
            instrument.glide = ParseDecimal(value, line);
            if (std::abs(instrument.glide) > 48) Fail(line, "glide may be at most 48 semitones");
        } else if (key == "gate") {
            instrument.gate = ParseDecimal(value, line);
        } else {
            Fail(line, "unknown instrument option \"" + key + "\"");
        }
    }
    return instrument;
}

// Note words "key:length" or "key" (the previous length); lengths are in sixteenths.
void ParseNotes(std::istringstream& words, Pattern& pattern, int& length, int line) {
    std::string word;
    while (words >> word) {
        const size_t colon = word.find(':');
        if (colon != std::string::npos) {
            length = ParseWhole(word.substr(colon + 1), line);
            if (length <= 0) Fail(line, "note length must be above 0");
        }
        const int key = ParseKey(std::string_view(word).substr(0, colon), line);
        if (key >= 0) pattern.notes.push_back({pattern.length, length, key});
        pattern.length += length;
    }
}

}  // namespace

Score ParseScore(std::string_view text) {
    Score score;
    std::istringstream lines{std::string(text)};
    std::string lineText;
    int line = 0;
    int noteLength = 4;
    Pattern* pattern = nullptr;
    while (std::getline(lines, lineText)) {
        ++line;
        if (const size_t hash = lineText.find('#');
            hash != std::string::npos && (hash == 0 || lineText[hash - 1] == ' ')) {
            lineText.erase(hash);
        }
        std::istringstream words(lineText);
        std::string keyword;
        if (!(words >> keyword)) continue;
        if (keyword == "tempo") {
            pattern = nullptr;
            words >> keyword;
            score.tempo = ParseDecimal(keyword, line);
            if (score.tempo <= 0) Fail(line, "tempo must be above 0");
        } else if (keyword == "bars") {
            pattern = nullptr;
            words >> keyword;
            score.bars = ParseDecimal(keyword, line);
        } else if (keyword == "instrument") {
            pattern = nullptr;
            score.instruments.push_back(ParseInstrument(words, line));
        } else if (keyword == "pattern") {
            Pattern added;
            std::string instrument;
            words >> added.name >> instrument;
            added.instrument = FindByName(score.instruments, instrument, line, "instrument");
            score.patterns.push_back(added);
            pattern = &score.patterns.back();
            noteLength = 4;
            ParseNotes(words, *pattern, noteLength, line);
        } else if (keyword == "play") {
            std::string bar, name, times = "1", transpose = "0";
            words >> bar >> name >> times >> transpose;
            Placement placement{ParseDecimal(bar, line), FindByName(score.patterns, name, line, "pattern"),
                                ParseWhole(times, line), ParseWhole(transpose, line)};
            if (placement.bar < 0 || placement.times < 0 || std::abs(placement.transpose) > 48) {
                Fail(line, "play needs a bar and times of at least 0 and a shift of at most 48 semitones");
            }
            score.placements.push_back(placement);
            pattern = nullptr;
        } else if (keyword == "chain") {
            // One pattern played once per listed transposition, back to back: a chord progression.
            std::string bar, name, transpose;
            words >> bar >> name;
            double at = ParseDecimal(bar, line);
            if (at < 0) Fail(line, "chain needs a bar of at least 0");
            const int index = FindByName(score.patterns, name, line, "pattern");
            while (words >> transpose) {
                const int shift = ParseWhole(transpose, line);
                if (std::abs(shift) > 48) Fail(line, "a shift may be at most 48 semitones");
                score.placements.push_back({at, index, 1, shift});
                at += score.patterns[index].length / 16.0;
            }
            pattern = nullptr;
        } else if (pattern != nullptr) {
            // A line that starts with a note continues the pattern above it.
            std::istringstream notes(lineText);
            ParseNotes(notes, *pattern, noteLength, line);
        } else {
            Fail(line, "unknown keyword \"" + keyword + "\"");
        }
    }
    if (score.bars <= 0 || score.bars > 1000) Fail(line, "the score needs \"bars\" from above 0 to 1000");
    if (score.tempo < 20) Fail(line, "tempo must be at least 20");
    return score;
}

size_t ScoreSamples(const Score& score) {
    return static_cast<size_t>(std::llround(score.bars * 4 * 60.0 / score.tempo * kSampleRate));
}

std::vector<float> RenderScore(const Score& score) {
    std::vector<float> buffer(ScoreSamples(score));
    const double sixteenth = 60.0 / score.tempo / 4;
    for (const Placement& placement : score.placements) {
        const Pattern& pattern = score.patterns[placement.pattern];
        const Instrument& instrument = score.instruments[pattern.instrument];
        for (int repeat = 0; repeat < placement.times; ++repeat) {
            const double origin = placement.bar * 16 * sixteenth + repeat * pattern.length * sixteenth;
            for (const Note& note : pattern.notes) {
                Voice voice = instrument.sound;
                voice.start = origin + note.start * sixteenth;
                voice.length = note.length * sixteenth * instrument.gate;
                voice.frequencyStart = 440.0 * std::pow(2.0, (note.key + placement.transpose - 69) / 12.0);
                voice.frequencyEnd = voice.frequencyStart * std::pow(2.0, instrument.glide / 12.0);
                MixVoice(buffer, voice);
            }
        }
    }
    SetLoudness(buffer, kMusicLoudness, buffer.size(), kMusicCeiling);
    return buffer;
}

}  // namespace datagen
