// Skin information and its conversion into an indexed blended mesh in bone combinations.
#include "platform/d3dx/skin.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace platform::d3dx {

namespace r = gfx::result;

Result SkinInfo::Create(uint32_t vertices, uint32_t fvf, uint32_t bones, SkinInfo** skin) {
    if (skin == nullptr) return r::kInvalidArg;
    *skin = nullptr;
    if (vertices > kMaxVertices) return r::kInvalidArg;
    auto* s = new SkinInfo();
    s->vertices_ = vertices;
    s->fvf_ = fvf;
    s->bones_.resize(bones);
    *skin = s;
    return r::kOk;
}

const char* SkinInfo::GetBoneName(uint32_t bone) const {
    return bone < bones_.size() ? bones_[bone].name.c_str() : nullptr;
}

Result SkinInfo::SetBoneName(uint32_t bone, const char* name) {
    if (bone >= bones_.size() || name == nullptr) return r::kInvalidArg;
    bones_[bone].name = name;
    return r::kOk;
}

const gfx::Matrix* SkinInfo::GetBoneOffsetMatrix(uint32_t bone) const {
    return bone < bones_.size() ? &bones_[bone].offset : nullptr;
}

Result SkinInfo::SetBoneOffsetMatrix(uint32_t bone, const gfx::Matrix* matrix) {
    if (bone >= bones_.size() || matrix == nullptr) return r::kInvalidArg;
    bones_[bone].offset = *matrix;
    return r::kOk;
}

uint32_t SkinInfo::GetNumBoneInfluences(uint32_t bone) const {
    return bone < bones_.size() ? uint32_t(bones_[bone].vertices.size()) : 0;
}

Result SkinInfo::SetBoneInfluence(uint32_t bone, uint32_t count, const uint32_t* vertices, const float* weights) {
    if (bone >= bones_.size() || (count > 0 && (vertices == nullptr || weights == nullptr))) return r::kInvalidArg;
    for (uint32_t i = 0; i < count; ++i) {
        if (vertices[i] >= vertices_) return r::kInvalidArg;
    }
    bones_[bone].vertices.assign(vertices, vertices + count);
    bones_[bone].weights.assign(weights, weights + count);
    return r::kOk;
}

Result SkinInfo::GetBoneInfluence(uint32_t bone, uint32_t* vertices, float* weights) const {
    if (bone >= bones_.size() || vertices == nullptr || weights == nullptr) return r::kInvalidArg;
    std::copy(bones_[bone].vertices.begin(), bones_[bone].vertices.end(), vertices);
    std::copy(bones_[bone].weights.begin(), bones_[bone].weights.end(), weights);
    return r::kOk;
}

Result SkinInfo::GetMaxVertexInfluences(uint32_t* maxInfluences) const {
    if (maxInfluences == nullptr) return r::kInvalidArg;
    std::vector<uint32_t> counts(vertices_, 0);
    for (const Bone& bone : bones_) {
        for (uint32_t v : bone.vertices) ++counts[v];
    }
    *maxInfluences = counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
    return r::kOk;
}

namespace {

struct Influence {
    uint32_t bone;
    float weight;
};

// A group of faces of one attribute and the bones they use, in slot order.
struct Combination {
    uint32_t attribute;
    std::vector<uint32_t> faces;
    std::vector<uint32_t> bones;
    int32_t SlotOf(uint32_t bone) const {
        const auto it = std::find(bones.begin(), bones.end(), bone);
        return it == bones.end() ? -1 : int32_t(it - bones.begin());
    }
};

}  // namespace

