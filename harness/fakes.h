// Fakes of the platform edge for tests and benchmarks: a clock that only moves when told, a
// message box that records, and a window that plays a script of events.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/os/os.h"
#include "platform/window/window.h"

namespace testing_support {

class FakeClock : public platform::Clock {
public:
    uint64_t now = 0;
    std::vector<uint32_t> sleeps;
    bool keepSleeps = true;  // off, a long run's clock takes no memory that grows with it
    uint64_t NowMs() override { return now; }
    void SleepMs(uint32_t ms) override {
        if (keepSleeps) sleeps.push_back(ms);
        now += ms;
    }
};

class RecordingMessageBox : public platform::MessageBoxSink {
public:
    struct Shown {
        uint32_t type;
        std::string caption;
        std::string text;
    };
    std::vector<Shown> shown;
    void Show(uint32_t type, const std::string& caption, const std::string& text) override {
        shown.push_back({type, caption, text});
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& s : shown) texts.push_back(s.text);
        return texts;
    }
};

class FakeWindow : public platform::WindowSystem {
public:
    bool canCreate = true;
    bool exists = false;
    bool fullscreen = false;
    std::string title;
    std::deque<platform::Message> script;  // events handed out one per poll
    int pictures = 0;

    bool Create(const std::string& t, int, int, bool windowed, std::string& failure) override {
        if (!canCreate) {
            failure = "no display";
            return false;
        }
        exists = true;
        title = t;
        fullscreen = !windowed;
        script.push_front({platform::wm::kActivateApp, 1, 0});
        return true;
    }
    void Destroy() override { exists = false; }
    bool Exists() const override { return exists; }
    void SetTitle(const std::string& t) override { title = t; }
    std::string Title() const override { return title; }
    void SetFullscreen(bool f) override { fullscreen = f; }
    void ShowCursor(bool) override {}
    bool PollEvent(platform::Message& out) override {
        if (!exists || script.empty()) return false;
        out = script.front();
        script.pop_front();
        return true;
    }
    void ShowPicture(const uint32_t*, int, int, int) override { ++pictures; }
};

// Installs the fakes for the life of a test and restores the real services afterwards.
struct FakePlatform {
    FakeClock clock;
    RecordingMessageBox messageBox;
    FakeWindow window;
    FakePlatform() {
        platform::SetClock(&clock);
        platform::SetMessageBoxSink(&messageBox);
        platform::SetWindowSystem(&window);
    }
    ~FakePlatform() {
        platform::SetClock(nullptr);
        platform::SetMessageBoxSink(nullptr);
        platform::SetWindowSystem(nullptr);
    }
};

}  // namespace testing_support
