#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/audio/audio.h"
#include "platform/audio/mixer_internal.h"
#include "platform/os/os.h"

namespace platform::audio {

namespace {

constexpr uint32_t kPeriodFrames = 1024;       // about 23 ms a pull of the device
constexpr uint64_t kMaxCatchUp = kMixRate * 2;  // the silent sink never mixes more than 2 s at once

struct OutputState {
    ~OutputState() { Close(); }

    void Close() {
        if (device != 0) SDL_CloseAudioDevice(device);
        device = 0;
        if (sdlAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        sdlAudio = false;
        kind = Output::kNone;
    }

    std::atomic<Output> kind{Output::kNone};
    bool sdlAudio = false;
    SDL_AudioDeviceID device = 0;
    std::mutex sinkLock;       // guards the two sink fields
    uint64_t sinkStartMs = 0;  // clock time of the sink's frame 0
    uint64_t sinkFrames = 0;   // frames the sink has mixed
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

// ALSA writes its own errors on standard error: a dozen lines on a machine without a sound card
// while SDL looks for a device, though the game then runs silent as it should. Standard error is
// kept for what the player must know, so ALSA is given an error handler that says nothing. The
// library is the one SDL uses (loaded once per process); where it is not installed there is
// nothing to quiet.
void SayNothing(const char*, int, const char*, int, const char*, ...) {}

void QuietSoundLibraryErrors() {
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    static void* const alsa = dlopen("libasound.so.2", RTLD_LAZY);  // kept loaded with its handler
    if (alsa == nullptr) return;
    auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) setHandler(SayNothing);
}

bool OpenDevice(OutputState& state) {
    QuietSoundLibraryErrors();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    state.sdlAudio = true;
    // SDL's dummy driver plays to nowhere: the silent sink does the same, in step with the clock.
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
        std::lock_guard<std::mutex> guard(state.sinkLock);
        state.sinkStartMs = platform::GetClock().NowMs();
        state.sinkFrames = 0;
        state.kind = Output::kSilentSink;
    }
    return state.kind;
}

void CloseOutput() { State().Close(); }

Output CurrentOutput() { return State().kind; }

// The silent sink is a pull driven by the clock: before a voice is looked at or changed, the mix
// is brought up to the clock's time and dropped. Under a fake clock that makes sounds end on the
// same frame in every run.
void PullSilentSink() {
    OutputState& state = State();
    if (state.kind != Output::kSilentSink) return;
    std::lock_guard<std::mutex> guard(state.sinkLock);
    uint64_t now = std::max(platform::GetClock().NowMs(), state.sinkStartMs);
    uint64_t due = (now - state.sinkStartMs) * kMixRate / 1000;
    // After a long stall (an inactive window) the sounds skip the time they missed.
    if (due > state.sinkFrames + kMaxCatchUp) state.sinkFrames = due - kMaxCatchUp;
    int16_t scratch[kPeriodFrames * 2];
    while (state.sinkFrames < due) {
        uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(due - state.sinkFrames, kPeriodFrames));
        RenderFrames(scratch, count);
        state.sinkFrames += count;
    }
}

}  // namespace platform::audio
