// The rectangle path: most of what the framework draws is a pair of triangles forming an
// axis-aligned, single-colour rectangle whose texture is sampled by point. Such a pair is drawn
// row by row with the texel column of every pixel worked out once, by one of a table of loops
// specialised on the states.
//
// It gives the same bytes as the triangle path, wherever the rectangle lies. Coverage is the
// same by construction: the pixels whose centres lie in [left, right) x [top, bottom) of the
// snapped corners, which is exactly what the top-left rule gives the two triangles together.
// Texel choice is the same because both triangles have one texel plane for u and one for v
// (texel_plane.h), u flat along y and v along x, evaluated here along each axis.
#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/gfx/raster.h"
#include "platform/gfx/span_avx2.h"

namespace platform::gfx {

namespace {

constexpr int kMaxRectangleSide = 4096;

struct RectJob {
    int left, top, width, height;  // pixels, already inside the scissor
    uint32_t color;
    const int* columns;  // texel column of each pixel of a row
    const int* rows;     // texel row of each row
    TexelRun run;        // how the columns run
    const uint32_t* fill = nullptr;  // the value the rows are to hold before the draw, not written yet
};

using SpanRoutine = void (*)(const PipelineState&, const RectJob&);

#if defined(__SSE2__)
// round(x / 255) on eight 16-bit lanes holding x <= 255 x 255: with t = x + 128,
// (t + (t >> 8)) >> 8 equals (t x 257) >> 16, one high multiply.
inline __m128i Div255x8(__m128i x) {
    return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}

inline __m128i Mul255x8(__m128i a, __m128i b) { return Div255x8(_mm_mullo_epi16(a, b)); }

// Source-alpha blending of four pixels, on the red-blue and the alpha-green byte of each
// 16-bit lane apart (the AVX2 span's arithmetic).
inline __m128i BlendFour(__m128i src, __m128i dst) {
    const __m128i low = _mm_set1_epi16(0x00FF);
    const __m128i a = _mm_srli_epi32(src, 24);
    const __m128i alpha = _mm_or_si128(a, _mm_slli_epi32(a, 16));
    const __m128i inverse = _mm_xor_si128(alpha, low);
    const __m128i rb = Div255x8(_mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(src, low), alpha),
                                              _mm_mullo_epi16(_mm_and_si128(dst, low), inverse)));
    const __m128i ag = Div255x8(_mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(src, 8), alpha),
                                              _mm_mullo_epi16(_mm_srli_epi16(dst, 8), inverse)));
    return _mm_or_si128(rb, _mm_slli_epi16(ag, 8));
}

// The alpha-blended span from pixel `from` to the end of one row, four pixels at a time, with
// the same arithmetic as BlendSourceAlpha.
template <bool kTint>
void BlendSpanSse2(const uint32_t* texRow, const RectJob& job, uint32_t* dst, uint32_t alphaOr,
                   int from) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i orMask = _mm_set1_epi32(int(alphaOr));
    const __m128i tint = _mm_unpacklo_epi8(_mm_set1_epi32(int(job.color)), zero);
    const int* columns = job.columns;
    const uint32_t* run = texRow + columns[0];
    int i = from;
    for (; i + 4 <= job.width; i += 4) {
        __m128i src;
        if (job.run == TexelRun::kStraight) {
            src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(run + i));
        } else if (job.run == TexelRun::kDoubled) {
            const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(run + i / 2));
            src = _mm_unpacklo_epi32(two, two);
        } else {
            src = _mm_set_epi32(int(texRow[columns[i + 3]]), int(texRow[columns[i + 2]]),
                                int(texRow[columns[i + 1]]), int(texRow[columns[i]]));
        }
        if constexpr (kTint) {
            src = _mm_packus_epi16(Mul255x8(_mm_unpacklo_epi8(src, zero), tint),
                                   Mul255x8(_mm_unpackhi_epi8(src, zero), tint));
        }
        // Blended without branching on the alpha, as the AVX2 span is.
        __m128i* out = reinterpret_cast<__m128i*>(dst + i);
        _mm_storeu_si128(out, _mm_or_si128(BlendFour(src, _mm_loadu_si128(out)), orMask));
    }
    for (; i < job.width; ++i) {
        uint32_t c = texRow[columns[i]];
        if constexpr (kTint) c = Modulate(c, job.color);
        dst[i] = BlendSourceAlpha(c, dst[i]) | alphaOr;
    }
}
#endif

