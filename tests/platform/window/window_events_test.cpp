// The SDL window on SDL's dummy video driver: the platform's events, pushed into SDL's queue,
// come out as the window messages the framework's window procedure reads.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/window/window.h"

namespace {

using platform::Message;

constexpr uint32_t kKeyDown = 0x0100, kKeyUp = 0x0101, kChar = 0x0102, kSysKeyDown = 0x0104, kSysKeyUp = 0x0105;
constexpr uint32_t kActivateApp = 0x001C, kClose = 0x0010, kMouseWheel = 0x020A;
constexpr uint32_t kLButtonDblClk = 0x0203, kRButtonDblClk = 0x0206, kMButtonDblClk = 0x0209;
constexpr intptr_t kRepeatBit = intptr_t{1} << 30;

class WindowEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string failure;
        ASSERT_TRUE(window_.Create("events", 640, 480, true, failure)) << failure;
        std::vector<Message> first = Drain();
        ASSERT_EQ(first.size(), 1u);  // a new window is the active one
        EXPECT_EQ(first[0].message, kActivateApp);
        EXPECT_EQ(first[0].wParam, 1u);
    }
    void TearDown() override { window_.Destroy(); }

    std::vector<Message> Drain() {
        std::vector<Message> out;
        Message m;
        for (int i = 0; i < 64 && window_.PollEvent(m); ++i) out.push_back(m);
        return out;
    }
    static void Push(const SDL_Event& event) {
        SDL_Event copy = event;
        ASSERT_EQ(SDL_PushEvent(&copy), 1) << SDL_GetError();
    }
    static SDL_Event Key(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
        SDL_Event event{};
        event.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
        event.key.keysym.mod = mod;
        return event;
    }

    platform::WindowSystem& window_ = platform::GetWindowSystem();
};

TEST_F(WindowEventsTest, KeysBecomeVirtualKeyCodes) {
    const struct {
        SDL_Scancode scancode;
        uint32_t vk;  // 0: no message
    } cases[] = {
        {SDL_SCANCODE_A, 0x41},        {SDL_SCANCODE_Z, 0x5A},        {SDL_SCANCODE_0, 0x30},
        {SDL_SCANCODE_1, 0x31},        {SDL_SCANCODE_9, 0x39},        {SDL_SCANCODE_F1, 0x70},
        {SDL_SCANCODE_F12, 0x7B},      {SDL_SCANCODE_KP_0, 0x60},     {SDL_SCANCODE_KP_1, 0x61},
        {SDL_SCANCODE_KP_9, 0x69},     {SDL_SCANCODE_BACKSPACE, 0x08}, {SDL_SCANCODE_TAB, 0x09},
        {SDL_SCANCODE_RETURN, 0x0D},   {SDL_SCANCODE_KP_ENTER, 0x0D}, {SDL_SCANCODE_LSHIFT, 0x10},
        {SDL_SCANCODE_RSHIFT, 0x10},   {SDL_SCANCODE_LCTRL, 0x11},    {SDL_SCANCODE_RCTRL, 0x11},
        {SDL_SCANCODE_PAUSE, 0x13},    {SDL_SCANCODE_ESCAPE, 0x1B},   {SDL_SCANCODE_SPACE, 0x20},
        {SDL_SCANCODE_PAGEUP, 0x21},   {SDL_SCANCODE_PAGEDOWN, 0x22}, {SDL_SCANCODE_END, 0x23},
        {SDL_SCANCODE_HOME, 0x24},     {SDL_SCANCODE_LEFT, 0x25},     {SDL_SCANCODE_UP, 0x26},
        {SDL_SCANCODE_RIGHT, 0x27},    {SDL_SCANCODE_DOWN, 0x28},     {SDL_SCANCODE_INSERT, 0x2D},
        {SDL_SCANCODE_DELETE, 0x2E},   {SDL_SCANCODE_F13, 0},         {SDL_SCANCODE_CAPSLOCK, 0},
    };
    for (const auto& c : cases) {
        Push(Key(SDL_KEYDOWN, c.scancode));
        Push(Key(SDL_KEYUP, c.scancode));
        std::vector<Message> got = Drain();
        if (c.vk == 0) {
            EXPECT_TRUE(got.empty()) << SDL_GetScancodeName(c.scancode);
            continue;
        }
        // Enter and Backspace also come as the characters 13 and 8 after their key.
        const bool character = c.vk == 0x0D || c.vk == 0x08;
        ASSERT_EQ(got.size(), character ? 3u : 2u) << SDL_GetScancodeName(c.scancode);
        EXPECT_EQ(got[0].message, kKeyDown);
        EXPECT_EQ(got[0].wParam, c.vk) << SDL_GetScancodeName(c.scancode);
        EXPECT_EQ(got[0].lParam, 1);
        if (character) {
            EXPECT_EQ(got[1].message, kChar);
            EXPECT_EQ(got[1].wParam, c.vk);
        }
        EXPECT_EQ(got.back().message, kKeyUp);
        EXPECT_EQ(got.back().wParam, c.vk);
    }
}

