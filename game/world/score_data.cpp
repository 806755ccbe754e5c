#include "game/world/score_data.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "framework/core/random.h"
#include "game/world/names.h"
#include "game/world/object_controller.h"
#include "game/world/score_data_internal.h"

namespace {

constexpr int32_t kStartingCharacter = 11;
constexpr int32_t kDefaultFormationValues[3] = {11, 12, 121};  // pair, trio, quartet
constexpr int32_t kUnlockOrder[] = {0, 1, 9, 11, 12, 13, 14, 21, 25, 28};
constexpr int32_t kLevelWithoutRecords = 16;  // from this ArrestLevel on, no best is kept

template <typename T, size_t N>
void Fill(T (&array)[N], int32_t value) {
    std::fill_n(&array[0], N, value);
}

template <int Entries, int Places>
RankingView View(RankingTable<Entries, Places>& table) {
    return {Entries, Places, &table.records[0][0][0], &table.maxLevel[0][0], &table.members[0][0][0]};
}

template <int Size>
FormationView View(FormationTable<Size>& table) {
    return {Size, &table.members[0][0], &table.values[0]};
}

template <int Entries, int Places>
void ClearTable(RankingTable<Entries, Places>& table) {
    for (auto& entry : table.records) {
        std::fill_n(entry[0], kGameModes, 0);
        std::fill_n(entry[1], kGameModes, -1);
    }
    for (auto& entry : table.maxLevel) std::fill_n(entry, kGameModes, -1);
    for (auto& entry : table.members) {
        for (auto& place : entry) std::fill_n(place, kGameModes, kNoCharacter);
    }
}

// The table entry of the controller's party: the character for one player, the grade
// combination for more.
int32_t PartyEntry(ObjectController* game) {
    const int32_t* p = game->partyMembers;
    if (game->playerCount == 1) return CharacterSlot(p[0]);
    return PartyGrade(game, game->playerCount, p[0], p[1], p[2], p[3]);
}

}  // namespace

RankingView RankingFor(const ScoreData& constData, int32_t partySize) {
    ScoreData& data = const_cast<ScoreData&>(constData);
    switch (partySize) {
        case 1: return View(data.solo);
        case 2: return View(data.pairs);
        case 3: return View(data.trios);
        case 4: return View(data.quartets);
        default: return {};
    }
}

FormationView FormationsFor(const ScoreData& constData, int32_t partySize) {
    ScoreData& data = const_cast<ScoreData&>(constData);
    switch (partySize) {
        case 2: return View(data.pairFormations);
        case 3: return View(data.trioFormations);
        case 4: return View(data.quartetFormations);
        default: return {};
    }
}

int32_t DefaultFormationValue(int32_t partySize) { return kDefaultFormationValues[partySize - 2]; }

void ScoreData::Clear() {
    ClearTable(solo);
    ClearTable(pairs);
    ClearTable(trios);
    ClearTable(quartets);
    for (int32_t size = 2; size <= 4; ++size) {
        FormationView formations = FormationsFor(*this, size);
        std::fill_n(formations.members, kFormationSlots * size, 0);
        std::fill_n(formations.values, kFormationSlots, DefaultFormationValue(size));
    }
    progressTotal = 0;
    arrestCount = 0;
    Fill(unlockFlags, 0);
    unlockFlags[kStartingCharacter] = 1;
    CountUnlocks();
    for (int32_t k = 0; k < 4; ++k) joystickButtons[k] = k;
    ghostDisplay = 2;
    fullScreenAtStart = false;
    soundEffectVolume = 100;
    musicVolume = 100;
}

void ScoreData::CountUnlocks() {
    unlockedCount = static_cast<int32_t>(std::count_if(unlockFlags, unlockFlags + kNoCharacter, [](uint8_t f) { return f != 0; }));
}

