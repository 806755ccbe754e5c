#include "framework/graphics/texture.h"
#include "platform/os/os.h"
#include "graphics_fixture.h"

namespace {

namespace rs = gfx::rs;

uint32_t DeviceState(uint32_t state) {
    uint32_t value = 0;
    Zeth3D::GetDevice()->GetRenderState(state, &value);
    return value;
}

using StatesTest = GraphicsTest;

TEST_F(StatesTest, CacheSendsOnlyChangesAndResetResendsEverything) {
    Zeth3D::SetRenderState(rs::kAlphaRef, 7);
    EXPECT_EQ(DeviceState(rs::kAlphaRef), 7u);
    // Behind the cache's back: a repeated value through the cache is not sent.
    Zeth3D::GetDevice()->SetRenderState(rs::kAlphaRef, 99);
    Zeth3D::SetRenderState(rs::kAlphaRef, 7);
    EXPECT_EQ(DeviceState(rs::kAlphaRef), 99u);
    uint32_t fog = DeviceState(rs::kFogEnable);
    Zeth3D::GetDevice()->SetRenderState(rs::kFogEnable, fog + 1);
    Zeth3D::GetDevice()->SetSamplerState(2, gfx::samp::kAddressU, gfx::address::kClamp);
    // Restoring sends every listed state from the cache.
    Zeth3D::RestoreRenderStates();
    EXPECT_EQ(DeviceState(rs::kAlphaRef), 7u);
    EXPECT_EQ(DeviceState(rs::kFogEnable), fog);
    uint32_t address = 0;
    Zeth3D::GetDevice()->GetSamplerState(2, gfx::samp::kAddressU, &address);
    EXPECT_EQ(address, gfx::address::kWrap);
    // The start-up defaults.
    EXPECT_EQ(DeviceState(rs::kAlphaBlendEnable), 1u);
    EXPECT_EQ(DeviceState(rs::kCullMode), gfx::cull::kNone);
    EXPECT_EQ(DeviceState(rs::kLighting), 0u);
}

TEST_F(StatesTest, BlendModesFilterAndAlphaTest) {
    struct Mode {
        uint32_t op, source, destination;
    };
    const Mode modes[8] = {
        {gfx::blendop::kAdd, gfx::blend::kOne, gfx::blend::kZero},
        {gfx::blendop::kAdd, gfx::blend::kSrcAlpha, gfx::blend::kInvSrcAlpha},
        {gfx::blendop::kAdd, gfx::blend::kSrcAlpha, gfx::blend::kOne},
        {gfx::blendop::kAdd, gfx::blend::kOne, gfx::blend::kOne},
        {gfx::blendop::kRevSubtract, gfx::blend::kSrcAlpha, gfx::blend::kOne},
        {gfx::blendop::kRevSubtract, gfx::blend::kOne, gfx::blend::kOne},
        {gfx::blendop::kAdd, gfx::blend::kZero, gfx::blend::kSrcColor},
        {gfx::blendop::kAdd, gfx::blend::kInvDestColor, gfx::blend::kZero},
    };
    for (uint32_t mode = 0; mode < 8; ++mode) {
        Zeth3D::SetBlendMode(mode);
        EXPECT_EQ(DeviceState(rs::kBlendOp), modes[mode].op) << mode;
        EXPECT_EQ(DeviceState(rs::kSrcBlend), modes[mode].source) << mode;
        EXPECT_EQ(DeviceState(rs::kDestBlend), modes[mode].destination) << mode;
    }
    Zeth3D::SetBlendMode(8);
    EXPECT_EQ(DeviceState(rs::kSrcBlend), modes[7].source);

    Zeth3D::SetFilterEnable(true);
    EXPECT_FLOAT_EQ(ZethTexture::GetTexelOffset(), 0.5f);
    Zeth3D::SetFilterEnable(false);
    EXPECT_FLOAT_EQ(ZethTexture::GetTexelOffset(), 0.0f);
    uint32_t filter = 0;
    Zeth3D::GetDevice()->GetSamplerState(3, gfx::samp::kMagFilter, &filter);
    EXPECT_EQ(filter, gfx::filter::kPoint);

    Zeth3D::SetAlphaTestEnable(true);
    EXPECT_EQ(DeviceState(rs::kAlphaTestEnable), 1u);
    EXPECT_EQ(DeviceState(rs::kAlphaFunc), gfx::cmp::kGreater);
    Zeth3D::SetAlphaTestEnable(false);
    EXPECT_EQ(DeviceState(rs::kAlphaTestEnable), 0u);

    // A material's block puts back the defaults, its own filters winning over the filter flag.
    Zeth3D::RenderStateBlock block;
    Zeth3D::GetRenderStateBlock(&block);
    Zeth3D::SetBlendMode(3);
    Zeth3D::SetRenderStateBlock(&block);
    EXPECT_EQ(DeviceState(rs::kDestBlend), gfx::blend::kZero);
    Zeth3D::GetDevice()->GetSamplerState(0, gfx::samp::kMinFilter, &filter);
    EXPECT_EQ(filter, gfx::filter::kLinear);
    EXPECT_EQ(DeviceState(rs::kAlphaTestEnable), 1u);
}

TEST_F(StatesTest, ScenesNestAndBackBufferLocksShareTheFirstLock) {
    EXPECT_TRUE(Zeth3D::BeginScene());
    EXPECT_TRUE(Zeth3D::BeginScene());
    Zeth3D::EndScene();
    // Still open: the device refuses a second BeginScene of its own.
    EXPECT_TRUE(gfx::Failed(Zeth3D::GetDevice()->BeginScene()));
    Zeth3D::EndScene();
    EXPECT_TRUE(Zeth3D::BeginScene());
    Zeth3D::EndScene();

    void* bits = nullptr;
    uint32_t pitch = 0, width = 0, height = 0;
    gfx::Format format = 0;
    ASSERT_TRUE(Zeth3D::LockBackBuffer(&bits, &pitch, &format, &width, &height));
    void* again = nullptr;
    uint32_t againPitch = 0, againWidth = 0;
    ASSERT_TRUE(Zeth3D::LockBackBuffer(&again, &againPitch, nullptr, &againWidth, nullptr));
    EXPECT_EQ(again, bits);
    EXPECT_EQ(againPitch, pitch);
    EXPECT_EQ(againWidth, 640u);
    EXPECT_EQ(height, 480u);
    Zeth3D::UnlockBackBuffer();
}

TEST_F(StatesTest, ViewportClipMovesTheSourceInProportion) {
    ASSERT_TRUE(Zeth3D::ResetRenderTarget());
    gfx::Rect destination{-100, 0, 100, 100};
    gfx::Rect source{0, 0, 100, 50};
    EXPECT_TRUE(Zeth3D::ClipRectToViewport(&destination, &source));
    EXPECT_EQ(destination.left, 0);
    EXPECT_EQ(source.left, 50);
    gfx::Rect outside{700, 10, 800, 20};
    gfx::Rect any{0, 0, 10, 10};
    EXPECT_FALSE(Zeth3D::ClipRectToViewport(&outside, &any));
    gfx::Rect empty{10, 10, 10, 20};
    EXPECT_FALSE(Zeth3D::ClipRectToViewport(&empty, &any));
}

TEST_F(StatesTest, FormatClassesFollowTheDevicesLists) {
    EXPECT_EQ(Zeth3D::SelectFormat(0, gfx::fmt::kR5G6B5), gfx::fmt::kR5G6B5);
    EXPECT_EQ(Zeth3D::SelectFormat(9), gfx::fmt::kA8R8G8B8);
    EXPECT_EQ(Zeth3D::SelectFormat(12), gfx::fmt::kA8R8G8B8);
    EXPECT_EQ(Zeth3D::SelectFormat(14), Zeth3D::SelectFormat(12));
    EXPECT_EQ(Zeth3D::SelectFormat(16), 0u);
    EXPECT_NE(Zeth3D::SelectFormat(7), 0u);
}

}  // namespace

