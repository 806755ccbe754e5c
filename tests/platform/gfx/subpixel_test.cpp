// Rectangles between whole pixels, as moving sprites stand: the rectangle path must give the
// triangle path's bytes (coverage under the top-left rule and the texel of every pixel), and it
// must take such rectangles rather than leave them to the triangles.
#include <algorithm>
#include <cmath>
#include <limits>

#include "gfx_fixture.h"

namespace platform::gfx::testing {
namespace {

// A texel that tells where it came from, with alpha varying so that blending shows it too.
uint32_t Tell(uint32_t x, uint32_t y) {
    return (0x80u + ((x * 5 + y * 3) & 0x7Fu)) << 24 | x << 16 | y << 8 | 0x55u;
}

constexpr uint32_t kBackground = 0xFF102030;

class SubpixelTest : public DeviceTest {
protected:
    struct Shot {
        std::vector<uint32_t> pixels;
        uint64_t rectangles, triangles;
    };

    // Draws the vertices onto a 64 x 64 target (within the given viewport) through one path.
    Shot DrawThrough(bool triangles, const std::vector<Vertex>& v, const Viewport& viewport,
                     uint32_t texSize, uint32_t cullMode = cull::kNone) {
        SetForceGeneralPath(triangles);
        UseSpriteStates();
        device_->SetRenderState(rs::kCullMode, cullMode);
        Texture* sheet = MakeTexture(texSize, texSize, Tell);
        Texture* target = MakeTarget(64, 64);
        BindTarget(target);
        device_->Clear(0, nullptr, clear::kTarget, kBackground, 1.0f, 0);
        device_->SetViewport(&viewport);
        device_->SetTexture(0, sheet);
        const DrawStatistics before = device_->Statistics();
        Draw(v);
        const DrawStatistics after = device_->Statistics();
        Shot shot{{}, after.rectangles - before.rectangles, after.triangles - before.triangles};
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) shot.pixels.push_back(TargetPixel(target, x, y));
        }
        return shot;
    }

    // `count` rectangles from a fixed seed: corners from `low` to `low` + `span` hundredths of a
    // pixel, cells of 1 to `maxSide` texels from the sheet of the given side, a third doubled.
    static std::vector<Vertex> RandomRects(uint32_t seed, int count, float low, uint32_t span,
                                           uint32_t maxSide, float sheet) {
        auto next = [&seed](uint32_t range) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % range;
        };
        std::vector<Vertex> v;
        for (int i = 0; i < count; ++i) {
            const float x = float(next(span)) / 100.0f + low, y = float(next(span)) / 100.0f + low;
            const float sw = float(1 + next(maxSide)), sh = float(1 + next(maxSide));
            const float scale = next(3) == 0 ? 2.0f : 1.0f;
            PushRect(v, x, y, sw * scale, sh * scale, float(next(30)), float(next(30)), sw, sh, sheet, sheet);
        }
        return v;
    }
};

// Just below and above a half pixel, in the floats a sprite's place can hold.
constexpr float kBelowHalf = 0.5f - 1.0f / 512.0f;
constexpr float kAboveHalf = 0.5f + 1.0f / 512.0f;

