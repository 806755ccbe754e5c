// Key-frame animation curves: scalar curves of (time, value) keys sampled with step, linear,
// polynomial or Hermite interpolation, kept in one pool and named by handle (the record
// index; -1 means none).
#pragma once

#include <cstdint>

namespace ZethAnimation {
constexpr int kRecords = 65536;
bool Initialize();  // true also when the pool cannot be allocated (every create then fails)
void Finalize();    // releases every curve and frees the pool
}  // namespace ZethAnimation

// One key. The links are circular: the first key's prev is the last key and the last key's
// next the first.
struct AnimationKey {
    float time;
    float value;
    uint8_t hasInTangent;
    uint8_t hasOutTangent;
    float inTangent;
    float outTangent;
    AnimationKey* prev;
    AnimationKey* next;
};

// Interpolation modes; any other mode samples to the caller's default.
enum AnimationMode : uint32_t { kAnimationStep = 0, kAnimationLinear, kAnimationPolynomial, kAnimationHermite };

// A new curve of keyCount zeroed keys; -1 when the pool is full or missing, or keyCount is 0.
int32_t AnimationCreate(uint32_t keyCount);
// Frees the curve; handles that name no curve in use are ignored.
void AnimationRelease(int32_t handle);
// Sets key (index mod key count) and the curve's last time; handles that name no curve are ignored.
void AnimationSetKey(int32_t handle, uint32_t index, float time, float value, bool hasInTangent,
                     bool hasOutTangent, float inTangent, float outTangent);
// The curve's value at `time`; the default for a handle that names no curve, a mode above 3,
// or keys the search finds no segment in (key times that are not numbers).
float AnimationGetValue(int32_t handle, float time, uint32_t mode, float defaultValue);
// The key that starts the segment holding `time` (keys in time order); null when the search
// finds none, or there are no keys.
const AnimationKey* AnimationFindKey(const AnimationKey* keys, float time, uint32_t keyCount);