namespace {

class CountingBoxes : public platform::MessageBoxSink {
public:
    void Show(uint32_t, const std::string&, const std::string&) override { ++shown; }
    int shown = 0;
};

TEST_F(StatesTest, FailedResetIsReportedOnceAndAModeChangeFallsBackToTheWindow) {
    CountingBoxes boxes;
    platform::SetMessageBoxSink(&boxes);
    gfx::Device* device = Zeth3D::GetDevice();
    // A default-pool buffer nobody gives back keeps the device from resetting.
    gfx::VertexBuffer* held = nullptr;
    ASSERT_TRUE(gfx::Succeeded(device->CreateVertexBuffer(64, 0, 0x44, gfx::pool::kDefault, &held)));
    Zeth::ChangeScreenMode();
    bool windowed = false;
    Zeth::GetScreenInfo(nullptr, nullptr, &windowed);
    EXPECT_TRUE(windowed);
    EXPECT_EQ(boxes.shown, 1);
    for (int frame = 0; frame < 3; ++frame) Zeth3D::ResetDevice(true);
    EXPECT_EQ(boxes.shown, 1);
    held->Release();
    Zeth3D::ResetDevice(true);
    EXPECT_EQ(device->TestCooperativeLevel(), gfx::result::kOk);
    EXPECT_TRUE(Zeth3D::BeginScene());
    Zeth3D::EndScene();
    platform::SetMessageBoxSink(nullptr);
}

}  // namespace
