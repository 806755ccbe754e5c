#include "framework3d/animation.h"

#include <cmath>

#include "framework/core/lock.h"

namespace {

struct AnimationRecord {
    uint8_t inUse;
    float* coefficients;  // polynomial coefficients, one per key; nothing fills them
    AnimationKey* keys;
    uint32_t keyCount;
    float lastTime;
};

AnimationRecord* g_records = nullptr;

AnimationRecord* RecordOf(int32_t handle) {
    if (!g_records || handle < 0 || handle >= ZethAnimation::kRecords) return nullptr;
    AnimationRecord* record = &g_records[handle];
    return record->inUse ? record : nullptr;
}

void ReleaseRecord(AnimationRecord* record) {
    Zeth::MemoryFree(record->keys);
    Zeth::MemoryFree(record->coefficients);
    *record = AnimationRecord{};
}

// A tangent from the neighbours: the difference d scaled by the ratio of the segment to the
// span around it; d alone where that span has no length (a curve of two keys, whose circular
// neighbours are each other).
double NeighbourTangent(double segment, double span, double beside, double d) {
    return span != 0.0 ? (segment / span) * (beside + d) : d;
}

double Hermite(const AnimationKey& k, const AnimationKey& nx, double s) {
    const double d = double(nx.value) - k.value;
    const double m0 = k.hasOutTangent ? double(k.outTangent)
                                      : NeighbourTangent(double(nx.time) - k.time, double(nx.time) - k.prev->time,
                                                         double(k.value) - k.prev->value, d);
    const double m1 = nx.hasInTangent ? double(nx.inTangent)
                                      : NeighbourTangent(double(nx.time) - k.time, double(nx.next->time) - k.time,
                                                         double(nx.next->value) - nx.value, d);
    const double s2 = s * s, s3 = s2 * s;
    const double h = float(3.0 * s2 - 2.0 * s3);
    return m0 * (s3 - 2.0 * s2 + s) + (1.0 - h) * k.value + h * nx.value + (s3 - s2) * m1;
}

}  // namespace

namespace ZethAnimation {

bool Initialize() {
    g_records = static_cast<AnimationRecord*>(Zeth::MemoryAlloc(uint32_t(sizeof(AnimationRecord)) * kRecords));
    return true;
}

void Finalize() {
    if (!g_records) return;
    for (int i = 0; i < kRecords; ++i) ReleaseRecord(&g_records[i]);
    Zeth::MemoryFree(g_records);
    g_records = nullptr;
}

}  // namespace ZethAnimation

int32_t AnimationCreate(uint32_t keyCount) {
    if (!g_records || keyCount == 0 || keyCount > UINT32_MAX / sizeof(AnimationKey)) return -1;
    for (int32_t i = 0; i < ZethAnimation::kRecords; ++i) {
        AnimationRecord& r = g_records[i];
        if (r.inUse) continue;
        r.keys = static_cast<AnimationKey*>(Zeth::MemoryAlloc(uint32_t(sizeof(AnimationKey)) * keyCount));
        r.coefficients = static_cast<float*>(Zeth::MemoryAlloc(uint32_t(sizeof(float)) * keyCount));
        if (!r.keys || !r.coefficients) {
            ReleaseRecord(&r);
            return -1;
        }
        r.inUse = 1;
        r.keyCount = keyCount;
        for (uint32_t k = 0; k < keyCount; ++k) {
            r.keys[k].next = &r.keys[(k + 1) % keyCount];
            r.keys[k].prev = &r.keys[(k + keyCount - 1) % keyCount];
        }
        return i;
    }
    return -1;
}

void AnimationRelease(int32_t handle) {
    if (AnimationRecord* r = RecordOf(handle)) ReleaseRecord(r);
}

void AnimationSetKey(int32_t handle, uint32_t index, float time, float value, bool hasInTangent,
                     bool hasOutTangent, float inTangent, float outTangent) {
    AnimationRecord* r = RecordOf(handle);
    if (!r) return;
    AnimationKey& k = r->keys[index % r->keyCount];
    k.time = time;
    k.value = value;
    k.hasInTangent = hasInTangent;
    k.hasOutTangent = hasOutTangent;
    k.inTangent = inTangent;
    k.outTangent = outTangent;
    r->lastTime = r->keys[r->keyCount - 1].time;
}

const AnimationKey* AnimationFindKey(const AnimationKey* keys, float time, uint32_t keyCount) {
    if (!keys || keyCount == 0) return nullptr;
    if (time <= keys[0].time) return &keys[0];
    if (time >= keys[keyCount - 1].time) return &keys[keyCount - 1];
    // Inside this loop time lies below the last key's time, so mid never reaches the last key
    // and mid + 1 stays inside the array.
    int64_t lo = 0, hi = int64_t(keyCount) - 1;
    while (lo <= hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (time >= keys[mid].time) {
            lo = mid + 1;
            if (time <= keys[lo].time) return &keys[mid];
        } else {
            hi = mid - 1;
        }
    }
    return nullptr;
}

float AnimationGetValue(int32_t handle, float time, uint32_t mode, float defaultValue) {
    const AnimationRecord* r = RecordOf(handle);
    if (!r || mode > kAnimationHermite) return defaultValue;
    if (!(time > 0.0f)) return r->keys[0].value;
    if (time >= r->lastTime) return r->keys[r->keyCount - 1].value;
    const AnimationKey* k = AnimationFindKey(r->keys, time, r->keyCount);
    if (!k) return defaultValue;
    const AnimationKey& nx = *k->next;
    const double t = time;
    // Keys of equal time and different values hold no segment: the start key's value.
    const double span = double(nx.time) - k->time;
    const double s = k->value != nx.value && span != 0.0 ? (t - k->time) / span : 0.0;
    switch (mode) {
        case kAnimationStep:
            return k->value;
        case kAnimationLinear:
            return float(k->value + (double(nx.value) - k->value) * s);
        case kAnimationPolynomial: {
            const uint32_t n = r->keyCount;
            double result = r->coefficients[n - 1];
            for (uint32_t i = n - 1; i-- > 0;) result = result * (t - r->keys[i].time) + r->coefficients[i];
            return float(result);
        }
        default:
            return float(Hermite(*k, nx, s));
    }
}
