// The vector spans and the shortcuts of the rectangle path against the triangle path: one busy
// scene drawn with the widest vectors the processor has, with SSE2 alone and through triangles
// gives the same bytes.
#include <algorithm>

#include "gfx_fixture.h"

namespace platform::gfx::testing {
namespace {

enum class Path { kWidest, kSse2, kTriangles };

class SpanTest : public DeviceTest {
protected:
    void TearDown() override {
        SetForceSse2(false);
        DeviceTest::TearDown();
    }

    uint32_t Next() {
        seed_ = seed_ * 1103515245u + 12345u;
        return seed_ >> 8;
    }

    // Sprites of every width from 1 to 40 (straight, doubled, mirrored, tinted, wrapping past the
    // sheet) blended into a 256 x 256 target, then its 256 x 240 region composited doubled onto a
    // back buffer whose rows and columns are not all alike; returns the presented frame.
    std::vector<uint32_t> DrawScene(Path path) {
        SetForceSse2(path == Path::kSse2);
        SetForceGeneralPath(path == Path::kTriangles);
        seed_ = 7;
        UseSpriteStates();
        // Alpha 0, 255 and values between, mixed within every group of pixels.
        Texture* sheet = MakeTexture(64, 64, [](uint32_t x, uint32_t y) {
            const uint32_t alpha = (x * 7 + y * 13) % 5 == 0 ? 0u
                                   : (x + y) % 3 == 0        ? 255u
                                                             : (x * 37 + y * 11) & 0xFFu;
            return alpha << 24 | (x * 4) << 16 | (y * 4) << 8 | (((x ^ y) * 3) & 0xFFu);
        });
        Texture* screen = MakeTarget(256, 256);
        BindTarget(screen);
        // Translucent, so that the composite depends on the back buffer everywhere.
        device_->Clear(0, nullptr, clear::kTarget, 0x80000000, 1.0f, 0);
        device_->SetTexture(0, sheet);
        static constexpr uint32_t kTints[] = {0xFFFFFFFF, 0x80FFFFFF, 0xFF80C0FF, 0x40FF2010};
        std::vector<Vertex> v;
        for (int i = 0; i < 160; ++i) {
            const float w = float(1 + i % 40), h = float(1 + Next() % 24);
            const float x = float(Next() % 230), y = float(Next() % 230);
            const float sx = float(Next() % 64), sy = float(Next() % 64);
            const uint32_t tint = kTints[Next() % 4];
            switch (i % 4) {
                case 0: PushRect(v, x, y, w, h, sx, sy, w, h, 64, 64, tint); break;
                case 1: PushRect(v, x, y, w * 2, h * 2, sx, sy, w, h, 64, 64, tint); break;
                case 2: PushRect(v, x, y, w, h, sx + w, sy, -w, h, 64, 64, tint); break;
                default: PushRect(v, x, y, w, h, 60, 60, w, h, 64, 64, tint); break;
            }
        }
        Draw(v);

        BindBackBuffer();
        device_->Clear(0, nullptr, clear::kTarget, 0xFF202020, 1.0f, 0);
        const Rect marks[2] = {{0, 101, 640, 102}, {300, 0, 303, 480}};
        device_->Clear(2, marks, clear::kTarget, 0xFF405060, 1.0f, 0);
        device_->SetTexture(0, screen);
        EXPECT_EQ(DrawDoubledPlayfield(), result::kOk);
        EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), result::kOk);
        return sink_.Frame();
    }

    uint32_t seed_ = 7;
};

// Index of the first pixel where two frames differ, or -1.
long FirstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.size() != b.size()) return 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return long(i);
    }
    return -1;
}

