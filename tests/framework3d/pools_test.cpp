// The scene pools: reference counts of grid meshes and models, handles outside the pools, the
// light block, the active camera and its return after a reset, and the rebuild of a grid
// mesh's blocks after a lost device.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/core/lock.h"
#include "framework/graphics/extension3d.h"
#include "framework/graphics/graphics_fixture.h"
#include "framework3d/pools_internal.h"

namespace {

class PoolsTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_TRUE(Zeth::GetExtension3D().initializePools());
    }
};

template <typename T>
T* Allocate(uint32_t count) {
    return static_cast<T*>(Zeth::MemoryAlloc(uint32_t(sizeof(T)) * count));
}

TEST_F(PoolsTest, ReleaseCountsDownAndRefusesHandlesOutsideThePools) {
    ZethGridMesh::Record& grid = ZethGridMesh::Records()[3];
    grid.inUse = 1;
    grid.refCount = 2;
    grid.auxData = Zeth::MemoryAlloc(16);
    grid.quadTree = Allocate<ZethGridMesh::QuadNode>(1);
    grid.quadTree->children[2] = Allocate<ZethGridMesh::QuadNode>(1);
    EXPECT_FALSE(ZethGridMesh::Release(3));  // still held
    EXPECT_TRUE(grid.inUse);
    EXPECT_TRUE(ZethGridMesh::Release(3));
    EXPECT_FALSE(grid.inUse);
    EXPECT_EQ(grid.quadTree, nullptr);

    ZethModel::Record& model = ZethModel::Records()[5];
    model.inUse = 1;
    model.refCount = 2;
    model.extra = Zeth::MemoryAlloc(8);
    EXPECT_TRUE(ZethModel::Release(5));  // still held, and says so with true
    EXPECT_TRUE(model.inUse);
    EXPECT_TRUE(ZethModel::Release(5));
    EXPECT_FALSE(model.inUse);
    EXPECT_FALSE(ZethModel::Release(5));  // no longer in use

    for (int32_t handle : {-1, -2, 64, 65}) {
        EXPECT_FALSE(ZethGridMesh::Release(handle)) << handle;
        EXPECT_FALSE(ZethModel::Release(handle)) << handle;
    }
    // Records still in use at shutdown are destroyed whatever their count.
    ZethGridMesh::Record kept{};
    kept.inUse = 1;
    kept.refCount = 9;
    kept.auxData = Zeth::MemoryAlloc(4);
    ZethGridMesh::Records()[7] = kept;
    ZethModel::Records()[8] = ZethModel::Record{1, 9, nullptr, nullptr, Zeth::MemoryAlloc(4)};
}

TEST_F(PoolsTest, LightBlockFromTheEnabledLights) {
    ZethLight::LightBlock block;
    std::memset(&block, 0xAB, sizeof block);
    ZethLight::BuildLightBlock(&block);
    const ZethLight::LightBlock zero{};
    EXPECT_EQ(std::memcmp(&block, &zero, sizeof block), 0);
    const platform::gfx::Light* start = ZethLight::GetLight(2);
    EXPECT_EQ(start->ambient.r, 1.0f);
    EXPECT_EQ(start->range, 100.0f);
    EXPECT_EQ(start->attenuation2, 0.1f);
    EXPECT_EQ(start->diffuse.r, 0.0f);
    EXPECT_EQ(ZethLight::GetLight(4), nullptr);

    platform::gfx::Light sun{};
    sun.type = platform::gfx::light::kDirectional;
    sun.diffuse = {0.5f, 0.6f, 0.7f, 1.0f};
    sun.specular = {0.1f, 0.2f, 0.3f, 0.4f};
    sun.direction = {0.0f, -1.0f, 0.0f};
    sun.attenuation1 = 0.25f;
    ZethLight::SetLight(0, sun, true);
    platform::gfx::Light lamp{};
    lamp.type = platform::gfx::light::kPoint;
    lamp.position = {1.0f, 2.0f, 3.0f};
    ZethLight::SetLight(2, lamp, true);
    ZethLight::SetLight(3, lamp, false);
    ZethLight::SetLight(4, lamp, true);  // no such light
    const float ambient[4] = {0.1f, 0.1f, 0.1f, 1.0f};
    ZethLight::SetAmbient(ambient);
    ZethLight::BuildLightBlock(&block);
    EXPECT_EQ(block.isUse[0] + block.isUse[1] + block.isUse[2] + block.isUse[3], 2u);
    EXPECT_EQ(block.isDirectional[0], 1u);
    EXPECT_EQ(block.isDirectional[2], 0u);
    EXPECT_EQ(block.attenuation[0], 0.25f);
    EXPECT_EQ(block.direction[0][1], -1.0f);
    EXPECT_EQ(block.direction[0][3], 1.0f);
    EXPECT_EQ(block.position[2][2], 3.0f);
    EXPECT_EQ(block.color[0][2], 0.7f);
    EXPECT_EQ(block.specular[3], 0.4f);
    EXPECT_EQ(block.ambient[0], 0.1f);
    EXPECT_EQ(block.position[3][0], 0.0f);
}

