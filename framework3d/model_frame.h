// The frame tree of a model: CBaseNode holds the matrices that frames and meshes share, and a
// LibModel::CFrame carries at most one mesh, one animation track per animation set of the
// model, and its child frames.
#pragma once

#include <cstdint>

#include "framework/core/collision.h"
#include "framework/core/matrix.h"
#include "framework/graphics/object_base.h"
#include "framework3d/animation_set.h"

class CBaseNode : public CBaseObject {
public:
    virtual const CMatrix& GetWorldMatrix() const { return worldMatrix; }
    // The world matrix under the parent's; `arg` is handed unchanged to every node below.
    virtual void UpdateWorld(const CMatrix& parentWorld, uint32_t arg) = 0;
    virtual void Animate(float timeA, float timeB, uint32_t mode) = 0;
    virtual uint32_t Render() = 0;  // primitives drawn
    virtual void Dump() = 0;

    CMatrix localMatrix;  // as the file gives it
    CVector3 defaultTranslation;
    CVector3 defaultScale{1.0f, 1.0f, 1.0f};
    CMatrix defaultRotation;  // the decomposition of localMatrix
    CMatrix animatedMatrix;   // localMatrix after animation
    CMatrix worldMatrix;      // animatedMatrix under the parent's world matrix

protected:
    // One line of the model dump: a full-width space per level of the dump depth, then the name.
    void DumpLine(bool bold) const;
    static int dumpDepth_;  // shared by every model
};

namespace LibModel {

class CBaseMesh;

class CFrame : public CBaseNode {
public:
    static const CClassName kClassName;  // "LibModel::CFrame"

    ~CFrame() override;  // releases the tracks, the child frames, then the mesh

    void UpdateWorld(const CMatrix& parentWorld, uint32_t arg) override;
    // Poses the frame from track `animationA` at timeA and `animationB` at timeB, blended by
    // `blend`, then its children and its mesh; a frame without tracks returns at once.
    void Animate(float timeA, float timeB, uint32_t mode) override;
    uint32_t Render() override;
    void Dump() override;

    // Pre-order walks that store into array at count and advance count; a null array only counts.
    virtual void CollectFrames(CFrame** array, uint32_t& count);
    virtual void CollectMeshes(CBaseMesh** array, uint32_t& count);
    // The track of an animation set, with a new reference (it may be null); false for another
    // class identity or an index past the tracks.
    virtual bool GetTrack(uint32_t index, const CClassName& classId, AnimasionSet** out);
    virtual bool GetTrackByName(const char* name, const CClassName& classId, AnimasionSet** out);
    virtual int32_t FindTrackIndex(const char* name);  // ignoring letter case; -1 when none
    virtual void SetAnimation(uint32_t a, uint32_t b, float blend);
    virtual void AddChild(CFrame* frame);  // the caller's reference passes to this frame
    // Takes the caller's reference when the frame has no mesh yet; returns the mesh attached
    // (the first one stays).
    virtual CBaseMesh* SetMesh(CBaseMesh* mesh);
    virtual void SetLocalMatrix(const float sixteen[16]);
    virtual void AllocateTracks(uint32_t count);  // count 0 leaves the frame without tracks
    // Stores, with a new reference, the set's first track named like this frame in slot setIndex.
    virtual void BindTrack(uint32_t setIndex, CAnimation* set);

    CBaseMesh* GetMesh() const { return mesh_; }
    const CObjectList& Children() const { return children_; }
    uint32_t GetTrackCount() const { return trackCount_; }

private:
    AnimasionSet* Track(uint32_t index) const { return index < trackCount_ ? tracks_[index] : nullptr; }

    CBaseMesh* mesh_ = nullptr;
    uint32_t trackCount_ = 0;
    AnimasionSet** tracks_ = nullptr;  // Zeth::MemoryAlloc
    CObjectList children_;
    uint32_t animationA_ = 0;
    uint32_t animationB_ = 0;
    float blend_ = 0.0f;
};

}  // namespace LibModel
