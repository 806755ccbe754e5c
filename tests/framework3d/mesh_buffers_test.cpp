// Vertex and index buffers of model meshes on the framework's device: the device vertex of each
// type, pools and usages by vertex processing, lost and reset devices, and refused types.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "framework/app/log.h"
#include "framework/files/temp_folder.h"
#include "framework/graphics/graphics_fixture.h"
#include "framework3d/mesh_buffers.h"
#include "support/read_log.h"

namespace {

using MeshBufferTest = GraphicsTest;

// One full vertex whose every byte is its own offset, so device bytes show where they came from.
FullVertex NumberedVertex() {
    FullVertex v;
    auto* bytes = reinterpret_cast<uint8_t*>(&v);
    for (int i = 0; i < 76; ++i) bytes[i] = uint8_t(i);
    return v;
}

std::vector<uint8_t> DeviceBytes(gfx::Buffer* buffer) {
    gfx::BufferDesc desc{};
    buffer->GetDesc(&desc);
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), gfx::result::kOk);
    std::vector<uint8_t> out(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + desc.size);
    buffer->Unlock();
    return out;
}

TEST_F(MeshBufferTest, EachTypeCarriesItsFieldsOfTheFullVertex) {
    // The full vertex's byte ranges each type keeps, in order: position and normal 0-23, the
    // morph target 24-47, weights from 48 (4, 8 or 12 bytes), indices 60-63, colour and texture 64-75.
    const std::vector<std::pair<int, int>> kKept[8] = {
        {{0, 24}, {64, 12}},
        {{0, 48}, {64, 12}},
        {{0, 24}, {48, 4}, {60, 16}},
        {{0, 24}, {48, 8}, {60, 16}},
        {{0, 24}, {48, 12}, {60, 16}},
        {{0, 48}, {48, 4}, {60, 16}},
        {{0, 48}, {48, 8}, {60, 16}},
        {{0, 76}},
    };
    const uint32_t kSizes[8] = {36, 60, 44, 48, 52, 68, 72, 76};
    CVertexBuffer buffer(3);
    for (int v = 0; v < 3; ++v) buffer.GetBuffer()[v] = NumberedVertex();
    for (uint32_t type = 0; type < 8; ++type) {
        ASSERT_TRUE(buffer.Create(0, 0, type)) << type;
        EXPECT_EQ(VertexTypeSize(type), kSizes[type]);
        std::vector<uint8_t> expected;
        for (int v = 0; v < 3; ++v) {
            for (auto [from, length] : kKept[type]) {
                for (int i = from; i < from + length; ++i) expected.push_back(uint8_t(i));
            }
        }
        EXPECT_EQ(DeviceBytes(buffer.GetDeviceBuffer()), expected) << type;
        const std::vector<gfx::VertexElement>& elements = buffer.GetDeclaration()->Elements();
        EXPECT_EQ(elements.back().offset + 8u, kSizes[type]);  // the texture coordinate ends the vertex
        EXPECT_EQ(elements.back().usage, gfx::declusage::kTexCoord);
    }
    // Type 0 of three vertices: 108 bytes, position, normal, colour and texture coordinate only.
    ASSERT_TRUE(buffer.Create(0, 0, 0));
    EXPECT_EQ(DeviceBytes(buffer.GetDeviceBuffer()).size(), 108u);
    const std::vector<gfx::VertexElement>& elements = buffer.GetDeclaration()->Elements();
    ASSERT_EQ(elements.size(), 4u);
    EXPECT_EQ(elements[2].offset, 24);
    EXPECT_EQ(elements[2].usage, gfx::declusage::kColor);
    EXPECT_EQ(buffer.GetVertexType(), 0u);
}

