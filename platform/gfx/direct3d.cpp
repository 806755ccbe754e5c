// The device library object: the one adapter, its display modes, the formats and capabilities
// of the software device, and device creation.
#include <cstring>

#include "platform/gfx/device_impl.h"
#include "platform/gfx/formats.h"

namespace platform::gfx {

namespace {

constexpr uint32_t kDesktopWidth = 1920, kDesktopHeight = 1080, kRefreshRate = 60;

// Display modes offered in each of the two display formats, all at 60 Hz.
constexpr uint32_t kModeSizes[][2] = {{640, 480},   {800, 600},   {1024, 768},
                                      {1280, 720},  {1280, 960},  {1920, 1080}};
constexpr uint32_t kModeCount = sizeof kModeSizes / sizeof kModeSizes[0];

bool IsDisplayFormat(Format format) {
    return format == fmt::kX8R8G8B8 || format == fmt::kR5G6B5;
}

Caps DeviceCaps(uint32_t deviceType) {
    Caps c{};
    c.deviceType = deviceType;
    c.devCaps = caps::kHwTransformAndLight | caps::kHwRasterization;
    c.zCmpCaps = c.alphaCmpCaps = 0xFF;  // all eight comparisons
    c.srcBlendCaps = c.destBlendCaps = 0x3FFF;  // all fourteen factors
    c.textureCaps = caps::kTexturePerspective | caps::kTextureAlpha | caps::kTextureMipMap;
    c.textureFilterCaps = caps::kFilterMinPoint | caps::kFilterMinLinear |
                          caps::kFilterMagPoint | caps::kFilterMagLinear;
    c.textureAddressCaps = caps::kAddressWrap | caps::kAddressMirror | caps::kAddressClamp |
                           caps::kAddressBorder | caps::kAddressIndependentUv |
                           caps::kAddressMirrorOnce;
    c.maxTextureWidth = c.maxTextureHeight = 4096;
    c.maxTextureRepeat = 8192;
    c.maxTextureAspectRatio = 4096;
    c.maxAnisotropy = 1;
    c.maxVertexW = 1.0e10f;
    c.guardBandLeft = c.guardBandTop = -16384.0f;
    c.guardBandRight = c.guardBandBottom = 16384.0f;
    c.maxPointSize = 1.0f;
    c.maxPrimitiveCount = 0xFFFFF;
    c.maxVertexIndex = 0xFFFFFF;
    c.maxTextureBlendStages = c.maxSimultaneousTextures = kStageCount;
    c.maxActiveLights = 8;
    c.vertexShaderVersion = 0xFFFE0000;  // none
    c.pixelShaderVersion = 0xFFFF0000;   // none
    return c;
}

class Direct3DImpl final : public Direct3D {
public:
    uint32_t GetAdapterCount() override { return 1; }

    Result GetAdapterIdentifier(uint32_t adapter, uint32_t,
                                AdapterIdentifier* identifier) override {
        if (adapter != 0 || !identifier) return result::kInvalidCall;
        *identifier = {};
        std::strcpy(identifier->driver, "platform_gfx");
        std::strcpy(identifier->description, "Software Rasterizer");
        std::strcpy(identifier->deviceName, "DISPLAY1");
        identifier->driverVersionHighPart = 1u << 16 | 0;  // product 1, version 0
        identifier->driverVersionLowPart = 0u << 16 | 1;   // sub-version 0, build 1
        return result::kOk;
    }

    uint32_t GetAdapterModeCount(uint32_t adapter, Format format) override {
        return adapter == 0 && IsDisplayFormat(format) ? kModeCount : 0;
    }

    Result EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode,
                            DisplayMode* displayMode) override {
        if (!displayMode || mode >= GetAdapterModeCount(adapter, format)) {
            return result::kInvalidCall;
        }
        *displayMode = {kModeSizes[mode][0], kModeSizes[mode][1], kRefreshRate, format};
        return result::kOk;
    }

    Result GetAdapterDisplayMode(uint32_t adapter, DisplayMode* mode) override {
        if (adapter != 0 || !mode) return result::kInvalidCall;
        *mode = {kDesktopWidth, kDesktopHeight, kRefreshRate, fmt::kX8R8G8B8};
        return result::kOk;
    }

    Result CheckDeviceFormat(uint32_t adapter, uint32_t, Format adapterFormat, uint32_t use,
                             uint32_t resourceType, Format format) override {
        if (adapter != 0 || !IsDisplayFormat(adapterFormat)) return result::kInvalidCall;
        bool supported;
        if (use & usage::kDepthStencil) {
            supported = IsDepthFormat(format) && resourceType == rtype::kSurface;
        } else if (use & usage::kRenderTarget) {
            supported = IsRenderTargetFormat(format) &&
                        (resourceType == rtype::kSurface || resourceType == rtype::kTexture);
        } else {
            supported = IsColorFormat(format) &&
                        (resourceType == rtype::kSurface || resourceType == rtype::kTexture);
        }
        return supported ? result::kOk : result::kNotAvailable;
    }

    Result GetDeviceCaps(uint32_t adapter, uint32_t deviceType, Caps* caps) override {
        if (adapter != 0 || !caps || deviceType < devtype::kHal || deviceType > devtype::kSoftware) {
            return result::kInvalidCall;
        }
        *caps = DeviceCaps(deviceType);
        return result::kOk;
    }

    Result CreateDevice(uint32_t adapter, uint32_t deviceType, WindowHandle focusWindow,
                        uint32_t behaviorFlags, PresentParameters* parameters,
                        Device** device) override {
        if (!device) return result::kInvalidCall;
        *device = nullptr;
        if (adapter != 0 || !parameters ||
            (deviceType != devtype::kHal && deviceType != devtype::kRef) ||
            (parameters->backBufferFormat != fmt::kUnknown &&
             !IsRenderTargetFormat(parameters->backBufferFormat)) ||
            parameters->backBufferWidth > 4096 || parameters->backBufferHeight > 4096) {
            return result::kInvalidCall;
        }
        *device = new DeviceImpl({adapter, deviceType, focusWindow, behaviorFlags}, *parameters);
        return result::kOk;
    }
};

}  // namespace

Result DeviceImpl::GetDeviceCaps(Caps* caps) {
    if (!caps) return result::kInvalidCall;
    *caps = DeviceCaps(creation_.deviceType);
    return result::kOk;
}

Direct3D* CreateDirect3D(uint32_t sdkVersion) {
    return sdkVersion == kSdkVersion ? new Direct3DImpl : nullptr;
}

}  // namespace platform::gfx
