// The device object behind the Device interface.
#pragma once

#include <array>
#include <set>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/pipeline.h"
#include "platform/gfx/resources.h"

namespace platform::gfx {

class RectanglePath;

class DeviceImpl final : public Device {
public:
    DeviceImpl(const CreationParameters& creation, const PresentParameters& parameters);

    // Resources register while they live so that Reset can count the default pool and a
    // device that goes first can cut them loose.
    void Register(DeviceLink* link) { links_.insert(link); }
    void Unregister(DeviceLink* link) { links_.erase(link); }

    Result TestCooperativeLevel() override;
    uint32_t GetAvailableTextureMem() override;
    Result GetDeviceCaps(Caps* caps) override;
    Result GetCreationParameters(CreationParameters* parameters) override;
    Result GetDisplayMode(uint32_t swapChain, DisplayMode* mode) override;
    Result Reset(PresentParameters* parameters) override;
    Result Present(const Rect* source, const Rect* destination, WindowHandle override,
                   const void* dirtyRegion) override;
    Result GetBackBuffer(uint32_t swapChain, uint32_t index, uint32_t type,
                         Surface** surface) override;

    Result CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                         Format format, uint32_t pool, Texture** texture) override;
    Result CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                              VertexBuffer** buffer) override;
    Result CreateIndexBuffer(uint32_t length, uint32_t usage, Format format, uint32_t pool,
                             IndexBuffer** buffer) override;
    Result CreateRenderTarget(uint32_t width, uint32_t height, Format format, uint32_t multiSample,
                              uint32_t quality, bool lockable, Surface** surface) override;
    Result CreateDepthStencilSurface(uint32_t width, uint32_t height, Format format,
                                     uint32_t multiSample, uint32_t quality, bool discard,
                                     Surface** surface) override;
    Result CreateOffscreenPlainSurface(uint32_t width, uint32_t height, Format format,
                                       uint32_t pool, Surface** surface) override;

    Result UpdateSurface(Surface* source, const Rect* sourceRect, Surface* destination,
                         const Point* destinationPoint) override;
    Result UpdateTexture(Texture* source, Texture* destination) override;
    Result GetRenderTargetData(Surface* renderTarget, Surface* destination) override;
    Result StretchRect(Surface* source, const Rect* sourceRect, Surface* destination,
                       const Rect* destinationRect, uint32_t filter) override;
    Result ColorFill(Surface* surface, const Rect* rect, uint32_t argb) override;

    Result SetRenderTarget(uint32_t index, Surface* surface) override;
    Result GetRenderTarget(uint32_t index, Surface** surface) override;
    Result SetDepthStencilSurface(Surface* surface) override;
    Result GetDepthStencilSurface(Surface** surface) override;

    Result BeginScene() override;
    Result EndScene() override;
    Result Clear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t argb, float z,
                 uint32_t stencil) override;

    Result SetTransform(uint32_t state, const Matrix* matrix) override;
    Result GetTransform(uint32_t state, Matrix* matrix) override;
    Result SetMaterial(const Material* material) override;
    Result GetMaterial(Material* material) override;
    Result SetLight(uint32_t index, const Light* light) override;
    Result GetLight(uint32_t index, Light* light) override;
    Result LightEnable(uint32_t index, bool enable) override;
    Result GetLightEnable(uint32_t index, bool* enable) override;
    Result SetViewport(const Viewport* viewport) override;
    Result GetViewport(Viewport* viewport) override;

    Result SetRenderState(uint32_t state, uint32_t value) override;
    Result GetRenderState(uint32_t state, uint32_t* value) override;
    Result SetTexture(uint32_t stage, Texture* texture) override;
    Result GetTexture(uint32_t stage, Texture** texture) override;
    Result SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) override;
    Result GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) override;
    Result SetSamplerState(uint32_t sampler, uint32_t type, uint32_t value) override;
    Result GetSamplerState(uint32_t sampler, uint32_t type, uint32_t* value) override;
    Result SetSoftwareVertexProcessing(bool software) override;
    bool GetSoftwareVertexProcessing() override { return softwareProcessing_; }

    Result SetFVF(uint32_t fvf) override;
    Result GetFVF(uint32_t* fvf) override;
    Result SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset,
                           uint32_t stride) override;
    Result SetIndices(IndexBuffer* buffer) override;
    Result CreateVertexDeclaration(const VertexElement* elements,
                                   VertexDeclaration** declaration) override;
    Result SetVertexDeclaration(VertexDeclaration* declaration) override;
    Result SetVertexShader(VertexProgram* program) override;
    VertexProgram* GetVertexShader() override { return program_; }
    Result SetPixelShader(const void* shader) override;

    Result DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primCount) override;
    Result DrawIndexedPrimitive(uint32_t type, int32_t baseVertex, uint32_t minIndex,
                                uint32_t vertexCount, uint32_t startIndex,
                                uint32_t primCount) override;
    Result DrawPrimitiveUP(uint32_t type, uint32_t primCount, const void* vertices,
                           uint32_t stride) override;
    Result DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t vertexCount,
                                  uint32_t primCount, const void* indices, Format indexFormat,
                                  const void* vertices, uint32_t stride) override;

    void SimulateDeviceLoss() override;
    DrawStatistics Statistics() const override { return statistics_; }

