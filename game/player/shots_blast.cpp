#include "game/player/shots_blast.h"

#include "game/world/factory.h"

void S_PCBlast::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age >= 5) Kill();
    age += 1;
}

void S_PCBlast::Draw(ObjectController* ctx) {
    // One frame behind the age: the strip starts one cell left of u 40.
    int32_t a = age - 1;
    DrawCellAt(ctx, x, y, 8, 8, static_cast<float>(40 + 8 * (a % 4)), static_cast<float>(16 + 8 * (a / 4)), 8, 8,
               0xFFFFFFFFu);
}

static ClassRegistration blastShots({
    {163, MakeObject<S_PCBlast>},
});
