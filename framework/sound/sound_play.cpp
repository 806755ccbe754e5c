// Playing sounds: each operation goes to the slot's stream player, or to one of its layers.
#include "framework/sound/sound_internal.h"

namespace ZethSound {

using internal::SoundSlot;

namespace {

// The layer an operation on a static-buffer sound acts on, or null.
platform::audio::SoundBuffer* Layer(SoundSlot* slot, uint32_t layer) {
    return slot != nullptr && layer < slot->layerCount ? slot->layers[layer] : nullptr;
}

}  // namespace

bool IsPlaying(int32_t id, uint32_t layer) {
    SoundSlot* slot = internal::UsedSlot(id);
    if (slot != nullptr && slot->player != nullptr) return slot->player->IsPlaying();
    platform::audio::SoundBuffer* buffer = Layer(slot, layer);
    return buffer != nullptr && buffer->IsPlaying();
}

void Play(int32_t id, uint32_t layer) {
    SoundSlot* slot = internal::UsedSlot(id);
    if (slot != nullptr && slot->player != nullptr) return slot->player->Play(0, 0);
    platform::audio::SoundBuffer* buffer = Layer(slot, layer);
    if (buffer == nullptr) return;
    slot->pausePosition = 0;
    slot->paused = slot->looping = false;
    buffer->Play(false);
}

void Loop(int32_t id, int32_t count, int32_t loopFrame, uint32_t layer) {
    SoundSlot* slot = internal::UsedSlot(id);
    if (slot != nullptr && slot->player != nullptr) return slot->player->Loop(count, loopFrame);
    platform::audio::SoundBuffer* buffer = Layer(slot, layer);
    if (buffer == nullptr) return;
    slot->pausePosition = 0;
    slot->paused = false;
    slot->looping = true;
    buffer->Play(true);
}

void Stop(int32_t id, uint32_t layer) {
    SoundSlot* slot = internal::UsedSlot(id);
    if (slot != nullptr && slot->player != nullptr) return slot->player->Stop();
    platform::audio::SoundBuffer* buffer = Layer(slot, layer);
    if (buffer == nullptr) return;
    buffer->Stop();
    buffer->SetPosition(0);
    slot->pausePosition = 0;
    slot->paused = false;
}

void Pause(int32_t id, uint32_t layer) {
    SoundSlot* slot = internal::UsedSlot(id);
    if (slot != nullptr && slot->player != nullptr) return slot->player->Pause();
    platform::audio::SoundBuffer* buffer = Layer(slot, layer);
    if (buffer == nullptr) return;
    if (!slot->paused) {
        slot->paused = true;
        slot->pausePosition = buffer->GetPosition();
        buffer->Stop();
    } else {
        slot->paused = false;
        buffer->SetPosition(slot->pausePosition);
        buffer->Play(slot->looping);
    }
}

void SetVolume(int32_t id, float volume, uint32_t layer) {
    SoundSlot* slot = internal::UsedSlot(id);
    if (slot != nullptr && slot->player != nullptr) return slot->player->SetVolume(volume);
    platform::audio::SoundBuffer* buffer = Layer(slot, layer);
    if (buffer != nullptr) buffer->SetVolume(platform::audio::PercentToHundredthsDb(volume));
}

}  // namespace ZethSound
