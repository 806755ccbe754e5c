#include "framework/graphics/primitive2d.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "framework/graphics/device.h"
#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "framework/app/zeth.h"

namespace {

constexpr uint32_t kBufferUsage = gfx::usage::kDynamic | gfx::usage::kWriteOnly;

struct VertexType {
    uint32_t size;
    uint32_t fvf;
};
constexpr VertexType kVertexTypes[5] = {{20, 0x044}, {28, 0x144}, {36, 0x244}, {44, 0x344}, {52, 0x444}};

// 1/65535 as the batch has always used it, one unit in the last place above the rounded value.
const float kInverseDepthRange = std::bit_cast<float>(0x37800080u);
// 8191/3, rounded up in the last place: three far-plane depths (each just above 1.0 after
// conversion) must land on key 8191 and be dropped; 8191.0f / 3 would give 8190.
const float kSortScale = std::bit_cast<float>(0x452AA556u);

// Writes count vertices as a batch queues them: the first `size` bytes of each as pushed, then
// its converted position (when given) over the first four floats. The vertices were mostly
// written a field at a time just before, so they are read a field at a time too: a wider read
// of narrower writes still on their way to the cache waits for them.
template <class Position>
[[gnu::always_inline]] inline void WriteQueuedOf(uint32_t size, uint8_t* out, const Vertex2D* const* vertices,
                                                 const Position* positions, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i, out += size) {
        const auto* in = reinterpret_cast<const uint8_t*>(vertices[i]);
        const uint32_t from = positions != nullptr ? uint32_t(sizeof(Position)) : 0u;
        if (positions != nullptr) std::memcpy(out, &positions[i], sizeof(Position));
        for (uint32_t at = from; at < size; at += 4) std::memcpy(out + at, in + at, 4);
    }
}

// The same with the size of each of the five types as a constant, so that the copies are moves
// rather than calls.
template <class Position>
void WriteQueued(uint32_t size, uint8_t* out, const Vertex2D* const* vertices, const Position* positions,
                 uint32_t count) {
    switch (size) {
        case kVertexTypes[0].size: return WriteQueuedOf(kVertexTypes[0].size, out, vertices, positions, count);
        case kVertexTypes[1].size: return WriteQueuedOf(kVertexTypes[1].size, out, vertices, positions, count);
        case kVertexTypes[2].size: return WriteQueuedOf(kVertexTypes[2].size, out, vertices, positions, count);
        case kVertexTypes[3].size: return WriteQueuedOf(kVertexTypes[3].size, out, vertices, positions, count);
        case kVertexTypes[4].size: return WriteQueuedOf(kVertexTypes[4].size, out, vertices, positions, count);
        default: return WriteQueuedOf(size, out, vertices, positions, count);
    }
}

// Scratch areas of Push, shared by every batch: Push runs on the program's one thread.
Vertex2D g_converted[3];
Vertex2D g_polygonA[16];
Vertex2D g_polygonB[16];
Vertex2D g_clipped[32];

uint32_t LerpByte(uint32_t a, uint32_t b, float t) {
    float value = static_cast<float>(a) + (static_cast<float>(b) - static_cast<float>(a)) * t;
    if (!(value > -2147483648.0f && value < 2147483648.0f)) return 0;
    return static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFF;
}

// One pass of polygon clipping against one edge. A vertex is outside when its coordinate
// (x or y) lies beyond the edge; a vertex on the edge is inside.
template <bool kVertical, bool kKeepAbove>
uint32_t ClipEdge(const Vertex2D* in, Vertex2D* out, uint32_t n, float edge) {
    auto coordinate = [](const Vertex2D& v) { return kVertical ? v.y : v.x; };
    auto outside = [&](const Vertex2D& v) { return kKeepAbove ? coordinate(v) < edge : coordinate(v) > edge; };
    uint32_t written = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const Vertex2D& a = in[i];
        const Vertex2D& b = in[(i + 1) % n];
        bool aOut = outside(a), bOut = outside(b);
        if (!aOut) out[written++] = a;
        if (aOut != bOut) {
            float t = (edge - coordinate(a)) / (coordinate(b) - coordinate(a));
            CBasePrimitive2D::LerpVertex(&a, &b, &out[written++], t);
        }
    }
    return written;
}

}  // namespace

