#include "framework/graphics/simple.h"

#include <cstring>

#include "framework/core/angle.h"
#include "framework/graphics/device.h"
#include "framework/app/log.h"
#include "framework/graphics/texture.h"
#include "framework/app/zeth.h"

namespace ZethSimple {

namespace {

constexpr uint32_t kFvf = 0x444;
constexpr uint32_t kStride = sizeof(Vertex2D);
gfx::VertexBuffer* g_buffer = nullptr;

gfx::Result CreateBuffer() {
    gfx::Device* device = Zeth3D::GetDevice();
    if (device == nullptr) return gfx::result::kInvalidCall;
    gfx::Result result = device->CreateVertexBuffer(kCapacity * kStride, gfx::usage::kDynamic | gfx::usage::kWriteOnly,
                                                    kFvf, gfx::pool::kDefault, &g_buffer);
    if (gfx::Failed(result)) g_buffer = nullptr;
    return result;
}

void ReleaseBuffer() {
    if (g_buffer != nullptr) g_buffer->Release();
    g_buffer = nullptr;
}

}  // namespace

bool Initialize() {
    gfx::Result result = CreateBuffer();
    if (gfx::Succeeded(result)) return true;
    ZethLog::PrintBanner("ZethSimpleクラスの初期化");
    ZethLog::PrintError("頂点バッファの生成に失敗 [ %s ]", Zeth3D::GetErrorString(result));
    ZethLog::PrintBreak();
    return false;
}

void Finalize() { ReleaseBuffer(); }
void OnLostDevice() { ReleaseBuffer(); }

void OnResetDevice() {
    if (g_buffer != nullptr) return;
    gfx::Result result = CreateBuffer();
    if (gfx::Failed(result)) {
        ZethLog::PrintError("頂点バッファの生成に失敗 [ %s ]", Zeth3D::GetErrorString(result));
        ZethLog::PrintBreak();
    }
}

void DrawQuad(const float destination[4], int32_t angle, const float sources[][4], uint32_t colour,
              CTexture* const textures[], int32_t textureCount, int32_t pivotX, int32_t pivotY) {
    float hw = destination[2] * 0.5f, hh = destination[3] * 0.5f;
    float px = static_cast<float>(pivotX), py = static_cast<float>(pivotY);
    const float corners[4][2] = {{-hw - px, -hh - py}, {hw - px, -hh - py}, {hw - px, hh - py}, {-hw - px, hh - py}};
    float inset = ZethTexture::GetTexelOffset();
    Vertex2D vertices[4] = {};
    for (int i = 0; i < 4; ++i) {
        float offset[2] = {corners[i][0], corners[i][1]};
        RotateByAngle(offset, angle);
        Vertex2D& v = vertices[i];
        v.x = offset[0] + (px + destination[0] + hw);
        v.y = offset[1] + (py + destination[1] + hh);
        v.rhw = 1.0f;
        v.diffuse = colour;
        for (int32_t s = 0; s < textureCount && s < 4; ++s) {
            float sx = sources[s][0], sy = sources[s][1], sw = sources[s][2], sh = sources[s][3];
            bool right = i == 1 || i == 2, bottom = i == 2 || i == 3;
            v.uv[s][0] = right ? sx + sw - inset : sx + inset;
            v.uv[s][1] = bottom ? sy + sh - inset : sy + inset;
        }
    }
    DrawVertices(vertices, 4, textures, textureCount);
}

void DrawVertices(const Vertex2D* vertices, int32_t vertexCount, CTexture* const textures[], int32_t textureCount) {
    if (g_buffer == nullptr || vertexCount < 3 || vertexCount > static_cast<int32_t>(kCapacity)) return;
    void* locked = nullptr;
    if (gfx::Failed(g_buffer->Lock(0, 0, &locked, gfx::lock::kDiscard))) return;
    auto* out = static_cast<Vertex2D*>(locked);
    for (int32_t i = 0; i < vertexCount; ++i) {
        Vertex2D v = vertices[i];
        for (int32_t s = 0; s < textureCount && s < 4; ++s) {
            v.uv[s][0] = ZethTexture::PixelToTexelU(textures[s], v.uv[s][0]);
            v.uv[s][1] = ZethTexture::PixelToTexelV(textures[s], v.uv[s][1]);
        }
        v.x = Zeth::ScaleX(v.x) - 0.5f;
        v.y = Zeth::ScaleY(v.y) - 0.5f;
        std::memcpy(&out[i], &v, sizeof(v));
    }
    g_buffer->Unlock();
    DrawFan(vertexCount, textures, textureCount);
}

void DrawFan(int32_t vertexCount, CTexture* const textures[], int32_t textureCount) {
    gfx::Device* device = Zeth3D::GetDevice();
    if (g_buffer == nullptr || device == nullptr || vertexCount < 3) return;
    for (int32_t stage = 0; stage < 4; ++stage) {
        Zeth3D::SetTexture(static_cast<uint32_t>(stage), stage < textureCount ? textures[stage] : nullptr);
    }
    Zeth3D::SetRenderState(gfx::rs::kZEnable, 0);
    Zeth3D::SetRenderState(gfx::rs::kCullMode, gfx::cull::kNone);
    Zeth3D::SelectVertexProcessing(0, 0);
    device->SetStreamSource(0, g_buffer, 0, kStride);
    device->SetFVF(kFvf);
    device->DrawPrimitive(gfx::prim::kTriangleFan, 0, static_cast<uint32_t>(vertexCount - 2));
    Zeth::AddPolygonCount(static_cast<uint32_t>(vertexCount - 2));
}

}  // namespace ZethSimple
