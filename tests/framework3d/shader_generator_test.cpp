#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework3d/shader_fx.h"
#include "golden.h"

namespace {

using namespace shaderopt;

TEST(ShaderGenerator, NormalisationKeepsOneBitPerGroup) {
    struct Row {
        uint32_t options, influences, bones;
        uint32_t normalized, flags;
    };
    const Row rows[] = {
        {0, 0, 0, 0x0209, 0x8E1},                      // static, unlit, plain texture
        {kStatic | kSkinned, 2, 8, 0x0209, 0x8E1},     // static wins over skinned
        {kMorph | kSkinned, 2, 8, 0x020A, 0x9E1},      // morph wins over skinned
        {kSkinned, 2, 0, 0x0209, 0x8E1},               // no bones: static, no bone flag
        {kSkinned, 0, 8, 0x0209, 0x8E1},
        {kSkinned, 3, 8, 0x020C, 0x8E9},
        {0x30, 0, 0, 0x0211, 0x8F1},                   // lights 1 and 2: one light
        {0x0480, 0, 0, 0x0409, 0x8F1},                 // toon drops the lights, keeps their flag
        {kTextureMask, 0, 0, 0x0209, 0x8E1},           // the lowest texture scheme wins
        {kReflection | kScreenProjection, 0, 0, 0x0809, 0x8E5},
        {kScreenProjection | kLight4, 0, 0, 0x1081, 0x8F5},
        {kMorph | 0xF0, 0, 0, 0x0212, 0x9F1},          // morph with the lowest light
        {kMorph | kLightMask, 0, 0, 0x020A, 0x9E1},    // unlit is the lowest lighting bit
    };
    for (const Row& r : rows) {
        const uint32_t o = NormalizeShaderOptions(r.options, r.influences, r.bones);
        EXPECT_EQ(o, r.normalized) << std::hex << r.options;
        EXPECT_EQ(ShaderUseFlags(o), r.flags) << std::hex << r.options;
    }
}

TEST(ShaderGenerator, StaticUnlitTextMatchesItsGolden) {
    EXPECT_TRUE(golden::MatchesText("shader_static.fx", ShaderSource(0, 0, 0)));
    EXPECT_TRUE(golden::MatchesText("shader_skinned4_lit.fx", ShaderSource(kSkinned | kLight4, 4, 30)));
    EXPECT_EQ(ShaderSource(kSkinned, 5, 8), "");
    EXPECT_NE(ShaderSource(kStatic, 5, 8), "");  // influences matter only when skinned
}

// The parameters a set of flags names; toon reads only the light parameters.
std::set<std::string> ParametersOf(uint32_t flags, bool toon) {
    const struct {
        uint32_t flag;
        std::set<std::string> names;
    } kGroups[] = {{fxuse::kTransform, {"mTransform"}},
                   {fxuse::kWorldView, {"mWorldView"}},
                   {fxuse::kBoneMatrices, {"mBoneMatrixArray"}},
                   {fxuse::kLights, {"LightAmbient", "LightSpecular", "LightIsUse", "LightIsDirectional",
                                     "LightAttenuation", "LightParameter", "LightColor"}},
                   {fxuse::kMaterial, {"MaterialDiffuse", "MaterialAmbient"}},
                   {fxuse::kSlide, {"SlideTextureU", "SlideTextureV"}},
                   {fxuse::kExtrusion, {"VertexExtrusion"}},
                   {fxuse::kMorphWeight, {"MorphWeight"}},
                   {fxuse::kFog, {"FogParameter", "FogTransform"}}};
    std::set<std::string> out;
    for (const auto& g : kGroups) {
        if (!(flags & g.flag)) continue;
        if (g.flag == fxuse::kLights && toon) {
            out.insert("LightParameter");
        } else {
            out.insert(g.names.begin(), g.names.end());
        }
    }
    return out;
}

TEST(ShaderGenerator, EveryCombinationParsesAndDeclaresItsFlagGroups) {
    const uint32_t inputs[] = {kStatic, kMorph, kSkinned};
    const uint32_t lights[] = {kUnlit, 0x10, 0x20, 0x40, 0x80};
    const uint32_t schemes[] = {kPlainTexture, kToon, kReflection, kScreenProjection};
    int made = 0;
    for (uint32_t input : inputs) {
        for (uint32_t light : lights) {
            for (uint32_t scheme : schemes) {
                for (uint32_t influences = 1; influences <= (input == kSkinned ? 4u : 1u); ++influences) {
                    const uint32_t options = input | light | scheme;
                    const uint32_t o = NormalizeShaderOptions(options, influences, 26);
                    const std::string text = ShaderSource(options, influences, 26);
                    platform::d3dx::Effect* effect = nullptr;
                    ASSERT_EQ(platform::d3dx::D3DXCreateEffect(nullptr, text.c_str(), uint32_t(text.size() + 1),
                                                               nullptr, nullptr, 0, nullptr, &effect, nullptr),
                              platform::gfx::result::kOk)
                        << std::hex << options << "\n" << text;
                    std::set<std::string> declared;
                    for (const auto& p : effect->Parameters()) declared.insert(p.name);
                    EXPECT_EQ(declared, ParametersOf(ShaderUseFlags(o), (o & kToon) != 0)) << std::hex << options;
                    EXPECT_EQ(text.find("ComputeLight") != std::string::npos, !(o & kUnlit)) << std::hex << options;
                    ASSERT_EQ(effect->Techniques().size(), 1u);
                    EXPECT_EQ(effect->Techniques()[0].passes[0].vertexShader, "VertexShader_00");
                    EXPECT_EQ(text.find("float4x4 mBoneMatrixArray[26];") != std::string::npos, (o & kSkinned) != 0);
                    effect->Release();
                    ++made;
                }
            }
        }
    }
    EXPECT_EQ(made, 2 * 5 * 4 + 5 * 4 * 4);
}

}  // namespace