CBasePrimitive2D::~CBasePrimitive2D() { FreeBuffers(); }

void CBasePrimitive2D::FreeBuffers() {
    if (vertexBuffer_ != nullptr) vertexBuffer_->Release();
    vertexBuffer_ = nullptr;
    Zeth::MemoryFree(systemBuffer_);
    Zeth::MemoryFree(heads_);
    systemBuffer_ = nullptr;
    heads_ = nullptr;
}

gfx::Result CBasePrimitive2D::CreateVertexBuffer() {
    gfx::Device* device = GetDevicePointer();
    if (device == nullptr) return gfx::result::kInvalidCall;
    gfx::Result result = device->CreateVertexBuffer(bufferBytes_, kBufferUsage, fvf_, gfx::pool::kDefault, &vertexBuffer_);
    if (gfx::Failed(result)) vertexBuffer_ = nullptr;
    return result;
}

// Nodes are sized by the machine's own layout: a node holds a pointer as well as three vertices.
bool CBasePrimitive2D::AllocatePool() {
    uint64_t poolBytes = static_cast<uint64_t>(capacity_ / 3) * sizeof(SortNode);
    systemBuffer_ = poolBytes <= UINT32_MAX ? Zeth::MemoryAlloc(static_cast<uint32_t>(poolBytes)) : nullptr;
    return systemBuffer_ != nullptr;
}

bool CBasePrimitive2D::AllocateHeads() {
    heads_ = static_cast<SortNode**>(Zeth::MemoryAlloc(kBuckets * sizeof(SortNode*)));
    if (heads_ == nullptr) return false;
    std::memset(heads_, 0, kBuckets * sizeof(SortNode*));
    lowestKey_ = static_cast<int32_t>(kBuckets);
    highestKey_ = -1;
    return true;
}

bool CBasePrimitive2D::AllocateCopy() {
    systemBuffer_ = Zeth::MemoryAlloc(bufferBytes_);
    return systemBuffer_ != nullptr;
}

void CBasePrimitive2D::OnLostDevice() {
    if (vertexBuffer_ != nullptr) vertexBuffer_->Release();
    vertexBuffer_ = nullptr;
}

void CBasePrimitive2D::OnResetDevice() {
    if (systemBuffer_ == nullptr || vertexBuffer_ != nullptr) return;
    gfx::Result result = CreateVertexBuffer();
    if (gfx::Failed(result)) {
        ZethLog::PrintError("頂点バッファのリストアに失敗 [ %s ]", GetErrorString(result));
        ZethLog::PrintBreak();
        return;
    }
    End();
}

void CBasePrimitive2D::SetClipRect(const CObject2DManager::ClipRect* rect) {
    clipping_ = rect != nullptr;
    if (rect == nullptr) return;
    clipLeft_ = static_cast<float>(rect->left);
    clipTop_ = static_cast<float>(rect->top);
    clipRight_ = static_cast<float>(rect->right);
    clipBottom_ = static_cast<float>(rect->bottom);
}

void CBasePrimitive2D::SetPerspective(bool enable, float centreX, float centreY, float factor) {
    perspective_ = enable;
    perspectiveX_ = centreX;
    perspectiveY_ = centreY;
    perspectiveFactor_ = factor;
}

void CBasePrimitive2D::SetScaling(bool enable, float centreX, float centreY, float scale) {
    scaling_ = enable;
    scalingX_ = centreX;
    scalingY_ = centreY;
    scale_ = scale;
}

void CBasePrimitive2D::LerpVertex(const Vertex2D* a, const Vertex2D* b, Vertex2D* out, float t) {
    const float* fa = &a->x;
    const float* fb = &b->x;
    float* fo = &out->x;
    for (int i = 0; i < 4; ++i) fo[i] = fa[i] + (fb[i] - fa[i]) * t;
    for (int s = 0; s < 4; ++s) {
        for (int c = 0; c < 2; ++c) out->uv[s][c] = a->uv[s][c] + (b->uv[s][c] - a->uv[s][c]) * t;
    }
    uint32_t colour = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        colour |= LerpByte((a->diffuse >> shift) & 0xFF, (b->diffuse >> shift) & 0xFF, t) << shift;
    }
    out->diffuse = colour;
}

