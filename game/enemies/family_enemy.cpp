#include "game/enemies/family_enemy.h"

#include <cmath>

#include "game/enemies/enemy_table.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"

namespace {

// Ghost colours with their darker trims, in colour-number order 1-7.
constexpr uint32_t kGhostColours[7][2] = {
    {0xFFFF7830u, 0xFFA03000u}, {0xFFFFA000u, 0xFF784000u}, {0xFFE8C820u, 0xFF485800u},
    {0xFF70E090u, 0xFF306040u}, {0xFF60D0E0u, 0xFF305080u}, {0xFFA070FFu, 0xFF6010A0u},
    {0xFFF060FFu, 0xFF982078u},
};
constexpr uint32_t kDefaultTrim = 0xFFB01030u;

}  // namespace

int32_t GhostColourNumber(int32_t colour) {
    for (int32_t i = 0; i < 7; ++i) {
        if (static_cast<uint32_t>(colour) == kGhostColours[i][0]) return i + 1;
    }
    return 0;
}

int32_t GhostTrimColour(int32_t colour) {
    const int32_t number = GhostColourNumber(colour);
    return static_cast<int32_t>(number == 0 ? kDefaultTrim : kGhostColours[number - 1][1]);
}

void TellScene(ObjectController* ctx, const Message& message) {
    // Between stages, or in a bare world, there may be no scene.
    if (ctx->currentScene != nullptr) ctx->currentScene->OnMessage(message);
}

void AddSceneScore(ObjectController* ctx, int32_t value) {
    if (ctx->currentScene != nullptr) ctx->currentScene->AddScore(value);
}

void ExplodeWithSubvert(Enemy& enemy, ObjectController* ctx) {
    TellScene(ctx, Msg(6, stage_message::kSubvertBonus, ctx, static_cast<int32_t>(enemy.x), static_cast<int32_t>(enemy.y)));
    enemy.Explode(ctx);
}

bool PartyPosition(ObjectController* ctx, float& px, float& py) {
    if (ctx->pcController == nullptr) return false;
    px = ctx->pcController->GetX();
    py = ctx->pcController->GetY();
    return true;
}

FamilyEnemy::FamilyEnemy(const FamilyRow& row, float px, float py, float a, float b, float c, float d)
    : row_(row), cellWidth(FindEnemyRow(row.id)->width), cellHeight(FindEnemyRow(row.id)->height) {
    Setup(row.id, px, py, a, b, c, d);
}

void FamilyEnemy::Run(ObjectController* ctx) {
    TickHitFlash();
    if (row_.shoots) Shoot(ctx);
    Act(ctx);
    age += 1;
}

void FamilyEnemy::Draw(ObjectController*) {
    const CellOffset f = Frame();
    DrawFrom(row_.cell.U(f.x), row_.cell.V(f.y),
             static_cast<float>(cellWidth), static_cast<float>(cellHeight));
}

void FamilyEnemy::DrawTinted(ObjectController*) {
    const CellOffset f = Frame();
    DrawFromSheet(SheetIndex(), row_.cell.U(f.x), row_.cell.V(f.y),
                  static_cast<float>(cellWidth), static_cast<float>(cellHeight),
                  static_cast<uint32_t>(colour));
}

bool FamilyEnemy::BounceInBox(float left, float right, float top, float bottom) {
    // Each component is turned to point back inside, so an enemy that meets an edge while
    // already heading inwards keeps its heading instead of being turned out again.
    bool bounced = false;
    if (x < left || x > right) {
        const bool atLeft = x < left;
        x = atLeft ? left : right;
        vx = atLeft ? std::fabs(vx) : -std::fabs(vx);
        bounced = true;
    }
    if (y < top || y > bottom) {
        const bool atTop = y < top;
        y = atTop ? top : bottom;
        vy = atTop ? std::fabs(vy) : -std::fabs(vy);
        bounced = true;
    }
    return bounced;
}

void TrimmedGhost::TakeTrimColour() { trimColour = GhostTrimColour(colour); }

void TrimmedGhost::Draw(ObjectController*) {
    const CellOffset f = Frame();
    const bool flashing = ((flashTimer + 3) / 4) % 2 == 1;
    DrawFromSheet(0, row_.cell.U(f.x), row_.cell.V(f.y),
                  static_cast<float>(cellWidth), static_cast<float>(cellHeight),
                  static_cast<uint32_t>(flashing ? trimColour : colour));
}
