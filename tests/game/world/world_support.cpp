#include "world_support.h"

namespace world_test {

std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

Probe::Probe(float px, float py, float a, float b, float c, float d) {
    Init();
    x = px;
    y = py;
    vx = a;
    vy = b;
    ax = c;
    ay = d;
    args[0] = a;
    args[1] = b;
    args[2] = c;
    args[3] = d;
}

void Probe::Run(ObjectController* ctx) {
    Object::Run(ctx);
    Events().push_back(name + ":run");
    if (spawnOnRun >= 0) ctx->CreateObject(spawnOnRun, x, y, 0, 0, 0, 0, nullptr);
}

void Probe::OnKilled(ObjectController* ctx) {
    Events().push_back(name + ":killed");
    if (spawnOnKilled >= 0) ctx->CreateObject(spawnOnKilled, x, y, 0, 0, 0, 0, nullptr);
}

void Probe::Detach() {
    Events().push_back(name + ":detach");
    Object::Detach();
}

void Probe::Damage(ObjectController* ctx, float amount) {
    damage.push_back(amount);
    Object::Damage(ctx, amount);
    if (onDamage) onDamage(*this);
}

void Probe::OnMessage(const Message& message) { messages.push_back(message); }

void Probe::PowerUp(ObjectController*, int32_t count) { powerUps += count; }

Probe* AsProbe(Object* o) { return dynamic_cast<Probe*>(o); }

WorldTest::WorldTest() { Events().clear(); }

WorldTest::~WorldTest() {
    for (int32_t id : ids_) RegisterObjectClass(id, nullptr);
    for (int32_t code : codes_) RegisterCharacterClass(code, nullptr);
    Events().clear();
}

void WorldTest::Register(std::initializer_list<int32_t> ids) {
    for (int32_t id : ids) {
        ASSERT_TRUE(RegisterObjectClass(id, MakeObject<Probe>)) << id;
        ids_.push_back(id);
    }
}

namespace {
Object* MakeCharacterProbe(float x, float y) { return new Probe(x, y); }
}  // namespace

void WorldTest::RegisterCharacters(std::initializer_list<int32_t> codes) {
    for (int32_t code : codes) {
        ASSERT_TRUE(RegisterCharacterClass(code, MakeCharacterProbe)) << code;
        codes_.push_back(code);
    }
}

Probe* WorldTest::Add(int32_t kind, const std::string& name, float x, float y) {
    Probe* p = new Probe(x, y);
    p->name = name;
    p->self = p;
    world.AddObject(p, kind);
    return p;
}

size_t WorldTest::ObjectCount() const {
    return world.enemies.size() + world.enemyBullets.size() + world.players.size() + world.shots.size() +
           world.others.size() + world.items.size();
}

}  // namespace world_test
