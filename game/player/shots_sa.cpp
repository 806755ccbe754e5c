#include "game/player/shots_sa.h"

#include "framework/app/zeth.h"
#include "framework/core/angle.h"
#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

class S_SASpriteShot : public ShotOf<type_id::S_SASpriteShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Grows and shrinks its hit box over 15 frames; kills by it drop power items.
class S_SASpriteBlast : public ShotOf<type_id::S_SASpriteBlast> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

class S_SALaserTail : public ShotOf<type_id::S_SALaserTail> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;  // killed off the field
    void Run(ObjectController* ctx) override;
};

constexpr const char* kBadStateText = "不正な角度が渡されたよ＠サーチレーザー";

// Path states 0-11 by direction: 0 right, 1 down, 2 left, 3 up.
constexpr int32_t kStateDirection[12] = {0, 1, 2, 3, 1, 2, 3, 0, 0, 1, 2, 3};
constexpr float kStepX[4] = {16.0f, 0.0f, -16.0f, 0.0f};
constexpr float kStepY[4] = {0.0f, 16.0f, 0.0f, -16.0f};

// The state a head turns to, by its direction (rows) and the target's (columns); -1 no turn.
constexpr int32_t kTurn[4][4] = {
    {-1, 9, -1, 6},   // moving right: down 9, up 6
    {7, -1, 10, -1},  // moving down: right 7, left 10
    {-1, 4, -1, 11},  // moving left: down 4, up 11
    {8, -1, 5, -1},   // moving up: right 8, left 5
};

// The zig-zags of patterns 4 and 5 from age 4, a state per frame of their six-frame period.
constexpr int32_t kZigZag[2][6] = {{8, 0, 6, 5, 2, 11}, {5, 2, 11, 8, 0, 6}};

}  // namespace

int32_t LaserStateDirection(int32_t state) {
    int32_t s = state % 16;
    return s >= 0 && s < 12 ? kStateDirection[s] : -1;
}

void S_SASpriteShot::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age < 2 && score == 1) hitHalfWidth = 8;
    age += 1;
}

void S_SASpriteShot::Draw(ObjectController* ctx) { DrawCell(ctx, cell::sa_shot.Source()); }

void S_SASprite::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (firing > 0 && cooldown == 0) {
        for (Object*& shot : children) {
            if (shot != nullptr) continue;
            shot = ctx->CreateObject(type_id::S_SASpriteShot, x, y, 0.0f, -8.0f, 0.0f, 0.0f, self);
            if (shot != nullptr) shot->SetScore(score);
            cooldown = 4;
            break;
        }
    }
    if (cooldown > 0) cooldown -= 1;
    static constexpr struct {
        float below;
        int32_t grade;
        int16_t halfWidth, halfHeight;
    } kGrades[] = {{64.0f, 3, 3, 5}, {128.0f, 2, 4, 6}, {192.0f, 1, 5, 7}};
    grade = 0;
    hitHalfWidth = 6;
    hitHalfHeight = 8;
    for (const auto& g : kGrades) {
        if (hp < g.below) {
            grade = g.grade;
            hitHalfWidth = g.halfWidth;
            hitHalfHeight = g.halfHeight;
            break;
        }
    }
    age += 1;
}

void S_SASprite::ForgetObject(Object* gone) {
    for (Object*& shot : children) {
        if (shot == gone) {
            shot = nullptr;
            break;
        }
    }
    if (gone == owner) owner = nullptr;
}

void S_SASprite::OnMessage(const Message& message) { firing = message.Code(); }

void S_SASprite::PowerUp(ObjectController*, int32_t) {
    AddHp(32.0f);
    if (score == 0 && hp > 192.0f) score = 1;
}

void S_SASprite::OnKilled(ObjectController* ctx) {
    Object* blast = ctx->CreateObject(type_id::S_SASpriteBlast, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    if (blast != nullptr) blast->SetSide(side);
}

void S_SASprite::Draw(ObjectController* ctx) {
    // The variant is the angle field; every fourth frame pair shows the cell mirrored. Grades 0
    // and 1 are the large frames, 2 and 3 the small ones; other variants read the columns beyond.
    bool flip = (age / 4) % 2 == 1;
    const SheetCell look = grade > 1 ? cell::sa_sprite_small.Shifted(8 * (6 * angle + grade - 2), 0)
                                     : cell::sa_sprite.Shifted(16 * (3 * angle + grade), 0);
    DrawCell(ctx, look.Source(flip));
}

void S_SASpriteBlast::Run(ObjectController*) {
    frame = age < 8 ? age : 14 - age;
    if (age >= 15) Kill();
    hitHalfWidth = hitHalfHeight = static_cast<int16_t>(2 * frame + 6);
    age += 1;
}

void S_SASpriteBlast::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    float r = static_cast<float>(2 * frame);
    for (int32_t k = 0; k < 8; ++k) {
        int32_t a = k * 8192;
        DrawCellAt(ctx, x + r * AngleCos(a), y + r * AngleSin(a), 8, 8, cell::sa_spark.Source(), colour);
    }
}

