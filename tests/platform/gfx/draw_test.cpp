// Golden frames of the software device: small scenes whose every pixel is known by hand, drawn
// through the rectangle path and again forced through the triangle path.
#include <limits>

#include "gfx_fixture.h"

namespace platform::gfx::testing {
namespace {

// An opaque texel that tells where it came from.
uint32_t Tell(uint32_t x, uint32_t y) { return 0xFF000000u | x << 16 | y << 8 | 0x55u; }

INSTANTIATE_TEST_SUITE_P(Paths, BothPathsTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Triangles" : "Rectangles"; });

TEST_P(BothPathsTest, CellsCoverExactlyTheirPixelsWithTexelCentres) {
    UseSpriteStates();
    Texture* sheet = MakeTexture(64, 64, Tell);
    Texture* target = MakeTarget(256, 256);
    BindTarget(target);
    device_->Clear(0, nullptr, clear::kTarget, 0xFF000000, 1.0f, 0);
    device_->SetTexture(0, sheet);
    std::vector<Vertex> v;
    PushRect(v, 10, 20, 16, 16, 16, 16, 16, 16, 64, 64);   // a plain cell
    PushRect(v, 40, 20, 16, 16, 32, 0, -16, 16, 64, 64);   // mirrored: source width -16
    PushRect(v, 70, 20, 32, 16, 0, 48, 16, 16, 64, 64, 0xFFFFFFFF);  // stretched twice as wide
    // Widths that are not multiples of the vector width, straight and doubled.
    PushRect(v, 110, 20, 13, 16, 3, 0, 13, 16, 64, 64);
    PushRect(v, 130, 20, 12, 16, 5, 0, 6, 16, 64, 64);
    Draw(v);
    for (int y = 19; y <= 36; ++y) {
        for (int x = 9; x <= 26; ++x) {
            const bool inside = x >= 10 && x < 26 && y >= 20 && y < 36;
            ASSERT_EQ(TargetPixel(target, x, y),
                      inside ? Tell(uint32_t(16 + x - 10), uint32_t(16 + y - 20)) : 0xFF000000u)
                << x << "," << y;
        }
        for (int x = 40; x < 56 && y >= 20 && y < 36; ++x) {
            ASSERT_EQ(TargetPixel(target, x, y), Tell(uint32_t(31 - (x - 40)), uint32_t(y - 20)));
        }
        for (int x = 70; x < 102 && y >= 20 && y < 36; ++x) {
            ASSERT_EQ(TargetPixel(target, x, y), Tell(uint32_t((x - 70) / 2), uint32_t(48 + y - 20)));
        }
        for (int x = 110; x < 123 && y >= 20 && y < 36; ++x) {
            ASSERT_EQ(TargetPixel(target, x, y), Tell(uint32_t(3 + x - 110), uint32_t(y - 20)));
        }
        for (int x = 130; x < 142 && y >= 20 && y < 36; ++x) {
            ASSERT_EQ(TargetPixel(target, x, y), Tell(uint32_t(5 + (x - 130) / 2), uint32_t(y - 20)));
        }
    }
    EXPECT_EQ(TargetPixel(target, 39, 20), 0xFF000000u);
    EXPECT_EQ(TargetPixel(target, 56, 20), 0xFF000000u);
    EXPECT_EQ(TargetPixel(target, 102, 20), 0xFF000000u);
    const DrawStatistics stats = device_->Statistics();
    EXPECT_EQ(stats.rectangles, GetParam() ? 0u : 5u);
    EXPECT_EQ(stats.triangles, GetParam() ? 10u : 0u);
}

TEST_P(BothPathsTest, AddressingPastTheTextureEdge) {
    UseSpriteStates();
    Texture* tile = MakeTexture(16, 16, Tell);
    Texture* target = MakeTarget(64, 64);
    BindTarget(target);
    device_->SetTexture(0, tile);
    std::vector<Vertex> v;
    PushRect(v, 0, 0, 32, 16, 8, 0, 32, 16, 16, 16);  // texels 8 to 40 of a 16-texel row
    Draw(v);
    device_->SetSamplerState(0, samp::kAddressU, address::kClamp);
    v.clear();
    PushRect(v, 0, 16, 32, 16, 8, 0, 32, 16, 16, 16);
    Draw(v);
    for (int x = 0; x < 32; ++x) {
        EXPECT_EQ(TargetPixel(target, x, 3), Tell(uint32_t((8 + x) % 16), 3)) << x;
        EXPECT_EQ(TargetPixel(target, x, 19), Tell(uint32_t(std::min(8 + x, 15)), 3)) << x;
    }
}

// The eight blend modes of the framework: a half-transparent source texel 0x80C04020 over an
// opaque destination 0xFF306090. Expected channels worked out by hand as
// round((source x factor op destination x factor) / 255).
TEST_P(BothPathsTest, BlendModes) {
    struct Mode {
        uint32_t op, src, dest, expected;
    };
    const Mode modes[] = {
        {blendop::kAdd, blend::kOne, blend::kZero, 0x80C04020},
        {blendop::kAdd, blend::kSrcAlpha, blend::kInvSrcAlpha, 0xBF785058},
        {blendop::kAdd, blend::kSrcAlpha, blend::kOne, 0xFF9080A0},
        {blendop::kAdd, blend::kOne, blend::kOne, 0xFFF0A0B0},
        {blendop::kRevSubtract, blend::kSrcAlpha, blend::kOne, 0xBF004080},
        {blendop::kRevSubtract, blend::kOne, blend::kOne, 0x7F002070},
        {blendop::kAdd, blend::kZero, blend::kSrcColor, 0x80241812},
        {blendop::kAdd, blend::kInvDestColor, blend::kZero, 0x009C280E},
    };
    UseSpriteStates();
    Texture* texel = MakeTexture(4, 4, [](uint32_t, uint32_t) { return 0x80C04020u; });
    Texture* target = MakeTarget(64, 64);
    BindTarget(target);
    device_->SetTexture(0, texel);
    for (const Mode& m : modes) {
        device_->Clear(0, nullptr, clear::kTarget, 0xFF306090, 1.0f, 0);
        device_->SetRenderState(rs::kBlendOp, m.op);
        device_->SetRenderState(rs::kSrcBlend, m.src);
        device_->SetRenderState(rs::kDestBlend, m.dest);
        std::vector<Vertex> v;
        PushRect(v, 2, 2, 4, 4, 0, 0, 4, 4, 4, 4);
        Draw(v);
        EXPECT_EQ(TargetPixel(target, 3, 3), m.expected) << m.op << " " << m.src << " " << m.dest;
        EXPECT_EQ(TargetPixel(target, 1, 3), 0xFF306090u);
    }
}

TEST_P(BothPathsTest, DiffuseModulatesAndAlphaTestDropsTransparentTexels) {
    UseSpriteStates();
    // Left half transparent black (a colour-keyed texel), right half grey.
    Texture* sheet = MakeTexture(8, 8, [](uint32_t x, uint32_t) {
        return x < 4 ? 0x00000000u : 0xFF808080u;
    });
    Texture* target = MakeTarget(32, 32);
    BindTarget(target);
    device_->Clear(0, nullptr, clear::kTarget, 0x11223344, 1.0f, 0);
    device_->SetTexture(0, sheet);
    // Blending off: without the alpha test the transparent texels would overwrite the target.
    device_->SetRenderState(rs::kAlphaBlendEnable, 0);
    std::vector<Vertex> v;
    PushRect(v, 0, 0, 8, 8, 0, 0, 8, 8, 8, 8, 0x80FF0000);
    Draw(v);
    EXPECT_EQ(TargetPixel(target, 1, 1), 0x11223344u);
    EXPECT_EQ(TargetPixel(target, 5, 1), 0x80800000u);  // grey x half-transparent red
    // Untextured: a null texture samples white, leaving the vertex colour.
    device_->SetTexture(0, nullptr);
    v.clear();
    PushRect(v, 10, 10, 4, 4, 0, 0, 0, 0, 1, 1, 0xFF00FF00);
    Draw(v);
    EXPECT_EQ(TargetPixel(target, 10, 10), 0xFF00FF00u);
    EXPECT_EQ(TargetPixel(target, 13, 13), 0xFF00FF00u);
    EXPECT_EQ(TargetPixel(target, 14, 13), 0x11223344u);
}

// The game's frame in small: sprites blended into a 256 x 256 target cleared to opaque black,
// then its 256 x 240 region drawn doubled at x 64 onto the back buffer cleared to 0xFF202020,
// as a fan of the framework's four-coordinate vertex.
TEST_P(BothPathsTest, CompositeOfTheTargetOntoTheBackBuffer) {
    UseSpriteStates();
    Texture* red = MakeTexture(16, 16, [](uint32_t, uint32_t) { return 0x80FF0000u; });
    Texture* screen = MakeTarget(256, 256);
    BindTarget(screen);
    device_->Clear(0, nullptr, clear::kTarget, 0xFF000000, 1.0f, 0);
    device_->SetTexture(0, red);
    std::vector<Vertex> v;
    PushRect(v, 100, 50, 16, 16, 0, 0, 16, 16, 16, 16);
    Draw(v);
    // Alpha is blended with the same factors: (128 x 128 + 255 x 127) / 255 = 191.
    EXPECT_EQ(TargetPixel(screen, 100, 50), 0xBF800000u);

    BindBackBuffer();
    device_->Clear(0, nullptr, clear::kTarget | clear::kZBuffer, 0xFF202020, 1.0f, 0);
    device_->SetTexture(0, screen);
    ASSERT_EQ(DrawDoubledPlayfield(), result::kOk);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), result::kOk);

