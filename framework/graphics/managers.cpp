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

CFont* CFontManager::Create(const char* face, uint32_t size, bool italic, bool bold) {
    return Zeth::CreateRegistered(this, "CFont::Create", " : ", Zeth::GetObjects3D().font, face, size, italic, bold);
}

void CFontManager::PushFont(CFont* font, uint32_t value) {
    if (font == nullptr || top_ + 1 >= capacity_) return;
    fonts_[++top_] = font;
    font->AddRef();
    font->Begin(value != 0);
}

void CFontManager::PopFont() {
    if (top_ < 0) return;
    CFont* font = fonts_[top_];
    font->End();
    font->Release();
    fonts_[top_--] = nullptr;
}

int32_t CFontManager::DrawChar(int32_t x, int32_t y, uint32_t colour, uint16_t code) {
    if (CFont* font = GetTopFont()) font->DrawChar(x, y, colour, code);
    return top_;
}

int32_t CFontManager::DrawCharSmooth(int32_t x, int32_t y, uint32_t colour, uint16_t code) {
    if (CFont* font = GetTopFont()) font->DrawCharSmooth(x, y, colour, code);
    return top_;
}

int32_t CFontManager::DrawText(int32_t x, int32_t y, uint32_t colour, const char* text) {
    CFont* font = GetTopFont();
    return font != nullptr ? font->DrawText(x, y, colour, text) : 0;
}

int32_t CFontManager::DrawTextSmooth(int32_t x, int32_t y, uint32_t colour, const char* text) {
    CFont* font = GetTopFont();
    return font != nullptr ? font->DrawTextSmooth(x, y, colour, text) : 0;
}

int32_t CFontManager::DrawTextProportional(int32_t x, int32_t y, uint32_t colour, const char* text) {
    CFont* font = GetTopFont();
    return font != nullptr ? font->DrawTextProportional(x, y, colour, text) : 0;
}

int32_t CFontManager::DrawTextProportionalSmooth(int32_t x, int32_t y, uint32_t colour, const char* text) {
    CFont* font = GetTopFont();
    return font != nullptr ? font->DrawTextProportionalSmooth(x, y, colour, text) : 0;
}

using Zeth::CreateRegistered;
using Zeth::CreateRegisteredSelfLogged;
using Zeth::GetObjects3D;

CSprite3D* CSprite3DManager::Create(uint32_t count, uint32_t type) {
    return CreateRegistered(this, "CSprite3D::Create", nullptr, GetObjects3D().sprite3D, count, type);
}

CPrimitive3D* CPrimitive3DManager::Create(uint32_t count, uint32_t type) {
    return CreateRegistered(this, "CPrimitive3D::Create", nullptr, GetObjects3D().primitive3D, count, type);
}

CLine3D* CLine3DManager::Create(uint32_t capacity) {
    return CreateRegistered(this, "CLine3D::Create", nullptr, GetObjects3D().line3D, capacity);
}

CPoint3D* CPoint3DManager::Create(uint32_t capacity) {
    return CreateRegistered(this, "CPoint3D::Create", nullptr, GetObjects3D().point3D, capacity);
}

CLine2D* CLine2DManager::Create(uint32_t capacity) {
    return CreateRegistered(this, "CLine2D::Create", nullptr, GetObjects3D().line2D, capacity);
}

CPoint2D* CPoint2DManager::Create(uint32_t capacity) {
    return CreateRegistered(this, "CPoint2D::Create", nullptr, GetObjects3D().point2D, capacity);
}

CFontSprite2D* CFontSprite2DManager::Create(const char* text, uint32_t count, CFont* font, bool sort, bool smooth) {
    return CreateRegistered(this, "CFontSprite2D::Create", nullptr, GetObjects3D().fontSprite2D, text, count, font,
                            sort, smooth);
}

CFontSprite2D* CFontSprite2DManager::CreateFromFile(const char* file, const char* source, uint32_t count, bool sort,
                                                    uint32_t formatIndex) {
    return CreateRegistered(this, "CFontSprite2D::Create", nullptr, GetObjects3D().fontSprite2DFromFile, file, source,
                            count, sort, formatIndex);
}

// The 3D font sprite writes its own title and outcome.
CFontSprite3D* CFontSprite3DManager::Create(const char* text, uint32_t count, CFont* font, bool smooth) {
    return CreateRegisteredSelfLogged(this, GetObjects3D().fontSprite3D, text, count, font, smooth);
}

CFontSprite3D* CFontSprite3DManager::CreateFromFile(const char* file, const char* source, uint32_t count,
                                                    uint32_t formatIndex) {
    return CreateRegisteredSelfLogged(this, GetObjects3D().fontSprite3DFromFile, file, source, count, formatIndex);
}

CModelData* ZethModelExManager::CreateFromMemory(const void* data, uint32_t size, uint16_t shaderMajor,
                                                 uint16_t shaderMinor, uint32_t textureFormat, uint32_t colourKey) {
    auto load = Zeth::GetModels3D().fromMemory;
    return load != nullptr ? load(this, data, size, shaderMajor, shaderMinor, textureFormat, colourKey) : nullptr;
}

CModelData* ZethModelExManager::CreateFromFile(const char* file, uint16_t shaderMajor, uint16_t shaderMinor,
                                               uint32_t textureFormat, uint32_t colourKey) {
    auto load = Zeth::GetModels3D().fromFile;
    return load != nullptr ? load(this, file, shaderMajor, shaderMinor, textureFormat, colourKey) : nullptr;
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
CSprite3DManager* GetSprite3DManager() { return g_sprites3D.manager; }
CPrimitive3DManager* GetPrimitive3DManager() { return g_primitives3D.manager; }
CLine3DManager* GetLine3DManager() { return g_lines3D.manager; }
CPoint3DManager* GetPoint3DManager() { return g_points3D.manager; }
CLine2DManager* GetLine2DManager() { return g_lines2D.manager; }
CPoint2DManager* GetPoint2DManager() { return g_points2D.manager; }
CFontSprite2DManager* GetFontSprite2DManager() { return g_fontSprites2D.manager; }
CFontSprite3DManager* GetFontSprite3DManager() { return g_fontSprites3D.manager; }
ZethModelExManager* GetModelManager() { return g_models.manager; }

}  // namespace Zeth

namespace ZethSprite3D {

CSprite3D* Create(uint32_t count, uint32_t type) {
    CLockScope scope(g_sprites3D.lock);
    return g_sprites3D.manager != nullptr ? g_sprites3D.manager->Create(count, type) : nullptr;
}

}  // namespace ZethSprite3D
