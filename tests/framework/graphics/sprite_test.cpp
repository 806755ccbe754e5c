#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/graphics/sprite.h"
#include "framework/graphics/texture.h"
#include "graphics_fixture.h"

namespace {

// A sprite whose queued vertices (four coordinate sets) the tests can read after End.
class ProbeSprite : public CSprite2D {
public:
    using CSprite2D::CSprite2D;
    std::vector<Vertex2D> Uploaded() {
        std::vector<Vertex2D> vertices(queued_);
        void* data = nullptr;
        if (queued_ == 0 || gfx::Failed(vertexBuffer_->Lock(0, 0, &data, gfx::lock::kReadOnly))) return {};
        std::memcpy(vertices.data(), data, queued_ * sizeof(Vertex2D));
        vertexBuffer_->Unlock();
        return vertices;
    }
};

class SpriteTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        sprite_ = new ProbeSprite(ZethSprite::GetManager());
        ASSERT_TRUE(sprite_->Create(300, 4, false));
        texture_ = ZethTexture::Create(256, 128, 12);
        ASSERT_NE(texture_, nullptr);
    }
    void TearDown() override {
        sprite_->Release();
        ZethTexture::Release(texture_);
        GraphicsTest::TearDown();
    }
    std::vector<Vertex2D> Drawn() {
        sprite_->End();
        return sprite_->Uploaded();
    }

    ProbeSprite* sprite_ = nullptr;
    CTexture* texture_ = nullptr;
};

TEST_F(SpriteTest, SourceCellsBecomeTextureCoordinates) {
    sprite_->SetTexture(0, texture_);
    sprite_->SetTexture(2, texture_);
    sprite_->SetTexture(4, texture_);  // no stage 4: ignored
    EXPECT_EQ(texture_->GetRefCount(), 3);
    const float dst[4] = {10, 20, 16, 16};
    // Stage 1 has no texture: its coordinates stay 0, yet its rectangle is consumed.
    const float src[12] = {32, 0, 16, 16, 99, 99, 99, 99, 0, 0, 16, 16};
    sprite_->Begin();
    ASSERT_TRUE(sprite_->DrawRect(dst, 32767, src, 0x80FFFFFF, 3));
    Zeth3D::SetFilterEnable(true);
    ASSERT_TRUE(sprite_->DrawRect(dst, 32767, src + 8, 0x80FFFFFF, 1));
    Zeth3D::SetFilterEnable(false);
    std::vector<Vertex2D> v = Drawn();
    ASSERT_EQ(v.size(), 12u);
    EXPECT_FLOAT_EQ(v[0].uv[0][0], 0.125f);
    EXPECT_FLOAT_EQ(v[1].uv[0][0], 0.1875f);
    EXPECT_FLOAT_EQ(v[2].uv[0][1], 0.125f);
    EXPECT_FLOAT_EQ(v[2].uv[1][0], 0.0f);
    EXPECT_FLOAT_EQ(v[2].uv[2][0], 16.0f / 256.0f);
    EXPECT_FLOAT_EQ(v[6].uv[0][0], 0.5f / 256.0f);   // the texel inset of filtering
    EXPECT_FLOAT_EQ(v[7].uv[0][0], 15.5f / 256.0f);
    // Vertex order (x0, y0), (x1, y0), (x1, y1), (x1, y1), (x0, y1), (x0, y0), half a pixel up-left.
    const float corners[6][2] = {{9.5f, 19.5f}, {25.5f, 19.5f}, {25.5f, 35.5f}, {25.5f, 35.5f}, {9.5f, 35.5f}, {9.5f, 19.5f}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, corners[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].y, corners[i][1]) << i;
        EXPECT_EQ(v[i].diffuse, 0x80FFFFFFu);
    }
    sprite_->SetTexture(2, static_cast<CTexture*>(nullptr));
    EXPECT_EQ(texture_->GetRefCount(), 2);
}

TEST_F(SpriteTest, UntexturedRotatedAndRingShapes) {
    const float wide[4] = {100, 100, 40, 10};
    const float src[4] = {0, 0, 16, 16};
    sprite_->Begin();
    ASSERT_TRUE(sprite_->DrawRect(wide, 0, src, 0xFFFFFFFF, 0));
    ASSERT_TRUE(sprite_->DrawRotate(wide, 0, src, 0xFFFFFFFF, 16384, 0, 0, 0));
    ASSERT_TRUE(sprite_->DrawRing(200, 200, 0, src, 10, 20, 0xFF0000FF, 0xFFFF0000, 4, 1.0f, 0));
    EXPECT_FALSE(sprite_->DrawRing(200, 200, 0, src, 10, 20, 0, 0, 0, 1.0f, 0));
    std::vector<Vertex2D> v = Drawn();
    ASSERT_EQ(v.size(), 6u + 6u + 24u);
    EXPECT_FLOAT_EQ(v[0].uv[0][0], 0.0f);
    // A quarter turn about the centre (120, 105): the wide rectangle stands up, 10 wide, 40 high.
    float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
    for (int i = 6; i < 12; ++i) {
        left = std::min(left, v[i].x);
        right = std::max(right, v[i].x);
        top = std::min(top, v[i].y);
        bottom = std::max(bottom, v[i].y);
    }
    EXPECT_NEAR(right - left, 10.0f, 1e-3f);
    EXPECT_NEAR(bottom - top, 40.0f, 1e-3f);
    EXPECT_NEAR(left, 115.0f - 0.5f, 1e-3f);
    // Ring segment 0 runs from the top corner to the right one, outer radius b first.
    EXPECT_NEAR(v[12].x, 199.5f, 1e-3f);
    EXPECT_NEAR(v[12].y, 179.5f, 1e-3f);
    EXPECT_EQ(v[12].diffuse, 0xFFFF0000u);
    EXPECT_NEAR(v[13].x, 219.5f, 1e-3f);
    EXPECT_NEAR(v[13].y, 199.5f, 1e-3f);
    EXPECT_NEAR(v[14].x, 209.5f, 1e-3f);
    EXPECT_EQ(v[14].diffuse, 0xFF0000FFu);
}

}  // namespace
