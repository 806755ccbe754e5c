// The SDL2 window: events become window messages, pictures are shown through an SDL renderer.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/os/os.h"
#include "platform/window/keymap.h"
#include "platform/window/window.h"

namespace platform {
namespace {

// The largest side the window may have: the largest picture a renderer commonly draws (its
// largest viewport and texture), past any display. The window can be resized, and another
// program can make it any size the window system allows; the X client library fails on the
// picture of a window near its limit of 32767 x 32767, which would end the program.
constexpr int kLargestWindowSide = 16384;

// The picture is scaled and shown by SDL's software renderer on the window's own pixels. Its
// pictures have the size SDL last learned for the window, which changes only while this program
// takes its events, so a window brought back to the largest size before the picture never shows
// a larger one. An OpenGL renderer reads the window system's size for itself, at any moment: a
// resize by another program just before the picture would reach the X client library's limit.
// The picture is made by our own software rasterizer anyway; the scaling costs little besides.
void UseSoftwarePictures() { SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0"); }

// SDL falls back to an invisible off-screen driver when no display exists. A window nobody can
// see is no window: the headless drivers are used only when asked for by name.
bool DisplayDriverChosen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return false;
    bool headless = SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0;
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    return !headless || (wanted != nullptr && SDL_strcasecmp(wanted, driver) == 0);
}

// The window is torn down by the program's ordered shutdown only: the object itself outlives
// main and makes no call from its destructor, which runs among the exit handlers.
class SdlWindowSystem final : public WindowSystem {
public:
    bool Create(const std::string& title, int width, int height, bool windowed, std::string& failure) override {
        if (window_ != nullptr) return true;
        // The reason goes to standard error as well, for a start from a terminal without a log.
        auto refuse = [&failure](std::string reason) {
            std::fprintf(stderr, "%s\n", reason.c_str());
            failure = std::move(reason);
            return false;
        };
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return refuse(std::string("SDL video: ") + SDL_GetError());
        if (!DisplayDriverChosen()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return refuse("SDL video: no display (set SDL_VIDEODRIVER=dummy to run headless)");
        }
        UseSoftwarePictures();
        uint32_t flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
        if (!windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
        if (window_ == nullptr) {
            std::string reason = std::string("SDL window: ") + SDL_GetError();
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return refuse(reason);
        }
        SDL_SetWindowMaximumSize(window_, kLargestWindowSide, kLargestWindowSide);
        title_ = title;
        width_ = width;
        height_ = height;
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (renderer_ != nullptr) {
            SDL_RenderSetLogicalSize(renderer_, width, height);
            SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
            texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
        }
        picture_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
        Redraw();
        // A new window is the active one, as the window system tells a freshly shown window.
        pending_.push_back({wm::kActivateApp, 1, 0});
        return true;
    }

    void Destroy() override {
        if (window_ == nullptr) return;
        if (texture_ != nullptr) SDL_DestroyTexture(texture_);
        if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
        SDL_DestroyWindow(window_);
        texture_ = nullptr;
        renderer_ = nullptr;
        window_ = nullptr;
        pending_.clear();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool Exists() const override { return window_ != nullptr; }

    void SetTitle(const std::string& title) override {
        title_ = title;
        if (window_ != nullptr) SDL_SetWindowTitle(window_, title.c_str());
    }

    std::string Title() const override { return title_; }

    void SetFullscreen(bool fullscreen) override {
        if (window_ == nullptr) return;
        SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        if (!fullscreen) {
            SDL_SetWindowSize(window_, width_, height_);
            SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
        Redraw();
    }

    void ShowCursor(bool show) override { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

    bool PollEvent(Message& out) override {
        while (pending_.empty()) {
            SDL_Event event;
            if (window_ == nullptr || SDL_PollEvent(&event) == 0) return false;
            Translate(event);
        }
        out = pending_.front();
        pending_.pop_front();
        return true;
    }

    void ShowPicture(const uint32_t* pixels, int width, int height, int pitch) override {
        if (width != width_ || height != height_) return;
        for (int y = 0; y < height; ++y) {
            const uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
            std::copy(row, row + width, picture_.begin() + static_cast<ptrdiff_t>(y) * width);
        }
        Redraw();
    }

private:
    void Redraw() {
        if (renderer_ == nullptr || texture_ == nullptr || !WithinLargestSize()) return;
        SDL_UpdateTexture(texture_, nullptr, picture_.data(), width_ * 4);
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

    // A window manager keeps to the largest size the window asks for, another program resizing
    // the window need not: a larger window is brought back before anything is drawn in it. False
    // while it is still larger (resized again meanwhile): then nothing is drawn.
    bool WithinLargestSize() {
        int width = 0, height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        if (width <= kLargestWindowSide && height <= kLargestWindowSide) return true;
        SDL_SetWindowSize(window_, std::min(width, kLargestWindowSide), std::min(height, kLargestWindowSide));
        SDL_GetWindowSize(window_, &width, &height);
        return width <= kLargestWindowSide && height <= kLargestWindowSide;
    }

    void Translate(const SDL_Event& event) {
        switch (event.type) {
            case SDL_QUIT:
                pending_.push_back({wm::kClose, 0, 0});
                break;
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) pending_.push_back({wm::kActivateApp, 1, 0});
                else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) pending_.push_back({wm::kActivateApp, 0, 0});
                else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) Redraw();
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                uint32_t key = VirtualKeyFromScancode(event.key.keysym.scancode);
                if (key == 0) break;
                // With Alt held, keys arrive as system keys (Alt+Enter, Alt+F4).
                bool alt = (event.key.keysym.mod & KMOD_ALT) != 0 || key == vk::kMenu;
                bool down = event.type == SDL_KEYDOWN;
                uint32_t message = alt ? (down ? wm::kSysKeyDown : wm::kSysKeyUp) : (down ? wm::kKeyDown : wm::kKeyUp);
                intptr_t lParam = (event.key.repeat ? (intptr_t{1} << 30) : 0) | 1;
                pending_.push_back({message, key, lParam});
                // Text input carries no Enter or Backspace; they follow their key as the
                // character messages 13 and 8 (their virtual-key codes have the same values).
                if (down && !alt && (key == vk::kReturn || key == vk::kBack)) pending_.push_back({wm::kChar, key, lParam});
                break;
            }
            case SDL_TEXTINPUT:
                PushCharacters(event.text.text);
                break;
            case SDL_MOUSEWHEEL: {
                int delta = event.wheel.y * 120;
                uintptr_t wParam = static_cast<uintptr_t>(static_cast<uint16_t>(static_cast<int16_t>(delta))) << 16;
                pending_.push_back({wm::kMouseWheel, wParam, 0});
                break;
            }
            case SDL_MOUSEBUTTONDOWN:
                if (event.button.clicks == 2) {
                    if (event.button.button == SDL_BUTTON_LEFT) pending_.push_back({wm::kLButtonDblClk, 0, 0});
                    else if (event.button.button == SDL_BUTTON_RIGHT) pending_.push_back({wm::kRButtonDblClk, 0, 0});
                    else if (event.button.button == SDL_BUTTON_MIDDLE) pending_.push_back({wm::kMButtonDblClk, 0, 0});
                }
                break;
            default:
                break;
        }
    }

    // Text input arrives as UTF-8; each character becomes one character message.
    void PushCharacters(const char* text) {
        const auto* p = reinterpret_cast<const unsigned char*>(text);
        while (*p != 0) {
            uint32_t cp = *p;
            int extra = cp >= 0xF0 ? 3 : cp >= 0xE0 ? 2 : cp >= 0xC0 ? 1 : 0;
            cp &= extra == 3 ? 0x07u : extra == 2 ? 0x0Fu : extra == 1 ? 0x1Fu : 0x7Fu;
            ++p;
            for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i, ++p) cp = (cp << 6) | (*p & 0x3Fu);
            pending_.push_back({wm::kChar, cp, 1});
        }
    }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::string title_;
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> picture_;
    std::deque<Message> pending_;
};

SdlWindowSystem& SdlSystem() {
    static SdlWindowSystem system;
    return system;
}

WindowSystem* g_system = nullptr;

}  // namespace

WindowSystem& GetWindowSystem() { return g_system != nullptr ? *g_system : SdlSystem(); }
void SetWindowSystem(WindowSystem* system) { g_system = system; }

bool MessageQueue::Peek(Message& out) {
    if (!posted_.empty()) {
        out = posted_.front();
        posted_.pop_front();
        return true;
    }
    return GetWindowSystem().PollEvent(out);
}

MessageQueue& GetMessageQueue() {
    static MessageQueue queue;
    return queue;
}

}  // namespace platform
