// Drawing: vertex fetch by flexible vertex format, the fixed-function transform and lighting,
// clipping of transformed vertices, primitive assembly, and the choice between the rectangle
// path and the triangle path.
#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/gfx/device_impl.h"
#include "platform/gfx/formats.h"
#include "platform/gfx/raster.h"

namespace platform::gfx {

namespace {

constexpr uint32_t kMaxTexCoordSets = 8;

// Where each element of a vertex sits, from its flexible vertex format.
struct VertexLayout {
    bool pretransformed = false;
    int position = 0;
    int normal = -1;
    int diffuse = -1;
    int texCount = 0;
    int tex[kMaxTexCoordSets] = {};
    int texFloats[kMaxTexCoordSets] = {};
    uint32_t size = 0;  // 0: not drawable
};

VertexLayout LayoutOf(uint32_t fvf) {
    VertexLayout l;
    uint32_t offset;
    switch (fvf & fvf::kPositionMask) {
        case fvf::kXyz: offset = 12; break;
        case fvf::kXyzRhw: offset = 16; l.pretransformed = true; break;
        case 0x006: offset = 16; break;  // one blend weight
        case 0x008: offset = 20; break;
        case 0x00A: offset = 24; break;
        case 0x00C: offset = 28; break;
        case 0x00E: offset = 32; break;  // five blend weights
        case 0x4002: offset = 16; break; // x, y, z, w
        default: return l;
    }
    if (fvf & fvf::kNormal) { l.normal = int(offset); offset += 12; }
    if (fvf & fvf::kPointSize) offset += 4;
    if (fvf & fvf::kDiffuse) { l.diffuse = int(offset); offset += 4; }
    if (fvf & fvf::kSpecular) offset += 4;
    l.texCount = int(std::min<uint32_t>((fvf & fvf::kTexCountMask) >> fvf::kTexCountShift,
                                        kMaxTexCoordSets));
    for (int i = 0; i < l.texCount; ++i) {
        static constexpr int kFloatsBySizeCode[4] = {2, 3, 4, 1};
        l.texFloats[i] = kFloatsBySizeCode[(fvf >> (16 + 2 * i)) & 3];
        l.tex[i] = int(offset);
        offset += uint32_t(l.texFloats[i]) * 4;
    }
    l.size = offset;
    return l;
}

float ReadFloat(const uint8_t* p) {
    float v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

uint32_t ReadU32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k) s += a.m[i][k] * b.m[k][j];
            r.m[i][j] = s;
        }
    }
    return r;
}

uint32_t VerticesFor(uint32_t type, uint32_t primCount) {
    switch (type) {
        case prim::kPointList: return primCount;
        case prim::kLineList: return primCount * 2;
        case prim::kLineStrip: return primCount + 1;
        case prim::kTriangleList: return primCount * 3;
        case prim::kTriangleStrip:
        case prim::kTriangleFan: return primCount + 2;
        default: return 0;
    }
}

// The three vertex numbers of triangle i of a list, strip or fan. Odd strip triangles swap
// their first two vertices to keep the winding of the first.
void TriangleVertices(uint32_t type, uint32_t i, uint32_t out[3]) {
    if (type == prim::kTriangleList) {
        out[0] = 3 * i; out[1] = 3 * i + 1; out[2] = 3 * i + 2;
    } else if (type == prim::kTriangleFan) {
        out[0] = 0; out[1] = i + 1; out[2] = i + 2;
    } else if (i % 2 == 0) {
        out[0] = i; out[1] = i + 1; out[2] = i + 2;
    } else {
        out[0] = i + 1; out[1] = i; out[2] = i + 2;
    }
}

struct Color4 {
    float r, g, b, a;
};

Color4 ToColor(uint32_t argb) {
    return {float(Channel(argb, 16)) / 255.0f, float(Channel(argb, 8)) / 255.0f,
            float(argb & 0xFF) / 255.0f, float(argb >> 24) / 255.0f};
}

Color4 ToColor(const ColorValue& c) { return {c.r, c.g, c.b, c.a}; }

uint32_t ToArgb(const Color4& c) {
    auto byte = [](float v) { return RoundToByte(double(v) * 255.0); };
    return Pack(byte(c.a), byte(c.r), byte(c.g), byte(c.b));
}