CPrimitive2D::~CPrimitive2D() {
    ZethLog::PrintError("CPrimitive2D Destruct");
    ZethLog::PrintBreak();
}

bool CPrimitive2D::Create(uint32_t count, uint32_t type, bool sort) {
    if (type > 4) return false;
    uint64_t bytes = static_cast<uint64_t>(kVertexTypes[type].size) * count;
    if (bytes > UINT32_MAX) return false;
    vertexSize_ = kVertexTypes[type].size;
    fvf_ = kVertexTypes[type].fvf;
    bufferBytes_ = static_cast<uint32_t>(bytes);
    capacity_ = count;
    sorting_ = sort;
    ZethLog::Print(" : 描画用頂点バッファ生成 : ");
    if (gfx::Result result = CreateVertexBuffer(); gfx::Failed(result)) return LogFailure("頂点バッファの生成に失敗 [ %s ]", result);
    if (sort) {
        ZethLog::Print("頂点ソート用バッファ生成 : ");
        if (!AllocatePool()) return LogFailure("頂点ソート用メモリの確保に失敗");
        ZethLog::Print("頂点ソート用リストバッファ生成 : ");
        if (!AllocateHeads()) return LogFailure("頂点ソート用リストメモリの確保に失敗");
    } else {
        ZethLog::Print("頂点保存用バッファ生成 : ");
        if (!AllocateCopy()) return LogFailure("頂点用メモリの確保に失敗");
    }
    vertexType_ = type;
    queued_ = writePosition_ = 0;
    ZethLog::Print("VERTEX COUNT [ %4d ] : VERTEX SIZE [ %3dBYTE ] : ", static_cast<int>(count),
                   static_cast<int>(vertexSize_));
    return true;
}

bool CPrimitive2D::Resize(uint32_t count) {
    uint64_t bytes = static_cast<uint64_t>(vertexSize_) * count;
    FreeBuffers();
    capacity_ = 0;
    queued_ = writePosition_ = submitted_ = 0;
    if (bytes > UINT32_MAX || vertexSize_ == 0) return false;
    capacity_ = count;
    bufferBytes_ = static_cast<uint32_t>(bytes);
    if (gfx::Result result = CreateVertexBuffer(); gfx::Failed(result)) {
        ZethLog::PrintTitle("CPrimitive2D::Resize");
        ZethLog::Print(" : ");
        return LogFailure("頂点バッファの生成に失敗 [ %s ]", result);
    }
    bool allocated = sorting_ ? AllocatePool() && AllocateHeads() : AllocateCopy();
    if (!allocated) return false;
    Begin();
    End();
    return true;
}

bool CPrimitive2D::LogFailure(const char* text, gfx::Result result) {
    ZethLog::PrintError(text, GetErrorString(result));
    ZethLog::PrintBreak();
    return false;
}

void CPrimitive2D::Begin() {
    queued_ = writePosition_ = submitted_ = 0;
    // Only the buckets the last frame used hold anything.
    if (sorting_ && heads_ != nullptr && highestKey_ >= lowestKey_) {
        std::memset(heads_ + lowestKey_, 0, static_cast<size_t>(highestKey_ - lowestKey_ + 1) * sizeof(SortNode*));
    }
    lowestKey_ = static_cast<int32_t>(kBuckets);
    highestKey_ = -1;
}

int32_t CPrimitive2D::SortKey(float z0, float z1, float z2) {
    float scaled = (z0 + z1 + z2) * kSortScale;
    // Truncation toward zero: anything above -1 belongs to bucket 0 or higher.
    if (!(scaled > -1.0f && scaled < static_cast<float>(kBuckets))) return -1;
    return static_cast<int32_t>(scaled);
}

bool CPrimitive2D::OutsideClip(const Position2D& p) const {
    return p.x < clipLeft_ || p.x > clipRight_ || p.y < clipTop_ || p.y > clipBottom_;
}

