#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/d3dx/effect.h"

namespace platform::d3dx {
namespace {

using Kind = EffectParameter::Kind;

// An effect as a file would hold it: comments, a preprocessor line, a structure, annotations,
// initial values, a sampler block, functions and two passes.
constexpr char kFileEffect[] = R"(// a comment
#define UNUSED 1
/* a block
   comment */
struct VS_IN { float4 p : POSITION; };
uniform float4x4 mWorld : WORLD;
float4 Tint < string UIName = "tint"; > = { 0.5, 25E-2, 1e+0, 1 };
float3 Direction = float3( 1, 2e1, 3.5e-1f );
bool Flags[2] = { true, false };
int Count = 3;
float Weights[4];
string Title = "cube";
texture Skin;
sampler SkinSampler = sampler_state { Texture = <Skin>; MinFilter = LINEAR; };
static float Hidden = 2.0;
float4 Shade( VS_IN i ) : COLOR0 { if ( i.p.x > 0 ) { return Tint; } return float4( 0, 0, 0, 1 ); }
technique Main < int order = 1; >
{
    pass First { VertexShader = compile vs_2_0 Shade(); ZEnable = true; }
    pass Second { PixelShader = compile ps_2_0 Shade(); }
}
)";

class EffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(D3DXCreateEffect(nullptr, kFileEffect, sizeof kFileEffect, nullptr, nullptr, 0, nullptr,
                                   &effect_, nullptr),
                  gfx::result::kOk);
    }
    void TearDown() override { effect_->Release(); }
    std::vector<float> Values(const char* name) {
        for (const EffectParameter& p : effect_->Parameters()) {
            if (p.name == name) return p.values;
        }
        return {};
    }
    Effect* effect_ = nullptr;
};

TEST_F(EffectTest, DeclarationsBecomeParameters) {
    struct Row {
        const char* name;
        Kind kind;
        uint32_t rows, columns, elements;
        std::vector<float> values;
    };
    const Row rows[] = {{"mWorld", Kind::kFloat, 4, 4, 1, std::vector<float>(16, 0.0f)},
                        {"Tint", Kind::kFloat, 1, 4, 1, {0.5f, 0.25f, 1, 1}},
                        {"Direction", Kind::kFloat, 1, 3, 1, {1, 20, 0.35f}},
                        {"Flags", Kind::kBool, 1, 1, 2, {1, 0}},
                        {"Count", Kind::kInt, 1, 1, 1, {3}},
                        {"Weights", Kind::kFloat, 1, 1, 4, {0, 0, 0, 0}},
                        {"Title", Kind::kString, 0, 0, 1, {}},
                        {"Skin", Kind::kTexture, 0, 0, 1, {}},
                        {"SkinSampler", Kind::kSampler, 0, 0, 1, {}}};
    ASSERT_EQ(effect_->Parameters().size(), std::size(rows));  // the static one is no parameter
    for (size_t i = 0; i < std::size(rows); ++i) {
        const EffectParameter& p = effect_->Parameters()[i];
        EXPECT_EQ(p.name, rows[i].name);
        EXPECT_EQ(p.kind, rows[i].kind) << p.name;
        EXPECT_EQ(p.rows * 10 + p.columns, rows[i].rows * 10 + rows[i].columns) << p.name;
        EXPECT_EQ(p.elements, rows[i].elements) << p.name;
        EXPECT_EQ(p.values, rows[i].values) << p.name;
    }
    const char* title = nullptr;
    ASSERT_EQ(effect_->GetString("Title", &title), gfx::result::kOk);
    EXPECT_STREQ(title, "cube");
    EXPECT_STREQ(effect_->GetParameterBySemantic(nullptr, "world"), "mWorld");
    EXPECT_EQ(effect_->GetParameterBySemantic(nullptr, "VIEW"), nullptr);
    ASSERT_EQ(effect_->Techniques().size(), 1u);
    const EffectTechnique& t = effect_->Techniques()[0];
    ASSERT_EQ(t.passes.size(), 2u);
    EXPECT_EQ(t.passes[0].vertexShader, "Shade");
    EXPECT_EQ(t.passes[0].profile, "vs_2_0");
    EXPECT_EQ(t.passes[1].vertexShader, "");
}

