// Helpers the enemy-side families share: sprite cells drawn centred or placed, degrees turned
// into binary angles, the field test of bullets and effects, and the party's position.
#pragma once

#include <cstdint>

#include "game/world/sheet_cell.h"

class CSprite2D;
class Object;
class ObjectController;

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;
constexpr float kSpriteDepth = 32767.0f;

// One sprite whose destination starts at (left, top); a negative source size mirrors it.
void DrawCellAt(CSprite2D* batch, float left, float top, float width, float height, float srcX, float srcY,
                float srcWidth, float srcHeight, uint32_t colour = kOpaqueWhite);
void DrawCellAt(CSprite2D* batch, float left, float top, float width, float height, const CellSource& source,
                uint32_t colour = kOpaqueWhite);
// One sprite of the source cell's size centred on (x, y), the halves truncated to integers.
void DrawCellCentred(CSprite2D* batch, float x, float y, int32_t width, int32_t height, float srcX, float srcY,
                     uint32_t colour = kOpaqueWhite);
// The same for a cell's first frame (a cell of one frame: Frame(i) or Shifted picks another).
void DrawCellCentred(CSprite2D* batch, float x, float y, const SheetCell& cell, uint32_t colour = kOpaqueWhite);

// The integer part of degrees x 65536 / 360, computed in double so that large products keep
// their exact value.
int32_t DegreesToAngle(double degrees);

// True when the centre lies beyond the 256 x 240 field by more than the object's own size.
bool OutsideFieldBySize(const Object& o);

// One step of the object's movement mode (0, 1 or 2; others stay still); true when the centre
// then lies beyond the fixed 32-unit margin the enemies use.
bool StepEnemyMovement(Object& o);

// Slots of the objects a parent made and tracks: the first slot holding the gone object becomes
// null (true when one did).
bool ForgetChild(Object** slots, int count, Object* gone);
// The parent goes: every held child is told to forget it (and killed when asked), then the
// parent's owner is told.
void DetachChildren(Object& parent, Object** slots, int count, bool kill);

// The colour of the player-side sprites of the ghost modes: black unless the ghost display
// setting shows every side (1) or, at 2, the object is of side 1; white outside the ghost modes.
uint32_t GhostRuleColour(ObjectController* ctx, int32_t side);

// The binary angle from (x, y) to the party's controller; false (angle untouched) without one.
bool AimAtParty(ObjectController* ctx, float x, float y, int32_t& angle);
