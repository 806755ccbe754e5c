// The replay slots: which slot files exist, keeping the last replay in a slot, and the menu line
// of a slot.
#include <algorithm>

#include "framework/files/file_write.h"
#include "framework/graphics/sprite.h"
#include "game/world/drawing.h"
#include "game/world/names.h"
#include "game/world/object_controller.h"
#include "game/world/replay.h"
#include "game/world/text.h"

namespace ReplayList {
namespace {

constexpr int32_t kWhite = -1;  // ARGB 0xFFFFFFFF
constexpr float kDepth = 32767.0f;

}  // namespace

void Scan() {
    Replay& replay = worldController.replay;
    for (int32_t slot = 0; slot < kReplaySlots; ++slot) {
        replay.slotExists[slot] = ZethUserFile::Exists(ReplayFileName(slot).c_str()) ? 1 : 0;
    }
}

int32_t FindFreeSlot() {
    const Replay& replay = worldController.replay;
    for (int32_t slot = 0; slot < kReplaySlots; ++slot) {
        if (replay.slotExists[slot] == 0) return slot;
    }
    return -1;
}

bool SaveToSlot(int32_t slot) {
    Replay& replay = worldController.replay;
    replay.mode = 0;
    if (slot < 0 || slot >= kReplaySlots) return false;
    bool copied = ZethUserFile::CopyNew(ReplayFileName(kLastReplaySlot).c_str(), ReplayFileName(slot).c_str(),
                                        kReplayFileLimit);
    if (copied) replay.slotExists[slot] = 1;
    return copied;
}

bool ReadHeader(int32_t slot, ReplayEntry* entry) {
    std::string name = ReplayFileName(slot);
    std::vector<uint8_t> bytes;
    uint64_t fileSize = 0;
    if (name.empty() ||
        !ZethUserFile::HoldsData(ZethUserFile::Read(name.c_str(), &bytes, kReplayHeaderBytes + 4, &fileSize)) ||
        !IsReplayFile(bytes.data(), bytes.size(), fileSize)) {
        return false;
    }
    entry->header = ReplayHeader();
    DecodeReplayHeader(bytes.data(), bytes.size(), &entry->header);
    return true;
}

void FormatEntry(ReplayEntry* entry, float x, float y, ObjectController* game) {
    const ReplayHeader& h = entry->header;
    const int32_t count = std::clamp(h.playerCount, 1, 4);
    // The faces are the party icons of the character sheet, whose columns of 64 texels hold 16
    // ids each, one 16-texel row per id.
    for (int32_t i = 0; i < count; ++i) {
        const int32_t id = CharacterSlot(h.members[i]);
        const float dest[4] = {x + 64.0f - 16.0f * static_cast<float>(count) + 16.0f * static_cast<float>(i), y, 16.0f,
                               16.0f};
        const float src[4] = {static_cast<float>(64 * (id / 16)), static_cast<float>(16 * (id % 16)), 16.0f, 16.0f};
        std::copy(dest, dest + 4, entry->dest);
        std::copy(src, src + 4, entry->src);
        ZethSprite::DrawRect(gameSprites.pc, entry->dest, kDepth, entry->src, 0xFFFFFFFFu, 1);
    }
    // The score is kept in tens: a 0 is drawn after it.
    DrawNumber(x + 168.0f, y, 0, kWhite);
    DrawNumber(x + 160.0f, y, h.finalScore, kWhite);
    DrawNumber(x + 200.0f, y, h.level, kWhite);
    if (count == 1) {
        DrawCharacterName(x + 64.0f, y, h.members[0], kWhite);
    } else {
        int32_t grade = PartyGrade(game, count, h.members[0], h.members[1], h.members[2], h.members[3]);
        DrawGradeText(x + 64.0f, y, count, grade, kWhite);
    }
    DrawText(ReplayModeLabel(h.gameMode), x + 96.0f, y + 8.0f, kDepth, kWhite);
    if (h.gameMode >= 1 && h.gameMode <= 9) DrawNumber(x + 144.0f, y + 8.0f, h.gameMode, kWhite);
    if (h.gameMode >= 17 && h.gameMode <= 25) DrawNumber(x + 192.0f, y + 8.0f, h.gameMode % 16, kWhite);
}

}  // namespace ReplayList
