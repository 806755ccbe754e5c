#include "platform/d3dx/effect.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>
#include <utility>

namespace platform::d3dx {

namespace {

using gfx::result::kInvalidCall;
using gfx::result::kOk;
using Kind = EffectParameter::Kind;

float Converted(Kind kind, float value) {
    switch (kind) {
        case Kind::kBool: return value != 0.0f ? 1.0f : 0.0f;
        case Kind::kInt: return std::isfinite(value) ? std::trunc(value) : 0.0f;
        default: return value;
    }
}

// The rows x columns corner of a matrix, row by row.
std::vector<float> Corner(const Matrix& m, uint32_t rows, uint32_t columns) {
    std::vector<float> out;
    for (uint32_t r = 0; r < rows && r < 4; ++r) {
        for (uint32_t c = 0; c < columns && c < 4; ++c) out.push_back(m.m[r][c]);
    }
    return out;
}

}  // namespace

Effect::Effect(gfx::Device* device, std::vector<EffectParameter> parameters,
               std::vector<EffectTechnique> techniques)
    : device_(device), parameters_(std::move(parameters)), techniques_(std::move(techniques)) {
    if (device_) device_->AddRef();
}

Effect::~Effect() {
    for (EffectParameter& p : parameters_) {
        if (p.texture) p.texture->Release();
    }
    if (program_) program_->Release();
    if (device_) device_->Release();
}

void Effect::AttachProgram(EffectProgram* program) {
    if (program) program->AddRef();
    if (program_) program_->Release();
    program_ = program;
}

Result Effect::Begin(uint32_t* passes, uint32_t) {
    if (techniques_.empty() || begun_) return kInvalidCall;
    begun_ = true;
    if (passes) *passes = uint32_t(techniques_[0].passes.size());
    return kOk;
}

Result Effect::End() {
    if (!begun_) return kInvalidCall;
    begun_ = false;
    pass_ = -1;
    return kOk;
}

Result Effect::BeginPass(uint32_t pass) {
    if (!begun_ || pass_ >= 0 || pass >= techniques_[0].passes.size()) return kInvalidCall;
    pass_ = int32_t(pass);
    if (techniques_[0].passes[pass].vertexShader.empty()) return kOk;
    if (program_) program_->Load(*this);
    return device_ ? device_->SetVertexShader(program_) : kOk;
}

Result Effect::EndPass() {
    if (pass_ < 0) return kInvalidCall;
    pass_ = -1;
    return kOk;
}

Result Effect::CommitChanges() {
    if (pass_ < 0) return kInvalidCall;
    if (program_) program_->Load(*this);
    return kOk;
}

const EffectParameter* Effect::Find(Handle handle) const {
    if (!handle) return nullptr;
    for (const EffectParameter& p : parameters_) {
        if (handle == p.name.c_str() || p.name == handle) return &p;
    }
    return nullptr;
}

EffectParameter* Effect::Find(Handle handle) {
    return const_cast<EffectParameter*>(std::as_const(*this).Find(handle));
}

Handle Effect::GetParameterByName(Handle, const char* name) const {
    const EffectParameter* p = Find(name);
    return p ? p->name.c_str() : nullptr;
}

Handle Effect::GetParameterBySemantic(Handle, const char* semantic) const {
    if (!semantic) return nullptr;
    for (const EffectParameter& p : parameters_) {
        if (!p.semantic.empty() && strcasecmp(p.semantic.c_str(), semantic) == 0) return p.name.c_str();
    }
    return nullptr;
}

Result Effect::Store(Handle parameter, const float* values, uint32_t count, uint32_t width,
                     uint32_t stride) {
    EffectParameter* p = Find(parameter);
    if (!p || !p->Numeric() || !values) return kInvalidCall;
    const uint32_t elementSize = p->rows * p->columns;
    // A flat array (stride 0) runs on through the elements; blocks fill one element each.
    const uint32_t blocks = stride == 0 ? 1 : std::min(count, p->elements);
    const uint32_t limit = stride == 0 ? uint32_t(p->values.size()) : elementSize;
    for (uint32_t b = 0; b < blocks; ++b) {
        const uint32_t n = std::min(width, limit);
        for (uint32_t i = 0; i < n; ++i) {
            p->values[size_t(b) * elementSize + i] = Converted(p->kind, values[size_t(b) * stride + i]);
        }
    }
    return kOk;
}

Result Effect::SetBool(Handle parameter, bool value) { return SetBoolArray(parameter, &value, 1); }

Result Effect::SetBoolArray(Handle parameter, const bool* values, uint32_t count) {
    if (!values) return kInvalidCall;
    std::vector<float> floats(values, values + count);
    return Store(parameter, floats.data(), 1, count, 0);
}

Result Effect::SetFloat(Handle parameter, float value) { return Store(parameter, &value, 1, 1, 0); }

Result Effect::SetFloatArray(Handle parameter, const float* values, uint32_t count) {
    return Store(parameter, values, 1, count, 0);
}

Result Effect::SetInt(Handle parameter, int32_t value) { return SetIntArray(parameter, &value, 1); }

Result Effect::SetIntArray(Handle parameter, const int32_t* values, uint32_t count) {
    if (!values) return kInvalidCall;
    std::vector<float> floats(values, values + count);
    return Store(parameter, floats.data(), 1, count, 0);
}

Result Effect::SetMatrix(Handle parameter, const Matrix* matrix) {
    return SetMatrixArray(parameter, matrix, 1);
}

Result Effect::SetMatrixTranspose(Handle parameter, const Matrix* matrix) {
    return SetMatrixTransposeArray(parameter, matrix, 1);
}

Result Effect::SetMatrixArray(Handle parameter, const Matrix* matrices, uint32_t count) {
    const EffectParameter* p = Find(parameter);
    if (!p || !matrices) return kInvalidCall;
    const uint32_t blocks = std::min(count, p->elements);
    std::vector<float> values;
    for (uint32_t i = 0; i < blocks; ++i) {
        const std::vector<float> corner = Corner(matrices[i], p->rows, p->columns);
        values.insert(values.end(), corner.begin(), corner.end());
    }
    values.push_back(0.0f);  // never read: keeps the data pointer valid for an empty array
    const uint32_t size = p->rows * p->columns;
    return Store(parameter, values.data(), blocks, size, size);
}

Result Effect::SetMatrixTransposeArray(Handle parameter, const Matrix* matrices, uint32_t count) {
    if (!matrices) return kInvalidCall;
    std::vector<Matrix> transposed(count);
    for (uint32_t i = 0; i < count; ++i) {
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) transposed[i].m[r][c] = matrices[i].m[c][r];
        }
    }
    return SetMatrixArray(parameter, transposed.data(), count);
}

