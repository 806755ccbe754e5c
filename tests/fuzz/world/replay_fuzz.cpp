// Reads arbitrary bytes as a replay file and plays it back to its end; the header must come out
// in range and every word must be one of the file's.
#include <cstdlib>

#include "framework/files/byte_order.h"
#include "game/world/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReplayHeader header;
    std::vector<ReplayRun> runs;
    DecodeReplay(data, size, &header, &runs);
    if (header.level < 0 || header.level > 512 || header.playerCount < 1 || header.playerCount > 4 ||
        header.gameMode < 0 || header.gameMode > 31) {
        std::abort();
    }
    for (int32_t member : header.members) {
        if (member < 0 || member > 63) std::abort();
    }
    if (runs.size() * 8 > size) std::abort();
    Replay replay;
    replay.runs = runs;
    for (size_t frame = 0; frame < 4096 && replay.NextInput() != -1; ++frame) {
    }
    ReplayEntry entry;
    DecodeReplayHeader(data, size, &entry.header);
    // Whole, the bytes are a replay only when they hold exactly the runs their count says, and
    // then the level is the file's own (one a game starts at).
    if (IsReplayFile(data, size, size) &&
        (runs.size() * 8 + 40 != size || header.level != static_cast<int32_t>(ReadLittleEndian32(data + 4)))) {
        std::abort();
    }
    return 0;
}
