// The cells of the weapons that draw one (animated) cell of "shot.bmp" and nothing else, one row
// per type id in id order.
#include "game/player/shot.h"
#include "game/world/cells.h"
#include "game/world/class_rows.h"
#include "game/world/type_table.h"

namespace {

const ShotCellRow kShotCells[] = {
    // id                               cell                           period
    {type_id::S_GradiusMissile,        cell::gradius_missile,           1},
    {type_id::S_GradiusForceField,     cell::force_field,               4},
    {type_id::S_BomberKing_Missile,    cell::bk_missile,                4},
    {type_id::S_Kame_Ika,              cell::kame_squid,                1},
    {type_id::S_Kame_Tako,             cell::kame_octopus,              1},
    {type_id::S_Kame_Kurage,           cell::kame_octopus,              1},  // drawn as the octopus
    {type_id::S_Kame_Umihebi_Bit,      cell::kame_serpent_bit,          1},
    {type_id::S_Kame_Umihebi_Shot,     cell::kame_serpent_shot,         1},
    {type_id::S_Kame_Shinju,           cell::kame_pearl,                2},
    {type_id::S_FZ_Stanparon_Shot,     cell::fz_bouncing,               4},
    {type_id::S_FZ_Kobabeach,          cell::fz_companion,              1},
    {type_id::S_FZ_Boranda_Seed,       cell::fz_seed,                   1},
    {type_id::S_FZ_Boranda_Petal,      cell::fz_petal,                  1},
    {type_id::S_FZ_Opaopa_Shot,        cell::fz_plain_shots.Frame(0),   1},
    {type_id::S_FZ_Opaopa_Bomb,        cell::fz_plain_shots.Frame(1),   1},
    {type_id::S_FZ_Opaopa_7way,        cell::fz_plain_shots.Frame(2),   1},
    {type_id::S_FZ_Opaopa_HeavyBomb,   cell::fz_heavy_bomb,             1},
};

}  // namespace

const ShotCellRow* FindShotCell(int32_t typeId) { return FindClassRow(kShotCells, typeId); }

void CellShot::Draw(ObjectController* ctx) {
    const ShotCellRow* row = FindShotCell(cellId);
    if (row == nullptr) return;
    const int32_t frame = (age / row->period) % row->cell.across;
    DrawCellAt(ctx, x, y, width, height, row->cell.Frame(frame).Source(), DrawColor(ctx));
}
