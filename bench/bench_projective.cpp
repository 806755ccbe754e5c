// A 3D kind of load on the software device: triangles in perspective, as the framework's models
// send them after their vertex program.
//
//   BM_PerspectiveTriangles/<n>/<linear>  n textured, lit triangles scattered through a view
//       from 2 to 10 units deep (each corner at its own depth, so its own rhw), drawn into the
//       640 x 480 back buffer with depth test and write, source-alpha blending, alpha test above 0,
//       texture times colour, filtered linearly (1) or by point (0)
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/bench_device.h"

using namespace platform::gfx;
using bench::kFvf;
using bench::Vertex;

namespace {

constexpr int kTextureSize = 64;

uint32_t g_seed = 777;
float NextUnit() {  // 0 to 1
    g_seed = g_seed * 1103515245u + 12345u;
    return float((g_seed >> 8) % 100001) / 100000.0f;
}

// Triangles of about 0.25 to 0.75 units a side at random places and depths, projected with a
// 90-degree view onto 640 x 480; texture coordinates span one to two repeats of the texture.
std::vector<Vertex> MakeTriangles(int count) {
    g_seed = 777;
    std::vector<Vertex> v;
    constexpr float kNear = 1.0f, kFar = 11.0f;
    for (int i = 0; i < count; ++i) {
        const float depth = 2.0f + 8.0f * NextUnit();
        const float cx = (NextUnit() * 2 - 1) * depth, cy = (NextUnit() * 2 - 1) * depth * 0.75f;
        const float side = 0.25f + 0.5f * NextUnit(), repeat = 1.0f + NextUnit();
        static constexpr float kCorners[3][2] = {{0, 0}, {1, 0}, {0, 1}};
        for (const auto& corner : kCorners) {
            const float x = cx + (NextUnit() - 0.5f) * side + corner[0] * side;
            const float y = cy + (NextUnit() - 0.5f) * side + corner[1] * side;
            const float z = depth + (NextUnit() - 0.5f) * side * 2;
            const uint32_t light = 96 + uint32_t(NextUnit() * 159);
            v.push_back({320 + 320 * x / z, 240 - 320 * y / z, (z - kNear) / (kFar - kNear), 1 / z,
                         0xFF000000u | light << 16 | light << 8 | light, corner[0] * repeat, corner[1] * repeat});
        }
    }
    return v;
}

struct Scene {
    MemorySink sink;
    Device* device = nullptr;
    Texture* texture = nullptr;

    Scene() {
        device = bench::CreateDevice(&sink, true);
        device->CreateTexture(kTextureSize, kTextureSize, 1, 0, fmt::kA8R8G8B8, pool::kManaged, &texture);
        LockedRect locked;
        texture->LockRect(0, &locked, nullptr, 0);
        // Checks of two colours with a few transparent holes.
        for (int y = 0; y < kTextureSize; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.bits) + size_t(y) * size_t(locked.pitch));
            for (int x = 0; x < kTextureSize; ++x) {
                const bool hole = (x / 4 + y / 4) % 7 == 0;
                row[x] = hole ? 0u : ((x / 8 + y / 8) % 2 ? 0xFFC08040u : 0xFF4080C0u) + uint32_t(x + y);
            }
        }
        texture->UnlockRect(0);
        bench::UseSpriteStates(device);
        device->SetRenderState(rs::kZEnable, 1);
        device->SetRenderState(rs::kZWriteEnable, 1);
        device->SetTexture(0, texture);
        device->SetFVF(kFvf);
    }
};

void BM_PerspectiveTriangles(benchmark::State& state) {
    static Scene scene;
    Device* device = scene.device;
    const std::vector<Vertex> vertices = MakeTriangles(int(state.range(0)));
    const uint32_t filter = state.range(1) ? filter::kLinear : filter::kPoint;
    device->SetSamplerState(0, samp::kMagFilter, filter);
    device->SetSamplerState(0, samp::kMinFilter, filter);
    for (auto _ : state) {
        device->Clear(0, nullptr, clear::kTarget | clear::kZBuffer, 0xFF203040, 1.0f, 0);
        device->DrawPrimitiveUP(prim::kTriangleList, uint32_t(vertices.size() / 3), vertices.data(), sizeof(Vertex));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}

}  // namespace

BENCHMARK(BM_PerspectiveTriangles)
    ->Args({1000, 1})
    ->Args({4000, 1})
    ->Args({4000, 0})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
