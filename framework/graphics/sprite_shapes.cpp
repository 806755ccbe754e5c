// The sprite's further shapes: rectangles turned in three dimensions or by a matrix, rings,
// tubes, single triangles and ribbons.
#include "framework/core/angle.h"
#include "framework/core/collision.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/texture.h"

namespace {

CMatrix Rotation(int32_t ax, int32_t ay, int32_t az) {
    CMatrix m;
    m.RotationEuler(ax, ay, az);
    return m;
}

}  // namespace

bool CSprite2D::DrawRotate3D(const float* dst, float z, const float* src, uint32_t colour, int32_t ax, int32_t ay,
                             int32_t az, uint32_t stages) {
    Cells cells = SourceCoordinates(src, stages);
    CMatrix turn = Rotation(ax, ay, az);
    float hw = dst[2] * 0.5f, hh = dst[3] * 0.5f;
    float cx = dst[0] + hw, cy = dst[1] + hh;
    const float offsets[4][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    Vertex2D corners[4];
    for (int k = 0; k < 4; ++k) {
        CVector3 p(offsets[k][0], offsets[k][1], 0.0f);
        p.TransformCoord(turn);
        corners[k] = Corner(cells, k, p.x + cx, p.y + cy, z + p.z, colour);
    }
    return PushQuad(corners);
}

bool CSprite2D::DrawMatrix(const CMatrix* m, const float* src, uint32_t colour, uint32_t stages) {
    Cells cells = SourceCoordinates(src, stages);
    float hw = src[2] * 0.5f, hh = src[3] * 0.5f;
    const float offsets[4][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    Vertex2D corners[4];
    for (int k = 0; k < 4; ++k) {
        CVector3 p(offsets[k][0], offsets[k][1], 0.0f);
        p.TransformCoord(*m);
        corners[k] = Corner(cells, k, p.x, p.y, p.z, colour);
    }
    return PushQuad(corners);
}

// Segment i spans the binary angles a_i = i x 65536 / segments - 16384 (plus the start), so
// segment 0 begins straight up. A ring's quad runs along the outer row then back along the
// inner one; a tube's runs along the depth first.
bool CSprite2D::DrawRingShape(float cx, float cy, float z, const float* src, const RingShape& shape, int32_t segments,
                              int32_t start, const CMatrix* turn, float vScale, uint32_t stages) {
    if (segments < 1) return false;
    Cells cells = SourceCoordinates(src, stages, vScale);
    // (angle step, row) of each quad corner.
    static constexpr int kRingCorners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    static constexpr int kTubeCorners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const auto& layout = shape.tube ? kTubeCorners : kRingCorners;
    bool pushed = true;
    for (int32_t i = 0; i < segments; ++i) {
        const int32_t angles[2] = {i * 65536 / segments - 16384 + start, (i + 1) * 65536 / segments - 16384 + start};
        Vertex2D corners[4];
        for (int k = 0; k < 4; ++k) {
            int32_t angle = angles[layout[k][0]];
            int row = layout[k][1];
            float radius = shape.radius[row];
            if (turn == nullptr) {
                corners[k] = Corner(cells, k, cx + AngleCos(angle) * radius, cy + AngleSin(angle) * radius,
                                    z + shape.depth[row], shape.colour[row]);
                continue;
            }
            CVector3 p(AngleCos(angle) * radius, AngleSin(angle) * radius, shape.depth[row]);
            p.TransformCoord(*turn);
            corners[k] = Corner(cells, k, p.x + cx, p.y + cy, z + p.z, shape.colour[row]);
        }
        pushed = PushQuad(corners) && pushed;
    }
    return pushed;
}

bool CSprite2D::DrawRing(float cx, float cy, float z, const float* src, float radiusA, float radiusB,
                         uint32_t colourA, uint32_t colourB, int32_t segments, float vScale, uint32_t stages) {
    return DrawRingFrom(cx, cy, z, src, radiusA, radiusB, colourA, colourB, segments, 0, vScale, stages);
}

bool CSprite2D::DrawRingFrom(float cx, float cy, float z, const float* src, float radiusA, float radiusB,
                             uint32_t colourA, uint32_t colourB, int32_t segments, int32_t start, float vScale,
                             uint32_t stages) {
    RingShape shape{{radiusB, radiusA}, {0.0f, 0.0f}, {colourB, colourA}, false};
    return DrawRingShape(cx, cy, z, src, shape, segments, start, nullptr, vScale, stages);
}

bool CSprite2D::DrawRing3D(float cx, float cy, float z, const float* src, float radiusA, float radiusB,
                           uint32_t colourA, uint32_t colourB, int32_t segments, int32_t ax, int32_t ay, int32_t az,
                           float vScale, uint32_t stages) {
    RingShape shape{{radiusB, radiusA}, {0.0f, 0.0f}, {colourB, colourA}, false};
    CMatrix turn = Rotation(ax, ay, az);
    return DrawRingShape(cx, cy, z, src, shape, segments, 0, &turn, vScale, stages);
}

bool CSprite2D::DrawTube(float cx, float cy, float z, const float* src, float radius, float height, uint32_t colour,
                         int32_t segments, float vScale, uint32_t stages) {
    return DrawTubeFrom(cx, cy, z, src, radius, height, colour, segments, 0, vScale, stages);
}

bool CSprite2D::DrawTubeFrom(float cx, float cy, float z, const float* src, float radius, float height,
                             uint32_t colour, int32_t segments, int32_t start, float vScale, uint32_t stages) {
    RingShape shape{{radius, radius}, {-height * 0.5f, height * 0.5f}, {colour, colour}, true};
    return DrawRingShape(cx, cy, z, src, shape, segments, start, nullptr, vScale, stages);
}

bool CSprite2D::DrawTube3D(float cx, float cy, float z, const float* src, float radius, float height,
                           uint32_t colour, int32_t segments, int32_t ax, int32_t ay, int32_t az, float vScale,
                           uint32_t stages) {
    RingShape shape{{radius, radius}, {-height * 0.5f, height * 0.5f}, {colour, colour}, true};
    CMatrix turn = Rotation(ax, ay, az);
    return DrawRingShape(cx, cy, z, src, shape, segments, 0, &turn, vScale, stages);
}

// The points turn about their centroid; each keeps its own depth plus the depth the turn gives it.
bool CSprite2D::DrawTurnedTriangle(const TrianglePoint* points, const CMatrix& turn) {
    const float third = 0.33333334f;
    float cx = (points[0].x + points[1].x + points[2].x) * third;
    float cy = (points[0].y + points[1].y + points[2].y) * third;
    const CTexture* texture = GetTexture(0);
    Vertex2D triangle[3] = {};
    for (int i = 0; i < 3; ++i) {
        CVector3 p(points[i].x - cx, points[i].y - cy, 0.0f);
        p.TransformCoord(turn);
        Vertex2D& v = triangle[i];
        v.x = cx + p.x;
        v.y = cy + p.y;
        v.z = points[i].z + p.z;
        v.rhw = 1.0f;
        v.diffuse = points[i].colour;
        v.uv[0][0] = ZethTexture::PixelToTexelU(texture, points[i].u);
        v.uv[0][1] = ZethTexture::PixelToTexelV(texture, points[i].v);
    }
    return Push(triangle, 1);
}

bool CSprite2D::DrawTriangle(const TrianglePoint& a, const TrianglePoint& b, const TrianglePoint& c, int32_t angle) {
    const TrianglePoint points[3] = {a, b, c};
    return DrawTurnedTriangle(points, Rotation(0, 0, angle));
}

bool CSprite2D::DrawTriangle3D(const TrianglePoint& a, const TrianglePoint& b, const TrianglePoint& c, int32_t ax,
                               int32_t ay, int32_t az) {
    const TrianglePoint points[3] = {a, b, c};
    return DrawTurnedTriangle(points, Rotation(ax, ay, az));
}

bool CSprite2D::DrawStrip(const float* x, const float* y, const float* z, const float* halfWidth,
                          const uint32_t* angle, const uint32_t* colour, uint32_t count, const float* src) {
    if (count < 2) return false;
    Cells cells = SourceCoordinates(src, 1);
    float vTop = cells.uv[0][1], vBottom = cells.uv[0][3];
    float step = (vBottom - vTop) / static_cast<float>(count - 1);
    auto edge = [&](uint32_t i, float sign, float u) {
        float offset[2] = {0.0f, halfWidth[i]};
        RotateByAngle(offset, static_cast<int32_t>(angle[i]));
        Vertex2D v = PushedVertex(x[i] + sign * offset[0], y[i] + sign * offset[1], z[i], colour[i]);
        v.uv[0][0] = u;
        v.uv[0][1] = vTop + static_cast<float>(i) * step;
        return v;
    };
    bool pushed = true;
    for (uint32_t i = 0; i + 1 < count; ++i) {
        const Vertex2D corners[4] = {edge(i, 1.0f, cells.uv[0][0]), edge(i, -1.0f, cells.uv[0][2]),
                                     edge(i + 1, -1.0f, cells.uv[0][2]), edge(i + 1, 1.0f, cells.uv[0][0])};
        pushed = PushQuad(corners) && pushed;
    }
    return pushed;
}