    ASSERT_EQ(sink_.Width(), 640);
    ASSERT_EQ(sink_.Height(), 480);
    EXPECT_EQ(sink_.Pixel(0, 0), 0xFF202020u);
    EXPECT_EQ(sink_.Pixel(63, 479), 0xFF202020u);
    EXPECT_EQ(sink_.Pixel(576, 0), 0xFF202020u);
    EXPECT_EQ(sink_.Pixel(64, 0), 0xFF000000u);
    EXPECT_EQ(sink_.Pixel(575, 479), 0xFF000000u);
    // 0xBF800000 over 0xFF202020: red (128 x 191 + 32 x 64) / 255 = 104, the others 8.
    for (int y = 100; y < 132; ++y) {
        for (int x = 64 + 200; x < 64 + 232; ++x) ASSERT_EQ(sink_.Pixel(x, y), 0xFF680808u);
    }
    EXPECT_EQ(sink_.Pixel(64 + 199, 100), 0xFF000000u);
    EXPECT_EQ(sink_.Pixel(64 + 232, 131), 0xFF000000u);
    EXPECT_EQ(sink_.Pixel(64 + 200, 99), 0xFF000000u);
    EXPECT_EQ(sink_.Pixel(64 + 200, 132), 0xFF000000u);
}

// Two triangles sharing an edge, at positions that are not whole pixels, cover every pixel
// centre once: drawn additively with 1 per channel, no pixel reaches 2.
TEST_P(BothPathsTest, SharedEdgesAreDrawnOnce) {
    Texture* target = MakeTarget(32, 32);
    BindTarget(target);
    device_->SetRenderState(rs::kCullMode, cull::kNone);
    device_->SetRenderState(rs::kLighting, 0);
    device_->SetRenderState(rs::kAlphaBlendEnable, 1);
    device_->SetRenderState(rs::kSrcBlend, blend::kOne);
    device_->SetRenderState(rs::kDestBlend, blend::kOne);
    device_->Clear(0, nullptr, clear::kTarget, 0, 1.0f, 0);
    const uint32_t c = 0x01010101;
    const std::vector<Vertex> quad = {
        {16, 2, 0, 1, c, 0, 0},     {29.5f, 16, 0, 1, c, 0, 0}, {16, 29.25f, 0, 1, c, 0, 0},
        {16, 29.25f, 0, 1, c, 0, 0}, {3.0f, 16, 0, 1, c, 0, 0}, {16, 2, 0, 1, c, 0, 0},
        // a rectangle split along the other diagonal, on whole and half pixels
        {2, 2, 0, 1, c, 0, 0}, {8, 2, 0, 1, c, 0, 0}, {2, 6.5f, 0, 1, c, 0, 0},
        {8, 2, 0, 1, c, 0, 0}, {8, 6.5f, 0, 1, c, 0, 0}, {2, 6.5f, 0, 1, c, 0, 0}};
    Draw(quad);
    int covered = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint32_t p = TargetPixel(target, x, y) & 0x00FFFFFF;  // alpha: white texture
            ASSERT_LE(p, 0x010101u) << x << "," << y;
            covered += p == 0x010101u;
        }
    }
    // Rectangle: x 2 to 7, y 2 to 6 = 30 pixels; the diamond's area is about 13.5 x 13.6 x 2.
    EXPECT_GT(covered, 30 + 340);
    EXPECT_LT(covered, 30 + 390);
    EXPECT_EQ(TargetPixel(target, 2, 2) & 0xFFFFFF, 0x010101u);  // top-left corner owned
    EXPECT_EQ(TargetPixel(target, 8, 2), 0u);  // right edge not owned
    EXPECT_EQ(TargetPixel(target, 7, 6) & 0xFFFFFF, 0x010101u);
    EXPECT_EQ(TargetPixel(target, 2, 7), 0u);
}

