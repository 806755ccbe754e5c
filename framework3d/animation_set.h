// Animation tracks and animation sets of a model: a set (CAnimation) holds one track per
// animated frame (LibModel::AnimasionSet, named after the frame), and a track turns a time
// into the frame's local matrix, or into its translation, scale and rotation.
#pragma once

#include <cstdint>

#include "framework/core/collision.h"
#include "framework/core/matrix.h"
#include "framework/graphics/object_base.h"
#include "platform/d3dx/maths.h"

namespace LibModel {

class AnimasionSet : public CBaseObject {
public:
    using Quaternion = platform::d3dx::Quaternion;
    static const CClassName kClassName;  // "LibModel::AnimasionSet"

    AnimasionSet() = default;
    ~AnimasionSet() override;  // releases the seven curves and the rotation keys

    // Takes count rotation keys (count above 0) and repeats the last one after them.
    bool SetRotationKeys(const Quaternion* keys, uint32_t count);

    // The local matrix at `time`: scale, then rotation, then translation; each part from its
    // curves when the track has them all, else from the frame's default. `mode` is the curve
    // interpolation mode.
    void GetMatrix(CMatrix* out, float time, uint32_t mode, const CVector3& defaultTranslation,
                   const CVector3& defaultScale, const CMatrix& defaultRotation) const;
    void GetTransform(CVector3* translation, CVector3* scale, Quaternion* rotation, float time,
                      uint32_t mode, const CVector3& defaultTranslation, const CVector3& defaultScale,
                      const CMatrix& defaultRotation) const;

    int32_t translationX = -1, translationY = -1, translationZ = -1;  // curve handles
    int32_t scaleX = -1, scaleY = -1, scaleZ = -1;
    int32_t rotationIndex = -1;  // maps a time to a rotation key index (key i has the value i)
    Quaternion* rotationKeys = nullptr;  // rotationKeyCount keys and the last one again
    uint32_t rotationKeyCount = 0;

private:
    CVector3 Scale(float time, uint32_t mode, const CVector3& defaultScale) const;
    CVector3 Translation(float time, uint32_t mode, const CVector3& defaultTranslation) const;
    // The interpolated rotation key; false when the track has no rotation keys.
    bool Rotation(float time, uint32_t mode, Quaternion* out) const;
};

}  // namespace LibModel

// One animation set: its name is the set's name, its children are its tracks.
class CAnimation : public CBaseObject {
public:
    virtual void SetLength(uint32_t length) { length_ = length; }
    virtual uint32_t GetLength() const { return length_; }  // the largest key time of the set

private:
    uint32_t length_ = 0;
};
