#include "framework3d/shader_fx.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "framework/app/log.h"
#include "framework/core/lock.h"
#include "framework/files/file_system.h"
#include "framework/graphics/device.h"
#include "framework/graphics/texture.h"

namespace {

CObjectList g_effects;  // every live effect, in creation order
CCriticalSection g_effectLock;

uint32_t Address(const void* object) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(object)); }

bool Listed(const CBaseObject* object) {
    for (CBaseObject* o = g_effects.GetTop(); o; o = CObjectList::GetNext(o)) {
        if (o == object) return true;
    }
    return false;
}

}  // namespace

ZethShaderFx::~ZethShaderFx() {
    if (Effect) {
        Effect->Release();
        Effect = nullptr;
    }
    CLockScope scope(g_effectLock);
    if (Listed(this)) g_effects.Remove(this);
}

// ---- the effect list ----

ZethShaderFx* ZethShaderFx::Create(uint32_t options, uint32_t influences, uint32_t boneMatrices,
                                   uint32_t* useFlags) {
    ZethLog::PrintTitle("ZethShaderFx::Create");
    auto* fx = new (std::nothrow) ZethShaderFx;
    if (!fx) {
        ZethLog::Print(" : ");
        ZethLog::PrintError("エフェクトの作成に失敗しました。");
        ZethLog::PrintBreak();
        return nullptr;
    }
    if (!fx->CreateShader(options, influences, boneMatrices, useFlags)) {
        fx->CBaseObject::Release();
        return nullptr;
    }
    ZethLog::Print(" : ");
    ZethLog::Print("[ 0x%08X ] : ", Address(fx));
    ZethLog::PrintSuccess("Complete");
    ZethLog::PrintBreak();
    g_effects.AddTail(fx);
    return fx;
}

void ZethShaderFx::Release(ZethShaderFx* fx) {
    CLockScope scope(g_effectLock);
    if (!fx) return;
    if (fx->GetRefCount() == 1) {
        if (Listed(fx)) g_effects.Remove(fx);
        ZethLog::PrintError("ZethShaderFx::Release");
        ZethLog::Print(" : [ 0x%08X ] [Reference %u]", Address(fx), 1u);
        ZethLog::PrintBreak();
    }
    fx->CBaseObject::Release();
}

void ZethShaderFx::Finalize() {
    CLockScope scope(g_effectLock);
    CBaseObject* next = nullptr;
    for (CBaseObject* fx = g_effects.GetTop(); fx; fx = next) {
        next = CObjectList::GetNext(fx);
        g_effects.Remove(fx);
        delete fx;
    }
}

void ZethShaderFx::OnLostDevice() {
    CLockScope scope(g_effectLock);
    for (CBaseObject* fx = g_effects.GetTop(); fx; fx = CObjectList::GetNext(fx)) {
        static_cast<ZethShaderFx*>(fx)->OnLostDeviceEffect();
    }
}

void ZethShaderFx::OnResetDevice() {
    CLockScope scope(g_effectLock);
    for (CBaseObject* fx = g_effects.GetTop(); fx; fx = CObjectList::GetNext(fx)) {
        static_cast<ZethShaderFx*>(fx)->OnResetDeviceEffect();
    }
}

uint32_t ZethShaderFx::Count() {
    CLockScope scope(g_effectLock);
    return g_effects.GetCount();
}

// ---- forwarders ----

bool ZethShaderFx::Begin(ZethShaderFx* fx, uint32_t* passes) {
    return fx && fx->Begin(passes, platform::d3dx::kFxDoNotSaveShaderState);
}

void ZethShaderFx::End(ZethShaderFx* fx) {
    if (!fx) return;
    fx->End();
    if (platform::gfx::Device* device = Zeth3D::GetDevice()) {
        device->SetPixelShader(nullptr);
        device->SetVertexShader(nullptr);
    }
}

void ZethShaderFx::BeginPass(ZethShaderFx* fx, uint32_t pass) { if (fx) fx->BeginPass(pass); }
void ZethShaderFx::EndPass(ZethShaderFx* fx) { if (fx) fx->EndPass(); }
void ZethShaderFx::CommitChanges(ZethShaderFx* fx) { if (fx) fx->CommitChanges(); }
void ZethShaderFx::SetBoolArray(ZethShaderFx* fx, Handle name, const bool* values, uint32_t count) {
    if (fx) fx->SetBoolArray(name, values, count);
}
void ZethShaderFx::SetFloat(ZethShaderFx* fx, Handle name, float value) { if (fx) fx->SetFloat(name, value); }
void ZethShaderFx::SetFloatArray(ZethShaderFx* fx, Handle name, const float* values, uint32_t count) {
    if (fx) fx->SetFloatArray(name, values, count);
}
void ZethShaderFx::SetInt(ZethShaderFx* fx, Handle name, int32_t value) { if (fx) fx->SetInt(name, value); }
void ZethShaderFx::SetMatrix(ZethShaderFx* fx, Handle name, const Matrix* matrix) {
    if (fx) fx->SetMatrix(name, matrix);
}
void ZethShaderFx::SetMatrixArray(ZethShaderFx* fx, Handle name, const Matrix* matrices, uint32_t count) {
    if (fx) fx->SetMatrixArray(name, matrices, count);
}
void ZethShaderFx::SetTexture(ZethShaderFx* fx, Handle name, CTexture* texture) {
    if (fx) fx->SetTexture(name, texture);
}
void ZethShaderFx::SetVector(ZethShaderFx* fx, Handle name, const Vector4* vector) {
    if (fx) fx->SetVector(name, vector);
}
void ZethShaderFx::SetVectorArray(ZethShaderFx* fx, Handle name, const Vector4* vectors, uint32_t count) {
    if (fx) fx->SetVectorArray(name, vectors, count);
}

