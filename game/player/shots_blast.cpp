#include "game/player/shots_blast.h"

#include "framework/core/angle.h"
#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// The eight pieces thrown out round a character that loses a life: five frames of bullet
// erasing, drawn in white whatever the ghost display says.
class S_PCBlast : public ShotOf<type_id::S_PCBlast> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Aiko's forward shot: sized by its level over its first two frames; its side comes from the
// firing code.
class S_RBShot : public ShotOf<type_id::S_RBShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_RBOptionLShield : public ShotOf<type_id::S_RBOptionLShield> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override { hp = maxHp; }
};

// A laser standing beside its owner that grows for as many frames as its angle field says.
class S_RBShotL : public ShotOf<type_id::S_RBShotL, ParentShot<8>> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_RBShotLTrace : public ShotOf<type_id::S_RBShotLTrace> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_RBShotLR : public ShotOf<type_id::S_RBShotLR> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;  // killed past age 45
};

class S_RBOptionM : public ShotOf<type_id::S_RBOptionM, RBSideOption> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// A missile that starts climbing faster from age 15.
class S_RBShotM : public ShotOf<type_id::S_RBShotM> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Killed at age 30 or by a hit, it leaves a blast; vanishing at the edge leaves none.
class S_RBShotMR : public ShotOf<type_id::S_RBShotMR> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;
};

class S_RBShotMRBlast : public ShotOf<type_id::S_RBShotMRBlast> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

// The bursting shot's blast: its 16, 24 and 32 unit cells.
constexpr SheetCell kBlastCells[3] = {cell::bursting_blast_small, cell::bursting_blast_middle,
                                      cell::bursting_blast_large};

}  // namespace

void S_PCBlast::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age >= 5) Kill();
    age += 1;
}

void S_PCBlast::Draw(ObjectController* ctx) {
    // One frame behind the age: the pieces' first frame, then the next four, then the core below.
    int32_t a = age - 1;
    DrawCellAt(ctx, x, y, 8, 8, cell::player_blast.Shifted(8 * (a % 4 + 1), 8 * (a / 4)).Source(), 0xFFFFFFFFu);
}

int32_t SectorOf(int32_t angle) { return ((AngleIndex(angle) + 2048) / 4096) % 16; }

void S_RBShot::Run(ObjectController*) {
    if (age < 2) {
        if (score == 1) {
            width = 16;
            hitHalfWidth = hitHalfHeight = 6;
        } else if (score == 2) {
            width = 16;
            hitHalfWidth = hitHalfHeight = 8;
        } else if (score == 3) {
            width = height = 16;
            hitHalfWidth = hitHalfHeight = 10;
        }
    }
    age += 1;
}

void S_RBShot::Draw(ObjectController* ctx) {
    if (score <= 0) DrawCell(ctx, cell::rb_shot_small.Source());
    else if (score >= 3) DrawCell(ctx, cell::rb_shot_broad.Source());
    else DrawCell(ctx, cell::rb_shot_twin.Frame(score - 1).Source());
}

void RBSideOption::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    int32_t d = age < 5 ? 2 * age + 6 : 16;
    if (owner != nullptr) {
        x = owner->GetX() - static_cast<float>(d) + static_cast<float>(2 * score * d);
        y = owner->GetY() + static_cast<float>(d / 2);
    }
    if (x < 2.0f) x = 2.0f;
    if (x > 254.0f) x = 254.0f;
    if (y > 236.0f) y = 236.0f;
    hp = maxHp;
    age += 1;
}

void S_RBOptionV::Draw(ObjectController* ctx) { DrawCell(ctx, cell::rb_pod.Source()); }

void S_RBOptionM::Draw(ObjectController* ctx) { DrawCell(ctx, cell::rb_option_m.Source()); }

void S_RBShotV::Draw(ObjectController* ctx) { DrawCell(ctx, cell::rb_side_shot.Source()); }

void S_RBShotVR::Run(ObjectController* ctx) {
    Object* enemy = ctx->FindNearestEnemy(x, y);
    int32_t target = enemy != nullptr ? static_cast<int32_t>(AngleAtan2(enemy->GetX() - x, enemy->GetY() - y)) : angle;
    TurnToward(target, 910);
    age += 1;
}

void S_RBShotVR::Draw(ObjectController* ctx) {
    // Right-hand sectors (12-15, 0-4: up round to down) have frames; the left half mirrors them.
    int32_t sector = SectorOf(angle);
    bool mirrored = sector >= 5 && sector <= 11;
    if (mirrored) sector = (24 - sector) % 16;
    DrawCell(ctx, cell::rb_homing.Frame((sector + 4) % 16).Source(mirrored));
}

