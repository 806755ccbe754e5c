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
    // The queued vertices as uploaded, of any type.
    std::vector<uint8_t> UploadedBytes() {
        std::vector<uint8_t> bytes(size_t(queued_) * vertexSize_);
        void* data = nullptr;
        if (queued_ == 0 || gfx::Failed(vertexBuffer_->Lock(0, 0, &data, gfx::lock::kReadOnly))) return {};
        std::memcpy(bytes.data(), data, bytes.size());
        vertexBuffer_->Unlock();
        return bytes;
    }
};

// A sprite that sends every quad and rectangle through Push, as the base class does.
class PushingSprite : public ProbeSprite {
public:
    using ProbeSprite::ProbeSprite;
    bool PushQuad(const Vertex2D corners[4]) override { return CBasePrimitive2D::PushQuad(corners); }
    bool PushRect(const RectQuad& quad) override { return CBasePrimitive2D::PushRect(quad); }
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

// DrawRect queues a rectangle's vertices itself where it can: in every batch set-up it must
// queue the bytes, count the vertices and answer as the batch that sends it through Push.
TEST_F(SpriteTest, RectanglesQueueWhatPushQueuesInEveryBatchSetUp) {
    struct Case {
        const char* name;
        uint32_t type, capacity;
        bool sort, scaling, perspective;
        int clip;  // 0 none, 1 across the second rectangle, 2 around everything
    };
    const Case cases[] = {
        {"one coordinate set", 1, 300, false, false, false, 0},
        {"four sets", 4, 300, false, false, false, 0},
        {"no set", 0, 300, false, false, false, 0},
        {"scaled", 1, 300, false, true, false, 0},
        {"in perspective", 1, 300, false, false, true, 0},
        {"sorted", 1, 300, true, false, false, 0},
        {"clipped across", 1, 300, false, false, false, 1},
        {"clipped around", 1, 300, false, false, false, 2},
        {"room for one triangle", 1, 9, false, false, false, 0},
    };
    const float rects[3][4] = {{10.25f, 20.5f, 16, 16}, {-3.5f, 100.75f, 8, 24}, {200, 7.125f, 40, 12}};
    const float src[4] = {32, 8, 16, 16};
    for (const Case& c : cases) {
        ProbeSprite* sprites[2] = {new ProbeSprite(ZethSprite::GetManager()),
                                   new PushingSprite(ZethSprite::GetManager())};
        std::vector<uint8_t> bytes[2];
        uint32_t counts[2];
        int answers[2] = {0, 0};
        for (int k = 0; k < 2; ++k) {
            ProbeSprite* sprite = sprites[k];
            ASSERT_TRUE(sprite->Create(c.capacity, c.type, c.sort)) << c.name;
            sprite->SetTexture(0, texture_);
            sprite->SetScaling(c.scaling, 128, 120, 1.5f);
            sprite->SetPerspective(c.perspective, 128, 120, 0.5f);
            const CObject2DManager::ClipRect across{0, 0, 100, 110}, around{-50, -50, 400, 400};
            sprite->SetClipRect(c.clip == 1 ? &across : c.clip == 2 ? &around : nullptr);
            sprite->Begin();
            for (int r = 0; r < 3; ++r) answers[k] = answers[k] << 1 | (sprite->DrawRect(rects[r], 1000.0f * float(r), src, 0xC0FF8040, 1) ? 1 : 0);
            counts[k] = sprite->GetVertexCount();
            sprite->End();
            bytes[k] = sprite->UploadedBytes();
        }
        EXPECT_EQ(bytes[0], bytes[1]) << c.name;
        EXPECT_FALSE(bytes[0].empty()) << c.name;
        EXPECT_EQ(counts[0], counts[1]) << c.name;
        EXPECT_EQ(answers[0], answers[1]) << c.name;
        for (ProbeSprite* sprite : sprites) sprite->Release();
    }
}

TEST_F(SpriteTest, UntexturedRotatedAndRingShapes) {
    const float wide[4] = {100, 100, 40, 10};
    const float src[4] = {0, 0, 16, 16};
    sprite_->Begin();
    ASSERT_TRUE(sprite_->DrawRect(wide, 0, src, 0xFFFFFFFF, 0));
    ASSERT_TRUE(sprite_->DrawRotate(wide, 0, src, 0xFFFFFFFF, 16384, 0, 0, 0));
    ASSERT_TRUE(sprite_->DrawRing(200, 200, 0, src, 10, 20, 0xFF0000FF, 0xFFFF0000, 4, 1.0f, 0));
    EXPECT_FALSE(sprite_->DrawRing(200, 200, 0, src, 10, 20, 0, 0, 0, 1.0f, 0));
    ASSERT_TRUE(sprite_->DrawRotate(wide, 0, src, 0xFFFFFFFF, 16384, 0, 20, -10));
    std::vector<Vertex2D> v = Drawn();
    ASSERT_EQ(v.size(), 6u + 6u + 24u + 6u);
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
    // The same quarter turn about a pivot moved (20, -10) from the centre, to (140, 95): the
    // corners land at x 125 to 135 and y 55 to 95.
    left = right = v[36].x;
    top = bottom = v[36].y;
    for (int i = 36; i < 42; ++i) {
        left = std::min(left, v[i].x);
        right = std::max(right, v[i].x);
        top = std::min(top, v[i].y);
        bottom = std::max(bottom, v[i].y);
    }
    EXPECT_NEAR(left, 125.0f - 0.5f, 1e-3f);
    EXPECT_NEAR(right, 135.0f - 0.5f, 1e-3f);
    EXPECT_NEAR(top, 55.0f - 0.5f, 1e-3f);
    EXPECT_NEAR(bottom, 95.0f - 0.5f, 1e-3f);
}

}  // namespace