TEST_F(EffectTest, SettersFillTheParameterShape) {
    const Matrix m{{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}};
    const Vector4 v[5] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 9, 9, 9}, {7, 7, 7, 7}, {6, 6, 6, 6}};
    const bool flags[3] = {false, true, true};
    const int32_t ints[1] = {-7};
    using gfx::result::kInvalidCall;
    using gfx::result::kOk;
    EXPECT_EQ(effect_->SetMatrixTranspose("mWorld", &m), kOk);
    EXPECT_EQ(Values("mWorld")[1], 5.0f);
    // A handle from GetParameterByName names the same parameter as its text.
    EXPECT_EQ(effect_->SetMatrix(effect_->GetParameterByName(nullptr, "mWorld"), &m), kOk);
    EXPECT_EQ(Values("mWorld")[1], 2.0f);
    EXPECT_EQ(effect_->SetVector("Direction", &v[1]), kOk);  // three of the four components
    EXPECT_EQ(Values("Direction"), (std::vector<float>{5, 6, 7}));
    EXPECT_EQ(effect_->SetVectorArray("Weights", v, 5), kOk);  // one component per element, four elements
    EXPECT_EQ(Values("Weights"), (std::vector<float>{1, 5, 9, 7}));
    EXPECT_EQ(effect_->SetFloatArray("Weights", &v[0].x, 6), kOk);  // a flat array stops at the end
    EXPECT_EQ(Values("Weights"), (std::vector<float>{1, 2, 3, 4}));
    EXPECT_EQ(effect_->SetBoolArray("Flags", flags, 3), kOk);
    EXPECT_EQ(Values("Flags"), (std::vector<float>{0, 1}));
    EXPECT_EQ(effect_->SetFloat("Flags", 0.5f), kOk);  // any non-zero value is true
    EXPECT_EQ(Values("Flags")[0], 1.0f);
    EXPECT_EQ(effect_->SetFloat("Count", 2.75f), kOk);  // ints keep the whole part
    EXPECT_EQ(Values("Count")[0], 2.0f);
    EXPECT_EQ(effect_->SetIntArray("Tint", ints, 1), kOk);
    EXPECT_EQ(Values("Tint")[0], -7.0f);
    EXPECT_EQ(effect_->SetString("Title", "box"), kOk);
    // Undeclared names and parameters of another kind fail quietly and change nothing.
    EXPECT_EQ(effect_->SetInt("BoneWeightCount", 2), kInvalidCall);
    EXPECT_EQ(effect_->GetParameterByName(nullptr, "BoneWeightCount"), nullptr);
    EXPECT_EQ(effect_->SetString("Tint", "x"), kInvalidCall);
    EXPECT_EQ(effect_->SetFloat("Title", 1.0f), kInvalidCall);
    EXPECT_EQ(effect_->SetTexture("Tint", nullptr), kInvalidCall);
    EXPECT_EQ(effect_->SetFloat(nullptr, 1.0f), kInvalidCall);
    EXPECT_EQ(effect_->SetTexture("Skin", nullptr), kOk);
    EXPECT_EQ(Values("Tint")[1], 0.25f);
}

// Counts its loads; draws nothing.
class CountingProgram : public EffectProgram {
public:
    void Load(const Effect& effect) override {
        ++loads;
        effect.GetFloatArray("Tint", tint, 4);
    }
    void Run(const gfx::ProgramInput&, gfx::ProgramOutput*) const override {}
    int loads = 0;
    float tint[4] = {};
};