// A vertex between two clip-space vertices, everything interpolated linearly.
void LerpClip(const std::array<float, 4>& pa, const ScreenVertex& a, const std::array<float, 4>& pb,
              const ScreenVertex& b, float t, std::array<float, 4>* p, ScreenVertex* v) {
    for (int i = 0; i < 4; ++i) (*p)[size_t(i)] = pa[size_t(i)] + (pb[size_t(i)] - pa[size_t(i)]) * t;
    uint32_t color = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float c = float(Channel(a.diffuse, shift)) +
                        (float(Channel(b.diffuse, shift)) - float(Channel(a.diffuse, shift))) * t;
        color |= RoundToByte(c) << shift;
    }
    v->diffuse = color;
    for (uint32_t s = 0; s < kStageCount; ++s) {
        for (int k = 0; k < 2; ++k) v->uv[s][k] = a.uv[s][k] + (b.uv[s][k] - a.uv[s][k]) * t;
    }
}

// The layout of a vertex declaration: the elements of stream 0 the fixed-function pipeline
// reads; the vertex size is where the last of them ends.
VertexLayout LayoutOf(const std::vector<VertexElement>& elements) {
    static constexpr int kFloatsByType[] = {1, 2, 3, 4};
    VertexLayout l;
    bool position = false;
    for (const VertexElement& e : elements) {
        if (e.stream != 0) continue;
        const uint32_t bytes = e.type <= decltype_::kFloat4 ? uint32_t(kFloatsByType[e.type]) * 4
                               : e.type == decltype_::kColor || e.type == decltype_::kUbyte4 ? 4
                                                                                             : 8;
        l.size = std::max(l.size, uint32_t(e.offset) + bytes);
        const bool floats = e.type <= decltype_::kFloat4;
        if ((e.usage == declusage::kPosition || e.usage == declusage::kPositionT) &&
            e.usageIndex == 0 && floats && e.type >= decltype_::kFloat3) {
            position = true;
            l.position = e.offset;
            l.pretransformed = e.usage == declusage::kPositionT && e.type == decltype_::kFloat4;
        } else if (e.usage == declusage::kNormal && e.usageIndex == 0 && e.type == decltype_::kFloat3) {
            l.normal = e.offset;
        } else if (e.usage == declusage::kColor && e.usageIndex == 0 && e.type == decltype_::kColor) {
            l.diffuse = e.offset;
        } else if (e.usage == declusage::kTexCoord && floats && e.usageIndex < kMaxTexCoordSets) {
            l.tex[e.usageIndex] = e.offset;
            l.texFloats[e.usageIndex] = kFloatsByType[e.type];
            l.texCount = std::max(l.texCount, int(e.usageIndex) + 1);
        }
    }
    if (!position) l.size = 0;
    return l;
}

}  // namespace

namespace {

// True when six pre-transformed vertices at p have the sprite batches' shape to the bit: the
// fourth and sixth repeat the third and the first, all share the first's depth, rhw and colour,
// and their places and stage-0 coordinates (at u and v) follow the sides. Equal bits are equal
// numbers but for not-a-number: the set-up turns away such places and coordinates, and the depth
// and rhw, which it does not look at, are checked here.
bool SpriteQuadBits(const uint8_t* p, size_t stride, int position, int diffuse, int u, int v) {
#if defined(__SSE2__)
    auto place = [&](int k) {  // x, y, z, rhw
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + size_t(k) * stride + size_t(position)));
    };
    auto same = [](__m128i a, __m128i b) { return _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(a, b))); };
    const __m128i q0 = place(0), q1 = place(1), q2 = place(2), q3 = place(3), q4 = place(4), q5 = place(5);
    const bool places = same(q5, q0) == 0xF && same(q3, q2) == 0xF && (same(q1, q0) & 0xE) == 0xE &&
                        (same(q2, q0) & 0xC) == 0xC && (same(q4, q0) & 0xD) == 0xD && (same(q1, q2) & 0x1) != 0 &&
                        (same(q4, q2) & 0x2) != 0;
    auto word = [&](int k, int at) {
        uint32_t w;
        std::memcpy(&w, p + size_t(k) * stride + size_t(at), sizeof w);
        return w;
    };
    const uint32_t differ = (word(5, diffuse) ^ word(0, diffuse)) | (word(5, u) ^ word(0, u)) | (word(5, v) ^ word(0, v)) |
                            (word(3, diffuse) ^ word(2, diffuse)) | (word(3, u) ^ word(2, u)) | (word(3, v) ^ word(2, v)) |
                            (word(1, diffuse) ^ word(0, diffuse)) | (word(2, diffuse) ^ word(0, diffuse)) |
                            (word(4, diffuse) ^ word(0, diffuse)) | (word(1, u) ^ word(2, u)) | (word(1, v) ^ word(0, v)) |
                            (word(4, u) ^ word(0, u)) | (word(4, v) ^ word(2, v));
    float z, rhw;
    std::memcpy(&z, p + position + 8, sizeof z);
    std::memcpy(&rhw, p + position + 12, sizeof rhw);
    return places && differ == 0 && z == z && rhw == rhw;
