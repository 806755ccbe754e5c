// The specialised triangle loops against the general loop: turned, scaled and skewed triangles
// at random, flat or in perspective, under every combination of the states those loops are
// chosen by, give the same bytes.
#include <cmath>

#include "gfx_fixture.h"

namespace platform::gfx::testing {
namespace {

class TrianglePathTest : public DeviceTest {
protected:
    struct States {
        const char* name;
        bool textured = true;
        bool linear = false;
        uint32_t address = address::kWrap;
        bool gouraud = false;     // corners of different colours
        bool flatShade = false;   // ...drawn in the first corner's colour
        bool blend = true;
        uint32_t srcBlend = blend::kSrcAlpha, destBlend = blend::kInvSrcAlpha;
        uint32_t alphaFunc = cmp::kAlways, alphaRef = 0;
        bool backBuffer = false;  // the 640 x 480 target without alpha, and its long rows
        float reach = 1.0f;       // texture coordinates from -1.5 to 2.5 times this
        bool perspective = false;  // each corner at its own rhw and depth
        uint32_t depthFunc = 0;    // a depth test by this function, none for 0
        bool depthWrite = false;
        bool sidesOfTwo = false;   // a sheet of 32 x 16 texels rather than 24 x 20
        bool pairs = false;        // pairs of triangles making parallelograms, as turned sprites
    };

    uint32_t Next(uint32_t range) {
        seed_ = seed_ * 1103515245u + 12345u;
        return (seed_ >> 8) % range;
    }
    float Place(float low, float high) { return low + float(Next(100000)) * (high - low) / 100000.0f; }

    // Random triangles over (and beyond) a target of the given size: most of sprite size, turned
    // and scaled, some long and thin, some reaching far outside it.
    std::vector<Vertex> RandomTriangles(float width, float height, bool gouraud, float uvReach, bool perspective) {
        static constexpr uint32_t kColors[] = {0xFFFFFFFF, 0x80FFFFFF, 0xFF80C0FF, 0x40FF2010, 0x00FFFFFF};
        std::vector<Vertex> v;
        for (int i = 0; i < 150; ++i) {
            const float reach = i % 10 == 0 ? 3.0f * width : i % 10 == 1 ? 0.5f * width : 24.0f;
            const float cx = Place(-8.0f, width + 8.0f), cy = Place(-8.0f, height + 8.0f);
            const uint32_t flat = kColors[Next(5)];
            for (int k = 0; k < 3; ++k) {
                const uint32_t color = gouraud ? 0x3F000000u * (1 + Next(4)) | Next(0x1000000) : flat;
                const float depth = perspective ? Place(0.0f, 1.0f) : 0.5f;
                const float rhw = perspective ? Place(0.05f, 1.0f) : 1.0f;
                v.push_back({cx + Place(-reach, reach), cy + Place(-reach, reach), depth, rhw, color,
                             Place(-1.5f, 2.5f) * uvReach, Place(-1.5f, 2.5f) * uvReach});
            }
        }
        return v;
    }

    // A multiple of 1/256, as corners are snapped: sums of them are exact.
    float OnGrid(float value) { return std::round(value * 256.0f) / 256.0f; }

