// The device's objects and bookkeeping: formats, locks, states, copies, loss and Reset.
#include "gfx_fixture.h"

namespace platform::gfx::testing {
namespace {

// Each stored format keeps what it can hold: a native value written through a lock reads back
// unchanged, and its ARGB meaning is the channels widened by bit replication.
TEST_F(DeviceTest, FormatsRoundTripThroughLocks) {
    struct Case {
        Format format;
        uint32_t native;  // one pixel as written through the lock
        uint32_t argb;    // what sampling sees
    };
    const Case cases[] = {
        {fmt::kA8R8G8B8, 0x80C04020, 0x80C04020},
        {fmt::kX8R8G8B8, 0xFFC04020, 0xFFC04020},  // the X byte reads back as 0xFF
        {fmt::kA4R4G4B4, 0x8C42, 0x88CC4422},
        {fmt::kX4R4G4B4, 0x0C42, 0xFFCC4422},
        {fmt::kA1R5G5B5, 0x8000 | 31 << 10 | 16 << 5 | 1, 0xFFFF8408},
        {fmt::kX1R5G5B5, 0x0000 | 31 << 10 | 16 << 5 | 1, 0xFFFF8408},
        {fmt::kR5G6B5, 31u << 11 | 32u << 5 | 2u, 0xFFFF8210},
        {fmt::kA8, 0x7F, 0x7F000000},
    };
    for (const Case& c : cases) {
        Texture* texture = nullptr;
        ASSERT_EQ(device_->CreateTexture(4, 2, 1, 0, c.format, pool::kManaged, &texture),
                  result::kOk);
        const uint32_t bytes = BytesPerPixel(c.format);
        LockedRect locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), result::kOk);
        EXPECT_EQ(locked.pitch, int32_t(4 * bytes));
        auto* second = static_cast<uint8_t*>(locked.bits) + locked.pitch + bytes;  // (1, 1)
        std::memcpy(second, &c.native, bytes);
        ASSERT_EQ(texture->UnlockRect(0), result::kOk);
        Surface* level = nullptr;
        texture->GetSurfaceLevel(0, &level);
        EXPECT_EQ(level->ArgbPixels()[4 + 1], c.argb) << c.format;
        level->Release();
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, lock::kReadOnly), result::kOk);
        uint32_t back = 0;
        std::memcpy(&back, static_cast<uint8_t*>(locked.bits) + locked.pitch + bytes, bytes);
        EXPECT_EQ(back, c.native) << c.format;
        texture->UnlockRect(0);
        texture->Release();
    }
}

TEST_F(DeviceTest, LocksFailWhereTheyMust) {
    Texture* managed = nullptr;
    ASSERT_EQ(device_->CreateTexture(8, 8, 1, 0, fmt::kA8R8G8B8, pool::kManaged, &managed),
              result::kOk);
    Keep(managed);
    LockedRect locked;
    ASSERT_EQ(managed->LockRect(0, &locked, nullptr, 0), result::kOk);
    EXPECT_EQ(managed->LockRect(0, &locked, nullptr, 0), result::kInvalidCall);  // twice
    EXPECT_EQ(managed->UnlockRect(0), result::kOk);
    EXPECT_EQ(managed->UnlockRect(0), result::kInvalidCall);
    const Rect outside{4, 4, 9, 8};
    EXPECT_EQ(managed->LockRect(0, &locked, &outside, 0), result::kInvalidCall);
    EXPECT_EQ(managed->LockRect(1, &locked, nullptr, 0), result::kInvalidCall);

    // Default-pool textures, render targets among them, cannot be locked; dynamic ones can.
    Texture* target = MakeTarget(8, 8);
    EXPECT_EQ(target->LockRect(0, &locked, nullptr, 0), result::kInvalidCall);
    Texture* plain = nullptr;
    ASSERT_EQ(device_->CreateTexture(8, 8, 1, 0, fmt::kA8R8G8B8, pool::kDefault, &plain),
              result::kOk);
    Keep(plain);
    EXPECT_EQ(plain->LockRect(0, &locked, nullptr, 0), result::kInvalidCall);
    Texture* dynamic = nullptr;
    ASSERT_EQ(device_->CreateTexture(8, 8, 1, usage::kDynamic, fmt::kA8R8G8B8, pool::kDefault,
                                     &dynamic),
              result::kOk);
    Keep(dynamic);
    EXPECT_EQ(dynamic->LockRect(0, &locked, nullptr, 0), result::kOk);
    dynamic->UnlockRect(0);

    // Buffers: out of range, twice.
    VertexBuffer* buffer = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(64, usage::kDynamic | usage::kWriteOnly, kVertexFvf,
                                          pool::kDefault, &buffer),
              result::kOk);
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(60, 8, &data, 0), result::kInvalidCall);
    ASSERT_EQ(buffer->Lock(0, 0, &data, lock::kDiscard), result::kOk);
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), result::kInvalidCall);
    EXPECT_EQ(buffer->Unlock(), result::kOk);
    buffer->Release();

    // Bad creation arguments.
    Texture* none = nullptr;
    EXPECT_EQ(device_->CreateTexture(0, 8, 1, 0, fmt::kA8R8G8B8, pool::kManaged, &none),
              result::kInvalidCall);
    EXPECT_EQ(device_->CreateTexture(8, 8, 1, 0, fmt::kDxt1, pool::kManaged, &none),
              result::kInvalidCall);
    EXPECT_EQ(device_->CreateTexture(8, 8, 1, usage::kRenderTarget, fmt::kA8R8G8B8,
                                     pool::kManaged, &none),
              result::kInvalidCall);
    EXPECT_EQ(none, nullptr);
}

