// What a whole-game run made and drew: every object the game's two factories made, counted by
// type id and by character class, and every source cell each class drew from each sheet.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <typeinfo>
#include <unordered_set>
#include <vector>

#include "game/world/type_table.h"

namespace pinned {

// A rectangle of a sheet that objects of one class drew, in texels; a negative width or height
// mirrors it.
struct DrawnCell {
    const std::type_info* drawer;  // null: drawn outside any object's Draw
    int32_t sheet;                 // index into kSheetNames
    float x, y, w, h;
    bool operator==(const DrawnCell&) const = default;
};

struct DrawnCellHash {
    size_t operator()(const DrawnCell& c) const;
};

// The sheets the batches draw from, by the name assets/cells.csv gives them: the flash and ghost
// enemy batches draw the enemy sheet, bg2 the background at dusk, the layer batches the two
// layer targets.
extern const char* const kSheetNames[];

// The class name of a type, as the game's sources spell it.
std::string ClassName(const std::type_info& type);

// Counts while it lives: every registered constructor is wrapped by one that counts and calls
// it, and a sprite observer notes each cell drawn with the class drawing it; all is put back
// afterwards. One census at a time.
class Census {
public:
    Census();
    ~Census();
    Census(const Census&) = delete;
    Census& operator=(const Census&) = delete;

    std::array<int64_t, kTypeCount> objects{};              // by type id
    std::array<int64_t, kCharacterCodeCount> characters{};  // by the code of the class made
    std::unordered_set<DrawnCell, DrawnCellHash> drawn;
};

}  // namespace pinned