template <bool kTextured, bool kTint, bool kAlphaTest, int kBlend>
void DrawSpans(const PipelineState& ps, const RectJob& job);

// Writes each value twice: out[i] = values[i / 2] for i below count.
void WriteDoubled(const uint32_t* values, int count, uint32_t* out) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 8 <= count; i += 8) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + i / 2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi32(four, four));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), _mm_unpackhi_epi32(four, four));
    }
#endif
    for (; i < count; ++i) out[i] = values[i / 2];
}

// The rows of a rectangle over a fill not yet written: each row is filled, then drawn alone, or
// copied from the row above when it reads the same texels (both rows started as the fill, so
// they give the same bytes). A target that is its own texture never has a pending fill: reading
// its texels writes it.
template <bool kTextured, bool kTint, bool kAlphaTest, int kBlend>
void DrawSpansOverFill(const PipelineState& ps, const RectJob& job) {
    const size_t pitch = size_t(ps.targetPitch);
    uint32_t* dst = ps.target + size_t(job.top) * pitch + size_t(job.left);
    RectJob row = job;
    row.height = 1;
    row.fill = nullptr;
    // Texels that run doubled give each pixel pair one result: a row is drawn at half width,
    // each texel once, into a row of its own filled alike, and each result is written twice.
    const bool doubled = kTextured && job.run == TexelRun::kDoubled;
    PipelineState half;
    int halfColumns[kMaxRectangleSide / 2 + 1];
    uint32_t halfRow[kMaxRectangleSide / 2 + 1];
    if (doubled) {
        half = ps;
        half.target = halfRow;
        half.targetPitch = (job.width + 1) / 2;
        for (int j = 0; j < half.targetPitch; ++j) halfColumns[j] = job.columns[2 * j];
        row = {0, 0, half.targetPitch, 1, job.color, halfColumns, nullptr, TexelRun::kStraight};
    }
    for (int r = 0; r < job.height; ++r, dst += pitch) {
        if (r > 0 && (!kTextured || job.rows[r] == job.rows[r - 1])) {
            std::memcpy(dst, dst - pitch, size_t(job.width) * sizeof(uint32_t));
            continue;
        }
        row.rows = kTextured ? job.rows + r : nullptr;
        if (doubled) {
            FillPixels(halfRow, size_t(half.targetPitch), *job.fill);
            DrawSpans<kTextured, kTint, kAlphaTest, kBlend>(half, row);
            WriteDoubled(halfRow, job.width, dst);
            continue;
        }
        FillPixels(dst, size_t(job.width), *job.fill);
        row.top = job.top + r;
        DrawSpans<kTextured, kTint, kAlphaTest, kBlend>(ps, row);
    }
}

