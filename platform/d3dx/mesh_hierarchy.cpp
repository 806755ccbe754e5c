// The frame-hierarchy loader and its release.
#include "platform/d3dx/mesh_hierarchy.h"

#include <cstring>

namespace platform::d3dx {

namespace r = gfx::result;

namespace {

constexpr gfx::Matrix kIdentity{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

// Holds a counted object until the end of a scope.
template <typename T>
struct Held {
    T* p = nullptr;
    ~Held() {
        if (p != nullptr) p->Release();
    }
};

class HierarchyLoader {
public:
    HierarchyLoader(uint32_t options, gfx::Device* device, AllocateHierarchy* alloc)
        : options_(options), device_(device), alloc_(alloc) {}

    // A frame object: its transform, child frames and meshes; the new frame is linked to place.
    Result ReadFrame(XFileData* data, Frame** place) {
        Frame* frame = nullptr;
        Result result = alloc_->CreateFrame(data->Name().empty() ? nullptr : data->Name().c_str(), &frame);
        if (gfx::Failed(result)) return result;
        if (frame == nullptr) return r::kFail;
        frame->transformationMatrix = kIdentity;
        *place = frame;
        Frame** lastChild = &frame->frameFirstChild;
        MeshContainer** lastMesh = &frame->meshContainer;
        size_t count = 0;
        data->GetChildren(&count);
        for (size_t i = 0; i < count && gfx::Succeeded(result); ++i) {
            Held<XFileData> child;
            data->GetChild(i, &child.p);
            if (child.p->IsReference()) continue;
            const std::string& kind = child.p->TemplateName();
            if (kind == "FrameTransformMatrix") {
                size_t size = 0;
                const void* bytes = nullptr;
                child.p->Lock(&size, &bytes);
                if (size == sizeof(gfx::Matrix)) std::memcpy(&frame->transformationMatrix, bytes, size);
                child.p->Unlock();
            } else if (kind == "Frame") {
                result = ReadFrame(child.p, lastChild);
                while (*lastChild != nullptr) lastChild = &(*lastChild)->frameSibling;
            } else if (kind == "Mesh") {
                result = ReadMesh(child.p, lastMesh);
                while (*lastMesh != nullptr) lastMesh = &(*lastMesh)->nextMeshContainer;
            }
        }
        return result;
    }

    // A mesh object handed to the caller's CreateMeshContainer; the container is linked to place.
    Result ReadMesh(XFileData* data, MeshContainer** place) {
        Held<Buffer> adjacency, materials, effects;
        Held<SkinInfo> skin;
        Held<Mesh> mesh;
        uint32_t materialCount = 0;
        Result result = LoadSkinMeshFromXof(data, options_, device_, &adjacency.p, &materials.p, &effects.p,
                                            &materialCount, &skin.p, &mesh.p);
        if (gfx::Failed(result)) return result;
        const MeshData meshData{meshtype::kMesh, mesh.p};
        MeshContainer* container = nullptr;
        result = alloc_->CreateMeshContainer(
            data->Name().empty() ? nullptr : data->Name().c_str(), &meshData,
            materials.p != nullptr ? static_cast<const XMaterial*>(materials.p->GetBufferPointer()) : nullptr,
            effects.p != nullptr ? static_cast<const EffectInstance*>(effects.p->GetBufferPointer()) : nullptr,
            materialCount, static_cast<const uint32_t*>(adjacency.p->GetBufferPointer()), skin.p, &container);
        if (gfx::Succeeded(result)) *place = container;
        return result;
    }

private:
    uint32_t options_;
    gfx::Device* device_;
    AllocateHierarchy* alloc_;
};

}  // namespace

Result LoadMeshHierarchyFromMemory(const void* data, size_t size, uint32_t options, gfx::Device* device,
                                   AllocateHierarchy* alloc, Frame** root) {
    if (data == nullptr || alloc == nullptr || root == nullptr) return r::kInvalidArg;
    *root = nullptr;
    Held<XFile> file;
    FileCreate(&file.p);
    for (const char* block : {StandardTemplates(), SkinTemplates()}) {
        const Result registered = file.p->RegisterTemplates(block, std::strlen(block));
        if (gfx::Failed(registered)) return registered;
    }
    Held<XFileEnumObject> top;
    Result result = file.p->CreateEnumObject(data, size, &top.p);
    if (gfx::Failed(result)) return result;
    HierarchyLoader loader(options, device, alloc);
    Frame* first = nullptr;
    Frame** place = &first;
    size_t count = 0;
    top.p->GetChildren(&count);
    for (size_t i = 0; i < count && gfx::Succeeded(result); ++i) {
        Held<XFileData> child;
        top.p->GetChild(i, &child.p);
        const std::string& kind = child.p->TemplateName();
        if (kind == "Frame") {
            result = loader.ReadFrame(child.p, place);
        } else if (kind == "Mesh") {
            result = alloc->CreateFrame(nullptr, place);
            if (gfx::Succeeded(result) && *place == nullptr) result = r::kFail;
            if (gfx::Succeeded(result)) {
                (*place)->transformationMatrix = kIdentity;
                result = loader.ReadMesh(child.p, &(*place)->meshContainer);
            }
        }
        while (*place != nullptr) place = &(*place)->frameSibling;
    }
    if (gfx::Failed(result)) {
        FrameDestroy(first, alloc);
        return result;
    }
    if (first == nullptr) return r::kLoadedMeshHasNoData;
    *root = first;
    return r::kOk;
}

Result FrameDestroy(Frame* frame, AllocateHierarchy* alloc) {
    if (alloc == nullptr) return r::kInvalidArg;
    // Siblings in a loop, children by recursion (as deep as the file's nesting).
    while (frame != nullptr) {
        Frame* sibling = frame->frameSibling;
        MeshContainer* container = frame->meshContainer;
        while (container != nullptr) {
            MeshContainer* next = container->nextMeshContainer;
            alloc->DestroyMeshContainer(container);
            container = next;
        }
        FrameDestroy(frame->frameFirstChild, alloc);
        alloc->DestroyFrame(frame);
        frame = sibling;
    }
    return r::kOk;
}

}  // namespace platform::d3dx
