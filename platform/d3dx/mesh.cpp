// Meshes: creation, locks, cloning into another vertex format, adjacency and attribute sorting.
#include "platform/d3dx/mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numeric>

namespace platform::d3dx {

namespace r = gfx::result;

VertexLayout LayoutOfFvf(uint32_t fvf) {
    VertexLayout l;
    const uint32_t position = fvf & gfx::fvf::kPositionMask;
    if (position < gfx::fvf::kXyz || position > fvfx::kXyzB5 || position == gfx::fvf::kXyzRhw) return l;
    uint32_t at = 12;
    l.position = 0;
    const uint32_t betas = position == gfx::fvf::kXyz ? 0 : (position - gfx::fvf::kXyzRhw) / 2;
    const bool packed = (fvf & (fvfx::kLastBetaUbyte4 | fvfx::kLastBetaColor)) != 0;
    if (packed && betas == 0) return l;
    l.weightCount = packed ? betas - 1 : betas;
    if (l.weightCount > 0) l.weights = int32_t(at);
    at += 4 * l.weightCount;
    if (packed) {
        l.indices = int32_t(at);
        at += 4;
    }
    auto take = [&at](bool present, uint32_t bytes) {
        if (!present) return -1;
        const auto offset = int32_t(at);
        at += bytes;
        return offset;
    };
    l.normal = take(fvf & gfx::fvf::kNormal, 12);
    l.pointSize = take(fvf & gfx::fvf::kPointSize, 4);
    l.diffuse = take(fvf & gfx::fvf::kDiffuse, 4);
    l.specular = take(fvf & gfx::fvf::kSpecular, 4);
    l.texCount = std::min<uint32_t>((fvf & gfx::fvf::kTexCountMask) >> gfx::fvf::kTexCountShift, 8);
    static constexpr uint32_t kFloatsBySizeCode[] = {2, 3, 4, 1};
    for (uint32_t i = 0; i < l.texCount; ++i) {
        l.texFloats[i] = kFloatsBySizeCode[(fvf >> (16 + 2 * i)) & 3];
        l.tex[i] = take(true, 4 * l.texFloats[i]);
    }
    l.size = at;
    return l;
}

Result Mesh::Create(uint32_t faces, uint32_t vertices, uint32_t options, uint32_t fvf, gfx::Device* device,
                    Mesh** mesh) {
    if (mesh == nullptr) return r::kInvalidArg;
    *mesh = nullptr;
    const VertexLayout layout = LayoutOfFvf(fvf);
    if (layout.size == 0 || (options & meshopt::k32Bit) != 0 || faces == 0 || vertices == 0 ||
        vertices > kMaxVertices || uint64_t(faces) * 3 > 0x7FFFFFFFu) {
        return r::kInvalidArg;
    }
    auto* m = new Mesh();
    m->faces_ = faces;
    m->vertices_ = vertices;
    m->options_ = options;
    m->fvf_ = fvf;
    m->layout_ = layout;
    m->device_ = device;
    if (device != nullptr) device->AddRef();
    m->vertexBytes_.assign(size_t(vertices) * layout.size, 0);
    m->indices_.assign(size_t(faces) * 3, 0);
    m->attributes_.assign(faces, 0);
    *mesh = m;
    return r::kOk;
}

Mesh::~Mesh() {
    if (device_ != nullptr) device_->Release();
}

Result Mesh::GetDevice(gfx::Device** device) {
    if (device == nullptr) return r::kInvalidArg;
    *device = device_;
    if (device_ == nullptr) return r::kInvalidCall;
    device_->AddRef();
    return r::kOk;
}

namespace {

template <typename T>
Result LockArray(bool* locked, T* base, void** data) {
    if (data == nullptr) return r::kInvalidArg;
    if (*locked) return r::kInvalidCall;
    *locked = true;
    *data = base;
    return r::kOk;
}

Result UnlockArray(bool* locked) {
    if (!*locked) return r::kInvalidCall;
    *locked = false;
    return r::kOk;
}

void CopyElement(const uint8_t* from, int32_t fromOffset, uint8_t* to, int32_t toOffset, uint32_t bytes) {
    if (fromOffset >= 0 && toOffset >= 0) std::memcpy(to + toOffset, from + fromOffset, bytes);
}

}  // namespace

Result Mesh::LockVertexBuffer(uint32_t, void** data) { return LockArray(&vertexLocked_, vertexBytes_.data(), data); }
Result Mesh::UnlockVertexBuffer() { return UnlockArray(&vertexLocked_); }
Result Mesh::LockIndexBuffer(uint32_t, void** data) { return LockArray(&indexLocked_, indices_.data(), data); }
Result Mesh::UnlockIndexBuffer() { return UnlockArray(&indexLocked_); }
Result Mesh::LockAttributeBuffer(uint32_t, uint32_t** data) {
    if (data == nullptr) return r::kInvalidArg;
    void* p = nullptr;
    const Result result = LockArray(&attributeLocked_, attributes_.data(), &p);
    if (gfx::Succeeded(result)) *data = static_cast<uint32_t*>(p);
    return result;
}
Result Mesh::UnlockAttributeBuffer() { return UnlockArray(&attributeLocked_); }

Result Mesh::CloneMeshFVF(uint32_t options, uint32_t fvf, gfx::Device* device, Mesh** clone) {
    if (clone == nullptr) return r::kInvalidArg;
    Mesh* m = nullptr;
    const Result result = Create(faces_, vertices_, options, fvf, device, &m);
    *clone = m;
    if (gfx::Failed(result)) return result;
    const VertexLayout& a = layout_;
    const VertexLayout& b = m->layout_;
    for (uint32_t v = 0; v < vertices_; ++v) {
        const uint8_t* from = vertexBytes_.data() + size_t(v) * a.size;
        uint8_t* to = m->vertexBytes_.data() + size_t(v) * b.size;
        CopyElement(from, a.position, to, b.position, 12);
        CopyElement(from, a.weights, to, b.weights, 4 * std::min(a.weightCount, b.weightCount));
        CopyElement(from, a.indices, to, b.indices, 4);
        CopyElement(from, a.normal, to, b.normal, 12);
        CopyElement(from, a.pointSize, to, b.pointSize, 4);
        CopyElement(from, a.diffuse, to, b.diffuse, 4);
        CopyElement(from, a.specular, to, b.specular, 4);
        for (uint32_t t = 0; t < std::min(a.texCount, b.texCount); ++t) {
            CopyElement(from, a.tex[t], to, b.tex[t], 4 * std::min(a.texFloats[t], b.texFloats[t]));
        }
    }
    m->indices_ = indices_;
    m->attributes_ = attributes_;
    m->attributeTable_ = attributeTable_;
    return r::kOk;
}

Result Mesh::GenerateAdjacency(float epsilon, uint32_t* adjacency) {
    if (adjacency == nullptr || !(epsilon >= 0.0f)) return r::kInvalidArg;
    if (!IndicesInRange()) return r::kInvalidMesh;
    // Each vertex is represented by the first vertex, in position order, that lies within
    // epsilon of it on every axis.
    auto position = [this](uint32_t v) {
        float p[3];
        std::memcpy(p, vertexBytes_.data() + size_t(v) * layout_.size, 12);
        return std::array<float, 3>{p[0], p[1], p[2]};
    };
    std::vector<uint32_t> order(vertices_);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t x, uint32_t y) { return position(x) < position(y); });
    std::vector<uint32_t> representative(vertices_);
    for (size_t i = 0; i < order.size(); ++i) {
        const auto p = position(order[i]);
        uint32_t rep = order[i];
        if (epsilon == 0.0f) {
            if (i > 0 && position(order[i - 1]) == p) rep = representative[order[i - 1]];
        } else {
            for (size_t j = i; j-- > 0 && p[0] - position(order[j])[0] <= epsilon;) {
                const auto q = position(order[j]);
                if (std::fabs(p[0] - q[0]) <= epsilon && std::fabs(p[1] - q[1]) <= epsilon &&
                    std::fabs(p[2] - q[2]) <= epsilon) {
                    rep = representative[order[j]];
                    break;
                }
            }
        }
        representative[order[i]] = rep;
    }
    // Directed edges sorted by their end points; an edge pairs with the first unpaired edge that
    // runs the other way in another face.
    struct Edge {
        uint64_t key;
        uint32_t slot;  // face x 3 + corner
    };
    std::vector<Edge> edges(size_t(faces_) * 3);
    auto keyOf = [](uint32_t a, uint32_t b) { return uint64_t(a) << 32 | b; };
    for (uint32_t slot = 0; slot < faces_ * 3; ++slot) {
        const uint32_t face = slot / 3;
        const uint32_t a = representative[indices_[slot]];
        const uint32_t b = representative[indices_[face * 3 + (slot + 1) % 3]];
        edges[slot] = {keyOf(a, b), slot};
    }
    std::vector<Edge> sorted = edges;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Edge& x, const Edge& y) { return x.key < y.key; });
    std::fill(adjacency, adjacency + size_t(faces_) * 3, kNoFace);
    for (const Edge& e : edges) {
        if (adjacency[e.slot] != kNoFace) continue;
        const uint64_t reverse = e.key << 32 | e.key >> 32;
        auto it = std::lower_bound(sorted.begin(), sorted.end(), reverse,
                                   [](const Edge& x, uint64_t k) { return x.key < k; });
        for (; it != sorted.end() && it->key == reverse; ++it) {
            if (it->slot / 3 != e.slot / 3 && adjacency[it->slot] == kNoFace) {
                adjacency[e.slot] = it->slot / 3;
                adjacency[it->slot] = e.slot / 3;
                break;
            }
        }
    }
    return r::kOk;
}

