#include "framework3d/model_frame.h"

#include <strings.h>

#include "framework/app/log.h"
#include "framework/core/lock.h"
#include "framework3d/model_mesh.h"

namespace d3dx = platform::d3dx;

int CBaseNode::dumpDepth_ = 0;

void CBaseNode::DumpLine(bool bold) const {
    for (int level = 0; level < dumpDepth_; ++level) ZethLog::Print("　");
    if (bold) {
        ZethLog::PrintBold("[ %s ]", GetName());
    } else {
        ZethLog::Print("[ %s ]", GetName());
    }
    ZethLog::PrintBreak();
}

namespace LibModel {

const CClassName CFrame::kClassName("LibModel::CFrame");

CFrame::~CFrame() {
    for (uint32_t i = 0; i < trackCount_; ++i) {
        if (tracks_[i] != nullptr) tracks_[i]->Release();
    }
    Zeth::MemoryFree(tracks_);
    while (CBaseObject* child = children_.GetTop()) {
        children_.Remove(child);
        child->Release();
    }
    if (mesh_ != nullptr) mesh_->Release();
}

void CFrame::UpdateWorld(const CMatrix& parentWorld, uint32_t arg) {
    worldMatrix = animatedMatrix * parentWorld;
    for (CBaseObject* child = children_.GetTop(); child != nullptr; child = CObjectList::GetNext(child)) {
        static_cast<CFrame*>(child)->UpdateWorld(worldMatrix, arg);
    }
    if (mesh_ != nullptr) mesh_->UpdateWorld(worldMatrix, arg);
}

void CFrame::Animate(float timeA, float timeB, uint32_t mode) {
    if (tracks_ == nullptr) return;
    const AnimasionSet* a = Track(animationA_);
    const AnimasionSet* b = Track(animationB_);
    if ((blend_ <= 0.0f && a == nullptr) || (blend_ >= 1.0f && b == nullptr) || (a == nullptr && b == nullptr)) {
        animatedMatrix = localMatrix;
    } else if (a == nullptr || b == nullptr || blend_ <= 0.0f || blend_ >= 1.0f) {
        // One track alone, or the blend at one of its ends.
        const bool useA = b == nullptr || (a != nullptr && blend_ <= 0.0f);
        (useA ? a : b)->GetMatrix(&animatedMatrix, useA ? timeA : timeB, mode, defaultTranslation, defaultScale,
                                  defaultRotation);
    } else {
        CVector3 translationA, scaleA, translationB, scaleB;
        d3dx::Quaternion rotationA{}, rotationB{}, rotation{};
        a->GetTransform(&translationA, &scaleA, &rotationA, timeA, mode, defaultTranslation, defaultScale,
                        defaultRotation);
        b->GetTransform(&translationB, &scaleB, &rotationB, timeB, mode, defaultTranslation, defaultScale,
                        defaultRotation);
        auto mix = [this](const CVector3& from, const CVector3& to) {
            return CVector3((to.x - from.x) * blend_ + from.x, (to.y - from.y) * blend_ + from.y,
                            (to.z - from.z) * blend_ + from.z);
        };
        const CVector3 scale = mix(scaleA, scaleB), translation = mix(translationA, translationB);
        d3dx::D3DXQuaternionSlerp(&rotation, &rotationA, &rotationB, blend_);
        d3dx::Matrix turn;
        d3dx::D3DXMatrixRotationQuaternion(&turn, &rotation);
        CMatrix scaling;
        scaling.Scaling(scale.x, scale.y, scale.z);
        animatedMatrix = scaling * CMatrix(&turn.m[0][0]);
        animatedMatrix.m[3][0] = translation.x;
        animatedMatrix.m[3][1] = translation.y;
        animatedMatrix.m[3][2] = translation.z;
    }
    for (CBaseObject* child = children_.GetTop(); child != nullptr; child = CObjectList::GetNext(child)) {
        static_cast<CFrame*>(child)->Animate(timeA, timeB, mode);
    }
    if (mesh_ != nullptr) mesh_->Animate(timeA, timeB, mode);
}

uint32_t CFrame::Render() {
    uint32_t drawn = 0;
    for (CBaseObject* child = children_.GetTop(); child != nullptr; child = CObjectList::GetNext(child)) {
        drawn += static_cast<CFrame*>(child)->Render();
    }
    if (mesh_ != nullptr) drawn += mesh_->Render();
    return drawn;
}

void CFrame::Dump() {
    DumpLine(false);
    ++dumpDepth_;
    if (mesh_ != nullptr) mesh_->Dump();
    for (CBaseObject* child = children_.GetTop(); child != nullptr; child = CObjectList::GetNext(child)) {
        static_cast<CFrame*>(child)->Dump();
    }
    --dumpDepth_;
}

void CFrame::CollectFrames(CFrame** array, uint32_t& count) {
    if (array != nullptr) array[count] = this;
    ++count;
    for (CBaseObject* child = children_.GetTop(); child != nullptr; child = CObjectList::GetNext(child)) {
        static_cast<CFrame*>(child)->CollectFrames(array, count);
    }
}

void CFrame::CollectMeshes(CBaseMesh** array, uint32_t& count) {
    if (mesh_ != nullptr) {
        if (array != nullptr) array[count] = mesh_;
        ++count;
    }
    for (CBaseObject* child = children_.GetTop(); child != nullptr; child = CObjectList::GetNext(child)) {
        static_cast<CFrame*>(child)->CollectMeshes(array, count);
    }
}

bool CFrame::GetTrack(uint32_t index, const CClassName& classId, AnimasionSet** out) {
    if (!(classId == AnimasionSet::kClassName) || index >= trackCount_) return false;
    *out = tracks_[index];
    if (*out != nullptr) (*out)->AddRef();
    return true;
}

bool CFrame::GetTrackByName(const char* name, const CClassName& classId, AnimasionSet** out) {
    const int32_t index = FindTrackIndex(name);
    return index >= 0 && GetTrack(uint32_t(index), classId, out);
}

int32_t CFrame::FindTrackIndex(const char* name) {
    for (uint32_t i = 0; i < trackCount_; ++i) {
        if (tracks_[i] != nullptr && strcasecmp(tracks_[i]->GetName(), name) == 0) return int32_t(i);
    }
    return -1;
}

void CFrame::SetAnimation(uint32_t a, uint32_t b, float blend) {
    animationA_ = a;
    animationB_ = b;
    blend_ = blend;
}

void CFrame::AddChild(CFrame* frame) { children_.AddTail(frame); }

CBaseMesh* CFrame::SetMesh(CBaseMesh* mesh) {
    if (mesh_ == nullptr) mesh_ = mesh;
    return mesh_;
}

void CFrame::SetLocalMatrix(const float sixteen[16]) {
    localMatrix.Set(sixteen);
    animatedMatrix = localMatrix;
    localMatrix.Decompose(&defaultTranslation, &defaultScale, &defaultRotation);
}

void CFrame::AllocateTracks(uint32_t count) {
    if (count == 0 || tracks_ != nullptr) return;
    tracks_ = static_cast<AnimasionSet**>(Zeth::MemoryAlloc(count * uint32_t(sizeof(AnimasionSet*))));
    if (tracks_ != nullptr) trackCount_ = count;
}

void CFrame::BindTrack(uint32_t setIndex, CAnimation* set) {
    if (setIndex >= trackCount_ || tracks_[setIndex] != nullptr) return;
    for (CBaseObject* track = set->GetChild(); track != nullptr; track = track->GetNextSibling()) {
        if (strcasecmp(track->GetName(), GetName()) == 0) {
            tracks_[setIndex] = static_cast<AnimasionSet*>(track);
            track->AddRef();
            return;
        }
    }
}

}  // namespace LibModel
