// Feeds arbitrary bytes to the frame-hierarchy loader, then puts every mesh it built through the
// mesh operations: adjacency, attribute sorting, a clone with normals, normals, bounds and, for
// skinned meshes, the blended-mesh conversion.
#include <vector>

#include "platform/d3dx/mesh_hierarchy.h"

namespace d3dx = platform::d3dx;
namespace gfx = platform::gfx;

namespace {

class Allocator : public d3dx::AllocateHierarchy {
public:
    gfx::Result CreateFrame(const char*, d3dx::Frame** frame) override {
        *frame = new d3dx::Frame{};
        return 0;
    }
    gfx::Result CreateMeshContainer(const char*, const d3dx::MeshData* data, const d3dx::XMaterial*,
                                    const d3dx::EffectInstance*, uint32_t numMaterials, const uint32_t*,
                                    d3dx::SkinInfo* skin, d3dx::MeshContainer** container) override {
        Exercise(data->mesh, skin);
        *container = new d3dx::MeshContainer{};
        (*container)->numMaterials = numMaterials;
        return 0;
    }
    gfx::Result DestroyFrame(d3dx::Frame* frame) override {
        delete frame;
        return 0;
    }
    gfx::Result DestroyMeshContainer(d3dx::MeshContainer* container) override {
        delete container;
        return 0;
    }

private:
    static void Exercise(d3dx::Mesh* mesh, d3dx::SkinInfo* skin) {
        std::vector<uint32_t> adjacency(size_t(mesh->GetNumFaces()) * 3);
        mesh->GenerateAdjacency(0.0f, adjacency.data());
        d3dx::Mesh* clone = nullptr;
        if (mesh->CloneMeshFVF(d3dx::meshopt::kSystemMem, mesh->GetFVF() | gfx::fvf::kNormal, nullptr, &clone) == 0) {
            clone->OptimizeInplace(d3dx::optimize::kAttrSort, adjacency.data(), adjacency.data(), nullptr, nullptr);
            d3dx::ComputeNormals(clone, nullptr);
            gfx::Vector3 lo, hi, centre;
            float radius = 0.0f;
            const auto* first = reinterpret_cast<const gfx::Vector3*>(clone->VertexBytes());
            d3dx::ComputeBoundingBox(first, clone->GetNumVertices(), clone->GetNumBytesPerVertex(), &lo, &hi);
            d3dx::ComputeBoundingSphere(first, clone->GetNumVertices(), clone->GetNumBytesPerVertex(), &centre, &radius);
            clone->Release();
        }
        if (skin == nullptr) return;
        uint32_t influences = 0, count = 0;
        d3dx::Buffer* combinations = nullptr;
        d3dx::Mesh* blended = nullptr;
        if (skin->ConvertToIndexedBlendedMesh(mesh, 0, 32, nullptr, nullptr, nullptr, nullptr, &influences, &count,
                                              &combinations, &blended) == 0) {
            combinations->Release();
            blended->Release();
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Allocator alloc;
    d3dx::Frame* root = nullptr;
    if (d3dx::LoadMeshHierarchyFromMemory(data, size, d3dx::meshopt::kSystemMem, nullptr, &alloc, &root) == 0) {
        d3dx::FrameDestroy(root, &alloc);
    }
    return 0;
}
