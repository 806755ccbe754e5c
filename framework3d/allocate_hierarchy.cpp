// Frames and mesh containers of model hierarchies. A container that cannot be completed is
// destroyed with everything it already holds before the error is returned.
#include "framework3d/allocate_hierarchy.h"

#include <cstdlib>
#include <cstring>

#include "framework/app/log.h"
#include "framework/graphics/texture.h"

namespace gfx = platform::gfx;

namespace {

// Zero-filled storage for count records, freed with std::free; null when memory runs out.
template <typename T>
T* Zeroed(size_t count) {
    return static_cast<T*>(std::calloc(count == 0 ? 1 : count, sizeof(T)));
}

// A copy of the name in its own allocation; a null name stays null. False when memory runs out.
bool CopyName(const char* name, char** out) {
    *out = nullptr;
    if (name == nullptr) return true;
    const size_t size = std::strlen(name) + 1;
    *out = Zeroed<char>(size);
    if (*out == nullptr) return false;
    std::memcpy(*out, name, size);
    return true;
}

constexpr gfx::Matrix kIdentity{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

// The texture file a material names: a name with a drive ("C:\...") by its last component only.
const char* TextureFileOf(const char* name) {
    if (name[0] != '\0' && name[1] == ':') {
        const char* slash = std::strrchr(name, '\\');
        return slash != nullptr ? slash + 1 : name;
    }
    return name;
}

}  // namespace

gfx::Result CAllocateHierarchy::CreateFrame(const char* name, d3dx::Frame** newFrame) {
    *newFrame = nullptr;
    auto* frame = Zeroed<Frame>(1);
    if (frame == nullptr) return gfx::result::kOutOfMemory;
    if (!CopyName(name, &frame->name)) {
        std::free(frame);
        return gfx::result::kOutOfMemory;
    }
    frame->transformationMatrix = kIdentity;
    *newFrame = frame;
    ++frameCount;
    return gfx::result::kOk;
}

gfx::Result CAllocateHierarchy::CreateMeshContainer(const char* name, const d3dx::MeshData* meshData,
                                                    const d3dx::XMaterial* materials, const d3dx::EffectInstance*,
                                                    uint32_t numMaterials, const uint32_t* adjacency,
                                                    d3dx::SkinInfo* skinInfo, d3dx::MeshContainer** newMeshContainer) {
    ZethLog::Print("　　LOAD MESH : ");
    *newMeshContainer = nullptr;
    if (meshData->type != d3dx::meshtype::kMesh || meshData->mesh == nullptr) {
        ZethLog::PrintError("TYPE NOT MESH");
        ZethLog::PrintBreak();
        return gfx::result::kFail;
    }
    d3dx::Mesh* mesh = meshData->mesh;
    if (mesh->GetFVF() == 0) {
        ZethLog::PrintError("FVF is 0");
        ZethLog::PrintBreak();
        return gfx::result::kFail;
    }

    auto* container = Zeroed<MeshContainer>(1);
    // Every failure from here on frees the container with all it holds so far.
    auto fail = [this, &container](gfx::Result result) {
        if (container != nullptr) DestroyMeshContainer(container);
        return result;
    };
    auto outOfMemory = [&fail] {
        ZethLog::PrintError("MEMORY INSUFFICIENT");
        ZethLog::PrintBreak();
        return fail(gfx::result::kOutOfMemory);
    };
    if (container == nullptr || !CopyName(name, &container->name)) return outOfMemory();
    container->meshData.type = d3dx::meshtype::kMesh;

    if ((mesh->GetFVF() & gfx::fvf::kNormal) != 0) {
        mesh->AddRef();
        container->meshData.mesh = mesh;
    } else {
        gfx::Device* device = nullptr;
        mesh->GetDevice(&device);
        const gfx::Result cloned = mesh->CloneMeshFVF(mesh->GetOptions(), mesh->GetFVF() | gfx::fvf::kNormal, device,
                                                      &container->meshData.mesh);
        if (device != nullptr) device->Release();
        if (gfx::Failed(cloned)) return fail(cloned);
        d3dx::ComputeNormals(container->meshData.mesh, nullptr);
    }
    d3dx::Mesh* own = container->meshData.mesh;
    container->vertexCount = own->GetNumVertices();
    container->faceCount = own->GetNumFaces();
    ZethLog::Print("POLYGON [ %u ] : VERTEX [ %u ] : ", container->faceCount, container->vertexCount);

    const uint32_t materialCount = numMaterials == 0 ? 1 : numMaterials;
    container->textures = Zeroed<CTexture*>(materialCount);
    container->materials = Zeroed<d3dx::XMaterial>(materialCount);
    container->adjacency = Zeroed<uint32_t>(size_t(container->faceCount) * 3);
    if (container->textures == nullptr || container->materials == nullptr || container->adjacency == nullptr) {
        return outOfMemory();
    }
    container->numMaterials = materialCount;
    if (adjacency != nullptr) std::memcpy(container->adjacency, adjacency, size_t(container->faceCount) * 3 * 4);

    if (numMaterials == 0 || materials == nullptr) {
        gfx::Material& m = container->materials[0].material;
        m.diffuse = {0.5f, 0.5f, 0.5f, 0.0f};
        m.specular = m.diffuse;
    } else {
        std::memcpy(container->materials, materials, sizeof(d3dx::XMaterial) * numMaterials);
        for (uint32_t i = 0; i < numMaterials; ++i) {
            d3dx::XMaterial& m = container->materials[i];
            m.material.ambient.r = m.material.diffuse.r * 0.25f;
            m.material.ambient.g = m.material.diffuse.g * 0.25f;
            m.material.ambient.b = m.material.diffuse.b * 0.25f;
            if (m.textureFilename == nullptr) continue;
            ZethLog::Print(" {");
            ZethLog::PrintBreak();
            ZethLog::Print("　　");
            container->textures[i] = ZethTexture::CreateFromFile(TextureFileOf(m.textureFilename), textureFormat,
                                                                 textureColorKey);
            m.textureFilename = nullptr;  // the name belongs to the loader's buffer
            ZethLog::Print("} : ");
        }
    }

    if (skinInfo != nullptr) {
        skinInfo->AddRef();
        container->skinInfo = skinInfo;
        container->sourceMesh = own;
        container->meshData.mesh = nullptr;
        gfx::Device* device = nullptr;
        own->GetDevice(&device);
        const gfx::Result cloned = own->CloneMeshFVF(d3dx::meshopt::kManaged, own->GetFVF(), device,
                                                     &container->meshData.mesh);
        if (device != nullptr) device->Release();
        if (gfx::Failed(cloned)) return fail(cloned);
        own = container->meshData.mesh;
        gfx::Result read = own->GetAttributeTable(nullptr, &container->attributeCount);
        if (gfx::Failed(read)) return fail(read);
        container->attributeTable = Zeroed<d3dx::AttributeRange>(container->attributeCount);
        if (container->attributeTable == nullptr) return outOfMemory();
        read = own->GetAttributeTable(container->attributeTable, &container->attributeCount);
        if (gfx::Failed(read)) return fail(read);
        container->boneCount = skinInfo->GetNumBones();
        ZethLog::Print("BONE [ %u ] : ", container->boneCount);
        container->boneMatrixPointers = Zeroed<gfx::Matrix*>(container->boneCount);
        container->boneMatrices = Zeroed<gfx::Matrix>(container->boneCount);
        container->boneOffsetMatrices = Zeroed<gfx::Matrix>(container->boneCount);
        if (container->boneMatrixPointers == nullptr || container->boneMatrices == nullptr ||
            container->boneOffsetMatrices == nullptr) {
            return outOfMemory();
        }
        for (uint32_t bone = 0; bone < container->boneCount; ++bone) {
            container->boneOffsetMatrices[bone] = *skinInfo->GetBoneOffsetMatrix(bone);
        }
    }

    void* vertices = nullptr;
    if (gfx::Succeeded(own->LockVertexBuffer(0, &vertices))) {
        const auto* first = static_cast<const gfx::Vector3*>(vertices);
        gfx::Vector3 lo{}, hi{}, centre{};
        gfx::Result computed = d3dx::ComputeBoundingBox(first, own->GetNumVertices(), own->GetNumBytesPerVertex(), &lo, &hi);
        if (gfx::Succeeded(computed)) {
            container->boundingBoxMin[0] = lo.x, container->boundingBoxMin[1] = lo.y, container->boundingBoxMin[2] = lo.z;
            container->boundingBoxMax[0] = hi.x, container->boundingBoxMax[1] = hi.y, container->boundingBoxMax[2] = hi.z;
            ZethLog::Print("BOX [ (%.3lf,%.3lf,%.3lf)-(%.3lf,%.3lf,%.3lf) ] : ", double(lo.x), double(lo.y),
                           double(lo.z), double(hi.x), double(hi.y), double(hi.z));
            computed = d3dx::ComputeBoundingSphere(first, own->GetNumVertices(), own->GetNumBytesPerVertex(), &centre,
                                                   &container->boundingSphereRadius);
        }
        if (gfx::Failed(computed)) {
            own->UnlockVertexBuffer();
            ZethLog::PrintBreak();
            return fail(computed);
        }
        container->boundingSphereCenter[0] = centre.x;
        container->boundingSphereCenter[1] = centre.y;
        container->boundingSphereCenter[2] = centre.z;
        ZethLog::Print("SPHERE [ %.3lf (%.3lf,%.3lf.%.3lf) ] : ", double(container->boundingSphereRadius),
                       double(centre.x), double(centre.y), double(centre.z));
        own->UnlockVertexBuffer();
    }

    *newMeshContainer = container;
    ++meshContainerCount;
    ZethLog::PrintBreak();
    return gfx::result::kOk;
}

gfx::Result CAllocateHierarchy::DestroyFrame(d3dx::Frame* frame) {
    std::free(frame->name);
    std::free(static_cast<Frame*>(frame));
    return gfx::result::kOk;
}

gfx::Result CAllocateHierarchy::DestroyMeshContainer(d3dx::MeshContainer* base) {
    auto* container = static_cast<MeshContainer*>(base);
    for (uint32_t i = 0; container->textures != nullptr && i < container->numMaterials; ++i) {
        ZethTexture::Release(container->textures[i]);
    }
    if (container->meshData.mesh != nullptr) container->meshData.mesh->Release();
    if (container->skinInfo != nullptr) container->skinInfo->Release();
    if (container->sourceMesh != nullptr) container->sourceMesh->Release();
    std::free(container->name);
    std::free(container->textures);
    std::free(container->adjacency);
    std::free(container->materials);
    std::free(container->attributeTable);
    std::free(container->boneMatrices);
    std::free(container->boneOffsetMatrices);
    std::free(container->boneMatrixPointers);
    std::free(container);
    return gfx::result::kOk;
}