TEST_F(DeviceTest, LostDeviceReportsUntilReset) {
    Texture* target = MakeTarget(16, 16);  // a default-pool resource
    EXPECT_EQ(device_->TestCooperativeLevel(), result::kOk);
    device_->SimulateDeviceLoss();
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), result::kDeviceLost);
    EXPECT_EQ(device_->BeginScene(), result::kDeviceLost);
    EXPECT_EQ(device_->TestCooperativeLevel(), result::kDeviceLost);
    EXPECT_EQ(device_->TestCooperativeLevel(), result::kDeviceNotReset);
    EXPECT_EQ(device_->TestCooperativeLevel(), result::kDeviceNotReset);

    // Reset refuses while default-pool resources or back-buffer references remain.
    PresentParameters pp = parameters_;
    EXPECT_EQ(device_->Reset(&pp), result::kInvalidCall);
    owned_.clear();
    target->Release();
    Surface* back = nullptr;
    device_->GetBackBuffer(0, 0, 0, &back);
    EXPECT_EQ(device_->Reset(&pp), result::kInvalidCall);
    back->Release();
    EXPECT_EQ(device_->TestCooperativeLevel(), result::kDeviceNotReset);

    // Managed resources survive; states go back to their defaults.
    MakeTexture(4, 4, [](uint32_t, uint32_t) { return 0u; });
    device_->SetRenderState(rs::kAlphaBlendEnable, 1);
    pp.windowed = false;
    ASSERT_EQ(device_->Reset(&pp), result::kOk);
    EXPECT_FALSE(sink_.Windowed());
    EXPECT_EQ(device_->TestCooperativeLevel(), result::kOk);
    uint32_t value = 7;
    device_->GetRenderState(rs::kAlphaBlendEnable, &value);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(device_->BeginScene(), result::kOk);
    EXPECT_EQ(device_->BeginScene(), result::kInvalidCall);
    EXPECT_EQ(device_->EndScene(), result::kOk);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), result::kOk);
    EXPECT_EQ(sink_.FrameCount(), 1);
}

