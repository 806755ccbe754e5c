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

}  // namespace
}  // namespace platform::gfx::testing