Result Effect::SetVector(Handle parameter, const Vector4* vector) {
    return SetVectorArray(parameter, vector, 1);
}

Result Effect::SetVectorArray(Handle parameter, const Vector4* vectors, uint32_t count) {
    if (!vectors) return kInvalidCall;
    std::vector<float> values;
    for (uint32_t i = 0; i < count; ++i) {
        values.insert(values.end(), {vectors[i].x, vectors[i].y, vectors[i].z, vectors[i].w});
    }
    return Store(parameter, values.data(), count, 4, 4);
}

Result Effect::SetString(Handle parameter, const char* text) {
    EffectParameter* p = Find(parameter);
    if (!p || p->kind != Kind::kString || !text) return kInvalidCall;
    p->text = text;
    return kOk;
}

Result Effect::SetTexture(Handle parameter, gfx::Texture* texture) {
    EffectParameter* p = Find(parameter);
    if (!p || p->kind != Kind::kTexture) return kInvalidCall;
    if (texture) texture->AddRef();
    if (p->texture) p->texture->Release();
    p->texture = texture;
    return kOk;
}

Result Effect::GetFloatArray(Handle parameter, float* values, uint32_t count) const {
    const EffectParameter* p = Find(parameter);
    if (!p || !p->Numeric() || !values) return kInvalidCall;
    std::copy_n(p->values.begin(), std::min<size_t>(count, p->values.size()), values);
    return kOk;
}

Result Effect::GetString(Handle parameter, const char** text) const {
    const EffectParameter* p = Find(parameter);
    if (!p || p->kind != Kind::kString || !text) return kInvalidCall;
    *text = p->text.c_str();
    return kOk;
}

Result Effect::GetTexture(Handle parameter, gfx::Texture** texture) const {
    const EffectParameter* p = Find(parameter);
    if (!p || p->kind != Kind::kTexture || !texture) return kInvalidCall;
    *texture = p->texture;
    if (p->texture) p->texture->AddRef();
    return kOk;
}

}  // namespace platform::d3dx