#else
    (void)p, (void)stride, (void)position, (void)diffuse, (void)u, (void)v;
    return false;  // the pair is read whole
#endif
}

}  // namespace

uint32_t VertexSizeOfFvf(uint32_t fvf) { return LayoutOf(fvf).size; }

// ---- pipeline snapshot ----

void DeviceImpl::BuildPipeline(PipelineState* ps) {
    const uint32_t* r = renderStates_;
    SurfaceImpl* target = renderTarget_;
    ps->target = target->Storage();  // a pending fill is written by the draw (see Draw)
    ps->targetPitch = int(target->Width());
    ps->targetFormat = target->GetFormat();
    ps->quantize = !Is32BitColor(ps->targetFormat);
    ps->alphaOr = ps->targetFormat == fmt::kX8R8G8B8 ? 0xFF000000u : 0u;
    const bool depthFits = depthStencil_ && depthStencil_->Width() >= target->Width() &&
                           depthStencil_->Height() >= target->Height();
    ps->depth = depthFits ? depthStencil_->Depth() : nullptr;
    ps->depthPitch = depthFits ? int(depthStencil_->Width()) : 0;
    ps->depthTest = depthFits && r[rs::kZEnable] != 0;
    ps->depthWrite = ps->depthTest && r[rs::kZWriteEnable] != 0;
    ps->depthFunc = r[rs::kZFunc];
    ps->scissor = {int32_t(viewport_.x), int32_t(viewport_.y),
                   int32_t(std::min(viewport_.x + viewport_.width, target->Width())),
                   int32_t(std::min(viewport_.y + viewport_.height, target->Height()))};

    ps->stageCount = 0;
    for (uint32_t i = 0; i < kStageCount; ++i) {
        const uint32_t* t = stageStates_[i];
        if (t[tss::kColorOp] == top::kDisable) break;
        ps->ops[i] = {t[tss::kColorOp], t[tss::kColorArg1], t[tss::kColorArg2],
                      t[tss::kAlphaOp], t[tss::kAlphaArg1], t[tss::kAlphaArg2], t[tss::kConstant]};
        const uint32_t* s = samplerStates_[i];
        StageSampler& sampler = ps->samplers[i];
        sampler = StageSampler{};
        if (TextureImpl* texture = textures_[i]) {
            SurfaceImpl* level = texture->Level(0);
            sampler.texels = level->ArgbPixels();
            sampler.width = int(level->Width());
            sampler.height = int(level->Height());
        }
        sampler.addressU = s[samp::kAddressU];
        sampler.addressV = s[samp::kAddressV];
        sampler.linearMag = s[samp::kMagFilter] >= filter::kLinear;
        sampler.linearMin = s[samp::kMinFilter] >= filter::kLinear;
        sampler.border = s[samp::kBorderColor];
        ++ps->stageCount;
    }
    ps->textureFactor = r[rs::kTextureFactor];
    ps->alphaTest = r[rs::kAlphaTestEnable] != 0;
    ps->alphaFunc = r[rs::kAlphaFunc];
    ps->alphaRef = r[rs::kAlphaRef] & 0xFF;
    ps->blend = r[rs::kAlphaBlendEnable] != 0;
    ps->blendOp = r[rs::kBlendOp];
    ps->srcBlend = r[rs::kSrcBlend];
    ps->destBlend = r[rs::kDestBlend];
    ps->blendFactor = r[193];
    ps->colorWriteMask = r[rs::kColorWriteEnable] & 0xF;
    ps->cullMode = r[rs::kCullMode];
    ps->flatShade = r[rs::kShadeMode] == shade::kFlat;
    Classify(ps);
    ps->triangles = ForceGeneralPath() ? nullptr : ChooseTrianglePath(*ps);
    ps->perspective = ForceGeneralPath() ? nullptr : ChoosePerspectivePath(*ps);
}

// ---- vertices ----

// Where a draw reads each part of its vertices: the layout of their format, and the place of
// each stage's coordinates (-1 reads 0: a set the format does not carry, or a one-float set's v).
struct DeviceImpl::VertexFetch {
    VertexLayout layout;
    int uAt[kStageCount], vAt[kStageCount];
    int stages;  // stages past the enabled ones are never sampled