TEST_F(DeviceTest, StatesAreStoredByNumberWithTheirDefaults) {
    struct Default {
        uint32_t state, value;
    };
    const Default defaults[] = {{rs::kZEnable, 0},          {rs::kCullMode, cull::kCounterClockwise},
                                {rs::kLighting, 1},         {rs::kSrcBlend, blend::kOne},
                                {rs::kDestBlend, blend::kZero}, {rs::kAlphaFunc, cmp::kAlways},
                                {rs::kColorWriteEnable, 0xF}, {rs::kBlendOp, blendop::kAdd}};
    for (const Default& d : defaults) {
        uint32_t value = 0xDEAD;
        ASSERT_EQ(device_->GetRenderState(d.state, &value), result::kOk);
        EXPECT_EQ(value, d.value) << d.state;
    }
    uint32_t count = 0;
    for (uint32_t state : kDefinedRenderStates) {
        uint32_t value;
        count += device_->GetRenderState(state, &value) == result::kOk;
    }
    EXPECT_EQ(count, 103u);
    uint32_t value;
    EXPECT_EQ(device_->SetRenderState(10, 1), result::kInvalidCall);  // not a state
    EXPECT_EQ(device_->SetRenderState(210, 1), result::kInvalidCall);
    EXPECT_EQ(device_->GetTextureStageState(0, tss::kColorOp, &value), result::kOk);
    EXPECT_EQ(value, top::kModulate);
    EXPECT_EQ(device_->GetTextureStageState(1, tss::kColorOp, &value), result::kOk);
    EXPECT_EQ(value, top::kDisable);
    EXPECT_EQ(device_->GetTextureStageState(0, 12, &value), result::kInvalidCall);
    EXPECT_EQ(device_->GetSamplerState(3, samp::kAddressU, &value), result::kOk);
    EXPECT_EQ(value, address::kWrap);
    EXPECT_EQ(device_->SetSamplerState(4, samp::kAddressU, 1), result::kInvalidCall);
    EXPECT_EQ(device_->SetSamplerState(0, samp::kMagFilter, filter::kLinear), result::kOk);
    EXPECT_EQ(device_->GetSamplerState(0, samp::kMagFilter, &value), result::kOk);
    EXPECT_EQ(value, filter::kLinear);
}

TEST_F(DeviceTest, RenderTargetPicturesCopyToSystemMemoryAndBack) {
    Texture* target = MakeTarget(8, 8);
    BindTarget(target);
    Viewport view;
    device_->GetViewport(&view);
    EXPECT_EQ(view.width, 8u);
    device_->Clear(0, nullptr, clear::kTarget, 0xFF123456, 1.0f, 0);
    Texture* copy = nullptr;
    ASSERT_EQ(device_->CreateTexture(8, 8, 1, 0, fmt::kA8R8G8B8, pool::kSystemMem, &copy),
              result::kOk);
    Keep(copy);
    Surface *from = nullptr, *to = nullptr;
    target->GetSurfaceLevel(0, &from);
    copy->GetSurfaceLevel(0, &to);
    ASSERT_EQ(device_->GetRenderTargetData(from, to), result::kOk);
    EXPECT_EQ(to->ArgbPixels()[63], 0xFF123456u);
    // Wrong direction or sizes fail.
    EXPECT_EQ(device_->GetRenderTargetData(to, from), result::kInvalidCall);
    LockedRect locked;
    ASSERT_EQ(copy->LockRect(0, &locked, nullptr, 0), result::kOk);
    static_cast<uint32_t*>(locked.bits)[0] = 0xFF00FF00;
    copy->UnlockRect(0);
    ASSERT_EQ(device_->UpdateTexture(copy, target), result::kOk);
    EXPECT_EQ(TargetPixel(target, 0, 0), 0xFF00FF00u);
    EXPECT_EQ(device_->UpdateTexture(target, copy), result::kInvalidCall);
    // StretchRect doubles the top-left quarter into another target.
    Texture* big = MakeTarget(8, 8);
    Surface* bigLevel = nullptr;
    big->GetSurfaceLevel(0, &bigLevel);
    const Rect quarter{0, 0, 4, 4};
    ASSERT_EQ(device_->StretchRect(from, &quarter, bigLevel, nullptr, filter::kPoint), result::kOk);
    EXPECT_EQ(bigLevel->ArgbPixels()[0], 0xFF00FF00u);
    EXPECT_EQ(bigLevel->ArgbPixels()[1], 0xFF00FF00u);
    EXPECT_EQ(bigLevel->ArgbPixels()[2], 0xFF123456u);
    EXPECT_EQ(device_->StretchRect(from, &quarter, to, nullptr, filter::kPoint),
              result::kInvalidCall);  // system memory
    bigLevel->Release();
    from->Release();
    to->Release();
}

