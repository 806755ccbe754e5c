// Effect objects: one effect of the helper library in a reference-counted framework object,
// listed so that shutdown and device loss reach every effect. An effect is made from a
// generated vertex shader (the options below), from an effect file or from effect text; the
// model renderer sets its parameters by name and draws between Begin/BeginPass and
// EndPass/End.
//
// The static operations keep their family names; the per-object steps that would share a
// name and argument list with one of them are CreateShader, OnLostDeviceEffect and
// OnResetDeviceEffect.
#pragma once

#include <cstdint>
#include <string>

#include "framework/graphics/object_base.h"
#include "platform/d3dx/effect.h"

class CTexture;

// Vertex-shader options: one vertex input, one lighting and one texture-coordinate scheme.
namespace shaderopt {
constexpr uint32_t kStatic = 0x0001;
constexpr uint32_t kMorph = 0x0002;
constexpr uint32_t kSkinned = 0x0004;
constexpr uint32_t kInputMask = 0x0007;
constexpr uint32_t kUnlit = 0x0008;
constexpr uint32_t kLight1 = 0x0010;  // kLight1 << (n - 1): n lights
constexpr uint32_t kLight4 = 0x0080;
constexpr uint32_t kLightMask = 0x00F8;
constexpr uint32_t kPlainTexture = 0x0200;
constexpr uint32_t kToon = 0x0400;
constexpr uint32_t kReflection = 0x0800;
constexpr uint32_t kScreenProjection = 0x1000;
constexpr uint32_t kTextureMask = 0x1E00;
}  // namespace shaderopt

// Parameter-use flags: which named parameter groups a generated effect reads.
namespace fxuse {
constexpr uint32_t kTransform = 0x001;
constexpr uint32_t kWorld = 0x002;
constexpr uint32_t kWorldView = 0x004;
constexpr uint32_t kBoneMatrices = 0x008;
constexpr uint32_t kLights = 0x010;
constexpr uint32_t kMaterial = 0x020;
constexpr uint32_t kSlide = 0x040;
constexpr uint32_t kExtrusion = 0x080;
constexpr uint32_t kMorphWeight = 0x100;
constexpr uint32_t kCameraPosition = 0x200;
constexpr uint32_t kTextureStages = 0x400;
constexpr uint32_t kFog = 0x800;
}  // namespace fxuse

// The options the model data adds to a mesh's vertex input for shader types 0 to 5.
constexpr int kShaderTypeCount = 6;
extern const uint32_t kShaderTypeOptions[kShaderTypeCount];

// The options after normalisation: exactly one bit of each group survives. Skinned input
// needs a bone influence count and a bone matrix count; without either it is static.
uint32_t NormalizeShaderOptions(uint32_t options, uint32_t influences, uint32_t boneMatrices);
// The parameter-use flags of normalised options.
uint32_t ShaderUseFlags(uint32_t normalizedOptions);
// The shader text the generator writes for the options; empty for influence counts a skinned
// shader cannot take.
std::string ShaderSource(uint32_t options, uint32_t influences, uint32_t boneMatrices);

class ZethShaderFx : public CBaseObject {
public:
    using Handle = platform::d3dx::Handle;
    using Matrix = platform::d3dx::Matrix;
    using Vector4 = platform::d3dx::Vector4;

    ZethShaderFx() = default;
    ~ZethShaderFx() override;  // releases the effect and leaves the effect list

    // ---- the effect list ----
    // Logs, creates and generates an effect; null (logged) on failure. The effect is listed.
    static ZethShaderFx* Create(uint32_t options, uint32_t influences, uint32_t boneMatrices,
                                uint32_t* useFlags);
    // Releases one reference under the effect lock; the last one unlists and logs.
    static void Release(ZethShaderFx* fx);
    using CBaseObject::Release;
    static void Finalize();  // deletes every listed effect, whatever its reference count
    static void OnLostDevice();
    static void OnResetDevice();
    static uint32_t Count();  // listed effects

    // ---- forwarders: a null object does nothing ----
    static bool Begin(ZethShaderFx* fx, uint32_t* passes);  // flags: no shader state saved
    static void End(ZethShaderFx* fx);  // then no pixel or vertex shader on the device
    static void BeginPass(ZethShaderFx* fx, uint32_t pass);
    static void EndPass(ZethShaderFx* fx);
    static void CommitChanges(ZethShaderFx* fx);
    static void SetBoolArray(ZethShaderFx* fx, Handle name, const bool* values, uint32_t count);
    static void SetFloat(ZethShaderFx* fx, Handle name, float value);
    static void SetFloatArray(ZethShaderFx* fx, Handle name, const float* values, uint32_t count);
    static void SetInt(ZethShaderFx* fx, Handle name, int32_t value);
    static void SetMatrix(ZethShaderFx* fx, Handle name, const Matrix* matrix);
    static void SetMatrixArray(ZethShaderFx* fx, Handle name, const Matrix* matrices, uint32_t count);
    static void SetTexture(ZethShaderFx* fx, Handle name, CTexture* texture);
    static void SetVector(ZethShaderFx* fx, Handle name, const Vector4* vector);
    static void SetVectorArray(ZethShaderFx* fx, Handle name, const Vector4* vectors, uint32_t count);

    // ---- per object: each forwards to the effect, and does nothing (0) without one ----
    virtual void OnLostDeviceEffect();
    virtual void OnResetDeviceEffect();
    // Generates the vertex shader of the options and makes the effect from its text.
    virtual bool CreateShader(uint32_t options, uint32_t influences, uint32_t boneMatrices,
                              uint32_t* useFlags);
    virtual bool CreateFromFile(const char* file);
    virtual bool CreateFromMemory(const void* text, uint32_t length);
    virtual bool Begin(uint32_t* passes, uint32_t flags);
    virtual int32_t End();
    virtual int32_t BeginPass(uint32_t pass);
    virtual int32_t EndPass();
    virtual int32_t CommitChanges();
    virtual Handle GetParameterByName(const char* name);
    virtual Handle GetParameterBySemantic(const char* semantic);
    virtual int32_t SetBool(Handle name, bool value);
    virtual int32_t SetBoolArray(Handle name, const bool* values, uint32_t count);
    virtual int32_t SetFloat(Handle name, float value);
    virtual int32_t SetFloatArray(Handle name, const float* values, uint32_t count);
    virtual int32_t SetInt(Handle name, int32_t value);
    virtual int32_t SetIntArray(Handle name, const int32_t* values, uint32_t count);
    virtual int32_t SetMatrix(Handle name, const Matrix* matrix);
    virtual int32_t SetMatrixArray(Handle name, const Matrix* matrices, uint32_t count);
    virtual int32_t SetMatrixTranspose(Handle name, const Matrix* matrix);
    virtual int32_t SetMatrixTransposeArray(Handle name, const Matrix* matrices, uint32_t count);
    virtual int32_t SetString(Handle name, const char* text);
    virtual int32_t SetTexture(Handle name, CTexture* texture);
    virtual int32_t SetVector(Handle name, const Vector4* vector);
    virtual int32_t SetVectorArray(Handle name, const Vector4* vectors, uint32_t count);

    platform::d3dx::Effect* Effect = nullptr;
};