TEST_F(SpanTest, VectorWidthsAndPathsGiveTheSameBytes) {
    const std::vector<uint32_t> widest = DrawScene(Path::kWidest);
    EXPECT_EQ(device_->Statistics().triangles, 0u);  // every sprite and the composite as rectangles
    EXPECT_EQ(FirstDifference(widest, DrawScene(Path::kSse2)), -1);
    EXPECT_EQ(FirstDifference(widest, DrawScene(Path::kTriangles)), -1);
    // The composite blended the marked row rather than copying the row above.
    EXPECT_FALSE(std::equal(widest.begin() + 100 * 640, widest.begin() + 101 * 640,
                            widest.begin() + 101 * 640));
}

// A clear of the whole target is written by the first pair of triangles of the next draw,
// which writes every pixel itself: each case clears a 64 x 48 target to a translucent colour,
// draws one pair (and a second over it) and must give the bytes of the triangle path, which
// writes the clear first.
TEST_F(SpanTest, PairsOverAPendingClearGiveTheBytesOfAWrittenOne) {
    struct Case {
        const char* name;
        float x, y, w, h;      // destination in pixels
        float sw, sh;          // source size in texels of the 16 x 16 texture
        uint32_t tint;
        bool textured, blend, alphaTest, turned, smallViewport;
        bool second = false;  // a second pair over the first, in the same draw
    };
    static constexpr Case kCases[] = {
        {"doubled", 5, 7, 32, 32, 16, 16, 0xFFFFFFFF, true, true, false, false, false},
        {"over the top left edge", -6, -3, 16, 16, 16, 16, 0xFFFFFFFF, true, true, false, false, false},
        {"over the bottom right edge", 58, 40, 16, 16, 16, 16, 0x80FF8040, true, true, false, false, false},
        {"wholly outside", 70, 60, 16, 16, 16, 16, 0xFFFFFFFF, true, true, false, false, false},
        {"untextured", 3, 4, 20, 10, 16, 16, 0x80FF2010, false, true, false, false, false},
        {"opaque with alpha test", 9, 9, 30, 21, 10, 7, 0xFFFFFFFF, true, false, true, false, false},
        {"turned", 20, 10, 16, 16, 16, 16, 0xFFFFFFFF, true, true, false, true, false},
        {"turned over the bottom right edge", 45, 37, 16, 16, 16, 16, 0xFFFFFFFF, true, true, false, true, false},
        {"viewport smaller than the target", 5, 7, 32, 32, 16, 16, 0xFFFFFFFF, true, true, false, false, true},
        {"a second pair over the first", 5, 7, 32, 32, 16, 16, 0xFFFFFFFF, true, true, false, false, false, true},
        {"turned, then a second pair", 20, 10, 16, 16, 16, 16, 0xFFFFFFFF, true, true, false, true, false, true},
    };
    Texture* sheet = MakeTexture(16, 16, [](uint32_t x, uint32_t y) {
        return ((x * 53 + y * 29) & 0xFFu) << 24 | (x * 16) << 16 | (y * 16) << 8 | 0x33u;
    });
    Texture* target = MakeTarget(64, 48);
    auto drawCase = [&](const Case& c, bool triangles) {
        SetForceGeneralPath(triangles);
        UseSpriteStates(c.alphaTest);
        device_->SetRenderState(rs::kAlphaBlendEnable, c.blend ? 1 : 0);
        device_->SetRenderState(rs::kAlphaRef, 128);
        BindTarget(target);
        if (c.smallViewport) {
            const Viewport view{2, 3, 50, 40, 0.0f, 1.0f};
            device_->SetViewport(&view);
        }
        device_->Clear(0, nullptr, clear::kTarget, 0x80405060, 1.0f, 0);
        device_->SetTexture(0, c.textured ? sheet : nullptr);
        std::vector<Vertex> v;
        PushRect(v, c.x, c.y, c.w, c.h, 0, 0, c.sw, c.sh, 16, 16, c.tint);
        if (c.turned) {
            for (Vertex& corner : v) corner.x += 0.25f * corner.y;
        }
        if (c.second) PushRect(v, c.x + 9, c.y + 5, 16, 16, 0, 0, 16, 16, 16, 16, 0xC0FFFFFF);
        Draw(v);
        std::vector<uint32_t> pixels(64 * 48);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) pixels[size_t(y * 64 + x)] = TargetPixel(target, x, y);
        }
        return pixels;
    };
    for (const Case& c : kCases) {
        const std::vector<uint32_t> rectangles = drawCase(c, false);
        EXPECT_EQ(FirstDifference(rectangles, drawCase(c, true)), -1) << c.name;
        EXPECT_NE(std::count(rectangles.begin(), rectangles.end(), 0x80405060u), 0) << c.name;
    }
    // A clear of a locked surface is written at once: what the program writes through the lock
    // afterwards stays.
    BindBackBuffer();
    Surface* back = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, 0, &back), result::kOk);
    LockedRect locked;
    ASSERT_EQ(back->LockRect(&locked, nullptr, 0), result::kOk);
    device_->Clear(0, nullptr, clear::kTarget, 0xFF405060, 1.0f, 0);
    static_cast<uint32_t*>(locked.bits)[0] = 0xFF345678u;
    ASSERT_EQ(back->UnlockRect(), result::kOk);
    EXPECT_EQ(back->ArgbPixels()[0], 0xFF345678u);
    EXPECT_EQ(back->ArgbPixels()[1], 0xFF405060u);
    back->Release();
}

