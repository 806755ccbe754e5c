#include <gtest/gtest.h>

#include <string>

#include "framework/app/log.h"
#include "framework/files/temp_folder.h"
#include "framework/graphics/graphics_fixture.h"
#include "framework/graphics/texture.h"
#include "framework3d/shader_fx.h"
#include "support/read_file.h"

namespace {

using namespace shaderopt;

class ShaderFxTest : public GraphicsTest {
protected:
    // Runs `body` with the log open and returns the log's text.
    template <class Body>
    std::string Logged(Body body) {
        const std::string path = folder_.Path() + "/log.html";
        EXPECT_TRUE(ZethLog::Open(path.c_str()));
        body();
        ZethLog::Close();
        return testing_support::ReadFile(path);
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    static constexpr const char* kRed = "<FONT color=\"RED\">";
    TempFolder folder_;
};

TEST_F(ShaderFxTest, ReleaseUnlistsAndLogsOnlyTheLastReference) {
    const uint32_t before = ZethShaderFx::Count();
    uint32_t flags = 0;
    ZethShaderFx* fx = nullptr;
    std::string log = Logged([&] { fx = ZethShaderFx::Create(0, 0, 0, &flags); });
    ASSERT_NE(fx, nullptr);
    EXPECT_EQ(flags, 0x8E1u);
    EXPECT_NE(log.find("ZethShaderFx::Create"), std::string::npos);
    EXPECT_NE(log.find("Complete"), std::string::npos);
    EXPECT_EQ(ZethShaderFx::Count(), before + 1);
    fx->AddRef();
    log = Logged([&] { ZethShaderFx::Release(fx); });
    EXPECT_EQ(ZethShaderFx::Count(), before + 1);  // count 2: still listed, nothing logged
    EXPECT_EQ(log.find("ZethShaderFx::Release"), std::string::npos);
    log = Logged([&] {
        ZethShaderFx::Release(fx);
        ZethShaderFx::Release(nullptr);
    });
    EXPECT_EQ(ZethShaderFx::Count(), before);
    EXPECT_NE(log.find("ZethShaderFx::Release"), std::string::npos);
    EXPECT_NE(log.find("[Reference 1]"), std::string::npos);
}

TEST_F(ShaderFxTest, FinalizeDeletesEffectsStillHeld) {
    ZethShaderFx* a = ZethShaderFx::Create(kSkinned, 2, 4, nullptr);
    ZethShaderFx* b = ZethShaderFx::Create(kMorph | kLight4, 0, 0, nullptr);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    a->AddRef();
    ZethShaderFx::Finalize();
    EXPECT_EQ(ZethShaderFx::Count(), 0u);
}

TEST_F(ShaderFxTest, FailuresAreLoggedInRedAndCreateNothing) {
    const uint32_t before = ZethShaderFx::Count();
    auto* fx = new ZethShaderFx;
    std::string log = Logged([&] { EXPECT_FALSE(fx->CreateFromMemory("float a", 7)); });
    EXPECT_EQ(fx->Effect, nullptr);
    EXPECT_EQ(Count(log, kRed), 2u);
    EXPECT_NE(log.find("  -> Shader Compile Error [ effect(1): error: expected ';'"), std::string::npos);
    log = Logged([&] { EXPECT_FALSE(fx->CreateFromFile("no_such_effect.fx")); });
    EXPECT_EQ(Count(log, kRed), 1u);
    EXPECT_NE(log.find("[ no_such_effect.fx ]"), std::string::npos);
    // Skinned shaders take 1 to 4 influences; 5 fails like a compile failure.
    ZethShaderFx* skinned = nullptr;
    log = Logged([&] { skinned = ZethShaderFx::Create(kSkinned, 5, 8, nullptr); });
    EXPECT_EQ(skinned, nullptr);
    EXPECT_EQ(Count(log, kRed), 2u);
    EXPECT_EQ(ZethShaderFx::Count(), before);
    // An object without an effect answers every call with nothing.
    uint32_t passes = 7;
    EXPECT_FALSE(fx->Begin(&passes, 0));
    EXPECT_EQ(fx->SetFloat("VertexExtrusion", 1.0f), 0);
    EXPECT_EQ(fx->GetParameterByName("mTransform"), nullptr);
    EXPECT_FALSE(ZethShaderFx::Begin(nullptr, &passes));
    ZethShaderFx::SetFloat(nullptr, "VertexExtrusion", 1.0f);
    ZethShaderFx::End(nullptr);
    fx->Release();
}

TEST_F(ShaderFxTest, GeneratedPassesRunTheirProgramAndEndRestoresFixedFunction) {
    ZethShaderFx* fx = ZethShaderFx::Create(kStatic | kLight1, 0, 0, nullptr);
    ASSERT_NE(fx, nullptr);
    platform::gfx::Device* device = Zeth3D::GetDevice();
    uint32_t passes = 0;
    ASSERT_TRUE(ZethShaderFx::Begin(fx, &passes));
    EXPECT_EQ(passes, 1u);
    ZethShaderFx::BeginPass(fx, 0);
    EXPECT_NE(device->GetVertexShader(), nullptr);
    ZethShaderFx::EndPass(fx);
    ZethShaderFx::End(fx);
    EXPECT_EQ(device->GetVertexShader(), nullptr);
    // Undeclared names fail quietly; a framework texture reaches the effect as its device texture.
    EXPECT_NE(fx->SetInt("BoneWeightCount", 2), 0);
    auto* effect = new ZethShaderFx;
    constexpr char kText[] = "texture Skin;\nfloat4 VS() : POSITION { return 0; }\n"
                             "technique T { pass P { VertexShader = compile vs_2_0 VS(); } }";
    ASSERT_TRUE(effect->CreateFromMemory(kText, sizeof kText));
    CTexture* texture = ZethTexture::Create(8, 8, 12);
    ASSERT_NE(texture, nullptr);
    ZethShaderFx::SetTexture(effect, "Skin", texture);
    platform::gfx::Texture* bound = nullptr;
    ASSERT_EQ(effect->Effect->GetTexture("Skin", &bound), 0);
    EXPECT_EQ(bound, texture->GetDeviceTexture());
    bound->Release();
    ZethShaderFx::SetTexture(effect, "Skin", nullptr);
    // An effect read from text has no program: its pass draws fixed-function.
    ASSERT_TRUE(ZethShaderFx::Begin(fx, &passes));
    ZethShaderFx::BeginPass(fx, 0);
    ASSERT_TRUE(ZethShaderFx::Begin(effect, &passes));
    ZethShaderFx::BeginPass(effect, 0);
    EXPECT_EQ(device->GetVertexShader(), nullptr);
    ZethShaderFx::EndPass(effect);
    ZethShaderFx::End(effect);
    ZethShaderFx::EndPass(fx);
    ZethShaderFx::End(fx);
    ZethShaderFx::Release(fx);
    effect->Release();
    ZethTexture::Release(texture);
    Zeth3D::ResetDevice(true);  // the effect list takes loss and reset
}

}  // namespace