TEST_F(PoolsTest, ActiveCameraPositionAndItsReturnAfterAReset) {
    float position[3] = {9, 9, 9};
    ZethCamera::GetPosition(-1, position);
    EXPECT_EQ(position[0], 0.0f);
    EXPECT_EQ(ZethCamera::GetActive(), -1);
    ZethCamera::Record& camera = ZethCamera::Records()[4];
    camera.inUse = 1;
    camera.refCount = 1;
    camera.position[1] = 7.0f;
    camera.transform.position.Set(1.0f, 2.0f, 3.0f);
    const float view[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 5, 1};
    camera.view.Set(view);
    camera.projection.Scaling(0.5f, 0.5f, 0.1f);  // depth 0 to 1 from z = -5 to 5
    camera.viewProjection = camera.view * camera.projection;
    ZethCamera::SetActive(40);  // outside the pool: nothing
    EXPECT_EQ(ZethCamera::GetActive(), -1);
    ZethCamera::SetActive(4);
    ZethCamera::GetPosition(-1, position);
    EXPECT_EQ(position[1], 7.0f);
    ZethCamera::GetPosition(32, position);  // outside the pool: the current camera too
    EXPECT_EQ(position[1], 7.0f);
    ZethCamera::GetPosition(4, position);
    EXPECT_EQ(position[2], 3.0f);
    CMatrix inverse;
    ZethCamera::GetMatrices(nullptr, nullptr, nullptr, &inverse);
    EXPECT_FLOAT_EQ(inverse.m[0][0], 2.0f);
    EXPECT_FLOAT_EQ(inverse.m[3][2], -5.0f);
    // In view: a box at the origin; behind the camera: one at z = -20.
    CVolume box;
    MakeBoxVolume(box, CVector3(-0.5f, -0.5f, -0.5f), CVector3(0.5f, 0.5f, 0.5f), CMatrix());
    EXPECT_TRUE(ZethCamera::IsVisible(box));
    MakeBoxVolume(box, CVector3(-0.5f, -0.5f, -20.5f), CVector3(0.5f, 0.5f, -19.5f), CMatrix());
    EXPECT_FALSE(ZethCamera::IsVisible(box));
    // The sides: the view reaches x and y of -2 to 2. A cube turned 45 degrees about z has no
    // face of its own that parts it from the view, so only the view's side planes can tell a
    // cube past a side (out) from one across it (in).
    struct Side {
        float x, y;
        bool visible;
    } sides[] = {
        {3.2f, 0, false}, {-3.2f, 0, false}, {0, 3.2f, false}, {0, -3.2f, false},
        {2.5f, 0, true},  {-2.5f, 0, true},  {0, 2.5f, true},  {0, -2.5f, true},
    };
    const float turn = 0.70710678f;
    for (const Side& c : sides) {
        const float placed[16] = {turn, turn, 0, 0, -turn, turn, 0, 0, 0, 0, 1, 0, c.x, c.y, 0, 1};
        MakeBoxVolume(box, CVector3(-0.5f, -0.5f, -0.5f), CVector3(0.5f, 0.5f, 0.5f), CMatrix(placed));
        EXPECT_EQ(ZethCamera::IsVisible(box), c.visible) << c.x << " " << c.y;
    }

    platform::gfx::Matrix device{};
    Zeth3D::GetDevice()->SetTransform(platform::gfx::transform::kView, &device);
    Zeth3D::ResetDevice(true);
    Zeth3D::GetDevice()->GetTransform(platform::gfx::transform::kView, &device);
    EXPECT_EQ(device.m[3][2], 5.0f);
    Zeth3D::GetDevice()->GetTransform(platform::gfx::transform::kProjection, &device);
    EXPECT_EQ(device.m[1][1], 0.5f);
}