template <bool kTextured, bool kTint, bool kAlphaTest, int kBlend>
void DrawSpans(const PipelineState& ps, const RectJob& job) {
    if (job.fill != nullptr) {
        DrawSpansOverFill<kTextured, kTint, kAlphaTest, kBlend>(ps, job);
        return;
    }
    const StageSampler& s = ps.samplers[0];
    const uint32_t alphaOr = ps.alphaOr;
    uint32_t* const corner =
        ps.target + size_t(job.top) * size_t(ps.targetPitch) + size_t(job.left);
#if defined(__SSE2__)
    if constexpr (kTextured && !kAlphaTest && kBlend == kAlphaBlend) {
        const bool avx2 = UseAvx2();
        auto row = [&](int r) { return corner + size_t(r) * size_t(ps.targetPitch); };
        // Blends rows [first, first + count).
        auto blendRows = [&](int first, int count) {
            const int done = avx2 ? BlendRectAvx2(s.texels, s.width, job.rows + first, job.columns,
                                                  job.run, job.width, count, kTint, job.color,
                                                  row(first), ps.targetPitch, alphaOr)
                                  : 0;
            if (done == job.width) return;
            for (int r = first; r < first + count; ++r) {
                BlendSpanSse2<kTint>(s.texels + size_t(job.rows[r]) * size_t(s.width), job, row(r),
                                     alphaOr, done);
            }
        };
        // Magnified vertically: a row that reads the same texels onto the same pixels as the
        // one above gives the same result, so it is copied instead of blended again (unless
        // the texture is the target itself, whose rows read what the rows above wrote).
        if (job.height < 2 || job.rows[1] != job.rows[0] || s.texels == ps.target) {
            blendRows(0, job.height);
            return;
        }
        const size_t bytes = size_t(job.width) * sizeof(uint32_t);
        for (int r = 0; r < job.height; ++r) {
            const bool twin = r + 1 < job.height && job.rows[r + 1] == job.rows[r] &&
                              std::memcmp(row(r), row(r + 1), bytes) == 0;
            blendRows(r, 1);
            if (twin) std::memcpy(row(r + 1), row(r), bytes);
            r += twin ? 1 : 0;
        }
        return;
    }
#endif
    for (int r = 0; r < job.height; ++r) {
        uint32_t* dst = corner + size_t(r) * size_t(ps.targetPitch);
        const uint32_t* texRow = kTextured ? s.texels + size_t(job.rows[r]) * size_t(s.width) : nullptr;
        for (int i = 0; i < job.width; ++i) {
            uint32_t c = kTextured ? texRow[job.columns[i]] : job.color;
            if constexpr (kTextured && kTint) c = Modulate(c, job.color);
            if constexpr (kAlphaTest) {
                if (!CompareAlpha(ps.alphaFunc, c >> 24, ps.alphaRef)) continue;
            }
            if constexpr (kBlend == kAlphaBlend) c = BlendSourceAlpha(c, dst[i]);
            if constexpr (kBlend == kGenericBlend) c = BlendPixel(ps, c, dst[i]);
            dst[i] = c | alphaOr;
        }
    }
}

// The table of loops: index = textured | tint << 1 | alpha test << 2, then the blend kind.
template <int kIndex, int kBlend>
constexpr SpanRoutine Routine() {
    return &DrawSpans<(kIndex & 1) != 0, (kIndex & 2) != 0, (kIndex & 4) != 0, kBlend>;
}

template <int kBlend>
constexpr SpanRoutine kRow[8] = {Routine<0, kBlend>(), Routine<1, kBlend>(), Routine<2, kBlend>(),
                                 Routine<3, kBlend>(), Routine<4, kBlend>(), Routine<5, kBlend>(),
                                 Routine<6, kBlend>(), Routine<7, kBlend>()};

const SpanRoutine* const kRoutines[kBlendKinds] = {kRow<kOpaque>, kRow<kAlphaBlend>,
                                                   kRow<kGenericBlend>};

// True for a four-bit corner set with exactly three corners.
bool HasThreeCorners(int mask) { return mask == 0b0111 || mask == 0b1011 || mask == 0b1101 || mask == 0b1110; }

int64_t CeilPixel(int64_t subpixels) {
    return (subpixels + (int64_t(1) << kSubpixelBits) - 1) >> kSubpixelBits;
}

// How a row's texel columns run.
TexelRun RunOf(const int* columns, int count) {
    bool straight = true, doubled = true;
    for (int i = 1; i < count; ++i) {
        straight = straight && columns[i] == columns[0] + i;
        doubled = doubled && columns[i] == columns[0] + i / 2;
    }
    return straight ? TexelRun::kStraight : doubled ? TexelRun::kDoubled : TexelRun::kIndexed;
}

