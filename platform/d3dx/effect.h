// Effects of the helper library: effect text is parsed for its top-level parameter
// declarations (type, array size, semantic, simple initial values) and its techniques and
// passes; function bodies are skipped. Shader code is never compiled: a pass whose vertex
// shader the text compiles runs the software program attached to the effect, or the
// fixed-function pipeline when none is attached. Parameters are named by their name string
// or by the handle GetParameterByName returns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/d3dx/maths.h"
#include "platform/d3dx/mesh.h"  // Buffer: the text of a failed parse, zero-terminated

namespace platform::d3dx {

using Result = gfx::Result;
using Handle = const char*;

struct Vector4 {
    float x, y, z, w;
};

// Begin flag: the effect does not save and restore the shader state around Begin and End.
constexpr uint32_t kFxDoNotSaveShaderState = 2;

class Effect;

// The program that stands in for the vertex shader an effect compiles.
class EffectProgram : public gfx::VertexProgram {
public:
    // Takes the parameter values the program reads; called when a pass begins and on
    // CommitChanges.
    virtual void Load(const Effect& effect) = 0;
};

// One declared parameter and its value.
struct EffectParameter {
    enum class Kind { kBool, kInt, kFloat, kString, kTexture, kSampler, kOther };
    std::string name;
    std::string semantic;
    Kind kind = Kind::kOther;
    uint32_t rows = 0, columns = 0;  // 1 x 1 scalars, 1 x n vectors, r x c matrices
    uint32_t elements = 1;           // the array size, 1 when not an array
    std::vector<float> values;       // elements x rows x columns, row by row; bools as 0 or 1
    std::string text;                // a string's value
    gfx::Texture* texture = nullptr; // a texture's value, with a reference

    bool Numeric() const { return kind == Kind::kBool || kind == Kind::kInt || kind == Kind::kFloat; }
};

struct EffectPass {
    std::string name;
    std::string vertexShader;  // the function its VertexShader state compiles, empty when none
    std::string profile;
};

struct EffectTechnique {
    std::string name;
    std::vector<EffectPass> passes;
};

class Effect : public gfx::RefCounted {
public:
    Effect(gfx::Device* device, std::vector<EffectParameter> parameters,
           std::vector<EffectTechnique> techniques);

    // Starts the first technique: the number of its passes goes to *passes.
    Result Begin(uint32_t* passes, uint32_t flags);
    Result End();
    // Sets the pass's vertex shader: the attached program (loaded with the parameters) when the
    // pass compiles one and a program is attached, else none.
    Result BeginPass(uint32_t pass);
    Result EndPass();
    Result CommitChanges();  // reloads the program inside a pass

    Handle GetParameterByName(Handle parent, const char* name) const;  // null when undeclared
    Handle GetParameterBySemantic(Handle parent, const char* semantic) const;  // case-insensitive

    // Setters fail with kInvalidCall for an undeclared parameter or one of another kind.
    // Flat arrays fill the values in order; a vector or matrix fills one array element, as
    // many components of it as the parameter has.
    Result SetBool(Handle parameter, bool value);
    Result SetBoolArray(Handle parameter, const bool* values, uint32_t count);
    Result SetFloat(Handle parameter, float value);
    Result SetFloatArray(Handle parameter, const float* values, uint32_t count);
    Result SetInt(Handle parameter, int32_t value);
    Result SetIntArray(Handle parameter, const int32_t* values, uint32_t count);
    Result SetMatrix(Handle parameter, const Matrix* matrix);
    Result SetMatrixArray(Handle parameter, const Matrix* matrices, uint32_t count);
    Result SetMatrixTranspose(Handle parameter, const Matrix* matrix);
    Result SetMatrixTransposeArray(Handle parameter, const Matrix* matrices, uint32_t count);
    Result SetString(Handle parameter, const char* text);
    Result SetTexture(Handle parameter, gfx::Texture* texture);  // the effect adds a reference
    Result SetVector(Handle parameter, const Vector4* vector);
    Result SetVectorArray(Handle parameter, const Vector4* vectors, uint32_t count);

    // Reads up to count values (bools as 0 or 1); fails like the setters.
    Result GetFloatArray(Handle parameter, float* values, uint32_t count) const;
    Result GetString(Handle parameter, const char** text) const;
    Result GetTexture(Handle parameter, gfx::Texture** texture) const;  // adds a reference

    // The effect holds no device resources: loss and reset change nothing.
    Result OnLostDevice() { return gfx::result::kOk; }
    Result OnResetDevice() { return gfx::result::kOk; }

    // Attaches the program that runs the compiled vertex shader (the effect adds a reference).
    void AttachProgram(EffectProgram* program);
    const std::vector<EffectParameter>& Parameters() const { return parameters_; }
    const std::vector<EffectTechnique>& Techniques() const { return techniques_; }

private:
    ~Effect() override;
    const EffectParameter* Find(Handle handle) const;
    EffectParameter* Find(Handle handle);
    // Writes count blocks of `width` values, block i into element i from its first value.
    Result Store(Handle parameter, const float* values, uint32_t count, uint32_t width,
                 uint32_t stride);

    gfx::Device* device_;
    std::vector<EffectParameter> parameters_;
    std::vector<EffectTechnique> techniques_;
    EffectProgram* program_ = nullptr;
    bool begun_ = false;
    int32_t pass_ = -1;
};

// Parses effect text of `length` bytes (a zero byte ends it early). On success *effect is the
// new effect; otherwise *errors (when given) receives the messages, each
// "effect(LINE): error: TEXT", and the result is kInvalidCall. Defines, include handler,
// flags and pool are accepted for the caller's sake and not used.
Result D3DXCreateEffect(gfx::Device* device, const void* text, uint32_t length, const void* defines,
                        void* include, uint32_t flags, void* pool, Effect** effect, Buffer** errors);

}  // namespace platform::d3dx
