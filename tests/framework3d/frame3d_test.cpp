// Golden frames of generated shaders: cubes with every shader type, a morphing cube and a
// skinned bar, drawn through the framework's start-up into the memory sink.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <vector>

#include "framework/core/matrix.h"
#include "framework/graphics/graphics_fixture.h"
#include "framework/graphics/texture.h"
#include "framework3d/shader_fx.h"
#include "golden.h"
#include "platform/gfx/image.h"
#include "platform/gfx/image_codec.h"

namespace {

using namespace shaderopt;
using platform::d3dx::Matrix;
using platform::d3dx::Vector4;

// Every vertex layout the tests draw carries all elements; each declaration reads its own.
struct Vertex {
    float position[3];
    float normal[3];
    float target[3];        // the morph target's position
    float targetNormal[3];
    float weight;           // of bone 0; bone 1 takes the rest
    uint8_t indices[4];
    uint32_t color;
    float uv[2];
};

struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<uint16_t> indices;
};

// A box from `low` to `high`, four vertices a face; `shape` gives each vertex its morph target
// and bone weights.
void AddBox(Mesh* mesh, const float low[3], const float high[3], const std::function<void(Vertex&)>& shape) {
    static const int kFaces[6][3] = {{0, 1, 2}, {0, 1, 2}, {1, 2, 0}, {1, 2, 0}, {2, 0, 1}, {2, 0, 1}};
    for (int f = 0; f < 6; ++f) {
        const int n = kFaces[f][0], u = kFaces[f][1], v = kFaces[f][2];
        const bool positive = f % 2 == 0;
        const uint16_t base = uint16_t(mesh->vertices.size());
        for (int corner = 0; corner < 4; ++corner) {
            Vertex vertex{};
            const bool pu = corner == 1 || corner == 2, pv = corner >= 2;
            vertex.position[n] = positive ? high[n] : low[n];
            vertex.position[u] = pu ? high[u] : low[u];
            vertex.position[v] = pv ? high[v] : low[v];
            vertex.normal[n] = positive ? 1.0f : -1.0f;
            vertex.color = 0xFFFFFFFF;
            vertex.uv[0] = pu ? 1.0f : 0.0f;
            vertex.uv[1] = pv ? 1.0f : 0.0f;
            vertex.weight = 1.0f;
            shape(vertex);
            mesh->vertices.push_back(vertex);
        }
        for (int i : {0, 1, 2, 0, 2, 3}) mesh->indices.push_back(uint16_t(base + i));
    }
}

Matrix ToMatrix(const CMatrix& m) {
    Matrix out;
    std::memcpy(out.m, m.m, sizeof out.m);
    return out;
}

CMatrix Perspective(float aspect) {
    const float ys = 1.0f / std::tan(0.4f), xs = ys / aspect, zn = 1.0f, zf = 20.0f;
    const float m[16] = {xs, 0, 0, 0, 0, ys, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0, -zn * zf / (zf - zn), 0};
    return CMatrix(m);
}

