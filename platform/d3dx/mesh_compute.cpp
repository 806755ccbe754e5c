// Normals and bounds computed from a mesh's or a vertex array's positions.
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/d3dx/mesh.h"

namespace platform::d3dx {

namespace r = gfx::result;

namespace {

struct V3 {
    float x, y, z;
};
V3 Sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Unit(V3 a) {
    const float length = std::sqrt(Dot(a, a));
    return length > 0.0f ? V3{a.x / length, a.y / length, a.z / length} : V3{0.0f, 0.0f, 0.0f};
}

V3 PositionAt(const gfx::Vector3* first, uint32_t stride, uint32_t i) {
    V3 p;
    std::memcpy(&p, reinterpret_cast<const uint8_t*>(first) + size_t(i) * stride, sizeof(p));
    return p;
}

}  // namespace

Result ComputeNormals(Mesh* mesh, const uint32_t*) {
    if (mesh == nullptr) return r::kInvalidArg;
    const VertexLayout& layout = mesh->Layout();
    if (layout.normal < 0) return r::kInvalidCall;
    if (!mesh->IndicesInRange()) return r::kInvalidMesh;
    const uint32_t stride = layout.size;
    uint8_t* bytes = mesh->VertexBytes();
    const auto* positions = reinterpret_cast<const gfx::Vector3*>(bytes);
    std::vector<V3> sums(mesh->GetNumVertices(), V3{0.0f, 0.0f, 0.0f});
    const uint16_t* indices = mesh->Indices();
    const float pi = 3.14159265358979f;
    for (uint32_t f = 0; f < mesh->GetNumFaces(); ++f) {
        const uint32_t corner[3] = {indices[f * 3], indices[f * 3 + 1], indices[f * 3 + 2]};
        V3 p[3];
        for (int k = 0; k < 3; ++k) p[k] = PositionAt(positions, stride, corner[k]);
        const V3 normal = Unit(Cross(Sub(p[1], p[0]), Sub(p[2], p[0])));
        for (int k = 0; k < 3; ++k) {
            const V3 a = Unit(Sub(p[(k + 1) % 3], p[k]));
            const V3 b = Unit(Sub(p[(k + 2) % 3], p[k]));
            const float weight = std::acos(std::fmax(-1.0f, std::fmin(1.0f, Dot(a, b)))) / pi;
            V3& sum = sums[corner[k]];
            sum = {sum.x + normal.x * weight, sum.y + normal.y * weight, sum.z + normal.z * weight};
        }
    }
    for (uint32_t v = 0; v < mesh->GetNumVertices(); ++v) {
        const V3 n = Unit(sums[v]);
        std::memcpy(bytes + size_t(v) * stride + layout.normal, &n, sizeof(n));
    }
    return r::kOk;
}

Result ComputeBoundingBox(const gfx::Vector3* first, uint32_t count, uint32_t stride, gfx::Vector3* min,
                          gfx::Vector3* max) {
    if (first == nullptr || min == nullptr || max == nullptr || count == 0 || stride < sizeof(gfx::Vector3)) {
        return r::kInvalidCall;
    }
    V3 lo = PositionAt(first, stride, 0);
    V3 hi = lo;
    for (uint32_t i = 1; i < count; ++i) {
        const V3 p = PositionAt(first, stride, i);
        lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
        hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
    }
    *min = {lo.x, lo.y, lo.z};
    *max = {hi.x, hi.y, hi.z};
    return r::kOk;
}

Result ComputeBoundingSphere(const gfx::Vector3* first, uint32_t count, uint32_t stride, gfx::Vector3* centre,
                             float* radius) {
    if (first == nullptr || centre == nullptr || radius == nullptr || count == 0 || stride < sizeof(gfx::Vector3)) {
        return r::kInvalidCall;
    }
    V3 sum{0.0f, 0.0f, 0.0f};
    for (uint32_t i = 0; i < count; ++i) {
        const V3 p = PositionAt(first, stride, i);
        sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
    }
    const float n = float(count);
    const V3 c{sum.x / n, sum.y / n, sum.z / n};
    float farthest = 0.0f;
    for (uint32_t i = 0; i < count; ++i) {
        const V3 d = Sub(PositionAt(first, stride, i), c);
        farthest = std::fmax(farthest, Dot(d, d));
    }
    *centre = {c.x, c.y, c.z};
    *radius = std::sqrt(farthest);
    return r::kOk;
}

}  // namespace platform::d3dx
