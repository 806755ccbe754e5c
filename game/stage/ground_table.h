// What the background's cell values place: the ground enemies of the stages, one row per range
// of cell values, in two tables (stages below 7 and from 7 on, by stage number mod 16).
#pragma once

#include <cstdint>

struct GroundPlacement {
    int16_t first, last;    // the cell values of the row
    int16_t typeId;
    float b;                // the creation value b
    int16_t levelBase;      // level = value - levelBase, or value mod levelMod
    int16_t levelMod;       // 0 none; 2: level = value mod 2 (and levelDiv applies after the base)
    int16_t levelDiv;       // level = (value - levelBase) / levelDiv
    int16_t shiftX, shiftY; // moved from the cell's centre
    bool atTop;             // placed along the top of the field by column (x = 8 + 10 c, y = 0)
    bool owned;             // the stage is the owner (the enemy follows the scroll)
};

// The placement of a cell value on a stage, or null for scenery.
const GroundPlacement* FindGroundPlacement(int32_t stage, int32_t value);
// The level a placement writes into the new enemy's angle field for a cell value.
int32_t GroundLevel(const GroundPlacement& p, int32_t value);
// The ring y at which map row `row` is painted.
int32_t RingY(int32_t row);
