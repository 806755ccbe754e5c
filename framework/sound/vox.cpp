#include "framework/sound/vox.h"

#include "framework/sound/sound_internal.h"
#include "platform/audio/ogg_player.h"

bool VoxPlayer::Open(const char* path) {
    ZethFile::Stream* stream = ZethFile::FileOpen(path, true);
    if (stream == nullptr) return false;
    return player_->Open(std::make_unique<ZethSound::internal::FileStreamReader>(stream));
}

void VoxPlayer::Play() { player_->Play(); }
void VoxPlayer::Pause() { player_->Pause(); }
void VoxPlayer::Stop() { player_->Stop(); }
void VoxPlayer::SetVolume(float volume) { player_->SetVolume(volume); }
void VoxPlayer::Release() { delete this; }
double VoxPlayer::GetPosition() { return player_->GetPosition(); }
void VoxPlayer::SetPosition(float milliseconds) { player_->SetPosition(milliseconds); }
int32_t VoxPlayer::GetState() { return player_->GetState(); }

VoxPlayer::~VoxPlayer() { player_->Release(); }

VoxPlayer* CreateVox() { return new VoxPlayer(platform::audio::CreateVox()); }