// The texel index, addressed, of each of `count` pixels along one axis, whose coordinate is
// `start` units at the first and steps by `step` a pixel; how the indexes run, if asked.
void AxisTexels(int64_t start, int64_t step, int count, int size, uint32_t mode, int* out, TexelRun* run) {
    const int64_t end = start + step * (count - 1);
    if (std::max(std::abs(start), std::abs(end)) < (int64_t(1) << 31)) {
        // Within 32 bits, four at a time where vectors exist.
        int k = 0;
        uint32_t value = uint32_t(start);
#if defined(__SSE2__)
        const __m128i stride = _mm_set1_epi32(int(uint32_t(step) * 4u));
        __m128i lanes = _mm_setr_epi32(int(value), int(value + uint32_t(step)), int(value + 2u * uint32_t(step)),
                               int(value + 3u * uint32_t(step)));
        for (; k + 4 <= count; k += 4) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_srai_epi32(lanes, kTexelFraction));
            lanes = _mm_add_epi32(lanes, stride);
        }
        value += uint32_t(k) * uint32_t(step);
#endif
        for (; k < count; ++k, value += uint32_t(step)) out[k] = int32_t(value) >> kTexelFraction;
    } else {
        for (int k = 0; k < count; ++k) out[k] = TexelOf(start + step * k);
    }
    // The indexes run one way: both ends inside the texture put every index inside.
    if (unsigned(out[0]) < unsigned(size) && unsigned(out[count - 1]) < unsigned(size)) {
        if (run == nullptr) return;
        // One texel a pixel; or each twice, from the first half of a texel.
        constexpr int64_t kTexel = int64_t(1) << kTexelFraction;
        *run = step == kTexel ? TexelRun::kStraight
               : step == kTexel / 2 && (start & (kTexel - 1)) < kTexel / 2 ? TexelRun::kDoubled
                                                                            : RunOf(out, count);
        return;
    }
    for (int k = 0; k < count; ++k) out[k] = AddressTexel(out[k], size, mode);
    if (run != nullptr) *run = RunOf(out, count);
}

// What DrawRectangle needs of a pair once it is known to form a rectangle: the pixels it
// covers and, for a textured draw, the planes of stage 0's coordinates (u flat along y, v along
// x), the two triangles' alike.
struct PairSetup {
    int64_t left, top, right, bottom;  // pixels [left, right) x [top, bottom), in the scissor
    TexelPlane u, v;
};

// The pair as sprite batches make it, (top left, top right, bottom right) and (bottom right,
// bottom left, top left), of one colour, depth and rhw, with u following x and v following y,
// left to right and top to bottom: set up from its four sides as SetUpTriangle sets up the two
// triangles, without their general tests. False (nothing set) for any other pair, which takes
// the general set-up.
bool IsSpritePair(const ScreenVertex* const t[6]) {
    const ScreenVertex &tl = *t[0], &tr = *t[1], &br = *t[2], &bl = *t[4];
    auto same = [](const ScreenVertex& a, const ScreenVertex& b) {
        return a.diffuse == b.diffuse && a.z == b.z && a.rhw == b.rhw;
    };
    auto equal = [&](const ScreenVertex& a, const ScreenVertex& b) {
        return same(a, b) && a.x == b.x && a.y == b.y && a.uv[0][0] == b.uv[0][0] &&
               a.uv[0][1] == b.uv[0][1];
    };
    return equal(*t[5], tl) && equal(*t[3], br) && same(tr, tl) && same(br, tl) && same(bl, tl) &&
           tr.x == br.x && tr.y == tl.y && bl.x == tl.x && bl.y == br.y && tr.uv[0][0] == br.uv[0][0] &&
           tr.uv[0][1] == tl.uv[0][1] && bl.uv[0][0] == tl.uv[0][0] && bl.uv[0][1] == br.uv[0][1];
}

