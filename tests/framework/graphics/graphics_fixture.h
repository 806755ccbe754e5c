// The framework's device and managers on the software device, presenting into memory, for one
// test; and small image files made in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/graphics/device.h"
#include "framework/graphics/managers.h"
#include "framework/app/zeth.h"
#include "platform/gfx/device.h"

namespace gfx = platform::gfx;

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Zeth::SetScreenInfo(640, 480, true);
        gfx::SetPresentSink(&sink_);
        ASSERT_TRUE(Zeth3D::Initialize());
        ASSERT_TRUE(Zeth3D::Start(nullptr, true));
        ASSERT_TRUE(Zeth::CreateManagers());
        Zeth3D::SetScaling2D(false, 320.0f, 240.0f, 1.0f);
        Zeth3D::SetPerspective2D(false, 320.0f, 240.0f, 100.0f);
    }
    void TearDown() override {
        Zeth::ReleaseManagers();
        Zeth3D::Finalize();
        gfx::SetPresentSink(nullptr);
    }

    // Presents the back buffer and returns the picture.
    const std::vector<uint32_t>& Present() {
        Zeth3D::Refresh(nullptr);
        return sink_.Frame();
    }
    uint32_t Pixel(int x, int y) const { return sink_.Pixel(x, y) & 0xFFFFFF; }

    gfx::MemorySink sink_;
};

// A 24-bit BMP file of width x height pixels given as 0xRRGGBB, row by row from the top.
inline std::vector<uint8_t> MakeBmp(int width, int height, const std::vector<uint32_t>& pixels) {
    int rowBytes = (width * 3 + 3) & ~3;
    uint32_t dataSize = static_cast<uint32_t>(rowBytes * height);
    std::vector<uint8_t> out(54 + dataSize, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    out[26] = 1;
    out[28] = 24;
    put32(34, dataSize);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = out.data() + 54 + static_cast<size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            row[3 * x] = static_cast<uint8_t>(p);
            row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(p >> 16);
        }
    }
    return out;
}
