#include <string>

#include "framework/graphics/simple.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/texture.h"
#include "graphics_fixture.h"

namespace {

constexpr uint32_t kBackground = 0x202020;

uint32_t Texel(int x, int y) { return 0xFF000000u | static_cast<uint32_t>(x * 8) << 16 | static_cast<uint32_t>(y * 8) << 8 | 0x40; }

class FrameTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        // A 32 x 32 texture of distinct texels, its bottom-right texel transparent.
        texture_ = ZethTexture::Create(32, 32, 12);
        ASSERT_NE(texture_, nullptr);
        uint32_t pitch = 0;
        void* bits = nullptr;
        ASSERT_TRUE(texture_->Lock(nullptr, &pitch, &bits, nullptr, nullptr, nullptr));
        for (int y = 0; y < 32; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(bits) + y * pitch);
            for (int x = 0; x < 32; ++x) row[x] = Texel(x, y);
        }
        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(bits) + 31 * pitch)[31] = 0;
        texture_->Unlock();
        sprite_ = ZethSprite::Create(600, 1, false);
        ASSERT_NE(sprite_, nullptr);
        ZethSprite::SetTexture(sprite_, 0, texture_);
    }
    void TearDown() override {
        ZethSprite::Release(sprite_);
        ZethTexture::Release(texture_);
        GraphicsTest::TearDown();
    }

    // Opens the scene on the cleared back buffer with the game's states.
    void BeginFrame(uint32_t blendMode = 1) {
        ASSERT_TRUE(Zeth3D::BeginScene());
        Zeth3D::SetFilterEnable(false);
        Zeth3D::SetBlendMode(blendMode);
        Zeth3D::ResetRenderTarget();
        Zeth3D::Clear(gfx::clear::kTarget, 0xFF000000 | kBackground, 1.0f, 0);
    }
    void DrawCell(float x, float y, float sx, float sy, float sw, float sh, uint32_t colour = 0xFFFFFFFF) {
        const float dst[4] = {x, y, 16, 16};
        const float src[4] = {sx, sy, sw, sh};
        ZethSprite::Begin(sprite_);
        EXPECT_TRUE(ZethSprite::DrawRect(sprite_, dst, 32767, src, colour, 1));
        ZethSprite::End(sprite_);
        ZethSprite::Rendering(sprite_);
    }
    void EndFrame() {
        Zeth3D::EndScene();
        Present();
    }
    // Every pixel of the 16 x 16 square at (x, y) against the texel the function names.
    template <typename Expected>
    void ExpectSquare(int x, int y, Expected expected, const std::string& what) {
        int wrong = 0;
        for (int dy = 0; dy < 16; ++dy) {
            for (int dx = 0; dx < 16; ++dx) {
                if (Pixel(x + dx, y + dy) != (expected(dx, dy) & 0xFFFFFF) && wrong++ < 3) {
                    ADD_FAILURE() << what << " at " << dx << "," << dy << ": " << std::hex << Pixel(x + dx, y + dy)
                                  << " instead of " << (expected(dx, dy) & 0xFFFFFF);
                }
            }
        }
        EXPECT_EQ(wrong, 0) << what;
    }

    CTexture* texture_ = nullptr;
    CSprite2D* sprite_ = nullptr;
};

TEST_F(FrameTest, CellCoversExactlyItsPixels) {
    for (bool general : {false, true}) {
        gfx::SetForceGeneralPath(general);
        BeginFrame();
        DrawCell(100, 50, 16, 0, 16, 16);
        EndFrame();
        ExpectSquare(100, 50, [](int dx, int dy) { return Texel(16 + dx, dy); }, general ? "general" : "rectangles");
        for (auto [x, y] : {std::pair{99, 50}, std::pair{116, 50}, std::pair{100, 49}, std::pair{100, 66}}) {
            EXPECT_EQ(Pixel(x, y), kBackground) << x << "," << y;
        }
    }
    gfx::SetForceGeneralPath(false);
}

