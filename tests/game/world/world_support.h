// Test objects and a fixture for the game world: a probe object that records what the world
// does to it, and registration of probe classes under type ids for the length of a test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "harness/fakes.h"

namespace world_test {

// Everything probes saw, in order, as "name:event".
std::vector<std::string>& Events();

class Probe : public Object {
public:
    Probe(float px = 0, float py = 0, float a = 0, float b = 0, float c = 0, float d = 0);
    void Run(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;
    void Detach() override;
    void Damage(ObjectController* ctx, float amount) override;
    void OnMessage(const Message& message) override;
    void PowerUp(ObjectController* ctx, int32_t count) override;
    int32_t GetSide() override { return reportedSide; }

    std::string name;
    std::vector<Message> messages;
    std::vector<float> damage;
    int32_t powerUps = 0;
    int32_t reportedSide = 0;
    // Made by OnKilled: a type id to create through the world, or -1.
    int32_t spawnOnKilled = -1;
    // Made by Run: a type id to create through the world, or -1.
    int32_t spawnOnRun = -1;
    // Called by Damage after it is recorded, when set.
    std::function<void(Probe&)> onDamage;
    float args[4] = {};
};

// A world with the platform edge faked, its own controller, and probe classes registered under
// the ids a test asks for (withdrawn again afterwards).
class WorldTest : public ::testing::Test {
protected:
    WorldTest();
    ~WorldTest() override;
    void Register(std::initializer_list<int32_t> ids);
    void RegisterCharacters(std::initializer_list<int32_t> codes);
    // Adds a probe of the kind straight to the lists.
    Probe* Add(int32_t kind, const std::string& name = "", float x = 0, float y = 0);
    size_t ObjectCount() const;

    testing_support::FakePlatform platform;
    ObjectController world;

private:
    std::vector<int32_t> ids_;
    std::vector<int32_t> codes_;
};

Probe* AsProbe(Object* o);

}  // namespace world_test
