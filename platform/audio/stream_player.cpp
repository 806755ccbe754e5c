#include "platform/audio/stream_player.h"

#include <cstdio>
#include <string>

#include "platform/audio/audio.h"
#include "platform/audio/mixer_internal.h"

namespace platform::audio {

namespace {

std::string& LastError() {
    static std::string text;
    return text;
}

}  // namespace

StreamPlayer::StreamPlayer(std::unique_ptr<StreamVoice> voice) : voice_(std::move(voice)) {}
StreamPlayer::~StreamPlayer() = default;

bool StreamPlayer::IsPlaying() { return paused_ || voice_->IsPlaying(); }

void StreamPlayer::Play(int32_t, int32_t) {
    paused_ = false;
    voice_->Start(0, false, 0);
}

// The count is not kept: every loop plays until it is stopped, as the only caller asks (-1).
void StreamPlayer::Loop(int32_t, int32_t loopFrame) {
    paused_ = false;
    voice_->Start(0, true, loopFrame < 0 ? 0 : static_cast<uint64_t>(loopFrame));
}

void StreamPlayer::Stop() {
    paused_ = false;
    voice_->Halt();
    voice_->Seek(0);
}

void StreamPlayer::Pause() {
    if (paused_) {
        paused_ = false;
        voice_->Resume();
    } else if (voice_->IsPlaying()) {
        paused_ = true;
        voice_->Halt();
    }
}

void StreamPlayer::SetVolume(float volume) {
    float gain = GainFromHundredthsDb(PercentToHundredthsDb(volume));
    voice_->SetGain(gain, gain);
}

void StreamPlayer::Release() {
    voice_->Halt();
    delete this;
}

StreamPlayer* Ayame_CreateInstanceFromFileEx(const char* path, uint32_t offset, uint32_t size, uint32_t) {
    std::unique_ptr<Reader> reader = OpenFileWindow(path, offset, size);
    if (reader == nullptr) {
        LastError() = std::string("ファイルを開けません : ") + path;
        return nullptr;
    }
    return Ayame_CreateInstanceFromReader(std::move(reader));
}

StreamPlayer* Ayame_CreateInstanceFromReader(std::unique_ptr<Reader> reader) {
    std::string error;
    std::unique_ptr<Decoder> decoder = OpenDecoder(std::move(reader), &error);
    if (decoder == nullptr) {
        LastError() = error;
        return nullptr;
    }
    return new StreamPlayer(std::make_unique<StreamVoice>(std::move(decoder)));
}

void Ayame_GetLastError(char* text) { std::snprintf(text, 512, "%s", LastError().c_str()); }

}  // namespace platform::audio