TEST_F(EffectTest, PassesLoadTheProgramOnlyInsideBeginAndEnd) {
    auto* program = new CountingProgram;
    effect_->AttachProgram(program);
    uint32_t passes = 0;
    EXPECT_EQ(effect_->BeginPass(0), gfx::result::kInvalidCall);  // before Begin
    ASSERT_EQ(effect_->Begin(&passes, kFxDoNotSaveShaderState), gfx::result::kOk);
    EXPECT_EQ(passes, 2u);
    EXPECT_EQ(effect_->Begin(&passes, 0), gfx::result::kInvalidCall);  // already begun
    EXPECT_EQ(effect_->BeginPass(2), gfx::result::kInvalidCall);
    ASSERT_EQ(effect_->BeginPass(0), gfx::result::kOk);  // no device: loads, sets nothing
    EXPECT_EQ(program->loads, 1);
    EXPECT_FLOAT_EQ(program->tint[0], 0.5f);
    effect_->SetFloat("Tint", 0.125f);
    EXPECT_EQ(effect_->CommitChanges(), gfx::result::kOk);
    EXPECT_FLOAT_EQ(program->tint[0], 0.125f);
    EXPECT_EQ(effect_->EndPass(), gfx::result::kOk);
    EXPECT_EQ(effect_->CommitChanges(), gfx::result::kInvalidCall);  // outside a pass
    EXPECT_EQ(effect_->End(), gfx::result::kOk);
    EXPECT_EQ(effect_->End(), gfx::result::kInvalidCall);
    program->Release();
}

TEST(EffectText, DamagedTextGivesLineAndReason) {
    struct Row {
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"float4 Tint;\nfloat4 Broken( float x ) {\n return x;\n", "effect(2): error: '{' is never closed"},
        {"float a\nfloat b;", "effect(2): error: expected ';' at 'float'"},
        {"float a[0];", "effect(1): error: array size '0' out of range"},
        {"float a[70000];", "effect(1): error: array size '70000' out of range"},
        {"float a;\nint a;", "effect(2): error: 'a' is declared twice"},
        {"float4x4 a[65536];\nfloat b;", "effect(2): error: the parameters hold too many values"},
        {"technique T { pass P { VertexShader = compile vs_2_0 Missing(); } }",
         "effect(1): error: undeclared function 'Missing'"},
        {"technique T { draw P { } }", "effect(1): error: expected 'pass' at 'draw'"},
        {"technique T { pass P { ZEnable true; } }", "effect(1): error: expected '=' at 'true'"},
        {"float", "effect(1): error: expected a name before the end of the text"},
        {"float4 = 1;", "effect(1): error: expected a name at '='"},
    };
    for (const Row& row : rows) {
        Effect* effect = reinterpret_cast<Effect*>(1);
        Buffer* errors = nullptr;
        EXPECT_EQ(D3DXCreateEffect(nullptr, row.text, uint32_t(std::strlen(row.text)), nullptr, nullptr, 0,
                                   nullptr, &effect, &errors),
                  gfx::result::kInvalidCall)
            << row.text;
        EXPECT_EQ(effect, nullptr);
        ASSERT_NE(errors, nullptr) << row.text;
        EXPECT_EQ(std::string(static_cast<const char*>(errors->GetBufferPointer())), std::string(row.message) + "\n");
        EXPECT_EQ(errors->GetBufferSize(), std::strlen(row.message) + 2);
        errors->Release();
    }
}

TEST(EffectText, ZeroByteEndsTheText) {
    const char text[] = "float a;\0 this is not read {";
    Effect* effect = nullptr;
    ASSERT_EQ(D3DXCreateEffect(nullptr, text, sizeof text, nullptr, nullptr, 0, nullptr, &effect, nullptr),
              gfx::result::kOk);
    EXPECT_EQ(effect->Parameters().size(), 1u);
    uint32_t passes = 0;
    EXPECT_EQ(effect->Begin(&passes, 0), gfx::result::kInvalidCall);  // no technique to run
    effect->Release();
}

}  // namespace
}  // namespace platform::d3dx
