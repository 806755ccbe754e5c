// The ghost stage's own effects (type ids 305-307): a 16-step drum sequencer that leaves a
// coloured marker per drum sound, the markers themselves, and the boss of the ghost stage: a
// formation of 55 invaders that marches sideways, drops at the edges and speeds up as it thins.
#include <algorithm>

#include "game/enemies/effect.h"
#include "game/enemies/family_enemy.h"
#include "game/enemies/family_support.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

// Colour tables are indexed by a value taken modulo 8, negative values too.
int32_t Mod8(int32_t value) { return ((value % 8) + 8) % 8; }

constexpr uint32_t kMarkerColours[8] = {0xFFB01030u, 0xFFA03000u, 0xFF784000u, 0xFF485800u,
                                        0xFF306040u, 0xFF305080u, 0xFF6010A0u, 0xFF982078u};
constexpr uint32_t kInvaderColours[8] = {0xFFFF60B0u, 0xFFFF7830u, 0xFFFFA000u, 0xFFE8C820u,
                                         0xFF70E090u, 0xFF60D0E0u, 0xFFA070FFu, 0xFFF060FFu};

// Step values are drum sets: 1 the closed and 2 the open hi-hat on the upper line, 4 the bass
// drum and 8 the snare on the lower line.
constexpr int8_t kBeatPatterns[8][16] = {
    {4, 1, 4, 2, 4, 1, 4, 2, 4, 1, 4, 2, 4, 1, 4, 2}, {4, 1, 4, 2, 4, 1, 4, 6, 0, 1, 4, 2, 4, 1, 4, 2},
    {5, 1, 4, 6, 0, 1, 4, 2, 5, 1, 4, 6, 0, 1, 4, 2}, {5, 1, 4, 6, 1, 5, 4, 2, 5, 1, 4, 6, 1, 5, 4, 2},
    {4, 1, 8, 2, 4, 1, 8, 2, 4, 1, 8, 2, 4, 1, 8, 2}, {4, 1, 8, 2, 4, 1, 8, 2, 4, 1, 8, 2, 4, 1, 8, 2},
    {5, 1, 8, 6, 0, 1, 8, 2, 5, 1, 8, 6, 0, 1, 8, 2}, {5, 1, 8, 6, 1, 5, 8, 2, 5, 1, 8, 6, 1, 5, 8, 2},
};
struct Drum {
    int8_t bit;
    int8_t sound;
    int8_t line;  // marker offset below the beat's y
};
constexpr Drum kDrums[4] = {{1, sound::kGhostHiHatClosed, 4},
                            {2, sound::kGhostHiHatOpen, 4},
                            {4, sound::kGhostBass, 12},
                            {8, sound::kGhostSnare, 12}};

// A marker: six frames of three, in its colour.
class EF_GhostRythm final : public RowEffect<type_id::EF_GhostRythm> {
public:
    EF_GhostRythm(float a, float b, float c, float, float, float) : RowEffect(a, b, 0, 0, 0, 0) {
        angle = static_cast<int32_t>(c);
    }
    void Run(ObjectController*) override {
        if (age > 2 && age % 3 == 0) frame += 1;
        if (frame >= 6) Kill();
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.effect4, x, y, cell::ghost_beats.Frame(frame), kMarkerColours[Mod8(angle)]);
    }
    int32_t frame = 0;
};

// Sixteen steps, one every 10 frames; each drum sounds and leaves a marker, the markers of a
// step 8 right of the last.
class EF_GhostBeat final : public RowEffect<type_id::EF_GhostBeat> {
public:
    EF_GhostBeat(float a, float b, float c, float d, float, float)
        : RowEffect(a, b, 0, 0, 0, 0), pattern(static_cast<int32_t>(c)) {
        angle = static_cast<int32_t>(d);
    }
    void Run(ObjectController* ctx) override {
        if (age == 0) {
            const bool known = pattern >= 0 && pattern < 8;
            for (int i = 0; i < 16; ++i) steps[i] = known ? kBeatPatterns[pattern][i] : 1;
        }
        if (beatCounter % 10 == 0 && beatCounter >= 0 && beatCounter < 160) Play(ctx, steps[(beatCounter / 10) % 16]);
        if (age >= 160) Kill();
        age += 1;
        beatCounter += 1;
    }
    int32_t steps[16] = {};
    int32_t pattern;
    int32_t beatCounter = 0;

private:
    void Play(ObjectController* ctx, int32_t value) {
        const float mx = x + 0.8f * static_cast<float>(age) + 4.0f;
        for (const Drum& drum : kDrums) {
            if ((value & drum.bit) == 0) continue;
            ctx->PlaySE(drum.sound);
            ctx->CreateObject(type_id::EF_GhostRythm, mx, y + drum.line, static_cast<float>(angle), 0.0f, 0.0f, 0.0f, nullptr);
        }
    }
};