void S_RBOptionL::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (owner != nullptr) {
        float r = age < 9 ? static_cast<float>(3 * (age + 2)) : 32.0f;
        float ox = owner->GetX(), oy = owner->GetY();
        int32_t a = age * 1092 + score * 32768;
        x = ox + r * AngleSin(a);
        y = oy + r * AngleCos(a);
        if (score >= 2) {
            for (int32_t k = 0; k < 2; ++k) {
                if (children[k] == nullptr) {
                    children[k] = ctx->CreateObject(type_id::S_RBOptionLShield, x, y, 0.0f, 0.0f, 0.0f, 0.0f, self);
                    if (children[k] != nullptr) children[k]->SetScore(k);
                }
                Object* shield = children[k];
                if (shield == nullptr) continue;
                int32_t ak = (age - 4 * k - 4) * 1092 + score * 32768;
                shield->x = ox + r * AngleSin(ak);
                shield->y = oy + r * AngleCos(ak);
                shield->InheritSide(ctx, owner);
            }
        }
    }
    hp = maxHp;
    age += 1;
}

void S_RBOptionL::Draw(ObjectController* ctx) { DrawCell(ctx, cell::rb_option_l.Source()); }

void S_RBOptionLShield::Draw(ObjectController* ctx) {
    if (score == 0) DrawCell(ctx, cell::circling_option.Source());
    else DrawCellAt(ctx, x, y, 8, 8, cell::option_shields.U(16), cell::option_shields.V(), 8, 8, DrawColor(ctx));
}

void S_RBShotL::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (owner != nullptr) x = owner->GetX() - 6.0f + static_cast<float>(12 * score);
    if (age < angle) {
        height += 8;
        hitHalfHeight = height / 2;
    }
    age += 1;
}

void S_RBShotL::Draw(ObjectController* ctx) { DrawCell(ctx, cell::star_force.Source()); }

void S_RBShotLTrace::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (owner != nullptr) x = owner->GetX();
    age += 1;
}

void S_RBShotLTrace::Draw(ObjectController* ctx) { DrawCell(ctx, cell::star_force.Source()); }

void S_RBShotLR::Run(ObjectController*) {
    if (age > 45) Kill();
    age += 1;
}

void S_RBShotLR::Draw(ObjectController* ctx) { DrawCell(ctx, cell::option_shields.Frame(age % 2).Source()); }

void S_RBShotM::Run(ObjectController*) {
    if (age == 15) ay = -0.2f;
    age += 1;
}

void S_RBShotM::Move(ObjectController*) {
    MoveWithin(-32.0f, 288.0f, -32.0f, 304.0f);
}

void S_RBShotM::Draw(ObjectController* ctx) {
    DrawCell(ctx, cell::rb_missile.Source());
    if (age >= 15) DrawCellAt(ctx, x, y + 12.0f, 8, 8, cell::rb_missile_flame.Frame(age % 2).Source(), DrawColor(ctx));
}

void S_RBShotMR::Run(ObjectController*) {
    if (age >= 30) Kill();
    age += 1;
}

void S_RBShotMR::OnKilled(ObjectController* ctx) {
    Object* blast = ctx->CreateObject(type_id::S_RBShotMRBlast, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    if (blast != nullptr) blast->SetSide(side);
}

void S_RBShotMR::Draw(ObjectController* ctx) {
    DrawCell(ctx, cell::bursting_shot.Frame(age % 4).Source());
}

void S_RBShotMRBlast::Run(ObjectController*) {
    frame = age % 4 == 3 ? 1 : age % 4;
    if (age >= 60) Kill();
    hp = maxHp;
    age += 1;
}

void S_RBShotMRBlast::Draw(ObjectController* ctx) {
    const SheetCell& blast = kBlastCells[frame];
    DrawCellAt(ctx, x, y, blast.width, blast.height, blast.Source(), DrawColor(ctx));
}

static ClassRegistration blastShots({
    ClassOf<S_PCBlast>(),
    ClassOf<S_RBShot>(),
    ClassOf<S_RBOptionV>(),
    ClassOf<S_RBShotV>(),
    ClassOf<S_RBShotVR>(),
    ClassOf<S_RBOptionL>(),
    ClassOf<S_RBOptionLShield>(),
    ClassOf<S_RBShotL>(),
    ClassOf<S_RBShotLTrace>(),
    ClassOf<S_RBShotLR>(),
    ClassOf<S_RBOptionM>(),
    ClassOf<S_RBShotM>(),
    ClassOf<S_RBShotMR>(),
    ClassOf<S_RBShotMRBlast>(),
});
