#include "platform/audio/ogg_player.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/audio/mixer_internal.h"

namespace platform::audio {

OggPlayer::OggPlayer() = default;
OggPlayer::~OggPlayer() = default;

bool OggPlayer::Open(std::unique_ptr<Reader> reader) {
    voice_.reset();
    std::string error;
    std::unique_ptr<Decoder> decoder = OpenVorbisDecoder(std::move(reader), &error);
    if (decoder == nullptr) return false;
    voice_ = std::make_unique<StreamVoice>(std::move(decoder));
    voice_->SetGain(volume_, volume_);
    return true;
}

void OggPlayer::Play() {
    if (voice_ == nullptr) return;
    if (voice_->Ended()) voice_->Seek(0);
    voice_->Resume();
}

void OggPlayer::Pause() {
    if (voice_ != nullptr) voice_->Halt();
}

void OggPlayer::Stop() {
    if (voice_ == nullptr) return;
    voice_->Halt();
    voice_->Seek(0);
}

void OggPlayer::SetVolume(float volume) {
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    if (voice_ != nullptr) voice_->SetGain(volume_, volume_);
}

void OggPlayer::Release() { delete this; }

double OggPlayer::GetPosition() {
    if (voice_ == nullptr) return 0.0;
    return static_cast<double>(voice_->PositionFrames()) * 1000.0 / voice_->SourceRate();
}

void OggPlayer::SetPosition(float milliseconds) {
    if (voice_ == nullptr || !(milliseconds >= 0.0f)) return;
    voice_->Seek(static_cast<uint64_t>(std::llround(milliseconds * static_cast<double>(voice_->SourceRate()) / 1000.0)));
}

int32_t OggPlayer::GetState() { return voice_ != nullptr && voice_->IsPlaying() ? 1 : 0; }

OggPlayer* CreateVox() { return new OggPlayer(); }

}  // namespace platform::audio
