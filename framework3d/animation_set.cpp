#include "framework3d/animation_set.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/core/lock.h"
#include "framework3d/animation.h"

namespace LibModel {

namespace {

platform::d3dx::Matrix ToDevice(const CMatrix& m) {
    platform::d3dx::Matrix out;
    std::memcpy(out.m, m.m, sizeof out.m);
    return out;
}

}  // namespace

const CClassName AnimasionSet::kClassName("LibModel::AnimasionSet");

AnimasionSet::~AnimasionSet() {
    for (int32_t handle : {translationX, translationY, translationZ, scaleX, scaleY, scaleZ, rotationIndex}) {
        AnimationRelease(handle);
    }
    Zeth::MemoryFree(rotationKeys);
}

bool AnimasionSet::SetRotationKeys(const Quaternion* keys, uint32_t count) {
    if (!keys || count == 0 || count >= UINT32_MAX / sizeof(Quaternion)) return false;
    auto* copy = static_cast<Quaternion*>(Zeth::MemoryAlloc(uint32_t(sizeof(Quaternion)) * (count + 1)));
    if (!copy) return false;
    std::copy(keys, keys + count, copy);
    copy[count] = keys[count - 1];
    Zeth::MemoryFree(rotationKeys);
    rotationKeys = copy;
    rotationKeyCount = count;
    return true;
}

CVector3 AnimasionSet::Scale(float time, uint32_t mode, const CVector3& defaultScale) const {
    if (scaleX == -1 || scaleY == -1 || scaleZ == -1) return defaultScale;
    return {AnimationGetValue(scaleX, time, mode, 1.0f), AnimationGetValue(scaleY, time, mode, 1.0f),
            AnimationGetValue(scaleZ, time, mode, 1.0f)};
}

CVector3 AnimasionSet::Translation(float time, uint32_t mode, const CVector3& defaultTranslation) const {
    if (translationX == -1 || translationY == -1 || translationZ == -1) return defaultTranslation;
    return {AnimationGetValue(translationX, time, mode, 0.0f), AnimationGetValue(translationY, time, mode, 0.0f),
            AnimationGetValue(translationZ, time, mode, 0.0f)};
}

// The key index is kept inside the keys and the fraction inside 0..1 (not a number: 0), so
// a curve that overshoots between its keys never reads past the array.
bool AnimasionSet::Rotation(float time, uint32_t mode, Quaternion* out) const {
    if (!rotationKeys || rotationKeyCount == 0) return false;
    const float v = AnimationGetValue(rotationIndex, time, mode, 0.0f);
    uint32_t i = 0;
    float f = 0.0f;
    if (v > 0.0f) {
        const float whole = std::min(std::trunc(v), float(rotationKeyCount - 1));
        i = uint32_t(whole);
        f = std::clamp(v - whole, 0.0f, 1.0f);
    }
    platform::d3dx::D3DXQuaternionSlerp(out, &rotationKeys[i], &rotationKeys[i + 1], f);
    return true;
}

void AnimasionSet::GetMatrix(CMatrix* out, float time, uint32_t mode, const CVector3& defaultTranslation,
                             const CVector3& defaultScale, const CMatrix& defaultRotation) const {
    const CVector3 s = Scale(time, mode, defaultScale);
    CMatrix scaling;
    scaling.Scaling(s.x, s.y, s.z);
    CMatrix rotation = defaultRotation;
    Quaternion q;
    if (Rotation(time, mode, &q)) {
        platform::d3dx::Matrix m;
        platform::d3dx::D3DXMatrixRotationQuaternion(&m, &q);
        rotation.Set(&m.m[0][0]);
    }
    *out = scaling * rotation;
    const CVector3 t = Translation(time, mode, defaultTranslation);
    out->m[3][0] = t.x;
    out->m[3][1] = t.y;
    out->m[3][2] = t.z;
}

void AnimasionSet::GetTransform(CVector3* translation, CVector3* scale, Quaternion* rotation, float time,
                                uint32_t mode, const CVector3& defaultTranslation, const CVector3& defaultScale,
                                const CMatrix& defaultRotation) const {
    *scale = Scale(time, mode, defaultScale);
    if (!Rotation(time, mode, rotation)) {
        const platform::d3dx::Matrix m = ToDevice(defaultRotation);
        platform::d3dx::D3DXQuaternionRotationMatrix(rotation, &m);
    }
    *translation = Translation(time, mode, defaultTranslation);
}

}  // namespace LibModel
