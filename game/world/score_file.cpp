// The score file "qvscore.dat" (78,152 bytes, little-endian, no header) and the reading of the
// configuration file into the record.
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

#include <string>

#include "framework/app/log.h"
#include "framework/app/zeth.h"
#include "framework/files/file_write.h"
#include "game/world/config_file.h"
#include "game/world/file_bytes.h"
#include "game/world/object_controller.h"
#include "game/world/score_data.h"
#include "game/world/score_data_internal.h"

namespace {

constexpr size_t kScoreFileSize = 78152;
// Sixteen tokens of a few characters need under a hundred bytes; a longer file is not one.
constexpr size_t kConfigFileLimit = 4096;
constexpr const char* kSaveFailedText = "ハイスコアとパーティー編成を\n書き込めませんでした";
// What the start says when it cannot make the score file, by the cause it met.
const char* CannotSaveText(ZethUserFile::WriteFailure failure) {
    using ZethUserFile::WriteFailure;
    switch (failure) {
        case WriteFailure::kNotPermitted: return "フォルダに書き込めないため、スコアとリプレイを保存できません [ %s ]";
        case WriteFailure::kTooManyOpenFiles: return "開いているファイルが多すぎるため、スコアを保存できません [ %s ]";
        case WriteFailure::kTemporaryInTheWay:
            return "一時ファイルの名前にファイルでないものがあるため、スコアを保存できません [ %s.tmp ]";
        default: return "スコアファイルを作れないため、スコアを保存できません [ %s ]";
    }
}
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

namespace {

// The first free name for a damaged score file: "qvscore.dat.bad", then ".bad1", ".bad2", ...
std::string FreeDamagedFileName() {
    std::string name = kDamagedScoreFileName;
    for (int n = 1; ZethUserFile::Exists(name.c_str()); ++n) name = kDamagedScoreFileName + std::to_string(n);
    return name;
}

}  // namespace

bool ScoreData::Load(ObjectController* game) {
    using ZethUserFile::ReadResult;
    Clear();
    keepDamagedFile_ = false;
    std::vector<uint8_t> bytes;
    const ReadResult score = ZethUserFile::Read(kScoreFileName, &bytes, kScoreFileSize);
    const bool read = ZethUserFile::HoldsData(score);
    if (read) {
        // An empty file is the one made when none existed; any other size is damaged.
        bool sound = FromFileBytes(bytes.data(), bytes.size());
        keepDamagedFile_ = !sound || score == ReadResult::kTooLarge ||
                           (!bytes.empty() && bytes.size() != kScoreFileSize);
    } else if (score == ReadResult::kUnreadable) {
        keepDamagedFile_ = true;  // whatever is there is set aside, never overwritten
    } else if (ZethUserFile::WriteFailure failure{}; !ZethUserFile::WriteReplacing(kScoreFileName, nullptr, 0, &failure)) {
        // A read-only folder, say: the game still runs, and the player learns once, at the
        // start, that nothing will be kept, and why.
        ZethLog::Report(CannotSaveText(failure), kScoreFileName);
    }
    if (keepDamagedFile_) ZethLog::Report("スコアファイルが壊れています [ %s ]", kScoreFileName);

    std::vector<uint8_t> config;
    const ReadResult settings = ZethUserFile::Read(kConfigFileName, &config, kConfigFileLimit);
    if (settings == ReadResult::kWhole) {
        ApplyConfig(config.data(), config.size());
        if (game != nullptr) {
            game->SetSEVolume(static_cast<float>(soundEffectVolume));
            game->SetBGMVolume(static_cast<float>(musicVolume));
        }
    } else if (settings != ReadResult::kMissing) {
        ZethLog::Report("設定ファイルが壊れているため使いません [ %s ]", kConfigFileName);
    }
    for (auto [first, last] : kNonCharacterIds) std::fill(unlockFlags + first, unlockFlags + last + 1, 0);
    CountUnlocks();
    return read;
}

bool ScoreData::Save() {
    std::vector<uint8_t> bytes = ToFileBytes();
    // The damaged file is set aside under a name of its own, not overwritten, so whatever it
    // held can still be recovered, however many damaged files came before it.
    std::string setAside;
    if (keepDamagedFile_) {
        setAside = FreeDamagedFileName();
        if (!ZethUserFile::Rename(kScoreFileName, setAside.c_str())) setAside.clear();
    }
    if (ZethUserFile::WriteFailure failure{};
        !ZethUserFile::WriteReplacing(kScoreFileName, bytes.data(), bytes.size(), &failure)) {
        if (!setAside.empty()) ZethUserFile::Rename(setAside.c_str(), kScoreFileName);
        if (!saveFailureShown_) {
            ZethUserFile::ReportWriteFailure(kScoreFileName, failure);
            Zeth::MessageBox(0, "test", "%s", kSaveFailedText);
        }
        saveFailureShown_ = true;
        return false;
    }
    saveFailureShown_ = false;
    if (!setAside.empty()) ZethLog::Report("壊れたスコアファイルを [ %s ] として残しました", setAside.c_str());
    keepDamagedFile_ = false;
    return true;
}
