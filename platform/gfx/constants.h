// The numbers of the software device: formats, states, factors, vertex-format bits, usages,
// pools, lock and clear flags, result codes and capability bits. They carry the values the
// framework and the game send as raw numbers, so every value here is fixed.
#pragma once

#include <cstdint>

namespace platform::gfx {

using Format = uint32_t;  // a surface format number (fmt::)
using Result = int32_t;   // a result code (result::); negative means failure

constexpr uint32_t FourCc(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

namespace result {
constexpr Result kOk = 0;
constexpr Result kFail = int32_t(0x80004005u);
constexpr Result kInvalidArg = int32_t(0x80070057u);
constexpr Result kOutOfMemory = int32_t(0x8007000Eu);
constexpr Result kOutOfVideoMemory = int32_t(0x8876017Cu);
constexpr Result kWasStillDrawing = int32_t(0x8876021Cu);
constexpr Result kWrongTextureFormat = int32_t(0x88760818u);
constexpr Result kUnsupportedColorOperation = int32_t(0x88760819u);
constexpr Result kUnsupportedColorArg = int32_t(0x8876081Au);
constexpr Result kUnsupportedAlphaOperation = int32_t(0x8876081Bu);
constexpr Result kUnsupportedAlphaArg = int32_t(0x8876081Cu);
constexpr Result kTooManyOperations = int32_t(0x8876081Du);
constexpr Result kConflictingTextureFilter = int32_t(0x8876081Eu);
constexpr Result kUnsupportedFactorValue = int32_t(0x8876081Fu);
constexpr Result kConflictingRenderState = int32_t(0x88760821u);
constexpr Result kUnsupportedTextureFilter = int32_t(0x88760822u);
constexpr Result kConflictingTexturePalette = int32_t(0x88760826u);
constexpr Result kDriverInternalError = int32_t(0x88760827u);
constexpr Result kNotFound = int32_t(0x88760866u);
constexpr Result kMoreData = int32_t(0x88760867u);
constexpr Result kDeviceLost = int32_t(0x88760868u);
constexpr Result kDeviceNotReset = int32_t(0x88760869u);
constexpr Result kNotAvailable = int32_t(0x8876086Au);
constexpr Result kInvalidDevice = int32_t(0x8876086Bu);
constexpr Result kInvalidCall = int32_t(0x8876086Cu);
constexpr Result kDriverInvalidCall = int32_t(0x8876086Du);
// Results of the image and mesh helpers.
constexpr Result kCannotModifyIndexBuffer = int32_t(0x88760B54u);
constexpr Result kInvalidMesh = int32_t(0x88760B55u);
constexpr Result kCannotAttrSort = int32_t(0x88760B56u);
constexpr Result kSkinningNotSupported = int32_t(0x88760B57u);
constexpr Result kTooManyInfluences = int32_t(0x88760B58u);
constexpr Result kInvalidData = int32_t(0x88760B59u);
constexpr Result kLoadedMeshHasNoData = int32_t(0x88760B5Au);
}  // namespace result

constexpr bool Succeeded(Result r) { return r >= 0; }
constexpr bool Failed(Result r) { return r < 0; }

namespace fmt {
constexpr Format kUnknown = 0;
constexpr Format kR8G8B8 = 20;
constexpr Format kA8R8G8B8 = 21;
constexpr Format kX8R8G8B8 = 22;
constexpr Format kR5G6B5 = 23;
constexpr Format kX1R5G5B5 = 24;
constexpr Format kA1R5G5B5 = 25;
constexpr Format kA4R4G4B4 = 26;
constexpr Format kR3G3B2 = 27;
constexpr Format kA8 = 28;
constexpr Format kA8R3G3B2 = 29;
constexpr Format kX4R4G4B4 = 30;
constexpr Format kA2B10G10R10 = 31;
constexpr Format kA8B8G8R8 = 32;
constexpr Format kX8B8G8R8 = 33;
constexpr Format kG16R16 = 34;
constexpr Format kA2R10G10B10 = 35;
constexpr Format kA16B16G16R16 = 36;
constexpr Format kA8P8 = 40;
constexpr Format kP8 = 41;
constexpr Format kL8 = 50;
constexpr Format kA8L8 = 51;
constexpr Format kA4L4 = 52;
constexpr Format kV8U8 = 60;
constexpr Format kL6V5U5 = 61;
constexpr Format kX8L8V8U8 = 62;
constexpr Format kQ8W8V8U8 = 63;
constexpr Format kV16U16 = 64;
constexpr Format kA2W10V10U10 = 67;
constexpr Format kD16Lockable = 70;
constexpr Format kD32 = 71;
constexpr Format kD15S1 = 73;
constexpr Format kD24S8 = 75;
constexpr Format kD24X8 = 77;
constexpr Format kD24X4S4 = 79;
constexpr Format kD16 = 80;
constexpr Format kL16 = 81;
constexpr Format kD32FLockable = 82;
constexpr Format kD24FS8 = 83;
constexpr Format kVertexData = 100;
constexpr Format kIndex16 = 101;
constexpr Format kIndex32 = 102;
constexpr Format kQ16W16V16U16 = 110;
constexpr Format kR16F = 111;
constexpr Format kG16R16F = 112;
constexpr Format kA16B16G16R16F = 113;
constexpr Format kR32F = 114;
constexpr Format kG32R32F = 115;
constexpr Format kA32B32G32R32F = 116;
constexpr Format kCxV8U8 = 117;
constexpr Format kDxt1 = FourCc('D', 'X', 'T', '1');
constexpr Format kDxt2 = FourCc('D', 'X', 'T', '2');
constexpr Format kDxt3 = FourCc('D', 'X', 'T', '3');
constexpr Format kDxt4 = FourCc('D', 'X', 'T', '4');
constexpr Format kDxt5 = FourCc('D', 'X', 'T', '5');
constexpr Format kUyvy = FourCc('U', 'Y', 'V', 'Y');
constexpr Format kYuy2 = FourCc('Y', 'U', 'Y', '2');
constexpr Format kG8R8G8B8 = FourCc('G', 'R', 'G', 'B');
constexpr Format kR8G8B8G8 = FourCc('R', 'G', 'B', 'G');
}  // namespace fmt

// Render-state numbers.
namespace rs {
constexpr uint32_t kZEnable = 7;
constexpr uint32_t kFillMode = 8;
constexpr uint32_t kShadeMode = 9;
constexpr uint32_t kZWriteEnable = 14;
constexpr uint32_t kAlphaTestEnable = 15;
constexpr uint32_t kLastPixel = 16;
constexpr uint32_t kSrcBlend = 19;
constexpr uint32_t kDestBlend = 20;
constexpr uint32_t kCullMode = 22;
constexpr uint32_t kZFunc = 23;
constexpr uint32_t kAlphaRef = 24;
constexpr uint32_t kAlphaFunc = 25;
constexpr uint32_t kDitherEnable = 26;
constexpr uint32_t kAlphaBlendEnable = 27;
constexpr uint32_t kFogEnable = 28;
constexpr uint32_t kSpecularEnable = 29;
constexpr uint32_t kStencilEnable = 52;
constexpr uint32_t kTextureFactor = 60;
constexpr uint32_t kClipping = 136;
constexpr uint32_t kLighting = 137;
constexpr uint32_t kAmbient = 139;
constexpr uint32_t kColorVertex = 141;
constexpr uint32_t kNormalizeNormals = 143;
constexpr uint32_t kDiffuseMaterialSource = 145;
constexpr uint32_t kColorWriteEnable = 168;
constexpr uint32_t kBlendOp = 171;
constexpr uint32_t kScissorTestEnable = 174;
constexpr uint32_t kSeparateAlphaBlendEnable = 206;
constexpr uint32_t kBlendOpAlpha = 209;
constexpr uint32_t kCount = 210;  // states are numbered below this
}  // namespace rs

// The 103 render states the device defines, in number order (the framework's caches read and
// re-send exactly these).
inline constexpr uint32_t kDefinedRenderStates[] = {
    7,   8,   9,   14,  15,  16,  19,  20,  22,  23,  24,  25,  26,  27,  28,  29,  34,  35,
    36,  37,  38,  48,  52,  53,  54,  55,  56,  57,  58,  59,  60,  128, 129, 130, 131, 132,
    133, 134, 135, 136, 137, 139, 140, 141, 142, 143, 145, 146, 147, 148, 151, 152, 154, 155,
    156, 157, 158, 159, 160, 161, 162, 163, 165, 166, 167, 168, 170, 171, 172, 173, 174, 175,
    176, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191, 192, 193, 194,
    195, 198, 199, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209};

// Texture-stage state numbers.
namespace tss {
constexpr uint32_t kColorOp = 1;
constexpr uint32_t kColorArg1 = 2;
constexpr uint32_t kColorArg2 = 3;
constexpr uint32_t kAlphaOp = 4;
constexpr uint32_t kAlphaArg1 = 5;
constexpr uint32_t kAlphaArg2 = 6;
constexpr uint32_t kTexCoordIndex = 11;
constexpr uint32_t kTextureTransformFlags = 24;
constexpr uint32_t kColorArg0 = 26;
constexpr uint32_t kAlphaArg0 = 27;
constexpr uint32_t kResultArg = 28;
constexpr uint32_t kConstant = 32;
constexpr uint32_t kCount = 33;  // stage states are numbered below this
}  // namespace tss

// The 18 texture-stage states the device defines.
inline constexpr uint32_t kDefinedTextureStageStates[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                          10, 11, 22, 23, 24, 26, 27, 28, 32};

// Sampler state numbers (1 to 13 are all defined).
namespace samp {
constexpr uint32_t kAddressU = 1;
constexpr uint32_t kAddressV = 2;
constexpr uint32_t kAddressW = 3;
constexpr uint32_t kBorderColor = 4;
constexpr uint32_t kMagFilter = 5;
constexpr uint32_t kMinFilter = 6;
constexpr uint32_t kMipFilter = 7;
constexpr uint32_t kMipMapLodBias = 8;
constexpr uint32_t kMaxMipLevel = 9;
constexpr uint32_t kMaxAnisotropy = 10;
constexpr uint32_t kSrgbTexture = 11;
constexpr uint32_t kElementIndex = 12;
constexpr uint32_t kDmapOffset = 13;
constexpr uint32_t kCount = 14;
}  // namespace samp

constexpr uint32_t kStageCount = 4;    // texture stages and samplers the device keeps
constexpr uint32_t kStreamCount = 1;   // vertex streams

// Blend factors (SRCBLEND, DESTBLEND).
namespace blend {
constexpr uint32_t kZero = 1;
constexpr uint32_t kOne = 2;
constexpr uint32_t kSrcColor = 3;
constexpr uint32_t kInvSrcColor = 4;
constexpr uint32_t kSrcAlpha = 5;
constexpr uint32_t kInvSrcAlpha = 6;
constexpr uint32_t kDestAlpha = 7;
constexpr uint32_t kInvDestAlpha = 8;
constexpr uint32_t kDestColor = 9;
constexpr uint32_t kInvDestColor = 10;
constexpr uint32_t kSrcAlphaSat = 11;
constexpr uint32_t kBothSrcAlpha = 12;
constexpr uint32_t kBothInvSrcAlpha = 13;
constexpr uint32_t kBlendFactor = 14;
constexpr uint32_t kInvBlendFactor = 15;
}  // namespace blend

// Blend operations (BLENDOP).
namespace blendop {
constexpr uint32_t kAdd = 1;
constexpr uint32_t kSubtract = 2;
constexpr uint32_t kRevSubtract = 3;
constexpr uint32_t kMin = 4;
constexpr uint32_t kMax = 5;
}  // namespace blendop

// Comparison functions (ALPHAFUNC, ZFUNC).
namespace cmp {
constexpr uint32_t kNever = 1;
constexpr uint32_t kLess = 2;
constexpr uint32_t kEqual = 3;
constexpr uint32_t kLessEqual = 4;
constexpr uint32_t kGreater = 5;
constexpr uint32_t kNotEqual = 6;
constexpr uint32_t kGreaterEqual = 7;
constexpr uint32_t kAlways = 8;
}  // namespace cmp

namespace cull {
constexpr uint32_t kNone = 1;
constexpr uint32_t kClockwise = 2;
constexpr uint32_t kCounterClockwise = 3;
}  // namespace cull

namespace shade {
constexpr uint32_t kFlat = 1;
constexpr uint32_t kGouraud = 2;
}  // namespace shade

// Texture-stage operations (COLOROP, ALPHAOP).
namespace top {
constexpr uint32_t kDisable = 1;
constexpr uint32_t kSelectArg1 = 2;
constexpr uint32_t kSelectArg2 = 3;
constexpr uint32_t kModulate = 4;
constexpr uint32_t kModulate2x = 5;
constexpr uint32_t kModulate4x = 6;
constexpr uint32_t kAdd = 7;
}  // namespace top

// Texture-stage arguments (COLORARG1 and so on).
namespace ta {
constexpr uint32_t kDiffuse = 0;
constexpr uint32_t kCurrent = 1;
constexpr uint32_t kTexture = 2;
constexpr uint32_t kTFactor = 3;
constexpr uint32_t kSpecular = 4;
constexpr uint32_t kTemp = 5;
constexpr uint32_t kConstant = 6;
constexpr uint32_t kSelectMask = 0x0F;
constexpr uint32_t kComplement = 0x10;
constexpr uint32_t kAlphaReplicate = 0x20;
}  // namespace ta

// Texture addressing (ADDRESSU, ADDRESSV).
namespace address {
constexpr uint32_t kWrap = 1;
constexpr uint32_t kMirror = 2;
constexpr uint32_t kClamp = 3;
constexpr uint32_t kBorder = 4;
constexpr uint32_t kMirrorOnce = 5;
}  // namespace address

// Texture filters (MAGFILTER, MINFILTER, MIPFILTER, StretchRect).
namespace filter {
constexpr uint32_t kNone = 0;
constexpr uint32_t kPoint = 1;
constexpr uint32_t kLinear = 2;
constexpr uint32_t kAnisotropic = 3;
}  // namespace filter

// Flexible vertex format bits.
namespace fvf {
constexpr uint32_t kPositionMask = 0x400E;
constexpr uint32_t kXyz = 0x002;
constexpr uint32_t kXyzRhw = 0x004;
constexpr uint32_t kNormal = 0x010;
constexpr uint32_t kPointSize = 0x020;
constexpr uint32_t kDiffuse = 0x040;
constexpr uint32_t kSpecular = 0x080;
constexpr uint32_t kTexCountMask = 0xF00;
constexpr uint32_t kTexCountShift = 8;
constexpr uint32_t kTex1 = 0x100;
constexpr uint32_t kTex2 = 0x200;
constexpr uint32_t kTex3 = 0x300;
constexpr uint32_t kTex4 = 0x400;
}  // namespace fvf

namespace prim {
constexpr uint32_t kPointList = 1;
constexpr uint32_t kLineList = 2;
constexpr uint32_t kLineStrip = 3;
constexpr uint32_t kTriangleList = 4;
constexpr uint32_t kTriangleStrip = 5;
constexpr uint32_t kTriangleFan = 6;
}  // namespace prim

namespace usage {
constexpr uint32_t kRenderTarget = 0x1;
constexpr uint32_t kDepthStencil = 0x2;
constexpr uint32_t kWriteOnly = 0x8;
constexpr uint32_t kSoftwareProcessing = 0x10;
constexpr uint32_t kDynamic = 0x200;
constexpr uint32_t kAutoGenMipMap = 0x400;
}  // namespace usage

namespace pool {
constexpr uint32_t kDefault = 0;
constexpr uint32_t kManaged = 1;
constexpr uint32_t kSystemMem = 2;
constexpr uint32_t kScratch = 3;
}  // namespace pool

namespace lock {
constexpr uint32_t kReadOnly = 0x10;
constexpr uint32_t kNoSysLock = 0x800;
constexpr uint32_t kNoOverwrite = 0x1000;
constexpr uint32_t kDiscard = 0x2000;
constexpr uint32_t kDoNotWait = 0x4000;
}  // namespace lock

namespace clear {
constexpr uint32_t kTarget = 1;
constexpr uint32_t kZBuffer = 2;
constexpr uint32_t kStencil = 4;
}  // namespace clear

// Transform-state numbers of SetTransform.
namespace transform {
constexpr uint32_t kView = 2;
constexpr uint32_t kProjection = 3;
constexpr uint32_t kTexture0 = 16;
constexpr uint32_t kWorld = 256;
}  // namespace transform

namespace devtype {
constexpr uint32_t kHal = 1;
constexpr uint32_t kRef = 2;
constexpr uint32_t kSoftware = 3;
}  // namespace devtype

// Behaviour flags of CreateDevice.
namespace create {
constexpr uint32_t kMultithreaded = 0x4;
constexpr uint32_t kPureDevice = 0x10;
constexpr uint32_t kSoftwareVertexProcessing = 0x20;
constexpr uint32_t kHardwareVertexProcessing = 0x40;
constexpr uint32_t kMixedVertexProcessing = 0x80;
}  // namespace create

// Resource types of CheckDeviceFormat.
namespace rtype {
constexpr uint32_t kSurface = 1;
constexpr uint32_t kVolume = 2;
constexpr uint32_t kTexture = 3;
constexpr uint32_t kVolumeTexture = 4;
constexpr uint32_t kCubeTexture = 5;
constexpr uint32_t kVertexBuffer = 6;
constexpr uint32_t kIndexBuffer = 7;
}  // namespace rtype

namespace swapeffect {
constexpr uint32_t kDiscard = 1;
constexpr uint32_t kFlip = 2;
constexpr uint32_t kCopy = 3;
}  // namespace swapeffect

constexpr uint32_t kPresentFlagLockableBackBuffer = 0x1;
constexpr uint32_t kPresentIntervalDefault = 0;

// Capability bits reported in Caps.
namespace caps {
// Caps2
constexpr uint32_t kCanAutoGenMipMap = 0x40000000;
// DevCaps
constexpr uint32_t kHwTransformAndLight = 0x00010000;
constexpr uint32_t kHwRasterization = 0x00080000;
constexpr uint32_t kPureDevice = 0x00100000;
// RasterCaps
constexpr uint32_t kDither = 0x00000001;
constexpr uint32_t kWBuffer = 0x00040000;
constexpr uint32_t kDepthBias = 0x04000000;
// ZCmpCaps and AlphaCmpCaps
constexpr uint32_t kCmpNever = 0x01;
constexpr uint32_t kCmpLess = 0x02;
constexpr uint32_t kCmpEqual = 0x04;
constexpr uint32_t kCmpLessEqual = 0x08;
constexpr uint32_t kCmpGreater = 0x10;
constexpr uint32_t kCmpNotEqual = 0x20;
constexpr uint32_t kCmpGreaterEqual = 0x40;
constexpr uint32_t kCmpAlways = 0x80;
// SrcBlendCaps and DestBlendCaps
constexpr uint32_t kBlendZero = 0x0001;
constexpr uint32_t kBlendOne = 0x0002;
constexpr uint32_t kBlendSrcColor = 0x0004;
constexpr uint32_t kBlendInvSrcColor = 0x0008;
constexpr uint32_t kBlendSrcAlpha = 0x0010;
constexpr uint32_t kBlendInvSrcAlpha = 0x0020;
constexpr uint32_t kBlendDestAlpha = 0x0040;
constexpr uint32_t kBlendInvDestAlpha = 0x0080;
constexpr uint32_t kBlendDestColor = 0x0100;
constexpr uint32_t kBlendInvDestColor = 0x0200;
constexpr uint32_t kBlendSrcAlphaSat = 0x0400;
constexpr uint32_t kBlendBothSrcAlpha = 0x0800;
constexpr uint32_t kBlendBothInvSrcAlpha = 0x1000;
constexpr uint32_t kBlendBlendFactor = 0x2000;
// TextureCaps
constexpr uint32_t kTexturePerspective = 0x0001;
constexpr uint32_t kTexturePow2 = 0x0002;
constexpr uint32_t kTextureAlpha = 0x0004;
constexpr uint32_t kTextureSquareOnly = 0x0020;
constexpr uint32_t kTextureCubeMap = 0x0800;
constexpr uint32_t kTextureMipMap = 0x4000;
// TextureFilterCaps
constexpr uint32_t kFilterMinPoint = 0x00000100;
constexpr uint32_t kFilterMinLinear = 0x00000200;
constexpr uint32_t kFilterMinAnisotropic = 0x00000400;
constexpr uint32_t kFilterMagPoint = 0x01000000;
constexpr uint32_t kFilterMagLinear = 0x02000000;
constexpr uint32_t kFilterMagAnisotropic = 0x04000000;
// TextureAddressCaps
constexpr uint32_t kAddressWrap = 0x01;
constexpr uint32_t kAddressMirror = 0x02;
constexpr uint32_t kAddressClamp = 0x04;
constexpr uint32_t kAddressBorder = 0x08;
constexpr uint32_t kAddressIndependentUv = 0x10;
constexpr uint32_t kAddressMirrorOnce = 0x20;
// StencilCaps
constexpr uint32_t kStencilKeep = 0x001;
constexpr uint32_t kStencilZero = 0x002;
constexpr uint32_t kStencilReplace = 0x004;
constexpr uint32_t kStencilIncrSat = 0x008;
constexpr uint32_t kStencilDecrSat = 0x010;
constexpr uint32_t kStencilInvert = 0x020;
constexpr uint32_t kStencilIncr = 0x040;
constexpr uint32_t kStencilDecr = 0x080;
constexpr uint32_t kStencilTwoSided = 0x100;
}  // namespace caps

}  // namespace platform::gfx