    void ReadStages(const uint8_t* p, ScreenVertex* v) const {
        for (int s = 0; s < stages; ++s) {
            v->uv[s][0] = uAt[s] >= 0 ? ReadFloat(p + uAt[s]) : 0.0f;
            v->uv[s][1] = vAt[s] >= 0 ? ReadFloat(p + vAt[s]) : 0.0f;
        }
    }
    // A pre-transformed vertex, as it is drawn.
    void ReadScreen(const uint8_t* p, ScreenVertex* v) const {
        const uint8_t* at = p + layout.position;
        v->x = ReadFloat(at);
        v->y = ReadFloat(at + 4);
        v->z = ReadFloat(at + 8);
        v->rhw = ReadFloat(at + 12);
        v->diffuse = layout.diffuse >= 0 ? ReadU32(p + layout.diffuse) : 0xFFFFFFFFu;
        ReadStages(p, v);
    }
};

bool DeviceImpl::PrepareFetch(const DrawSource& source, uint32_t count, int stages, VertexFetch* fetch) {
    VertexFetch& f = *fetch;
    f.layout = declaration_ ? LayoutOf(declaration_->Elements()) : LayoutOf(fvf_);
    const VertexLayout& layout = f.layout;
    if (layout.size == 0 || source.stride < layout.size) return false;
    if (count > 0 && (size_t(count - 1) * source.stride + layout.size > source.vertexBytes)) {
        return false;
    }
    transformed_ = !layout.pretransformed;
    hasDiffuse_ = layout.diffuse >= 0;
    for (uint32_t s = 0; s < kStageCount; ++s) {
        const uint32_t set = stageStates_[s][tss::kTexCoordIndex] & 0xFFFF;
        const bool carried = set < uint32_t(layout.texCount);
        f.uAt[s] = carried ? layout.tex[set] : -1;
        f.vAt[s] = carried && layout.texFloats[set] > 1 ? layout.tex[set] + 4 : -1;
    }
    f.stages = stages;
    return true;
}

bool DeviceImpl::LoadVertices(const DrawSource& source, uint32_t count, int stages) {
    if (program_) return RunVertexProgram(source, count, stages);
    VertexFetch fetch;
    if (!PrepareFetch(source, count, stages, &fetch)) return false;
    const VertexLayout& layout = fetch.layout;
    // The scratch only grows: shrinking and growing again would clear it on every draw.
    if (screen_.size() < count) screen_.resize(count);
    if (!transformed_) {
        for (uint32_t i = 0; i < count; ++i) fetch.ReadScreen(source.vertices + size_t(i) * source.stride, &screen_[i]);
        return true;
    }
    const bool lighting = renderStates_[rs::kLighting] != 0 && layout.normal >= 0;
    if (clip_.size() < count) clip_.resize(count);
    const Matrix all = Multiply(Multiply(world_, view_), projection_);
    FetchedVertex f{};
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = source.vertices + size_t(i) * source.stride;
        const uint8_t* at = p + layout.position;
        f.position[0] = ReadFloat(at);
        f.position[1] = ReadFloat(at + 4);
        f.position[2] = ReadFloat(at + 8);
        f.position[3] = 1.0f;
        if (layout.normal >= 0) {
            for (int k = 0; k < 3; ++k) f.normal[k] = ReadFloat(p + layout.normal + 4 * k);
        }
        f.diffuse = layout.diffuse >= 0 ? ReadU32(p + layout.diffuse) : 0xFFFFFFFFu;
        ScreenVertex& v = screen_[i];
        v.diffuse = lighting ? LightVertex(f) : f.diffuse;
        fetch.ReadStages(p, &v);
        std::array<float, 4>& c = clip_[i];
        for (int j = 0; j < 4; ++j) {
            c[size_t(j)] = f.position[0] * all.m[0][j] + f.position[1] * all.m[1][j] +
                           f.position[2] * all.m[2][j] + all.m[3][j];
        }
        ProjectToViewport(c, &v);
    }
    return true;
}