TEST_F(DeviceTest, TopLeftRuleOnOneTriangle) {
    Texture* target = MakeTarget(8, 8);
    BindTarget(target);
    device_->SetRenderState(rs::kCullMode, cull::kNone);
    device_->SetRenderState(rs::kLighting, 0);
    const std::vector<Vertex> tri = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                     {4, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                     {0, 4, 0, 1, 0xFFFFFFFF, 0, 0}};
    Draw(tri);
    // Centres with x + y < 4: the top and left edges are owned, the diagonal is not.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(TargetPixel(target, x, y), x + y < 4 ? 0xFFFFFFFFu : 0u) << x << "," << y;
        }
    }
}

TEST_F(DeviceTest, CullModesFollowScreenWinding) {
    Texture* target = MakeTarget(8, 8);
    BindTarget(target);
    device_->SetRenderState(rs::kLighting, 0);
    const std::vector<Vertex> clockwise = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                           {4, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                           {0, 4, 0, 1, 0xFFFFFFFF, 0, 0}};
    device_->SetRenderState(rs::kCullMode, cull::kClockwise);
    Draw(clockwise);
    EXPECT_EQ(TargetPixel(target, 0, 0), 0u);
    device_->SetRenderState(rs::kCullMode, cull::kCounterClockwise);  // the default
    Draw(clockwise);
    EXPECT_EQ(TargetPixel(target, 0, 0), 0xFFFFFFFFu);
}