int32_t ScoreData::Register(int32_t amount) {
    const int32_t old = progressTotal;
    // Widened so that a huge total saturates instead of overflowing.
    progressTotal = static_cast<int32_t>(std::clamp<int64_t>(int64_t{old} + amount, INT32_MIN, INT32_MAX));
    const int32_t earned = progressTotal / 200 - old / 200;
    int32_t kUp = progressTotal / 300 - old / 300;

    int32_t locked[std::size(kUnlockOrder)];
    int32_t count = 0;
    for (int32_t id : kUnlockOrder) {
        if (unlockFlags[id] == 0) locked[count++] = id;
    }
    int32_t unlocks = 0;
    if (count == 0) {
        unlocks = 0;
    } else if (unlockFlags[12] == 0) {
        unlockFlags[12] = unlockFlags[13] = unlockFlags[14] = 1;
        unlocks = 3;
    } else if (count >= earned) {
        // earned marks shuffled over the locked places with the game's generator.
        bool marked[std::size(kUnlockOrder)] = {};
        for (int32_t i = 0; i < earned; ++i) marked[i] = true;
        for (int32_t i = 0; i < count; ++i) std::swap(marked[i], marked[ZethRandom::Range(0, count - 1)]);
        for (int32_t i = 0; i < count; ++i) {
            if (marked[i]) unlockFlags[locked[i]] = 1;
        }
        unlocks = std::max(earned, 0);
    } else {
        for (int32_t i = 0; i < count; ++i) unlockFlags[locked[i]] = 1;
        unlocks = count;
    }
    arrestCount += kUp;
    if (arrestCount > kMaxArrestCount) {
        kUp -= arrestCount - kMaxArrestCount;
        arrestCount = kMaxArrestCount;
    }
    CountUnlocks();
    return unlocks * 10000 + kUp;
}

int32_t ScoreData::UpdateBest(ObjectController* game, int32_t score) {
    if (game->ArrestLevel >= kLevelWithoutRecords) return 0;
    RankingView table = RankingFor(*this, game->playerCount);
    if (table.entries > 0) {
        int32_t entry = PartyEntry(game);
        int32_t mode = Wrap(game->gameMode, kGameModes);
        if (score > table.Record(entry, 0, mode)) {
            table.Record(entry, 0, mode) = score;
            table.Record(entry, 1, mode) = game->ArrestLevel;
            for (int32_t place = 0; place < table.places; ++place) {
                table.Member(entry, place, mode) = game->partyMembers[place];
            }
        }
    }
    Save();
    return 0;
}

bool ScoreData::UpdateBestValue(ObjectController* game) {
    RankingView table = RankingFor(*this, game->playerCount);
    if (table.entries > 0) {
        int32_t& best = table.MaxLevel(PartyEntry(game), Wrap(game->gameMode, kGameModes));
        best = std::max(best, game->ArrestLevel);
    }
    return Save();
}

int32_t ScoreData::GetRankingEntry(int32_t entry, int32_t field, int32_t mode, int32_t partySize) const {
    RankingView table = RankingFor(*this, partySize);
    if (table.entries == 0) return partySize;
    return table.Record(Wrap(entry, table.entries), Wrap(field, 2), Wrap(mode, kGameModes));
}

int32_t ScoreData::GetRankingExtra(int32_t entry, int32_t mode, int32_t partySize) const {
    RankingView table = RankingFor(*this, partySize);
    if (table.entries == 0) return partySize;
    return table.MaxLevel(Wrap(entry, table.entries), Wrap(mode, kGameModes));
}

int32_t ScoreData::GetRankingMember(int32_t entry, int32_t member, int32_t partySize, int32_t mode) const {
    RankingView table = RankingFor(*this, partySize);
    if (table.places == 0) return kNoCharacter;
    return table.Member(Wrap(entry, table.entries), Wrap(member, table.places), Wrap(mode, kGameModes));
}

bool ScoreData::SaveParty(int32_t partySize, int32_t slot, int32_t value, int32_t m1, int32_t m2, int32_t m3,
                          int32_t m4) {
    FormationView formations = FormationsFor(*this, partySize);
    if (formations.size == 0) return false;
    const int32_t members[4] = {m1, m2, m3, m4};
    int32_t s = Wrap(slot, kFormationSlots);
    for (int32_t place = 0; place < formations.size; ++place) formations.Member(s, place) = members[place];
    formations.values[s] = value;
    return Save();
}

int32_t ScoreData::GetPartyMember(int32_t partySize, int32_t slot, int32_t member) const {
    FormationView formations = FormationsFor(*this, partySize);
    if (formations.size == 0) return 0;
    return formations.Member(Wrap(slot, kFormationSlots), Wrap(member - 1, formations.size));
}

int32_t ScoreData::GetPartyValue(int32_t partySize, int32_t slot) const {
    FormationView formations = FormationsFor(*this, partySize);
    return formations.size == 0 ? 0 : formations.values[Wrap(slot, kFormationSlots)];
}

bool ScoreData::IsPartyDistinct(int32_t partySize, int32_t slot) const {
    FormationView formations = FormationsFor(*this, partySize);
    if (formations.size == 0) return false;
    int32_t s = Wrap(slot, kFormationSlots);
    for (int32_t a = 0; a < formations.size; ++a) {
        for (int32_t b = a + 1; b < formations.size; ++b) {
            if (formations.Member(s, a) == formations.Member(s, b)) return false;
        }
    }
    return true;
}
