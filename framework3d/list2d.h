// Line and point lists in 2D: the framework's pre-transformed vertices, rounded, put through
// the 2D perspective and scaling, clipped to the clip rectangle and converted to screen pixels
// as the triangle batch converts them, then queued, uploaded and drawn in one call.
#pragma once

#include <cstdint>

#include "framework/graphics/primitive2d.h"

// What the two lists share: the buffers, the queue and the drawing.
class CList2D : public CBasePrimitive2D {
public:
    static constexpr uint32_t kVertexSize = 20;
    static constexpr uint32_t kFvf = 0x044;

    CList2D(CBaseManager* manager, uint32_t verticesPerPrimitive, uint32_t primitiveType)
        : CBasePrimitive2D(manager), perPrimitive_(verticesPerPrimitive), primitiveType_(primitiveType) {}
    ~CList2D() override;

    bool Create(uint32_t capacity);
    void Begin() override;  // the queue empties; the offered count keeps growing
    void End() override;
    void Rendering() override;

protected:
    // Rounds x and y, then converts count vertices.
    void ConvertVertices(Vertex2D* out, const Vertex2D* in, uint32_t count) const;
    // Offers n converted vertices: counted, then queued when they fit below the capacity.
    bool Queue(const Vertex2D* vertices, uint32_t n);

private:
    uint32_t perPrimitive_;
    uint32_t primitiveType_;
};

class CLine2D : public CList2D {
public:
    explicit CLine2D(CBaseManager* manager);
    ~CLine2D() override;
    bool Push(const Vertex2D* lines, uint32_t count) override;  // two vertices a line

protected:
    uint32_t ClipLine(Vertex2D* line) const;  // 0 when the line is dropped, else 2
    bool ClipLeft(Vertex2D* line) const;      // false when the line lies wholly beyond the edge
    bool ClipTop(Vertex2D* line) const;
    bool ClipRight(Vertex2D* line) const;
    bool ClipBottom(Vertex2D* line) const;
};

class CPoint2D : public CList2D {
public:
    explicit CPoint2D(CBaseManager* manager);
    ~CPoint2D() override;
    bool Push(const Vertex2D* points, uint32_t count) override;
};