// Fixed-function lighting in world space: emissive, ambient, and the diffuse of every enabled
// light, from the material or the vertex colour.
uint32_t DeviceImpl::LightVertex(const FetchedVertex& f) const {
    const bool vertexColor = renderStates_[rs::kColorVertex] && hasDiffuse_ &&
                             renderStates_[rs::kDiffuseMaterialSource] == 1;
    const Color4 diffuse = vertexColor ? ToColor(f.diffuse) : ToColor(material_.diffuse);
    const Color4 ambient = ToColor(renderStates_[rs::kAmbient]);
    Color4 out{material_.emissive.r + material_.ambient.r * ambient.r,
               material_.emissive.g + material_.ambient.g * ambient.g,
               material_.emissive.b + material_.ambient.b * ambient.b, diffuse.a};
    float n[3], wp[3];
    for (int j = 0; j < 3; ++j) {
        n[j] = f.normal[0] * world_.m[0][j] + f.normal[1] * world_.m[1][j] +
               f.normal[2] * world_.m[2][j];
        wp[j] = f.position[0] * world_.m[0][j] + f.position[1] * world_.m[1][j] +
                f.position[2] * world_.m[2][j] + world_.m[3][j];
    }
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length > 0.0f) for (float& k : n) k /= length;
    for (uint32_t l = 0; l < kLightCount; ++l) {
        if (!lightEnabled_[l]) continue;
        const Light& light = lights_[l];
        float dir[3];
        float attenuation = 1.0f;
        if (light.type == light::kDirectional) {
            dir[0] = -light.direction.x; dir[1] = -light.direction.y; dir[2] = -light.direction.z;
        } else {
            dir[0] = light.position.x - wp[0];
            dir[1] = light.position.y - wp[1];
            dir[2] = light.position.z - wp[2];
            const float d = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2]);
            if (d > light.range) continue;
            const float k = light.attenuation0 + light.attenuation1 * d +
                            light.attenuation2 * d * d;
            attenuation = k > 0.0f ? 1.0f / k : 1.0f;
        }
        const float dl = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2]);
        if (dl <= 0.0f) continue;
        const float ndotl = std::max(0.0f, (n[0] * dir[0] + n[1] * dir[1] + n[2] * dir[2]) / dl);
        out.r += (light.ambient.r * material_.ambient.r + light.diffuse.r * diffuse.r * ndotl) * attenuation;
        out.g += (light.ambient.g * material_.ambient.g + light.diffuse.g * diffuse.g * ndotl) * attenuation;
        out.b += (light.ambient.b * material_.ambient.b + light.diffuse.b * diffuse.b * ndotl) * attenuation;
    }
    return ToArgb(out);
}

void DeviceImpl::ProjectToViewport(const std::array<float, 4>& c, ScreenVertex* v) const {
    const float halfWidth = float(viewport_.width) * 0.5f, halfHeight = float(viewport_.height) * 0.5f;
    const float rw = c[3] != 0.0f ? 1.0f / c[3] : 0.0f;
    v->x = float(viewport_.x) + (1.0f + c[0] * rw) * halfWidth;
    v->y = float(viewport_.y) + (1.0f - c[1] * rw) * halfHeight;
    v->z = viewport_.minZ + c[2] * rw * (viewport_.maxZ - viewport_.minZ);
    v->rhw = rw;
}

// ---- primitives ----

// A transformed triangle is cut by the near (z >= 0) and far (z <= w) planes in clip space
// before projection; the pieces are drawn as a fan.
void DeviceImpl::DrawTriangleClipped(const PipelineState& ps, uint32_t a, uint32_t b, uint32_t c) {
    const uint32_t ids[3] = {a, b, c};
    auto inside = [](const std::array<float, 4>& p) { return p[2] >= 0.0f && p[2] <= p[3] && p[3] > 0.0f; };
    if (inside(clip_[a]) && inside(clip_[b]) && inside(clip_[c])) {
        statistics_.triangles += DrawTriangle(ps, screen_[a], screen_[b], screen_[c]) ? 1 : 0;
        return;
    }
    std::array<float, 4> pos[9], pos2[9];
    ScreenVertex vert[9], vert2[9];
    int n = 3;
    for (int i = 0; i < 3; ++i) {
        pos[i] = clip_[ids[i]];
        vert[i] = screen_[ids[i]];
    }
    // Plane values: near z, far w - z.
    for (int plane = 0; plane < 2; ++plane) {
        auto value = [plane](const std::array<float, 4>& p) { return plane == 0 ? p[2] : p[3] - p[2]; };
        int m = 0;
        for (int i = 0; i < n; ++i) {
            const int j = (i + 1) % n;
            const float vi = value(pos[i]), vj = value(pos[j]);
            if (vi >= 0.0f) { pos2[m] = pos[i]; vert2[m] = vert[i]; ++m; }
            if ((vi >= 0.0f) != (vj >= 0.0f)) {
                LerpClip(pos[i], vert[i], pos[j], vert[j], vi / (vi - vj), &pos2[m], &vert2[m]);
                ++m;
            }
        }
        n = m;
        std::copy(pos2, pos2 + n, pos);
        std::copy(vert2, vert2 + n, vert);
    }
    if (n < 3) return;
    for (int i = 0; i < n; ++i) {
        if (pos[i][3] <= 0.0f) return;
        ProjectToViewport(pos[i], &vert[i]);
    }
    for (int i = 1; i + 1 < n; ++i) {
        statistics_.triangles += DrawTriangle(ps, vert[0], vert[i], vert[i + 1]) ? 1 : 0;
    }
}

