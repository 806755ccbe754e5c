// Effect classes whose own behaviour is not built yet, one named class per type id: each takes
// its row and the shared movement (or none), draws nothing and dies at its row's life. A class
// leaves these lists when its own behaviour is written.
#include "game/enemies/effect.h"
#include "game/world/factory.h"

namespace {

class PlaceholderEffect : public Effect {
public:
    PlaceholderEffect(int32_t typeId, float a, float b, float c, float d, float e, float f) : typeId_(typeId) {
        Setup(typeId, a, b, c, d, e, f);
    }
    void Run(ObjectController*) override {
        KillAtRowLife(typeId_);
        age += 1;
    }

private:
    int32_t typeId_;
};

// Effects that never move by themselves.
class StillPlaceholderEffect : public PlaceholderEffect {
public:
    using PlaceholderEffect::PlaceholderEffect;
    void Move(ObjectController*) override {}
};

}  // namespace

// id, class
#define PLACEHOLDER_EFFECTS(X) X(334, EF_Demo_Message)

// Effects whose class keeps no movement (or will have a movement of its own).
#define PLACEHOLDER_STILL_EFFECTS(X) X(333, EF_Demo_Words)

#define DECLARE_CLASS(Base, id, Name)                                                  \
    class Name final : public Base {                                                  \
    public:                                                                           \
        Name(float x, float y, float a, float b, float c, float d)                     \
            : Base(id, x, y, a, b, c, d) {}                                           \
    };
#define DECLARE_EFFECT(id, Name) DECLARE_CLASS(PlaceholderEffect, id, Name)
#define DECLARE_STILL_EFFECT(id, Name) DECLARE_CLASS(StillPlaceholderEffect, id, Name)
#define REGISTER_CLASS(id, Name) {id, MakeObject<Name>},

namespace {

PLACEHOLDER_EFFECTS(DECLARE_EFFECT)
PLACEHOLDER_STILL_EFFECTS(DECLARE_STILL_EFFECT)

const ClassRegistration kPlaceholderClasses{PLACEHOLDER_EFFECTS(REGISTER_CLASS) PLACEHOLDER_STILL_EFFECTS(REGISTER_CLASS)};

}  // namespace
