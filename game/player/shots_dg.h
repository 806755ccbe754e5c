// The DG weapons (type ids 237-241): a blinking ball, a tall laser bolt, a wide wave, a missile
// that turns homing at a side edge, and an armour piece riding on its owner; and the sixteen-
// sector heading rule by which this missile and two other shots pick their cell.
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

// Visibility (score): 0 always drawn, 1 every ninth frame, otherwise never; it still hits.
class DGVisibleShot : public Shot {
public:
    void Draw(ObjectController* ctx) override;
    virtual void DrawVisible(ObjectController* ctx) = 0;

protected:
    using Shot::Shot;
};

class S_DG_Shirodama : public DGVisibleShot {
public:
    S_DG_Shirodama(float x, float y, float vx, float vy, float ax, float ay)
        : DGVisibleShot(237, x, y, vx, vy, ax, ay) {}
    void DrawVisible(ObjectController* ctx) override;
};

class S_DG_Laser : public DGVisibleShot {
public:
    S_DG_Laser(float x, float y, float vx, float vy, float ax, float ay) : DGVisibleShot(238, x, y, vx, vy, ax, ay) {}
    void DrawVisible(ObjectController* ctx) override;
};

// Variants 0-3 (angle field): 1 and 3 wide, 2 and 3 stronger.
class S_DG_Wave : public DGVisibleShot {
public:
    S_DG_Wave(float x, float y, float vx, float vy, float ax, float ay) : DGVisibleShot(239, x, y, vx, vy, ax, ay) {}
    void DrawVisible(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Mode (from the angle field) 1 turns homing at a side edge, 2 homes.
class S_DG_Missile : public SectorShot {
public:
    S_DG_Missile(float x, float y, float vx, float vy, float ax, float ay)
        : SectorShot(240, x, y, vx, vy, ax, ay, 1.0f, 0.0f, 0.0f) {}
    void Run(ObjectController* ctx) override;
    int32_t mode = 0;
};

// Sits on its owner; its max hp picks its row.
class S_DG_Arm : public Shot {
public:
    S_DG_Arm(float x, float y, float vx, float vy, float ax, float ay) : Shot(241, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};
