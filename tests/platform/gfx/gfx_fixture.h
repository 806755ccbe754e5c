// A headless device drawing into a memory sink, and helpers for building small scenes.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gfx/device.h"

namespace platform::gfx::testing {

// The framework's one-texture 2D vertex: position, rhw, colour, one coordinate pair.
struct Vertex {
    float x, y, z, rhw;
    uint32_t color;
    float u, v;
};
constexpr uint32_t kVertexFvf = fvf::kXyzRhw | fvf::kDiffuse | fvf::kTex1;

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPresentSink(&sink_);
        d3d_ = CreateDirect3D(kSdkVersion);
        ASSERT_NE(d3d_, nullptr);
        PresentParameters pp{};
        pp.backBufferWidth = 640;
        pp.backBufferHeight = 480;
        pp.backBufferFormat = fmt::kX8R8G8B8;
        pp.backBufferCount = 1;
        pp.swapEffect = swapeffect::kDiscard;
        pp.windowed = true;
        pp.flags = kPresentFlagLockableBackBuffer;
        parameters_ = pp;
        ASSERT_EQ(d3d_->CreateDevice(0, devtype::kHal, nullptr, create::kMixedVertexProcessing,
                                     &pp, &device_),
                  result::kOk);
    }

    void TearDown() override {
        for (RefCounted* object : owned_) object->Release();
        if (device_) {
            EXPECT_EQ(device_->Release(), 0u);
        }
        if (d3d_) d3d_->Release();
        SetPresentSink(nullptr);
        SetForceGeneralPath(false);
    }

    template <class T>
    T* Keep(T* object) {
        owned_.push_back(object);
        return object;
    }

    // A managed texture whose texel (x, y) is pixel(x, y).
    template <class F>
    Texture* MakeTexture(uint32_t width, uint32_t height, F pixel,
                         Format format = fmt::kA8R8G8B8) {
        Texture* texture = nullptr;
        EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, format, pool::kManaged, &texture),
                  result::kOk);
        LockedRect locked;
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), result::kOk);
        for (uint32_t y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.bits) +
                                                    size_t(y) * size_t(locked.pitch));
            for (uint32_t x = 0; x < width; ++x) row[x] = pixel(x, y);
        }
        texture->UnlockRect(0);
        return Keep(texture);
    }

    // A render-target texture.
    Texture* MakeTarget(uint32_t width, uint32_t height) {
        Texture* texture = nullptr;
        EXPECT_EQ(device_->CreateTexture(width, height, 1, usage::kRenderTarget, fmt::kA8R8G8B8,
                                         pool::kDefault, &texture),
                  result::kOk);
        return Keep(texture);
    }

    void BindTarget(Texture* texture) {
        Surface* level = nullptr;
        ASSERT_EQ(texture->GetSurfaceLevel(0, &level), result::kOk);
        ASSERT_EQ(device_->SetRenderTarget(0, level), result::kOk);
        level->Release();
    }

    void BindBackBuffer() {
        Surface* back = nullptr;
        ASSERT_EQ(device_->GetBackBuffer(0, 0, 0, &back), result::kOk);
        ASSERT_EQ(device_->SetRenderTarget(0, back), result::kOk);
        back->Release();
    }

    // The two triangles the sprite batch makes of a rectangle, with the half-pixel shift:
    // destination (x, y, w, h) in pixels, source (sx, sy, sw, sh) in texels of a texture of
    // the given size.
    static void PushRect(std::vector<Vertex>& out, float x, float y, float w, float h, float sx,
                         float sy, float sw, float sh, float texW, float texH,
                         uint32_t color = 0xFFFFFFFF) {
        const float x0 = x - 0.5f, y0 = y - 0.5f, x1 = x + w - 0.5f, y1 = y + h - 0.5f;
        const float u0 = sx / texW, v0 = sy / texH, u1 = (sx + sw) / texW, v1 = (sy + sh) / texH;
        const Vertex a{x0, y0, 0.5f, 1.0f, color, u0, v0}, b{x1, y0, 0.5f, 1.0f, color, u1, v0};
        const Vertex c{x1, y1, 0.5f, 1.0f, color, u1, v1}, d{x0, y1, 0.5f, 1.0f, color, u0, v1};
        out.insert(out.end(), {a, b, c, c, d, a});
    }

    // The game's composite: the 256 x 240 playfield of the bound texture doubled onto the back
    // buffer at x 64, through a fan with four texture coordinate sets as the framework sends it.
    Result DrawDoubledPlayfield() {
    struct Vertex4 {
        float x, y, z, rhw;
        uint32_t color;
        float uv[4][2];
    };
    const float l = 63.5f, t = -0.5f, r = 575.5f, b = 479.5f, vb = 240.0f / 256.0f;
    const Vertex4 fan[4] = {{l, t, 0, 1, 0xFFFFFFFF, {{0, 0}}},
                            {r, t, 0, 1, 0xFFFFFFFF, {{1, 0}}},
                            {r, b, 0, 1, 0xFFFFFFFF, {{1, vb}}},
                            {l, b, 0, 1, 0xFFFFFFFF, {{0, vb}}}};
    device_->SetFVF(fvf::kXyzRhw | fvf::kDiffuse | fvf::kTex4);
        return device_->DrawPrimitiveUP(prim::kTriangleFan, 2, fan, sizeof(Vertex4));
    }

    void Draw(const std::vector<Vertex>& vertices) {
        ASSERT_EQ(device_->SetFVF(kVertexFvf), result::kOk);
        ASSERT_EQ(device_->DrawPrimitiveUP(prim::kTriangleList, uint32_t(vertices.size() / 3),
                                           vertices.data(), sizeof(Vertex)),
                  result::kOk);
    }

    // The states the framework draws its sprites with.
    void UseSpriteStates(bool alphaTest = true) {
        device_->SetRenderState(rs::kLighting, 0);
        device_->SetRenderState(rs::kZEnable, 0);
        device_->SetRenderState(rs::kCullMode, cull::kNone);
        device_->SetRenderState(rs::kAlphaBlendEnable, 1);
        device_->SetRenderState(rs::kSrcBlend, blend::kSrcAlpha);
        device_->SetRenderState(rs::kDestBlend, blend::kInvSrcAlpha);
        device_->SetRenderState(rs::kBlendOp, blendop::kAdd);
        device_->SetRenderState(rs::kAlphaTestEnable, alphaTest ? 1 : 0);
        device_->SetRenderState(rs::kAlphaFunc, cmp::kGreater);
        device_->SetRenderState(rs::kAlphaRef, 0);
        device_->SetTextureStageState(0, tss::kColorOp, top::kModulate);
        device_->SetTextureStageState(0, tss::kAlphaOp, top::kModulate);
        device_->SetTextureStageState(0, tss::kColorArg2, ta::kDiffuse);
        device_->SetTextureStageState(0, tss::kAlphaArg2, ta::kDiffuse);
        device_->SetSamplerState(0, samp::kMagFilter, filter::kPoint);
        device_->SetSamplerState(0, samp::kMinFilter, filter::kPoint);
    }

    // Pixel of the current render target (which must be lockable or a texture level).
    uint32_t TargetPixel(Texture* target, int x, int y) {
        Surface* level = nullptr;
        target->GetSurfaceLevel(0, &level);
        const uint32_t value = level->ArgbPixels()[size_t(y) * level->Width() + size_t(x)];
        level->Release();
        return value;
    }

    MemorySink sink_;
    Direct3D* d3d_ = nullptr;
    Device* device_ = nullptr;
    PresentParameters parameters_{};
    std::vector<RefCounted*> owned_;
};

// Runs a test body once through the rectangle path and once forced through the triangle path.
class BothPathsTest : public DeviceTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        SetForceGeneralPath(GetParam());
    }
};

}  // namespace platform::gfx::testing