template <class DrawFn>
bool DeviceImpl::DrawPairWith(const DrawFn& draw) {
    if (renderTarget_->HasPendingFill()) {
        const uint32_t value = renderTarget_->PendingFill();
        const bool around = knownAround_.known && knownAround_.value == value;
        TargetFill fill{value, int(renderTarget_->Width()), int(renderTarget_->Height()),
                        around ? &knownAround_.hole : nullptr};
        if (draw(&fill)) {
            renderTarget_->DropPendingFill();
            filledAround_ = {true, value, fill.drawn};
            return true;
        }
        renderTarget_->WritePendingFill();
    }
    return draw(nullptr);
}

bool DeviceImpl::DrawPair(const RectanglePath& path, const PipelineState& ps, const ScreenVertex* const pair[6]) {
    return DrawPairWith([&](TargetFill* fill) { return DrawRectangle(path, ps, pair, fill); });
}

void DeviceImpl::DrawTriangles(const PipelineState& ps, uint32_t type, uint32_t primCount) {
    const uint32_t* indices = indexScratch_.data();
    const RectanglePath* rectangles =
        (!transformed_ && !ForceGeneralPath()) ? ChooseRectanglePath(ps) : nullptr;
    if (!rectangles) renderTarget_->WritePendingFill();
    for (uint32_t i = 0; i < primCount; ++i) {
        uint32_t t[3];
        TriangleVertices(type, i, t);
        if (rectangles && i + 1 < primCount) {
            uint32_t u[3];
            TriangleVertices(type, i + 1, u);
            const ScreenVertex* const pair[6] = {
                &screen_[indices[t[0]]], &screen_[indices[t[1]]], &screen_[indices[t[2]]],
                &screen_[indices[u[0]]], &screen_[indices[u[1]]], &screen_[indices[u[2]]]};
            if (DrawPair(*rectangles, ps, pair)) {
                ++statistics_.rectangles;
                ++i;
                continue;
            }
        }
        if (transformed_) {
            DrawTriangleClipped(ps, indices[t[0]], indices[t[1]], indices[t[2]]);
        } else {
            statistics_.triangles +=
                DrawTriangle(ps, screen_[indices[t[0]]], screen_[indices[t[1]]],
                             screen_[indices[t[2]]]) ? 1 : 0;
        }
    }
}

// Screen-space triangle lists (what 2D batches draw) are read as they are drawn, a pair at a
// time, so that the vertices the rectangle path compares are at hand; pairs that are no
// rectangle go to the triangle path as DrawTriangles sends them.
void DeviceImpl::DrawScreenTriangles(const PipelineState& ps, const VertexFetch& fetch, const DrawSource& source,
                                     uint32_t primCount) {
    const RectanglePath* rectangles = !ForceGeneralPath() ? ChooseRectanglePath(ps) : nullptr;
    if (!rectangles) renderTarget_->WritePendingFill();
    ScreenVertex v[6]{};
    // The triangle at hand and the next one, in either half of v.
    ScreenVertex* pair[6] = {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5]};
    auto read = [&](uint32_t triangle, ScreenVertex* const* out) {
        const uint8_t* p = source.vertices + size_t(triangle) * 3 * source.stride;
        for (int k = 0; k < 3; ++k) fetch.ReadScreen(p + size_t(k) * source.stride, out[k]);
    };
    bool ahead = false;  // the triangle at hand was read as the next one of a pair
    const int position = fetch.layout.position, diffuse = fetch.layout.diffuse;
    const bool sprites = rectangles && diffuse >= 0 && fetch.uAt[0] >= 0 && fetch.vAt[0] >= 0;
    for (uint32_t i = 0; i < primCount; ++i) {
        // A pair with the sprite batches' shape to the bit reads two of its corners.
        const uint8_t* p = source.vertices + size_t(i) * 3 * source.stride;
        if (sprites && !ahead && i + 1 < primCount &&
            SpriteQuadBits(p, source.stride, position, diffuse, fetch.uAt[0], fetch.vAt[0])) {
            fetch.ReadScreen(p, &v[0]);
            fetch.ReadScreen(p + 2 * source.stride, &v[2]);
            if (DrawPairWith([&](TargetFill* fill) { return DrawSpritePair(*rectangles, ps, v[0], v[2], fill); })) {
                ++statistics_.rectangles;
                ++i;
                continue;
            }
        }
        if (!ahead) read(i, pair);
        ahead = false;
        if (rectangles && i + 1 < primCount) {
            read(i + 1, pair + 3);
            if (DrawPair(*rectangles, ps, pair)) {
                ++statistics_.rectangles;
                ++i;
                continue;
            }
            int covered = 0;
            if (DrawParallelogram(ps, pair, &covered)) {
                statistics_.triangles += uint32_t(covered);
                ++i;
                continue;
            }
            ahead = true;
        }
        statistics_.triangles += DrawTriangle(ps, *pair[0], *pair[1], *pair[2]) ? 1 : 0;
        if (ahead) std::swap_ranges(pair, pair + 3, pair + 3);
    }
}

