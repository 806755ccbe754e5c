// Writes a score file as the game itself writes one (the defaults, then the given arrest count
// and unlocked characters), for the scripts that start the real program with a prepared record.
//   score_file PATH ARREST_COUNT [CHARACTER_ID...]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "game/world/score_data.h"

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
    const std::vector<uint8_t> bytes = scores.ToFileBytes();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "score_file: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
