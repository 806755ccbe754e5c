// The base of the effects: non-colliding objects (blasts, labels, weapon-support objects,
// background controllers, demo texts) that share one movement with an off-field rule by their
// own size. Each class takes its size and life from its row of the effect class table.
#pragma once

#include <cstdint>

#include "game/world/object.h"
#include "game/world/type_table.h"

constexpr int32_t kFirstEffectId = type_id::EF_Blast_01;
constexpr int32_t kLastEffectId = type_id::EF_ScorePop;
constexpr int kEffectRowCount = kLastEffectId - kFirstEffectId + 1;

struct EffectRow {
    int16_t id;
    int16_t width, height;  // the margins of the off-field rule; 0 none
    int16_t life;           // the age at which the class's Run kills it; -1 when its own rule decides
};

extern const EffectRow kEffectTable[kEffectRowCount];  // row i is type id 272 + i

// The row of an effect type id, or null outside 272-336.
const EffectRow* FindEffectRow(int32_t typeId);

class Effect : public Object {
public:
    // The movement mode (0 linear with acceleration, 1 polar, 2 linear keeping the angle, others
    // still), then Vanish when the centre lies beyond the field by more than the size.
    void Move(ObjectController* ctx) override;

protected:
    Effect() = default;
    // Init, then x, y, velocity and acceleration from the six arguments in order and the size of
    // the table row.
    void Setup(int32_t typeId, float a, float b, float c, float d, float e, float f);
    // Kills the effect when its age has reached the row's life (never for -1).
    void KillAtRowLife(int32_t typeId);
};

// An effect class of one table row; EndRun is the usual end of its Run: the row's life test,
// then age + 1.
template <int32_t Id>
class RowEffect : public Effect {
public:
    RowEffect(float a, float b, float c, float d, float e, float f) { Setup(Id, a, b, c, d, e, f); }

protected:
    void EndRun() {
        KillAtRowLife(Id);
        age += 1;
    }
};
