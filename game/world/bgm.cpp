#include "game/world/bgm.h"

void Bgm::Load() {
    stageTrack = 0;
    tune = 0;
    volume = 100.0f;
}

void Bgm::Unload() {}
void Bgm::Play(int32_t) {}
void Bgm::Stop() {}
void Bgm::SetPaused(bool) {}
void Bgm::Update() {}

void Bgm::PlayStage(int32_t track) {
    if (track >= 16) tune = track;
    else stageTrack = track;
}

void Bgm::SetVolume(float value) { volume = value; }
