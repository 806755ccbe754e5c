#include "platform/audio/audio.h"
#include "platform/audio/mixer_internal.h"

namespace platform::audio {

StreamVoice::StreamVoice(std::unique_ptr<Decoder> decoder)
    : decoder_(std::move(decoder)), resampler_(decoder_->SampleRate()) {
    Mixer::Get().Add(this);
}

StreamVoice::~StreamVoice() { Mixer::Get().Remove(this); }

uint32_t StreamVoice::Produce(int16_t* stereo, uint32_t frames) {
    uint32_t done = 0;
    while (done < frames) {
        uint32_t got = resampler_.Pull(*decoder_, stereo + done * 2, frames - done);
        done += got;
        framesSinceBase_ += got;
        if (done == frames) break;
        // The end of the sound: jump back to the loop frame, unless that gives nothing to play
        // (a loop frame at or past the end would otherwise spin here for ever).
        if (!looping_ || (got == 0 && framesSinceBase_ == 0) || !SeekLocked(loopFrame_)) {
            ended_ = true;
            break;
        }
    }
    return done;
}

bool StreamVoice::SeekLocked(uint64_t frame) {
    if (!decoder_->Seek(frame)) return false;
    resampler_.Reset();
    baseFrame_ = frame;
    framesSinceBase_ = 0;
    return true;
}

void StreamVoice::Start(uint64_t frame, bool loop, uint64_t loopFrame) {
    std::lock_guard<std::mutex> guard(Mixer::Get().Lock());
    looping_ = loop;
    loopFrame_ = loopFrame;
    ended_ = false;
    if (SeekLocked(frame)) Mixer::Get().Start(*this);
}

void StreamVoice::Halt() {
    std::lock_guard<std::mutex> guard(Mixer::Get().Lock());
    Mixer::Get().Halt(*this);
}

void StreamVoice::Resume() {
    std::lock_guard<std::mutex> guard(Mixer::Get().Lock());
    if (!playing && !ended_) Mixer::Get().Start(*this);
}

bool StreamVoice::IsPlaying() {
    std::lock_guard<std::mutex> guard(Mixer::Get().Lock());
    return playing;
}

bool StreamVoice::Ended() {
    std::lock_guard<std::mutex> guard(Mixer::Get().Lock());
    return ended_;
}

uint64_t StreamVoice::PositionFrames() {
    std::lock_guard<std::mutex> guard(Mixer::Get().Lock());
    return baseFrame_ + framesSinceBase_ * decoder_->SampleRate() / kMixRate;
}

bool StreamVoice::Seek(uint64_t frame) {
    std::lock_guard<std::mutex> guard(Mixer::Get().Lock());
    bool wasPlaying = playing;
    Mixer::Get().Halt(*this);
    if (!SeekLocked(frame)) return false;
    ended_ = false;
    if (wasPlaying) Mixer::Get().Start(*this);
    return true;
}

void StreamVoice::SetGain(float left, float right) {
    std::lock_guard<std::mutex> guard(Mixer::Get().Lock());
    Mixer::Get().SetGain(*this, left, right);
}

}  // namespace platform::audio