TEST_F(FrameTest, MirroredWrappedAndTransparentCells) {
    BeginFrame();
    DrawCell(10, 10, 32, 0, -16, 16);  // mirrored: the right half of the texture backwards
    DrawCell(40, 10, 24, 0, 16, 16);   // wraps past the right edge of the texture
    DrawCell(70, 10, 16, 16, 16, 16);  // its last texel is transparent
    EndFrame();
    ExpectSquare(10, 10, [](int dx, int dy) { return Texel(31 - dx, dy); }, "mirrored");
    ExpectSquare(40, 10, [](int dx, int dy) { return Texel((24 + dx) % 32, dy); }, "wrapped");
    ExpectSquare(70, 10, [](int dx, int dy) { return dx == 15 && dy == 15 ? kBackground : Texel(16 + dx, 16 + dy); },
                 "transparent");
}

TEST_F(FrameTest, BlendModesWithoutRounding) {
    struct Case {
        uint32_t mode;
        uint32_t colour;  // the vertex colour modulating the texel
        uint32_t expected;
    };
    // Texel (0, 0) is 0x000040: blue only.
    for (Case c : {Case{0, 0xFFFFFFFF, 0x000040}, Case{3, 0xFFFFFFFF, 0x202060}, Case{5, 0xFFFFFFFF, 0x202000}}) {
        BeginFrame(c.mode);
        DrawCell(0, 0, 0, 0, 1, 1, c.colour);
        EndFrame();
        EXPECT_EQ(Pixel(5, 5), c.expected) << "mode " << c.mode;
    }
}

TEST_F(FrameTest, RenderTargetComposedDoubledOntoTheBackBuffer) {
    CTexture* target = ZethTexture::CreateRenderTarget(256, 256, 9);
    ASSERT_NE(target, nullptr);
    EXPECT_STREQ(target->GetName(), "RENDER_TARGET [256x256] A8R8G8B8");
    BeginFrame();
    ASSERT_TRUE(Zeth3D::SetRenderTarget(target));
    Zeth3D::Clear(gfx::clear::kTarget, 0xFF000000, 1.0f, 0);
    DrawCell(8, 4, 16, 0, 16, 16);
    Zeth3D::ResetRenderTarget();
    const float dst[4] = {64, 0, 512, 480};
    const float src[4] = {0, 0, 256, 240};
    ZethTexture::Draw(target, dst, src, 0xFFFFFFFF);
    EndFrame();
    EXPECT_EQ(Pixel(63, 100), kBackground);
    EXPECT_EQ(Pixel(576, 100), kBackground);
    EXPECT_EQ(Pixel(64, 0), 0u);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{15, 15}, std::pair{7, 3}}) {
        uint32_t expected = Texel(16 + x, y) & 0xFFFFFF;
        EXPECT_EQ(Pixel(64 + 2 * (8 + x), 2 * (4 + y)), expected) << x << "," << y;
        EXPECT_EQ(Pixel(65 + 2 * (8 + x), 1 + 2 * (4 + y)), expected) << x << "," << y;
    }
    ZethTexture::Release(target);
}

// Records the loss and reset calls its manager passes on.
class Recorder : public CDeviceObject {
public:
    Recorder(CBaseManager* manager, std::string name, std::vector<std::string>* log)
        : CDeviceObject(manager), name_(std::move(name)), log_(log) {}
    void OnLostDevice() override { log_->push_back(name_ + " lost"); }
    void OnResetDevice() override { log_->push_back(name_ + " reset"); }

private:
    std::string name_;
    std::vector<std::string>* log_;
};