Result SkinInfo::ConvertToIndexedBlendedMesh(Mesh* mesh, uint32_t options, uint32_t paletteSize,
                                             const uint32_t*, uint32_t* adjacencyOut, uint32_t* faceRemap,
                                             Buffer** vertexRemap, uint32_t* maxVertexInfluences,
                                             uint32_t* combinationCount, Buffer** combinations, Mesh** blended) {
    if (mesh == nullptr || blended == nullptr || combinations == nullptr || combinationCount == nullptr ||
        paletteSize == 0 || mesh->GetNumVertices() != vertices_) {
        return r::kInvalidArg;
    }
    *blended = nullptr;
    *combinations = nullptr;
    if (!mesh->IndicesInRange()) return r::kInvalidMesh;

    // Each vertex's four largest weights (earlier bones first among equals), summing to one.
    std::vector<std::vector<Influence>> influences(vertices_);
    for (uint32_t b = 0; b < bones_.size(); ++b) {
        for (size_t i = 0; i < bones_[b].vertices.size(); ++i) {
            if (bones_[b].weights[i] > 0.0f) influences[bones_[b].vertices[i]].push_back({b, bones_[b].weights[i]});
        }
    }
    uint32_t maxInfluences = 0;
    for (auto& list : influences) {
        std::stable_sort(list.begin(), list.end(), [](const Influence& a, const Influence& b) { return a.weight > b.weight; });
        if (list.size() > kMaxInfluences) list.resize(kMaxInfluences);
        float sum = 0.0f;
        for (const Influence& i : list) sum += i.weight;
        for (Influence& i : list) i.weight /= sum;
        maxInfluences = std::max(maxInfluences, uint32_t(list.size()));
    }

    // Faces in attribute order, grouped while the union of their bones fits the palette.
    const uint32_t faces = mesh->GetNumFaces();
    const uint16_t* indices = mesh->Indices();
    const uint32_t* attributes = mesh->Attributes();
    std::vector<uint32_t> faceOrder(faces);
    std::iota(faceOrder.begin(), faceOrder.end(), 0u);
    std::stable_sort(faceOrder.begin(), faceOrder.end(), [&](uint32_t a, uint32_t b) { return attributes[a] < attributes[b]; });
    std::vector<Combination> groups;
    for (uint32_t f : faceOrder) {
        std::vector<uint32_t> faceBones;
        for (uint32_t k = 0; k < 3; ++k) {
            for (const Influence& i : influences[indices[f * 3 + k]]) {
                if (std::find(faceBones.begin(), faceBones.end(), i.bone) == faceBones.end()) faceBones.push_back(i.bone);
            }
        }
        if (faceBones.size() > paletteSize) return r::kTooManyInfluences;
        bool fits = !groups.empty() && groups.back().attribute == attributes[f];
        if (fits) {
            size_t added = 0;
            for (uint32_t bone : faceBones) added += groups.back().SlotOf(bone) < 0 ? 1 : 0;
            fits = groups.back().bones.size() + added <= paletteSize;
        }
        if (!fits) groups.push_back({attributes[f], {}, {}});
        Combination& group = groups.back();
        group.faces.push_back(f);
        for (uint32_t bone : faceBones) {
            if (group.SlotOf(bone) < 0) group.bones.push_back(bone);
        }
    }

    // Each combination gets its own copies of the vertices it uses, in order of first use.
    std::vector<uint32_t> vertexSource;
    std::vector<uint32_t> vertexGroup;
    std::vector<uint16_t> newIndices(size_t(faces) * 3);
    std::vector<uint32_t> seenIn(vertices_, kUnusedBone);
    std::vector<uint32_t> copyOf(vertices_, 0);
    std::vector<AttributeRange> table;
    uint32_t face = 0;
    for (uint32_t g = 0; g < groups.size(); ++g) {
        const uint32_t vertexStart = uint32_t(vertexSource.size());
        for (uint32_t f : groups[g].faces) {
            for (uint32_t k = 0; k < 3; ++k) {
                const uint32_t v = indices[f * 3 + k];
                if (seenIn[v] != g) {
                    if (vertexSource.size() >= kMaxVertices) return r::kInvalidMesh;
                    seenIn[v] = g;
                    copyOf[v] = uint32_t(vertexSource.size());
                    vertexSource.push_back(v);
                    vertexGroup.push_back(g);
                }
                newIndices[size_t(face) * 3 + k] = uint16_t(copyOf[v]);
            }
            if (faceRemap != nullptr) faceRemap[face] = f;
            ++face;
        }
        table.push_back({g, face - uint32_t(groups[g].faces.size()), uint32_t(groups[g].faces.size()), vertexStart,
                         uint32_t(vertexSource.size()) - vertexStart});
    }

    Mesh* widened = nullptr;
    gfx::Device* device = nullptr;
    mesh->GetDevice(&device);
    Result result = mesh->CloneMeshFVF(options, kBlendedFvf, device, &widened);
    if (gfx::Succeeded(result)) result = Mesh::Create(faces, uint32_t(vertexSource.size()), options, kBlendedFvf, device, blended);
    if (device != nullptr) device->Release();
    if (gfx::Failed(result)) {
        if (widened != nullptr) widened->Release();
        return result;
    }
    Mesh* out = *blended;
    const uint32_t stride = out->GetNumBytesPerVertex();
    const VertexLayout& layout = out->Layout();
    for (uint32_t v = 0; v < vertexSource.size(); ++v) {
        uint8_t* to = out->VertexBytes() + size_t(v) * stride;
        std::memcpy(to, widened->VertexBytes() + size_t(vertexSource[v]) * stride, stride);
        float weights[3] = {0.0f, 0.0f, 0.0f};
        uint8_t slots[4] = {0, 0, 0, 0};
        const std::vector<Influence>& list = influences[vertexSource[v]];
        for (size_t i = 0; i < list.size(); ++i) {
            if (i < 3) weights[i] = list[i].weight;
            slots[i] = uint8_t(groups[vertexGroup[v]].SlotOf(list[i].bone));
        }
        std::memcpy(to + layout.weights, weights, sizeof(weights));
        std::memcpy(to + layout.indices, slots, sizeof(slots));
    }
    widened->Release();
    std::copy(newIndices.begin(), newIndices.end(), out->Indices());
    for (const AttributeRange& range : table) {
        std::fill_n(out->Attributes() + range.faceStart, range.faceCount, range.attribId);
    }
    out->SetAttributeTable(table);

    // The combination records, then every combination's palette of bone numbers.
    const size_t header = groups.size() * sizeof(BoneCombination);
    auto* buffer = new Buffer(header + groups.size() * paletteSize * sizeof(uint32_t));
    auto* records = static_cast<BoneCombination*>(buffer->GetBufferPointer());
    auto* palettes = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(buffer->GetBufferPointer()) + header);
    for (size_t g = 0; g < groups.size(); ++g) {
        uint32_t* palette = palettes + g * paletteSize;
        std::fill_n(palette, paletteSize, kUnusedBone);
        std::copy(groups[g].bones.begin(), groups[g].bones.end(), palette);
        records[g] = {groups[g].attribute, table[g].faceStart, table[g].faceCount, table[g].vertexStart,
                      table[g].vertexCount, palette};
    }
    *combinations = buffer;
    *combinationCount = uint32_t(groups.size());
    if (maxVertexInfluences != nullptr) *maxVertexInfluences = maxInfluences;
    if (adjacencyOut != nullptr) out->GenerateAdjacency(0.0f, adjacencyOut);
    if (vertexRemap != nullptr) {
        *vertexRemap = new Buffer(vertexSource.size() * sizeof(uint32_t));
        std::copy(vertexSource.begin(), vertexSource.end(), static_cast<uint32_t*>((*vertexRemap)->GetBufferPointer()));
    }
    return r::kOk;
}

}  // namespace platform::d3dx
