// Vertex and index buffers of model meshes: the system copies, the device buffers built from
// them, and the table of the eight vertex types.
#include "framework3d/mesh_buffers.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "framework/app/log.h"
#include "framework/graphics/device.h"

namespace gfx = platform::gfx;

namespace {

namespace dt = gfx::decltype_;
namespace du = gfx::declusage;

// A field of the full vertex as a device vertex carries it.
struct Field {
    uint8_t source;  // offset in the full vertex
    uint8_t bytes;
    uint8_t type;  // declaration type
    uint8_t usage;
    uint8_t usageIndex;
};

constexpr Field kPosition{offsetof(FullVertex, position), 12, dt::kFloat3, du::kPosition, 0};
constexpr Field kNormal{offsetof(FullVertex, normal), 12, dt::kFloat3, du::kNormal, 0};
constexpr Field kPosition2{offsetof(FullVertex, position2), 12, dt::kFloat3, du::kPosition, 1};
constexpr Field kNormal2{offsetof(FullVertex, normal2), 12, dt::kFloat3, du::kNormal, 1};
constexpr Field kWeight1{offsetof(FullVertex, weights), 4, dt::kFloat1, du::kBlendWeight, 0};
constexpr Field kWeight2{offsetof(FullVertex, weights), 8, dt::kFloat2, du::kBlendWeight, 0};
constexpr Field kWeight3{offsetof(FullVertex, weights), 12, dt::kFloat3, du::kBlendWeight, 0};
constexpr Field kIndices{offsetof(FullVertex, indices), 4, dt::kColor, du::kBlendIndices, 0};
constexpr Field kColor{offsetof(FullVertex, color), 4, dt::kColor, du::kColor, 0};
constexpr Field kTexture{offsetof(FullVertex, uv), 8, dt::kFloat2, du::kTexCoord, 0};

struct VertexType {
    uint32_t size;
    uint32_t fieldCount;
    Field fields[8];  // in device order, packed from offset 0
};

// Types 2-4 and 5-7 carry one, two or three explicit blend weights; 1 and 5-7 the morph target.
constexpr VertexType kVertexTypes[kVertexTypeCount] = {
    // size  fields
    {36, 4, {kPosition, kNormal, kColor, kTexture}},
    {60, 6, {kPosition, kNormal, kPosition2, kNormal2, kColor, kTexture}},
    {44, 6, {kPosition, kNormal, kWeight1, kIndices, kColor, kTexture}},
    {48, 6, {kPosition, kNormal, kWeight2, kIndices, kColor, kTexture}},
    {52, 6, {kPosition, kNormal, kWeight3, kIndices, kColor, kTexture}},
    {68, 8, {kPosition, kNormal, kPosition2, kNormal2, kWeight1, kIndices, kColor, kTexture}},
    {72, 8, {kPosition, kNormal, kPosition2, kNormal2, kWeight2, kIndices, kColor, kTexture}},
    {76, 8, {kPosition, kNormal, kPosition2, kNormal2, kWeight3, kIndices, kColor, kTexture}},
};

void LogFailure(const char* format, gfx::Result result) {
    ZethLog::PrintError(format, Zeth3D::GetErrorString(result));
    ZethLog::PrintBreak();
}

template <typename T>
void ReleaseDeviceObject(T** object) {
    if (*object != nullptr) (*object)->Release();
    *object = nullptr;
}

}  // namespace

uint32_t VertexTypeSize(uint32_t vertexType) {
    return vertexType < kVertexTypeCount ? kVertexTypes[vertexType].size : 0;
}

CIndexBuffer::CIndexBuffer(uint32_t count) : count_(count), indices_(new uint16_t[count]()) {}

CIndexBuffer::~CIndexBuffer() {
    ReleaseDeviceObject(&buffer_);
    delete[] indices_;
}

void CIndexBuffer::OnLostDevice() { ReleaseDeviceObject(&buffer_); }
void CIndexBuffer::OnResetDevice() { Create(shaderVersionMajor_, shaderVersionMinor_); }

bool CIndexBuffer::Create(uint16_t shaderVersionMajor, uint16_t shaderVersionMinor) {
    ReleaseDeviceObject(&buffer_);
    shaderVersionMajor_ = shaderVersionMajor;
    shaderVersionMinor_ = shaderVersionMinor;
    const uint32_t pool = Zeth3D::NeedSoftwareVertexProcessing(shaderVersionMajor, shaderVersionMinor)
                              ? gfx::pool::kSystemMem
                              : gfx::pool::kDefault;
    gfx::Device* device = Zeth3D::GetDevice();
    const uint64_t bytes = uint64_t(count_) * 2;
    gfx::Result result = device == nullptr ? gfx::result::kInvalidCall
                         : bytes > 0xFFFFFFFFu ? gfx::result::kOutOfMemory
                                               : device->CreateIndexBuffer(uint32_t(bytes), gfx::usage::kWriteOnly,
                                                                           gfx::fmt::kIndex16, pool, &buffer_);
    if (gfx::Failed(result)) {
        buffer_ = nullptr;
        LogFailure("インデックスバッファの生成に失敗 [ %s ]", result);
        return false;
    }
    void* data = nullptr;
    result = buffer_->Lock(0, 0, &data, 0);
    if (gfx::Failed(result)) {
        LogFailure("インデックスバッファのロックに失敗 [ %s ]", result);
        ReleaseDeviceObject(&buffer_);
        return false;
    }
    std::memcpy(data, indices_, size_t(bytes));
    buffer_->Unlock();
    return true;
}