void S_SALaserHead::Run(ObjectController* ctx) {
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        if (angle >= 16) searching = 1;
        tailValue = angle % 16 - 2 * searching;
    } else {
        bool anyTail = false;
        for (Object* tail : children) anyTail |= tail != nullptr && tail->IsAlive();
        if (!anyTail) Kill();
    }
    if (owner != nullptr) {
        float dx = owner->GetX() - lastOwnerX, dy = owner->GetY() - lastOwnerY;
        x += dx;
        y += dy;
        for (Object* tail : children) {
            if (tail == nullptr || !tail->IsAlive()) continue;
            tail->x += dx;
            tail->y += dy;
        }
        lastOwnerX = owner->GetX();
        lastOwnerY = owner->GetY();
    }
    if (searching != 0 && age > 3) Search(ctx);
    else FollowPattern();
    Object*& slot = children[age % 8];
    if (slot == nullptr) {
        slot = ctx->CreateObject(type_id::S_SALaserTail, x, y, 0.0f, 0.0f, 0.0f, 0.0f, self);
        if (slot != nullptr) {
            slot->SetScore(tailValue);
            slot->angle = 16 * searching + angle % 16;
        }
    }
    int32_t direction = LaserStateDirection(angle);
    if (direction >= 0) {
        vx = kStepX[direction];
        vy = kStepY[direction];
    } else if (!reportedBadState) {
        // Shown once per head: a box every frame would stop the game.
        reportedBadState = true;
        Zeth::MessageBox(0, "test", "%s", kBadStateText);
    }
    age += 1;
}

void S_SALaserHead::Search(ObjectController* ctx) {
    int32_t current = LaserStateDirection(angle);
    if (current < 0) return;
    Object* enemy = ctx->FindEnemyOnAxes(x, y, 8.0f, current != 0, current != 1, current != 2, current != 3);
    if (enemy == nullptr) return;
    float ex = enemy->GetX(), ey = enemy->GetY();
    int32_t toward = ex > x + 8.0f ? 0 : ex < x - 8.0f ? 2 : ey > y + 8.0f ? 1 : ey < y - 8.0f ? 3 : -1;
    if (toward < 0 || toward == current) return;
    int32_t turned = kTurn[current][toward];
    if (turned >= 0) angle = 16 * searching + turned;
}

void S_SALaserHead::FollowPattern() {
    int32_t state = -1;
    switch (score % 16) {
        case 0:
            state = 3;
            break;
        case 1:
            state = 1;
            break;
        case 2:
            state = age == 0 ? 2 : (age == 1 ? 11 : 3);
            break;
        case 3:
            state = age == 0 ? 0 : (age == 1 ? 6 : 3);
            break;
        case 4:
        case 5: {
            int pattern = score % 16 - 4;
            if (age == 0) state = pattern == 0 ? 2 : 0;
            else if (age == 3) state = pattern == 0 ? 11 : 6;
            else if (age >= 4) state = kZigZag[pattern][(age - 4) % 6];
            break;
        }
        default:
            break;
    }
    if (state >= 0) angle = 16 * searching + state;
}

void S_SALaserHead::Move(ObjectController*) { StepMovement(); }

void S_SALaserHead::ForgetObject(Object* gone) {
    for (Object*& tail : children) {
        if (tail == gone) {
            tail = nullptr;
            break;
        }
    }
    if (gone == owner) owner = nullptr;
}

void S_SALaserHead::Draw(ObjectController* ctx) { DrawCell(ctx, cell::sa_laser_head.Source()); }

void S_SALaserTail::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age >= score - 1) Kill();
    age += 1;
}

void S_SALaserTail::Move(ObjectController*) {
    float w = static_cast<float>(width), h = static_cast<float>(height);
    if (x < -w || x > 256.0f + w || y < -h || y > 240.0f + h) Kill();
}

void S_SALaserTail::Draw(ObjectController* ctx) {
    int32_t state = angle % 16;
    int32_t piece = state >= 4 ? 2 : state % 2;  // across, down, or a corner
    DrawCell(ctx, cell::sa_laser_tail.Frame(piece).Source());
}

static ClassRegistration saShots({
    ClassOf<S_SASpriteShot>(),
    ClassOf<S_SASprite>(),
    ClassOf<S_SASpriteBlast>(),
    ClassOf<S_SALaserHead>(),
    ClassOf<S_SALaserTail>(),
});
