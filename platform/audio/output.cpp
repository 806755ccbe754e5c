#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/audio/audio.h"
#include "platform/audio/mixer_internal.h"

namespace platform::audio {

namespace {

constexpr uint32_t kPeriodFrames = 1024;  // about 23 ms a pull, for the device and the silent sink

struct OutputState {
    ~OutputState() { Close(); }  // a program that ends without closing must not leave the sink running

    void Close() {
        if (device != 0) SDL_CloseAudioDevice(device);
        device = 0;
        if (sink.joinable()) {
            stopSink = true;
            sink.join();
        }
        if (sdlAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        sdlAudio = false;
        kind = Output::kNone;
    }

    Output kind = Output::kNone;
    bool sdlAudio = false;
    SDL_AudioDeviceID device = 0;
    std::thread sink;
    std::atomic<bool> stopSink{false};
};

OutputState& State() {
    // The mixer is made first so that it outlives the output that pulls from it.
    Mixer::Get();
    static OutputState state;
    return state;
}

void DeviceCallback(void*, Uint8* stream, int bytes) {
    RenderFrames(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(bytes) / 4);
}

// Pulls the mix at the device's pace and drops it, so sounds start, play and end in real time.
void SilentSink() {
    using Clock = std::chrono::steady_clock;
    int16_t scratch[kPeriodFrames * 2];
    Clock::time_point start = Clock::now();
    uint64_t frames = 0;
    while (!State().stopSink.load()) {
        RenderFrames(scratch, kPeriodFrames);
        frames += kPeriodFrames;
        std::this_thread::sleep_until(start + std::chrono::microseconds(frames * 1000000 / kMixRate));
    }
}

bool OpenDevice(OutputState& state) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    state.sdlAudio = true;
    // SDL's dummy driver keeps no time of its own; the silent sink does that job better.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver == nullptr || std::strcmp(driver, "dummy") == 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(kMixRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kPeriodFrames;
    wanted.callback = DeviceCallback;
    SDL_AudioSpec obtained{};
    state.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);  // SDL converts if it must
    if (state.device == 0) return false;
    SDL_PauseAudioDevice(state.device, 0);
    return true;
}

}  // namespace

Output OpenOutput(bool manual) {
    OutputState& state = State();
    if (state.kind != Output::kNone) return state.kind;
    if (manual) {
        state.kind = Output::kManual;
    } else if (OpenDevice(state)) {
        state.kind = Output::kDevice;
    } else {
        state.stopSink = false;
        state.sink = std::thread(SilentSink);
        state.kind = Output::kSilentSink;
    }
    return state.kind;
}

void CloseOutput() { State().Close(); }

Output CurrentOutput() { return State().kind; }

}  // namespace platform::audio