// The ghost stage's boss: 55 invaders in 11 columns and 5 rows, placed by the formation's own
// position; it tells the scene when they are all gone (code 21) or reach the bottom (code 24).
class EF_GhostBossBase final : public RowEffect<type_id::EF_GhostBossBase> {
public:
    static constexpr int kInvaders = 55;
    static constexpr int kColumns = 11;
    EF_GhostBossBase(float a, float b, float c, float, float, float)
        : RowEffect(a, b, 0, 0, 0, 0), lastX(static_cast<int32_t>(a)), lastY(static_cast<int32_t>(b)) {
        angle = static_cast<int32_t>(c);
    }
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override {
        const int32_t t = age;
        if (t < kInvaders) Spawn(ctx, t);
        const Formation f = Place();
        if (f.alive == 0 && t > kInvaders) {
            Kill();
            ctx->BombAll(1024, true);
            TellScene(ctx, Msg(3, stage_message::kGhostBossDefeated, ctx, lastX, lastY));
            age += 1;
            return;  // a defeated formation marches no more
        }
        if (t % Interval(t, f.alive) == 0) March(ctx, f);
        age += 1;
    }
    void ForgetObject(Object* gone) override {
        if (gone == nullptr) return;
        for (Object*& invader : invaders) {
            if (invader != gone) continue;
            lastX = static_cast<int32_t>(gone->GetX());
            lastY = static_cast<int32_t>(gone->GetY());
            invader = nullptr;
        }
        if (owner == gone) owner = nullptr;
    }
    // The invaders forget it; its owner, which may go in the same sweep, is not told.
    void Detach() override {
        for (Object* invader : invaders) {
            if (invader != nullptr) invader->ForgetObject(this);
        }
    }

    Object* invaders[kInvaders] = {};
    int32_t marchRight = 1;
    int32_t lastX, lastY;

private:
    struct Formation {
        int32_t alive = 0;
        int32_t minColumn = kColumns - 1, maxColumn = 0, maxRow = 0;
    };
    // The top row is level 3, the next two rows level 2, the bottom two level 1; their colours
    // are 4, 5 and 6 past the formation's colour offset.
    void Spawn(ObjectController* ctx, int32_t t) {
        Object* invader = ctx->CreateObject(type_id::E_GhostZako5_W, x, y, 0.0f, 0.0f, 0.0f, 0.0f, this);
        invaders[t] = invader;
        if (invader == nullptr) return;
        invader->SetInactive(inactive);
        const int32_t level = t < 11 ? 3 : t < 33 ? 2 : 1;
        invader->angle = level;
        invader->OnMessage(Msg(3, enemy_message::kColour, static_cast<int32_t>(kInvaderColours[Mod8(angle + 7 - level)])));
    }
    Formation Place() {
        Formation f;
        for (int i = 0; i < kInvaders; ++i) {
            Object* invader = invaders[i];
            if (invader == nullptr) continue;
            invader->x = x + 4.0f + static_cast<float>((i % kColumns) * 20);
            invader->y = y + 4.0f + static_cast<float>((i / kColumns) * 16);
            if (!invader->IsAlive()) continue;
            f.alive += 1;
            f.minColumn = std::min(f.minColumn, i % kColumns);
            f.maxColumn = std::max(f.maxColumn, i % kColumns);
            f.maxRow = std::max(f.maxRow, i / kColumns);
        }
        return f;
    }
    // Slow while it spawns, then quicker the fewer are left.
    static int32_t Interval(int32_t t, int32_t alive) {
        if (t <= kInvaders) return 80;
        if (alive < 6) return 5;
        if (alive < 11) return 10;
        if (alive < 22) return 20;
        if (alive < 33) return 30;
        if (alive < 45) return 40;
        return 80;
    }
    void March(ObjectController* ctx, const Formation& f) {
        if (marchRight == 0) {
            if (x > 8.0f - 20.0f * static_cast<float>(f.minColumn)) {
                x -= 8.0f;
            } else {
                marchRight = 1;
                y += 16.0f;
            }
        } else if (static_cast<float>((12 - f.maxColumn) * 20) > x) {
            x += 8.0f;
        } else {
            marchRight = 0;
            y += 16.0f;
        }
        if (y + 16.0f * static_cast<float>(f.maxRow) >= 240.0f) {
            Kill();
            TellScene(ctx, Msg(2, stage_message::kGhostTimerStart));
        }
    }
};

const ClassRegistration kGhostStageClasses{
    {type_id::EF_GhostRythm, MakeObject<EF_GhostRythm>},
    {type_id::EF_GhostBeat, MakeObject<EF_GhostBeat>},
    {type_id::EF_GhostBossBase, MakeObject<EF_GhostBossBase>},
};

}  // namespace