class Frame3DTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        device_ = Zeth3D::GetDevice();
        ASSERT_EQ(device_->CreateDepthStencilSurface(640, 480, gfx::fmt::kD16, 0, 0, false, &depth_), 0);
        device_->SetDepthStencilSurface(depth_);
        checker_ = MakeTexture(16, 16, [](int x, int y) {
            return ((x / 4 + y / 4) % 2) ? 0xFFFFFFFFu : 0xFF4080C0u;
        });
        ramp_ = MakeTexture(16, 16, [](int x, int y) {
            return 0xFF000000u | uint32_t(x * 16) << 16 | uint32_t(y * 16) << 8 | 0x60u;
        });
        const gfx::VertexElement common[] = {
            {0, offsetof(Vertex, position), gfx::decltype_::kFloat3, 0, gfx::declusage::kPosition, 0},
            {0, offsetof(Vertex, normal), gfx::decltype_::kFloat3, 0, gfx::declusage::kNormal, 0},
            {0, offsetof(Vertex, target), gfx::decltype_::kFloat3, 0, gfx::declusage::kPosition, 1},
            {0, offsetof(Vertex, targetNormal), gfx::decltype_::kFloat3, 0, gfx::declusage::kNormal, 1},
            {0, offsetof(Vertex, weight), gfx::decltype_::kFloat1, 0, gfx::declusage::kBlendWeight, 0},
            {0, offsetof(Vertex, indices), gfx::decltype_::kUbyte4, 0, gfx::declusage::kBlendIndices, 0},
            {0, offsetof(Vertex, color), gfx::decltype_::kColor, 0, gfx::declusage::kColor, 0},
            {0, offsetof(Vertex, uv), gfx::decltype_::kFloat2, 0, gfx::declusage::kTexCoord, 0},
            {0xFF, 0, gfx::decltype_::kUnused, 0, 0, 0}};
        ASSERT_EQ(device_->CreateVertexDeclaration(common, &declaration_), 0);
    }
    void TearDown() override {
        device_->SetDepthStencilSurface(nullptr);
        device_->SetVertexDeclaration(nullptr);
        depth_->Release();
        declaration_->Release();
        ZethTexture::Release(checker_);
        ZethTexture::Release(ramp_);
        GraphicsTest::TearDown();
    }

    template <class Pixel>
    CTexture* MakeTexture(int width, int height, Pixel pixel) {
        CTexture* texture = ZethTexture::Create(uint32_t(width), uint32_t(height), 12);
        uint32_t pitch = 0;
        void* bits = nullptr;
        EXPECT_TRUE(texture->Lock(nullptr, &pitch, &bits, nullptr, nullptr, nullptr));
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(bits) + size_t(y) * pitch);
            for (int x = 0; x < width; ++x) row[x] = pixel(x, y);
        }
        texture->Unlock();
        return texture;
    }

    void BeginFrame() {
        ASSERT_TRUE(Zeth3D::BeginScene());
        device_->SetViewport(&kFull);
        Zeth3D::Clear(gfx::clear::kTarget | gfx::clear::kZBuffer, 0xFF203040, 1.0f, 0);
        device_->SetRenderState(gfx::rs::kZEnable, 1);
        device_->SetRenderState(gfx::rs::kZWriteEnable, 1);
        device_->SetRenderState(gfx::rs::kCullMode, gfx::cull::kNone);
        device_->SetRenderState(gfx::rs::kAlphaBlendEnable, 0);
        device_->SetRenderState(gfx::rs::kLighting, 0);
        device_->SetVertexDeclaration(declaration_);
    }

    // Draws the mesh in cell `cell` of a 3 x 2 grid with the effect of `options`; the second
    // stage modulates by the ramp texture for the schemes that compute its coordinates.
    void DrawMesh(const Mesh& mesh, int cell, uint32_t options, uint32_t influences,
                  const std::function<void(ZethShaderFx*)>& parameters) {
        const gfx::Viewport viewport{uint32_t(cell % 3) * 213, uint32_t(cell / 3) * 240, 213, 240, 0.0f, 1.0f};
        device_->SetViewport(&viewport);
        uint32_t flags = 0;
        ZethShaderFx* fx = ZethShaderFx::Create(options, influences, 2, &flags);
        ASSERT_NE(fx, nullptr) << std::hex << options;
        CMatrix world, view;
        world.RotationEuler(-4000, 6000, 0);
        const float back[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 5, 1};
        view.Set(back);
        const Matrix worldView = ToMatrix(world * view);
        const Matrix transform = ToMatrix(world * view * Perspective(213.0f / 240.0f));
        ZethShaderFx::SetMatrix(fx, "mTransform", &transform);
        if (flags & fxuse::kWorldView) ZethShaderFx::SetMatrix(fx, "mWorldView", &worldView);
        const Vector4 diffuse{1, 1, 1, 1};
        ZethShaderFx::SetVector(fx, "MaterialDiffuse", &diffuse);
        if (flags & fxuse::kLights) SetLights(fx);
        parameters(fx);
        const bool secondStage = options & (kToon | kReflection);
        Zeth3D::SetTexture(0, checker_);
        Zeth3D::SetTexture(1, secondStage ? ramp_ : nullptr);
        device_->SetTextureStageState(1, gfx::tss::kColorOp, secondStage ? gfx::top::kModulate : gfx::top::kDisable);
        device_->SetTextureStageState(1, gfx::tss::kColorArg1, gfx::ta::kTexture);
        device_->SetTextureStageState(1, gfx::tss::kColorArg2, gfx::ta::kCurrent);
        uint32_t passes = 0;
        ASSERT_TRUE(ZethShaderFx::Begin(fx, &passes));
        ZethShaderFx::BeginPass(fx, 0);
        EXPECT_EQ(device_->DrawIndexedPrimitiveUP(gfx::prim::kTriangleList, 0, uint32_t(mesh.vertices.size()),
                                                  uint32_t(mesh.indices.size() / 3), mesh.indices.data(),
                                                  gfx::fmt::kIndex16, mesh.vertices.data(), sizeof(Vertex)),
                  0);
        ZethShaderFx::EndPass(fx);
        ZethShaderFx::End(fx);
        ZethShaderFx::Release(fx);
        device_->SetTextureStageState(1, gfx::tss::kColorOp, gfx::top::kDisable);
        Zeth3D::SetTexture(1, nullptr);
    }

    // A directional light from the upper left front and an orange point light on the right.
    static void SetLights(ZethShaderFx* fx) {
        const bool use[4] = {true, true, false, false}, directional[4] = {true, false, false, false};
        const float length = std::sqrt(0.4f * 0.4f + 0.6f * 0.6f + 0.7f * 0.7f);
        const Vector4 parameter[4] = {{0.4f / length, -0.6f / length, 0.7f / length, 0}, {2.0f, 0.5f, -1.5f, 1}};
        const Vector4 color[4] = {{0.8f, 0.8f, 0.8f, 1}, {1.0f, 0.5f, 0.1f, 1}};
        const Vector4 ambient{0.15f, 0.15f, 0.2f, 1};
        ZethShaderFx::SetBoolArray(fx, "LightIsUse", use, 4);
        ZethShaderFx::SetBoolArray(fx, "LightIsDirectional", directional, 4);
        ZethShaderFx::SetVectorArray(fx, "LightParameter", parameter, 4);
        ZethShaderFx::SetVectorArray(fx, "LightColor", color, 4);
        ZethShaderFx::SetVector(fx, "LightAmbient", &ambient);
    }

    // Presents the frame and compares it with the golden picture.
    void ExpectGolden(const std::string& name) {
        device_->SetViewport(&kFull);
        Zeth3D::EndScene();
        golden::ExpectFrame(name, Present(), 640, 480);
    }

    static constexpr gfx::Viewport kFull{0, 0, 640, 480, 0.0f, 1.0f};
    gfx::Device* device_ = nullptr;
    gfx::Surface* depth_ = nullptr;
    gfx::VertexDeclaration* declaration_ = nullptr;
    CTexture* checker_ = nullptr;
    CTexture* ramp_ = nullptr;
};

