// The game's kind of frame on the software device, and the same sprites through SDL's own
// software renderer for reference.
//
//   BM_Sprites/<n>       n alpha-blended 16 x 16 and 32 x 32 sprites into a 256 x 256 target
//   BM_SdlSprites/<n>    the same sprites with SDL_RenderGeometry into an SDL target texture
//   BM_RotatedSprites/<n>    the same sprites each turned by a random angle and scaled 0.75-1.25
//                            about its centre: the triangle path
//   BM_SdlRotatedSprites/<n> those turned sprites with SDL_RenderCopyEx into an SDL target texture
//   BM_ComposedFrame/<n> a whole frame: two background batches into a 512 x 512 layer, the layer
//                        and n sprites into the 256 x 256 playfield, the playfield doubled onto
//                        the 640 x 480 back buffer, presented to memory
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "bench/bench_device.h"

using namespace platform::gfx;
using bench::kFvf;
using bench::Vertex;

namespace {

constexpr int kSheet = 256;

// One sprite: where it goes and which cell of the sheet it shows.
struct Sprite {
    float x, y, size, cellX, cellY;
};

uint32_t g_seed = 12345;
uint32_t NextRandom() {
    g_seed = g_seed * 1103515245u + 12345u;
    return g_seed >> 8;
}

// A sheet of round cells like the game's: opaque inside, a soft edge, transparent outside.
std::vector<uint32_t> MakeSheet() {
    std::vector<uint32_t> sheet(kSheet * kSheet);
    for (int y = 0; y < kSheet; ++y) {
        for (int x = 0; x < kSheet; ++x) {
            const int cell = y < 128 ? 16 : 32;
            const float cx = float(x % cell) + 0.5f - cell / 2.0f, cy = float(y % cell) + 0.5f - cell / 2.0f;
            const float r = std::sqrt(cx * cx + cy * cy) / (cell / 2.0f);
            const uint32_t alpha = r < 0.8f ? 255 : r < 1.0f ? 128 : 0;
            sheet[size_t(y) * kSheet + size_t(x)] =
                alpha << 24 | uint32_t(x) << 16 | uint32_t(y) << 8 | uint32_t((x * y) & 0xFF);
        }
    }
    return sheet;
}

std::vector<Sprite> MakeSprites(int count) {
    g_seed = 12345;
    std::vector<Sprite> sprites;
    for (int i = 0; i < count; ++i) {
        const bool big = i % 2;
        const float size = big ? 32.0f : 16.0f;
        sprites.push_back({float(NextRandom() % (256 - int(size))), float(NextRandom() % (240 - int(size))),
                           size, float((NextRandom() % 8) * size), big ? 128.0f : float((NextRandom() % 8) * 16)});
    }
    return sprites;
}

// How each sprite is turned: an angle in degrees and a scale, from a seed of their own.
struct Turn {
    float degrees, scale;
};

std::vector<Turn> MakeTurns(int count) {
    g_seed = 4242;
    std::vector<Turn> turns;
    for (int i = 0; i < count; ++i) {
        const float degrees = float(NextRandom() % 36000) / 100.0f;
        turns.push_back({degrees, 0.75f + float(NextRandom() % 1001) / 2000.0f});
    }
    return turns;
}

// The two triangles of the framework's sprite batch for each sprite.
std::vector<Vertex> SpriteVertices(const std::vector<Sprite>& sprites) {
    std::vector<Vertex> v;
    for (const Sprite& s : sprites) {
        const float x0 = s.x - 0.5f, y0 = s.y - 0.5f, x1 = x0 + s.size, y1 = y0 + s.size;
        const float u0 = s.cellX / kSheet, v0 = s.cellY / kSheet;
        const float u1 = (s.cellX + s.size) / kSheet, v1 = (s.cellY + s.size) / kSheet;
        const Vertex a{x0, y0, 0.5f, 1, 0xFFFFFFFF, u0, v0}, b{x1, y0, 0.5f, 1, 0xFFFFFFFF, u1, v0};
        const Vertex c{x1, y1, 0.5f, 1, 0xFFFFFFFF, u1, v1}, d{x0, y1, 0.5f, 1, 0xFFFFFFFF, u0, v1};
        v.insert(v.end(), {a, b, c, c, d, a});
    }
    return v;
}

// The same pairs of triangles turned and scaled about each sprite's centre.
std::vector<Vertex> TurnedVertices(const std::vector<Sprite>& sprites, const std::vector<Turn>& turns) {
    std::vector<Vertex> v = SpriteVertices(sprites);
    for (size_t i = 0; i < sprites.size(); ++i) {
        const Sprite& s = sprites[i];
        const float radians = turns[i].degrees * 3.14159265f / 180.0f;
        const float c = std::cos(radians) * turns[i].scale, sn = std::sin(radians) * turns[i].scale;
        const float cx = s.x + s.size / 2 - 0.5f, cy = s.y + s.size / 2 - 0.5f;
        for (size_t k = 6 * i; k < 6 * i + 6; ++k) {
            const float dx = v[k].x - cx, dy = v[k].y - cy;
            v[k].x = cx + dx * c - dy * sn;
            v[k].y = cy + dx * sn + dy * c;
        }
    }
    return v;
}

// A device with the framework's 2D states, the sheet, the targets and one batch buffer.
struct Scene {
    MemorySink sink;
    Device* device = nullptr;
    Texture* sheet = nullptr;
    Texture* screen = nullptr;
    Texture* layer = nullptr;
    VertexBuffer* batch = nullptr;
    static constexpr uint32_t kBatchVertices = 15000 * 2;

