// The adapter inventory and capability report the device writes to the log at start-up.
#include <cstdio>
#include <string>

#include "framework/graphics/device_internal.h"
#include "framework/graphics/device_names.h"
#include "framework/app/log.h"

namespace Zeth3D::internal {

namespace {

namespace fmt = gfx::fmt;
namespace caps = gfx::caps;

constexpr size_t kMaxModes = 256;

constexpr gfx::Format kTextureCandidates[] = {
    fmt::kR5G6B5, fmt::kX1R5G5B5, fmt::kA1R5G5B5, fmt::kA4R4G4B4, fmt::kR8G8B8, fmt::kA8R8G8B8, fmt::kX8R8G8B8,
    fmt::kR3G3B2, fmt::kA8, fmt::kA8R3G3B2, fmt::kX4R4G4B4, fmt::kA2B10G10R10, fmt::kA2R10G10B10,
    fmt::kA16B16G16R16, fmt::kA8P8, fmt::kP8, fmt::kL8, fmt::kL16, fmt::kA8L8, fmt::kA4L4, fmt::kV8U8,
    fmt::kQ8W8V8U8, fmt::kV16U16, fmt::kQ16W16V16U16, fmt::kCxV8U8, fmt::kL6V5U5, fmt::kX8L8V8U8,
    fmt::kA2W10V10U10, fmt::kG8R8G8B8, fmt::kR8G8B8G8, fmt::kDxt5, fmt::kDxt4, fmt::kDxt3, fmt::kDxt2, fmt::kDxt1,
    fmt::kUyvy, fmt::kYuy2, fmt::kD16Lockable, fmt::kD32, fmt::kD15S1, fmt::kD24S8, fmt::kD24X8, fmt::kD24X4S4,
    fmt::kD32FLockable, fmt::kD24FS8, fmt::kD16, fmt::kVertexData, fmt::kIndex16, fmt::kIndex32, fmt::kR16F,
    fmt::kG16R16F, fmt::kA16B16G16R16F, fmt::kR32F, fmt::kG32R32F, fmt::kA32B32G32R32F, fmt::kG16R16,
};
static_assert(std::size(kTextureCandidates) == 56);

constexpr gfx::Format kDepthCandidates[] = {fmt::kD16, fmt::kD32, fmt::kD24S8, fmt::kD24X8, fmt::kD24X4S4,
                                           fmt::kD24FS8, fmt::kD15S1};

constexpr uint32_t kDepthTestBits[8] = {caps::kCmpAlways,  caps::kCmpEqual,     caps::kCmpGreater, caps::kCmpGreaterEqual,
                                        caps::kCmpLess,    caps::kCmpLessEqual, caps::kCmpNever,   caps::kCmpNotEqual};
constexpr const char* kDepthTestLabels[8] = {"ALWAYS", "EQUAL",      "GREATER", "GREATER EQUA",
                                             "LESS",   "LESS EQUAL", "NEVER",   "NOT EQUAL"};
constexpr uint32_t kBlendBits[14] = {
    caps::kBlendBlendFactor, caps::kBlendBothInvSrcAlpha, caps::kBlendBothSrcAlpha, caps::kBlendDestAlpha,
    caps::kBlendDestColor,   caps::kBlendInvDestAlpha,    caps::kBlendInvDestColor, caps::kBlendInvSrcAlpha,
    caps::kBlendInvSrcColor, caps::kBlendOne,             caps::kBlendSrcAlpha,     caps::kBlendSrcAlphaSat,
    caps::kBlendSrcColor,    caps::kBlendZero};
constexpr const char* kBlendLabels[14] = {"BLEND FACTOR",   "BOTH INVSRC",   "BOTH SRC",      "DEST ALPHA",
                                          "DEST COLOR",     "INV DEST ALPHA", "INV DEST COLOR", "INV SRC ALPHA",
                                          "INV SRC COLOR",  "ONE",           "SRC ALPHA",     "SRC ALPHA SAT",
                                          "SRC COLOR",      "ZERO"};
constexpr uint32_t kStencilBits[9] = {caps::kStencilKeep,    caps::kStencilZero,   caps::kStencilReplace,
                                      caps::kStencilIncrSat, caps::kStencilDecrSat, caps::kStencilInvert,
                                      caps::kStencilIncr,    caps::kStencilDecr,    caps::kStencilTwoSided};
constexpr const char* kStencilLabels[9] = {"KEEP", "ZERO", "REPLACE", "INCRSAT", "DECRSAT",
                                           "INVERT", "INCR", "DECR", "TWO SIDED"};

void Line(const char* text) {
    ZethLog::Print("%s", text);
    ZethLog::PrintBreak();
}

void Title(const char* text) {
    ZethLog::PrintTitle("%s", text);
    ZethLog::PrintBreak();
}

void Bold(const char* text) {
    ZethLog::PrintBold("%s", text);
    ZethLog::PrintBreak();
}

void BitLine(bool set, const std::string& label) {
    ZethLog::Print("　　　[ %s ] %s", set ? "○" : "×", label.c_str());
    ZethLog::PrintBreak();
}

void NumberLine(const char* label, uint32_t value) {
    ZethLog::Print("　　　%s [ %u ]", label, value);
    ZethLog::PrintBreak();
}

void LogIdentity() {
    DeviceState& state = State();
    Title("アダプター情報");
    gfx::AdapterIdentifier id{};
    state.direct3D->GetAdapterIdentifier(0, 0, &id);
    uint32_t product = id.driverVersionHighPart >> 16, version = id.driverVersionHighPart & 0xFFFF;
    uint32_t subVersion = id.driverVersionLowPart >> 16, build = id.driverVersionLowPart & 0xFFFF;
    char text[64];
    std::snprintf(text, sizeof(text), "%u.%u.%u.%u", product, version, subVersion, build);
    state.description = id.description;
    state.driver = id.driver;
    state.driverVersion = text;
    ZethLog::Print("　　　Name [ %s ]", id.description);
    ZethLog::PrintBreak();
    ZethLog::Print("　　　Device [ %s ]", id.deviceName);
    ZethLog::PrintBreak();
    ZethLog::Print("　　　Driver [ %s ]", id.driver);
    ZethLog::PrintBreak();
    ZethLog::Print("　　　Product [ %u ]", product);
    ZethLog::PrintBreak();
    ZethLog::Print("　　　Version [ %u.%u.%u ]", version, subVersion, build);
    ZethLog::PrintBreak();
    Line("　Windows Hardware Quality Lab (WHQL) 認証レベル");
    if (id.whqlLevel == 0) {
        Line("　　　認証されていない。");
    } else if (id.whqlLevel == 1) {
        Line("　　　WHQL の認証は受けているが、利用できる日付情報はない。");
    } else {
        ZethLog::Print("　　　%u.%u.%u", id.whqlLevel >> 16, (id.whqlLevel >> 8) & 0xFF, id.whqlLevel & 0xFF);
        ZethLog::PrintBreak();
    }
}

void LogDisplayModes() {
    DeviceState& state = State();
    Title("現在の画面情報");
    state.direct3D->GetAdapterDisplayMode(0, &state.currentMode);
    NumberLine("Width", state.currentMode.width);
    NumberLine("Height", state.currentMode.height);
    NumberLine("RefreshRate", state.currentMode.refreshRate);
    ZethLog::Print("　　　Format [ %s ]", GetFormatName(state.currentMode.format));
    ZethLog::PrintBreak();

    Title("使用可能な画面モードを列挙");
    state.modes.clear();
    for (gfx::Format format : {fmt::kX8R8G8B8, fmt::kX1R5G5B5, fmt::kR5G6B5}) {
        uint32_t count = state.direct3D->GetAdapterModeCount(0, format);
        if (count == 0) continue;
        ZethLog::PrintBold("　BackBuffer Format [ %s ]", GetFormatName(format));
        ZethLog::PrintBreak();
        for (uint32_t i = 0; i < count; ++i) {
            gfx::DisplayMode mode{};
            if (gfx::Failed(state.direct3D->EnumAdapterModes(0, format, i, &mode))) continue;
            bool known = false;
            for (gfx::DisplayMode& record : state.modes) {
                if (record.width == mode.width && record.height == mode.height && record.format == mode.format) {
                    if (mode.refreshRate > record.refreshRate) record.refreshRate = mode.refreshRate;
                    known = true;
                }
            }
            if (known || state.modes.size() >= kMaxModes) continue;
            state.modes.push_back(mode);
            ZethLog::Print("　　　[ %u x %u ] [ %uHz ]", mode.width, mode.height, mode.refreshRate);
            ZethLog::PrintBreak();
        }
    }

    Title("フルスクリーン用ディスプレイモードの検索");
    int32_t width = 0, height = 0;
    Zeth::GetScreenInfo(&width, &height, nullptr);
    state.mode16 = gfx::DisplayMode{};
    state.mode32 = gfx::DisplayMode{};
    for (const gfx::DisplayMode& mode : state.modes) {
        if (mode.width != static_cast<uint32_t>(width) || mode.height != static_cast<uint32_t>(height)) continue;
        if (mode.format == fmt::kX8R8G8B8) state.mode32 = mode;
        if (mode.format == fmt::kR5G6B5 || mode.format == fmt::kX1R5G5B5) state.mode16 = mode;
    }
    ZethLog::Print("　　　16BitColor [ %s ]", GetFormatName(state.mode16.format));
    ZethLog::PrintBreak();
    ZethLog::Print("　　　32BitColor [ %s ]", GetFormatName(state.mode32.format));
    ZethLog::PrintBreak();
}

template <size_t N>
void CollectFormats(const char* title, uint32_t usage, uint32_t resourceType, const gfx::Format (&candidates)[N],
                    FormatList& list) {
    DeviceState& state = State();
    gfx::Format adapterFormat = state.mode32.format != 0 ? state.mode32.format : state.currentMode.format;
    Title(title);
    list.formats.clear();
    for (gfx::Format candidate : candidates) {
        if (gfx::Failed(state.direct3D->CheckDeviceFormat(0, gfx::devtype::kHal, adapterFormat, usage, resourceType,
                                                          candidate))) {
            continue;
        }
        list.formats.push_back(candidate);
        ZethLog::Print("　　　[ %s ]", GetFormatName(candidate));
        ZethLog::PrintBreak();
    }
}

}  // namespace

void InventoryAdapter() {
    DeviceState& state = State();
    LogIdentity();
    LogDisplayModes();
    CollectFormats("使用可能なテクスチャフォーマットを列挙", 0, gfx::rtype::kTexture, kTextureCandidates,
                   state.textureFormats);
    CollectFormats("使用可能なレンダリングターゲットテクスチャフォーマットを列挙", gfx::usage::kRenderTarget,
                   gfx::rtype::kTexture, kTextureCandidates, state.renderTargetFormats);
    CollectFormats("使用可能な深度バッファフォーマットを列挙", gfx::usage::kDepthStencil, gfx::rtype::kSurface,
                   kDepthCandidates, state.depthFormats);
}

void ReadCapabilities(const gfx::Caps& c, DeviceInformation& out) {
    out = DeviceInformation{};
    out.pureDevice = (c.devCaps & caps::kPureDevice) != 0;
    out.hardwareTransformAndLight = (c.devCaps & caps::kHwTransformAndLight) != 0;
    out.hardwareRasterization = (c.devCaps & caps::kHwRasterization) != 0;
    out.deviceType = c.deviceType;
    out.minAnisotropic = (c.textureFilterCaps & caps::kFilterMinAnisotropic) != 0;
    out.magAnisotropic = (c.textureFilterCaps & caps::kFilterMagAnisotropic) != 0;
    out.dithering = (c.rasterCaps & caps::kDither) != 0;
    out.depthBias = (c.rasterCaps & caps::kDepthBias) != 0;
    out.wBuffer = (c.rasterCaps & caps::kWBuffer) != 0;
    out.autoMipmap = (c.caps2 & caps::kCanAutoGenMipMap) != 0;
    for (int i = 0; i < 8; ++i) out.depthTest[i] = (c.zCmpCaps & kDepthTestBits[i]) != 0;
    for (int i = 0; i < 14; ++i) {
        out.sourceBlend[i] = (c.srcBlendCaps & kBlendBits[i]) != 0;
        out.destBlend[i] = (c.destBlendCaps & kBlendBits[i]) != 0;
    }
    out.cubeMap = (c.textureCaps & caps::kTextureCubeMap) != 0;
    out.mipMap = (c.textureCaps & caps::kTextureMipMap) != 0;
    out.perspective = (c.textureCaps & caps::kTexturePerspective) != 0;
    out.pow2 = (c.textureCaps & caps::kTexturePow2) != 0;
    out.squareOnly = (c.textureCaps & caps::kTextureSquareOnly) != 0;
    out.addressBorder = (c.textureAddressCaps & caps::kAddressBorder) != 0;
    out.addressClamp = (c.textureAddressCaps & caps::kAddressClamp) != 0;
    out.addressIndependentUv = (c.textureAddressCaps & caps::kAddressIndependentUv) != 0;
    out.addressMirror = (c.textureAddressCaps & caps::kAddressMirror) != 0;
    out.addressMirrorOnce = (c.textureAddressCaps & caps::kAddressMirrorOnce) != 0;
    out.addressWrap = (c.textureAddressCaps & caps::kAddressWrap) != 0;
    out.maxAnisotropy = c.maxAnisotropy;
    out.maxTextureWidth = c.maxTextureWidth;
    out.maxTextureHeight = c.maxTextureHeight;
    out.maxTextureRepeat = c.maxTextureRepeat;
    out.maxTextureAspectRatio = c.maxTextureAspectRatio;
    for (int i = 0; i < 9; ++i) out.stencil[i] = (c.stencilCaps & kStencilBits[i]) != 0;
    out.maxVertexW = c.maxVertexW;
    out.guardBandLeft = c.guardBandLeft;
    out.guardBandTop = c.guardBandTop;
    out.guardBandRight = c.guardBandRight;
    out.guardBandBottom = c.guardBandBottom;
    out.maxPointSize = c.maxPointSize;
    out.maxPrimitiveCount = c.maxPrimitiveCount;
    out.maxVertexIndex = c.maxVertexIndex;
    out.maxTextureBlendStages = c.maxTextureBlendStages;
    out.maxSimultaneousTextures = c.maxSimultaneousTextures;
    out.maxActiveLights = c.maxActiveLights;
    out.maxVertexBlendMatrices = c.maxVertexBlendMatrices;
    out.maxVertexBlendMatrixIndex = c.maxVertexBlendMatrixIndex;
    out.vertexShaderVersion = c.vertexShaderVersion;
    out.pixelShaderVersion = c.pixelShaderVersion;
    out.maxVertexShaderConstants = c.maxVertexShaderConst;
    out.dynamicFlowControlDepth = static_cast<uint32_t>(c.vs20Caps.dynamicFlowControlDepth);
    out.staticFlowControlDepth = static_cast<uint32_t>(c.vs20Caps.staticFlowControlDepth);
}

void LogCapabilities() {
    DeviceState& state = State();
    Title("デバイス能力の取得");
    gfx::Caps c{};
    state.direct3D->GetDeviceCaps(0, gfx::devtype::kHal, &c);
    ReadCapabilities(c, state.information);
    const DeviceInformation& info = state.information;

    Bold("　デバイス能力");
    const std::pair<bool, const char*> device[] = {
        {info.pureDevice, "ピュアデバイス"},        {info.hardwareTransformAndLight, "ハードウェアＴｎＬ"},
        {info.hardwareRasterization, "ハードウェアラスタライズ"}, {info.minAnisotropic, "縮小異方性フィルタリング"},
        {info.magAnisotropic, "拡大異方性フィルタリング"}, {info.dithering, "ディザリング"},
        {info.depthBias, "深度バイアス"},           {info.wBuffer, "Ｗバッファ"},
        {info.autoMipmap, "ミップマップ自動生成"},
    };
    for (const auto& [set, label] : device) BitLine(set, label);
    Bold("　深度テスト能力");
    for (int i = 0; i < 8; ++i) BitLine(info.depthTest[i], std::string("深度テスト ") + kDepthTestLabels[i]);
    Bold("　ソースブレンド能力");
    for (int i = 0; i < 14; ++i) BitLine(info.sourceBlend[i], std::string("ソースブレンド ") + kBlendLabels[i]);
    Bold("　デストブレンド能力");
    for (int i = 0; i < 14; ++i) BitLine(info.destBlend[i], std::string("デストブレンド ") + kBlendLabels[i]);
    Bold("　テクスチャ能力");
    const std::pair<bool, const char*> texture[] = {
        {info.cubeMap, "キューブマップ"},
        {info.mipMap, "ミップマップ"},
        {info.perspective, "パースペクティブコレクト"},
        {info.pow2, "２のべき乗以外のテクスチャ"},
        {info.squareOnly, "正方形以外のテクスチャ"},
        {info.addressBorder, "テクスチャ BORDER"},
        {info.addressClamp, "テクスチャ CLAMP"},
        {info.addressIndependentUv, "テクスチャ INDEPENDENT"},
        {info.addressMirror, "テクスチャ MIRROR"},
        {info.addressMirrorOnce, "テクスチャ MIRROR RONCE"},
        {info.addressWrap, "テクスチャ WRAP"},
    };
    for (const auto& [set, label] : texture) BitLine(set, label);
    NumberLine("テクスチャ最大横幅", info.maxTextureWidth);
    NumberLine("テクスチャ最大縦幅", info.maxTextureHeight);
    NumberLine("テクスチャ最大リピート数", info.maxTextureRepeat);
    NumberLine("テクスチャ最大アスペクト", info.maxTextureAspectRatio);
    NumberLine("テクスチャ異方性の次数", info.maxAnisotropy);
    Bold("　ステンシル能力");
    for (int i = 0; i < 9; ++i) BitLine(info.stencil[i], std::string("ステンシル ") + kStencilLabels[i]);
    Bold("　その他");
    ZethLog::Print("　　　最大ｗ値 [ %lf ]", static_cast<double>(info.maxVertexW));
    ZethLog::PrintBreak();
    const std::pair<const char*, float> guard[] = {{"左", info.guardBandLeft},
                                                   {"上", info.guardBandTop},
                                                   {"右", info.guardBandRight},
                                                   {"下", info.guardBandBottom}};
    for (const auto& [side, value] : guard) {
        ZethLog::Print("　　　ガードバンド　%s [ %.3lf ]", side, static_cast<double>(value));
        ZethLog::PrintBreak();
    }
    LogDeviceFigures();
}

void LogDeviceFigures() {
    const DeviceInformation& info = State().information;
    ZethLog::Print("　　　ポイントサイズ [ %.3lf ]", static_cast<double>(info.maxPointSize));
    ZethLog::PrintBreak();
    NumberLine("最大プリミティブ数", info.maxPrimitiveCount);
    NumberLine("最大インデックス数", info.maxVertexIndex);
    NumberLine("最大テクスチャステージ数", info.maxTextureBlendStages);
    NumberLine("最大マルチテクスチャ数", info.maxSimultaneousTextures);
    NumberLine("最大ハードウェアライト数", info.maxActiveLights);
    NumberLine("最大ブレンドマトリックス数", info.maxVertexBlendMatrices);
    NumberLine("最大ブレンドインデックス数", info.maxVertexBlendMatrixIndex);
    NumberLine("最大頂点シェーダー定数数", info.maxVertexShaderConstants);
    ZethLog::Print("　　　頂点シェーダーバージョン [ %u.%u ]", (info.vertexShaderVersion >> 8) & 0xFF,
                   info.vertexShaderVersion & 0xFF);
    ZethLog::PrintBreak();
    ZethLog::Print("　　　ピクセルシェーダーバージョン[ %u.%u ]", (info.pixelShaderVersion >> 8) & 0xFF,
                   info.pixelShaderVersion & 0xFF);
    ZethLog::PrintBreak();
    NumberLine("動的フロー制御命令のネスティング", info.dynamicFlowControlDepth);
    NumberLine("静的フロー制御命令のネスティング", info.staticFlowControlDepth);
}

}  // namespace Zeth3D::internal
