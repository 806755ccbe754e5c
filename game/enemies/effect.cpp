#include "game/enemies/effect.h"

#include "game/enemies/family_support.h"

void Effect::Setup(int32_t typeId, float a, float b, float c, float d, float e, float f) {
    Init();
    x = a;
    y = b;
    vx = c;
    vy = d;
    ax = e;
    ay = f;
    const EffectRow& row = *FindEffectRow(typeId);
    width = row.width;
    height = row.height;
}

void Effect::KillAtRowLife(int32_t typeId) {
    const int32_t life = FindEffectRow(typeId)->life;
    if (life >= 0 && age >= life) Kill();
}

void Effect::Move(ObjectController*) {
    if (moveMode >= 0 && moveMode <= 2) StepMovement();
    if (OutsideFieldBySize(*this)) Vanish();
}