TEST_F(DeviceTest, LinearFilteringWeighsTheFourNearestTexels) {
    Texture* sheet = MakeTexture(2, 1, [](uint32_t x, uint32_t) {
        return x == 0 ? 0xFF000000u : 0xFFFF00FFu;
    });
    Texture* target = MakeTarget(8, 8);
    BindTarget(target);
    device_->SetRenderState(rs::kLighting, 0);
    device_->SetRenderState(rs::kCullMode, cull::kNone);
    device_->SetTexture(0, sheet);
    device_->SetSamplerState(0, samp::kMagFilter, filter::kLinear);
    device_->SetSamplerState(0, samp::kAddressU, address::kClamp);
    std::vector<Vertex> v;
    PushRect(v, 0, 0, 4, 1, 0, 0, 2, 1, 2, 1);  // two texels over four pixels
    Draw(v);
    // Pixel centres at texel coordinates 0.25, 0.75, 1.25, 1.75: weights of texel 1 are
    // 0 (clamped), 64/256, 192/256 and 1.
    EXPECT_EQ(TargetPixel(target, 0, 0), 0xFF000000u);
    EXPECT_EQ(TargetPixel(target, 1, 0), 0xFF400040u);
    EXPECT_EQ(TargetPixel(target, 2, 0), 0xFFBF00BFu);
    EXPECT_EQ(TargetPixel(target, 3, 0), 0xFFFF00FFu);
}

}  // namespace
}  // namespace platform::gfx::testing