    // Pairs (a, b, c), (c, d, a) of the sprite batches' shape: turned and scaled parallelograms
    // of sprite size around a centre, some taller than a walk takes, with the texture's cells or
    // skewed places on it; every eighth a subpixel short of a parallelogram, every eighth an
    // eighth of a pixel. Every eighth maps the whole texture, or a little more. Every eighth is
    // turned by a multiple of 45 degrees around a pixel centre, by whole or half pixels, so that
    // sides and diagonals are level and lie on rows of pixel centres; skewed, their level sides
    // make no rectangle.
    std::vector<Vertex> RandomPairs(float width, float height, float uvReach) {
        static constexpr uint32_t kColors[] = {0xFFFFFFFF, 0x80FFFFFF, 0xFF80C0FF, 0x40FF2010};
        std::vector<Vertex> v;
        for (int i = 0; i < 160; ++i) {
            const bool level = i % 8 == 5;
            const float size = i % 10 == 0 ? 1.5f * height : level ? float(1 + Next(24)) / 2.0f : Place(2.0f, 24.0f);
            const float angle = level ? float(Next(8)) * 0.785398163f : Place(0.0f, 6.2832f);
            const float skew = i % 3 == 0 ? Place(0.5f, 1.5f) : 1.0f;
            // Level: whole or half pixels along the axes, equal steps along the diagonals.
            auto snap = [&](float value) { return level ? std::round(value * 2.0f) / 2.0f : OnGrid(value); };
            const float px = snap(size * std::cos(angle)), py = snap(size * std::sin(angle));
            const float qx = snap(-size * skew * std::sin(angle)), qy = snap(size * skew * std::cos(angle));
            const float cx = snap(Place(-8.0f, width + 8.0f)), cy = snap(Place(-8.0f, height + 8.0f));
            // Within the texture for a reach of 1, so that the walk rather than its fallback
            // samples most pixels.
            float du = OnGrid(Place(-0.25f, 0.25f) * uvReach), dv = OnGrid(Place(-0.25f, 0.25f) * uvReach);
            float u = OnGrid(Place(0.25f, 0.75f) * uvReach), w = OnGrid(Place(0.25f, 0.75f) * uvReach);
            if (i % 8 == 1) {
                // The whole sheet, its far sides sampled on the pixel centres along the edges, or
                // a 64th more on its near or far sides.
                const float beyond = i % 16 == 1 ? 1.0f / 64.0f : 0.0f, near = i % 32 == 1 ? beyond : 0.0f;
                u = w = -near * uvReach;
                du = dv = (1.0f + beyond) * uvReach;
            }
            if (level) {
                // The centre, on the diagonal, at a corner of the 32 x 16 sheet's texels (when it
                // is a pixel centre): the two triangles' planes may round it to either side.
                u = std::round(u * 32.0f) / 32.0f - du / 2.0f;
                w = std::round(w * 16.0f) / 16.0f - dv / 2.0f;
            }
            const float nudge = i % 8 == 3 ? 1.0f / 256.0f : i % 8 == 7 ? 0.125f : 0.0f;
            const uint32_t color = kColors[Next(4)];
            const Vertex a{cx - px - qx, cy - py - qy, 0.5f, 1, color, u, w};
            const Vertex b{cx + px - qx + nudge, cy + py - qy, 0.5f, 1, color, u + du, w};
            const Vertex c{cx + px + qx, cy + py + qy, 0.5f, 1, color, u + du, w + dv};
            const Vertex d{cx - px + qx, cy - py + qy, 0.5f, 1, color, u, w + dv};
            v.insert(v.end(), {a, b, c, c, d, a});
        }
        // Slivers across the guard band, almost level and 4,000 rows tall, which cover the small
        // target: in its rows, the line of a long side passes 2^34 pixels from it.
        for (const float rise : {1.0f / 256.0f, -1.0f / 256.0f}) {
            const Vertex a{-16350.0f, -2000.0f, 0.5f, 1, 0xFFFFFFFF, 0.25f, 0.25f};
            const Vertex b{16350.0f, -2000.0f + rise, 0.5f, 1, 0xFFFFFFFF, 0.75f, 0.25f};
            const Vertex c{16353.0f, 2000.0f + rise, 0.5f, 1, 0xFFFFFFFF, 0.75f, 0.75f};
            const Vertex d{-16347.0f, 2000.0f, 0.5f, 1, 0xFFFFFFFF, 0.25f, 0.75f};
            v.insert(v.end(), {a, b, c, c, d, a});
        }
        return v;
    }

    // The target's pixels, and how many triangles covered a pixel centre (a pair the rectangle
    // path draws counts as two).
    struct Shot {
        std::vector<uint32_t> pixels;
        uint64_t triangles;
    };