TEST_F(SubpixelTest, FractionalPlacesGiveTheTrianglePathsBytes) {
    struct Case {
        const char* name;
        float x, y;          // place of the rectangle's top-left corner (before the half-pixel shift)
        float w, h;          // size on screen
        float sx, sy, sw, sh;  // source cell in texels (a negative width mirrors)
        Viewport viewport;
        uint32_t sheet = 64;     // texels on each side of the texture
    };
    const Viewport whole{0, 0, 64, 64, 0.0f, 1.0f};
    const Viewport inner{8, 6, 44, 50, 0.0f, 1.0f};  // x 8 to 52, y 6 to 56
    const Case cases[] = {
        {"quarter", 10.25f, 12.25f, 16, 16, 4, 8, 16, 16, whole},
        {"half", 10.5f, 12.5f, 16, 16, 4, 8, 16, 16, whole},
        {"three quarters", 10.75f, 12.75f, 13, 7, 4, 8, 13, 7, whole},
        {"below half", 10 + kBelowHalf, 12 + kBelowHalf, 16, 16, 4, 8, 16, 16, whole},
        {"above half", 10 + kAboveHalf, 12 + kAboveHalf, 16, 16, 4, 8, 16, 16, whole},
        {"one subpixel", 10 + 1.0f / 256, 12 + 255.0f / 256, 9, 11, 0, 0, 9, 11, whole},
        {"off the subpixel grid", 10.3f, 12.7f, 16, 16, 4, 8, 16, 16, whole},
        {"far from the origin", 33.1f, 41.9f, 5, 3, 1, 2, 5, 3, whole},
        {"negative, clipped left and top", -3.25f, -5.75f, 16, 16, 4, 8, 16, 16, whole},
        {"clipped right and bottom", 55.6f, 57.3f, 16, 16, 4, 8, 16, 16, whole},
        {"clipped by the viewport left", 3.4f, 20.2f, 16, 16, 4, 8, 16, 16, inner},
        {"clipped by the viewport top", 20.2f, 1.6f, 16, 16, 4, 8, 16, 16, inner},
        {"clipped by the viewport right", 45.5f, 20.2f, 16, 16, 4, 8, 16, 16, inner},
        {"clipped by the viewport bottom", 20.2f, 51.5f, 16, 16, 4, 8, 16, 16, inner},
        {"doubled, quarter", 10.25f, 12.25f, 32, 32, 4, 8, 16, 16, whole},
        {"doubled, half", 9.5f, 12.5f, 26, 14, 4, 8, 13, 7, whole},
        {"doubled, below half", 9 + kBelowHalf, 12 + kBelowHalf, 32, 32, 4, 8, 16, 16, whole},
        {"doubled, negative", -7.3f, -2.6f, 32, 32, 4, 8, 16, 16, whole},
        {"doubled, clipped by the viewport", 30.7f, 40.4f, 32, 32, 4, 8, 16, 16, inner},
        {"mirrored, fraction", 10.4f, 12.6f, 16, 16, 20, 8, -16, 16, whole},
        {"wrapping past the sheet", 10.6f, 12.1f, 24, 16, 50, 40, 24, 16, whole},
        // One texel a pixel, but its texels too far along to be counted in whole numbers.
        {"far along the sheet", 10.25f, 12.25f, 4096, 16, 17179869184.0f, 8, 4096, 16, whole},
        {"stretched 1.5 times", 18.3f, 8.7f, 12, 6, 1, 2, 8, 4, whole, 11},
        // A column samples within a hair of a texel edge, where planes worked out from either
        // triangle's corners in floating point round apart: one plane serves both.
        {"stretched 1.34 times", 35.5009995f, 18.7059994f, 1.34f, 6.7f, 0, 0, 1, 5, whole, 5},
    };
    for (const Case& c : cases) {
        std::vector<Vertex> v;
        const float size = float(c.sheet);
        PushRect(v, c.x, c.y, c.w, c.h, c.sx, c.sy, c.sw, c.sh, size, size);
        const Shot rect = DrawThrough(false, v, c.viewport, c.sheet);
        const Shot tri = DrawThrough(true, v, c.viewport, c.sheet);
        EXPECT_EQ(rect.pixels, tri.pixels) << c.name;
        EXPECT_EQ(rect.rectangles, 1u) << c.name;
        EXPECT_EQ(rect.triangles, 0u) << c.name;
        EXPECT_GT(std::count_if(tri.pixels.begin(), tri.pixels.end(),
                                [](uint32_t p) { return p != kBackground; }),
                  0)
            << c.name;
    }
}

// Many places and cell sizes at random, on a sheet whose size is not a power of two, so that
// the coordinate planes round: the two paths agree everywhere, and the rectangle path takes
// nearly all of them.
TEST_F(SubpixelTest, RandomPlacesAgreeWithTheTrianglePath) {
    const std::vector<Vertex> v = RandomRects(11, 600, -6.0f, 7000, 20, 48);
    const Viewport whole{0, 0, 64, 64, 0.0f, 1.0f};
    const Shot rect = DrawThrough(false, v, whole, 48);
    const Shot tri = DrawThrough(true, v, whole, 48);
    EXPECT_EQ(rect.pixels, tri.pixels);
    EXPECT_GE(rect.rectangles, 570u);
}