TEST_F(PoolsTest, LostAndResetRebuildATwoByTwoGridMeshExactly) {
    for (bool tangents : {false, true}) {
        ZethGridMesh::Record& grid = ZethGridMesh::Records()[1];
        grid.inUse = 1;
        grid.refCount = 1;
        grid.blocksPerSide = 2;
        grid.hasTangentFrame = tangents;
        grid.blocks = Allocate<ZethGridMesh::Block>(4);
        for (uint32_t b = 0; b < 4; ++b) {
            ZethGridMesh::Block& block = grid.blocks[b];
            block.vertexCount = 3 + b;
            block.indexCount = 3;
            block.vertices = Allocate<ZethGridMesh::SourceVertex>(block.vertexCount);
            block.indices = Allocate<uint16_t>(3);
            for (uint32_t v = 0; v < block.vertexCount; ++v) {
                auto* floats = reinterpret_cast<float*>(&block.vertices[v]);
                for (int f = 0; f < 12; ++f) floats[f] = float(b * 100 + v * 10 + uint32_t(f));
                block.vertices[v].color = 0xFF000000u | b << 8 | v;
                block.vertices[v].uv[1] = float(v);
            }
            for (uint16_t i = 0; i < 3; ++i) block.indices[i] = uint16_t(2 - i);
            block.extra[0] = Zeth::MemoryAlloc(4);
            ASSERT_TRUE(ZethGridMesh::RebuildBlock(grid, b));
        }
        auto contents = [&](uint32_t b) {
            std::vector<uint8_t> bytes;
            const ZethGridMesh::Block& block = grid.blocks[b];
            for (auto* buffer : {static_cast<platform::gfx::RefCounted*>(block.vertexBuffer),
                                 static_cast<platform::gfx::RefCounted*>(block.indexBuffer)}) {
                void* data = nullptr;
                const bool vertices = buffer == block.vertexBuffer;
                const uint32_t size = vertices ? block.vertexCount * (tangents ? 60u : 36u) : 6u;
                if (vertices) {
                    block.vertexBuffer->Lock(0, 0, &data, 0);
                } else {
                    block.indexBuffer->Lock(0, 0, &data, 0);
                }
                bytes.insert(bytes.end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
                if (vertices) {
                    block.vertexBuffer->Unlock();
                } else {
                    block.indexBuffer->Unlock();
                }
            }
            return bytes;
        };
        std::vector<std::vector<uint8_t>> before;
        for (uint32_t b = 0; b < 4; ++b) before.push_back(contents(b));
        // The device layout holds the colour after the normal (or after the tangent frame).
        uint32_t colour = 0;
        std::memcpy(&colour, before[1].data() + (tangents ? 48 : 24), 4);
        EXPECT_EQ(colour, 0xFF000100u);
        ZethGridMesh::OnLostDevice();
        EXPECT_EQ(grid.blocks[2].vertexBuffer, nullptr);
        EXPECT_NE(grid.blocks[2].declaration, nullptr);
        Zeth3D::ResetDevice(true);
        for (uint32_t b = 0; b < 4; ++b) {
            ASSERT_NE(grid.blocks[b].vertexBuffer, nullptr);
            EXPECT_EQ(contents(b), before[b]) << b;
        }
        EXPECT_TRUE(ZethGridMesh::Release(1));
    }
}

}  // namespace
