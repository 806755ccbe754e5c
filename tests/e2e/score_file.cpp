// Writes a score file as the game itself writes one (the defaults, then the given arrest count
// and unlocked characters), for the scripts that start the real program with a prepared record.
//   score_file PATH ARREST_COUNT [CHARACTER_ID...]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/world/score_data.h"
#include "write_bytes.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: score_file PATH ARREST_COUNT [CHARACTER_ID...]\n");
        return 2;
    }
    ScoreData scores;
    scores.Clear();
    scores.arrestCount = std::atoi(argv[2]);
    if (scores.arrestCount < 0 || scores.arrestCount > kMaxArrestCount) {
        std::fprintf(stderr, "score_file: the arrest count is 0-%d\n", kMaxArrestCount);
        return 2;
    }
    for (int i = 3; i < argc; ++i) {
        const int id = std::atoi(argv[i]);
        if (id < 0 || id >= kNoCharacter) {
            std::fprintf(stderr, "score_file: %s is no character id (0-62)\n", argv[i]);
            return 2;
        }
        scores.unlockFlags[id] = 1;
    }
    return WriteBytesOrSay("score_file", argv[1], scores.ToFileBytes());
}
