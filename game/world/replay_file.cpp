// The replay file: the 36-byte header, the run count and the runs, and the slot file names.
#include <cstdio>

#include "game/world/file_bytes.h"
#include "game/world/replay.h"
#include "game/world/score_data.h"

namespace {

constexpr size_t kRunBytes = 8;
constexpr size_t kLevelOffset = 4;

// A game starts at a level from 0 up to the arrest count the player has earned, which never
// passes kMaxArrestCount.
bool IsGameLevel(int32_t level) { return level >= 0 && level <= kMaxArrestCount; }

// A value read from a file outside low-high takes the default instead.
void Check(int32_t* value, int32_t low, int32_t high, int32_t fallback) {
    if (*value < low || *value > high) *value = fallback;
}

void ReadHeaderFields(FieldReader& reader, ReplayHeader* header) {
    int32_t* fields[] = {&header->finalScore, &header->level,      &header->playerCount, &header->members[0],
                         &header->members[1], &header->members[2], &header->members[3],  &header->formation,
                         &header->gameMode};
    for (int32_t* field : fields) {
        if (!reader.Next(field)) break;
    }
    const ReplayHeader defaults;
    if (!IsGameLevel(header->level)) header->level = defaults.level;
    Check(&header->playerCount, 1, 4, defaults.playerCount);
    Check(&header->gameMode, 0, 31, defaults.gameMode);
    for (int i = 0; i < 4; ++i) Check(&header->members[i], 0, 63, defaults.members[i]);
}

}  // namespace

std::vector<uint8_t> EncodeReplay(const ReplayHeader& header, const std::vector<ReplayRun>& runs) {
    std::vector<uint8_t> bytes;
    bytes.reserve(40 + kRunBytes * runs.size());
    for (int32_t value : {header.finalScore, header.level, header.playerCount, header.members[0], header.members[1],
                          header.members[2], header.members[3], header.formation, header.gameMode}) {
        AppendLittleEndian32(&bytes, value);
    }
    AppendLittleEndian32(&bytes, static_cast<int32_t>(runs.size()));
    for (const ReplayRun& run : runs) {
        AppendLittleEndian32(&bytes, run.word);
        AppendLittleEndian32(&bytes, run.framesMinusOne);
    }
    return bytes;
}

void DecodeReplayHeader(const uint8_t* data, size_t size, ReplayHeader* header) {
    FieldReader reader(data, size);
    ReadHeaderFields(reader, header);
}

void DecodeReplay(const uint8_t* data, size_t size, ReplayHeader* header, std::vector<ReplayRun>* runs) {
    FieldReader reader(data, size);
    ReadHeaderFields(reader, header);
    int32_t count = 0;
    reader.Next(&count);
    runs->clear();
    // N is not trusted: only the runs the data holds are read.
    size_t available = reader.Remaining() / kRunBytes;
    size_t wanted = count > 0 ? static_cast<size_t>(count) : 0;
    runs->reserve(wanted < available ? wanted : available);
    for (size_t i = 0; i < wanted; ++i) {
        ReplayRun run{};
        if (!reader.Next(&run.word) || !reader.Next(&run.framesMinusOne)) break;
        runs->push_back(run);
    }
}

bool IsReplayFile(const uint8_t* data, size_t size, uint64_t fileSize) {
    if (size < kReplayHeaderBytes + 4) return false;
    const int32_t count = static_cast<int32_t>(ReadLittleEndian32(data + kReplayHeaderBytes));
    const int32_t level = static_cast<int32_t>(ReadLittleEndian32(data + kLevelOffset));
    return IsGameLevel(level) && count >= 1 &&
           fileSize == kReplayHeaderBytes + 4 + kRunBytes * static_cast<uint64_t>(count);
}

std::string ReplayFileName(int32_t slot) {
    if (slot == kLastReplaySlot) return "replay\\lastreplay.qvrep";
    if (slot < 0 || slot >= kReplaySlots) return {};
    char name[32];
    std::snprintf(name, sizeof name, "replay\\qvreplay%02d.qvrep", static_cast<int>(slot));
    return name;
}

const wchar_t* ReplayModeLabel(int32_t mode) {
    if (mode >= 1 && mode <= 9) return L"NODE            ";
    if (mode >= 17 && mode <= 25) return L"GHOST NODE      ";
    switch (mode) {
        case 0: return L"COOP ALL        ";
        case 10: return L"2MIN ATTACK     ";
        case 11: return L"5MIN ATTACK     ";
        case 12: return L"VENGEANCE       ";
        case 13: return L"SHORT MISSION   ";
        case 16: return L"GHOST           ";
        case 26: return L"G 2MIN ATTACK   ";
        case 27: return L"G 5MIN ATTACK   ";
        case 28: return L"G VENGEANCE     ";
        default: return L"                ";
    }
}
