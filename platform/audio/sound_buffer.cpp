#include <algorithm>

#include "platform/audio/audio.h"
#include "platform/audio/mixer_internal.h"

namespace platform::audio {

// Plays shared samples from its own position; duplicates of a buffer share one sample block.
class BufferVoice : public Voice {
public:
    explicit BufferVoice(std::shared_ptr<const std::vector<int16_t>> samples)
        : samples_(std::move(samples)), frames_(static_cast<uint32_t>(samples_->size() / 2)) {
        Mixer::Get().Add(this);
    }
    ~BufferVoice() override { Mixer::Get().Remove(this); }
    BufferVoice(const BufferVoice&) = delete;
    BufferVoice& operator=(const BufferVoice&) = delete;

    uint32_t Produce(int16_t* stereo, uint32_t frames) override {
        uint32_t done = 0;
        while (done < frames) {
            uint32_t count = std::min(frames - done, frames_ - position_);
            std::copy_n(samples_->data() + position_ * 2, count * 2, stereo + done * 2);
            done += count;
            position_ += count;
            if (position_ < frames_) continue;
            position_ = 0;
            if (!looping) {
                finished = true;
                break;
            }
        }
        return done;
    }

    std::shared_ptr<const std::vector<int16_t>> samples_;
    uint32_t frames_;
    uint32_t position_ = 0;
    bool looping = false;
};

SoundBuffer::SoundBuffer(std::shared_ptr<const std::vector<int16_t>> samples)
    : voice_(std::make_unique<BufferVoice>(std::move(samples))) {}

SoundBuffer::~SoundBuffer() = default;

std::unique_ptr<SoundBuffer> SoundBuffer::Create(const PcmFormat& format, const void* samples, uint32_t bytes) {
    if (!IsPlayableFormat(format) || bytes < FrameBytes(format)) return nullptr;
    if (uint64_t{bytes / FrameBytes(format)} * kMixRate > uint64_t{kMaxFrames} * format.sampleRate) return nullptr;
    WaveInfo info;
    info.format = format;
    info.dataSize = bytes;
    auto decoder = OpenPcmDecoder(std::make_unique<MemoryReader>(samples, bytes), info);
    auto converted = std::make_shared<const std::vector<int16_t>>(DecodeAll(*decoder));
    if (converted->empty()) return nullptr;
    return std::unique_ptr<SoundBuffer>(new SoundBuffer(converted));
}

std::unique_ptr<SoundBuffer> SoundBuffer::Duplicate() const {
    std::unique_ptr<SoundBuffer> copy(new SoundBuffer(voice_->samples_));
    copy->volume_ = volume_;
    copy->pan_ = pan_;
    copy->ApplyGain();
    return copy;
}

void SoundBuffer::Play(bool loop) {
    auto guard = Mixer::Get().Hold();
    voice_->looping = loop;
    if (!voice_->playing) Mixer::Get().Start(*voice_);
}

void SoundBuffer::Stop() {
    auto guard = Mixer::Get().Hold();
    Mixer::Get().Halt(*voice_);
}

bool SoundBuffer::IsPlaying() const {
    auto guard = Mixer::Get().Hold();
    return voice_->playing;
}

uint32_t SoundBuffer::GetPosition() const {
    auto guard = Mixer::Get().Hold();
    return voice_->position_;
}

bool SoundBuffer::SetPosition(uint32_t frame) {
    auto guard = Mixer::Get().Hold();
    if (frame > voice_->frames_) return false;
    // A jump while playing is a step in the wave: fade in again from the new place.
    if (voice_->playing && frame != voice_->position_) Mixer::Get().Start(*voice_);
    voice_->position_ = frame;
    return true;
}

void SoundBuffer::SetVolume(int32_t hundredthsDb) {
    volume_ = std::clamp(hundredthsDb, kVolumeSilent, kVolumeFull);
    ApplyGain();
}

void SoundBuffer::SetPan(int32_t hundredthsDb) {
    pan_ = std::clamp(hundredthsDb, kVolumeSilent, -kVolumeSilent);
    ApplyGain();
}

uint32_t SoundBuffer::FrameCount() const { return voice_->frames_; }

void SoundBuffer::ApplyGain() {
    float gain = GainFromHundredthsDb(volume_);
    float left = gain * GainFromHundredthsDb(std::min(0, -pan_));
    float right = gain * GainFromHundredthsDb(std::min(0, pan_));
    auto guard = Mixer::Get().Hold();
    Mixer::Get().SetGain(*voice_, left, right);
}

}  // namespace platform::audio
