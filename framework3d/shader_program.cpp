#include "framework3d/shader_program.h"

#include <cmath>

#include "framework3d/shader_fx.h"

using namespace shaderopt;

namespace {

constexpr float kZeroMatrix[16] = {};

// mul( v, M ) of a float4 and a float4x4: the sum of v's components times M's rows.
void Mul4(const float v[4], const float* m, float out[4]) {
    for (int j = 0; j < 4; ++j) out[j] = v[0] * m[j] + v[1] * m[4 + j] + v[2] * m[8 + j] + v[3] * m[12 + j];
}

// mul( n, (float3x3)M ).
void Mul3(const float n[3], const float* m, float out[3]) {
    for (int j = 0; j < 3; ++j) out[j] = n[0] * m[j] + n[1] * m[4 + j] + n[2] * m[8 + j];
}

float Dot3(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
float Dot4(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3]; }

int LightCount(uint32_t o) {
    if (o & kUnlit) return 0;
    int n = 1;
    while (!(o & (kLight1 << (n - 1)))) ++n;
    return n;
}

}  // namespace

ShaderProgram::ShaderProgram(uint32_t options, uint32_t influences, uint32_t boneMatrices)
    : options_(options), influences_(influences), lights_(LightCount(options)),
      bones_((options & kSkinned) ? size_t(boneMatrices) * 16 : 0) {}

void ShaderProgram::Load(const platform::d3dx::Effect& e) {
    // Parameters the text does not declare fail to read and stay zero.
    e.GetFloatArray("mTransform", transform_, 16);
    e.GetFloatArray("mWorldView", worldView_, 16);
    e.GetFloatArray("VertexExtrusion", &extrusion_, 1);
    e.GetFloatArray("FogParameter", fog_, 2);
    e.GetFloatArray("FogTransform", fogTransform_, 4);
    e.GetFloatArray("SlideTextureU", &slideU_, 1);
    e.GetFloatArray("SlideTextureV", &slideV_, 1);
    e.GetFloatArray("MaterialDiffuse", diffuse_, 4);
    e.GetFloatArray("MorphWeight", &morphWeight_, 1);
    e.GetFloatArray("mBoneMatrixArray", bones_.data(), uint32_t(bones_.size()));
    e.GetFloatArray("LightAmbient", lightAmbient_, 4);
    e.GetFloatArray("LightIsUse", lightIsUse_, 4);
    e.GetFloatArray("LightIsDirectional", lightIsDirectional_, 4);
    e.GetFloatArray("LightParameter", &lightParameter_[0][0], 16);
    e.GetFloatArray("LightColor", &lightColor_[0][0], 16);
}

const float* ShaderProgram::Bone(uint32_t index) const {
    return size_t(index) * 16 < bones_.size() ? &bones_[size_t(index) * 16] : kZeroMatrix;
}

// ComputeLight( no, norm, pos ).
void ShaderProgram::Light(int no, const float norm[3], const float pos[4], float color[4]) const {
    for (int k = 0; k < 4; ++k) color[k] = 0.0f;
    if (lightIsUse_[no] == 0.0f) return;
    const float* lp = lightParameter_[no];
    float power;
    if (lightIsDirectional_[no] != 0.0f) {
        power = -Dot3(lp, norm);
    } else {
        float d[4];
        for (int k = 0; k < 4; ++k) d[k] = pos[k] - lp[k];
        const float r = 1.0f / std::sqrt(Dot4(d, d));
        for (float& c : d) c *= r;
        power = -Dot3(d, norm);
    }
    static constexpr float kFloor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    for (int k = 0; k < 4; ++k) color[k] = std::fmax(kFloor[k], lightColor_[no][k] * power);
}

