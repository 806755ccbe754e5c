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
            finished = true;
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
    auto guard = Mixer::Get().Hold();
    looping_ = loop;
    loopFrame_ = loopFrame;
    if (SeekLocked(frame)) Mixer::Get().Start(*this);
}

void StreamVoice::Halt() {
    auto guard = Mixer::Get().Hold();
    Mixer::Get().Halt(*this);
}

void StreamVoice::Resume() {
    auto guard = Mixer::Get().Hold();
    if (!playing && !finished) Mixer::Get().Start(*this);
}

bool StreamVoice::IsPlaying() {
    auto guard = Mixer::Get().Hold();
    return playing;
}

bool StreamVoice::Ended() {
    auto guard = Mixer::Get().Hold();
    return finished;
}

uint64_t StreamVoice::PositionFrames() {
    auto guard = Mixer::Get().Hold();
    return baseFrame_ + framesSinceBase_ * decoder_->SampleRate() / kMixRate;
}

bool StreamVoice::Seek(uint64_t frame) {
    auto guard = Mixer::Get().Hold();
    bool wasPlaying = playing;
    Mixer::Get().Halt(*this);
    if (!SeekLocked(frame)) return false;
    finished = false;
    if (wasPlaying) Mixer::Get().Start(*this);
    return true;
}

void StreamVoice::SetGain(float left, float right) {
    auto guard = Mixer::Get().Hold();
    Mixer::Get().SetGain(*this, left, right);
}

}  // namespace platform::audio