private:
    enum class Loss { kNone, kLost, kNotReset };

    // What one draw reads: the vertex memory, its layout, and the indices if any.
    struct DrawSource {
        const uint8_t* vertices;
        size_t vertexBytes;  // readable bytes from `vertices`
        uint32_t stride;
        const uint8_t* indices;  // null for non-indexed draws
        uint32_t indexSize;      // 2 or 4
        int32_t baseVertex;
    };

    ~DeviceImpl() override;
    void SetDefaultStates();
    void CreateBackBuffer();
    void BindRenderTarget(SurfaceImpl* surface);
    void BindDepthStencil(SurfaceImpl* surface);
    bool ValidRenderState(uint32_t state) const;
    void BuildPipeline(PipelineState* ps);
    Result Draw(uint32_t type, uint32_t primCount, const DrawSource& source);
    Result DrawPrimitives(uint32_t type, uint32_t primCount, const DrawSource& source);
    struct FetchedVertex;
    struct VertexFetch;
    // The layout of the draw's vertices and where each of the first `stages` stages finds its
    // coordinates; false when `count` vertices of that layout do not fit in the source.
    bool PrepareFetch(const DrawSource& source, uint32_t count, int stages, VertexFetch* fetch);
    // Reads `count` vertices and brings them to screen space (clip space too when transformed),
    // with the texture coordinates of the first `stages` stages.
    bool LoadVertices(const DrawSource& source, uint32_t count, int stages);
    // The same through the vertex program: clip position, colour and coordinate sets from it.
    bool RunVertexProgram(const DrawSource& source, uint32_t count, int stages);
    uint32_t LightVertex(const FetchedVertex& vertex) const;
    void ProjectToViewport(const std::array<float, 4>& clip, ScreenVertex* vertex) const;
    void DrawTriangles(const PipelineState& ps, uint32_t type, uint32_t primCount);
    void DrawScreenTriangles(const PipelineState& ps, const VertexFetch& fetch, const DrawSource& source,
                             uint32_t primCount);
    void DrawTriangleClipped(const PipelineState& ps, uint32_t a, uint32_t b, uint32_t c);
    // Draws a pair through the rectangle path; over a pending fill of the target, the pair
    // writes the fill itself where it can.
    bool DrawPair(const RectanglePath& path, const PipelineState& ps, const ScreenVertex* const pair[6]);
    // The same for a drawing call draw(fill) that draws a pair, over the pending fill when given.
    template <class DrawFn>
    bool DrawPairWith(const DrawFn& draw);
    // Of the draw at hand: what was known of the target's pixels before it, and what its pair over
    // a pending fill left known.
    SurfaceImpl::KnownFill knownAround_, filledAround_;

    CreationParameters creation_;
    PresentParameters parameters_;
    Loss loss_ = Loss::kNone;
    bool sceneOpen_ = false;
    std::set<DeviceLink*> links_;

    SurfaceImpl* backBuffer_ = nullptr;
    SurfaceImpl* renderTarget_ = nullptr;
    SurfaceImpl* depthStencil_ = nullptr;
    SurfaceImpl* autoDepthStencil_ = nullptr;
    TextureImpl* textures_[kStageCount] = {};
    VertexBufferImpl* stream_ = nullptr;
    uint32_t streamOffset_ = 0;
    uint32_t streamStride_ = 0;
    IndexBufferImpl* indices_ = nullptr;
    uint32_t fvf_ = 0;
    VertexDeclarationImpl* declaration_ = nullptr;  // used instead of fvf_ when set
    VertexProgram* program_ = nullptr;              // replaces the fixed-function transform

    uint32_t renderStates_[rs::kCount] = {};
    uint32_t stageStates_[kStageCount][tss::kCount] = {};
    uint32_t samplerStates_[kStageCount][samp::kCount] = {};
    Viewport viewport_{};
    Matrix world_{}, view_{}, projection_{};
    Material material_{};
    static constexpr uint32_t kLightCount = 8;
    Light lights_[kLightCount]{};
    bool lightEnabled_[kLightCount] = {};
    bool softwareProcessing_ = false;

    DrawStatistics statistics_{};
    // What lighting reads of a vertex, before the transform.
    struct FetchedVertex {
        float position[4];  // x, y, z and rhw (pre-transformed) or 1
        float normal[3];
        uint32_t diffuse;
    };
    // Scratch of the draws, kept between frames so that drawing allocates nothing.
    std::vector<ScreenVertex> screen_;
    std::vector<std::array<float, 4>> clip_;  // clip-space positions of transformed vertices
    bool transformed_ = false;                  // the draw's vertices went through the matrices
    bool hasDiffuse_ = false;                   // the draw's vertices carry a colour
    std::vector<uint32_t> indexScratch_;
};

}  // namespace platform::gfx