    Shot DrawThrough(bool general, const States& s) {
        SetForceGeneralPath(general);
        seed_ = 99;
        UseSpriteStates();
        device_->SetRenderState(rs::kAlphaBlendEnable, s.blend ? 1 : 0);
        device_->SetRenderState(rs::kSrcBlend, s.srcBlend);
        device_->SetRenderState(rs::kDestBlend, s.destBlend);
        device_->SetRenderState(rs::kAlphaTestEnable, 1);
        device_->SetRenderState(rs::kAlphaFunc, s.alphaFunc);
        device_->SetRenderState(rs::kAlphaRef, s.alphaRef);
        device_->SetRenderState(rs::kShadeMode, s.flatShade ? shade::kFlat : shade::kGouraud);
        for (uint32_t state : {samp::kMagFilter, samp::kMinFilter}) {
            device_->SetSamplerState(0, state, s.linear ? filter::kLinear : filter::kPoint);
        }
        device_->SetSamplerState(0, samp::kAddressU, s.address);
        device_->SetSamplerState(0, samp::kAddressV, s.address);
        device_->SetSamplerState(0, samp::kBorderColor, 0x80402010);
        Texture* sheet = MakeTexture(s.sidesOfTwo ? 32 : 24, s.sidesOfTwo ? 16 : 20, [](uint32_t x, uint32_t y) {
            const uint32_t alpha = (x * 7 + y * 13) % 5 == 0 ? 0u : (x + y) % 3 == 0 ? 255u : (x * 37 + y * 11) & 0xFFu;
            return alpha << 24 | (x * 10) << 16 | (y * 12) << 8 | (((x ^ y) * 9) & 0xFFu);
        });
        Texture* target = nullptr;
        float width = 640, height = 480;
        if (s.backBuffer) {
            BindBackBuffer();
        } else {
            width = 96;
            height = 80;
            target = MakeTarget(96, 80);
            BindTarget(target);
        }
        Surface* depth = nullptr;
        if (s.depthFunc) {
            EXPECT_EQ(device_->CreateDepthStencilSurface(uint32_t(width), uint32_t(height), fmt::kD24S8, 0, 0,
                                                         false, &depth),
                      result::kOk);
            device_->SetDepthStencilSurface(Keep(depth));
        }
        device_->SetRenderState(rs::kZEnable, s.depthFunc ? 1 : 0);
        device_->SetRenderState(rs::kZFunc, s.depthFunc);
        device_->SetRenderState(rs::kZWriteEnable, s.depthWrite ? 1 : 0);
        device_->Clear(0, nullptr, clear::kTarget | (depth ? clear::kZBuffer : 0), 0x80306090, 0.75f, 0);
        device_->SetTexture(0, s.textured ? sheet : nullptr);
        const DrawStatistics before = device_->Statistics();
        Draw(s.pairs ? RandomPairs(width, height, s.reach)
                     : RandomTriangles(width, height, s.gouraud, s.reach, s.perspective));
        device_->SetDepthStencilSurface(nullptr);
        std::vector<uint32_t> pixels;
        if (target) {
            for (int y = 0; y < 80; ++y) {
                for (int x = 0; x < 96; ++x) pixels.push_back(TargetPixel(target, x, y));
            }
        } else {
            EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), result::kOk);
            pixels = sink_.Frame();
        }
        const DrawStatistics after = device_->Statistics();
        return {pixels, after.triangles - before.triangles + 2 * (after.rectangles - before.rectangles)};
    }

    // The specialised loops give the general loop's bytes and count the same triangles, with
    // AVX2 and without.
    void ExpectGeneralLoopsBytes(const States& s) {
        const Shot generalShot = DrawThrough(true, s);
        const std::vector<uint32_t>& general = generalShot.pixels;
        for (bool sse2 : {false, true}) {
            SetForceSse2(sse2);
            const Shot fastShot = DrawThrough(false, s);
            const std::vector<uint32_t>& fast = fastShot.pixels;
            SetForceSse2(false);
            EXPECT_EQ(fastShot.triangles, generalShot.triangles) << s.name << (sse2 ? " without AVX2" : "");
            ASSERT_EQ(general.size(), fast.size()) << s.name;
            size_t differing = 0, first = general.size();
            for (size_t i = 0; i < general.size(); ++i) {
                if (general[i] != fast[i]) {
                    ++differing;
                    first = std::min(first, i);
                }
            }
            EXPECT_EQ(differing, 0u) << s.name << (sse2 ? " without AVX2" : "") << ", first at pixel " << first;
        }
    }

    uint32_t seed_ = 99;
};

