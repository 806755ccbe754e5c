// The classes the factories know that nothing in the game makes, each with the reason, and those
// only skilled play makes: the pinned runs together make every other class.
#pragma once

#include <vector>

namespace pinned {

struct NeverMade {
    const char* className;
    const char* reason;
};

extern const std::vector<NeverMade> kNeverMade;
// Classes the game makes only after play that no seeded run achieves, each with what it takes.
extern const std::vector<NeverMade> kBeyondSeededPlay;

}  // namespace pinned