bool CPrimitive2D::Push(const Vertex2D* triangles, uint32_t triangleCount) {
    if (systemBuffer_ == nullptr) return false;
    // Positions are converted a few triangles at a time (the conversion fetches the screen's
    // factors once a call).
    constexpr uint32_t kChunk = 8;
    Position2D converted[3 * kChunk];
    for (uint32_t t = 0; t < triangleCount; ++t) {
        const Vertex2D* in = triangles + 3 * t;
        if (t % kChunk == 0) ConvertPositions(in, converted, 3 * std::min(kChunk, triangleCount - t));
        const Position2D* positions = converted + 3 * (t % kChunk);
        // A triangle no clip edge cuts comes out of clipping as it went in, so it is queued
        // straight from the caller's vertices.
        if (!clipping_ || !(OutsideClip(positions[0]) || OutsideClip(positions[1]) ||
                            OutsideClip(positions[2]))) {
            submitted_ += 3;
            if (!Queue(in, positions, 3)) return false;
            continue;
        }
        ConvertVertices(g_converted, in);
        uint32_t k = ClipTriangle(g_clipped, g_converted);
        submitted_ += k;
        if (!Queue(g_clipped, nullptr, k)) return false;
    }
    return true;
}

bool CPrimitive2D::Queue(const Vertex2D* vertices, const Position2D* positions, uint32_t count) {
    if (queued_ + count > capacity_) return false;
    for (uint32_t i = 0; i < count; i += 3) {
        const Vertex2D* const triangle[3] = {&vertices[i], &vertices[i + 1], &vertices[i + 2]};
        QueueTriangle(triangle, positions != nullptr ? positions + i : nullptr);
    }
    return true;
}

void CPrimitive2D::QueueTriangle(const Vertex2D* const vertices[3], const Position2D* positions) {
    uint8_t* out;
    if (!sorting_) {
        out = static_cast<uint8_t*>(systemBuffer_) + writePosition_;
        writePosition_ += 3 * vertexSize_;
    } else {
        auto z = [&](uint32_t i) { return positions != nullptr ? positions[i].z : vertices[i]->z; };
        int32_t key = SortKey(z(0), z(1), z(2));
        if (key < 0) return;
        SortNode* node = static_cast<SortNode*>(systemBuffer_) + writePosition_++;
        node->next = heads_[key];
        heads_[key] = node;
        lowestKey_ = std::min(lowestKey_, key);
        highestKey_ = std::max(highestKey_, key);
        out = node->vertices;
    }
    WriteQueued(vertexSize_, out, vertices, positions, 3);
    queued_ += 3;
}

Vertex2D CBasePrimitive2D::RectCorner(const RectQuad& quad, int k) {
    Vertex2D v{};
    const bool right = k == 1 || k == 2, bottom = k == 2 || k == 3;
    v.x = right ? quad.x1 : quad.x0;
    v.y = bottom ? quad.y1 : quad.y0;
    v.z = quad.z;
    v.rhw = 1.0f;
    v.diffuse = quad.colour;
    for (int s = 0; s < 4; ++s) {
        v.uv[s][0] = right ? quad.uv[s][2] : quad.uv[s][0];
        v.uv[s][1] = bottom ? quad.uv[s][3] : quad.uv[s][1];
    }
    return v;
}

bool CBasePrimitive2D::PushRect(const RectQuad& quad) {
    const Vertex2D corners[4] = {RectCorner(quad, 0), RectCorner(quad, 1), RectCorner(quad, 2), RectCorner(quad, 3)};
    return PushQuad(corners);
}