void CIndexBuffer::SetDevice() {
    if (gfx::Device* device = Zeth3D::GetDevice()) device->SetIndices(buffer_);
}

CVertexBuffer::CVertexBuffer(uint32_t count) : count_(count), vertices_(new FullVertex[count]()) {}

CVertexBuffer::~CVertexBuffer() {
    ReleaseDeviceObjects();
    delete[] vertices_;
}

void CVertexBuffer::ReleaseDeviceObjects() {
    ReleaseDeviceObject(&buffer_);
    ReleaseDeviceObject(&declaration_);
}

void CVertexBuffer::OnLostDevice() { ReleaseDeviceObjects(); }
void CVertexBuffer::OnResetDevice() { Create(shaderVersionMajor_, shaderVersionMinor_, vertexType_); }

bool CVertexBuffer::Create(uint16_t shaderVersionMajor, uint16_t shaderVersionMinor, uint32_t vertexType) {
    ReleaseDeviceObjects();
    // A type without a layout would read past the table: refused before anything is built.
    if (vertexType >= kVertexTypeCount) {
        ZethLog::PrintError("頂点タイプ [ %u ] は 0 から 7 までです", vertexType);
        ZethLog::PrintBreak();
        return false;
    }
    vertexType_ = vertexType;
    shaderVersionMajor_ = shaderVersionMajor;
    shaderVersionMinor_ = shaderVersionMinor;
    const VertexType& type = kVertexTypes[vertexType];
    const bool software = Zeth3D::NeedSoftwareVertexProcessing(shaderVersionMajor, shaderVersionMinor);
    const uint32_t usage = software ? gfx::usage::kWriteOnly | gfx::usage::kSoftwareProcessing
                                    : gfx::usage::kDynamic | gfx::usage::kWriteOnly;
    const uint32_t pool = software ? gfx::pool::kSystemMem : gfx::pool::kDefault;
    gfx::Device* device = Zeth3D::GetDevice();
    const uint64_t bytes = uint64_t(count_) * type.size;
    gfx::Result result = device == nullptr ? gfx::result::kInvalidCall
                         : bytes > 0xFFFFFFFFu
                             ? gfx::result::kOutOfMemory
                             : device->CreateVertexBuffer(uint32_t(bytes), usage, 0, pool, &buffer_);
    if (gfx::Failed(result)) {
        buffer_ = nullptr;
        LogFailure("頂点バッファの生成に失敗 [ %s ]", result);
        return false;
    }
    void* data = nullptr;
    result = buffer_->Lock(0, 0, &data, 0);
    if (gfx::Failed(result)) {
        LogFailure("頂点バッファのロックに失敗 [ %s ]", result);
        ReleaseDeviceObjects();
        return false;
    }
    auto* out = static_cast<uint8_t*>(data);
    for (uint32_t v = 0; v < count_; ++v) {
        const auto* in = reinterpret_cast<const uint8_t*>(&vertices_[v]);
        for (uint32_t f = 0; f < type.fieldCount; ++f) {
            std::memcpy(out, in + type.fields[f].source, type.fields[f].bytes);
            out += type.fields[f].bytes;
        }
    }
    buffer_->Unlock();

    std::vector<gfx::VertexElement> elements;
    uint16_t offset = 0;
    for (uint32_t f = 0; f < type.fieldCount; ++f) {
        const Field& field = type.fields[f];
        elements.push_back({0, offset, field.type, 0, field.usage, field.usageIndex});
        offset = uint16_t(offset + field.bytes);
    }
    elements.push_back({0xFF, 0, dt::kUnused, 0, 0, 0});
    result = device->CreateVertexDeclaration(elements.data(), &declaration_);
    if (gfx::Failed(result)) {
        declaration_ = nullptr;
        LogFailure("頂点シェーダ宣言の生成に失敗 [ %s ]", result);
        ReleaseDeviceObjects();
        return false;
    }
    return true;
}

void CVertexBuffer::SetDevice() {
    gfx::Device* device = Zeth3D::GetDevice();
    if (device == nullptr) return;
    device->SetVertexDeclaration(declaration_);
    device->SetStreamSource(0, buffer_, 0, kVertexTypes[vertexType_].size);
}
