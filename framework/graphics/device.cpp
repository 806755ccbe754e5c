#include "framework/graphics/device.h"

#include <algorithm>

#include "framework/graphics/device_internal.h"
#include "framework/graphics/device_names.h"
#include "framework/app/log.h"
#include "framework/app/zeth.h"
#include "framework/graphics/managers.h"
#include "framework/graphics/texture.h"
#include "platform/os/os.h"

namespace Zeth3D {

namespace internal {

DeviceState& State() {
    static DeviceState state;
    return state;
}

bool FormatList::Has(gfx::Format format) const {
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

}  // namespace internal

using internal::State;
namespace fmt = gfx::fmt;

namespace {

constexpr uint32_t kStopIcon = 16;

struct DeviceLevel {
    uint32_t type;
    uint32_t behaviour;
    const char* success;
};

constexpr DeviceLevel kLevels[] = {
    {gfx::devtype::kHal, gfx::create::kMixedVertexProcessing,
     "　　　Direct3Dデバイスを [ D3DDEVTYPE_HAL ] [ D3DCREATE_MIXED_VERTEXPROCESSING ] で生成"},
    {gfx::devtype::kHal, gfx::create::kSoftwareVertexProcessing,
     "　　　Direct3Dデバイスを [ D3DDEVTYPE_HAL ] [ D3DCREATE_SOFTWARE_VERTEXPROCESSING ] で生成"},
    {gfx::devtype::kRef, gfx::create::kSoftwareVertexProcessing,
     "　　　Direct3Dデバイスを [ D3DDEVTYPE_REF ] [ D3DCREATE_SOFTWARE_VERTEXPROCESSING ] で生成"},
};

gfx::PresentParameters MakeParameters(Zeth::WindowHandle window, bool windowed, bool fullColor) {
    int32_t width = 0, height = 0;
    Zeth::GetScreenInfo(&width, &height, nullptr);
    gfx::PresentParameters p{};
    p.backBufferWidth = static_cast<uint32_t>(width);
    p.backBufferHeight = static_cast<uint32_t>(height);
    if (windowed) p.backBufferFormat = State().currentMode.format;
    else p.backBufferFormat = fullColor ? State().mode32.format : State().mode16.format;
    p.backBufferCount = 1;
    p.swapEffect = gfx::swapeffect::kDiscard;
    p.deviceWindow = window;
    p.windowed = windowed;
    p.flags = gfx::kPresentFlagLockableBackBuffer;
    p.presentationInterval = gfx::kPresentIntervalDefault;
    return p;
}

void TakeBackBuffer() {
    if (State().backBuffer == nullptr) State().device->GetRenderTarget(0, &State().backBuffer);
}

void ReleaseBackBuffer() {
    if (State().backBuffer != nullptr) State().backBuffer->Release();
    State().backBuffer = nullptr;
}

// Candidates of each format class, in order, and the list they are checked against.
enum class ListKind { kExplicit, kDepth, kTexture, kRenderTarget, kDisplay, kBest };
struct FormatClass {
    ListKind list;
    gfx::Format candidates[5];
};
constexpr FormatClass kFormatClasses[16] = {
    {ListKind::kExplicit, {}},
    {ListKind::kDepth, {fmt::kD16Lockable, fmt::kD16, fmt::kD15S1}},
    {ListKind::kDepth, {fmt::kD32, fmt::kD24S8, fmt::kD24X8, fmt::kD24X4S4, fmt::kD24FS8}},
    {ListKind::kDepth, {fmt::kD24S8, fmt::kD24X4S4, fmt::kD24FS8, fmt::kD15S1}},
    {ListKind::kTexture, {fmt::kDxt1}},
    {ListKind::kTexture, {fmt::kDxt3, fmt::kDxt1}},
    {ListKind::kTexture, {fmt::kDxt5, fmt::kDxt3, fmt::kDxt1}},
    {ListKind::kDisplay, {}},
    {ListKind::kRenderTarget, {fmt::kA4R4G4B4, fmt::kA1R5G5B5, fmt::kX1R5G5B5}},
    {ListKind::kRenderTarget, {fmt::kA8R8G8B8, fmt::kX8R8G8B8}},
    {ListKind::kRenderTarget, {fmt::kA32B32G32R32F, fmt::kA16B16G16R16F}},
    {ListKind::kTexture, {fmt::kA8, fmt::kA8R3G3B2, fmt::kA8R8G8B8, fmt::kA4R4G4B4}},
    {ListKind::kTexture, {fmt::kA8R8G8B8}},
    {ListKind::kTexture, {fmt::kA4R4G4B4, fmt::kA1R5G5B5, fmt::kA8R3G3B2}},
    {ListKind::kBest, {12, 13, 6, 5}},
    {ListKind::kBest, {6, 5, 12, 13}},
};

// Reset failed: says so once (until a reset succeeds), and when the failure came from a change
// into full screen, goes back to the window so the program stays usable.
void HandleResetFailure(gfx::Result result, bool force) {
    internal::DeviceState& state = State();
    if (!state.resetFailureReported) {
        ZethLog::PrintError("デバイスの復帰に失敗 [ %s ]", GetErrorString(result));
        ZethLog::PrintBreak();
    }
    bool windowed = true;
    Zeth::GetScreenInfo(nullptr, nullptr, &windowed);
    if (force && !windowed) {
        Zeth::ReturnToWindow();
        gfx::PresentParameters parameters = state.windowedParameters;
        if (gfx::Succeeded(state.device->Reset(&parameters))) return;
    }
    if (!state.resetFailureReported) Zeth::MessageBox(kStopIcon, "ERROR", "デバイスの復帰に失敗");
    state.resetFailureReported = true;
}

}  // namespace

bool Initialize() {
    internal::DeviceState& state = State();
    ZethLog::PrintBanner("Zeth3Dクラスの初期化");
    ZethLog::PrintBreak();
    state.direct3D = gfx::CreateDirect3D(gfx::kSdkVersion);
    if (state.direct3D == nullptr) {
        ZethLog::PrintError("　　　エラー : Direct3Dオブジェクトの生成に失敗");
        ZethLog::PrintBreak();
        ZethLog::PrintError("　　　DirectX9cが正しくインストールされているか確認して下さい");
        ZethLog::PrintBreak();
        Zeth::MessageBox(kStopIcon, "Zeth3D", "Direct3Dオブジェクトの生成に失敗\nDirectX9cが正しくインストールされているか\n確認して下さい");
        Zeth::MessageBox(kStopIcon, "Zeth3D", "アダプターの初期化に失敗");
        return false;
    }
    internal::InventoryAdapter();
    internal::LogCapabilities();
    return true;
}

bool Start(Zeth::WindowHandle window, bool windowed) {
    internal::DeviceState& state = State();
    ZethLog::PrintBanner("Zeth3Dクラスの起動");
    ZethLog::PrintBreak();
    if (state.direct3D == nullptr) return false;
    const DeviceInformation& info = state.information;
    int level = !info.hardwareRasterization ? 2 : info.hardwareTransformAndLight ? 0 : 1;
    state.windowedParameters = MakeParameters(window, true, false);
    state.fullScreenParameters = MakeParameters(window, false, state.fullColor);
    gfx::PresentParameters parameters = windowed ? state.windowedParameters : state.fullScreenParameters;
    ZethLog::PrintBold("　Direct3Dデバイスの生成");
    ZethLog::PrintBreak();
    gfx::Result result = gfx::result::kFail;
    for (; level < 3; ++level) {
        result = state.direct3D->CreateDevice(0, kLevels[level].type, window,
                                              kLevels[level].behaviour | gfx::create::kMultithreaded, &parameters,
                                              &state.device);
        if (gfx::Succeeded(result)) break;
        state.device = nullptr;
    }
    if (state.device == nullptr) {
        ZethLog::PrintError("　　　エラー：デバイスの作成に失敗 [ %s ]", GetErrorString(result));
        ZethLog::PrintBreak();
        ZethLog::PrintError("　　　　　　：DirectX側のエラーで無い場合は他のソフトがビデオカードを占有してる可能性があります。");
        ZethLog::PrintBreak();
        return false;
    }
    ZethLog::Print("%s", kLevels[level].success);
    ZethLog::PrintBreak();
    ZethLog::PrintBold("　推定残テクスチャメモリ容量 <%dMB>", static_cast<int>(state.device->GetAvailableTextureMem() >> 20));
    ZethLog::PrintBreak();
    TakeBackBuffer();
    InitRenderStates();
    RestoreRenderStates();
    gfx::Caps caps{};
    state.device->GetDeviceCaps(&caps);
    internal::ReadCapabilities(caps, state.information);
    ZethLog::PrintBold("　現在のデバイス情報を取得");
    ZethLog::PrintBreak();
    internal::LogDeviceFigures();
    return true;
}

void Finalize() {
    internal::DeviceState& state = State();
    ZethLog::PrintBanner("Zeth3Dクラスの解放");
    ZethLog::PrintBreak();
    ReleaseBackBuffer();
    state.renderTarget = nullptr;
    state.sceneDepth = 0;
    state.backBufferLocked = false;
    if (state.device != nullptr) {
        state.device->Release();
        state.device = nullptr;
        ZethLog::Print("Direct3Dデバイスを解放");
        ZethLog::PrintBreak();
    }
    if (state.direct3D != nullptr) {
        state.direct3D->Release();
        state.direct3D = nullptr;
        ZethLog::Print("Direct3Dオブジェクトを解放");
        ZethLog::PrintBreak();
        ZethLog::Print("DLLを解放");
        ZethLog::PrintBreak();
    }
    state.modes.clear();
    state.textureFormats.formats.clear();
    state.renderTargetFormats.formats.clear();
    state.depthFormats.formats.clear();
    state.fullColor = false;
    state.resetFailureReported = false;
}

void ResetDevice(bool force) {
    internal::DeviceState& state = State();
    if (state.device == nullptr) return;
    if (!force && state.device->TestCooperativeLevel() == gfx::result::kOk) return;
    int32_t width = 0, height = 0;
    bool windowed = true;
    Zeth::GetScreenInfo(&width, &height, &windowed);
    for (gfx::PresentParameters* p : {&state.windowedParameters, &state.fullScreenParameters}) {
        p->backBufferWidth = static_cast<uint32_t>(width);
        p->backBufferHeight = static_cast<uint32_t>(height);
    }
    gfx::PresentParameters parameters = windowed ? state.windowedParameters : state.fullScreenParameters;

    Zeth::LoseDeviceObjects();
    // The device's own bindings would keep released resources alive through the reset.
    for (uint32_t stage = 0; stage < 4; ++stage) state.device->SetTexture(stage, nullptr);
    state.device->SetStreamSource(0, nullptr, 0, 0);
    state.device->SetIndices(nullptr);
    state.device->SetDepthStencilSurface(nullptr);
    state.device->SetRenderTarget(0, state.backBuffer);
    ReleaseBackBuffer();
    gfx::Result result = state.device->Reset(&parameters);
    if (gfx::Succeeded(result)) state.resetFailureReported = false;
    else HandleResetFailure(result, force);
    TakeBackBuffer();
    Zeth::RestoreDeviceObjects();
    RestoreRenderStates();
}

void Refresh(Zeth::WindowHandle destinationOverride) {
    internal::DeviceState& state = State();
    if (state.device == nullptr) return;
    gfx::Result result = state.device->Present(nullptr, nullptr, destinationOverride, nullptr);
    if (result == gfx::result::kDriverInternalError) {
        Zeth::Exit();
    } else if (result == gfx::result::kDeviceLost) {
        gfx::Result level = state.device->TestCooperativeLevel();
        if (level == gfx::result::kDeviceLost) platform::GetClock().SleepMs(10);
        else if (level == gfx::result::kDeviceNotReset) ResetDevice(false);
    }
}

void EnableFullColorMode() { State().fullColor = true; }

// The device has no dialog-box mode: message boxes are separate windows in every screen mode.
void SetDialogBoxMode(bool) {}

gfx::Format SelectFormat(uint32_t formatIndex, gfx::Format explicitFormat) {
    if (formatIndex > 15) return 0;
    const FormatClass& entry = kFormatClasses[formatIndex];
    internal::DeviceState& state = State();
    const internal::FormatList* list = nullptr;
    switch (entry.list) {
        case ListKind::kExplicit:
            return explicitFormat;
        case ListKind::kDisplay: {
            bool windowed = true;
            Zeth::GetScreenInfo(nullptr, nullptr, &windowed);
            if (windowed) return state.currentMode.format;
            return state.fullColor ? state.mode32.format : state.mode16.format;
        }
        case ListKind::kBest:
            for (gfx::Format index : entry.candidates) {
                if (gfx::Format format = SelectFormat(index); format != 0) return format;
            }
            return 0;
        case ListKind::kDepth:
            list = &state.depthFormats;
            break;
        case ListKind::kTexture:
            list = &state.textureFormats;
            break;
        case ListKind::kRenderTarget:
            list = &state.renderTargetFormats;
            break;
    }
    for (gfx::Format candidate : entry.candidates) {
        if (candidate != 0 && list->Has(candidate)) return candidate;
    }
    return 0;
}

gfx::Device* GetDevice() { return State().device; }

void GetDeviceInformation(DeviceInformation* out) { *out = State().information; }

const char* GetErrorString(gfx::Result result) { return ZethDeviceNames::ErrorText(result); }

bool SetRenderTarget(CBaseImage* image) {
    internal::DeviceState& state = State();
    if (state.device == nullptr) return false;
    uint32_t width = 0, height = 0;
    if (image != nullptr) {
        state.renderTarget = image;
        if (!image->SetRenderTarget()) return false;
        width = image->GetWidth();
        height = image->GetHeight();
    } else {
        state.renderTarget = nullptr;
        if (gfx::Failed(state.device->SetRenderTarget(0, state.backBuffer))) return false;
        int32_t screenWidth = 0, screenHeight = 0;
        Zeth::GetScreenInfo(&screenWidth, &screenHeight, nullptr);
        width = static_cast<uint32_t>(screenWidth);
        height = static_cast<uint32_t>(screenHeight);
    }
    state.device->SetDepthStencilSurface(nullptr);
    SetRenderState(gfx::rs::kZEnable, 0);
    SetRenderState(gfx::rs::kZWriteEnable, 0);
    state.viewport = gfx::Viewport{0, 0, width, height, 0.0f, 1.0f};
    state.device->SetViewport(&state.viewport);
    return true;
}

bool ResetRenderTarget() { return SetRenderTarget(nullptr); }

void SetScaling2D(bool enable, float centreX, float centreY, float scale) {
    Zeth::ForEach2DManager([&](CObject2DManager& manager) { manager.SetScaling(enable, centreX, centreY, scale); });
}

void SetPerspective2D(bool enable, float centreX, float centreY, float factor) {
    Zeth::ForEach2DManager(
        [&](CObject2DManager& manager) { manager.SetPerspective(enable, centreX, centreY, factor); });
}

}  // namespace Zeth3D
