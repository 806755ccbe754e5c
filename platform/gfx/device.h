// The software graphics device: a rasteriser with the operations, numbers and conventions of
// the fixed-function Direct3D 9 subset the framework uses. Objects are reference-counted (the
// creator holds the first reference); results are result:: codes. Pixel centres sit at integer
// coordinates, triangles follow the top-left fill rule, texture coordinate u maps to u x width
// texels with texel centres at half-texel positions, and every frame is bit-exact from run to run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/constants.h"

namespace platform::gfx {

using WindowHandle = void*;  // the window a device presents to; only stored and returned

struct Rect {  // pixels left <= x < right, top <= y < bottom
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct Point {
    int32_t x;
    int32_t y;
};

struct LockedRect {
    int32_t pitch;  // bytes from one row to the next
    void* bits;     // the first byte of the locked rectangle
};

struct SurfaceDesc {
    Format format;
    uint32_t type;   // rtype::kSurface or rtype::kTexture
    uint32_t usage;  // usage:: bits
    uint32_t pool;   // pool::
    uint32_t multiSampleType;
    uint32_t multiSampleQuality;
    uint32_t width;
    uint32_t height;
};

struct BufferDesc {
    Format format;  // fmt::kVertexData, fmt::kIndex16 or fmt::kIndex32
    uint32_t type;  // rtype::kVertexBuffer or rtype::kIndexBuffer
    uint32_t usage;
    uint32_t pool;
    uint32_t size;  // bytes
    uint32_t fvf;   // vertex buffers only
};

struct Viewport {
    uint32_t x;
    uint32_t y;
    uint32_t width;
    uint32_t height;
    float minZ;
    float maxZ;
};

struct Matrix {  // row vectors times the matrix; row 3 holds the translation
    float m[4][4];
};

struct ColorValue {
    float r;
    float g;
    float b;
    float a;
};

struct Vector3 {
    float x;
    float y;
    float z;
};

struct Material {
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power;
};

namespace light {
constexpr uint32_t kPoint = 1;
constexpr uint32_t kSpot = 2;
constexpr uint32_t kDirectional = 3;
}  // namespace light

struct Light {
    uint32_t type;  // light::
    ColorValue diffuse;
    ColorValue specular;
    ColorValue ambient;
    Vector3 position;
    Vector3 direction;
    float range;
    float falloff;
    float attenuation0;
    float attenuation1;
    float attenuation2;
    float theta;
    float phi;
};

struct DisplayMode {
    uint32_t width;
    uint32_t height;
    uint32_t refreshRate;
    Format format;
};

struct AdapterIdentifier {
    char driver[512];
    char description[512];
    char deviceName[32];
    uint32_t driverVersionLowPart;   // sub-version << 16 | build
    uint32_t driverVersionHighPart;  // product << 16 | version
    uint32_t vendorId;
    uint32_t deviceId;
    uint32_t subSysId;
    uint32_t revision;
    uint32_t whqlLevel;  // 0 not certified, 1 certified without a date, else year << 16 | month << 8 | day
};

struct PresentParameters {
    uint32_t backBufferWidth;
    uint32_t backBufferHeight;
    Format backBufferFormat;
    uint32_t backBufferCount;
    uint32_t multiSampleType;
    uint32_t multiSampleQuality;
    uint32_t swapEffect;
    WindowHandle deviceWindow;
    bool windowed;
    bool enableAutoDepthStencil;
    Format autoDepthStencilFormat;
    uint32_t flags;
    uint32_t fullScreenRefreshRate;
    uint32_t presentationInterval;
};

struct CreationParameters {
    uint32_t adapter;
    uint32_t deviceType;
    WindowHandle focusWindow;
    uint32_t behaviorFlags;
};

struct VertexShaderCaps2 {
    uint32_t caps;
    int32_t dynamicFlowControlDepth;
    int32_t numTemps;
    int32_t staticFlowControlDepth;
};

// The device's capabilities (the caps:: bits in the bit fields).
struct Caps {
    uint32_t deviceType;
    uint32_t adapterOrdinal;
    uint32_t caps2;
    uint32_t devCaps;
    uint32_t rasterCaps;
    uint32_t zCmpCaps;
    uint32_t srcBlendCaps;
    uint32_t destBlendCaps;
    uint32_t alphaCmpCaps;
    uint32_t textureCaps;
    uint32_t textureFilterCaps;
    uint32_t textureAddressCaps;
    uint32_t stencilCaps;
    uint32_t maxTextureWidth;
    uint32_t maxTextureHeight;
    uint32_t maxTextureRepeat;
    uint32_t maxTextureAspectRatio;
    uint32_t maxAnisotropy;
    float maxVertexW;
    float guardBandLeft;
    float guardBandTop;
    float guardBandRight;
    float guardBandBottom;
    float maxPointSize;
    uint32_t maxPrimitiveCount;
    uint32_t maxVertexIndex;
    uint32_t maxTextureBlendStages;
    uint32_t maxSimultaneousTextures;
    uint32_t maxActiveLights;
    uint32_t maxVertexBlendMatrices;
    uint32_t maxVertexBlendMatrixIndex;
    uint32_t vertexShaderVersion;  // 0xFFFE0000 | major << 8 | minor
    uint32_t pixelShaderVersion;   // 0xFFFF0000 | major << 8 | minor
    uint32_t maxVertexShaderConst;
    VertexShaderCaps2 vs20Caps;
};

class Device;

// Intrusive reference count shared by every device object.
class RefCounted {
public:
    virtual uint32_t AddRef();   // returns the new count
    virtual uint32_t Release();  // returns the new count; the object is destroyed at 0
    virtual uint32_t RefCount() const { return refs_; }

protected:
    RefCounted() = default;
    virtual ~RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

private:
    uint32_t refs_ = 1;
};

// A two-dimensional pixel array in one format: a texture level, a render target, a depth buffer,
// an off-screen plain surface or the back buffer. A level of a texture shares the texture's
// reference count.
class Surface : public RefCounted {
public:
    virtual Result GetDesc(SurfaceDesc* desc) = 0;
    // Locks a rectangle (null: the whole surface) for reading and writing in the native format.
    // Fails with kInvalidCall when already locked, for surfaces the program cannot reach
    // (default-pool textures that are not dynamic, render targets made without `lockable`, the
    // back buffer without the lockable flag, depth buffers) and for rectangles outside it.
    virtual Result LockRect(LockedRect* locked, const Rect* rect, uint32_t flags) = 0;
    virtual Result UnlockRect() = 0;
    // The texture this surface is a level of, or null (no reference added).
    virtual class Texture* GetContainerTexture() = 0;
    // The picture as 32-bit ARGB, width x height pixels, row after row (what sampling reads).
    virtual const uint32_t* ArgbPixels() const = 0;
    virtual uint32_t Width() const = 0;
    virtual uint32_t Height() const = 0;
};

// A texture with one or more levels, each a Surface.
class Texture : public RefCounted {
public:
    virtual uint32_t GetLevelCount() = 0;
    virtual Result GetLevelDesc(uint32_t level, SurfaceDesc* desc) = 0;
    virtual Result GetSurfaceLevel(uint32_t level, Surface** surface) = 0;  // adds a reference
    virtual Result LockRect(uint32_t level, LockedRect* locked, const Rect* rect, uint32_t flags) = 0;
    virtual Result UnlockRect(uint32_t level) = 0;
    virtual Result AddDirtyRect(const Rect* rect) = 0;  // accepted; the device keeps no dirty state
};

// A vertex or index buffer in system memory.
class Buffer : public RefCounted {
public:
    virtual Result GetDesc(BufferDesc* desc) = 0;
    // Locks size bytes from offset (size 0: to the end). Fails when already locked or out of range.
    virtual Result Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) = 0;
    virtual Result Unlock() = 0;
};
class VertexBuffer : public Buffer {};
class IndexBuffer : public Buffer {};

// Element types and usages of a vertex declaration.
namespace decltype_ {
constexpr uint8_t kFloat1 = 0;
constexpr uint8_t kFloat2 = 1;
constexpr uint8_t kFloat3 = 2;
constexpr uint8_t kFloat4 = 3;
constexpr uint8_t kColor = 4;  // a 32-bit ARGB word
constexpr uint8_t kUbyte4 = 5;
constexpr uint8_t kUnused = 17;
}  // namespace decltype_

namespace declusage {
constexpr uint8_t kPosition = 0;
constexpr uint8_t kBlendWeight = 1;
constexpr uint8_t kBlendIndices = 2;
constexpr uint8_t kNormal = 3;
constexpr uint8_t kTexCoord = 5;
constexpr uint8_t kTangent = 6;
constexpr uint8_t kBinormal = 7;
constexpr uint8_t kPositionT = 9;  // pre-transformed position
constexpr uint8_t kColor = 10;
}  // namespace declusage

// One element of a vertex declaration; a list ends with {0xFF, 0, decltype_::kUnused, 0, 0, 0}.
struct VertexElement {
    uint16_t stream;
    uint16_t offset;
    uint8_t type;
    uint8_t method;
    uint8_t usage;
    uint8_t usageIndex;
};

// A vertex layout given element by element instead of by FVF bits.
class VertexDeclaration : public RefCounted {
public:
    // The elements, without the end marker.
    virtual const std::vector<VertexElement>& Elements() const = 0;
};

// What a vertex program reads of one vertex, found in the declaration by usage. A missing
// element, and the components an element does not carry, read as (0, 0, 0, 1).
struct ProgramInput {
    float position[2][4];     // POSITION0 and POSITION1
    float normal[2][4];       // NORMAL0 and NORMAL1
    float blendWeight[4];     // BLENDWEIGHT, one to four floats
    uint8_t blendIndices[4];  // BLENDINDICES (a colour or four bytes): its bytes in memory order
    float color[4];           // COLOR0 as red, green, blue, alpha from 0 to 1
    float texCoord[4];        // TEXCOORD0
};

// What a vertex program gives the rasteriser for one vertex.
struct ProgramOutput {
    float position[4];     // clip space
    float color[4];        // red, green, blue, alpha; clamped to 0..1 by the device
    float texCoord[2][3];  // coordinate sets 0 and 1; each stage takes the set its index names
    float fog;             // carried: the device does not apply fog
};

// A software vertex program, what SetVertexShader takes. It replaces the fixed-function
// transform and lighting; clipping, rasterising and the texture stages stay the device's.
class VertexProgram : public RefCounted {
public:
    virtual void Run(const ProgramInput& in, ProgramOutput* out) const = 0;
};

// Where Present sends the finished back buffer.
class PresentSink {
public:
    virtual ~PresentSink() = default;
    // A picture of 32-bit XRGB pixels; pitch is in pixels.
    virtual void Show(const uint32_t* pixels, int width, int height, int pitch) = 0;
    // The device was created or reset for the window (true) or full screen (false).
    virtual void SetWindowed(bool windowed) { (void)windowed; }
};

// Shows the picture in the window of platform/window. The window opens in the mode the device
// is first created for; later changes of mode switch it between window and full screen.
class WindowSink : public PresentSink {
public:
    void Show(const uint32_t* pixels, int width, int height, int pitch) override;
    void SetWindowed(bool windowed) override;

private:
    int windowed_ = -1;  // unknown until the first device
};

// Keeps the last picture for tests.
class MemorySink : public PresentSink {
public:
    void Show(const uint32_t* pixels, int width, int height, int pitch) override;
    void SetWindowed(bool windowed) override { windowed_ = windowed; }
    const std::vector<uint32_t>& Frame() const { return frame_; }  // width x height XRGB
    int Width() const { return width_; }
    int Height() const { return height_; }
    int FrameCount() const { return frames_; }
    bool Windowed() const { return windowed_; }
    uint32_t Pixel(int x, int y) const { return frame_[size_t(y) * size_t(width_) + size_t(x)]; }

private:
    std::vector<uint32_t> frame_;
    int width_ = 0;
    int height_ = 0;
    int frames_ = 0;
    bool windowed_ = true;
};

// The sink of devices that have none of their own: the window unless replaced (null restores it).
void SetPresentSink(PresentSink* sink);
PresentSink& GetPresentSink();

// Forces every draw through the general triangle path (tests compare both paths).
void SetForceGeneralPath(bool force);
bool ForceGeneralPath();
// Keeps the vector spans to 128-bit SSE2 where AVX2 would run (tests compare both widths).
void SetForceSse2(bool force);
bool ForceSse2();

// Counters of the drawing paths, for tests and benchmarks.
struct DrawStatistics {
    uint64_t rectangles;  // triangle pairs drawn by the rectangle path
    uint64_t triangles;   // triangles drawn by the general path
    uint64_t draws;       // draw calls
};

// The device: resource creation, states, drawing and presentation.
class Device : public RefCounted {
public:
    // Device state: kOk, kDeviceLost while lost, then kDeviceNotReset until Reset.
    virtual Result TestCooperativeLevel() = 0;
    virtual uint32_t GetAvailableTextureMem() = 0;
    virtual Result GetDeviceCaps(Caps* caps) = 0;
    virtual Result GetCreationParameters(CreationParameters* parameters) = 0;
    virtual Result GetDisplayMode(uint32_t swapChain, DisplayMode* mode) = 0;
    // Rebuilds the back buffer for new parameters. Fails with kInvalidCall while default-pool
    // resources or references to the back buffer remain.
    virtual Result Reset(PresentParameters* parameters) = 0;
    // Shows the back buffer through the sink; rectangles and dirty region are ignored.
    virtual Result Present(const Rect* source, const Rect* destination, WindowHandle override,
                           const void* dirtyRegion) = 0;
    virtual Result GetBackBuffer(uint32_t swapChain, uint32_t index, uint32_t type,
                                 Surface** surface) = 0;