void ShaderProgram::Run(const platform::gfx::ProgramInput& in, platform::gfx::ProgramOutput* out) const {
    float pos[4], norm[3], proj[4];
    if (options_ & kSkinned) {
        float last = 1.0f;
        for (int k = 0; k < 4; ++k) pos[k] = 0.0f;
        for (int k = 0; k < 3; ++k) norm[k] = 0.0f;
        for (uint32_t i = 0; i < influences_; ++i) {
            const float* bone = Bone(in.blendIndices[i]);
            const bool isLast = i + 1 == influences_;
            const float weight = isLast ? last : in.blendWeight[i];
            float p[4], n[3];
            Mul4(in.position[0], bone, p);
            Mul3(in.normal[0], bone, n);
            for (int k = 0; k < 4; ++k) pos[k] += p[k] * weight;
            for (int k = 0; k < 3; ++k) norm[k] += n[k] * weight;
            if (!isLast) last -= weight;
        }
    } else if (options_ & kMorph) {
        const float w = morphWeight_;
        for (int k = 0; k < 4; ++k) pos[k] = in.position[0][k] - (in.position[0][k] - in.position[1][k]) * w;
        for (int k = 0; k < 3; ++k) norm[k] = in.normal[0][k] - (in.normal[0][k] - in.normal[1][k]) * w;
    } else {
        for (int k = 0; k < 3; ++k) norm[k] = in.normal[0][k];
        for (int k = 0; k < 4; ++k) pos[k] = in.position[0][k];
    }
    // float4( normal, 0 ) * VertexExtrusion
    for (int k = 0; k < 4; ++k) pos[k] += (k < 3 ? norm[k] : 0.0f) * extrusion_;
    if (options_ & kSkinned) {
        const float p1[4] = {pos[0], pos[1], pos[2], 1.0f};
        Mul4(p1, transform_, proj);
    } else {
        Mul4(pos, transform_, proj);
    }
    for (int k = 0; k < 4; ++k) out->position[k] = proj[k];
    out->fog = std::fmax(0.0f, std::fmin(1.0f, Dot4(pos, fogTransform_) * fog_[0] + fog_[1]));

    float color[4];
    if (lights_ == 0) {
        for (int k = 0; k < 4; ++k) color[k] = diffuse_[k];
    } else {
        for (float& c : color) c = 0.0f;
        for (int i = 0; i < lights_; ++i) {
            float light[4];
            Light(i, norm, pos, light);
            for (int k = 0; k < 4; ++k) color[k] += light[k];
        }
        for (int k = 0; k < 4; ++k) color[k] = std::fmin(std::fmax(color[k], lightAmbient_[k]) * diffuse_[k], 1.0f);
    }
    for (int k = 0; k < 3; ++k) out->color[k] = color[k];
    out->color[3] = diffuse_[3];

    if (options_ & kScreenProjection) {
        float view[3];
        Mul3(in.normal[0], worldView_, view);
        const float invW = 1.0f / proj[3];
        const float u = proj[0] * invW * 0.5f + 0.5f;
        const float v = proj[1] * invW * -0.5f + 0.5f;
        out->texCoord[0][0] = u + view[0] * slideU_;
        out->texCoord[0][1] = v + view[1] * slideV_;
        return;
    }
    out->texCoord[0][0] = in.texCoord[0] + slideU_;
    out->texCoord[0][1] = in.texCoord[1] + slideV_;
    if (options_ & kPlainTexture) {
        out->texCoord[1][0] = out->texCoord[0][0];
        out->texCoord[1][1] = out->texCoord[0][1];
    } else if (options_ & kToon) {
        const float toon = Dot3(lightParameter_[0], norm) * 0.5f + 0.5f;
        for (float& c : out->texCoord[1]) c = toon;
    } else {
        float eye[4], normal[3], toEye[3];
        Mul4(pos, worldView_, eye);
        Mul3(norm, worldView_, normal);
        const float r = 1.0f / std::sqrt(Dot3(eye, eye));
        for (int k = 0; k < 3; ++k) toEye[k] = -eye[k] * r;
        const float d = Dot3(toEye, normal);
        for (int k = 0; k < 2; ++k) out->texCoord[1][k] = (toEye[k] - 2.0f * normal[k] * d) * 0.5f + 0.5f;
    }
}