TEST_F(FrameTest, LostDeviceResetsEveryManagerInOrderAndRedrawsTheSameFrame) {
    BeginFrame();
    ZethSprite::Begin(sprite_);
    const float dst[4] = {100, 50, 16, 16};
    const float src[4] = {16, 0, 16, 16};
    ZethSprite::DrawRect(sprite_, dst, 32767, src, 0xFFFFFFFF, 1);
    ZethSprite::End(sprite_);
    ZethSprite::Rendering(sprite_);
    EndFrame();
    const std::vector<uint32_t> before = sink_.Frame();

    std::vector<std::string> log;
    auto* surfaces = new Recorder(ZethSurface::GetManager(), "surfaces", &log);
    auto* textures = new Recorder(ZethTexture::GetManager(), "textures", &log);
    Zeth3D::GetDevice()->SimulateDeviceLoss();
    Zeth3D::Refresh(nullptr);  // lost: the frame is skipped
    EXPECT_TRUE(log.empty());
    Zeth3D::Refresh(nullptr);  // not reset: the device is reset
    EXPECT_EQ(log, (std::vector<std::string>{"textures lost", "surfaces lost", "textures reset", "surfaces reset"}));
    EXPECT_EQ(Zeth3D::GetDevice()->TestCooperativeLevel(), gfx::result::kOk);
    surfaces->Release();
    textures->Release();

    // The batch was ended before the loss: it renders the same triangles after the reset.
    BeginFrame();
    ZethSprite::Rendering(sprite_);
    EndFrame();
    EXPECT_EQ(sink_.Frame(), before);
}

TEST_F(FrameTest, ForcedResetAlsoKeepsTheFrame) {
    BeginFrame();
    DrawCell(100, 50, 16, 0, 16, 16);
    EndFrame();
    const std::vector<uint32_t> before = sink_.Frame();
    Zeth3D::ResetDevice(true);
    BeginFrame();
    DrawCell(100, 50, 16, 0, 16, 16);
    EndFrame();
    EXPECT_EQ(sink_.Frame(), before);
}

}  // namespace

namespace {

TEST_F(FrameTest, ColourKeyMakesOpaqueBlackTransparent) {
    std::vector<uint32_t> pixels(16 * 16, 0x3366CC);
    pixels[5 * 16 + 7] = 0x000000;
    std::vector<uint8_t> bmp = MakeBmp(16, 16, pixels);
    CTexture* keyed = ZethTexture::GetManager()->CreateFromMemory(bmp.data(), static_cast<uint32_t>(bmp.size()), 12,
                                                                  0xFF000000);
    ASSERT_NE(keyed, nullptr);
    ZethSprite::SetTexture(sprite_, 0, keyed);
    BeginFrame();
    DrawCell(200, 100, 0, 0, 16, 16);
    EndFrame();
    ExpectSquare(200, 100, [](int dx, int dy) { return dx == 7 && dy == 5 ? kBackground : 0x3366CCu; }, "keyed");
    ZethTexture::Release(keyed);
}

TEST_F(FrameTest, RenderTargetLosesItsPictureInAResetAndManagedTexturesKeepTheirs) {
    CTexture* target = ZethTexture::CreateRenderTarget(64, 64, 9);
    ASSERT_NE(target, nullptr);
    const float whole[4] = {0, 0, 64, 64};
    const float beside[4] = {100, 0, 32, 32};
    const float cells[4] = {0, 0, 32, 32};
    auto show = [&] {
        BeginFrame();
        ZethTexture::Draw(target, whole, whole, 0xFFFFFFFF);
        ZethTexture::Draw(texture_, beside, cells, 0xFFFFFFFF);
        EndFrame();
    };
    ASSERT_TRUE(Zeth3D::BeginScene());
    ASSERT_TRUE(Zeth3D::SetRenderTarget(target));
    Zeth3D::Clear(gfx::clear::kTarget, 0xFFFFFFFF, 1.0f, 0);
    Zeth3D::ResetRenderTarget();
    Zeth3D::EndScene();
    show();
    EXPECT_EQ(Pixel(50, 50), 0xFFFFFFu);
    Zeth3D::ResetDevice(true);
    show();
    EXPECT_NE(Pixel(50, 50), 0xFFFFFFu);
    ExpectSquare(100, 0, [](int dx, int dy) { return Texel(dx, dy); }, "managed texture");
    ZethTexture::Release(target);
}

}  // namespace
