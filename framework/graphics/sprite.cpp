#include "framework/graphics/sprite.h"

#include <cstring>

#include "framework/core/angle.h"
#include "framework/graphics/device.h"
#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "framework/graphics/texture.h"

namespace {

CSprite2DManager* g_manager = nullptr;
ZethSprite::SourceObserver g_sourceObserver = nullptr;

// Creation, release and the lost/reset calls of sprites run under this lock; drawing does not.
CCriticalSection& SpriteLock() {
    static CCriticalSection lock;
    return lock;
}

}  // namespace

CSprite2D::~CSprite2D() {
    ZethLog::PrintError("CSprite2D Destruct");
    ZethLog::PrintBreak();
    for (CTexture*& texture : textures_) {
        if (texture != nullptr) texture->Release();
        texture = nullptr;
    }
}

void CSprite2D::Rendering() {
    for (uint32_t stage = 0; stage < 4; ++stage) CDeviceObject::SetTexture(stage, textures_[stage]);
    CPrimitive2D::Rendering();
}

void CSprite2D::SetTexture(uint32_t stage, CTexture* texture) {
    if (stage >= 4) return;
    if (texture != nullptr) texture->AddRef();
    if (textures_[stage] != nullptr) textures_[stage]->Release();
    textures_[stage] = texture;
}

CSprite2D::Cells CSprite2D::SourceCoordinates(const float* src, uint32_t stages, float vScale) const {
    if (g_sourceObserver != nullptr) g_sourceObserver(this, src, stages);
    Cells cells{};
    float inset = ZethTexture::GetTexelOffset();
    for (uint32_t s = 0; s < stages && s < 4; ++s) {
        const CTexture* texture = textures_[s];
        if (texture == nullptr) continue;
        const float* cell = src + 4 * s;
        cells.uv[s][0] = texture->PixelToTexelU(cell[0] + inset);
        cells.uv[s][1] = texture->PixelToTexelV((cell[1] + inset) * vScale);
        cells.uv[s][2] = texture->PixelToTexelU(cell[0] + cell[2] - inset);
        cells.uv[s][3] = texture->PixelToTexelV((cell[1] + cell[3] - inset) * vScale);
    }
    return cells;
}

Vertex2D CSprite2D::Corner(const Cells& cells, int k, float x, float y, float z, uint32_t colour) {
    RectQuad quad{x, y, x, y, z, colour, {}};
    std::memcpy(quad.uv, cells.uv, sizeof quad.uv);
    return RectCorner(quad, k);
}

bool CSprite2D::DrawRect(const float* dst, float z, const float* src, uint32_t colour, uint32_t stages) {
    const Cells cells = SourceCoordinates(src, stages);
    RectQuad quad{dst[0], dst[1], dst[0] + dst[2], dst[1] + dst[3], z, colour, {}};
    std::memcpy(quad.uv, cells.uv, sizeof quad.uv);
    return PushRect(quad);
}

bool CSprite2D::DrawRotate(const float* dst, float z, const float* src, uint32_t colour, int32_t angle,
                           uint32_t stages, float dx, float dy) {
    Cells cells = SourceCoordinates(src, stages);
    float px = dst[0] + dst[2] * 0.5f + dx, py = dst[1] + dst[3] * 0.5f + dy;
    const float edges[4][2] = {{dst[0], dst[1]}, {dst[0] + dst[2], dst[1]}, {dst[0] + dst[2], dst[1] + dst[3]},
                               {dst[0], dst[1] + dst[3]}};
    Vertex2D corners[4];
    for (int k = 0; k < 4; ++k) {
        float offset[2] = {edges[k][0] - px, edges[k][1] - py};
        RotateByAngle(offset, angle);
        corners[k] = Corner(cells, k, px + offset[0], py + offset[1], z, colour);
    }
    return PushQuad(corners);
}

CSprite2DManager* ZethSprite::GetManager() { return g_manager; }

CSprite2D* CSprite2DManager::Create(uint32_t count, uint32_t type, bool sort) {
    return CreateLogged<CSprite2D>(this, "CSprite2D::Create", count, type, sort);
}

namespace ZethSprite {

bool Initialize() {
    g_manager = new CSprite2DManager(Zeth3D::GetDevice());
    return true;
}

void Finalize() {
    CLockScope scope(SpriteLock());
    delete g_manager;
    g_manager = nullptr;
}

void OnLostDevice() {
    CLockScope scope(SpriteLock());
    if (g_manager != nullptr) g_manager->OnLostDevice();
}

void OnResetDevice() {
    CLockScope scope(SpriteLock());
    if (g_manager != nullptr) g_manager->OnResetDevice();
}

CSprite2D* Create(uint32_t count, uint32_t type, bool sort) {
    CLockScope scope(SpriteLock());
    return g_manager != nullptr ? g_manager->Create(count, type, sort) : nullptr;
}

void SetScaling(bool enable, float centreX, float centreY, float scale) {
    if (g_manager != nullptr) g_manager->SetScaling(enable, centreX, centreY, scale);
}

void SetPerspective(bool enable, float centreX, float centreY, float factor) {
    if (g_manager != nullptr) g_manager->SetPerspective(enable, centreX, centreY, factor);
}

void SetTexture(CSprite2D* sprite, uint32_t stage, CTexture* texture) {
    if (sprite != nullptr) sprite->SetTexture(stage, texture);
}

void Release(CSprite2D* sprite) {
    CLockScope scope(SpriteLock());
    if (sprite != nullptr) sprite->Release();
}

void Begin(CSprite2D* sprite) {
    if (sprite != nullptr) sprite->Begin();
}

void End(CSprite2D* sprite) {
    if (sprite != nullptr) sprite->End();
}

void Rendering(CSprite2D* sprite) {
    if (sprite != nullptr) sprite->Rendering();
}

bool DrawRect(CSprite2D* sprite, const float* dst, float z, const float* src, uint32_t colour, uint32_t stages) {
    return sprite != nullptr && sprite->DrawRect(dst, z, src, colour, stages);
}

void SetSourceObserver(SourceObserver observer) { g_sourceObserver = observer; }

}  // namespace ZethSprite
