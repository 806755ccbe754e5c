#include "framework/graphics/managers.h"

#include "framework/graphics/device.h"
#include "framework/graphics/extension3d.h"
#include "framework/core/lock.h"
#include "framework/graphics/primitive2d.h"
#include "framework/graphics/simple.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/texture.h"

CFontManager::CFontManager(gfx::Device* device, int32_t capacity)
    : CBaseManager(device), capacity_(capacity), fonts_(new CFont*[capacity]()) {}

CFontManager::~CFontManager() {
    while (top_ >= 0) PopFont();
    delete[] fonts_;
}

void CFontManager::PushFont(CFont* font, uint32_t value) {
    if (font == nullptr || top_ + 1 >= capacity_) return;
    fonts_[++top_] = font;
    font->AddRef();
    font->BeginFont(value);
}

void CFontManager::PopFont() {
    if (top_ < 0) return;
    CFont* font = fonts_[top_];
    font->EndFont();
    font->Release();
    fonts_[top_--] = nullptr;
}

namespace {

// One manager module: the global manager and the lock its service functions take.
template <typename Manager>
struct Module {
    Manager* manager = nullptr;
    CCriticalSection lock;

    bool Initialize() {
        manager = new Manager(Zeth3D::GetDevice());
        return true;
    }
    void Finalize() {
        CLockScope scope(lock);
        delete manager;
        manager = nullptr;
    }
    void OnLostDevice() {
        CLockScope scope(lock);
        if (manager != nullptr) manager->OnLostDevice();
    }
    void OnResetDevice() {
        CLockScope scope(lock);
        if (manager != nullptr) manager->OnResetDevice();
    }
};

Module<CSurfaceManager> g_surfaces;
Module<CSheetManager> g_sheets;
Module<CPoint2DManager> g_points2D;
Module<CPoint3DManager> g_points3D;
Module<CLine2DManager> g_lines2D;
Module<CLine3DManager> g_lines3D;
Module<CPrimitive2DManager> g_primitives2D;
Module<CPrimitive3DManager> g_primitives3D;
Module<CSprite3DManager> g_sprites3D;
Module<CFontSprite2DManager> g_fontSprites2D;
Module<CFontSprite3DManager> g_fontSprites3D;
Module<ZethModelExManager> g_models;
CFontManager* g_fonts = nullptr;

constexpr int32_t kFontCapacity = 16;

bool InitializeFonts() {
    g_fonts = new CFontManager(Zeth3D::GetDevice(), kFontCapacity);
    return true;
}

void FinalizeFonts() {
    delete g_fonts;
    g_fonts = nullptr;
}

// The model manager passes loss and reset on without taking its lock.
void ModelsLost() {
    if (g_models.manager != nullptr) g_models.manager->OnLostDevice();
}
void ModelsReset() {
    if (g_models.manager != nullptr) g_models.manager->OnResetDevice();
}

template <auto& module>
bool Initialize() {
    return module.Initialize();
}
template <auto& module>
void Finalize() {
    module.Finalize();
}
template <auto& module>
void Lost() {
    module.OnLostDevice();
}
template <auto& module>
void Reset() {
    module.OnResetDevice();
}

// Creation order of Zeth::Start.
bool (*const kCreationOrder[])() = {
    Initialize<g_surfaces>,   ZethTexture::Initialize,    Initialize<g_sheets>,       ZethSimple::Initialize,
    InitializeFonts,          Initialize<g_points2D>,     Initialize<g_points3D>,     Initialize<g_lines2D>,
    Initialize<g_lines3D>,    Initialize<g_primitives2D>, Initialize<g_primitives3D>, ZethSprite::Initialize,
    Initialize<g_sprites3D>,  Initialize<g_fontSprites2D>, Initialize<g_fontSprites3D>, Initialize<g_models>,
};

using Zeth::Extension3D;
using Zeth::Hook3D;

// Release order of Zeth::Finalize, with the 3D side's pools in between.
void (*const kReleaseOrder[])() = {
    ZethSimple::Finalize,
    Hook3D<&Extension3D::releaseGridMeshes>,
    Finalize<g_models>,
    Hook3D<&Extension3D::releaseModelsAndCameras>,
    Finalize<g_sprites3D>,      Finalize<g_points2D>,      Finalize<g_points3D>,     Finalize<g_lines2D>,
    Finalize<g_lines3D>,        Finalize<g_primitives3D>,
    Hook3D<&Extension3D::releaseEffects>,
    Finalize<g_fontSprites3D>,  Finalize<g_fontSprites2D>, FinalizeFonts,            ZethSprite::Finalize,
    Finalize<g_primitives2D>,   Finalize<g_sheets>,        ZethTexture::Finalize,    Finalize<g_surfaces>,
};

// Loss and reset order of the device reset.
struct LossPair {
    void (*lost)();
    void (*reset)();
};
constexpr LossPair kLossOrder[] = {
    {ZethTexture::OnLostDevice, ZethTexture::OnResetDevice},
    {Lost<g_surfaces>, Reset<g_surfaces>},
    {ZethSprite::OnLostDevice, ZethSprite::OnResetDevice},
    {Lost<g_sprites3D>, Reset<g_sprites3D>},
    {Lost<g_primitives2D>, Reset<g_primitives2D>},
    {Lost<g_primitives3D>, Reset<g_primitives3D>},
    {Lost<g_lines2D>, Reset<g_lines2D>},
    {Lost<g_lines3D>, Reset<g_lines3D>},
    {Lost<g_points2D>, Reset<g_points2D>},
    {Lost<g_points3D>, Reset<g_points3D>},
    {ModelsLost, ModelsReset},
    {Hook3D<&Extension3D::loseGridMeshes>, Hook3D<&Extension3D::resetGridMeshes>},
    {ZethSimple::OnLostDevice, ZethSimple::OnResetDevice},
    {Hook3D<&Extension3D::loseEffects>, Hook3D<&Extension3D::resetEffects>},
};

}  // namespace

namespace ZethSurface {
CSurfaceManager* GetManager() { return g_surfaces.manager; }
}  // namespace ZethSurface

namespace ZethSheet {
CSheetManager* GetManager() { return g_sheets.manager; }
}  // namespace ZethSheet

namespace Zeth {

bool CreateManagers() {
    for (bool (*create)() : kCreationOrder) {
        if (!create()) return false;
    }
    return true;
}

void ReleaseManagers() {
    for (void (*release)() : kReleaseOrder) release();
}

void LoseDeviceObjects() {
    for (const LossPair& pair : kLossOrder) pair.lost();
}

void RestoreDeviceObjects() {
    for (const LossPair& pair : kLossOrder) pair.reset();
}

void ForEach2DManager(const std::function<void(CObject2DManager&)>& visit) {
    CObject2DManager* managers[] = {g_primitives2D.manager, ZethSprite::GetManager(), g_lines2D.manager,
                                    g_points2D.manager};
    for (CObject2DManager* manager : managers) {
        if (manager != nullptr) visit(*manager);
    }
}

CFontManager* GetFontManager() { return g_fonts; }

}  // namespace Zeth
