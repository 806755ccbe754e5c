// The 2D line and point lists: capacity one vertex short, conversion before clipping, the
// offered count across frames, and drawing only with something queued and a buffer.
#include <gtest/gtest.h>

#include <vector>

#include "framework/graphics/graphics_fixture.h"
#include "framework3d/list2d.h"

namespace {

// The queue of a line list, as it would be uploaded.
class OpenLine : public CLine2D {
public:
    using CLine2D::CLine2D;
    std::vector<float> Queued(int vertex) const {
        const auto* v = reinterpret_cast<const float*>(static_cast<const uint8_t*>(systemBuffer_) + vertex * kVertexSize);
        return {v[0], v[1], v[2], v[3]};
    }
    uint32_t Colour(int vertex) const {
        return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(systemBuffer_) + vertex * kVertexSize)[4];
    }
};

Vertex2D At(float x, float y, uint32_t colour = 0xFFFFFFFF) { return PushedVertex(x, y, 32767.0f, colour); }

class List2DTest : public GraphicsTest {
protected:
    uint64_t Draws() const { return Zeth3D::GetDevice()->Statistics().draws; }
};

TEST_F(List2DTest, ListsKeepTheirLastSlotFree) {
    CLine2D* lines = Zeth::GetLine2DManager()->Create(4);
    CPoint2D* points = Zeth::GetPoint2DManager()->Create(3);
    ASSERT_NE(lines, nullptr);
    ASSERT_NE(points, nullptr);
    const Vertex2D two[4] = {At(1, 1), At(9, 9), At(2, 2), At(8, 8)};
    lines->Begin();
    EXPECT_FALSE(lines->Push(two, 2));
    EXPECT_EQ(lines->GetVertexCount(), 4u);
    points->Begin();
    EXPECT_TRUE(points->Push(two, 2));
    EXPECT_FALSE(points->Push(two, 1));
    // The offered count grows across frames; the queue starts again.
    lines->Begin();
    EXPECT_TRUE(lines->Push(two, 1));
    EXPECT_EQ(lines->GetVertexCount(), 6u);
    lines->Release();
    points->Release();
}

TEST_F(List2DTest, ALineIsClippedWhereItCrossesTheEdgeAfterConversion) {
    auto* line = new OpenLine(Zeth::GetLine2DManager());
    ASSERT_TRUE(line->Create(16));
    CPoint2D* points = Zeth::GetPoint2DManager()->Create(8);
    // The managers pass both settings on to the lists they hold.
    Zeth3D::SetScaling2D(true, 0.0f, 0.0f, 2.0f);  // converted x = 2 x rounded x - 0.5
    Zeth::ForEach2DManager([](CObject2DManager& manager) {
        const CObject2DManager::ClipRect clip{100, 0, 300, 480};
        manager.SetClipRect(&clip);
    });
    line->Begin();
    const Vertex2D crossing[2] = {At(20.4f, 10, 0xFF000000), At(100.3f, 30, 0xFFC8C8C8)};
    ASSERT_TRUE(line->Push(crossing, 1));
    // Converted: x 39.5 to 199.5, y 19.5 to 59.5; the edge x 100 lies at t = 60.5 / 160.
    std::vector<float> first = line->Queued(0);
    EXPECT_FLOAT_EQ(first[0], 100.0f);
    EXPECT_NEAR(first[1], 19.5f + 40.0f * 60.5f / 160.0f, 1e-4f);
    EXPECT_EQ(line->Colour(0), 0xFF4B4B4Bu);
    EXPECT_FLOAT_EQ(line->Queued(1)[0], 199.5f);
    const Vertex2D outside[4] = {At(10, 10), At(40, 10), At(60, 300), At(70, 300)};
    EXPECT_TRUE(line->Push(outside, 2));  // left of the edge, then below it: dropped
    EXPECT_EQ(line->GetVertexCount(), 2u);
    line->Release();

    points->Begin();
    const Vertex2D dots[3] = {At(50, 5), At(51, 5), At(151, 5)};  // x 99.5, 101.5 and 301.5
    EXPECT_TRUE(points->Push(dots, 3));
    EXPECT_EQ(points->GetVertexCount(), 1u);
    points->Release();
}

TEST_F(List2DTest, NothingIsDrawnWithoutAQueueOrABuffer) {
    CLine2D* lines = Zeth::GetLine2DManager()->Create(8);
    ASSERT_TRUE(Zeth3D::BeginScene());
    lines->Begin();
    lines->End();
    uint64_t before = Draws();
    lines->Rendering();
    EXPECT_EQ(Draws(), before);
    const Vertex2D line[2] = {At(10, 10), At(60, 40)};
    ASSERT_TRUE(lines->Push(line, 1));
    lines->End();
    lines->Rendering();
    EXPECT_EQ(Draws(), before + 1);
    lines->OnLostDevice();
    lines->End();
    lines->Rendering();
    EXPECT_EQ(Draws(), before + 1);
    lines->OnResetDevice();
    lines->Rendering();
    EXPECT_EQ(Draws(), before + 2);
    Zeth3D::EndScene();
    lines->Release();
}

}  // namespace