TEST_F(TrianglePathTest, RandomTrianglesGiveTheGeneralLoopsBytes) {
    const States cases[] = {
        {"sprites"},
        {"sprites on the back buffer", true, false, address::kWrap, false, false, true, blend::kSrcAlpha,
         blend::kInvSrcAlpha, cmp::kAlways, 0, true},
        // Past a million texels, and past the billion where sampling gives up on the place.
        {"sprites far out on the texture", true, false, address::kWrap, false, false, true, blend::kSrcAlpha,
         blend::kInvSrcAlpha, cmp::kAlways, 0, false, 1.0e8f},
        {.name = "sprites wrapping on sides of two", .sidesOfTwo = true},
        {"linear, clamped", true, true, address::kClamp},
        {"mirrored, Gouraud", true, false, address::kMirror, true},
        {"border, alpha test", true, false, address::kBorder, false, false, true, blend::kSrcAlpha,
         blend::kInvSrcAlpha, cmp::kGreaterEqual, 0x90},
        {"Gouraud shaded flat", true, false, address::kWrap, true, true},
        {"opaque, alpha tested", true, false, address::kWrap, false, false, false, blend::kOne,
         blend::kZero, cmp::kGreater, 0x40},
        {"additive, linear, Gouraud", true, true, address::kMirrorOnce, true, false, true, blend::kOne,
         blend::kOne},
        {"colour alone", false},
        {"Gouraud alone, multiplied", false, false, address::kWrap, true, false, true, blend::kDestColor,
         blend::kZero},
        {"Gouraud alone, opaque, on the back buffer", false, false, address::kWrap, true, false, false,
         blend::kOne, blend::kZero, cmp::kAlways, 0, true},
    };
    for (const States& s : cases) ExpectGeneralLoopsBytes(s);
}

TEST_F(TrianglePathTest, ParallelogramPairsGiveTheGeneralLoopsBytes) {
    const States cases[] = {
        {.name = "turned sprites", .pairs = true},
        {.name = "turned sprites on the back buffer, some taller than a walk", .backBuffer = true, .pairs = true},
        {.name = "turned sprites over the texture's edges, clamped", .address = address::kClamp, .reach = 3.0f,
         .pairs = true},
        // Too far for the walk: the pairs go to their triangles.
        {.name = "turned sprites far out on the texture", .reach = 1.0e8f, .pairs = true},
        {.name = "turned sprites on sides of two", .sidesOfTwo = true, .pairs = true},
        {.name = "turned sprites, linear", .linear = true, .pairs = true},
    };
    for (const States& s : cases) ExpectGeneralLoopsBytes(s);
}

TEST_F(TrianglePathTest, PerspectiveTrianglesGiveTheGeneralLoopsBytes) {
    const States cases[] = {
        {.name = "the 3D defaults: linear, Gouraud, alpha tested, depth written", .linear = true, .gouraud = true,
         .alphaFunc = cmp::kGreater, .perspective = true, .depthFunc = cmp::kLessEqual, .depthWrite = true,
         .sidesOfTwo = true},
        {.name = "point, wrapped on sides of two, blending one and zero", .srcBlend = blend::kOne,
         .destBlend = blend::kZero, .perspective = true, .depthFunc = cmp::kLessEqual, .depthWrite = true,
         .sidesOfTwo = true},
        {.name = "linear, Gouraud, added by source alpha", .linear = true, .gouraud = true, .destBlend = blend::kOne,
         .perspective = true, .depthFunc = cmp::kLessEqual, .sidesOfTwo = true},
        {.name = "multiplied by the texture", .srcBlend = blend::kZero, .destBlend = blend::kSrcColor,
         .perspective = true, .sidesOfTwo = true},
        {.name = "point, clamped, depth tested only", .address = address::kClamp, .perspective = true,
         .depthFunc = cmp::kLess},
        {.name = "border, opaque, alpha tested, the far side kept", .address = address::kBorder, .blend = false,
         .srcBlend = blend::kOne, .destBlend = blend::kZero, .alphaFunc = cmp::kGreaterEqual, .alphaRef = 0x90,
         .perspective = true, .depthFunc = cmp::kGreater, .depthWrite = true},
        {.name = "additive, linear, mirrored, no depth", .linear = true, .address = address::kMirror,
         .srcBlend = blend::kOne, .destBlend = blend::kOne, .perspective = true},
        {.name = "Gouraud shaded flat, on the back buffer", .gouraud = true, .flatShade = true,
         .backBuffer = true, .perspective = true, .depthFunc = cmp::kLessEqual, .depthWrite = true},
        {.name = "Gouraud alone, multiplied", .textured = false, .gouraud = true, .srcBlend = blend::kDestColor,
         .destBlend = blend::kZero, .perspective = true, .depthFunc = cmp::kLessEqual, .depthWrite = true},
        // Past the billion texels where sampling gives up on the place.
        {.name = "linear, far out on the texture", .linear = true, .reach = 1.0e8f, .perspective = true},
    };
    for (const States& s : cases) ExpectGeneralLoopsBytes(s);
}

}  // namespace
}  // namespace platform::gfx::testing