// The sprite batch's order of corners (top left, top right, bottom right, then bottom right,
// bottom left, top left) has a set-up of its own; that order, every other one, and the pairs the
// rectangle path must leave to the triangles all give the triangle path's bytes.
TEST_F(SubpixelTest, EveryCornerOrderGivesTheTrianglePathsBytes) {
    enum Corner { kA, kB, kC, kD };  // top left, top right, bottom right, bottom left
    struct Case {
        const char* name;
        Corner order[6];
        bool mirrorX = false, mirrorY = false;  // the sides swapped on screen
        bool infiniteU = false;                 // the left column's u
        uint32_t cullMode = cull::kNone;
        bool rectangles = true;  // every pair drawn by the rectangle path
        bool drawn = true;       // anything drawn at all
    };
    const Case cases[] = {
        {"sprite order", {kA, kB, kC, kC, kD, kA}},
        {"sprite order, counter-clockwise culling", {kA, kB, kC, kC, kD, kA}, false, false, false,
         cull::kCounterClockwise},
        {"sprite order, clockwise culling", {kA, kB, kC, kC, kD, kA}, false, false, false,
         cull::kClockwise, false, false},
        {"from the top right", {kB, kC, kD, kD, kA, kB}},
        {"the other diagonal", {kA, kB, kD, kB, kC, kD}},
        {"second triangle first", {kC, kD, kA, kA, kB, kC}},
        {"mirrored across", {kA, kB, kC, kC, kD, kA}, true},
        {"upside down", {kA, kB, kC, kC, kD, kA}, false, true},
        {"infinite texture coordinate", {kA, kB, kC, kC, kD, kA}, false, false, true},
    };
    // Each covers some pixel of the target, so that each is drawn.
    const std::vector<Vertex> rects = RandomRects(23, 120, 0.0f, 5600, 16, 40);
    const Viewport whole{0, 0, 64, 64, 0.0f, 1.0f};
    const size_t count = rects.size() / 6;
    for (const Case& c : cases) {
        std::vector<Vertex> v;
        for (size_t r = 0; r < count; ++r) {
            Vertex corner[4] = {rects[6 * r], rects[6 * r + 1], rects[6 * r + 2], rects[6 * r + 4]};
            if (c.mirrorX) {
                std::swap(corner[kA].x, corner[kB].x);
                std::swap(corner[kD].x, corner[kC].x);
            }
            if (c.mirrorY) {
                std::swap(corner[kA].y, corner[kD].y);
                std::swap(corner[kB].y, corner[kC].y);
            }
            if (c.infiniteU) corner[kA].u = corner[kD].u = INFINITY;
            for (Corner k : c.order) v.push_back(corner[k]);
        }
        const Shot rect = DrawThrough(false, v, whole, 40, c.cullMode);
        const Shot tri = DrawThrough(true, v, whole, 40, c.cullMode);
        EXPECT_EQ(rect.pixels, tri.pixels) << c.name;
        EXPECT_EQ(rect.rectangles, c.rectangles ? count : 0u) << c.name;
        const bool anything = std::any_of(tri.pixels.begin(), tri.pixels.end(),
                                          [](uint32_t p) { return p != kBackground; });
        EXPECT_EQ(anything, c.drawn) << c.name;
    }
}

// A screen-space list is read a pair of triangles at a time: a lone triangle or a turned quad
// before a rectangle shifts the pairs, and the rectangles after it are still found.
TEST_F(SubpixelTest, ListsMixingShapesFindTheirRectangles) {
    std::vector<Vertex> rect, turned;
    PushRect(rect, 10.3f, 12.6f, 16, 16, 4, 8, 16, 16, 48, 48);
    turned = rect;
    for (Vertex& v : turned) std::swap(v.x, v.y);  // a quad no longer of the batch's order
    turned[1].x += 3.0f;                          // nor a rectangle
    const std::vector<Vertex> lone(rect.begin(), rect.begin() + 3);
    struct Case {
        const char* name;
        std::vector<const std::vector<Vertex>*> parts;
        uint64_t rectangles, triangles;
    };
    const Case cases[] = {
        {"lone triangle first", {&lone, &rect, &rect}, 2, 1},
        {"turned quad between", {&rect, &turned, &rect}, 2, 2},
        {"lone triangle last", {&rect, &rect, &lone}, 2, 1},
        {"the same triangle twice", {&lone, &lone}, 0, 2},
    };
    const Viewport whole{0, 0, 64, 64, 0.0f, 1.0f};
    for (const Case& c : cases) {
        std::vector<Vertex> v;
        for (const std::vector<Vertex>* part : c.parts) v.insert(v.end(), part->begin(), part->end());
        const Shot shot = DrawThrough(false, v, whole, 48);
        const Shot tri = DrawThrough(true, v, whole, 48);
        EXPECT_EQ(shot.pixels, tri.pixels) << c.name;
        EXPECT_EQ(shot.rectangles, c.rectangles) << c.name;
        EXPECT_EQ(shot.triangles, c.triangles) << c.name;
    }
}