    Scene() {
        device = bench::CreateDevice(&sink, false);
        device->CreateTexture(kSheet, kSheet, 1, 0, fmt::kA8R8G8B8, pool::kManaged, &sheet);
        LockedRect locked;
        sheet->LockRect(0, &locked, nullptr, 0);
        const std::vector<uint32_t> pixels = MakeSheet();
        std::memcpy(locked.bits, pixels.data(), pixels.size() * 4);
        sheet->UnlockRect(0);
        device->CreateTexture(256, 256, 1, usage::kRenderTarget, fmt::kA8R8G8B8, pool::kDefault, &screen);
        device->CreateTexture(512, 512, 1, usage::kRenderTarget, fmt::kA8R8G8B8, pool::kDefault, &layer);
        device->CreateVertexBuffer(kBatchVertices * sizeof(Vertex), usage::kDynamic | usage::kWriteOnly,
                                   kFvf, pool::kDefault, &batch);
        bench::UseSpriteStates(device);
    }

    void Target(Texture* texture) {
        Surface* level;
        texture->GetSurfaceLevel(0, &level);
        device->SetRenderTarget(0, level);
        level->Release();
    }

    // What a batch's End and Rendering do: copy the queue into the buffer, one draw.
    void DrawBatch(const std::vector<Vertex>& vertices, Texture* texture) {
        void* data;
        batch->Lock(0, uint32_t(vertices.size() * sizeof(Vertex)), &data, lock::kDiscard);
        std::memcpy(data, vertices.data(), vertices.size() * sizeof(Vertex));
        batch->Unlock();
        device->SetTexture(0, texture);
        device->SetFVF(kFvf);
        device->SetStreamSource(0, batch, 0, sizeof(Vertex));
        device->DrawPrimitive(prim::kTriangleList, 0, uint32_t(vertices.size() / 3));
    }
};

Scene& GetScene() {
    static Scene scene;
    return scene;
}

void BM_Sprites(benchmark::State& state) {
    Scene& s = GetScene();
    const std::vector<Vertex> vertices = SpriteVertices(MakeSprites(int(state.range(0))));
    for (auto _ : state) {
        s.Target(s.screen);
        s.device->Clear(0, nullptr, clear::kTarget, 0xFF000000, 1.0f, 0);
        s.DrawBatch(vertices, s.sheet);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}

// SDL's software renderer drawing into a 256 x 256 target texture, with the sheet.
struct SdlScene {
    SDL_Surface* canvas = SDL_CreateRGBSurfaceWithFormat(0, 256, 256, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(canvas);
    std::vector<uint32_t> pixels = MakeSheet();
    SDL_Surface* sheetSurface = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), kSheet, kSheet, 32, kSheet * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Texture* sheet = SDL_CreateTextureFromSurface(renderer, sheetSurface);
    SDL_Texture* target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                            SDL_TEXTUREACCESS_TARGET, 256, 256);

    SdlScene() { SDL_SetTextureBlendMode(sheet, SDL_BLENDMODE_BLEND); }
    ~SdlScene() {
        SDL_DestroyTexture(target);
        SDL_DestroyTexture(sheet);
        SDL_FreeSurface(sheetSurface);
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(canvas);
    }
    void Clear() {
        SDL_SetRenderTarget(renderer, target);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
};

void BM_SdlSprites(benchmark::State& state) {
    const std::vector<Sprite> sprites = MakeSprites(int(state.range(0)));
    SdlScene sdl;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    for (const Sprite& sp : sprites) {
        const int base = int(vertices.size());
        const float u0 = sp.cellX / kSheet, v0 = sp.cellY / kSheet;
        const float u1 = (sp.cellX + sp.size) / kSheet, v1 = (sp.cellY + sp.size) / kSheet;
        const SDL_Color white{255, 255, 255, 255};
        vertices.push_back({{sp.x, sp.y}, white, {u0, v0}});
        vertices.push_back({{sp.x + sp.size, sp.y}, white, {u1, v0}});
        vertices.push_back({{sp.x + sp.size, sp.y + sp.size}, white, {u1, v1}});
        vertices.push_back({{sp.x, sp.y + sp.size}, white, {u0, v1}});
        indices.insert(indices.end(), {base, base + 1, base + 2, base + 2, base + 3, base});
    }
    for (auto _ : state) {
        sdl.Clear();
        SDL_RenderGeometry(sdl.renderer, sdl.sheet, vertices.data(), int(vertices.size()),
                           indices.data(), int(indices.size()));
        SDL_RenderFlush(sdl.renderer);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}

void BM_RotatedSprites(benchmark::State& state) {
    Scene& s = GetScene();
    const int count = int(state.range(0));
    const std::vector<Vertex> vertices = TurnedVertices(MakeSprites(count), MakeTurns(count));
    for (auto _ : state) {
        s.Target(s.screen);
        s.device->Clear(0, nullptr, clear::kTarget, 0xFF000000, 1.0f, 0);
        s.DrawBatch(vertices, s.sheet);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * count);
}

void BM_SdlRotatedSprites(benchmark::State& state) {
    const int count = int(state.range(0));
    const std::vector<Sprite> sprites = MakeSprites(count);
    const std::vector<Turn> turns = MakeTurns(count);
    SdlScene sdl;
    for (auto _ : state) {
        sdl.Clear();
        for (size_t i = 0; i < sprites.size(); ++i) {
            const Sprite& sp = sprites[i];
            const float side = sp.size * turns[i].scale;
            const SDL_Rect source{int(sp.cellX), int(sp.cellY), int(sp.size), int(sp.size)};
            const SDL_FRect place{sp.x + (sp.size - side) / 2, sp.y + (sp.size - side) / 2, side, side};
            SDL_RenderCopyExF(sdl.renderer, sdl.sheet, &source, &place, turns[i].degrees, nullptr,
                              SDL_FLIP_NONE);
        }
        SDL_RenderFlush(sdl.renderer);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * count);
}

void BM_ComposedFrame(benchmark::State& state) {
    Scene& s = GetScene();
    const std::vector<Vertex> sprites = SpriteVertices(MakeSprites(int(state.range(0))));
    // Two background batches of 32 x 32 tiles over the 256 x 256 corner of the layer.
    std::vector<Sprite> tiles;
    for (int y = 0; y < 256; y += 32) {
        for (int x = 0; x < 256; x += 32) tiles.push_back({float(x), float(y), 32, float(x % 256), 128});
    }
    const std::vector<Vertex> background = SpriteVertices(tiles);
    // The layer drawn onto the playfield through the sorted batch, and the composite quad.
    const std::vector<Vertex> layerQuad = {
        {-0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 0},        {255.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0.5f, 0},
        {255.5f, 239.5f, 0.5f, 1, 0xFFFFFFFF, 0.5f, 240.0f / 512}, {255.5f, 239.5f, 0.5f, 1, 0xFFFFFFFF, 0.5f, 240.0f / 512},
        {-0.5f, 239.5f, 0.5f, 1, 0xFFFFFFFF, 0, 240.0f / 512},   {-0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 0}};
    struct Vertex4 {
        float x, y, z, rhw;
        uint32_t color;
        float uv[4][2];
    };
    const float vb = 240.0f / 256;
    const Vertex4 composite[4] = {{63.5f, -0.5f, 0, 1, 0xFFFFFFFF, {{0, 0}}},
                                  {575.5f, -0.5f, 0, 1, 0xFFFFFFFF, {{1, 0}}},
                                  {575.5f, 479.5f, 0, 1, 0xFFFFFFFF, {{1, vb}}},
                                  {63.5f, 479.5f, 0, 1, 0xFFFFFFFF, {{0, vb}}}};
    Surface* back;
    s.device->GetBackBuffer(0, 0, 0, &back);
    for (auto _ : state) {
        s.device->BeginScene();
        s.device->SetRenderTarget(0, back);
        s.device->Clear(0, nullptr, clear::kTarget | clear::kZBuffer, 0xFF202020, 1.0f, 0);
        s.Target(s.layer);
        s.DrawBatch(background, s.sheet);
        s.DrawBatch(background, s.sheet);
        s.Target(s.screen);
        s.device->Clear(0, nullptr, clear::kTarget, 0xFF000000, 1.0f, 0);
        s.DrawBatch(layerQuad, s.layer);
        s.DrawBatch(sprites, s.sheet);
        s.device->SetRenderTarget(0, back);
        s.device->SetTexture(0, s.screen);
        s.device->SetFVF(fvf::kXyzRhw | fvf::kDiffuse | fvf::kTex4);
        s.device->DrawPrimitiveUP(prim::kTriangleFan, 2, composite, sizeof(Vertex4));
        s.device->EndScene();
        s.device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    back->Release();
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}

}  // namespace

BENCHMARK(BM_Sprites)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SdlSprites)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RotatedSprites)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SdlRotatedSprites)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposedFrame)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
