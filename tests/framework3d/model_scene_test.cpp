// The animated test scene: scene.x loaded from the data folder through the model manager with
// its checker texture, posed by its two animation sets, skinned and morphed, and drawn into a
// small render target; the frames are compared with golden pictures.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/graphics/texture.h"
#include "framework3d/animation.h"
#include "golden.h"
#include "model_fixture.h"
#include "platform/gfx/image_codec.h"

namespace {

using LibModel::CFrame;

constexpr uint32_t kWidth = 128, kHeight = 128;  // one frame
constexpr int kColumns = 4, kRows = 2;          // frames a picture

class ModelSceneTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        target_ = ZethTexture::CreateRenderTarget(kWidth, kHeight, 12);
        ASSERT_NE(target_, nullptr);
        MakeDepth();
        SetCamera(CVector3(-1.0f, 3.0f, -5.5f), CVector3(1.8f, 0.3f, 0.0f), float(kWidth) / float(kHeight));
        SetLights();
        atlas_.assign(size_t(kWidth * kColumns) * kHeight * kRows, 0);
    }
    void TearDown() override {
        ReleaseDepth();
        ZethTexture::Release(target_);
        ModelTest::TearDown();
    }
    void ReleaseDepth() {
        Zeth3D::GetDevice()->SetDepthStencilSurface(nullptr);
        if (depth_ != nullptr) depth_->Release();
        depth_ = nullptr;
    }
    void MakeDepth() {
        ASSERT_EQ(Zeth3D::GetDevice()->CreateDepthStencilSurface(kWidth, kHeight, gfx::fmt::kD16, 0, 0, false, &depth_),
                  0);
    }

    // Draws the model into the render target and returns the frame.
    std::vector<uint32_t> Draw(CModelData* model) {
        gfx::Device* device = Zeth3D::GetDevice();
        EXPECT_TRUE(Zeth3D::SetRenderTarget(target_));
        device->SetDepthStencilSurface(depth_);
        EXPECT_TRUE(Zeth3D::BeginScene());
        Zeth3D::Clear(gfx::clear::kTarget | gfx::clear::kZBuffer, 0xFF203040, 1.0f, 0);
        device->SetRenderState(gfx::rs::kZEnable, 1);
        device->SetRenderState(gfx::rs::kZWriteEnable, 1);
        device->SetRenderState(gfx::rs::kCullMode, gfx::cull::kNone);
        device->SetRenderState(gfx::rs::kAlphaBlendEnable, 0);
        EXPECT_GT(model->Render(), 0u);
        Zeth3D::EndScene();
        Zeth3D::SetRenderTarget(nullptr);
        const std::string path = folder_.Path() + "/frame.png";
        EXPECT_TRUE(target_->SaveToFile(path.c_str(), gfx::imagefile::kPng));
        const std::string bytes = testing_support::ReadFile(path);
        gfx::DecodedImage image;
        EXPECT_TRUE(gfx::DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &image));
        return image.argb;
    }
    void Place(const std::vector<uint32_t>& frame, int cell) {
        ASSERT_EQ(frame.size(), size_t(kWidth) * kHeight);
        const size_t stride = size_t(kWidth) * kColumns;
        for (uint32_t y = 0; y < kHeight; ++y) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                atlas_[(size_t(cell / kColumns) * kHeight + y) * stride + size_t(cell % kColumns) * kWidth + x] =
                    frame[size_t(y) * kWidth + x];
            }
        }
    }
    void ExpectGolden(const std::string& name) {
        golden::ExpectFrame(name, atlas_, kWidth * kColumns, kHeight * kRows);
    }

    // Every frame of the model plays sets a and b blended by `blend`.
    static void SetAnimation(CModelData* model, uint32_t a, uint32_t b, float blend) {
        for (uint32_t f = 0; f < model->GetFrameCount(); ++f) {
            CBaseObject* frame = nullptr;
            ASSERT_TRUE(model->GetObject(f, CFrame::kClassName, &frame));
            static_cast<CFrame*>(frame)->SetAnimation(a, b, blend);
            frame->Release();
        }
    }
    static void Pose(CModelData* model, float timeA, float timeB) {
        model->Animate(timeA, timeB, kAnimationLinear);
        model->UpdateWorld(CMatrix());
    }

    CTexture* target_ = nullptr;
    gfx::Surface* depth_ = nullptr;
    std::vector<uint32_t> atlas_;
};

TEST_F(ModelSceneTest, BendAndWaveAtStartMiddleAndEndAndBlended) {
    CModelData* model = Load("scene.x");
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->GetAnimationCount(), 2u);
    const uint32_t bend = uint32_t(model->FindAnimationIndex("Bend")), wave = uint32_t(model->FindAnimationIndex("wave"));
    EXPECT_EQ(model->GetAnimationLength(bend), 100u);
    EXPECT_EQ(model->GetAnimationLength(wave), 50u);
    model->CreateShaders(2, -1);
    struct Pose {
        uint32_t a, b;
        float blend, timeA, timeB;
    };
    const Pose poses[] = {{bend, bend, 0, 0, 0},   {bend, bend, 0, 50, 50}, {bend, bend, 0, 100, 100},
                          {wave, wave, 0, 0, 0},   {wave, wave, 0, 25, 25}, {wave, wave, 0, 50, 50},
                          {bend, wave, 0.5f, 50, 25}};
    int cell = 0;
    for (const Pose& pose : poses) {
        SetAnimation(model, pose.a, pose.b, pose.blend);
        ModelSceneTest::Pose(model, pose.timeA, pose.timeB);
        Place(Draw(model), cell++);
    }
    ExpectGolden("model_scene_animated.png");
    model->Release();
}

TEST_F(ModelSceneTest, CubeWithEveryShaderTypeMorphedAndAfterALostDevice) {
    CModelData* model = Load("scene.x");
    CModelData* target = Load("cube_morph.x");
    ASSERT_NE(model, nullptr);
    ASSERT_NE(target, nullptr);
    const int32_t cube = model->FindMeshIndex("Cube");
    ASSERT_GE(cube, 0);
    model->SetMeshFlags(1, 1, -1);
    model->SetMeshFlags(0, 1, cube);
    model->SetSlideU(0.1f, cube);
    for (uint32_t type = 0; type < uint32_t(kShaderTypeCount); ++type) {
        model->CreateShaders(type, cube);
        Place(Draw(model), int(type));
    }
    model->SetMorphTarget(cube, target, target->FindMeshIndex("cube"));
    EXPECT_TRUE(model->GetMeshTable()[cube]->IsMorphMesh());
    model->CreateShaders(2, cube);
    model->SetMorphWeight(0.5f, cube);
    const std::vector<uint32_t> morphed = Draw(model);
    Place(morphed, 6);
    // The device is lost: the next present finds it lost, the one after resets it.
    ReleaseDepth();  // a lost device keeps nothing of the default pool
    Zeth3D::GetDevice()->SimulateDeviceLoss();
    Zeth3D::Refresh(nullptr);
    EXPECT_EQ(Zeth3D::GetDevice()->TestCooperativeLevel(), gfx::result::kDeviceNotReset);
    Zeth3D::Refresh(nullptr);
    EXPECT_EQ(Zeth3D::GetDevice()->TestCooperativeLevel(), gfx::result::kOk);
    MakeDepth();
    const std::vector<uint32_t> again = Draw(model);
    EXPECT_EQ(again, morphed);
    Place(again, 7);
    ExpectGolden("model_scene_cube.png");
    target->Release();
    model->Release();
}

}  // namespace