namespace platform::gfx::testing {
namespace {

// The fixed-function 3D path: perspective projection, depth test, near clipping, lighting.
TEST_F(DeviceTest, TransformedTrianglesWithDepthAndLight) {
    Texture* target = MakeTarget(64, 64);
    BindTarget(target);
    Surface* depth = nullptr;
    ASSERT_EQ(device_->CreateDepthStencilSurface(64, 64, fmt::kD24S8, 0, 0, false, &depth),
              result::kOk);
    Keep(depth);
    device_->SetDepthStencilSurface(depth);
    device_->Clear(0, nullptr, clear::kTarget | clear::kZBuffer, 0xFF000000, 1.0f, 0);
    Matrix projection{};  // left-handed perspective, near 1, far 100, 90 degrees
    projection.m[0][0] = projection.m[1][1] = 1.0f;
    projection.m[2][2] = 100.0f / 99.0f;
    projection.m[2][3] = 1.0f;
    projection.m[3][2] = -100.0f / 99.0f;
    device_->SetTransform(transform::kProjection, &projection);
    device_->SetRenderState(rs::kZEnable, 1);
    device_->SetRenderState(rs::kCullMode, cull::kNone);
    device_->SetRenderState(rs::kLighting, 0);
    struct Colored {
        float x, y, z;
        uint32_t color;
    };
    auto triangle = [&](float z, uint32_t color, float back = 0.0f) {
        const Colored t[3] = {{-z, -z, z + back, color}, {z, -z, z, color}, {0, z, z, color}};
        device_->SetFVF(fvf::kXyz | fvf::kDiffuse);
        ASSERT_EQ(device_->DrawPrimitiveUP(prim::kTriangleList, 1, t, sizeof(Colored)), result::kOk);
    };
    triangle(5, 0xFFFF0000);
    triangle(10, 0xFF00FF00);  // farther: hidden
    EXPECT_EQ(TargetPixel(target, 32, 32), 0xFFFF0000u);
    triangle(2, 0xFF0000FF);   // nearer: drawn
    EXPECT_EQ(TargetPixel(target, 32, 32), 0xFF0000FFu);
    // One vertex behind the eye: the part in front is still drawn, nearer than everything.
    triangle(1.5f, 0xFFFFFF00, -10.0f);
    EXPECT_EQ(TargetPixel(target, 54, 40), 0xFFFFFF00u);  // right of the other triangles

    // A directional light straight along the view shines fully on a face turned to the eye.
    device_->Clear(0, nullptr, clear::kTarget | clear::kZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetRenderState(rs::kLighting, 1);
    Material material{};
    material.diffuse = {1, 1, 1, 1};
    device_->SetMaterial(&material);
    Light light{};
    light.type = light::kDirectional;
    light.diffuse = {0.5f, 0.5f, 0.5f, 1};
    light.direction = {0, 0, 1};
    device_->SetLight(0, &light);
    device_->LightEnable(0, true);
    struct Lit {
        float x, y, z, nx, ny, nz;
    };
    const Lit lit[3] = {{-5, -5, 5, 0, 0, -1}, {5, -5, 5, 0, 0, -1}, {0, 5, 5, 0, 0, -1}};
    device_->SetFVF(fvf::kXyz | fvf::kNormal);
    ASSERT_EQ(device_->DrawPrimitiveUP(prim::kTriangleList, 1, lit, sizeof(Lit)), result::kOk);
    EXPECT_EQ(TargetPixel(target, 32, 32), 0xFF808080u);
    device_->SetDepthStencilSurface(nullptr);
}

}  // namespace
}  // namespace platform::gfx::testing

namespace platform::gfx::testing {
namespace {

// Vertex data is the program's: far-away, infinite and not-a-number coordinates, colours and
// texture coordinates draw what they can and touch nothing outside the target.
TEST_P(BothPathsTest, WildVerticesAreHarmless) {
    UseSpriteStates();
    Texture* sheet = MakeTexture(8, 8, Tell);
    Texture* target = MakeTarget(16, 16);
    BindTarget(target);
    device_->SetTexture(0, sheet);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float values[] = {1e30f, -1e30f, inf, -inf, nan, 3.0f};
    std::vector<Vertex> v;
    for (float a : values) {
        for (float b : values) {
            v.push_back({a, 2, 0.5f, 1, 0xFFFFFFFF, b, 0});
            v.push_back({12, b, 0.5f, a, 0xFFFFFFFF, 0, a});
            v.push_back({b, 14, a, 1, 0xFFFFFFFF, a, b});
            PushRect(v, a, b, 8, 8, 0, 0, 8, 8, 8, 8);
        }
    }
    Draw(v);
    device_->SetSamplerState(0, samp::kMagFilter, filter::kLinear);
    device_->SetSamplerState(0, samp::kMinFilter, filter::kLinear);
    Draw(v);
    device_->SetFVF(kVertexFvf);
    EXPECT_EQ(device_->DrawPrimitiveUP(prim::kLineList, uint32_t(v.size() / 2), v.data(), sizeof(Vertex)),
              result::kOk);
    EXPECT_EQ(device_->DrawPrimitiveUP(prim::kPointList, uint32_t(v.size()), v.data(), sizeof(Vertex)),
              result::kOk);
}

}  // namespace
}  // namespace platform::gfx::testing
