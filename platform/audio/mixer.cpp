#include <algorithm>
#include <cmath>

#include "platform/audio/audio.h"
#include "platform/audio/mixer_internal.h"

namespace platform::audio {

Mixer& Mixer::Get() {
    static Mixer mixer;
    return mixer;
}

std::unique_lock<std::mutex> Mixer::Hold() {
    PullSilentSink();
    return std::unique_lock<std::mutex>(lock_);
}

void Mixer::Add(Voice* voice) {
    std::lock_guard<std::mutex> guard(lock_);
    voices_.push_back(voice);
}

void Mixer::Remove(Voice* voice) {
    std::lock_guard<std::mutex> guard(lock_);
    Halt(*voice);
    voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end());
}

void Mixer::Start(Voice& voice) {
    if (voice.playing) AddDeclick(voice.lastLeft, voice.lastRight);
    voice.playing = true;
    voice.finished = false;
    voice.gainLeft = voice.gainRight = 0.0f;
    voice.rampLeft = kRampFrames;
    voice.lastLeft = voice.lastRight = 0.0f;
}

void Mixer::Halt(Voice& voice) {
    if (!voice.playing) return;
    voice.playing = false;
    AddDeclick(voice.lastLeft, voice.lastRight);
    voice.lastLeft = voice.lastRight = 0.0f;
}

void Mixer::SetGain(Voice& voice, float left, float right) {
    if (voice.targetLeft == left && voice.targetRight == right) return;
    voice.targetLeft = left;
    voice.targetRight = right;
    voice.rampLeft = kRampFrames;
}

// The declick offset falls linearly to 0 over kRampFrames; a new step adds to what is left.
void Mixer::AddDeclick(float left, float right) {
    float remaining = static_cast<float>(declickFrames_) / kRampFrames;
    declickLeft_ = declickLeft_ * remaining + left;
    declickRight_ = declickRight_ * remaining + right;
    declickFrames_ = kRampFrames;
}

void Mixer::Render(int16_t* out, uint32_t frames) {
    constexpr uint32_t kChunk = 512;
    float mix[kChunk * 2];
    int16_t voiceFrames[kChunk * 2];
    std::lock_guard<std::mutex> guard(lock_);
    while (frames > 0) {
        uint32_t count = std::min(frames, kChunk);
        std::fill(mix, mix + count * 2, 0.0f);
        for (Voice* voice : voices_) {
            if (!voice->playing) continue;
            uint32_t produced = voice->Produce(voiceFrames, count);
            for (uint32_t i = 0; i < produced; ++i) {
                if (voice->rampLeft > 0) {
                    voice->gainLeft += (voice->targetLeft - voice->gainLeft) / static_cast<float>(voice->rampLeft);
                    voice->gainRight += (voice->targetRight - voice->gainRight) / static_cast<float>(voice->rampLeft);
                    --voice->rampLeft;
                }
                voice->lastLeft = voiceFrames[i * 2] * voice->gainLeft;
                voice->lastRight = voiceFrames[i * 2 + 1] * voice->gainRight;
                mix[i * 2] += voice->lastLeft;
                mix[i * 2 + 1] += voice->lastRight;
            }
            if (voice->finished) Halt(*voice);
        }
        for (uint32_t i = 0; i < count; ++i) {
            if (declickFrames_ > 0) {
                float weight = static_cast<float>(declickFrames_) / kRampFrames;
                mix[i * 2] += declickLeft_ * weight;
                mix[i * 2 + 1] += declickRight_ * weight;
                --declickFrames_;
            }
            for (int c = 0; c < 2; ++c) {
                float value = std::clamp(mix[i * 2 + c], -32768.0f, 32767.0f);
                out[i * 2 + c] = static_cast<int16_t>(std::lrint(value));
            }
        }
        out += count * 2;
        frames -= count;
    }
}

void RenderFrames(int16_t* out, uint32_t frames) { Mixer::Get().Render(out, frames); }

int32_t PercentToHundredthsDb(float volume) {
    if (volume > 100.0f) return kVolumeFull;
    if (volume < 0.0f) return kVolumeSilent;
    // Squared directly: a power-and-logarithm form rounds 50 down to -2499.
    double quiet = 100.0 - static_cast<double>(volume);
    return static_cast<int32_t>(-(quiet * quiet));
}

float GainFromHundredthsDb(int32_t volume) {
    if (volume <= kVolumeSilent) return 0.0f;
    if (volume >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

Resampler::Resampler(uint32_t sourceRate) : step_((static_cast<uint64_t>(sourceRate) << 32) / kMixRate), phase_(0) {}

void Resampler::Reset() {
    primed_ = false;
    drained_ = false;
    phase_ = 0;
    bufferFill_ = bufferRead_ = 0;
}

bool Resampler::NextSourceFrame(Decoder& decoder, int16_t* frame) {
    if (bufferRead_ == bufferFill_) {
        bufferFill_ = decoder.Read(buffer_, sizeof(buffer_) / sizeof(buffer_[0]) / 2);
        bufferRead_ = 0;
        if (bufferFill_ == 0) return false;
    }
    frame[0] = buffer_[bufferRead_ * 2];
    frame[1] = buffer_[bufferRead_ * 2 + 1];
    ++bufferRead_;
    return true;
}

uint32_t Resampler::Pull(Decoder& decoder, int16_t* out, uint32_t frames) {
    constexpr uint64_t kOne = uint64_t{1} << 32;
    if (step_ == kOne) return decoder.Read(out, frames);
    if (!primed_) {
        if (!NextSourceFrame(decoder, current_)) return 0;
        drained_ = !NextSourceFrame(decoder, next_);
        if (drained_) std::copy(current_, current_ + 2, next_);
        primed_ = true;
    }
    uint32_t done = 0;
    while (done < frames) {
        // The last source frame is held for its whole length, so a sound lasts as long at the
        // mix rate as at its own.
        while (phase_ >= kOne) {
            if (drained_) return done;
            std::copy(next_, next_ + 2, current_);
            drained_ = !NextSourceFrame(decoder, next_);
            if (drained_) std::copy(current_, current_ + 2, next_);
            phase_ -= kOne;
        }
        int32_t fraction = static_cast<int32_t>(phase_ >> 16);  // 0-65535
        for (int c = 0; c < 2; ++c) {
            int32_t delta = next_[c] - current_[c];
            out[done * 2 + c] = static_cast<int16_t>(current_[c] + ((delta * static_cast<int64_t>(fraction)) >> 16));
        }
        phase_ += step_;
        ++done;
    }
    return done;
}

std::vector<int16_t> DecodeAll(Decoder& decoder) {
    Resampler resampler(decoder.SampleRate());
    std::vector<int16_t> samples;
    int16_t chunk[2048];
    while (uint32_t got = resampler.Pull(decoder, chunk, 1024)) {
        samples.insert(samples.end(), chunk, chunk + got * 2);
    }
    return samples;
}

}  // namespace platform::audio
