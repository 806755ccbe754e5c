// Drawing through a software vertex program: the elements it receives, and how its output
// reaches the rasteriser.
#include <cmath>
#include <vector>

#include "gfx_fixture.h"

namespace platform::gfx::testing {
namespace {

// Places each vertex at its POSITION0 x, y in clip space, coloured by a fixed output, and
// records what it was given.
class RecordingProgram : public VertexProgram {
public:
    void Run(const ProgramInput& in, ProgramOutput* out) const override {
        inputs.push_back(in);
        for (int k = 0; k < 4; ++k) out->position[k] = in.position[0][k];
        for (int k = 0; k < 4; ++k) out->color[k] = color[k];
        out->texCoord[0][0] = 0.25f;
        out->texCoord[1][0] = 0.75f;
    }
    float color[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    mutable std::vector<ProgramInput> inputs;
};

struct SkinVertex {
    float x, y, z;
    float weights[2];
    uint8_t indices[4];
    uint32_t color;
};

class VertexProgramTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        const VertexElement elements[] = {
            {0, 0, decltype_::kFloat3, 0, declusage::kPosition, 0},
            {0, 12, decltype_::kFloat2, 0, declusage::kBlendWeight, 0},
            {0, 20, decltype_::kUbyte4, 0, declusage::kBlendIndices, 0},
            {0, 24, decltype_::kColor, 0, declusage::kColor, 0},
            {0xFF, 0, decltype_::kUnused, 0, 0, 0}};
        VertexDeclaration* declaration = nullptr;
        ASSERT_EQ(device_->CreateVertexDeclaration(elements, &declaration), result::kOk);
        device_->SetVertexDeclaration(Keep(declaration));
        program_ = Keep(new RecordingProgram);
        device_->SetRenderState(rs::kCullMode, cull::kNone);
        device_->SetRenderState(rs::kZEnable, 0);
        device_->Clear(0, nullptr, clear::kTarget, 0, 1.0f, 0);
    }
    void TearDown() override {
        device_->SetVertexShader(nullptr);
        device_->SetVertexDeclaration(nullptr);
        DeviceTest::TearDown();
    }
    Result DrawQuad() {
        // Clip space -0.5..0.5 on both axes: pixels 160..480 by 120..360 of the back buffer.
        const SkinVertex v[4] = {{-0.5f, 0.5f, 0.5f, {0.25f, 0.5f}, {7, 1, 2, 3}, 0x80FF4020},
                                 {0.5f, 0.5f, 0.5f, {}, {}, 0},
                                 {0.5f, -0.5f, 0.5f, {}, {}, 0},
                                 {-0.5f, -0.5f, 0.5f, {}, {}, 0}};
        return device_->DrawPrimitiveUP(prim::kTriangleFan, 2, v, sizeof(SkinVertex));
    }
    uint32_t BackPixel(int x, int y) {
        Surface* back = nullptr;
        device_->GetBackBuffer(0, 0, 0, &back);
        const uint32_t p = back->ArgbPixels()[size_t(y) * back->Width() + size_t(x)];
        back->Release();
        return p & 0xFFFFFF;
    }
    RecordingProgram* program_ = nullptr;
};

TEST_F(VertexProgramTest, ProgramReceivesElementsByUsage) {
    ASSERT_EQ(device_->SetVertexShader(program_), result::kOk);
    EXPECT_EQ(device_->GetVertexShader(), program_);
    ASSERT_EQ(DrawQuad(), result::kOk);
    ASSERT_EQ(program_->inputs.size(), 4u);
    const ProgramInput& in = program_->inputs[0];
    // Three position floats and two weights: the missing components read 0, w reads 1.
    EXPECT_FLOAT_EQ(in.position[0][0], -0.5f);
    EXPECT_FLOAT_EQ(in.position[0][3], 1.0f);
    EXPECT_FLOAT_EQ(in.blendWeight[1], 0.5f);
    EXPECT_FLOAT_EQ(in.blendWeight[2], 0.0f);
    EXPECT_FLOAT_EQ(in.blendWeight[3], 1.0f);
    // Indices are the element's bytes in memory order; the colour word is red, green, blue, alpha.
    EXPECT_EQ(in.blendIndices[0], 7);
    EXPECT_EQ(in.blendIndices[3], 3);
    EXPECT_FLOAT_EQ(in.color[0], 1.0f);
    EXPECT_FLOAT_EQ(in.color[1], 0x40 / 255.0f);
    EXPECT_FLOAT_EQ(in.color[3], 0x80 / 255.0f);
    // Elements the declaration lacks read (0, 0, 0, 1).
    EXPECT_FLOAT_EQ(in.normal[0][0], 0.0f);
    EXPECT_FLOAT_EQ(in.texCoord[3], 1.0f);
    EXPECT_EQ(BackPixel(320, 240), 0xFF0000u);
    EXPECT_EQ(BackPixel(150, 240), 0u);
}

TEST_F(VertexProgramTest, OutputColourIsClampedAndStagesTakeTheirSet) {
    // Colour channels beyond 0..1 (and not a number) clamp; stage 0 reads set 1 (u 0.75), the
    // yellow right half of a texture whose left half is blue.
    program_->color[0] = -1.0f;
    program_->color[1] = 2.0f;
    program_->color[2] = std::nanf("");
    Texture* texture = MakeTexture(2, 1, [](uint32_t x, uint32_t) { return x ? 0xFFFFFF00u : 0xFF0000FFu; });
    device_->SetTexture(0, texture);
    device_->SetTextureStageState(0, tss::kTexCoordIndex, 1);
    device_->SetVertexShader(program_);
    ASSERT_EQ(DrawQuad(), result::kOk);
    EXPECT_EQ(BackPixel(320, 240), 0x00FF00u);
    device_->SetTextureStageState(0, tss::kTexCoordIndex, 0);
    ASSERT_EQ(DrawQuad(), result::kOk);
    EXPECT_EQ(BackPixel(320, 240), 0u);
    device_->SetTexture(0, nullptr);
}

TEST_F(VertexProgramTest, ProgramWithoutDeclarationOrNullProgramFallsBack) {
    device_->SetVertexShader(program_);
    device_->SetFVF(fvf::kXyz | fvf::kDiffuse);  // unsets the declaration
    EXPECT_EQ(DrawQuad(), result::kInvalidCall);
    EXPECT_TRUE(program_->inputs.empty());
    EXPECT_EQ(device_->SetVertexShader(nullptr), result::kOk);
    EXPECT_EQ(device_->GetVertexShader(), nullptr);
}

}  // namespace
}  // namespace platform::gfx::testing