bool CPrimitive2D::PushRect(const RectQuad& quad) {
    if (perspective_ || sorting_) return CBasePrimitive2D::PushRect(quad);
    if (systemBuffer_ == nullptr) return false;
    // ConvertPositions' arithmetic, for the two columns and the two rows.
    const float scaleX = Zeth::ScaleX(1.0f), scaleY = Zeth::ScaleY(1.0f);
    auto convert = [&](float v, float centre, float screen) {
        if (scaling_) v = (v - centre) * scale_ + centre;
        return v * screen - 0.5f;
    };
    const float xs[2] = {convert(quad.x0, scalingX_, scaleX), convert(quad.x1, scalingX_, scaleX)};
    const float ys[2] = {convert(quad.y0, scalingY_, scaleY), convert(quad.y1, scalingY_, scaleY)};
    const float z = quad.z * kInverseDepthRange;
    for (int i = 0; i < 2; ++i) {
        if (clipping_ && (OutsideClip({xs[i], ys[0], z, 1.0f}) || OutsideClip({xs[i], ys[1], z, 1.0f}))) {
            return CBasePrimitive2D::PushRect(quad);  // a triangle to clip
        }
    }
    // Queued vertex: the converted place, rhw 1, the colour, then each set's coordinates.
    const uint32_t sets = (vertexSize_ - 20) / 8;
    auto write = [&](uint8_t* out, int k) {
        const bool right = k == 1 || k == 2, bottom = k == 2 || k == 3;
        const float head[4] = {xs[right ? 1 : 0], ys[bottom ? 1 : 0], z, 1.0f};
        for (int w = 0; w < 4; ++w) std::memcpy(out + 4 * w, &head[w], 4);
        std::memcpy(out + 16, &quad.colour, 4);
        for (uint32_t s = 0; s < sets; ++s) {
            std::memcpy(out + 20 + 8 * s, &quad.uv[s][right ? 2 : 0], 4);
            std::memcpy(out + 24 + 8 * s, &quad.uv[s][bottom ? 3 : 1], 4);
        }
    };
    static constexpr int kTriangles[2][3] = {{0, 1, 2}, {2, 3, 0}};
    for (const auto& t : kTriangles) {
        submitted_ += 3;
        if (queued_ + 3 > capacity_) return false;
        uint8_t* out = static_cast<uint8_t*>(systemBuffer_) + writePosition_;
        for (int k : t) {
            write(out, k);
            out += vertexSize_;
        }
        writePosition_ += 3 * vertexSize_;
        queued_ += 3;
    }
    return true;
}

bool CBasePrimitive2D::PushQuad(const Vertex2D corners[4]) {
    const Vertex2D triangles[6] = {corners[0], corners[1], corners[2], corners[2], corners[3], corners[0]};
    return Push(triangles, 2);
}

bool CPrimitive2D::PushQuad(const Vertex2D corners[4]) {
    if (systemBuffer_ == nullptr) return false;
    Position2D converted[4];
    ConvertPositions(corners, converted, 4);
    if (clipping_ && (OutsideClip(converted[0]) || OutsideClip(converted[1]) || OutsideClip(converted[2]) ||
                      OutsideClip(converted[3]))) {
        return CBasePrimitive2D::PushQuad(corners);  // a triangle to clip
    }
    static constexpr int kTriangles[2][3] = {{0, 1, 2}, {2, 3, 0}};
    for (const auto& t : kTriangles) {
        const Vertex2D* const vertices[3] = {&corners[t[0]], &corners[t[1]], &corners[t[2]]};
        const Position2D positions[3] = {converted[t[0]], converted[t[1]], converted[t[2]]};
        submitted_ += 3;
        if (queued_ + 3 > capacity_) return false;
        QueueTriangle(vertices, positions);
    }
    return true;
}

void CPrimitive2D::End() {
    if (queued_ == 0 || vertexBuffer_ == nullptr) return;
    void* locked = nullptr;
    uint32_t bytes = sorting_ ? 0 : writePosition_;
    if (gfx::Failed(vertexBuffer_->Lock(0, bytes, &locked, gfx::lock::kDiscard))) return;
    auto* out = static_cast<uint8_t*>(locked);
    if (sorting_) {
        // Far to near; within a bucket the triangle pushed last comes first.
        uint32_t triangleBytes = 3 * vertexSize_;
        for (int32_t key = highestKey_; key >= lowestKey_; --key) {
            for (SortNode* node = heads_[key]; node != nullptr; node = node->next) {
                std::memcpy(out, node->vertices, triangleBytes);
                out += triangleBytes;
            }
        }
    } else {
        std::memcpy(out, systemBuffer_, writePosition_);
    }
    vertexBuffer_->Unlock();
}

void CPrimitive2D::Rendering() {
    gfx::Device* device = GetDevicePointer();
    if (queued_ == 0 || vertexBuffer_ == nullptr || device == nullptr) return;
    Zeth3D::SelectVertexProcessing(0, 0);
    device->SetFVF(fvf_);
    device->SetStreamSource(0, vertexBuffer_, 0, vertexSize_);
    device->DrawPrimitive(gfx::prim::kTriangleList, 0, queued_ / 3);
    Zeth::AddPolygonCount(queued_ / 3);
}