TEST_F(DeviceTest, IndexedDrawingFromBuffers) {
    Texture* target = MakeTarget(8, 8);
    BindTarget(target);
    device_->SetRenderState(rs::kLighting, 0);
    device_->SetRenderState(rs::kCullMode, cull::kNone);
    VertexBuffer* vb = nullptr;
    IndexBuffer* ib = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(5 * sizeof(Vertex), 0, kVertexFvf, pool::kManaged, &vb),
              result::kOk);
    ASSERT_EQ(device_->CreateIndexBuffer(6 * 2, 0, fmt::kIndex16, pool::kManaged, &ib),
              result::kOk);
    Keep(vb);
    Keep(ib);
    void* data;
    vb->Lock(0, 0, &data, 0);
    const Vertex corners[5] = {{-9, -9, 0, 1, 0, 0, 0},  // unused
                               {-0.5f, -0.5f, 0, 1, 0xFF0000FF, 0, 0}, {3.5f, -0.5f, 0, 1, 0xFF0000FF, 0, 0},
                               {3.5f, 1.5f, 0, 1, 0xFF0000FF, 0, 0}, {-0.5f, 1.5f, 0, 1, 0xFF0000FF, 0, 0}};
    std::memcpy(data, corners, sizeof corners);
    vb->Unlock();
    ib->Lock(0, 0, &data, 0);
    const uint16_t indices[6] = {0, 1, 2, 2, 3, 0};
    std::memcpy(data, indices, sizeof indices);
    ib->Unlock();
    device_->SetFVF(kVertexFvf);
    device_->SetStreamSource(0, vb, 0, sizeof(Vertex));
    device_->SetIndices(ib);
    ASSERT_EQ(device_->DrawIndexedPrimitive(prim::kTriangleList, 1, 0, 4, 0, 2), result::kOk);
    EXPECT_EQ(TargetPixel(target, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(TargetPixel(target, 3, 1), 0xFF0000FFu);
    EXPECT_EQ(TargetPixel(target, 4, 1), 0u);
    EXPECT_EQ(TargetPixel(target, 0, 2), 0u);
    // Indices past the buffer fail.
    EXPECT_EQ(device_->DrawIndexedPrimitive(prim::kTriangleList, 0, 0, 4, 4, 2),
              result::kInvalidCall);
    // The same vertices described by a declaration, the colour read from its element.
    device_->Clear(0, nullptr, clear::kTarget, 0, 1.0f, 0);
    const VertexElement elements[] = {{0, 0, decltype_::kFloat4, 0, declusage::kPositionT, 0},
                                      {0, 16, decltype_::kColor, 0, declusage::kColor, 0},
                                      {0xFF, 0, decltype_::kUnused, 0, 0, 0}};
    VertexDeclaration* declaration = nullptr;
    ASSERT_EQ(device_->CreateVertexDeclaration(elements, &declaration), result::kOk);
    Keep(declaration);
    device_->SetVertexDeclaration(declaration);
    EXPECT_EQ(device_->SetVertexShader(nullptr), result::kOk);
    EXPECT_EQ(device_->SetPixelShader(&elements), result::kInvalidCall);
    ASSERT_EQ(device_->DrawIndexedPrimitive(prim::kTriangleList, 1, 0, 4, 0, 2), result::kOk);
    EXPECT_EQ(TargetPixel(target, 3, 1), 0xFF0000FFu);
    device_->SetVertexDeclaration(nullptr);
    device_->SetStreamSource(0, nullptr, 0, 0);
    device_->SetIndices(nullptr);
}

// Long triangle lists are fetched as they are drawn: every triangle of a list is drawn, from any
// start vertex, and a list running past the buffer by one triangle draws nothing at all.
TEST_F(DeviceTest, LongListsDrawEveryTriangleOrNone) {
    Texture* target = MakeTarget(64, 64);
    BindTarget(target);
    device_->SetRenderState(rs::kLighting, 0);
    device_->SetRenderState(rs::kCullMode, cull::kNone);
    // One 1 x 1 rectangle a pixel (64 x 8 pixels, 1,024 triangles), colour telling the pixel.
    std::vector<Vertex> v;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint32_t c = 0xFF000000u | uint32_t(x) << 8 | uint32_t(y);
            const float l = float(x) - 0.5f, t = float(y) - 0.5f;
            const Vertex a{l, t, 0, 1, c, 0, 0}, b{l + 1, t, 0, 1, c, 0, 0};
            const Vertex d{l + 1, t + 1, 0, 1, c, 0, 0}, e{l, t + 1, 0, 1, c, 0, 0};
            v.insert(v.end(), {a, b, d, d, e, a});
        }
    }
    VertexBuffer* vb = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(uint32_t(v.size() * sizeof(Vertex)), 0, kVertexFvf,
                                          pool::kManaged, &vb),
              result::kOk);
    Keep(vb);
    void* data;
    vb->Lock(0, 0, &data, 0);
    std::memcpy(data, v.data(), v.size() * sizeof(Vertex));
    vb->Unlock();
    device_->SetFVF(kVertexFvf);
    device_->SetStreamSource(0, vb, 0, sizeof(Vertex));
    struct Case {
        uint32_t startVertex, triangles;
        Result result;
    };
    const uint32_t all = uint32_t(v.size() / 3);
    // Whole pixels only: a start and a count of whole pairs of triangles.
    for (const Case& c : {Case{0, all, result::kOk}, Case{6, all - 2, result::kOk},
                          Case{6 * 64, all - 2 * 64, result::kOk},
                          Case{0, all + 2, result::kInvalidCall},
                          Case{6, all, result::kInvalidCall}}) {
        device_->Clear(0, nullptr, clear::kTarget, 0, 1.0f, 0);
        EXPECT_EQ(device_->DrawPrimitive(prim::kTriangleList, c.startVertex, c.triangles), c.result);
        const uint32_t firstPixel = c.startVertex / 6, pixels = c.triangles / 2;
        for (uint32_t i = 0; i < all / 2; ++i) {
            const int x = int(i % 64), y = int(i / 64);
            const bool drawn = c.result == result::kOk && i >= firstPixel && i < firstPixel + pixels;
            ASSERT_EQ(TargetPixel(target, x, y),
                      drawn ? (0xFF000000u | uint32_t(x) << 8 | uint32_t(y)) : 0u)
                << c.startVertex << " " << c.triangles << " at " << x << "," << y;
        }
    }
    device_->SetStreamSource(0, nullptr, 0, 0);
}

