// Blasts: the small and large blasts of destroyed enemies, the two-phase blast of bombed
// enemies, the tinted invader blast, the short blast of the collision pass, and the stage-boss
// death sequences that scatter blasts by fixed, replayable rules. They never hit anything.
#include "framework/core/angle.h"
#include "game/enemies/effect.h"
#include "game/enemies/family_support.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

void CreateBlast(ObjectController* ctx, int32_t typeId, float x, float y, float vx = 0.0f, float vy = 0.0f) {
    ctx->CreateObject(typeId, x, y, vx, vy, 0.0f, 0.0f, nullptr);
}

// The small blast's eight frames, two game frames each.
class EF_Blast_01 final : public RowEffect<type_id::EF_Blast_01> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override { EndRun(); }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.effect2, x, y, cell::small_blast.Shifted(((age - 1) / 2) * 16, 0));
    }
};

// The large blast's four frames and back, one step every third frame.
class EF_Blast_02 final : public RowEffect<type_id::EF_Blast_02> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override {
        KillAtRowLife(273);
        if (age % 3 == 0) {
            if (age < 8) frame += 1;
            else if (age > 8) frame -= 1;
        }
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.effect2, x, y, cell::large_blast.Shifted(frame * 32, 0));
    }

    int32_t frame = 0;
};

// Four small cells, then three large ones, then back down.
class EF_ZanacBlast final : public RowEffect<type_id::EF_ZanacBlast> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override {
        KillAtRowLife(274);
        if (age < 14 && age % 2 == 0) frame = age / 2;
        if (age > 14 && age % 2 == 1) frame = 6 - (age - 14) / 2;
        age += 1;
    }
    void Draw(ObjectController*) override {
        if (frame < 4) DrawCellCentred(gameSprites.effect2, x, y, cell::two_phase_small.Frame(frame));
        else DrawCellCentred(gameSprites.effect2, x, y, cell::two_phase_large.Frame(frame - 4));
    }

    int32_t frame = 0;
};

// One cell tinted by the colour index its creator writes into the angle field.
class EF_Blast_Invader final : public RowEffect<type_id::EF_Blast_Invader> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override { EndRun(); }
    void Draw(ObjectController*) override { DrawCellCentred(gameSprites.effect2, x, y, cell::invader_blast, Tint()); }

private:
    uint32_t Tint() const {
        switch (angle) {
            case 1: return 0xFFFF7830u;
            case 2: return 0xFFFFA000u;
            case 3: return 0xFFE8C820u;
            case 4: return 0xFF70E090u;
            case 5: return 0xFF60D0E0u;
            case 6: return 0xFFA070FFu;
            case 7: return 0xFFF060FFu;
            default: return 0xFFFF60B0u;
        }
    }
};

class EF_OR_Blast final : public RowEffect<type_id::EF_OR_Blast> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override { EndRun(); }
    void Draw(ObjectController*) override {
        if (age <= 1) DrawCellCentred(gameSprites.effect2, x, y, cell::short_blast.Frame(0));
        else if (age == 2) DrawCellCentred(gameSprites.effect2, x, y, cell::short_blast.Frame(1));
        else if (age == 3) DrawCellCentred(gameSprites.effect2, x, y, cell::short_blast_small.Frame(0));
        else DrawCellCentred(gameSprites.effect2, x, y, cell::short_blast_small.Frame(1));
    }
};

// The stage-1 boss's picture while a small and a large blast appear every frame at places
// computed from the positions of the boss and the party and the age.
class EF_Blast_Stage1Boss final : public RowEffect<type_id::EF_Blast_Stage1Boss> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        const int64_t a = static_cast<int64_t>(x), b = static_cast<int64_t>(y);
        int64_t p = 0, q = 0;
        if (Object* party = ctx->pcController; party != nullptr) {
            p = static_cast<int64_t>(party->GetX());
            q = static_cast<int64_t>(party->GetY());
        }
        const int64_t t = age;
        CreateBlast(ctx, type_id::EF_Blast_01, static_cast<float>((t * b * a + p) % 256), static_cast<float>((q * p * t + a) % 256));
        CreateBlast(ctx, type_id::EF_Blast_02, static_cast<float>((q * t * a + b) % 240), static_cast<float>((p * t * b + q) % 240));
        if (t % 10 == 0) ctx->PlaySE(sound::kBlast4);
        EndRun();
    }
    void Draw(ObjectController*) override { DrawCellCentred(gameSprites.enemy, x, y, 96, 64, 64, 128); }
};

