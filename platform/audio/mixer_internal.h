// The mixer: every voice is summed into the output on the mix thread. The game thread changes a
// voice only while it holds the mixer lock, so the mix never sees half a change.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/decoder_internal.h"

namespace platform::audio {


// One sound being mixed. Fields are guarded by the mixer lock.
class Voice {
public:
    virtual ~Voice() = default;
    // Fills stereo frames at the mix rate and sets finished when the sound has no more (it may
    // then fill fewer than asked). Mix thread, under the mixer lock.
    virtual uint32_t Produce(int16_t* stereo, uint32_t frames) = 0;

    bool playing = false;
    bool finished = false;  // played to its end since the last start
    float targetLeft = 1.0f, targetRight = 1.0f;  // linear gains the ramp heads for
    float gainLeft = 0.0f, gainRight = 0.0f;      // linear gains in use
    uint32_t rampLeft = 0;                        // frames until the gains reach their targets
    float lastLeft = 0.0f, lastRight = 0.0f;      // the last frame this voice added to the mix
};

// Mixes what the silent sink owes up to the clock's time; nothing for other outputs. Never called
// with the mixer lock held.
void PullSilentSink();

class Mixer {
public:
    static Mixer& Get();

    // Holds the lock for a change or a question from the game thread, after bringing the silent
    // sink up to the clock's time.
    std::unique_lock<std::mutex> Hold();
    // Add and Remove take the lock themselves; a removed voice is never touched again.
    void Add(Voice* voice);
    void Remove(Voice* voice);
    // The rest need the lock held. Start fades the voice in from silence; Halt silences it at once
    // and fades its last frame out of the mix instead, so neither makes a click.
    void Start(Voice& voice);
    void Halt(Voice& voice);
    void SetGain(Voice& voice, float left, float right);
    // Mixes frames of 16-bit stereo into out; takes the lock.
    void Render(int16_t* out, uint32_t frames);

private:
    void AddDeclick(float left, float right);

    std::mutex lock_;
    std::vector<Voice*> voices_;
    float declickLeft_ = 0.0f, declickRight_ = 0.0f;  // offset fading out of the mix
    uint32_t declickFrames_ = 0;
};

// Converts a decoder's frames to the mix rate by linear interpolation; an exact copy when the
// rates agree.
class Resampler {
public:
    explicit Resampler(uint32_t sourceRate);
    // Fills up to frames frames; fewer when the decoder ends.
    uint32_t Pull(Decoder& decoder, int16_t* out, uint32_t frames);
    void Reset();  // after the decoder was moved

private:
    bool NextSourceFrame(Decoder& decoder, int16_t* frame);

    uint64_t step_;   // source frames per output frame, 32.32 fixed point
    uint64_t phase_;  // position between current_ and next_, 32.32 fixed point
    bool primed_ = false;
    bool drained_ = false;  // next_ repeats the last source frame
    int16_t current_[2] = {}, next_[2] = {};
    int16_t buffer_[1024];
    uint32_t bufferFill_ = 0, bufferRead_ = 0;
};

// Decodes all of a decoder's frames at the mix rate.
std::vector<int16_t> DecodeAll(Decoder& decoder);

// A decoder played as a stream: starts at a frame, optionally jumps back to a loop frame at its
// end. Its operations (not Produce) take the mixer lock.
class StreamVoice : public Voice {
public:
    explicit StreamVoice(std::unique_ptr<Decoder> decoder);
    ~StreamVoice() override;
    StreamVoice(const StreamVoice&) = delete;
    StreamVoice& operator=(const StreamVoice&) = delete;

    uint32_t Produce(int16_t* stereo, uint32_t frames) override;

    void Start(uint64_t frame, bool loop, uint64_t loopFrame);  // plays from frame
    void Halt();                                                // stops where it is
    void Resume();                                              // plays on from where it stopped
    bool IsPlaying();
    bool Ended();                       // played to its end since the last start or seek
    uint64_t PositionFrames();          // source frames from the start of the sound
    bool Seek(uint64_t frame);
    void SetGain(float left, float right);
    uint32_t SourceRate() const { return decoder_->SampleRate(); }

private:
    bool SeekLocked(uint64_t frame);

    std::unique_ptr<Decoder> decoder_;
    Resampler resampler_;
    bool looping_ = false;
    uint64_t loopFrame_ = 0;
    uint64_t baseFrame_ = 0;       // source frame of the last seek
    uint64_t framesSinceBase_ = 0;  // mix-rate frames produced since then
};

}  // namespace platform::audio
