// Short notices over the playfield (type ids 299-301, 304, 331, 332): the "UNLOCK" burst a
// destroyed mid-boss leaves with its wriggling traces, the warning mark, the bell's bonus
// picture and the secret-unlock panel of the result.
#include "framework/core/angle.h"
#include "game/enemies/effect.h"
#include "game/enemies/family_support.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

constexpr float kTextDepth = 32767.0f;

// "UNLOCK" with the two halves of the lock flying apart, and eight traces fanning out.
class EF_UnLock final : public RowEffect<type_id::EF_UnLock> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        if (age == 0) {
            for (int32_t k = 0; k < 8; ++k) ctx->FirePattern(type_id::EF_UnLock_Trace, x, y, 8.0f, 0.0f, 1, false, 45 * k, 0, nullptr);
        }
        EndRun();
    }
    void Draw(ObjectController*) override {
        DrawText(L"UNLOCK", x - 28.0f, y - 4.0f, kTextDepth, -1);
        if (age >= 10) return;
        const float apart = 6.0f * static_cast<float>(age);
        for (int32_t half = 0; half < 2; ++half) {
            DrawCellAt(gameSprites.enemy, x - 8.0f, y - 8.0f + (half == 0 ? apart : -apart), 16.0f, 16.0f,
                       cell::e_unlock_halves.Frame(half).Source());
        }
    }
};

// Wriggles up to about 60 degrees about its heading at speed 12, leaving two dots a frame.
class EF_UnLock_Trace final : public RowEffect<type_id::EF_UnLock_Trace> {
public:
    EF_UnLock_Trace(float a, float b, float c, float d, float e, float f) : RowEffect(a, b, c, d, e, f) {
        moveMode = 1;
        speed = 12.0f;
        angle = baseAngle = static_cast<int32_t>(AngleAtan2(c, d));
    }
    void Run(ObjectController* ctx) override {
        angle = baseAngle + static_cast<int32_t>(AngleSin(5460 * age) * 60.0f * 182.0f);
        ctx->CreateObject(type_id::EF_UnLock_Trace2, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        ctx->CreateObject(type_id::EF_UnLock_Trace2, x + AngleCos(angle) * speed / 2.0f, y + AngleSin(angle) * speed / 2.0f, 0.0f, 0.0f,
                          0.0f, 0.0f, nullptr);
        EndRun();
    }
    int32_t baseAngle;
};

class EF_UnLock_Trace2 final : public RowEffect<type_id::EF_UnLock_Trace2> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override { EndRun(); }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.effect2, x, y, cell::item_streaks_diagonal.Shifted(((age - 1) / 2) * 8, 0));
    }
};

// Blinks every frame; it stops where it lands exactly on y 8.
class EF_ExclamationMark final : public RowEffect<type_id::EF_ExclamationMark> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override {
        if (y == 8.0f) vy = 0.0f;
        EndRun();
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.effect2, x, y, cell::warning_mark.Frame(age % 2));
    }
};

// The bell's bonus picture: rises for ten frames, then stays a second.
class EF_5963 final : public RowEffect<type_id::EF_5963> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override {
        if (age == 10) vy = 0.0f;
        EndRun();
    }
    void Draw(ObjectController*) override {
        DrawCellAt(gameSprites.effect2, x - 16.0f, y - 8.0f, 32.0f, 16.0f, cell::bell_bonus.Source());
    }
};

// The player's unlock counters, each line shown only when its count is positive: two packed in
// the score (high x 10000 + low), the third in the angle field.
class EF_SecretUnlock final : public RowEffect<type_id::EF_SecretUnlock> {
public:
    EF_SecretUnlock(float a, float b, float c, float d, float e, float f) : RowEffect(128, b, c, d, e, f) {
        score = static_cast<int32_t>(a);
        hp = 100.0f;
    }
    void Run(ObjectController*) override { EndRun(); }
    void Draw(ObjectController*) override {
        Line(L"ARRESTED DIET MEMBER", 88.0f, score % 10000);
        Line(L"NEW AVENGER", 112.0f, score / 10000);
        Line(L"SECRET AVENGER", 136.0f, angle);
    }

private:
    static void Line(const wchar_t* text, float top, int32_t count) {
        if (count <= 0) return;
        DrawText(text, 32.0f, top, kTextDepth, -1);
        DrawNumber(224.0f, top + 8.0f, count, -1);
    }
};

const ClassRegistration kNoticeClasses{
    {type_id::EF_UnLock, MakeObject<EF_UnLock>},          {type_id::EF_UnLock_Trace, MakeObject<EF_UnLock_Trace>}, {type_id::EF_UnLock_Trace2, MakeObject<EF_UnLock_Trace2>},
    {type_id::EF_ExclamationMark, MakeObject<EF_ExclamationMark>}, {type_id::EF_5963, MakeObject<EF_5963>},         {type_id::EF_SecretUnlock, MakeObject<EF_SecretUnlock>},
};

}  // namespace