Vertex2D CBasePrimitive2D::ConvertVertex(const Vertex2D& in) const {
    Vertex2D v = in;
    Position2D p;
    ConvertPositions(&in, &p, 1);
    v.x = p.x;
    v.y = p.y;
    v.z = p.z;
    v.rhw = p.rhw;
    return v;
}

void CBasePrimitive2D::ConvertPositions(const Vertex2D* in, Position2D* out, uint32_t count) const {
    // The virtual-to-screen conversion is a product by one factor per axis, fetched once.
    const float scaleX = Zeth::ScaleX(1.0f), scaleY = Zeth::ScaleY(1.0f);
    for (uint32_t i = 0; i < count; ++i) {
        Position2D v{in[i].x, in[i].y, in[i].z, in[i].rhw};
        if (perspective_) {
            float p = 1.0f / (((v.z - 32767.0f) * perspectiveFactor_ + 65535.0f) * kInverseDepthRange);
            v.x = (v.x - perspectiveX_) * p + perspectiveX_;
            v.y = (v.y - perspectiveY_) * p + perspectiveY_;
            v.z = (v.z / 65535.0f) / p;
            v.rhw = 1.0f / v.z;
        } else {
            v.z = v.z * kInverseDepthRange;
        }
        if (scaling_) {
            v.x = (v.x - scalingX_) * scale_ + scalingX_;
            v.y = (v.y - scalingY_) * scale_ + scalingY_;
        }
        v.x = v.x * scaleX - 0.5f;
        v.y = v.y * scaleY - 0.5f;
        out[i] = v;
    }
}

void CPrimitive2D::ConvertVertices(Vertex2D* out, const Vertex2D* in) {
    for (int i = 0; i < 3; ++i) out[i] = ConvertVertex(in[i]);
}

uint32_t CPrimitive2D::ClipLeft(const Vertex2D* in, Vertex2D* out, uint32_t n) {
    return ClipEdge<false, true>(in, out, n, clipLeft_);
}
uint32_t CPrimitive2D::ClipRight(const Vertex2D* in, Vertex2D* out, uint32_t n) {
    return ClipEdge<false, false>(in, out, n, clipRight_);
}
uint32_t CPrimitive2D::ClipTop(const Vertex2D* in, Vertex2D* out, uint32_t n) {
    return ClipEdge<true, true>(in, out, n, clipTop_);
}
uint32_t CPrimitive2D::ClipBottom(const Vertex2D* in, Vertex2D* out, uint32_t n) {
    return ClipEdge<true, false>(in, out, n, clipBottom_);
}

uint32_t CPrimitive2D::ClipTriangle(Vertex2D* out, const Vertex2D* in) {
    if (!clipping_) {
        std::memcpy(out, in, 3 * sizeof(Vertex2D));
        return 3;
    }
    auto all = [&](auto beyond) { return beyond(in[0]) && beyond(in[1]) && beyond(in[2]); };
    if (all([&](const Vertex2D& v) { return v.x < clipLeft_; }) || all([&](const Vertex2D& v) { return v.x > clipRight_; }) ||
        all([&](const Vertex2D& v) { return v.y < clipTop_; }) || all([&](const Vertex2D& v) { return v.y > clipBottom_; })) {
        return 0;
    }
    uint32_t n = ClipLeft(in, g_polygonA, 3);
    n = ClipRight(g_polygonA, g_polygonB, n);
    n = ClipTop(g_polygonB, g_polygonA, n);
    n = ClipBottom(g_polygonA, g_polygonB, n);
    if (n < 3) return 0;
    uint32_t written = 0;
    for (uint32_t i = 1; i + 1 < n; ++i) {
        out[written++] = g_polygonB[0];
        out[written++] = g_polygonB[i];
        out[written++] = g_polygonB[i + 1];
    }
    return written;
}

CPrimitive2D* CPrimitive2DManager::Create(uint32_t count, uint32_t type, bool sort) {
    return CreateLogged<CPrimitive2D>(this, "CPrimitive2D::Create", count, type, sort);
}
