// The DG weapons (type ids 237-241): a blinking ball, a tall laser bolt, a wide wave, a missile
// that turns homing at a side edge, and an armour piece riding on its owner; and the sixteen-
// sector heading rule by which this missile and two other shots pick their cell.
// Declared here are the classes that other files name; the rest live in shots_dg.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

// A 16 x 16 source cell (negative sizes mirror).
struct SectorCell {
    float u, v, w, h;
};
// The missile's cell for a sector (0 up, clockwise to 15 up-left 1).
SectorCell DGMissileCell(int32_t sector);

// A shot that draws the cell of its heading's sector, keeping the last one for a heading in no
// sector and drawing nothing before any sector matched. The cell is the missile's, scaled and
// moved by the class.
class SectorShot : public Shot {
public:
    void Draw(ObjectController* ctx) override;
    int32_t sector = -1;

protected:
    SectorShot(int32_t typeId, float x, float y, float vx, float vy, float ax, float ay, float scale, float du,
               float dv)
        : Shot(typeId, x, y, vx, vy, ax, ay), cellScale(scale), cellDu(du), cellDv(dv) {}
    float cellScale, cellDu, cellDv;
};