TEST_F(DeviceTest, AdapterFormatsAndCapabilities) {
    EXPECT_EQ(d3d_->CheckDeviceFormat(0, devtype::kHal, fmt::kX8R8G8B8, 0, rtype::kTexture,
                                      fmt::kA4R4G4B4),
              result::kOk);
    EXPECT_EQ(d3d_->CheckDeviceFormat(0, devtype::kHal, fmt::kX8R8G8B8, 0, rtype::kTexture,
                                      fmt::kDxt5),
              result::kNotAvailable);
    EXPECT_EQ(d3d_->CheckDeviceFormat(0, devtype::kHal, fmt::kX8R8G8B8, usage::kRenderTarget,
                                      rtype::kTexture, fmt::kA8),
              result::kNotAvailable);
    EXPECT_EQ(d3d_->CheckDeviceFormat(0, devtype::kHal, fmt::kX8R8G8B8, usage::kDepthStencil,
                                      rtype::kSurface, fmt::kD24S8),
              result::kOk);
    EXPECT_EQ(d3d_->GetAdapterModeCount(0, fmt::kX1R5G5B5), 0u);
    DisplayMode mode;
    ASSERT_EQ(d3d_->EnumAdapterModes(0, fmt::kX8R8G8B8, 0, &mode), result::kOk);
    EXPECT_EQ(mode.width, 640u);
    EXPECT_EQ(mode.format, fmt::kX8R8G8B8);
    Caps caps;
    ASSERT_EQ(device_->GetDeviceCaps(&caps), result::kOk);
    EXPECT_TRUE(caps.devCaps & caps::kHwRasterization);
    EXPECT_EQ(caps.maxTextureWidth, 4096u);
    EXPECT_EQ(CreateDirect3D(31), nullptr);
    // The framework's 2D vertex with 0, 1 and 4 coordinate sets; no position, no vertex.
    EXPECT_EQ(VertexSizeOfFvf(0x044), 20u);
    EXPECT_EQ(VertexSizeOfFvf(0x144), 28u);
    EXPECT_EQ(VertexSizeOfFvf(0x444), 52u);
    EXPECT_EQ(VertexSizeOfFvf(fvf::kDiffuse), 0u);
}

}  // namespace
}  // namespace platform::gfx::testing