// A pair in the sprite batch's order of corners with one value moved off the rectangle (a skewed
// side, a colour, depth or rhw of its own, a coordinate that does not follow the side, not a
// number), in one vertex or in a corner and its copy, gives the triangle path's bytes, like the
// rectangle itself.
TEST_F(SubpixelTest, PairsOneValueOffTheSpriteShapeGiveTheTrianglePathsBytes) {
    enum Field { kX, kY, kZ, kRhw, kColor, kU, kV, kUnchanged };
    struct Case {
        int vertices;  // bit k: vertex k (top left, top right, bottom right, bottom right, bottom left, top left)
        Field field;
        float value;   // added to the field (kColor: the colour's alpha becomes it)
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr int kTopLeft = 1 << 0 | 1 << 5, kBottomRight = 1 << 2 | 1 << 3, kAll = 0x3F;
    const Case cases[] = {
        {0, kUnchanged, 0},       {1 << 5, kX, 0.5f},       {1 << 5, kY, 0.5f},      {1 << 5, kZ, 0.25f},
        {1 << 5, kRhw, -0.5f},    {1 << 5, kColor, 128},    {1 << 5, kU, 0.05f},     {1 << 5, kV, 0.05f},
        {1 << 3, kX, 0.5f},       {1 << 3, kY, -0.5f},      {1 << 3, kZ, 0.25f},     {1 << 3, kRhw, 0.5f},
        {1 << 3, kColor, 100},    {1 << 3, kU, 0.05f},      {1 << 3, kV, -0.05f},    {1 << 1, kY, 0.75f},
        {1 << 1, kX, 0.5f},       {1 << 1, kZ, 0.25f},      {1 << 1, kRhw, 0.5f},    {1 << 1, kColor, 64},
        {1 << 1, kU, 0.05f},      {1 << 1, kV, 0.05f},      {1 << 4, kX, -0.75f},    {1 << 4, kY, 0.5f},
        {1 << 4, kZ, 0.25f},      {1 << 4, kRhw, 0.5f},     {1 << 4, kColor, 64},    {1 << 4, kU, 0.05f},
        {1 << 4, kV, 0.05f},      {kBottomRight, kZ, 0.25f}, {kBottomRight, kRhw, 0.5f}, {kBottomRight, kColor, 64},
        {kTopLeft, kZ, 0.25f},    {kTopLeft, kColor, 64},   {kAll, kZ, nan},         {kAll, kRhw, nan},
    };
    const Viewport whole{0, 0, 64, 64, 0.0f, 1.0f};
    for (const Case& c : cases) {
        std::vector<Vertex> v;
        PushRect(v, 10.3f, 12.6f, 16, 16, 4, 8, 16, 16, 48, 48, 0xE0FFFFFF);
        for (int k = 0; k < 6; ++k) {
            if ((c.vertices >> k & 1) == 0) continue;
            Vertex& w = v[size_t(k)];
            switch (c.field) {
                case kX: w.x += c.value; break;
                case kY: w.y += c.value; break;
                case kZ: w.z += c.value; break;
                case kRhw: w.rhw += c.value; break;
                case kColor: w.color = uint32_t(c.value) << 24 | (w.color & 0xFFFFFF); break;
                case kU: w.u += c.value; break;
                case kV: w.v += c.value; break;
                case kUnchanged: break;
            }
        }
        const Shot rect = DrawThrough(false, v, whole, 48);
        EXPECT_EQ(rect.pixels, DrawThrough(true, v, whole, 48).pixels) << c.vertices << " " << int(c.field);
        EXPECT_EQ(rect.rectangles, c.field == kUnchanged ? 1u : 0u) << c.vertices << " " << int(c.field);
    }
}

}  // namespace
}  // namespace platform::gfx::testing