Result DeviceImpl::Draw(uint32_t type, uint32_t primCount, const DrawSource& source) {
    // The draw may write anywhere in the target: what was known of its pixels is taken for the
    // draw, and what is known after it is only what a draw of one pair over a pending fill left.
    knownAround_ = renderTarget_->TakeKnownFill();
    filledAround_ = {};
    const Result r = DrawPrimitives(type, primCount, source);
    renderTarget_->SetKnownFill(primCount == 2 ? filledAround_ : SurfaceImpl::KnownFill{});
    return r;
}

Result DeviceImpl::DrawPrimitives(uint32_t type, uint32_t primCount, const DrawSource& source) {
    const uint32_t needed = VerticesFor(type, primCount);
    if (needed == 0 || !source.vertices) return result::kInvalidCall;
    if (loss_ != Loss::kNone) return result::kOk;  // a lost device draws nothing, quietly
    PipelineState ps;
    BuildPipeline(&ps);
    // A pending fill of the target is left to the draw's first pair of triangles, which may
    // write it itself (DrawPair); draws of anything else write it first.
    const bool pairs = primCount >= 2 && (type == prim::kTriangleList || type == prim::kTriangleStrip ||
                                          type == prim::kTriangleFan);
    if (!pairs) renderTarget_->WritePendingFill();
    if (type == prim::kTriangleList && !source.indices && !program_) {
        VertexFetch fetch;
        if (!PrepareFetch(source, needed, ps.stageCount, &fetch)) return result::kInvalidCall;
        if (!transformed_) {
            ++statistics_.draws;
            DrawScreenTriangles(ps, fetch, source, primCount);
            return result::kOk;
        }
    }
    // Vertex numbers of the primitives, relative to the start of the fetched range.
    indexScratch_.resize(needed);
    uint32_t lowest = 0, highest = needed - 1;
    if (source.indices) {
        int64_t lo = INT64_MAX, hi = INT64_MIN;
        for (uint32_t i = 0; i < needed; ++i) {
            const uint8_t* p = source.indices + size_t(i) * source.indexSize;
            const uint32_t index = source.indexSize == 2 ? uint32_t(p[0] | p[1] << 8) : ReadU32(p);
            const int64_t vertex = int64_t(index) + source.baseVertex;
            if (vertex < 0) return result::kInvalidCall;
            lo = std::min(lo, vertex);
            hi = std::max(hi, vertex);
            indexScratch_[i] = uint32_t(vertex);
        }
        lowest = uint32_t(lo);
        highest = uint32_t(hi);
        for (uint32_t& index : indexScratch_) index -= lowest;
    } else {
        for (uint32_t i = 0; i < needed; ++i) indexScratch_[i] = i;
    }
    const size_t skip = size_t(lowest) * source.stride;
    if (skip > source.vertexBytes) return result::kInvalidCall;
    const DrawSource range{source.vertices + skip, source.vertexBytes - skip, source.stride,
                           nullptr, 0, 0};
    if (type == prim::kTriangleList && !source.indices) {
        // A long list is fetched and drawn a piece at a time, so that the fetched vertices are
        // still in the cache when they are drawn. An even number of triangles a piece keeps the
        // pairs of the rectangle path together (a pair split in two gives the same bytes).
        constexpr uint32_t kPiece = 128;
        auto pieceAt = [&](uint32_t first) {
            const size_t skipPiece = std::min(size_t(first) * 3 * source.stride, range.vertexBytes);
            return DrawSource{range.vertices + skipPiece, range.vertexBytes - skipPiece,
                              source.stride, nullptr, 0, 0};
        };
        // The last piece reaches as far as the whole list: when it fits, every piece does.
        const uint32_t last = (primCount - 1) / kPiece * kPiece;
        if (!LoadVertices(pieceAt(last), 3 * (primCount - last), ps.stageCount) ||
            !LoadVertices(pieceAt(0), 3 * std::min(kPiece, primCount), ps.stageCount)) {
            return result::kInvalidCall;
        }
        ++statistics_.draws;
        for (uint32_t first = 0; first < primCount; first += kPiece) {
            const uint32_t count = std::min(kPiece, primCount - first);
            if (first != 0) LoadVertices(pieceAt(first), 3 * count, ps.stageCount);
            DrawTriangles(ps, type, count);
        }
        return result::kOk;
    }
    if (!LoadVertices(range, highest - lowest + 1, ps.stageCount)) return result::kInvalidCall;
    ++statistics_.draws;
    const uint32_t* idx = indexScratch_.data();
    switch (type) {
        case prim::kPointList:
            for (uint32_t i = 0; i < primCount; ++i) {
                if (!transformed_ || clip_[idx[i]][3] > 0.0f) DrawPoint(ps, screen_[idx[i]]);
            }
            break;
        case prim::kLineList:
        case prim::kLineStrip:
            for (uint32_t i = 0; i < primCount; ++i) {
                const uint32_t a = type == prim::kLineList ? 2 * i : i;
                if (transformed_ && (clip_[idx[a]][3] <= 0.0f || clip_[idx[a + 1]][3] <= 0.0f)) continue;
                DrawLine(ps, screen_[idx[a]], screen_[idx[a + 1]]);
            }
            break;
        default:
            DrawTriangles(ps, type, primCount);
            break;
    }
    return result::kOk;
}