TEST_F(WindowEventsTest, RepeatsAltKeysFocusCloseWheelAndDoubleClicks) {
    SDL_Event focusLost{}, focusGained{}, quit{}, wheelUp{}, wheelDown{};
    focusLost.type = focusGained.type = SDL_WINDOWEVENT;
    focusLost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    focusGained.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    quit.type = SDL_QUIT;
    wheelUp.type = wheelDown.type = SDL_MOUSEWHEEL;
    wheelUp.wheel.y = 1;
    wheelDown.wheel.y = -2;
    auto click = [](Uint8 button, Uint8 clicks) {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = button;
        e.button.clicks = clicks;
        return e;
    };
    const struct {
        const char* what;
        SDL_Event event;
        std::vector<Message> messages;
    } cases[] = {
        {"held key repeats", Key(SDL_KEYDOWN, SDL_SCANCODE_X, KMOD_NONE, 1), {{kKeyDown, 0x58, kRepeatBit | 1}}},
        {"held Enter repeats with its character", Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_NONE, 1),
         {{kKeyDown, 0x0D, kRepeatBit | 1}, {kChar, 0x0D, kRepeatBit | 1}}},
        {"Alt itself", Key(SDL_KEYDOWN, SDL_SCANCODE_LALT), {{kSysKeyDown, 0x12, 1}}},
        {"Alt+Enter, no character", Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT), {{kSysKeyDown, 0x0D, 1}}},
        {"Alt+F4", Key(SDL_KEYDOWN, SDL_SCANCODE_F4, KMOD_RALT), {{kSysKeyDown, 0x73, 1}}},
        {"Alt+F4 let go", Key(SDL_KEYUP, SDL_SCANCODE_F4, KMOD_LALT), {{kSysKeyUp, 0x73, 1}}},
        {"focus lost", focusLost, {{kActivateApp, 0, 0}}},
        {"focus gained", focusGained, {{kActivateApp, 1, 0}}},
        {"closing the window", quit, {{kClose, 0, 0}}},
        {"wheel up a notch", wheelUp, {{kMouseWheel, uintptr_t{120} << 16, 0}}},
        {"wheel down two notches", wheelDown, {{kMouseWheel, uintptr_t{0xFF10} << 16, 0}}},
        {"left double click", click(SDL_BUTTON_LEFT, 2), {{kLButtonDblClk, 0, 0}}},
        {"right double click", click(SDL_BUTTON_RIGHT, 2), {{kRButtonDblClk, 0, 0}}},
        {"middle double click", click(SDL_BUTTON_MIDDLE, 2), {{kMButtonDblClk, 0, 0}}},
        {"single click", click(SDL_BUTTON_LEFT, 1), {}},
        {"triple click", click(SDL_BUTTON_LEFT, 3), {}},
    };
    for (const auto& c : cases) {
        Push(c.event);
        std::vector<Message> got = Drain();
        ASSERT_EQ(got.size(), c.messages.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].message, c.messages[i].message) << c.what;
            EXPECT_EQ(got[i].wParam, c.messages[i].wParam) << c.what;
            EXPECT_EQ(got[i].lParam, c.messages[i].lParam) << c.what;
        }
    }
}

// Typed text is one character message per character, whatever its length in UTF-8.
TEST_F(WindowEventsTest, TextInputBecomesOneCharacterMessageEach) {
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    SDL_strlcpy(text.text.text, "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80", sizeof(text.text.text));  // a, é, あ, an emoji
    Push(text);
    std::vector<Message> got = Drain();
    const uintptr_t expected[] = {0x61, 0xE9, 0x3042, 0x1F600};
    ASSERT_EQ(got.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(got[i].message, kChar);
        EXPECT_EQ(got[i].wParam, expected[i]) << i;
    }
}

TEST_F(WindowEventsTest, FullScreenAndBackKeepsTheWindowAndItsTitle) {
    window_.SetTitle("T2");
    window_.SetFullscreen(true);
    SDL_Window* sdl = nullptr;  // the SDL window behind it, found by its title
    for (Uint32 id = 1; id < 64 && sdl == nullptr; ++id) {
        SDL_Window* candidate = SDL_GetWindowFromID(id);
        if (candidate != nullptr && SDL_strcmp(SDL_GetWindowTitle(candidate), "T2") == 0) sdl = candidate;
    }
    ASSERT_NE(sdl, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    window_.SetFullscreen(false);
    EXPECT_EQ(SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN, 0u);
    int w = 0, h = 0;
    SDL_GetWindowSize(sdl, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_TRUE(window_.Exists());
    EXPECT_EQ(window_.Title(), "T2");
}

}  // namespace