// Such a pair from its top-left and bottom-right corners.
bool SetUpSpriteCorners(const PipelineState& ps, const ScreenVertex& tl, const ScreenVertex& br, bool textured,
                        PairSetup* out) {
    if (ps.cullMode == cull::kClockwise) return false;
    for (float c : {tl.x, tl.y, br.x, br.y}) {
        if (!(std::fabs(c) <= kGuardBand)) return false;
    }
    const int64_t x0 = SnapToSubpixel(tl.x), y0 = SnapToSubpixel(tl.y);
    const int64_t x1 = SnapToSubpixel(br.x), y1 = SnapToSubpixel(br.y);
    if (x1 <= x0 || y1 <= y0) return false;
    const int64_t one = int64_t(1) << kSubpixelBits;
    const int64_t left = std::max<int64_t>(ps.scissor.left, (x0 + one - 1) >> kSubpixelBits);
    const int64_t top = std::max<int64_t>(ps.scissor.top, (y0 + one - 1) >> kSubpixelBits);
    out->left = left;
    out->top = top;
    out->right = std::min<int64_t>(CeilPixel(x1), ps.scissor.right);
    out->bottom = std::min<int64_t>(CeilPixel(y1), ps.scissor.bottom);
    if (textured) {
        const StageSampler& s = ps.samplers[0];
        TexelLineOf(x0, x1, TexelUnits(tl.uv[0][0], s.width), TexelUnits(br.uv[0][0], s.width), true, &out->u);
        TexelLineOf(y0, y1, TexelUnits(tl.uv[0][1], s.height), TexelUnits(br.uv[0][1], s.height), false, &out->v);
    }
    return true;
}

bool SetUpSpritePair(const PipelineState& ps, const ScreenVertex* const t[6], bool textured, PairSetup* out) {
    return IsSpritePair(t) && SetUpSpriteCorners(ps, *t[0], *t[2], textured, out);
}

}  // namespace

bool UseAvx2() {
    static const bool kAvx2 = HasAvx2();
    return kAvx2 && !ForceSse2();
}

BlendKind BlendKindOf(const PipelineState& ps) {
    return !ps.blend ? kOpaque : ps.sourceAlphaBlend ? kAlphaBlend : kGenericBlend;
}

bool AlphaTestMatters(const PipelineState& ps) {
    // Source-alpha blending leaves the target as it was where alpha is 0, so a test that only
    // rejects alpha 0 changes nothing and is skipped.
    const bool rejectsOnlyZero = (ps.alphaFunc == cmp::kGreater || ps.alphaFunc == cmp::kNotEqual) &&
                                 ps.alphaRef == 0;
    return ps.alphaTest && ps.alphaFunc != cmp::kAlways &&
           !(BlendKindOf(ps) == kAlphaBlend && rejectsOnlyZero);
}

class RectanglePath {
public:
    const SpanRoutine* routines;  // the eight loops of one blend kind
    bool textured;
    bool alphaTest;  // false also when blending makes the test redundant
};

const RectanglePath* ChooseRectanglePath(const PipelineState& ps) {
    if (ps.quantize || ps.depthTest || ps.colorWriteMask != 0xF || ps.stageCount > 1) {
        return nullptr;
    }
    if (!ps.modulateOnly) return nullptr;
    bool textured = false;
    if (ps.stageCount == 1) {
        const StageSampler& s = ps.samplers[0];
        if (s.texels) {
            if (s.linearMag || s.linearMin || s.addressU == address::kBorder ||
                s.addressV == address::kBorder) {
                return nullptr;
            }
            textured = true;
        }
    }
    const BlendKind kind = BlendKindOf(ps);
    const bool alphaTest = AlphaTestMatters(ps);
    static const RectanglePath kPaths[2][2][kBlendKinds] = {
        {{{kRoutines[0], false, false}, {kRoutines[1], false, false}, {kRoutines[2], false, false}},
         {{kRoutines[0], false, true}, {kRoutines[1], false, true}, {kRoutines[2], false, true}}},
        {{{kRoutines[0], true, false}, {kRoutines[1], true, false}, {kRoutines[2], true, false}},
         {{kRoutines[0], true, true}, {kRoutines[1], true, true}, {kRoutines[2], true, true}}}};
    return &kPaths[textured][alphaTest][kind];
}

