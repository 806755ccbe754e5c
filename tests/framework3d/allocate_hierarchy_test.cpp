// The model hierarchy allocator driven by the hierarchy loader over the test scene: normals,
// default and given materials, textures by file name, skinning tables, bounds, the log, and
// the release of everything.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "framework/app/log.h"
#include "framework/files/file_system.h"
#include "framework/files/temp_folder.h"
#include "framework/graphics/graphics_fixture.h"
#include "framework/graphics/texture.h"
#include "framework3d/allocate_hierarchy.h"
#include "support/read_file.h"
#include "support/read_log.h"

namespace {

class AllocateHierarchyTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        // checker.bmp only at the root: found only when the drive path is cut to its last part;
        // art/skin.bmp only in its folder: found only when the relative path is kept.
        folder_.Write("data/checker.bmp", MakeBmp(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
        folder_.Write("data/art/skin.bmp", MakeBmp(1, 1, {0x808080}));
        ASSERT_TRUE(ZethFile::Initialize());
        ZethFile::SetRootPath(0, (folder_.Path() + "/data").c_str(), (folder_.Path() + "/data.bin").c_str());
        logPath_ = folder_.Path() + "/log.html";
        ASSERT_TRUE(ZethLog::Open(logPath_.c_str()));
        scene_ = testing_support::ReadFile(std::string(TANZLOR_TEST_DATA) + "/scene.x");
        texturesBefore_ = ZethTexture::GetManager()->GetCount();
    }
    void TearDown() override {
        ZethLog::Close();
        ZethFile::Finalize();
        GraphicsTest::TearDown();
    }
    std::string Log() {
        ZethLog::Close();
        const std::string log = testing_support::ReadLog(logPath_);
        ZethLog::Open(logPath_.c_str());
        return log;
    }

    TempFolder folder_;
    std::string logPath_;
    std::string scene_;
    uint32_t texturesBefore_ = 0;
};

using Container = CAllocateHierarchy::MeshContainer;

TEST_F(AllocateHierarchyTest, SceneLoadsWithNormalsMaterialsTexturesSkinAndBounds) {
    CAllocateHierarchy alloc;
    d3dx::Frame* root = nullptr;
    ASSERT_EQ(d3dx::LoadMeshHierarchyFromMemory(scene_.data(), scene_.size(), d3dx::meshopt::kSystemMem,
                                                Zeth3D::GetDevice(), &alloc, &root),
              gfx::result::kOk);
    EXPECT_EQ(alloc.frameCount, 5u);
    EXPECT_EQ(alloc.meshContainerCount, 3u);
    EXPECT_STREQ(root->name, "Root");
    const auto* rootRecord = static_cast<const CAllocateHierarchy::Frame*>(root);
    EXPECT_EQ(rootRecord->combinedMatrix.m[0][0], 0.0f);

    // The cube: its own normals, two materials with ambient a quarter of the diffuse, the drive
    // path's texture loaded by its file name, and bounds.
    const auto* cube = static_cast<const Container*>(root->frameFirstChild->meshContainer);
    ASSERT_NE(cube, nullptr);
    EXPECT_STREQ(cube->name, "Cube");
    EXPECT_EQ(cube->vertexCount, 24u);
    EXPECT_EQ(cube->faceCount, 12u);
    ASSERT_EQ(cube->numMaterials, 2u);
    EXPECT_FLOAT_EQ(cube->materials[0].material.ambient.r, 0.25f);
    EXPECT_FLOAT_EQ(cube->materials[1].material.ambient.g, 0.2f);
    EXPECT_EQ(cube->materials[1].textureFilename, nullptr);
    EXPECT_EQ(cube->textures[0], nullptr);
    ASSERT_NE(cube->textures[1], nullptr);
    EXPECT_NE(std::string(cube->textures[1]->GetName()).find("checker.bmp"), std::string::npos);
    EXPECT_EQ(cube->adjacency[0], cube->adjacency[0] < 12 ? cube->adjacency[0] : 0u);
    EXPECT_EQ(cube->boundingBoxMin[0], -1.0f);
    EXPECT_EQ(cube->boundingBoxMax[2], 1.0f);
    EXPECT_FLOAT_EQ(cube->boundingSphereRadius, std::sqrt(3.0f));
    EXPECT_EQ(cube->sourceMesh, nullptr);
    EXPECT_EQ(cube->boneCount, 0u);

    // The plain quad: a clone with normals, one grey material and no texture.
    const auto* plain = static_cast<const Container*>(root->frameFirstChild->frameSibling->meshContainer);
    ASSERT_NE(plain, nullptr);
    EXPECT_NE(plain->meshData.mesh->GetFVF() & gfx::fvf::kNormal, 0u);
    float normal[3];
    std::memcpy(normal, plain->meshData.mesh->VertexBytes() + plain->meshData.mesh->Layout().normal, 12);
    EXPECT_FLOAT_EQ(std::fabs(normal[2]), 1.0f);
    ASSERT_EQ(plain->numMaterials, 1u);
    EXPECT_EQ(plain->materials[0].material.diffuse.r, 0.5f);
    EXPECT_EQ(plain->materials[0].material.diffuse.a, 0.0f);
    EXPECT_EQ(plain->materials[0].material.specular.b, 0.5f);
    EXPECT_EQ(plain->materials[0].material.ambient.r, 0.0f);
    EXPECT_EQ(plain->textures[0], nullptr);

    // The arm: skinned, cloned from its source mesh, with its bone tables; a relative texture
    // path is loaded as given.
    const auto* arm = static_cast<const Container*>(root->meshContainer);
    ASSERT_NE(arm, nullptr);
    ASSERT_NE(arm->skinInfo, nullptr);
    ASSERT_NE(arm->sourceMesh, nullptr);
    EXPECT_NE(arm->sourceMesh, arm->meshData.mesh);
    EXPECT_EQ(arm->meshData.mesh->GetOptions(), d3dx::meshopt::kManaged);
    EXPECT_EQ(arm->boneCount, 2u);
    EXPECT_EQ(arm->boneOffsetMatrices[1].m[3][0], -2.0f);
    EXPECT_EQ(arm->boneMatrixPointers[1], nullptr);
    ASSERT_EQ(arm->attributeCount, 1u);
    EXPECT_EQ(arm->attributeTable[0].faceCount, 4u);
    ASSERT_NE(arm->textures[0], nullptr);
    EXPECT_NE(std::string(arm->textures[0]->GetName()).find("art/skin.bmp"), std::string::npos);

    const std::string log = Log();
    EXPECT_NE(log.find("　　LOAD MESH : POLYGON [ 12 ] : VERTEX [ 24 ] : "), std::string::npos) << log;
    EXPECT_NE(log.find("BOX [ (-1.000,-1.000,-1.000)-(1.000,1.000,1.000) ] : SPHERE [ 1.732 (0.000,0.000.0.000) ] : "),
              std::string::npos);
    EXPECT_NE(log.find("BONE [ 2 ] : "), std::string::npos);

    ASSERT_EQ(d3dx::FrameDestroy(root, &alloc), gfx::result::kOk);
    EXPECT_EQ(ZethTexture::GetManager()->GetCount(), texturesBefore_);
}

TEST_F(AllocateHierarchyTest, AMeshWithNormalsIsSharedAndOtherKindsAreRefused) {
    // Load one mesh to hand to the allocator directly.
    struct Keep : d3dx::AllocateHierarchy {
        gfx::Result CreateFrame(const char*, d3dx::Frame** f) override { return alloc.CreateFrame(nullptr, f); }
        gfx::Result CreateMeshContainer(const char*, const d3dx::MeshData* data, const d3dx::XMaterial*,
                                        const d3dx::EffectInstance*, uint32_t, const uint32_t*, d3dx::SkinInfo*,
                                        d3dx::MeshContainer**) override {
            if (mesh == nullptr && (data->mesh->GetFVF() & gfx::fvf::kNormal) != 0) {
                mesh = data->mesh;
                mesh->AddRef();
            }
            return gfx::result::kFail;
        }
        gfx::Result DestroyFrame(d3dx::Frame* f) override { return alloc.DestroyFrame(f); }
        gfx::Result DestroyMeshContainer(d3dx::MeshContainer*) override { return gfx::result::kOk; }
        CAllocateHierarchy alloc;
        d3dx::Mesh* mesh = nullptr;
    } keep;
    d3dx::Frame* root = nullptr;
    EXPECT_EQ(d3dx::LoadMeshHierarchyFromMemory(scene_.data(), scene_.size(), 0, nullptr, &keep, &root), gfx::result::kFail);
    ASSERT_NE(keep.mesh, nullptr);
    ASSERT_EQ(keep.mesh->RefCount(), 1u);

    CAllocateHierarchy alloc;
    const d3dx::MeshData data{d3dx::meshtype::kMesh, keep.mesh};
    d3dx::MeshContainer* container = nullptr;
    ASSERT_EQ(alloc.CreateMeshContainer("Shared", &data, nullptr, nullptr, 0, nullptr, nullptr, &container), gfx::result::kOk);
    EXPECT_EQ(container->meshData.mesh, keep.mesh);
    EXPECT_EQ(keep.mesh->RefCount(), 2u);
    alloc.DestroyMeshContainer(container);
    EXPECT_EQ(keep.mesh->RefCount(), 1u);

    const d3dx::MeshData progressive{d3dx::meshtype::kProgressiveMesh, keep.mesh};
    container = reinterpret_cast<d3dx::MeshContainer*>(&alloc);
    EXPECT_EQ(alloc.CreateMeshContainer("P", &progressive, nullptr, nullptr, 0, nullptr, nullptr, &container),
              gfx::result::kFail);
    EXPECT_EQ(container, nullptr);
    EXPECT_EQ(alloc.meshContainerCount, 1u);
    EXPECT_EQ(keep.mesh->RefCount(), 1u);
    EXPECT_NE(Log().find("　　LOAD MESH : <B><FONT color=\"RED\">TYPE NOT MESH"), std::string::npos);
    keep.mesh->Release();

    d3dx::Frame* frame = nullptr;
    ASSERT_EQ(alloc.CreateFrame(nullptr, &frame), gfx::result::kOk);
    EXPECT_EQ(frame->name, nullptr);
    EXPECT_EQ(frame->transformationMatrix.m[3][3], 1.0f);
    EXPECT_EQ(alloc.frameCount, 1u);
    alloc.DestroyFrame(frame);
}

}  // namespace
