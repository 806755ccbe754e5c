// The score file "qvscore.dat" (78,152 bytes, little-endian, no header) and the reading of the
// configuration file into the record.
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "framework/files/file_write.h"
#include "framework/app/zeth.h"
#include "game/world/config_file.h"
#include "game/world/file_bytes.h"
#include "game/world/object_controller.h"
#include "game/world/score_data.h"
#include "game/world/score_data_internal.h"

namespace {

constexpr size_t kScoreFileSize = 78152;
constexpr const char* kSaveFailedText = "ハイスコアとパーティー編成を\n書き込めませんでした";
// Ids that are no character: a file cannot unlock them (ids 41-63 are kept as read).
constexpr std::pair<int32_t, int32_t> kNonCharacterIds[] = {{2, 8}, {10, 10}, {15, 20}, {22, 24}, {26, 27}, {29, 40}};

struct Block {
    int32_t* fields;
    size_t count;
};

// The i32 blocks of the file in file order; the 64 unlock flags follow them.
std::vector<Block> FileBlocks(const ScoreData& data) {
    std::vector<Block> blocks;
    for (int32_t size = 1; size <= 4; ++size) {
        RankingView table = RankingFor(data, size);
        const size_t perEntry = kGameModes;
        blocks.push_back({table.records, table.entries * 2 * perEntry});
        blocks.push_back({table.maxLevel, table.entries * perEntry});
        if (table.places > 0) blocks.push_back({table.members, table.entries * table.places * perEntry});
    }
    for (int32_t size = 2; size <= 4; ++size) {
        FormationView formations = FormationsFor(data, size);
        blocks.push_back({formations.members, static_cast<size_t>(kFormationSlots * size)});
        blocks.push_back({formations.values, kFormationSlots});
    }
    ScoreData& record = const_cast<ScoreData&>(data);
    blocks.push_back({&record.progressTotal, 1});
    blocks.push_back({&record.arrestCount, 1});
    return blocks;
}

bool IsFormationCode(int32_t size, int32_t code) {
    static constexpr std::initializer_list<int32_t> kCodes[3] = {
        {2, 11}, {3, 12, 21, 111}, {4, 13, 31, 22, 112, 121, 211, 1111}};
    const auto& codes = kCodes[size - 2];
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Puts a value outside low-high back to fallback; true when it did.
bool Repair(int32_t& value, int32_t low, int32_t high, int32_t fallback) {
    if (value >= low && value <= high) return false;
    value = fallback;
    return true;
}

}  // namespace

std::vector<uint8_t> ScoreData::ToFileBytes() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(kScoreFileSize);
    for (const Block& block : FileBlocks(*this)) {
        for (size_t i = 0; i < block.count; ++i) AppendLittleEndian32(&bytes, block.fields[i]);
    }
    bytes.insert(bytes.end(), unlockFlags, unlockFlags + std::size(unlockFlags));
    return bytes;
}

bool ScoreData::FromFileBytes(const uint8_t* data, size_t size) {
    // A short file overwrites only what it holds, as reading it block by block would.
    std::vector<uint8_t> bytes = ToFileBytes();
    if (size > 0) std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
    FieldReader reader(bytes.data(), bytes.size());
    for (const Block& block : FileBlocks(*this)) {
        for (size_t i = 0; i < block.count; ++i) reader.Next(&block.fields[i]);
    }
    std::memcpy(unlockFlags, bytes.data() + bytes.size() - std::size(unlockFlags), std::size(unlockFlags));

    // Ids and codes index tables elsewhere in the game, so values outside their range are put
    // back to their defaults.
    bool repaired = false;
    for (int32_t size = 2; size <= 4; ++size) {
        RankingView table = RankingFor(*this, size);
        for (int32_t i = 0; i < table.entries * table.places * kGameModes; ++i) {
            repaired |= Repair(table.members[i], 0, kNoCharacter, kNoCharacter);
        }
        FormationView formations = FormationsFor(*this, size);
        for (int32_t i = 0; i < kFormationSlots * size; ++i) repaired |= Repair(formations.members[i], 0, kNoCharacter, 0);
        for (int32_t slot = 0; slot < kFormationSlots; ++slot) {
            int32_t& value = formations.values[slot];
            if (!IsFormationCode(size, value)) {
                value = DefaultFormationValue(size);
                repaired = true;
            }
        }
    }
    repaired |= Repair(progressTotal, 0, INT32_MAX, 0);
    repaired |= Repair(arrestCount, 0, kMaxArrestCount, std::clamp(arrestCount, 0, kMaxArrestCount));
    return !repaired;
}

void ScoreData::ApplyConfig(const uint8_t* text, size_t size) {
    ConfigValues values = ParseConfigText(text, size);
    for (int k = 0; k < 4; ++k) joystickButtons[k] = values[static_cast<size_t>(k)];
    ghostDisplay = values[4];
    fullScreenAtStart = values[5] != 0;
    soundEffectVolume = values[6];
    musicVolume = values[7];
}

bool ScoreData::Load(ObjectController* game) {
    Clear();
    keepDamagedFile_ = false;
    std::vector<uint8_t> bytes;
    bool read = ZethUserFile::Read(kScoreFileName, &bytes);
    if (read) {
        // An empty file is the one made when none existed; any other size is damaged.
        bool sound = FromFileBytes(bytes.data(), bytes.size());
        keepDamagedFile_ = !sound || (!bytes.empty() && bytes.size() != kScoreFileSize);
    } else if (!ZethUserFile::Exists(kScoreFileName)) {
        ZethUserFile::WriteReplacing(kScoreFileName, nullptr, 0);
    }

    std::vector<uint8_t> config;
    if (ZethUserFile::Read(kConfigFileName, &config)) {
        ApplyConfig(config.data(), config.size());
        if (game != nullptr) {
            game->SetSEVolume(static_cast<float>(soundEffectVolume));
            game->SetBGMVolume(static_cast<float>(musicVolume));
        }
    }
    for (auto [first, last] : kNonCharacterIds) std::fill(unlockFlags + first, unlockFlags + last + 1, 0);
    CountUnlocks();
    return read;
}

bool ScoreData::Save() {
    std::vector<uint8_t> bytes = ToFileBytes();
    // The damaged file is set aside, not overwritten, so whatever it held can still be recovered.
    bool setAside = keepDamagedFile_ && ZethUserFile::Rename(kScoreFileName, kDamagedScoreFileName);
    if (!ZethUserFile::WriteReplacing(kScoreFileName, bytes.data(), bytes.size())) {
        if (setAside) ZethUserFile::Rename(kDamagedScoreFileName, kScoreFileName);
        Zeth::MessageBox(0, "test", "%s", kSaveFailedText);
        return false;
    }
    keepDamagedFile_ = false;
    return true;
}
