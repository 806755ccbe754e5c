// The BomberKing, Quinty and Kame weapons (type ids 195-205): a range-limited beam, a bomb blast
// and a missile; a floor panel that flips enemies off the top of the field; and seven sea-creature
// shots. The level, where used, is the score field.

#include <algorithm>
#include <cstdint>

#include "game/player/shot.h"
#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/type_table.h"

namespace {

// Lives (level + 3) x 10 frames.
class S_BomberKing_Beam : public ShotOf<type_id::S_BomberKing_Beam> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Eight frames of a growing explosion, always drawn in white.
class S_BomberKing_Blast : public ShotOf<type_id::S_BomberKing_Blast> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_BomberKing_Missile final : public ShotOf<type_id::S_BomberKing_Missile, CellShot> {
public:
    using ShotOf::ShotOf;
};

// Rises and stands up over its first steps, then folds down; gone after 16 frames.
class S_Quinty_Panel : public ShotOf<type_id::S_Quinty_Panel> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t step = 0;
};

// The Kame shots with a Run of their own share the table cell look.
class KameShot : public CellShot {
public:
    void Run(ObjectController* ctx) override;  // first-frame side, the class's rule, age + 1

protected:
    using CellShot::CellShot;
    virtual void Behave() {}
};

class S_Kame_Ika final : public ShotOf<type_id::S_Kame_Ika, KameShot> {
public:
    using ShotOf::ShotOf;

protected:
    void Behave() override;  // killed past age 30
};

// Bounces off the side walls at x 4 and 252.
class S_Kame_Tako final : public ShotOf<type_id::S_Kame_Tako, KameShot> {
public:
    using ShotOf::ShotOf;

protected:
    void Behave() override;
};

// Turns back across every sixth frame.
class S_Kame_Kurage final : public ShotOf<type_id::S_Kame_Kurage, KameShot> {
public:
    using ShotOf::ShotOf;

protected:
    void Behave() override;
};

// Never worn out; something else places it.
class S_Kame_Umihebi_Bit final : public ShotOf<type_id::S_Kame_Umihebi_Bit, KameShot> {
public:
    using ShotOf::ShotOf;
    void Move(ObjectController*) override {}

protected:
    void Behave() override { hp = maxHp; }
};

class S_Kame_Umihebi_Shot final : public ShotOf<type_id::S_Kame_Umihebi_Shot, KameShot> {
public:
    using ShotOf::ShotOf;

protected:
    void Behave() override;  // killed past age 10
};

class S_Kame_Shinju final : public ShotOf<type_id::S_Kame_Shinju, CellShot> {
public:
    using ShotOf::ShotOf;
};

// Its angle field is one of eight directions (0 right, 2 down, 4 left, 6 up).
class S_Kame_STG : public ShotOf<type_id::S_Kame_STG> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// The STG shot's frame (five headings, up round to down) by right-hand direction (6 up, 7,
// 0 right, 1, 2 down); 3-5 mirror.
constexpr int32_t kStgRow[8] = {2, 3, 4, 0, 0, 0, 0, 1};

}  // namespace

void S_BomberKing_Beam::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age >= (score + 3) * 10) Kill();
    age += 1;
}

void S_BomberKing_Beam::Draw(ObjectController* ctx) {
    DrawCell(ctx, cell::bk_beam.Frame(age % 2).Source());
}

void S_BomberKing_Blast::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    if (age >= 8) Kill();
    age += 1;
}

void S_BomberKing_Blast::Draw(ObjectController* ctx) {
    int32_t size = std::min(8 + 5 * age, static_cast<int32_t>(width));
    DrawCellAt(ctx, x, y, size, size, cell::bk_blast.Source(), 0xFFFFFFFFu);
}

void S_Quinty_Panel::Run(ObjectController* ctx) {
    if (owner != nullptr) InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    if (age % 2 == 1) {
        y -= 4.0f;
        step += 1;
        height += step < 4 ? 8 : -8;
        hitHalfHeight = static_cast<int16_t>(height / 2 + 8);
    }
    if (step > 7) Kill();
    age += 1;
}

// Standing up, then folding.
void S_Quinty_Panel::Draw(ObjectController* ctx) { DrawCell(ctx, cell::quinty_panel.Frame(step < 4 ? 0 : 1).Source()); }

void KameShot::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    Behave();
    age += 1;
}

void S_Kame_Ika::Behave() {
    if (age > 30) Kill();
}

void S_Kame_Tako::Behave() {
    // Where the shot would be after this frame's move.
    float p = x + vx;
    if (p < 4.0f) {
        x = 4.0f - vx;
        vx = -vx;
    } else if (p > 252.0f) {
        x = 252.0f + vx;
        vx = -vx;
    }
}

void S_Kame_Kurage::Behave() {
    if (age % 6 == 5) vx = -vx;
}

void S_Kame_Umihebi_Shot::Behave() {
    if (age > 10) Kill();
}

void S_Kame_STG::Draw(ObjectController* ctx) {
    int32_t direction = ((angle % 8) + 8) % 8;
    bool mirrored = direction >= 3 && direction <= 5;
    if (mirrored) direction = (12 - direction) % 8;
    DrawCell(ctx, cell::stg_shot.Frame(kStgRow[direction]).Source(mirrored));
}

static ClassRegistration bkKameShots({
    ClassOf<S_BomberKing_Beam>(),
    ClassOf<S_BomberKing_Blast>(),
    ClassOf<S_BomberKing_Missile>(),
    ClassOf<S_Quinty_Panel>(),
    ClassOf<S_Kame_Ika>(),
    ClassOf<S_Kame_Tako>(),
    ClassOf<S_Kame_Kurage>(),
    ClassOf<S_Kame_Umihebi_Bit>(),
    ClassOf<S_Kame_Umihebi_Shot>(),
    ClassOf<S_Kame_Shinju>(),
    ClassOf<S_Kame_STG>(),
});