// ---- per object ----

void ZethShaderFx::OnLostDeviceEffect() { if (Effect) Effect->OnLostDevice(); }
void ZethShaderFx::OnResetDeviceEffect() { if (Effect) Effect->OnResetDevice(); }

bool ZethShaderFx::CreateFromFile(const char* file) {
    void* text = nullptr;
    uint32_t size = 0;
    if (!ZethFile::Load(file, &text, &size)) {
        ZethLog::PrintError("エフェクトファイルの読み込みに失敗しました [ %s ]", file);
        ZethLog::PrintBreak();
        return false;
    }
    const bool created = CreateFromMemory(text, size);
    Zeth::MemoryFree(text);
    return created;
}

bool ZethShaderFx::CreateFromMemory(const void* text, uint32_t length) {
    if (Effect) {
        Effect->Release();
        Effect = nullptr;
    }
    platform::d3dx::Buffer* errors = nullptr;
    const platform::gfx::Result r = platform::d3dx::D3DXCreateEffect(
        Zeth3D::GetDevice(), text, length, nullptr, nullptr, 0, nullptr, &Effect, &errors);
    if (platform::gfx::Succeeded(r)) return true;
    ZethLog::PrintError("エフェクトの読み込みに失敗しました。");
    ZethLog::PrintBreak();
    if (errors) {
        const uint32_t size = uint32_t(errors->GetBufferSize());
        if (auto* copy = static_cast<char*>(Zeth::MemoryAlloc(size + 1))) {
            std::memcpy(copy, errors->GetBufferPointer(), size);
            ZethLog::PrintError("  -> Shader Compile Error [ %s ]", copy);
            ZethLog::PrintBreak();
            Zeth::MemoryFree(copy);
        }
        errors->Release();
    }
    return false;
}

bool ZethShaderFx::Begin(uint32_t* passes, uint32_t flags) {
    return Effect && platform::gfx::Succeeded(Effect->Begin(passes, flags));
}
int32_t ZethShaderFx::End() { return Effect ? Effect->End() : 0; }
int32_t ZethShaderFx::BeginPass(uint32_t pass) { return Effect ? Effect->BeginPass(pass) : 0; }
int32_t ZethShaderFx::EndPass() { return Effect ? Effect->EndPass() : 0; }
int32_t ZethShaderFx::CommitChanges() { return Effect ? Effect->CommitChanges() : 0; }
ZethShaderFx::Handle ZethShaderFx::GetParameterByName(const char* name) {
    return Effect ? Effect->GetParameterByName(nullptr, name) : nullptr;
}
ZethShaderFx::Handle ZethShaderFx::GetParameterBySemantic(const char* semantic) {
    return Effect ? Effect->GetParameterBySemantic(nullptr, semantic) : nullptr;
}
int32_t ZethShaderFx::SetBool(Handle name, bool value) { return Effect ? Effect->SetBool(name, value) : 0; }
int32_t ZethShaderFx::SetBoolArray(Handle name, const bool* values, uint32_t count) {
    return Effect ? Effect->SetBoolArray(name, values, count) : 0;
}
int32_t ZethShaderFx::SetFloat(Handle name, float value) { return Effect ? Effect->SetFloat(name, value) : 0; }
int32_t ZethShaderFx::SetFloatArray(Handle name, const float* values, uint32_t count) {
    return Effect ? Effect->SetFloatArray(name, values, count) : 0;
}
int32_t ZethShaderFx::SetInt(Handle name, int32_t value) { return Effect ? Effect->SetInt(name, value) : 0; }
int32_t ZethShaderFx::SetIntArray(Handle name, const int32_t* values, uint32_t count) {
    return Effect ? Effect->SetIntArray(name, values, count) : 0;
}
int32_t ZethShaderFx::SetMatrix(Handle name, const Matrix* matrix) {
    return Effect ? Effect->SetMatrix(name, matrix) : 0;
}
int32_t ZethShaderFx::SetMatrixArray(Handle name, const Matrix* matrices, uint32_t count) {
    return Effect ? Effect->SetMatrixArray(name, matrices, count) : 0;
}
int32_t ZethShaderFx::SetMatrixTranspose(Handle name, const Matrix* matrix) {
    return Effect ? Effect->SetMatrixTranspose(name, matrix) : 0;
}
int32_t ZethShaderFx::SetMatrixTransposeArray(Handle name, const Matrix* matrices, uint32_t count) {
    return Effect ? Effect->SetMatrixTransposeArray(name, matrices, count) : 0;
}
int32_t ZethShaderFx::SetString(Handle name, const char* text) {
    return Effect ? Effect->SetString(name, text) : 0;
}
int32_t ZethShaderFx::SetTexture(Handle name, CTexture* texture) {
    if (!Effect) return 0;
    if (!texture) return Effect->SetTexture(name, nullptr);
    platform::gfx::Texture* deviceTexture = nullptr;
    texture->GetTexture(&deviceTexture);
    const int32_t r = Effect->SetTexture(name, deviceTexture);
    if (deviceTexture) deviceTexture->Release();
    return r;
}
int32_t ZethShaderFx::SetVector(Handle name, const Vector4* vector) {
    return Effect ? Effect->SetVector(name, vector) : 0;
}
int32_t ZethShaderFx::SetVectorArray(Handle name, const Vector4* vectors, uint32_t count) {
    return Effect ? Effect->SetVectorArray(name, vectors, count) : 0;
}
