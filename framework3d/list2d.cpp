#include "framework3d/list2d.h"

#include <cmath>
#include <cstring>

#include "framework/app/log.h"
#include "framework/app/zeth.h"
#include "framework/core/lock.h"
#include "framework3d/batch_buffers.h"

CList2D::~CList2D() = default;

bool CList2D::Create(uint32_t capacity) {
    uint64_t bytes = uint64_t{capacity} * kVertexSize;
    if (bytes > UINT32_MAX) return false;
    vertexSize_ = kVertexSize;
    fvf_ = kFvf;
    bufferBytes_ = static_cast<uint32_t>(bytes);
    capacity_ = capacity;
    queued_ = writePosition_ = submitted_ = 0;
    return batch::CreateBuffers(*this, [this] { return CreateVertexBuffer(); }, [this] { return AllocateCopy(); },
                                capacity, kVertexSize);
}

void CList2D::Begin() { queued_ = writePosition_ = 0; }

void CList2D::End() { batch::Upload(vertexBuffer_, systemBuffer_, writePosition_); }

void CList2D::Rendering() {
    uint32_t primitives = queued_ / perPrimitive_;
    if (batch::Draw(GetDevicePointer(), vertexBuffer_, fvf_, vertexSize_, primitiveType_, primitives)) {
        Zeth::AddPolygonCount(primitives);
    }
}

void CList2D::ConvertVertices(Vertex2D* out, const Vertex2D* in, uint32_t count) const {
    for (uint32_t i = 0; i < count; ++i) {
        Vertex2D v = in[i];
        v.x = std::trunc(v.x + 0.5f);
        v.y = std::trunc(v.y + 0.5f);
        out[i] = ConvertVertex(v);
    }
}

bool CList2D::Queue(const Vertex2D* vertices, uint32_t n) {
    submitted_ += n;
    // The last slot stays free: a list is full one vertex early.
    if (systemBuffer_ == nullptr || queued_ + n >= capacity_) return false;
    auto* out = static_cast<uint8_t*>(systemBuffer_) + writePosition_;
    for (uint32_t i = 0; i < n; ++i) std::memcpy(out + i * kVertexSize, &vertices[i], kVertexSize);
    writePosition_ += n * kVertexSize;
    queued_ += n;
    return true;
}

CLine2D::CLine2D(CBaseManager* manager) : CList2D(manager, 2, gfx::prim::kLineList) {}

CLine2D::~CLine2D() {
    ZethLog::PrintError("CLine2D Destruct");
    ZethLog::PrintBreak();
}

bool CLine2D::Push(const Vertex2D* lines, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        Vertex2D line[2];
        ConvertVertices(line, lines + 2 * i, 2);
        if (!Queue(line, ClipLine(line))) return false;
    }
    return true;
}

namespace {

// One edge of the clip rectangle: the coordinate it tests and the side that is outside.
template <bool kVertical, bool kBelowIsOutside>
bool ClipAgainst(Vertex2D* line, float edge) {
    auto coordinate = [](const Vertex2D& v) { return kVertical ? v.y : v.x; };
    auto outside = [&](const Vertex2D& v) { return kBelowIsOutside ? coordinate(v) < edge : coordinate(v) > edge; };
    bool first = outside(line[0]), second = outside(line[1]);
    if (first && second) return false;
    if (first || second) {
        float t = (edge - coordinate(line[0])) / (coordinate(line[1]) - coordinate(line[0]));
        Vertex2D crossing;
        CBasePrimitive2D::LerpVertex(&line[0], &line[1], &crossing, t);
        line[first ? 0 : 1] = crossing;
    }
    return true;
}

}  // namespace

bool CLine2D::ClipLeft(Vertex2D* line) const { return ClipAgainst<false, true>(line, clipLeft_); }
bool CLine2D::ClipRight(Vertex2D* line) const { return ClipAgainst<false, false>(line, clipRight_); }
bool CLine2D::ClipTop(Vertex2D* line) const { return ClipAgainst<true, true>(line, clipTop_); }
bool CLine2D::ClipBottom(Vertex2D* line) const { return ClipAgainst<true, false>(line, clipBottom_); }

uint32_t CLine2D::ClipLine(Vertex2D* line) const {
    if (!clipping_) return 2;
    const Vertex2D &a = line[0], &b = line[1];
    if ((a.x < clipLeft_ && b.x < clipLeft_) || (a.x > clipRight_ && b.x > clipRight_) ||
        (a.y < clipTop_ && b.y < clipTop_) || (a.y > clipBottom_ && b.y > clipBottom_)) {
        return 0;
    }
    return ClipLeft(line) && ClipRight(line) && ClipTop(line) && ClipBottom(line) ? 2 : 0;
}

CPoint2D::CPoint2D(CBaseManager* manager) : CList2D(manager, 1, gfx::prim::kPointList) {}

CPoint2D::~CPoint2D() {
    ZethLog::PrintError("CPoint2D Destruct [%s]", GetName());
    ZethLog::PrintBreak();
}

bool CPoint2D::Push(const Vertex2D* points, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        Vertex2D point;
        ConvertVertices(&point, points + i, 1);
        if (clipping_ && (point.x < clipLeft_ || point.x > clipRight_ || point.y < clipTop_ || point.y > clipBottom_)) {
            continue;
        }
        if (!Queue(&point, 1)) return false;
    }
    return true;
}
