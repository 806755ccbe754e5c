#include "player_support.h"

#include <typeinfo>

#include "game/world/factory.h"
#include "game/world/type_table.h"

namespace player_test {

PlayerTest::PlayerTest() {
    Register({type_id::EF_Blast_01, type_id::Script});
    world.gameRunning = true;
    party = dynamic_cast<PCController*>(world.CreatePC(98));
}

void PlayerTest::Hold(Button b, bool down) {
    if (down) held_.insert(b);
    else held_.erase(b);
}

void PlayerTest::Step(int frames) {
    for (int f = 0; f < frames; ++f) {
        for (int k = 0; k < 8; ++k) world.input.game[k] = held_.count(k) != 0 ? world.input.game[k] + 1 : 0;
        world.RunAll();
        world.MoveAll();
        world.CollideAll();
        world.SweepObjects();
        shotsBefore_ = shotsAfter_;
        shotsAfter_ = std::set<Object*>(world.shots.begin(), world.shots.end());
    }
}

int PlayerTest::NewShots(int32_t typeId) const {
    int n = 0;
    for (Object* s : shotsAfter_) n += shotsBefore_.count(s) == 0 && MadeBy(s, typeId);
    return n;
}

world_test::Probe* PlayerTest::MakeScene() {
    return world_test::AsProbe(world.CreateObject(type_id::Script, 128, 0, 0, 0, 0, 0, nullptr));
}

bool PlayerTest::MadeBy(Object* o, int32_t typeId) {
    Object* sample = FindObjectConstructor(typeId)(0, 0, 0, 0, 0, 0);
    bool same = typeid(*sample) == typeid(*o);
    delete sample;
    return same;
}

int PlayerTest::CountShots(int32_t typeId) const {
    int n = 0;
    for (Object* s : world.shots) n += s->IsAlive() && MadeBy(s, typeId);
    return n;
}

int PlayerTest::CountBlasts() const {
    int n = 0;
    for (Object* o : world.others) n += o->kind == kTypeTable[272].kind && o->IsAlive();
    return n;
}

}  // namespace player_test