TEST_F(MeshBufferTest, TypesAboveSevenAreRefusedWithARedLine) {
    TempFolder folder;
    const std::string logPath = folder.Path() + "/log.html";
    ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
    CVertexBuffer buffer(2);
    ASSERT_TRUE(buffer.Create(0, 0, 7));
    EXPECT_FALSE(buffer.Create(0, 0, 8));
    EXPECT_EQ(buffer.GetDeviceBuffer(), nullptr);
    EXPECT_EQ(buffer.GetDeclaration(), nullptr);
    EXPECT_EQ(VertexTypeSize(8), 0u);
    buffer.OnResetDevice();  // rebuilds the last good type
    EXPECT_EQ(buffer.GetVertexType(), 7u);
    EXPECT_NE(buffer.GetDeviceBuffer(), nullptr);
    ZethLog::Close();
    EXPECT_NE(testing_support::ReadLog(logPath).find("<FONT color=\"RED\">頂点タイプ [ 8 ] は 0 から 7 までです"),
              std::string::npos);
}

TEST_F(MeshBufferTest, LostAndResetKeepTheBytes) {
    CVertexBuffer vertices(4);
    CIndexBuffer indices(6);
    for (int v = 0; v < 4; ++v) vertices.GetBuffer()[v] = NumberedVertex();
    const uint16_t quad[6] = {0, 1, 2, 0, 2, 3};
    std::memcpy(indices.GetBuffer(), quad, sizeof(quad));
    EXPECT_EQ(indices.GetCount(), 6u);
    ASSERT_TRUE(vertices.Create(0, 0, 4));
    ASSERT_TRUE(indices.Create(0, 0));
    const std::vector<uint8_t> vertexBytes = DeviceBytes(vertices.GetDeviceBuffer());
    const std::vector<uint8_t> indexBytes = DeviceBytes(indices.GetDeviceBuffer());
    EXPECT_EQ(indexBytes.size(), 12u);
    vertices.OnLostDevice();
    indices.OnLostDevice();
    EXPECT_EQ(vertices.GetDeviceBuffer(), nullptr);
    EXPECT_EQ(vertices.GetDeclaration(), nullptr);
    EXPECT_EQ(indices.GetDeviceBuffer(), nullptr);
    vertices.OnResetDevice();
    indices.OnResetDevice();
    ASSERT_NE(vertices.GetDeviceBuffer(), nullptr);
    EXPECT_EQ(DeviceBytes(vertices.GetDeviceBuffer()), vertexBytes);
    EXPECT_EQ(DeviceBytes(indices.GetDeviceBuffer()), indexBytes);
    vertices.SetDevice();
    indices.SetDevice();
}

TEST_F(MeshBufferTest, PoolsFollowTheVertexProcessing) {
    // Version 0.0 runs on the device's own vertex processing; 3.0 needs software processing.
    ASSERT_FALSE(Zeth3D::NeedSoftwareVertexProcessing(0, 0));
    ASSERT_TRUE(Zeth3D::NeedSoftwareVertexProcessing(3, 0));
    const struct {
        uint16_t major;
        uint32_t vertexUsage, vertexPool, indexPool;
    } kCases[] = {
        {0, gfx::usage::kDynamic | gfx::usage::kWriteOnly, gfx::pool::kDefault, gfx::pool::kDefault},
        {3, gfx::usage::kWriteOnly | gfx::usage::kSoftwareProcessing, gfx::pool::kSystemMem, gfx::pool::kSystemMem},
    };
    for (const auto& c : kCases) {
        CVertexBuffer vertices(1);
        CIndexBuffer indices(3);
        ASSERT_TRUE(vertices.Create(c.major, 0, 2));
        ASSERT_TRUE(indices.Create(c.major, 0));
        gfx::BufferDesc desc{};
        vertices.GetDeviceBuffer()->GetDesc(&desc);
        EXPECT_EQ(desc.usage, c.vertexUsage) << c.major;
        EXPECT_EQ(desc.pool, c.vertexPool) << c.major;
        EXPECT_EQ(desc.fvf, 0u);
        indices.GetDeviceBuffer()->GetDesc(&desc);
        EXPECT_EQ(desc.pool, c.indexPool) << c.major;
        EXPECT_EQ(desc.usage, gfx::usage::kWriteOnly);
        EXPECT_EQ(desc.format, gfx::fmt::kIndex16);
    }
}

}  // namespace
