// The 3D batches: capacities, the offered count, drawing only with a queue and a buffer, and
// the 3D sprite's shapes and textures; the 3D font sprite's layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/graphics/graphics_fixture.h"
#include "framework/graphics/texture.h"
#include "framework3d/font_sprite_3d.h"
#include "framework3d/sprite3d.h"

namespace {

Vertex3D At(float x, float y, float z) {
    Vertex3D v{};
    v.x = x;
    v.y = y;
    v.z = z;
    v.colour = 0xFFFFFFFF;
    v.uv[0][0] = 0.25f;
    v.uv[1][0] = 0.75f;
    return v;
}

// Vertex i of a batch's queue (type 1: position, colour, one texture pair).
struct Queued {
    float x, y, z;
    uint32_t colour;
    float u, v;
};
Queued QueuedAt(const CBasePrimitive3D& batch, int i) {
    Queued out;
    std::memcpy(&out, batch.GetQueuedVertices() + i * 24, sizeof out);
    return out;
}

class Primitive3DTest : public GraphicsTest {
protected:
    uint64_t Draws() const { return Zeth3D::GetDevice()->Statistics().draws; }
    CTexture* Texture(uint32_t side) {
        CTexture* texture = ZethTexture::Create(side, side, 12);
        textures_.push_back(texture);
        return texture;
    }
    void TearDown() override {
        for (CTexture* texture : textures_) ZethTexture::Release(texture);
        GraphicsTest::TearDown();
    }
    std::vector<CTexture*> textures_;
};

TEST_F(Primitive3DTest, BatchesTakeWhatFitsAndCountWhatWasOffered) {
    CPrimitive3D* triangles = Zeth::GetPrimitive3DManager()->Create(6, 1);
    CLine3D* lines = Zeth::GetLine3DManager()->Create(4);
    CPoint3D* points = Zeth::GetPoint3DManager()->Create(3);
    ASSERT_NE(triangles, nullptr);
    ASSERT_NE(lines, nullptr);
    ASSERT_NE(points, nullptr);
    const Vertex3D three[3] = {At(0, 0, 0), At(1, 0, 0), At(0, 1, 0)};
    triangles->Begin();
    EXPECT_TRUE(triangles->Push(three, 1));
    EXPECT_TRUE(triangles->Push(three, 1));
    EXPECT_FALSE(triangles->Push(three, 1));
    EXPECT_EQ(triangles->GetVertexCount(), 9u);
    EXPECT_EQ(QueuedAt(*triangles, 4).u, 0.25f);  // the first pair stays, the others are dropped
    EXPECT_EQ(QueuedAt(*triangles, 5).x, 0.0f);
    lines->Begin();
    EXPECT_TRUE(lines->Push(three, 1));
    EXPECT_FALSE(lines->Push(three, 1));  // 2 + 2 is not below 4
    points->Begin();
    EXPECT_TRUE(points->Push(three, 2));
    EXPECT_FALSE(points->Push(three, 1));
    lines->Begin();
    EXPECT_EQ(lines->GetVertexCount(), 4u);  // lists keep counting across frames
    EXPECT_EQ(Zeth::GetPrimitive3DManager()->Create(4, 5), nullptr);
    triangles->Release();
    lines->Release();
    points->Release();
}

TEST_F(Primitive3DTest, NothingIsDrawnWithoutAQueueOrABuffer) {
    CPrimitive3D* batch = Zeth::GetPrimitive3DManager()->Create(30, 0);
    ASSERT_TRUE(Zeth3D::BeginScene());
    batch->Begin();
    batch->End();
    uint64_t before = Draws();
    batch->Rendering();
    EXPECT_EQ(Draws(), before);
    const Vertex3D three[3] = {At(0, 0, 0), At(1, 0, 0), At(0, 1, 0)};
    batch->Push(three, 1);
    batch->End();
    batch->Rendering();
    EXPECT_EQ(Draws(), before + 1);
    Zeth3D::ResetDevice(true);  // the buffer is made again and the queue uploaded again
    batch->Rendering();
    EXPECT_EQ(Draws(), before + 2);
    batch->OnLostDevice();
    batch->End();
    batch->Rendering();
    EXPECT_EQ(Draws(), before + 2);
    Zeth3D::EndScene();
    batch->Release();
}

TEST_F(Primitive3DTest, QuadCornersAndTheirTexture) {
    CSprite3D* sprite = ZethSprite3D::Create(60, 1);
    ASSERT_NE(sprite, nullptr);
    CTexture* texture = Texture(32);
    sprite->SetTexture(0, texture);
    sprite->SetTexture(0, texture);
    EXPECT_EQ(texture->GetRefCount(), 2);  // the replaced reference was given back
    sprite->SetTexture(4, texture);
    ZethTexture::SetTexelOffset(0.5f);
    CTransform3D identity;
    const float src[4] = {8, 4, 16, 8};
    sprite->Begin();
    ASSERT_TRUE(sprite->DrawQuad(identity, 0, 0, 0, 2, 1, src, 0xFF00FF00, 1));
    // Triangles (c0, c1, c2), (c2, c3, c0); c0 at +x takes the texture's left edge.
    const float expected[6][4] = {{1, 0.5f, 8.5f / 32, 4.5f / 32},  {-1, 0.5f, 23.5f / 32, 4.5f / 32},
                                  {-1, -0.5f, 23.5f / 32, 11.5f / 32}, {-1, -0.5f, 23.5f / 32, 11.5f / 32},
                                  {1, -0.5f, 8.5f / 32, 11.5f / 32}, {1, 0.5f, 8.5f / 32, 4.5f / 32}};
    for (int i = 0; i < 6; ++i) {
        Queued q = QueuedAt(*sprite, i);
        EXPECT_FLOAT_EQ(q.x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(q.y, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(q.u, expected[i][2]) << i;
        EXPECT_FLOAT_EQ(q.v, expected[i][3]) << i;
        EXPECT_EQ(q.colour, 0xFF00FF00u);
    }
    ZethTexture::SetTexelOffset(0.0f);
    sprite->Release();
    EXPECT_EQ(texture->GetRefCount(), 1);
}

TEST_F(Primitive3DTest, RingsBandsAndStripsMakeTwoTrianglesASegment) {
    CSprite3D* sprite = ZethSprite3D::Create(300, 1);
    sprite->SetTexture(0, Texture(16));
    CTransform3D placement;
    placement.position.Set(5, 0, 0);  // rings and bands ignore the placement's position
    placement.Update();
    const float src[4] = {0, 0, 16, 16};
    sprite->Begin();
    EXPECT_TRUE(sprite->DrawRing(placement, 0, 0, 10, src, 1, 2, 0xFF0000FF, 0xFFFF0000, 4, 0, 1));
    EXPECT_EQ(sprite->GetVertexCount(), 24u);
    // Segment 0 runs from straight up (-y) to +x: outer corners, then inner back.
    const float corners[4][2] = {{0, -2}, {2, 0}, {1, 0}, {0, -1}};
    const int vertexOf[4] = {0, 1, 2, 4};
    for (int k = 0; k < 4; ++k) {
        Queued q = QueuedAt(*sprite, vertexOf[k]);
        EXPECT_NEAR(q.x, corners[k][0], 1e-5f) << k;
        EXPECT_NEAR(q.y, corners[k][1], 1e-5f) << k;
        EXPECT_EQ(q.z, 10.0f);
        EXPECT_EQ(q.colour, k < 2 ? 0xFFFF0000u : 0xFF0000FFu);
    }
    // Segment 1 (of the four) begins at +x.
    EXPECT_NEAR(QueuedAt(*sprite, 6).x, 2.0f, 1e-5f);
    EXPECT_FALSE(sprite->DrawRing(placement, 0, 0, 0, src, 1, 2, 0, 0, 0, 0, 1));

    sprite->Begin();
    EXPECT_TRUE(sprite->DrawBand(placement, 0, 0, 0, src, 3, 2, 0xFFFFFFFF, 3, 4, 1));
    EXPECT_EQ(sprite->GetVertexCount(), 18u);
    Queued c0 = QueuedAt(*sprite, 0), c1 = QueuedAt(*sprite, 1), c2 = QueuedAt(*sprite, 2);
    EXPECT_EQ(c0.z, -1.0f);
    EXPECT_EQ(c1.z, 1.0f);
    EXPECT_FLOAT_EQ(c0.u, 4.0f / 16);  // the scroll moves the source 4 texels right
    EXPECT_FLOAT_EQ(c2.u, 20.0f / 16);
    EXPECT_FLOAT_EQ(c1.v, 1.0f);

    const float x[3] = {0, 10, 20}, y[3] = {0, 0, 0}, z[3] = {0, 0, 0}, half[3] = {1, 2, 3};
    const int32_t angle[3] = {0, 16384, 0};
    const uint32_t colour[3] = {1, 2, 3};
    struct Case {
        bool (CSprite3D::*strip)(const float*, const float*, const float*, const float*, const int32_t*,
                                 const uint32_t*, int32_t, const float*);
        float plus[3];  // the plus edge of point 0
    };
    for (Case c : {Case{&CSprite3D::DrawStripA, {0, 1, 0}}, Case{&CSprite3D::DrawStripB, {0, 1, 0}},
                   Case{&CSprite3D::DrawStripC, {0, 0, 1}}}) {
        sprite->Begin();
        EXPECT_TRUE((sprite->*c.strip)(x, y, z, half, angle, colour, 3, src));
        EXPECT_EQ(sprite->GetVertexCount(), 12u);
        Queued plus = QueuedAt(*sprite, 1);
        EXPECT_NEAR(plus.x, c.plus[0], 1e-5f);
        EXPECT_NEAR(plus.y, c.plus[1], 1e-5f);
        EXPECT_NEAR(plus.z, c.plus[2], 1e-5f);
        EXPECT_EQ(QueuedAt(*sprite, 2).v, 0.5f);  // point 1 of 3 halfway down the source
        EXPECT_FALSE((sprite->*c.strip)(x, y, z, half, angle, colour, 1, src));
    }
    // Point 1 turned a quarter: its offset (0, 2) becomes (-2, 0), along x in the x-z plane.
    EXPECT_NEAR(QueuedAt(*sprite, 4).x, 8.0f, 1e-5f);
    sprite->Release();
}

TEST_F(Primitive3DTest, TextIsCentredOnItsLongestLine) {
    EXPECT_EQ(CFontSprite3D::GetLongestLine("abc\n\tx"), 5);
    EXPECT_EQ(CFontSprite3D::GetLongestLine(""), 0);
    CFont* font = Zeth::GetFontManager()->Create("IPAGothic", 16, false, false);
    CFontSprite3D* text = Zeth::GetFontSprite3DManager()->Create("HHHH", 60, font, false);
    ASSERT_NE(text, nullptr);
    CTransform3D placement;
    placement.Update();
    text->Begin();
    text->DrawText("HHHH\nHH", placement, 16, 0xFFFFFFFF);
    CSprite3D* sprite = text->GetSprite(0);
    ASSERT_EQ(sprite->GetVertexCount(), 36u);
    const CBaseFontSprite::Glyph* h = text->FindGlyph('H');
    const float w = h->right - h->left;
    // The centres are turned half a turn: the first letter lies on +x, the last on -x.
    const float first = -(-16.0f + h->A() + static_cast<float>(static_cast<int>(w) / 2));
    float right = -1e9f, left = 1e9f;
    for (int i = 0; i < 24; ++i) {
        right = std::max(right, QueuedAt(*sprite, i).x);
        left = std::min(left, QueuedAt(*sprite, i).x);
    }
    EXPECT_FLOAT_EQ(right, first + w / 2);
    EXPECT_FLOAT_EQ(left, first - 24 - w / 2);
    EXPECT_LT(QueuedAt(*sprite, 24).y, QueuedAt(*sprite, 0).y);  // the second line lies lower
    text->Release();
    font->Release();
}

}  // namespace
