// Reads an X file (text or binary) into a CModelData: frames, the meshes hung on them with
// their materials, and the animation sets; and the model manager's two loads built on it,
// which log each load and then load the textures the materials name.
#pragma once

#include <cstdint>

#include "framework/graphics/managers.h"
#include "framework3d/model_data.h"
#include "platform/d3dx/xfile.h"

class CXFileLoader : public CBaseObject {
public:
    ~CXFileLoader() override;  // releases its reference on the model and the animation sets

    virtual bool ParseTopLevel(d3dx::XFileEnumObject* enumeration);
    virtual bool ParseFrame(d3dx::XFileData* data, LibModel::CFrame* frame);
    virtual bool ParseFrameMatrix(d3dx::XFileData* data, LibModel::CFrame* frame);
    // Loads one mesh onto the frame; a mesh that fails, has too many bones, or that the frame
    // refuses (it already carries one) is left out. Always true.
    virtual bool LoadMesh(d3dx::XFileData* data, LibModel::CFrame* parent);
    virtual bool ParseAnimationSet(d3dx::XFileData* data, CAnimation* set);
    virtual bool ParseAnimation(d3dx::XFileData* data, LibModel::AnimasionSet* track, CAnimation* set);
    // One material child a file material; a mesh without materials gets one default material.
    virtual bool LoadMaterials(LibModel::CBaseMesh* mesh, d3dx::Buffer* materials, uint32_t count);
    // A mesh whose format lacks normals is replaced by a clone with them, computed; false,
    // logged, when the clone cannot be made.
    virtual bool EnsureNormals(d3dx::Mesh** mesh);
    virtual void AttachMeshes();
    virtual bool LoadFromFile(const char* file, uint16_t shaderMajor, uint16_t shaderMinor,
                              ZethModelExManager* manager);
    virtual bool LoadFromMemory(const void* data, uint32_t size, uint16_t shaderMajor, uint16_t shaderMinor,
                                ZethModelExManager* manager);
    virtual bool GetModel(CModelData** out);  // with a new reference; false when none was built

    static constexpr uint32_t kMaxBones = 48;

private:
    // Reads one AnimationKey list into the track; a broken list is skipped with a red line.
    void ReadKeys(d3dx::XFileData* data, LibModel::AnimasionSet* track, uint32_t* longest);
    void ReleaseAnimationSets();

    CModelData* model_ = nullptr;
    uint16_t shaderVersionMajor_ = 0;
    uint16_t shaderVersionMinor_ = 0;
    CObjectList animationSets_;
    bool loggedExtraRoot_ = false;
};
