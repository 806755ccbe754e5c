#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/graphics/primitive2d.h"
#include "framework/graphics/sprite.h"
#include "graphics_fixture.h"

namespace {

// A batch whose conversion, clipping and uploaded vertices the tests can reach.
class ProbeBatch : public CPrimitive2D {
public:
    using CPrimitive2D::ClipTriangle;
    using CPrimitive2D::ConvertVertices;
    using CPrimitive2D::CPrimitive2D;

    // The uploaded vertices of a one-coordinate batch, as colours in draw order.
    std::vector<uint32_t> UploadedColours() {
        std::vector<uint32_t> colours;
        void* data = nullptr;
        if (vertexBuffer_ == nullptr || gfx::Failed(vertexBuffer_->Lock(0, 0, &data, gfx::lock::kReadOnly))) return colours;
        for (uint32_t i = 0; i < queued_; ++i) {
            uint32_t colour;
            std::memcpy(&colour, static_cast<uint8_t*>(data) + i * vertexSize_ + 16, 4);
            colours.push_back(colour);
        }
        vertexBuffer_->Unlock();
        return colours;
    }
    uint32_t Queued() const { return queued_; }
    // The uploaded vertex bytes of the batch.
    std::vector<uint8_t> UploadedBytes() {
        std::vector<uint8_t> bytes(size_t(queued_) * vertexSize_);
        void* data = nullptr;
        if (vertexBuffer_ == nullptr || gfx::Failed(vertexBuffer_->Lock(0, 0, &data, gfx::lock::kReadOnly))) return {};
        if (!bytes.empty()) std::memcpy(bytes.data(), data, bytes.size());
        vertexBuffer_->Unlock();
        return bytes;
    }
    uint32_t VertexSize() const { return vertexSize_; }
};

class BatchTest : public GraphicsTest {
protected:
    ProbeBatch* MakeBatch(uint32_t capacity, bool sort) {
        auto* batch = new ProbeBatch(ZethSprite::GetManager());
        EXPECT_TRUE(batch->Create(capacity, 1, sort));
        return batch;
    }
};

Vertex2D At(float x, float y, float z, uint32_t colour = 0xFFFFFFFF) { return PushedVertex(x, y, z, colour); }

TEST_F(BatchTest, SortKeysOfConvertedDepths) {
    ProbeBatch* batch = MakeBatch(30, true);
    struct Case {
        float depth;
        int32_t key;
    };
    for (Case c : {Case{65535.0f, -1}, Case{65534.0f, 8190}, Case{32767.0f, 4095}, Case{0.0f, 0}}) {
        const Vertex2D in[3] = {At(0, 0, c.depth), At(10, 0, c.depth), At(0, 10, c.depth)};
        Vertex2D out[3];
        batch->ConvertVertices(out, in);
        EXPECT_EQ(CPrimitive2D::SortKey(out[0].z, out[1].z, out[2].z), c.key) << c.depth;
    }
    const Vertex2D mid[3] = {At(0, 0, 32767), At(0, 0, 32767), At(0, 0, 32767)};
    Vertex2D converted[3];
    batch->ConvertVertices(converted, mid);
    EXPECT_FLOAT_EQ(converted[0].z, 0.49999237f);
    EXPECT_EQ(CPrimitive2D::SortKey(-0.0001f, 0, 0), 0);  // truncation toward zero
    EXPECT_EQ(CPrimitive2D::SortKey(NAN, 0, 0), -1);
    batch->Release();
}

TEST_F(BatchTest, SortedBatchDrawsFarToNearAndLaterPushesFirst) {
    ProbeBatch* batch = MakeBatch(30, true);
    batch->Begin();
    struct Push {
        float depth;
        uint32_t colour;
    };
    for (Push p : {Push{100, 1}, Push{65535, 2}, Push{65534, 3}, Push{100, 4}, Push{0, 5}}) {
        const Vertex2D t[3] = {At(0, 0, p.depth, p.colour), At(10, 0, p.depth, p.colour), At(0, 10, p.depth, p.colour)};
        EXPECT_TRUE(batch->Push(t, 1));
    }
    batch->End();
    EXPECT_EQ(batch->GetVertexCount(), 15u);  // the dropped triangle was submitted all the same
    std::vector<uint32_t> order;
    std::vector<uint32_t> colours = batch->UploadedColours();
    for (size_t i = 0; i < colours.size(); i += 3) order.push_back(colours[i]);
    EXPECT_EQ(order, (std::vector<uint32_t>{3, 4, 1, 5}));
    // The next frame starts empty: nothing pushed in the last one is drawn again.
    batch->Begin();
    for (Push p : {Push{200, 6}, Push{0, 7}}) {
        const Vertex2D t[3] = {At(0, 0, p.depth, p.colour), At(10, 0, p.depth, p.colour), At(0, 10, p.depth, p.colour)};
        EXPECT_TRUE(batch->Push(t, 1));
    }
    batch->End();
    colours = batch->UploadedColours();
    order.clear();
    for (size_t i = 0; i < colours.size(); i += 3) order.push_back(colours[i]);
    EXPECT_EQ(order, (std::vector<uint32_t>{6, 7}));
    batch->Release();
}

TEST_F(BatchTest, FullBatchRefusesAClippedTriangleWhole) {
    ProbeBatch* batch = MakeBatch(6, false);
    CObject2DManager::ClipRect clip{0, 0, 640, 480};
    batch->SetClipRect(&clip);
    batch->Begin();
    const Vertex2D inside[3] = {At(10, 10, 0), At(20, 10, 0), At(10, 20, 0)};
    EXPECT_TRUE(batch->Push(inside, 1));
    // A triangle over the top-left corner clips to a four-sided polygon: two triangles.
    const Vertex2D corner[3] = {At(-50, 20, 0), At(20, -50, 0), At(30, 30, 0)};
    EXPECT_FALSE(batch->Push(corner, 1));
    EXPECT_EQ(batch->Queued(), 3u);
    EXPECT_EQ(batch->GetVertexCount(), 9u);
    batch->Release();
}

TEST_F(BatchTest, ClippingAtEdgesAndCorners) {
    ProbeBatch* batch = MakeBatch(30, false);
    CObject2DManager::ClipRect clip{0, 0, 640, 480};
    batch->SetClipRect(&clip);
    Vertex2D out[32];
    struct Case {
        const char* what;
        Vertex2D in[3];
        uint32_t vertices;  // kSome: any whole number of triangles
    };
    constexpr uint32_t kSome = UINT32_MAX;
    const Case cases[] = {
        {"inside", {At(1, 1, 0), At(9, 1, 0), At(1, 9, 0)}, 3},
        {"left of the rectangle", {At(-9, 1, 0), At(-1, 1, 0), At(-9, 9, 0)}, 0},
        {"below the rectangle", {At(1, 490, 0), At(9, 490, 0), At(1, 499, 0)}, 0},
        {"on the left edge", {At(0, 1, 0), At(9, 1, 0), At(0, 9, 0)}, 3},
        {"across the right edge", {At(630, 10, 0), At(650, 10, 0), At(630, 20, 0)}, 6},
        {"across the bottom edge", {At(10, 470, 0), At(20, 490, 0), At(0, 490, 0)}, 3},
        {"across every edge", {At(320, -1000, 0), At(2000, 1500, 0), At(-1500, 1500, 0)}, kSome},
        {"over the top-right corner", {At(600, 10, 0), At(660, -20, 0), At(660, 40, 0)}, 6},
    };
    for (const Case& c : cases) {
        // Positions here are screen pixels already (the clip works after conversion).
        uint32_t n = batch->ClipTriangle(out, c.in);
        if (c.vertices == kSome) {
            EXPECT_TRUE(n > 0 && n <= 15 && n % 3 == 0) << c.what << " " << n;
        } else {
            EXPECT_EQ(n, c.vertices) << c.what;
        }
        // Interpolated edge points carry the rounding of the interpolation.
        for (uint32_t i = 0; i < n; ++i) {
            EXPECT_GE(out[i].x, -1e-3f) << c.what;
            EXPECT_LE(out[i].x, 640.001f) << c.what;
            EXPECT_GE(out[i].y, -1e-3f) << c.what;
            EXPECT_LE(out[i].y, 480.001f) << c.what;
        }
    }
    // Conversion first: a left edge at virtual 0 lands at -0.5 and is cut at 0.
    const Vertex2D cell[3] = {At(0, 10, 0), At(16, 10, 0), At(0, 26, 0)};
    Vertex2D converted[3];
    batch->ConvertVertices(converted, cell);
    EXPECT_FLOAT_EQ(converted[0].x, -0.5f);
    uint32_t n = batch->ClipTriangle(out, converted);
    ASSERT_GT(n, 0u);
    float left = 1e9f;
    for (uint32_t i = 0; i < n; ++i) left = std::min(left, out[i].x);
    EXPECT_FLOAT_EQ(left, 0.0f);
    batch->Release();
}

// A triangle that no clip edge cuts is queued without going through clipping: what is uploaded
// must be what conversion and clipping give, for triangles inside, on the edges, across them
// and with positions that are not numbers, sorted or not.
TEST_F(BatchTest, PushedTrianglesAreConvertedThenClippedVertices) {
    const float nan = std::nanf("");
    const Vertex2D cases[][3] = {
        {At(10, 10, 100, 1), At(30, 10, 200, 2), At(10, 30, 300, 3)},           // inside
        {At(0.5f, 0.5f, 0, 4), At(640.5f, 0.5f, 0, 5), At(0.5f, 480.5f, 0, 6)},   // on the edges
        {At(0.49f, 10, 0, 7), At(30, 10, 0, 8), At(10, 30, 0, 9)},               // just across
        {At(630, 470, 65534, 10), At(700, 470, 65534, 11), At(630, 500, 65534, 12)},
        {At(nan, 10, 0, 13), At(30, 10, 0, 14), At(10, 30, 0, 15)},
        {At(10, 10, 65535, 16), At(30, 10, 65535, 17), At(10, 30, 65535, 18)},   // dropped when sorting
    };
    for (bool sort : {false, true}) {
        ProbeBatch* batch = MakeBatch(30, sort);
        CObject2DManager::ClipRect clip{0, 0, 640, 480};
        batch->SetClipRect(&clip);
        for (const auto& in : cases) {
            Vertex2D t[3];
            std::memcpy(t, in, sizeof t);
            for (int i = 0; i < 3; ++i) {
                t[i].uv[0][0] = 0.25f * float(i);
                t[i].uv[0][1] = 1.0f - 0.125f * float(i);
            }
            Vertex2D converted[3], clipped[32];
            batch->ConvertVertices(converted, t);
            const uint32_t n = batch->ClipTriangle(clipped, converted);
            std::vector<uint8_t> expected;
            for (uint32_t i = 0; i < n; i += 3) {
                if (sort && CPrimitive2D::SortKey(clipped[i].z, clipped[i + 1].z, clipped[i + 2].z) < 0) continue;
                for (uint32_t j = i; j < i + 3; ++j) {
                    const auto* bytes = reinterpret_cast<const uint8_t*>(&clipped[j]);
                    expected.insert(expected.end(), bytes, bytes + batch->VertexSize());
                }
            }
            batch->Begin();
            EXPECT_TRUE(batch->Push(t, 1));
            batch->End();
            EXPECT_EQ(batch->GetVertexCount(), n);
            // Sorted batches upload the triangles of one push in reverse order; one triangle here
            // unless clipping cut it.
            if (!sort || n <= 3) {
                EXPECT_EQ(batch->UploadedBytes(), expected) << in[0].diffuse << " " << sort;
            }
        }
        batch->Release();
    }
}

TEST_F(BatchTest, ConvertVerticesScalesAndAppliesPerspective) {
    ProbeBatch* batch = MakeBatch(3, false);
    const Vertex2D in[3] = {At(100, 50, 32767), At(420, 50, 65535), At(100, 300, 0)};
    Vertex2D out[3];
    batch->SetScaling(true, 320, 240, 2.0f);
    batch->ConvertVertices(out, in);
    EXPECT_FLOAT_EQ(out[0].x, (100 - 320) * 2.0f + 320 - 0.5f);
    EXPECT_FLOAT_EQ(out[0].y, (50 - 240) * 2.0f + 240 - 0.5f);
    EXPECT_FLOAT_EQ(out[0].rhw, 1.0f);
    batch->SetScaling(false, 0, 0, 1);
    batch->SetPerspective(true, 320, 240, 100.0f);
    batch->ConvertVertices(out, in);
    // At the middle depth the divisor is 1: positions stay, depth is z / 65535, rhw its inverse.
    EXPECT_NEAR(out[0].x, 99.5f, 1e-3f);
    EXPECT_NEAR(out[0].z, 32767.0f / 65535.0f, 1e-6f);
    EXPECT_FLOAT_EQ(out[0].rhw, 1.0f / out[0].z);
    EXPECT_LT(out[1].x, 419.5f);  // farther away: pulled toward the centre
    batch->Release();
}

TEST_F(BatchTest, LerpVertexInterpolatesColourBytes) {
    Vertex2D a = At(0, 0, 0, 0xFF000010);
    Vertex2D b = At(10, 20, 1, 0x00FF0020);
    a.uv[0][0] = 0.0f;
    b.uv[0][0] = 1.0f;
    Vertex2D out;
    CBasePrimitive2D::LerpVertex(&a, &b, &out, 0.5f);
    EXPECT_FLOAT_EQ(out.x, 5.0f);
    EXPECT_FLOAT_EQ(out.y, 10.0f);
    EXPECT_FLOAT_EQ(out.uv[0][0], 0.5f);
    EXPECT_EQ(out.diffuse, 0x7F7F0018u);
}

}  // namespace