Result DeviceImpl::DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primCount) {
    if (!stream_ || stream_->IsLocked() || streamStride_ == 0) return result::kInvalidCall;
    const size_t start = size_t(streamOffset_) + size_t(startVertex) * streamStride_;
    if (start > stream_->Size()) return result::kInvalidCall;
    return Draw(type, primCount,
                {stream_->Data() + start, stream_->Size() - start, streamStride_, nullptr, 0, 0});
}

Result DeviceImpl::DrawIndexedPrimitive(uint32_t type, int32_t baseVertex, uint32_t,
                                        uint32_t, uint32_t startIndex, uint32_t primCount) {
    if (!stream_ || !indices_ || stream_->IsLocked() || indices_->IsLocked() ||
        streamStride_ == 0) {
        return result::kInvalidCall;
    }
    BufferDesc desc;
    indices_->GetDesc(&desc);
    const uint32_t indexSize = desc.format == fmt::kIndex32 ? 4 : 2;
    const size_t first = size_t(startIndex) * indexSize;
    const size_t needed = size_t(VerticesFor(type, primCount)) * indexSize;
    if (first > indices_->Size() || needed > indices_->Size() - first ||
        streamOffset_ > stream_->Size()) {
        return result::kInvalidCall;
    }
    return Draw(type, primCount,
                {stream_->Data() + streamOffset_, stream_->Size() - streamOffset_, streamStride_,
                 indices_->Data() + first, indexSize, baseVertex});
}

Result DeviceImpl::DrawPrimitiveUP(uint32_t type, uint32_t primCount, const void* vertices,
                                   uint32_t stride) {
    const size_t bytes = size_t(VerticesFor(type, primCount)) * stride;
    const Result r = Draw(type, primCount,
                          {static_cast<const uint8_t*>(vertices), bytes, stride, nullptr, 0, 0});
    SetStreamSource(0, nullptr, 0, 0);
    return r;
}

Result DeviceImpl::DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t vertexCount,
                                          uint32_t primCount, const void* indices,
                                          Format indexFormat, const void* vertices,
                                          uint32_t stride) {
    if (!indices || (indexFormat != fmt::kIndex16 && indexFormat != fmt::kIndex32)) {
        return result::kInvalidCall;
    }
    const size_t bytes = (size_t(minIndex) + vertexCount) * stride;
    const Result r = Draw(type, primCount,
                          {static_cast<const uint8_t*>(vertices), bytes, stride,
                           static_cast<const uint8_t*>(indices),
                           indexFormat == fmt::kIndex32 ? 4u : 2u, 0});
    SetStreamSource(0, nullptr, 0, 0);
    SetIndices(nullptr);
    return r;
}

}  // namespace platform::gfx
