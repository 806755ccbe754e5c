// The cells of the weapons that draw one (animated) cell of "shot.bmp" and nothing else, one row
// per type id in id order.
#include "game/player/shot.h"
#include "game/world/class_rows.h"

namespace {

const ShotCellRow kShotCells[] = {
    // id    u    v   w   h frames period
    {185,   24,  56,  8,  8, 1, 1},   // S_GradiusMissile
    {189,  200, 208, 24, 32, 2, 4},   // S_GradiusForceField
    {197,  136, 208,  8,  8, 2, 4},   // S_BomberKing_Missile
    {199,  152, 208,  8,  8, 1, 1},   // S_Kame_Ika
    {200,  128, 112,  8,  8, 1, 1},   // S_Kame_Tako
    {201,  128, 112,  8,  8, 1, 1},   // S_Kame_Kurage, drawn as the octopus
    {202,  160, 208,  8,  8, 1, 1},   // S_Kame_Umihebi_Bit
    {203,  168, 208,  8,  8, 1, 1},   // S_Kame_Umihebi_Shot
    {204,  176, 208,  8,  8, 2, 2},   // S_Kame_Shinju
    {208,    0, 240,  8,  8, 2, 4},   // S_FZ_Stanparon_Shot
    {210,  152, 112,  8, 16, 1, 1},   // S_FZ_Kobabeach
    {211,   16, 240,  8,  8, 1, 1},   // S_FZ_Boranda_Seed
    {212,   24, 240, 16, 16, 1, 1},   // S_FZ_Boranda_Petal
    {213,   40, 240,  8,  8, 1, 1},   // S_FZ_Opaopa_Shot
    {214,   48, 240,  8,  8, 1, 1},   // S_FZ_Opaopa_Bomb
    {215,   56, 240,  8,  8, 1, 1},   // S_FZ_Opaopa_7way
    {216,   64, 240, 16, 16, 1, 1},   // S_FZ_Opaopa_HeavyBomb
};

}  // namespace

const ShotCellRow* FindShotCell(int32_t typeId) { return FindClassRow(kShotCells, typeId); }

void CellShot::Draw(ObjectController* ctx) {
    const ShotCellRow* row = FindShotCell(cellId);
    if (row == nullptr) return;
    int32_t frame = (age / row->period) % row->frames;
    DrawCellAt(ctx, x, y, width, height, static_cast<float>(row->u + row->w * frame), static_cast<float>(row->v),
               static_cast<float>(row->w), static_cast<float>(row->h), DrawColor(ctx));
}
