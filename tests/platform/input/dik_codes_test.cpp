#include <gtest/gtest.h>

#include <cstddef>
#include <set>

#include "platform/input/dik_codes.h"
#include "platform/input/input_source.h"

namespace {

TEST(DikCodes, KeysTheGameBindsHaveTheirCodes) {
    struct Row {
        SDL_Scancode scancode;
        uint8_t dik;
    };
    const Row rows[] = {
        {SDL_SCANCODE_Z, 0x2C},    {SDL_SCANCODE_X, 0x2D},     {SDL_SCANCODE_C, 0x2E},    {SDL_SCANCODE_V, 0x2F},
        {SDL_SCANCODE_A, 0x1E},    {SDL_SCANCODE_S, 0x1F},     {SDL_SCANCODE_D, 0x20},    {SDL_SCANCODE_F, 0x21},
        {SDL_SCANCODE_UP, 0xC8},   {SDL_SCANCODE_DOWN, 0xD0},  {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD},
        {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_KP_ENTER, 0x9C},
        {SDL_SCANCODE_UNKNOWN, 0}, {SDL_SCANCODE_AC_BACK, 0},
    };
    for (const Row& row : rows) EXPECT_EQ(platform::DikFromScancode(row.scancode), row.dik) << row.scancode;
    EXPECT_EQ(platform::DikFromScancode(static_cast<SDL_Scancode>(-1)), 0);
    EXPECT_EQ(platform::DikFromScancode(SDL_NUM_SCANCODES), 0);
}

TEST(DikCodes, NoTwoKeysShareACode) {
    std::set<uint8_t> seen;
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
        uint8_t dik = platform::DikFromScancode(static_cast<SDL_Scancode>(sc));
        if (dik == 0) continue;
        EXPECT_TRUE(seen.insert(dik).second) << "code " << int{dik} << " twice";
    }
    EXPECT_GT(seen.size(), 100u);
}

TEST(JoystickState, KeepsTheFixedLayout) {
    EXPECT_EQ(offsetof(platform::JoystickState, velocity), 24u);
    EXPECT_EQ(offsetof(platform::JoystickState, sliders), 96u);
    EXPECT_EQ(offsetof(platform::JoystickState, povs), 104u);
    EXPECT_EQ(offsetof(platform::JoystickState, buttons), 120u);
}

}  // namespace
