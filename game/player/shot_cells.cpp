// The cells of the weapons that draw one (animated) cell of "shot.bmp" and nothing else, one row
// per type id in id order.
#include "game/player/shot.h"
#include "game/world/class_rows.h"
#include "game/world/type_table.h"

namespace {

const ShotCellRow kShotCells[] = {
    // id                               u    v   w   h  frames period
    {type_id::S_GradiusMissile,        24,  56,  8,  8, 1, 1},
    {type_id::S_GradiusForceField,    200, 208, 24, 32, 2, 4},
    {type_id::S_BomberKing_Missile,   136, 208,  8,  8, 2, 4},
    {type_id::S_Kame_Ika,             152, 208,  8,  8, 1, 1},
    {type_id::S_Kame_Tako,            128, 112,  8,  8, 1, 1},
    {type_id::S_Kame_Kurage,          128, 112,  8,  8, 1, 1},  // drawn as the octopus
    {type_id::S_Kame_Umihebi_Bit,     160, 208,  8,  8, 1, 1},
    {type_id::S_Kame_Umihebi_Shot,    168, 208,  8,  8, 1, 1},
    {type_id::S_Kame_Shinju,          176, 208,  8,  8, 2, 2},
    {type_id::S_FZ_Stanparon_Shot,      0, 240,  8,  8, 2, 4},
    {type_id::S_FZ_Kobabeach,         152, 112,  8, 16, 1, 1},
    {type_id::S_FZ_Boranda_Seed,       16, 240,  8,  8, 1, 1},
    {type_id::S_FZ_Boranda_Petal,      24, 240, 16, 16, 1, 1},
    {type_id::S_FZ_Opaopa_Shot,        40, 240,  8,  8, 1, 1},
    {type_id::S_FZ_Opaopa_Bomb,        48, 240,  8,  8, 1, 1},
    {type_id::S_FZ_Opaopa_7way,        56, 240,  8,  8, 1, 1},
    {type_id::S_FZ_Opaopa_HeavyBomb,   64, 240, 16, 16, 1, 1},
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
