// Golden frames of text and primitives, drawn through the framework's start-up into the memory
// sink: 2D text from a font sprite and straight from a font, with 2D lines and points; a 3D scene
// of text, quads, a ring, a band, the three strips, lines and points.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "framework/graphics/graphics_fixture.h"
#include "framework/graphics/texture.h"
#include "framework3d/font_sprite_2d.h"
#include "framework3d/font_sprite_3d.h"
#include "framework3d/list2d.h"
#include "framework3d/sprite3d.h"
#include "golden.h"

namespace {

constexpr const char* kText = "TANZLOR DIRAV v1.02\n\x83\x65\x83\x4c\x83\x58\x83\x67 Ag\t|";

Vertex2D Point2D(float x, float y, uint32_t colour) { return PushedVertex(x, y, 100.0f, colour); }

Vertex3D Point3D(float x, float y, float z, uint32_t colour) {
    Vertex3D v{};
    v.x = x;
    v.y = y;
    v.z = z;
    v.colour = colour;
    return v;
}

class TextFrameTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        font_ = Zeth::GetFontManager()->Create("IPAGothic", 16, false, false);
        ASSERT_NE(font_, nullptr);
        ASSERT_TRUE(Zeth3D::BeginScene());
        Zeth3D::SetFilterEnable(false);
        Zeth3D::SetBlendMode(1);
        Zeth3D::ResetRenderTarget();
    }
    void TearDown() override {
        font_->Release();
        GraphicsTest::TearDown();
    }
    void ExpectGolden(const char* name) {
        Zeth3D::EndScene();
        golden::ExpectFrame(name, Present(), 640, 480);
    }

    CFont* font_ = nullptr;
};

TEST_F(TextFrameTest, TextLinesAndPointsIn2D) {
    Zeth3D::Clear(gfx::clear::kTarget, 0xFF102030, 1.0f, 0);
    CFontSprite2D* text = Zeth::GetFontSprite2DManager()->Create(kText, 600, font_, false, true);
    CLine2D* lines = Zeth::GetLine2DManager()->Create(64);
    CPoint2D* points = Zeth::GetPoint2DManager()->Create(64);
    ASSERT_NE(text, nullptr);
    ASSERT_NE(lines, nullptr);
    ASSERT_NE(points, nullptr);
    const CObject2DManager::ClipRect clip{20, 20, 620, 460};
    Zeth::GetLine2DManager()->SetClipRect(&clip);
    Zeth::GetPoint2DManager()->SetClipRect(&clip);

    text->Begin(1);
    text->DrawText(kText, 32, 32, 100, 0xFFFFFFFF);
    text->DrawTextProportional(kText, 32, 96, 100, 0xFFFFE060);
    const float big[4] = {40, 160, 64, 64};
    text->DrawChar("\x83\x65", big, 100, 0xFF80FF80);
    const float turned[4] = {120, 160, 64, 64};
    text->DrawCharRotate("A", turned, 100, 0xFFFF8080, 4096);
    const float tipped[4] = {200, 160, 64, 64};
    text->DrawCharRotateXYZ("g", tipped, 100, 0xFF80C0FF, 0, 10000, 0);
    text->End();
    text->Rendering();

    Zeth3D::SetTexture(0, nullptr);  // lines and points carry no texture coordinates
    lines->Begin();
    for (int i = 0; i < 12; ++i) {
        const float a = static_cast<float>(i) * 0.5236f;
        const Vertex2D line[2] = {Point2D(440, 320, 0xFFFFFFFF),
                                  Point2D(440 + 150 * std::cos(a), 320 + 150 * std::sin(a), 0xFF000000u | (i * 0x151515u))};
        lines->Push(line, 1);
    }
    lines->End();
    lines->Rendering();
    points->Begin();
    for (int i = 0; i < 40; ++i) {
        const Vertex2D point = Point2D(30.0f + 16.0f * static_cast<float>(i), 300.0f + 8.0f * static_cast<float>(i % 5),
                                       0xFF00FF00u | static_cast<uint32_t>(i * 6) << 16);
        points->Push(&point, 1);
    }
    points->End();
    points->Rendering();
    Zeth3D::EndScene();

    // Straight into the back buffer, 1-bit (the build left the font on the last sheet).
    font_->SetTarget(nullptr);
    font_->Begin(false);
    EXPECT_GT(font_->DrawText(32, 400, 0xFFFFFFFF, "CFont \x82\xa0\x82\xa2"), 0);
    font_->DrawTextProportional(32, 424, 0xFFFFC0C0, "Proportional \x82\xa4");
    font_->End();
    ASSERT_TRUE(Zeth3D::BeginScene());
    ExpectGolden("text2d.png");
    text->Release();
    lines->Release();
    points->Release();
}

