// The base of every player weapon: construction from the weapon catalogue, ownership by the
// firing character or weapon, the side taken from the owner on the first frame, movement with
// removal at the edge of the field, and the draw colour that hides other players' shots in the
// ghost modes.
#pragma once

#include <cstdint>

#include "game/world/object.h"
#include "game/world/sheet_cell.h"

class CSprite2D;

class Shot : public Object {
public:
    void Move(ObjectController* ctx) override;  // the movement modes, then the field test
    void Run(ObjectController* ctx) override;   // first frame: the owner's side; age + 1
    void ForgetObject(Object* gone) override;   // the owner going vanishes the shot
    int32_t GetSide() override { return side; }
    void InheritSide(ObjectController* ctx, Object* from) override;

    uint32_t DrawColor(ObjectController* ctx) const;

protected:
    // Sets what the weapon catalogue lists for the type id from the creation arguments.
    Shot(int32_t typeId, float x, float y, float vx, float vy, float ax, float ay);

    void InheritSideOnFirstFrame(ObjectController* ctx);
    // One step of the movement modes 0-2 (other modes stand still), then Vanish outside
    // [left, right] x [top, bottom], the bounds themselves inside.
    void MoveWithin(float left, float right, float top, float bottom);
    // A cell of "shot.bmp" centred on (cx, cy), drawn w x h; a negative source size mirrors.
    void DrawCellAt(ObjectController* ctx, float cx, float cy, int32_t w, int32_t h, float u, float v, float uw,
                    float vh, uint32_t colour) const;
    void DrawCellAt(ObjectController* ctx, float cx, float cy, int32_t w, int32_t h, const CellSource& source,
                    uint32_t colour) const;
    // The shot's own cell at its position and size, in its draw colour.
    void DrawCell(ObjectController* ctx, float u, float v, float uw, float vh) const;
    void DrawCell(ObjectController* ctx, const CellSource& source) const;
    // Turns the angle by at most rate toward the target, both taken round the wrap at 65535 so
    // that a turn across straight right goes the short way; then the angle mod 65535.
    void TurnToward(int32_t target, int32_t rate);
};

// The class of type id Id over Base (Shot or a family base whose constructor takes the type id
// first): a shot class derives from ShotOf<id> or ShotOf<id, FamilyBase> and inherits its
// constructor, so its id is written once, in its head, and its registration reads it from
// kTypeId.
template <int32_t Id, class Base = Shot>
class ShotOf : public Base {
public:
    static constexpr int32_t kTypeId = Id;
    ShotOf(float x, float y, float vx, float vy, float ax, float ay) : Base(Id, x, y, vx, vy, ax, ay) {}

protected:
    // For a family base that takes values of the class after the six creation arguments.
    template <typename... More>
    ShotOf(float x, float y, float vx, float vy, float ax, float ay, More... more)
        : Base(Id, x, y, vx, vy, ax, ay, more...) {}
};

// A weapon that keeps child objects in N slots: its Detach lets go of each child and kills it,
// then tells its owner; ForgetObject frees the slot of a child that goes and, when the owner
// goes, clears it and vanishes.
template <int N>
class ParentShot : public Shot {
public:
    void Detach() override {
        for (Object*& child : children) {
            Object* held = child;
            if (held == nullptr) continue;
            child = nullptr;
            held->ForgetObject(self);
            held->Kill();
        }
        if (owner != nullptr) owner->ForgetObject(self);
    }
    void ForgetObject(Object* gone) override {
        for (Object*& child : children) {
            if (child == gone) {
                child = nullptr;
                break;
            }
        }
        if (gone == owner) {
            owner = nullptr;
            Vanish();
        }
    }

    Object* children[N] = {};

protected:
    using Shot::Shot;
};

// Draws a square picture of side 2q centred on (cx, cy) from one q x q quarter cell, mirrored
// into the other three places.
void DrawQuarters(CSprite2D* batch, float cx, float cy, float q, float u, float v, uint32_t colour);

// A weapon drawn as one cell of "shot.bmp" from the shared cell table, animated over frames laid
// side by side; the classes that only draw a cell are thin classes over it.
class CellShot : public Shot {
public:
    void Draw(ObjectController* ctx) override;

protected:
    CellShot(int32_t typeId, float x, float y, float vx, float vy, float ax, float ay)
        : Shot(typeId, x, y, vx, vy, ax, ay), cellId(typeId) {}

    int32_t cellId;
};

// One row of the cell table: the cell of a type id, whose frames side by side are each shown for
// period frames of age.
struct ShotCellRow {
    int16_t id;
    SheetCell cell;
    int16_t period;
};
// The row of a type id; null when the id draws no table cell.
const ShotCellRow* FindShotCell(int32_t typeId);
