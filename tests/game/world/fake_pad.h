// Drives the world's buttons through the real input service with a fake keyboard: keys are set,
// then one frame of the service reads them into pad 0 as the framework's frame step would.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "framework/input/input.h"
#include "game/world/object_controller.h"
#include "platform/input/fake_input.h"

namespace world_test {

constexpr uint8_t kKeyUp = 0xC8;
constexpr uint8_t kKeyZ = 0x2C;
constexpr uint8_t kKeyX = 0x2D;
constexpr uint8_t kKeyV = 0x2F;  // pause

class FakePad {
public:
    explicit FakePad(ObjectController& world) {
        platform::SetInputSource(&source);
        EXPECT_TRUE(ZethInput::Initialize());
        world.input.Init(&world);
    }
    ~FakePad() {
        ZethInput::Finalize();
        platform::SetInputSource(nullptr);
    }
    FakePad(const FakePad&) = delete;
    FakePad& operator=(const FakePad&) = delete;

    // Sets the keys' state and lets the input service read it once.
    void Hold(const std::vector<uint8_t>& keys, bool down = true) {
        for (uint8_t key : keys) source.SetKey(key, down);
        ZethInput::Refresh();
        ZethInput::UpdatePads();
    }
    void ReleaseAll() {
        source.keys.fill(0);
        ZethInput::Refresh();
        ZethInput::UpdatePads();
    }

    platform::FakeInputSource source;
};

}  // namespace world_test
