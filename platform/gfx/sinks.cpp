// Present sinks, the process-wide sink choice and the drawing-path switches.
#include <algorithm>

#include "platform/gfx/device.h"
#include "platform/window/window.h"

namespace platform::gfx {

namespace {
WindowSink g_windowSink;
PresentSink* g_sink = nullptr;
bool g_forceGeneralPath = false;
bool g_forceSse2 = false;
}  // namespace

uint32_t RefCounted::AddRef() { return ++refs_; }

uint32_t RefCounted::Release() {
    const uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
}

void WindowSink::Show(const uint32_t* pixels, int width, int height, int pitch) {
    GetWindowSystem().ShowPicture(pixels, width, height, pitch);
}

void WindowSink::SetWindowed(bool windowed) {
    if (windowed_ >= 0 && windowed_ != int(windowed)) GetWindowSystem().SetFullscreen(!windowed);
    windowed_ = int(windowed);
}

void MemorySink::Show(const uint32_t* pixels, int width, int height, int pitch) {
    frame_.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        std::copy_n(pixels + size_t(y) * size_t(pitch), width, frame_.begin() + ptrdiff_t(y) * width);
    }
    width_ = width;
    height_ = height;
    ++frames_;
}

void SetPresentSink(PresentSink* sink) { g_sink = sink; }
PresentSink& GetPresentSink() { return g_sink ? *g_sink : g_windowSink; }

void SetForceGeneralPath(bool force) { g_forceGeneralPath = force; }
bool ForceGeneralPath() { return g_forceGeneralPath; }

void SetForceSse2(bool force) { g_forceSse2 = force; }
bool ForceSse2() { return g_forceSse2; }

}  // namespace platform::gfx
