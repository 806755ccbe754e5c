// Writes a replay file as the game writes one, for the scripts that show a stage the menus do not
// offer: the replay list plays it back. One player of the given character in the given mode,
// and the recorded button words, each held for its number of frames (bits 0-6: up, down, left,
// right, fire, bomb, third).
//   replay_file PATH MODE CHARACTER_ID WORD:FRAMES...
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/world/replay.h"
#include "write_bytes.h"

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: replay_file PATH MODE CHARACTER_ID WORD:FRAMES...\n");
        return 2;
    }
    ReplayHeader header;
    header.gameMode = std::atoi(argv[2]);
    const int character = std::atoi(argv[3]);
    if (header.gameMode < 0 || header.gameMode > 31 || character < 0 || character > 63) {
        std::fprintf(stderr, "replay_file: the mode is 0-31 and the character 0-63\n");
        return 2;
    }
    header.playerCount = 1;
    header.formation = 1;
    for (int32_t& member : header.members) member = character;
    std::vector<ReplayRun> runs;
    for (int i = 4; i < argc; ++i) {
        int word = 0, frames = 0;
        if (std::sscanf(argv[i], "%d:%d", &word, &frames) != 2 || word < 0 || word > 127 || frames < 1) {
            std::fprintf(stderr, "replay_file: %s is not WORD:FRAMES (a word 0-127 held 1 frame or more)\n", argv[i]);
            return 2;
        }
        runs.push_back({word, frames - 1});
    }
    return WriteBytesOrSay("replay_file", argv[1], EncodeReplay(header, runs));
}