namespace {

// Any other pair: false when its triangles do not form an axis-aligned rectangle of one colour
// whose stage-0 coordinates follow its sides, or when one is culled (the triangle path leaves
// it out). The planes are set only for a textured draw.
bool SetUpGeneralPair(const PipelineState& ps, const ScreenVertex* const t[6], bool textured,
                      PairSetup* out) {
    const ScreenVertex& v0 = *t[0];
    for (int i = 1; i < 6; ++i) {
        if (t[i]->diffuse != v0.diffuse || t[i]->z != v0.z || t[i]->rhw != v0.rhw) return false;
    }
    // Two distinct x and two distinct y values among the six corners.
    float xs[2] = {v0.x, v0.x}, ys[2] = {v0.y, v0.y};
    for (int i = 1; i < 6; ++i) {
        if (t[i]->x != xs[0]) {
            if (xs[1] != xs[0] && t[i]->x != xs[1]) return false;
            xs[1] = t[i]->x;
        }
        if (t[i]->y != ys[0]) {
            if (ys[1] != ys[0] && t[i]->y != ys[1]) return false;
            ys[1] = t[i]->y;
        }
    }
    if (xs[0] == xs[1] || ys[0] == ys[1]) return false;
    // Each triangle holds three different corners and they share a diagonal.
    int codes[6];  // bit 0: x is xs[1]; bit 1: y is ys[1]
    for (int i = 0; i < 6; ++i) codes[i] = (t[i]->x == xs[1] ? 1 : 0) | (t[i]->y == ys[1] ? 2 : 0);
    const int mask0 = 1 << codes[0] | 1 << codes[1] | 1 << codes[2];
    const int mask1 = 1 << codes[3] | 1 << codes[4] | 1 << codes[5];
    const int shared = mask0 & mask1;
    if (!HasThreeCorners(mask0) || !HasThreeCorners(mask1) || (shared != 0b1001 && shared != 0b0110)) {
        return false;
    }
    // The texture coordinates of stage 0 follow x and y alone: every vertex agrees with the
    // last one before it in its column (u) and in its row (v).
    const ScreenVertex* column[2] = {nullptr, nullptr};
    const ScreenVertex* row[2] = {nullptr, nullptr};
    for (int i = 0; i < 6; ++i) {
        const int cx = codes[i] & 1, cy = codes[i] >> 1;
        if (column[cx] && column[cx]->uv[0][0] != t[i]->uv[0][0]) return false;
        if (row[cy] && row[cy]->uv[0][1] != t[i]->uv[0][1]) return false;
        column[cx] = t[i];
        row[cy] = t[i];
    }
    for (float c : {xs[0], xs[1], ys[0], ys[1]}) {
        if (!(std::fabs(c) <= kGuardBand)) return false;  // far away, or not a number
    }
    TriangleSetup first, second;
    if (!SetUpTriangle(ps, t[0], t[1], t[2], &first) ||
        !SetUpTriangle(ps, t[3], t[4], t[5], &second)) {
        return false;  // culled: the triangle path leaves it out
    }
    // Both triangles span the rectangle, so the box of either is the rectangle's; its pixels
    // are those whose centres lie in [left, right) x [top, bottom) of the snapped corners.
    out->left = first.left;
    out->top = first.top;
    out->right = std::min<int64_t>(CeilPixel(std::max({first.x[0], first.x[1], first.x[2]})),
                                   ps.scissor.right);
    out->bottom = std::min<int64_t>(CeilPixel(std::max({first.y[0], first.y[1], first.y[2]})),
                                    ps.scissor.bottom);
    if (textured) {
        out->u = TexelPlaneOf(first, 0, 0, ps.samplers[0].width);
        out->v = TexelPlaneOf(first, 0, 1, ps.samplers[0].height);
    }
    return true;
}

// Writes the fill's value over the target outside the rectangle, which lies inside it, unless
// the pixels there are known to hold it already; notes the rectangle in the fill.
void FillAround(const PipelineState& ps, TargetFill* fill, const Rect& rect) {
    fill->drawn = rect;
    const Rect* around = fill->around;
    if (around != nullptr && around->left == rect.left && around->top == rect.top &&
        around->right == rect.right && around->bottom == rect.bottom) {
        return;
    }
    auto fillRow = [&](int y, int from, int to) {
        FillPixels(ps.target + size_t(y) * size_t(ps.targetPitch) + size_t(from), size_t(to - from), fill->value);
    };
    for (int y = 0; y < fill->height; ++y) {
        if (y < rect.top || y >= rect.bottom) {
            fillRow(y, 0, fill->width);
        } else {
            fillRow(y, 0, rect.left);
            fillRow(y, rect.right, fill->width);
        }
    }
}

}  // namespace

