// The shared base of the W and Y families: each class takes its constructor values from the
// enemy class table and its picture and fire from its family's table; its Run is the hit flash,
// the aimed shot when its row fires, its own step, then age + 1.
#pragma once

#include <cstdint>

#include "game/enemies/enemy.h"
#include "game/world/cells.h"

class Message;

// One row of a family's table: the type id, the cell it draws and whether it fires the
// rank-scaled aimed shot every frame. The size drawn is the enemy's size in the enemy class table.
struct FamilyRow {
    int16_t id;
    SheetCell cell;
    bool shoots;
};

// An offset added to the row's cell: the animation frame.
struct CellOffset {
    int32_t x = 0, y = 0;
};

class FamilyEnemy : public Enemy {
public:
    void Run(ObjectController* ctx) override;
    void Draw(ObjectController* ctx) override;

protected:
    FamilyEnemy(const FamilyRow& row, float x, float y, float a, float b, float c, float d);
    // The class's own step of a frame, between the shot and age + 1.
    virtual void Act(ObjectController*) {}
    virtual CellOffset Frame() const { return {}; }
    // True when the enemy was placed in the left half of the field.
    bool OnLeft() const { return spawnX < 128; }
    bool XOnLeft() const { return x < 128.0f; }
    // Clamps into the box and turns back each component that met an edge; true on a bounce.
    bool BounceInBox(float left, float right, float top, float bottom);
    bool BounceInField() { return BounceInBox(8.0f, 248.0f, 8.0f, 232.0f); }
    // The draw call of the ghost enemies: the sheet by flash and ghost look, in colour.
    void DrawTinted(ObjectController* ctx);

    const FamilyRow& row_;
    int16_t cellWidth, cellHeight;  // the enemy class table's size, unless the class says otherwise
};

// Ghost enemies that always draw from "enemy.bmp" and show the hit flash by their trim colour.
class TrimmedGhost : public FamilyEnemy {
public:
    void Draw(ObjectController* ctx) override;

protected:
    using FamilyEnemy::FamilyEnemy;
    void TakeTrimColour();
    int32_t trimColour = 0;
};

// The darker partner of a ghost colour; any other colour gives the default trim.
int32_t GhostTrimColour(int32_t colour);
// The colour number 1-7 of a ghost colour, 0 for another colour.
int32_t GhostColourNumber(int32_t colour);

// The death of the snake boss's carriers and of some ground enemies: the scene hears of the
// subversion (code 6) at the enemy's position, then the enemy explodes.
void ExplodeWithSubvert(Enemy& enemy, ObjectController* ctx);

// Tells the current scene, if there is one.
void TellScene(ObjectController* ctx, const Message& message);
// Adds to the current scene's score, if there is a scene.
void AddSceneScore(ObjectController* ctx, int32_t value);
// The party's position, or false without a party.
bool PartyPosition(ObjectController* ctx, float& px, float& py);