// A pair drawn over a pending clear leaves the pixels around it known to hold the clear, and the
// same pair over the same clear next frame does not write them again: whatever writes the
// target in between must make that forgotten. Each case draws two such frames with something
// between them and must give the bytes of the triangle path.
TEST_F(SpanTest, WhatIsWrittenBetweenFramesAroundThePairStays) {
    enum Between { kNothing, kDraw, kLock, kPartClear, kOtherPair };
    struct Case {
        Between between;
        uint32_t clear;  // of the second frame
    };
    static constexpr Case kCases[] = {{kNothing, 0xFF405060}, {kDraw, 0xFF405060},     {kLock, 0xFF405060},
                                      {kPartClear, 0xFF405060}, {kOtherPair, 0xFF405060}, {kNothing, 0xFF102030}};
    Texture* sheet = MakeTexture(16, 16, [](uint32_t x, uint32_t y) {
        return ((x * 53 + y * 29) & 0xFFu) << 24 | (x * 16) << 16 | (y * 16) << 8 | 0x33u;
    });
    auto frame = [&](uint32_t clear, float x) {
        device_->Clear(0, nullptr, clear::kTarget, clear, 1.0f, 0);
        std::vector<Vertex> v;
        PushRect(v, x, 20, 32, 32, 0, 0, 16, 16, 16, 16);
        Draw(v);
    };
    auto drawCase = [&](const Case& c, bool triangles) {
        SetForceGeneralPath(triangles);
        UseSpriteStates();
        BindBackBuffer();
        device_->SetTexture(0, sheet);
        frame(0xFF405060, 100);
        std::vector<Vertex> v;
        Surface* back = nullptr;
        LockedRect locked;
        const Rect part{0, 0, 40, 40};
        switch (c.between) {
            case kNothing: break;
            case kDraw:
                PushRect(v, 3, 5, 16, 16, 0, 0, 16, 16, 16, 16);
                PushRect(v, 30, 6, 16, 16, 0, 0, 16, 16, 16, 16);
                Draw(v);
                break;
            case kLock:
                device_->GetBackBuffer(0, 0, 0, &back);
                back->LockRect(&locked, nullptr, 0);
                static_cast<uint32_t*>(locked.bits)[7] = 0xFF123456u;
                back->UnlockRect();
                back->Release();
                break;
            case kPartClear: device_->Clear(1, &part, clear::kTarget, 0xFF998877, 1.0f, 0); break;
            case kOtherPair: frame(0xFF405060, 300); break;
        }
        frame(c.clear, 100);
        EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), result::kOk);
        return sink_.Frame();
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(FirstDifference(drawCase(c, false), drawCase(c, true)), -1) << int(c.between) << " " << c.clear;
    }
}

}  // namespace
}  // namespace platform::gfx::testing
