// The player's persistent record, kept in "qvscore.dat" beside the executable: best scores and
// levels for every character and party grade combination in every game mode, the saved party
// formations, the progress counters that unlock characters and raise the level, and the unlock
// flags. It also holds the configuration values read from "qvconfig.dat" (not saved).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ObjectController;

constexpr int kGameModes = 32;
constexpr int kFormationSlots = 8;
constexpr int32_t kNoCharacter = 63;
constexpr int32_t kMaxArrestCount = 512;
constexpr const char* kScoreFileName = "qvscore.dat";
constexpr const char* kDamagedScoreFileName = "qvscore.dat.bad";
constexpr const char* kConfigFileName = "qvconfig.dat";

// One ranking table: per entry (a character, or a grade combination of a party size), the best
// score and the level it was made at by mode, the highest level reached by mode, and for parties
// the members of each best.
template <int Entries, int Places>
struct RankingTable {
    int32_t records[Entries][2][kGameModes] = {};  // [entry][0 best score, 1 level at best][mode]
    int32_t maxLevel[Entries][kGameModes] = {};
    int32_t members[Entries][Places > 0 ? Places : 1][kGameModes] = {};  // unused for the solo table
};

// Saved formations of one party size: members and formation code of each slot.
template <int Size>
struct FormationTable {
    int32_t members[kFormationSlots][Size] = {};
    int32_t values[kFormationSlots] = {};
};

class ScoreData {
public:
    void Clear();                       // the defaults
    bool Load(ObjectController* game);  // true when the score file was read
    // Rewrites the score file; false when it cannot. The message that says so is shown for the
    // first failure only, until a save succeeds again: a game over saves twice in a row, and a
    // folder that cannot be written fails both.
    bool Save();
    void CountUnlocks();                // recounts unlockedCount
    // Adds a finished game's amount to the progress counters, unlocking characters; returns
    // unlocks x 10000 + the arrest counter's increase. Changes memory only.
    int32_t Register(int32_t amount);
    int32_t UpdateBest(ObjectController* game, int32_t score);  // the party's best for the mode; always 0
    bool UpdateBestValue(ObjectController* game);               // the party's highest level for the mode
    int32_t GetRankingEntry(int32_t entry, int32_t field, int32_t mode, int32_t partySize) const;
    int32_t GetRankingExtra(int32_t entry, int32_t mode, int32_t partySize) const;  // highest level
    int32_t GetRankingMember(int32_t entry, int32_t member, int32_t partySize, int32_t mode) const;
    bool SaveParty(int32_t partySize, int32_t slot, int32_t value, int32_t m1, int32_t m2, int32_t m3, int32_t m4);
    int32_t GetPartyMember(int32_t partySize, int32_t slot, int32_t member) const;  // member is 1-based
    int32_t GetPartyValue(int32_t partySize, int32_t slot) const;
    bool IsPartyDistinct(int32_t partySize, int32_t slot) const;

    // The score file's bytes, and the record from them (a short file leaves the rest as it
    // was, extra bytes are ignored). FromFileBytes returns false when a value had to be put
    // back into its range.
    std::vector<uint8_t> ToFileBytes() const;
    bool FromFileBytes(const uint8_t* data, size_t size);
    void ApplyConfig(const uint8_t* text, size_t size);  // the configuration file's values

    RankingTable<64, 0> solo;
    RankingTable<10, 2> pairs;
    RankingTable<20, 3> trios;
    RankingTable<35, 4> quartets;
    FormationTable<2> pairFormations;
    FormationTable<3> trioFormations;
    FormationTable<4> quartetFormations;
    int32_t progressTotal = 0;  // T
    int32_t arrestCount = 0;    // K, 0-512
    uint8_t unlockFlags[64] = {};

    // Not saved.
    int32_t unlockedCount = 0;                  // among ids 0-62
    int32_t joystickButtons[4] = {0, 1, 2, 3};  // configuration values 0-3
    int32_t ghostDisplay = 2;                   // configuration value 4
    bool fullScreenAtStart = false;             // configuration value 5
    int32_t soundEffectVolume = 100;            // configuration value 6
    int32_t musicVolume = 100;                  // configuration value 7

private:
    // The score file read at start-up was damaged; it is kept as "qvscore.dat.bad" when the
    // record is next written.
    bool keepDamagedFile_ = false;
    bool saveFailureShown_ = false;  // the failed save's message is on screen or was seen
};
