// Skin information: the bones of a mesh (name, offset matrix, the vertices each moves and by how
// much) and the conversion into an indexed blended mesh drawn in bone combinations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx/mesh.h"

namespace platform::d3dx {

// One group of faces drawn with one palette of bone matrices.
struct BoneCombination {
    uint32_t attribId;
    uint32_t faceStart;
    uint32_t faceCount;
    uint32_t vertexStart;
    uint32_t vertexCount;
    uint32_t* boneId;  // palette size entries: the bone of each slot, or kUnusedBone
};
constexpr uint32_t kUnusedBone = 0xFFFFFFFF;

// The vertex format of blended meshes: position, three weights, four blend-index bytes, normal,
// colour, one texture coordinate (52 bytes).
constexpr uint32_t kBlendedFvf = 0x115C;
constexpr uint32_t kMaxInfluences = 4;

class SkinInfo : public gfx::RefCounted {
public:
    // A skin of bones for a mesh of vertices vertices (the vertex format is kept for callers).
    static Result Create(uint32_t vertices, uint32_t fvf, uint32_t bones, SkinInfo** skin);

    uint32_t GetNumBones() const { return uint32_t(bones_.size()); }
    uint32_t GetNumVertices() const { return vertices_; }
    uint32_t GetFVF() const { return fvf_; }
    const char* GetBoneName(uint32_t bone) const;  // null past the last bone
    Result SetBoneName(uint32_t bone, const char* name);
    const gfx::Matrix* GetBoneOffsetMatrix(uint32_t bone) const;  // null past the last bone
    Result SetBoneOffsetMatrix(uint32_t bone, const gfx::Matrix* matrix);
    uint32_t GetNumBoneInfluences(uint32_t bone) const;
    // The vertices a bone moves and their weights; every index must name a vertex of the skin.
    Result SetBoneInfluence(uint32_t bone, uint32_t count, const uint32_t* vertices, const float* weights);
    Result GetBoneInfluence(uint32_t bone, uint32_t* vertices, float* weights) const;
    // The most bones that act on one vertex.
    Result GetMaxVertexInfluences(uint32_t* maxInfluences) const;

    // A copy of the mesh in kBlendedFvf, drawn in bone combinations of at most paletteSize
    // bones: each vertex keeps its four largest weights, renormalised to a sum of one, as
    // palette slots of its combination; the faces of one attribute are grouped in face order
    // while their bones fit the palette; a vertex used by two combinations is duplicated. The
    // new mesh's attributes (and attribute table) are the combination numbers. The adjacency
    // given is not needed (it may be null); adjacencyOut (3 a face), faceRemap (new face -> old)
    // and vertexRemap (new vertex -> old) may be null.
    Result ConvertToIndexedBlendedMesh(Mesh* mesh, uint32_t options, uint32_t paletteSize,
                                       const uint32_t* adjacencyIn, uint32_t* adjacencyOut, uint32_t* faceRemap,
                                       Buffer** vertexRemap, uint32_t* maxVertexInfluences,
                                       uint32_t* combinationCount, Buffer** combinations, Mesh** blended);

private:
    SkinInfo() = default;
    ~SkinInfo() override = default;

    struct Bone {
        std::string name;
        gfx::Matrix offset{};
        std::vector<uint32_t> vertices;
        std::vector<float> weights;
    };
    uint32_t vertices_ = 0;
    uint32_t fvf_ = 0;
    std::vector<Bone> bones_;
};

}  // namespace platform::d3dx
