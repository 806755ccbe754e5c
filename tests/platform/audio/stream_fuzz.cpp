// Feeds arbitrary bytes to the stream player as a file (Ogg Vorbis or WAVE, told apart by their
// first bytes); when it accepts them, plays, loops, seeks and pauses the stream through the mixer
// for a bounded number of frames, then releases it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/stream_player.h"

namespace {

using namespace platform::audio;

void Render(uint32_t frames) {
    static int16_t out[2 * 4096];
    while (frames > 0) {
        const uint32_t step = frames < 4096 ? frames : 4096;
        RenderFrames(out, step);
        frames -= step;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool opened = OpenOutput(true) == Output::kManual;
    if (!opened) return 0;
    // The reader keeps no copy: the bytes live until the player is released.
    std::vector<uint8_t> bytes(data, data + size);
    StreamPlayer* player = Ayame_CreateInstanceFromReader(std::make_unique<MemoryReader>(bytes.data(), bytes.size()));
    if (player == nullptr) {
        char reason[512];
        Ayame_GetLastError(reason);
        if (std::memchr(reason, 0, sizeof reason) == nullptr) __builtin_trap();
        return 0;
    }
    // The loop frame comes from the data so that jumps past the end are tried too.
    const int32_t loopFrame = size >= 4 ? static_cast<int32_t>(data[size - 1] | data[size - 2] << 8 | data[size - 3] << 16) : 0;
    player->Loop(-1, loopFrame);
    Render(20000);
    player->Pause();
    Render(500);
    player->Pause();
    Render(3000);
    player->Stop();
    player->SetVolume(70.0f);
    player->Play(0, 0);
    Render(6000);
    player->Release();
    Render(2000);
    return 0;
}