    virtual Result CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                 Format format, uint32_t pool, Texture** texture) = 0;
    virtual Result CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                      VertexBuffer** buffer) = 0;
    virtual Result CreateIndexBuffer(uint32_t length, uint32_t usage, Format format, uint32_t pool,
                                     IndexBuffer** buffer) = 0;
    virtual Result CreateRenderTarget(uint32_t width, uint32_t height, Format format,
                                      uint32_t multiSample, uint32_t quality, bool lockable,
                                      Surface** surface) = 0;
    virtual Result CreateDepthStencilSurface(uint32_t width, uint32_t height, Format format,
                                             uint32_t multiSample, uint32_t quality, bool discard,
                                             Surface** surface) = 0;
    virtual Result CreateOffscreenPlainSurface(uint32_t width, uint32_t height, Format format,
                                               uint32_t pool, Surface** surface) = 0;

    // Copies a system-memory surface rectangle into a default-pool surface of the same format.
    virtual Result UpdateSurface(Surface* source, const Rect* sourceRect, Surface* destination,
                                 const Point* destinationPoint) = 0;
    // Copies every level of a system-memory texture into a default-pool texture.
    virtual Result UpdateTexture(Texture* source, Texture* destination) = 0;
    // Copies a render target into a system-memory surface of the same size and format.
    virtual Result GetRenderTargetData(Surface* renderTarget, Surface* destination) = 0;
    // Copies a rectangle with scaling (filter::kNone/kPoint nearest, kLinear bilinear).
    virtual Result StretchRect(Surface* source, const Rect* sourceRect, Surface* destination,
                               const Rect* destinationRect, uint32_t filter) = 0;
    virtual Result ColorFill(Surface* surface, const Rect* rect, uint32_t argb) = 0;

    virtual Result SetRenderTarget(uint32_t index, Surface* surface) = 0;  // index 0 only
    virtual Result GetRenderTarget(uint32_t index, Surface** surface) = 0;  // adds a reference
    virtual Result SetDepthStencilSurface(Surface* surface) = 0;            // null detaches
    virtual Result GetDepthStencilSurface(Surface** surface) = 0;           // kNotFound when none

    virtual Result BeginScene() = 0;  // fails while the device is lost or a scene is open
    virtual Result EndScene() = 0;
    // Clears the viewport (or each rectangle within it) of the render target, depth and stencil.
    virtual Result Clear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t argb, float z,
                         uint32_t stencil) = 0;

    virtual Result SetTransform(uint32_t state, const Matrix* matrix) = 0;
    virtual Result GetTransform(uint32_t state, Matrix* matrix) = 0;
    // Fixed-function lighting of untransformed vertices with normals (LIGHTING on): the
    // material's ambient and emissive plus each enabled point or directional light's diffuse.
    virtual Result SetMaterial(const Material* material) = 0;
    virtual Result GetMaterial(Material* material) = 0;
    virtual Result SetLight(uint32_t index, const Light* light) = 0;  // index below 8
    virtual Result GetLight(uint32_t index, Light* light) = 0;
    virtual Result LightEnable(uint32_t index, bool enable) = 0;
    virtual Result GetLightEnable(uint32_t index, bool* enable) = 0;
    virtual Result SetViewport(const Viewport* viewport) = 0;
    virtual Result GetViewport(Viewport* viewport) = 0;

    // States are stored by number; unknown numbers fail with kInvalidCall.
    virtual Result SetRenderState(uint32_t state, uint32_t value) = 0;
    virtual Result GetRenderState(uint32_t state, uint32_t* value) = 0;
    virtual Result SetTexture(uint32_t stage, Texture* texture) = 0;  // the device adds a reference
    virtual Result GetTexture(uint32_t stage, Texture** texture) = 0;
    virtual Result SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) = 0;
    virtual Result GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) = 0;
    virtual Result SetSamplerState(uint32_t sampler, uint32_t type, uint32_t value) = 0;
    virtual Result GetSamplerState(uint32_t sampler, uint32_t type, uint32_t* value) = 0;
    virtual Result SetSoftwareVertexProcessing(bool software) = 0;
    virtual bool GetSoftwareVertexProcessing() = 0;

    virtual Result SetFVF(uint32_t fvf) = 0;  // also unsets the vertex declaration
    virtual Result GetFVF(uint32_t* fvf) = 0;
    // Makes a declaration from an element list ending with the end marker. Position, normal,
    // colour 0 and float texture coordinates are read; other elements are skipped.
    virtual Result CreateVertexDeclaration(const VertexElement* elements,
                                           VertexDeclaration** declaration) = 0;
    virtual Result SetVertexDeclaration(VertexDeclaration* declaration) = 0;  // null unsets it
    // A vertex program for the following draws (the device adds a reference), or null for the
    // fixed-function pipeline. A program reads its vertices through a vertex declaration.
    virtual Result SetVertexShader(VertexProgram* program) = 0;
    virtual VertexProgram* GetVertexShader() = 0;  // no reference added
    // There are no pixel shaders: only null (the texture stages) is accepted.
    virtual Result SetPixelShader(const void* shader) = 0;
    virtual Result SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset,
                                   uint32_t stride) = 0;
    virtual Result SetIndices(IndexBuffer* buffer) = 0;

    // Draws primCount primitives from stream 0 starting at startVertex: triangle lists, strips
    // and fans, line lists and strips, point lists. Vertices are pre-transformed (XYZRHW) or
    // transformed by world x view x projection (XYZ); DIFFUSE is white when absent.
    virtual Result DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primCount) = 0;
    // Draws primCount primitives whose vertex numbers come from the index buffer at startIndex,
    // each plus baseVertex.
    virtual Result DrawIndexedPrimitive(uint32_t type, int32_t baseVertex, uint32_t minIndex,
                                        uint32_t vertexCount, uint32_t startIndex,
                                        uint32_t primCount) = 0;
    // The same with vertices (and indices) from the caller's memory; stream 0 is unset after.
    virtual Result DrawPrimitiveUP(uint32_t type, uint32_t primCount, const void* vertices,
                                   uint32_t stride) = 0;
    virtual Result DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t vertexCount,
                                          uint32_t primCount, const void* indices,
                                          Format indexFormat, const void* vertices,
                                          uint32_t stride) = 0;

    // Test hook: the device is lost from now on (kDeviceLost from Present, BeginScene and the
    // first TestCooperativeLevel, then kDeviceNotReset until Reset).
    virtual void SimulateDeviceLoss() = 0;
    virtual DrawStatistics Statistics() const = 0;
};