namespace {

// Draws a pair set up as a rectangle of the given colour; false (nothing drawn) where its
// texels need the triangle path.
bool DrawSetUpPair(const RectanglePath& path, const PipelineState& ps, const PairSetup& pair, uint32_t color,
                   TargetFill* fill) {
    const int64_t left = pair.left, top0 = pair.top, right = pair.right, bottom = pair.bottom;
    if (left >= right || top0 >= bottom) {  // nothing to draw, nothing differs
        if (fill != nullptr) FillAround(ps, fill, {0, 0, 0, 0});
        return true;
    }
    if (right - left > kMaxRectangleSide || bottom - top0 > kMaxRectangleSide) return false;

    RectJob job{int(left), int(top0), int(right - left), int(bottom - top0), color, nullptr,
                nullptr, TexelRun::kIndexed};
    int columns[kMaxRectangleSide];
    int rows[kMaxRectangleSide];
    const StageSampler& s = ps.samplers[0];
    if (path.textured) {
        AxisTexels(pair.u.At(left, top0), pair.u.dx, job.width, s.width, s.addressU, columns, &job.run);
        AxisTexels(pair.v.At(left, top0), pair.v.dy, job.height, s.height, s.addressV, rows, nullptr);
        job.columns = columns;
        job.rows = rows;
    }
    const bool tint = path.textured && color != 0xFFFFFFFF;
    const int index = (path.textured ? 1 : 0) | (tint ? 2 : 0) | (path.alphaTest ? 4 : 0);
    if (fill != nullptr) {
        FillAround(ps, fill, {job.left, job.top, job.left + job.width, job.top + job.height});
        job.fill = &fill->value;
    }
    path.routines[index](ps, job);
    return true;
}

}  // namespace

bool DrawRectangle(const RectanglePath& path, const PipelineState& ps,
                   const ScreenVertex* const t[6], TargetFill* fill) {
    // Two corners of either triangle share x and two share y (turned pairs leave here).
    const ScreenVertex &a = *t[0], &b = *t[1], &c = *t[2];
    if ((a.x != b.x && b.x != c.x && a.x != c.x) || (a.y != b.y && b.y != c.y && a.y != c.y)) return false;
    PairSetup pair;
    if (!SetUpSpritePair(ps, t, path.textured, &pair) && !SetUpGeneralPair(ps, t, path.textured, &pair)) {
        return false;
    }
    return DrawSetUpPair(path, ps, pair, t[0]->diffuse, fill);
}

bool DrawSpritePair(const RectanglePath& path, const PipelineState& ps, const ScreenVertex& tl,
                    const ScreenVertex& br, TargetFill* fill) {
    PairSetup pair;
    return SetUpSpriteCorners(ps, tl, br, path.textured, &pair) && DrawSetUpPair(path, ps, pair, tl.diffuse, fill);
}

}  // namespace platform::gfx
