// The framework's single graphics device: the library object and adapter inventory, the device
// with its fallbacks, the presentation parameters of both screen modes, format classes, render
// targets, presenting, device loss, and the drawing-state caches with the eight blend modes.
#pragma once

#include <cstdint>

#include "framework/app/zeth.h"
#include "platform/gfx/device.h"

class CBaseImage;

namespace Zeth3D {

namespace gfx = platform::gfx;

// The capability figures of the device, as GetDeviceInformation copies them.
struct DeviceInformation {
    bool pureDevice, hardwareTransformAndLight, hardwareRasterization;
    uint32_t deviceType;
    bool minAnisotropic, magAnisotropic;
    bool dithering, depthBias, wBuffer, autoMipmap;
    bool depthTest[8];      // ALWAYS, EQUAL, GREATER, GREATEREQUAL, LESS, LESSEQUAL, NEVER, NOTEQUAL
    bool sourceBlend[14];   // BLENDFACTOR, BOTHINVSRCALPHA, ... SRCCOLOR, ZERO
    bool destBlend[14];
    bool cubeMap, mipMap, perspective, pow2, squareOnly;
    bool addressBorder, addressClamp, addressIndependentUv, addressMirror, addressMirrorOnce, addressWrap;
    uint32_t maxAnisotropy, maxTextureWidth, maxTextureHeight, maxTextureRepeat, maxTextureAspectRatio;
    bool stencil[9];        // KEEP, ZERO, REPLACE, INCRSAT, DECRSAT, INVERT, INCR, DECR, TWOSIDED
    float maxVertexW, guardBandLeft, guardBandTop, guardBandRight, guardBandBottom, maxPointSize;
    uint32_t maxPrimitiveCount, maxVertexIndex, maxTextureBlendStages, maxSimultaneousTextures;
    uint32_t maxActiveLights, maxVertexBlendMatrices, maxVertexBlendMatrixIndex;
    uint32_t vertexShaderVersion, pixelShaderVersion, maxVertexShaderConstants;
    uint32_t dynamicFlowControlDepth, staticFlowControlDepth;
};

// The default drawing state that material objects copy and re-apply.
struct RenderStateBlock {
    uint32_t sampler[4][gfx::samp::kCount];
    uint32_t textureStage[4][gfx::tss::kCount];
    uint32_t blendMode;
    bool alphaTest, filter, depthTest, depthWrite;
};

bool Initialize();  // the library object and the adapter inventory; false ends start-up
bool Start(Zeth::WindowHandle window, bool windowed);  // the device; false ends start-up
void Finalize();
// Rebuilds the device after a loss, or always when forced (a screen-mode change).
void ResetDevice(bool force);
void Refresh(Zeth::WindowHandle destinationOverride);  // presents the frame
void EnableFullColorMode();  // 32-bit full-screen mode and display format
void SetDialogBoxMode(bool enable);
// The device format of a format class 0-15 (0 takes explicitFormat); 0 when none is supported.
gfx::Format SelectFormat(uint32_t formatIndex, gfx::Format explicitFormat = 0);
gfx::Device* GetDevice();  // no reference added
void GetDeviceInformation(DeviceInformation* out);
const char* GetErrorString(gfx::Result result);
// Makes the image the render target (null: the back buffer); false when it could not bind.
bool SetRenderTarget(CBaseImage* image);
bool ResetRenderTarget();
void SetScaling2D(bool enable, float centreX, float centreY, float scale);
void SetPerspective2D(bool enable, float centreX, float centreY, float factor);

// State caches: a value is sent only when it differs from the cached one.
void InitRenderStates();     // after device creation: read the device, set the defaults
void RestoreRenderStates();  // after creation and every reset: send every listed state again
void SetRenderState(uint32_t state, uint32_t value);
void SetTextureStageStateCached(uint32_t stage, uint32_t type, uint32_t value);
void SetSamplerStateCached(uint32_t sampler, uint32_t type, uint32_t value);
// Blend modes: 0 opaque, 1 alpha, 2 additive, 3 additive without alpha, 4 subtractive,
// 5 subtractive without alpha, 6 multiply, 7 inverting; others change nothing.
void SetBlendMode(uint32_t mode);
void SetFilterEnable(bool on);     // linear filtering with a texel inset of 0.5, or point and 0.0
void SetAlphaTestEnable(bool on);  // drops pixels of alpha 0
void GetRenderStateBlock(RenderStateBlock* block);
void SetRenderStateBlock(const RenderStateBlock* block);
bool Clear(uint32_t flags, uint32_t colour, float z, uint32_t stencil, const gfx::Rect* rect = nullptr);
bool BeginScene();  // nested; only the outermost pair reaches the device
void EndScene();
void SetTexture(uint32_t stage, CBaseImage* image);  // null unbinds; stage 4 or above is ignored
void SelectVertexProcessing(uint16_t major, uint16_t minor);
bool NeedSoftwareVertexProcessing(uint16_t major, uint16_t minor);
bool LockBackBuffer(void** bits, uint32_t* pitch, gfx::Format* format, uint32_t* width, uint32_t* height);
void UnlockBackBuffer();
// Clips the destination to the viewport, moving the source edges by the same proportion;
// false when nothing of the destination is left.
bool ClipRectToViewport(gfx::Rect* destination, gfx::Rect* source);
void GetFog(float* a, float* b, float* c);

}  // namespace Zeth3D
