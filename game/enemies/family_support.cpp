#include "game/enemies/family_support.h"

#include "framework/core/angle.h"
#include "framework/graphics/sprite.h"
#include "game/world/object_controller.h"

void DrawCellAt(CSprite2D* batch, float left, float top, float width, float height, float srcX, float srcY,
                float srcWidth, float srcHeight, uint32_t colour) {
    const float dst[4] = {left, top, width, height};
    const float src[4] = {srcX, srcY, srcWidth, srcHeight};
    ZethSprite::DrawRect(batch, dst, kSpriteDepth, src, colour, 1);
}

void DrawCellAt(CSprite2D* batch, float left, float top, float width, float height, const CellSource& source,
                uint32_t colour) {
    DrawCellAt(batch, left, top, width, height, source.u, source.v, source.width, source.height, colour);
}

void DrawCellCentred(CSprite2D* batch, float x, float y, int32_t width, int32_t height, float srcX, float srcY,
                     uint32_t colour) {
    DrawCellAt(batch, x - static_cast<float>(width / 2), y - static_cast<float>(height / 2),
               static_cast<float>(width), static_cast<float>(height), srcX, srcY, static_cast<float>(width),
               static_cast<float>(height), colour);
}

void DrawCellCentred(CSprite2D* batch, float x, float y, const SheetCell& cell, uint32_t colour) {
    DrawCellCentred(batch, x, y, cell.width, cell.height, cell.U(), cell.V(), colour);
}

int32_t DegreesToAngle(double degrees) { return static_cast<int32_t>(degrees * 65536.0 / 360.0); }

bool OutsideFieldBySize(const Object& o) {
    const float w = static_cast<float>(o.width);
    const float h = static_cast<float>(o.height);
    return o.x < -w || o.x > 256.0f + w || o.y < -h || o.y > 240.0f + h;
}

bool StepEnemyMovement(Object& o) {
    if (o.moveMode >= 0 && o.moveMode <= 2) o.StepMovement();
    return o.x < -32.0f || o.x > 288.0f || o.y < -32.0f || o.y > 272.0f;
}

bool AimAtParty(ObjectController* ctx, float x, float y, int32_t& angle) {
    Object* party = ctx->pcController;
    if (party == nullptr) return false;
    angle = static_cast<int32_t>(AngleAtan2(party->GetX() - x, party->GetY() - y));
    return true;
}

bool ForgetChild(Object** slots, int count, Object* gone) {
    if (gone == nullptr) return false;
    for (int i = 0; i < count; ++i) {
        if (slots[i] != gone) continue;
        slots[i] = nullptr;
        return true;
    }
    return false;
}

void DetachChildren(Object& parent, Object** slots, int count, bool kill) {
    for (int i = 0; i < count; ++i) {
        if (slots[i] == nullptr) continue;
        slots[i]->ForgetObject(&parent);
        if (kill) slots[i]->Kill();
    }
    if (parent.owner != nullptr) parent.owner->ForgetObject(&parent);
}

uint32_t GhostRuleColour(ObjectController* ctx, int32_t side) {
    constexpr uint32_t kBlack = 0xFF000000u;
    if (ctx->gameMode < 16) return kOpaqueWhite;
    const int32_t setting = ctx->scoreData.ghostDisplay;
    return setting == 1 || (setting == 2 && side == 1) ? kOpaqueWhite : kBlack;
}