// The stage-2 boss's picture while blasts fly out in directions that jump about from frame to
// frame, then a final ring of 64 pairs. The fan helper reads its angle argument as degrees; the
// value handed to it is already a degree count turned into binary units once.
class EF_Blast_Stage2Boss final : public RowEffect<type_id::EF_Blast_Stage2Boss> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        const int64_t t = age;
        const float speed = static_cast<float>(t % 8 + 1);
        Fire(ctx, type_id::EF_Blast_01, speed, DegreesToAngle(static_cast<double>((t + 1) * 130)));
        Fire(ctx, type_id::EF_Blast_02, speed, DegreesToAngle(static_cast<double>((t + 1) * 290)));
        if (t % 10 == 0) ctx->PlaySE(sound::kBlast4);
        if (t >= 120) {
            Kill();
            for (int32_t i = 0; i < 64; ++i) {
                const float ringSpeed = static_cast<float>(i / 4 + 1);
                Fire(ctx, type_id::EF_Blast_01, ringSpeed, DegreesToAngle(static_cast<double>(x) + i + 1));
                Fire(ctx, type_id::EF_Blast_02, ringSpeed, DegreesToAngle(static_cast<double>(y) + i + 1));
            }
        }
        age += 1;
    }
    void Draw(ObjectController*) override { DrawCellCentred(gameSprites.enemy, x, y, 64, 64, 0, 192); }

private:
    void Fire(ObjectController* ctx, int32_t typeId, float speed, int32_t angleArgument) {
        ctx->FirePattern(typeId, x, y, speed, 0.0f, 1, false, angleArgument, 0, nullptr);
    }
};

// Rows of 16 small blasts sweeping the field from top to bottom in 16 frames.
class EF_Blast_Stage3Boss final : public RowEffect<type_id::EF_Blast_Stage3Boss> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        for (int32_t k = 0; k < 16; ++k) {
            CreateBlast(ctx, type_id::EF_Blast_01, static_cast<float>(8 + 16 * k), static_cast<float>(age * 16 + 8));
        }
        if (age % 3 == 0) ctx->PlaySE(sound::kBlast3);
        EndRun();
    }
};

// One small blast a frame on a ring whose radius and direction follow the age.
class EF_Blast_Stage5Boss final : public RowEffect<type_id::EF_Blast_Stage5Boss> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        const int64_t t = age;
        const double product = static_cast<double>(t * t) * static_cast<double>(x) * static_cast<double>(y);
        const float r = static_cast<float>((static_cast<int64_t>(product) % 256) / 8);
        const int32_t a = DegreesToAngle(static_cast<double>(t * 71));
        CreateBlast(ctx, type_id::EF_Blast_01, x + AngleCos(a) * r, y + AngleSin(a) * r);
        if (t % 3 == 0) ctx->PlaySE(sound::kBlast3);
        EndRun();
    }
};

// Eight downward fans of eight large blasts, then a ring of 36.
class EF_Blast_Stage7Boss final : public RowEffect<type_id::EF_Blast_Stage7Boss> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        const int32_t t = age;
        if (t % 8 == 0 && t <= 56) {
            ctx->PlaySE(sound::kBlast4);
            for (int32_t i = 0; i < 8; ++i) {
                const float wobble = AngleSin(DegreesToAngle(static_cast<double>((t + i) * 53)));
                Launch(ctx, 4.0f + 0.8f * static_cast<float>(i), 90.0f + 15.0f * wobble);
            }
        } else if (t == 60) {
            for (int32_t j = 0; j < 36; ++j) {
                const float wobble = AngleSin(DegreesToAngle(static_cast<double>(55 * j)));
                Launch(ctx, 1.0f + 0.2f * static_cast<float>(j), 90.0f + 360.0f * wobble);
            }
        } else if (t > 60) {
            Kill();
        }
        age += 1;
    }

private:
    void Launch(ObjectController* ctx, float speed, float degrees) {
        const int32_t b = DegreesToAngle(degrees);
        CreateBlast(ctx, type_id::EF_Blast_02, x, y, AngleCos(b) * speed, AngleSin(b) * speed);
    }
};

const ClassRegistration kBlastClasses{
    {type_id::EF_Blast_01, MakeObject<EF_Blast_01>},         {type_id::EF_Blast_02, MakeObject<EF_Blast_02>},
    {type_id::EF_ZanacBlast, MakeObject<EF_ZanacBlast>},       {type_id::EF_Blast_Invader, MakeObject<EF_Blast_Invader>},
    {type_id::EF_Blast_Stage1Boss, MakeObject<EF_Blast_Stage1Boss>}, {type_id::EF_Blast_Stage2Boss, MakeObject<EF_Blast_Stage2Boss>},
    {type_id::EF_Blast_Stage3Boss, MakeObject<EF_Blast_Stage3Boss>}, {type_id::EF_Blast_Stage5Boss, MakeObject<EF_Blast_Stage5Boss>},
    {type_id::EF_Blast_Stage7Boss, MakeObject<EF_Blast_Stage7Boss>}, {type_id::EF_OR_Blast, MakeObject<EF_OR_Blast>},
};

}  // namespace
