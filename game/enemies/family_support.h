// Helpers the enemy-side families share: sprite cells drawn centred or placed, degrees turned
// into binary angles, the field test of bullets and effects, and the party's position.
#pragma once

#include <cstdint>

class CSprite2D;
class Object;
class ObjectController;

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;
constexpr float kSpriteDepth = 32767.0f;

// One sprite whose destination starts at (left, top); a negative source size mirrors it.
void DrawCellAt(CSprite2D* batch, float left, float top, float width, float height, float srcX, float srcY,
                float srcWidth, float srcHeight, uint32_t colour = kOpaqueWhite);
// One sprite of the source cell's size centred on (x, y), the halves truncated to integers.
void DrawCellCentred(CSprite2D* batch, float x, float y, int32_t width, int32_t height, float srcX, float srcY,
                     uint32_t colour = kOpaqueWhite);

// The integer part of degrees x 65536 / 360, computed in double so that large products keep
// their exact value.
int32_t DegreesToAngle(double degrees);

// True when the centre lies beyond the 256 x 240 field by more than the object's own size.
bool OutsideFieldBySize(const Object& o);

// One step of the object's movement mode (0, 1 or 2; others stay still); true when the centre
// then lies beyond the fixed 32-unit margin the enemies use.
bool StepEnemyMovement(Object& o);

// The binary angle from (x, y) to the party's controller; false (angle untouched) without one.
bool AimAtParty(ObjectController* ctx, float x, float y, int32_t& angle);