Result Mesh::OptimizeInplace(uint32_t, const uint32_t* adjacencyIn, uint32_t* adjacencyOut, uint32_t* faceRemap,
                             Buffer** vertexRemap) {
    if (vertexLocked_ || indexLocked_ || attributeLocked_) return r::kInvalidCall;
    std::vector<uint32_t> order(faces_);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [this](uint32_t x, uint32_t y) { return attributes_[x] < attributes_[y]; });
    std::vector<uint32_t> newIndexOf(faces_);
    for (uint32_t f = 0; f < faces_; ++f) newIndexOf[order[f]] = f;

    std::vector<uint16_t> indices(indices_.size());
    std::vector<uint32_t> attributes(faces_);
    std::vector<uint32_t> adjacency(adjacencyIn != nullptr ? indices_.size() : 0);
    for (uint32_t f = 0; f < faces_; ++f) {
        const uint32_t old = order[f];
        attributes[f] = attributes_[old];
        for (uint32_t k = 0; k < 3; ++k) {
            indices[f * 3 + k] = indices_[old * 3 + k];
            if (adjacencyIn != nullptr) {
                const uint32_t across = adjacencyIn[old * 3 + k];
                adjacency[f * 3 + k] = across < faces_ ? newIndexOf[across] : kNoFace;
            }
        }
        if (faceRemap != nullptr) faceRemap[f] = old;
    }
    indices_ = std::move(indices);
    attributes_ = std::move(attributes);
    if (adjacencyOut != nullptr && adjacencyIn != nullptr) std::copy(adjacency.begin(), adjacency.end(), adjacencyOut);

    attributeTable_.clear();
    for (uint32_t f = 0; f < faces_; ++f) {
        if (attributeTable_.empty() || attributeTable_.back().attribId != attributes_[f]) {
            attributeTable_.push_back({attributes_[f], f, 0, 0xFFFFFFFF, 0});
        }
        AttributeRange& range = attributeTable_.back();
        ++range.faceCount;
        for (uint32_t k = 0; k < 3; ++k) {
            const uint32_t v = indices_[f * 3 + k];
            const uint32_t end = range.vertexStart == 0xFFFFFFFF ? v + 1 : range.vertexStart + range.vertexCount;
            range.vertexStart = std::min(range.vertexStart, v);
            range.vertexCount = std::max(end, v + 1) - range.vertexStart;
        }
    }
    if (vertexRemap != nullptr) {
        auto* buffer = new Buffer(size_t(vertices_) * 4);
        auto* remap = static_cast<uint32_t*>(buffer->GetBufferPointer());
        std::iota(remap, remap + vertices_, 0u);
        *vertexRemap = buffer;
    }
    return r::kOk;
}

bool Mesh::IndicesInRange() const {
    return std::all_of(indices_.begin(), indices_.end(), [this](uint16_t i) { return i < vertices_; });
}

Result Mesh::GetAttributeTable(AttributeRange* table, uint32_t* count) const {
    if (count == nullptr) return r::kInvalidArg;
    if (table == nullptr) {
        *count = uint32_t(attributeTable_.size());
        return r::kOk;
    }
    const size_t n = std::min<size_t>(*count, attributeTable_.size());
    std::copy_n(attributeTable_.begin(), n, table);
    return r::kOk;
}

}  // namespace platform::d3dx