const float kLow[3] = {-1, -1, -1}, kHigh[3] = {1, 1, 1};

TEST_F(Frame3DTest, CubeWithEveryShaderType) {
    Mesh cube;
    AddBox(&cube, kLow, kHigh, [](Vertex&) {});
    BeginFrame();
    for (int type = 0; type < kShaderTypeCount; ++type) {
        DrawMesh(cube, type, kStatic | kShaderTypeOptions[type], 0, [](ZethShaderFx* fx) {
            const float slide = 0.1f;
            ZethShaderFx::SetFloat(fx, "SlideTextureU", slide);  // moves the screen projection too
        });
    }
    ExpectGolden("cube_types.png");
}

TEST_F(Frame3DTest, MorphingCubeAtZeroHalfAndFull) {
    // The target is the cube flattened to half its height and widened, with tilted normals.
    Mesh cube;
    AddBox(&cube, kLow, kHigh, [](Vertex& v) {
        v.target[0] = v.position[0] * 1.4f;
        v.target[1] = v.position[1] * 0.5f;
        v.target[2] = v.position[2] * 1.4f;
        v.targetNormal[0] = v.normal[0] + 0.3f * v.normal[1];
        v.targetNormal[1] = v.normal[1];
        v.targetNormal[2] = v.normal[2];
    });
    BeginFrame();
    const float weights[3] = {0.0f, 0.5f, 1.0f};
    for (int i = 0; i < 3; ++i) {
        DrawMesh(cube, i, kMorph | kShaderTypeOptions[2], 0,
                 [&](ZethShaderFx* fx) { ZethShaderFx::SetFloat(fx, "MorphWeight", weights[i]); });
    }
    // The same half-way cube pushed out along its normals.
    DrawMesh(cube, 4, kMorph | kShaderTypeOptions[2], 0, [](ZethShaderFx* fx) {
        ZethShaderFx::SetFloat(fx, "MorphWeight", 0.5f);
        ZethShaderFx::SetFloat(fx, "VertexExtrusion", 0.3f);
    });
    ExpectGolden("cube_morph.png");
}

TEST_F(Frame3DTest, TwoBoneBarBent) {
    // A bar along x in eight slices; bone 0 holds the left half, bone 1 turns the right half
    // about the middle, and the two slices around the joint blend.
    Mesh bar;
    for (int slice = 0; slice < 8; ++slice) {
        const float x0 = -1.5f + 0.375f * float(slice);
        const float low[3] = {x0, -0.3f, -0.3f}, high[3] = {x0 + 0.375f, 0.3f, 0.3f};
        AddBox(&bar, low, high, [](Vertex& v) {
            const float x = v.position[0];
            v.weight = x <= -0.375f ? 1.0f : x >= 0.375f ? 0.0f : 0.5f - x / 0.75f;
            v.indices[0] = 0;
            v.indices[1] = 1;
        });
    }
    BeginFrame();
    const int angles[3] = {0, 8192, 16384};  // 0, 45 and 90 degrees
    for (int i = 0; i < 3; ++i) {
        DrawMesh(bar, i, kSkinned | kShaderTypeOptions[2], 2, [&](ZethShaderFx* fx) {
            CMatrix bend;
            bend.RotationEuler(0, 0, angles[i]);
            const Matrix bones[2] = {ToMatrix(CMatrix()), ToMatrix(bend)};
            ZethShaderFx::SetMatrixArray(fx, "mBoneMatrixArray", bones, 2);
        });
    }
    // Indexes past the palette read a zero matrix: the right half collapses to the origin.
    Mesh broken = bar;
    for (Vertex& v : broken.vertices) v.indices[1] = 9;
    DrawMesh(broken, 4, kSkinned | kShaderTypeOptions[2], 2, [](ZethShaderFx* fx) {
        const Matrix bones[2] = {ToMatrix(CMatrix()), ToMatrix(CMatrix())};
        ZethShaderFx::SetMatrixArray(fx, "mBoneMatrixArray", bones, 2);
    });
    ExpectGolden("bar_skinned.png");
}

}  // namespace
