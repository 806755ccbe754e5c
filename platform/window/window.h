// The one top-level window: creation, title, screen mode, cursor, its events as window
// messages, and showing the finished 640 x 480 picture. Tests replace it with a fake.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "platform/window/messages.h"

namespace platform {

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Opens the window; false when no display or window can be had, with the reason in failure.
    virtual bool Create(const std::string& title, int width, int height, bool windowed, std::string& failure) = 0;
    virtual void Destroy() = 0;
    virtual bool Exists() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual std::string Title() const = 0;
    virtual void SetFullscreen(bool fullscreen) = 0;
    virtual void ShowCursor(bool show) = 0;
    // Takes the next platform event as a window message; false when none is waiting.
    virtual bool PollEvent(Message& out) = 0;
    // Shows a picture of 32-bit XRGB pixels in the window, scaled by whole pixels and
    // letterboxed. pitch is in pixels.
    virtual void ShowPicture(const uint32_t* pixels, int width, int height, int pitch) = 0;
};

WindowSystem& GetWindowSystem();           // the SDL window unless replaced
void SetWindowSystem(WindowSystem* system);  // nullptr restores the SDL window

// The thread's message queue: messages posted by the program come first, then the window's
// events.
class MessageQueue {
public:
    void Post(const Message& message) { posted_.push_back(message); }
    void PostQuit(int exitCode) { Post({wm::kQuit, static_cast<uintptr_t>(exitCode), 0}); }
    bool Peek(Message& out);
    void Clear() { posted_.clear(); }

private:
    std::deque<Message> posted_;
};

MessageQueue& GetMessageQueue();

}  // namespace platform