// The device library object: adapter inventory and device creation.
class Direct3D : public RefCounted {
public:
    virtual uint32_t GetAdapterCount() = 0;
    virtual Result GetAdapterIdentifier(uint32_t adapter, uint32_t flags,
                                        AdapterIdentifier* identifier) = 0;
    virtual uint32_t GetAdapterModeCount(uint32_t adapter, Format format) = 0;
    virtual Result EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode,
                                    DisplayMode* displayMode) = 0;
    virtual Result GetAdapterDisplayMode(uint32_t adapter, DisplayMode* mode) = 0;
    // kOk when a resource of the format can be created with the usage, else kNotAvailable.
    virtual Result CheckDeviceFormat(uint32_t adapter, uint32_t deviceType, Format adapterFormat,
                                     uint32_t usage, uint32_t resourceType, Format format) = 0;
    virtual Result GetDeviceCaps(uint32_t adapter, uint32_t deviceType, Caps* caps) = 0;
    virtual Result CreateDevice(uint32_t adapter, uint32_t deviceType, WindowHandle focusWindow,
                                uint32_t behaviorFlags, PresentParameters* parameters,
                                Device** device) = 0;
};

constexpr uint32_t kSdkVersion = 32;
// Creates the library object; null for any other SDK version.
Direct3D* CreateDirect3D(uint32_t sdkVersion);

// Bytes per vertex of a flexible vertex format (0 for formats the device cannot draw).
uint32_t VertexSizeOfFvf(uint32_t fvf);
// Bytes per pixel of a format the device stores (0 for formats it does not).
uint32_t BytesPerPixel(Format format);

}  // namespace platform::gfx