TEST_F(TextFrameTest, TextAndPrimitivesIn3D) {
    gfx::Device* device = Zeth3D::GetDevice();
    gfx::Surface* depth = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(640, 480, gfx::fmt::kD16, 0, 0, false, &depth), 0);
    device->SetDepthStencilSurface(depth);
    Zeth3D::Clear(gfx::clear::kTarget | gfx::clear::kZBuffer, 0xFF203040, 1.0f, 0);
    device->SetRenderState(gfx::rs::kCullMode, gfx::cull::kNone);
    device->SetRenderState(gfx::rs::kLighting, 0);
    device->SetRenderState(gfx::rs::kZEnable, 1);
    device->SetRenderState(gfx::rs::kZWriteEnable, 0);
    // Camera at z -20 looking along +z; 60-degree lens.
    const gfx::Matrix view{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 20, 1}}};
    const float ys = 1.0f / std::tan(0.5236f), xs = ys * 480.0f / 640.0f, zn = 1.0f, zf = 100.0f;
    const gfx::Matrix projection{{{xs, 0, 0, 0}, {0, ys, 0, 0}, {0, 0, zf / (zf - zn), 1}, {0, 0, -zn * zf / (zf - zn), 0}}};
    device->SetTransform(gfx::transform::kView, &view);
    device->SetTransform(gfx::transform::kProjection, &projection);

    CTexture* checker = ZethTexture::Create(16, 16, 12);
    uint32_t pitch = 0;
    void* bits = nullptr;
    ASSERT_TRUE(checker->Lock(nullptr, &pitch, &bits, nullptr, nullptr, nullptr));
    for (int y = 0; y < 16; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(bits) + y * pitch);
        for (int x = 0; x < 16; ++x) row[x] = ((x / 4 + y / 4) % 2) ? 0xFFFFFFFFu : 0xFF4080C0u;
    }
    checker->Unlock();

    CSprite3D* shapes = Zeth::GetSprite3DManager()->Create(600, 1);
    CFontSprite3D* text = Zeth::GetFontSprite3DManager()->Create(kText, 600, font_, true);
    CLine3D* lines = Zeth::GetLine3DManager()->Create(32);
    CPoint3D* points = Zeth::GetPoint3DManager()->Create(32);
    ASSERT_NE(shapes, nullptr);
    ASSERT_NE(text, nullptr);
    shapes->SetTexture(0, checker);

    CTransform3D flat, tilted;
    flat.Update();
    tilted.RotateYaw(6000);
    tilted.position.Set(0, 4, 0);
    tilted.Update();
    const float src[4] = {0, 0, 16, 16};
    shapes->Begin();
    shapes->DrawQuad(flat, -9, 5, 0, 4, 3, src, 0xFFFFFFFF, 1);
    shapes->DrawQuad(tilted, -4, 1, 0, 4, 3, src, 0xFFFFC080, 1);
    shapes->DrawRing(tilted, 6, 5, 0, src, 1.5f, 3, 0xFFFF0000, 0xFF00FF00, 12, 2, 1);
    shapes->DrawBand(tilted, 6, -3, 0, src, 2, 2, 0xFFFFFFFF, 10, 0, 1);
    const float x[4] = {-10, -7, -4, -1}, y[4] = {-6, -5, -6, -5}, z[4] = {0, 0, 0, 0}, half[4] = {0.5f, 1, 1, 0.5f};
    const int32_t angle[4] = {0, 4096, 8192, 12288};
    const uint32_t colour[4] = {0xFFFFFFFF, 0xFFFF8080, 0xFF80FF80, 0xFF8080FF};
    shapes->DrawStripA(x, y, z, half, angle, colour, 4, src);
    const float y2[4] = {-9, -8, -9, -8};
    shapes->DrawStripB(x, y2, z, half, angle, colour, 4, src);
    const float x3[4] = {1, 4, 7, 10}, y3[4] = {-8, -8, -8, -8};
    shapes->DrawStripC(x3, y3, z, half, angle, colour, 4, src);
    shapes->End();
    shapes->Rendering();

    Zeth3D::SetTexture(0, nullptr);
    lines->Begin();
    for (int i = 0; i < 8; ++i) {
        const float f = static_cast<float>(i);
        const Vertex3D line[2] = {Point3D(-12 + 3 * f, 9, 0, 0xFFFFFF00), Point3D(-10 + 3 * f, 7, 5, 0xFF00FFFF)};
        lines->Push(line, 1);
    }
    lines->End();
    lines->Rendering();
    points->Begin();
    for (int i = 0; i < 20; ++i) {
        const Vertex3D point = Point3D(-12 + 1.2f * static_cast<float>(i), -11, 0, 0xFFFF00FF);
        points->Push(&point, 1);
    }
    points->End();
    points->Rendering();

    // Text reads from behind its placement: these face the camera with a half turn.
    CTransform3D placement;
    placement.position.Set(0, 1, -2);
    placement.RotateYaw(0x8000 - 3000);
    placement.Update();
    text->Begin();
    text->DrawText(kText, placement, 1.2f, 0xFFFFFFFF);
    CTransform3D low;
    low.position.Set(0, -2, -2);
    low.RotateYaw(0x8000);
    low.Update();
    text->DrawTextProportional("TANZLOR\nAg \x83\x65\x83\x4c", low, 1.0f, 0xFFFFE060);
    text->End();
    text->Rendering();

    device->SetDepthStencilSurface(nullptr);
    depth->Release();
    ExpectGolden("scene3d.png");
    shapes->Release();
    text->Release();
    lines->Release();
    points->Release();
    ZethTexture::Release(checker);
}

}  // namespace
