#include <gtest/gtest.h>

#include <algorithm>

#include "framework/graphics/sprite.h"
#include "framework/graphics/texture.h"
#include "game/world/drawing.h"
#include "game/world/text.h"

namespace {

// A 128 x 128 sheet with no device behind it: only its size matters to the sprite's arithmetic.
class SheetSize : public CTexture {
public:
    SheetSize() : CTexture(nullptr) { info_.width = info_.height = 128; }
};

// A batch that keeps every rectangle pushed into it as destination and source cell.
class RecordingBatch : public CSprite2D {
public:
    struct Rect {
        float x, y;
        int32_t cell;
        uint32_t colour;
        float z;
    };
    explicit RecordingBatch(CTexture* sheet) : CSprite2D(nullptr) { SetTexture(0, sheet); }
    // Quads and rectangles too come through Push, as the base class sends them.
    bool PushQuad(const Vertex2D corners[4]) override { return CBasePrimitive2D::PushQuad(corners); }
    bool PushRect(const RectQuad& quad) override { return CBasePrimitive2D::PushRect(quad); }
    bool Push(const Vertex2D* v, uint32_t triangles) override {
        float x = v[0].x, y = v[0].y, u = v[0].uv[0][0], t = v[0].uv[0][1];
        for (uint32_t i = 1; i < triangles * 3; ++i) {
            x = std::min(x, v[i].x);
            y = std::min(y, v[i].y);
            u = std::min(u, v[i].uv[0][0]);
            t = std::min(t, v[i].uv[0][1]);
        }
        int32_t column = static_cast<int32_t>(u * 128.0f + 0.5f) / 8;
        int32_t row = static_cast<int32_t>(t * 128.0f + 0.5f) / 8;
        rects.push_back({x, y, row * 16 + column, v[0].diffuse, v[0].z});
        return true;
    }
    std::vector<Rect> rects;
};

class Text : public ::testing::Test {
protected:
    Text() { gameSprites.font = &font; }
    ~Text() override { gameSprites.font = nullptr; }
    std::vector<std::pair<float, int32_t>> XAndCell() {
        std::vector<std::pair<float, int32_t>> out;
        for (const auto& r : font.rects) out.push_back({r.x, r.cell});
        return out;
    }
    SheetSize sheet;
    RecordingBatch font{&sheet};
};

}  // namespace

TEST_F(Text, DrawNumberRightAligned) {
    using Cells = std::vector<std::pair<float, int32_t>>;
    struct Case {
        int32_t value;
        Cells expected;
    } cases[] = {
        {1234, {{100, 4}, {92, 3}, {84, 2}, {76, 1}}},
        {0, {{100, 0}}},
        {10, {{100, 0}, {92, 1}}},
        {-5, {}},
    };
    for (const Case& c : cases) {
        font.rects.clear();
        DrawNumber(100, 50, c.value, -1);
        EXPECT_EQ(XAndCell(), c.expected) << c.value;
        for (const auto& r : font.rects) EXPECT_EQ(r.y, 50.0f);
    }
}

TEST_F(Text, GlyphsMarksAndUnknownCharacters) {
    DrawText(L"Aが a", 10, 20, 32767.0f, 0x80FF0000);
    ASSERT_EQ(font.rects.size(), 5u);
    EXPECT_EQ(font.rects[0].cell, 32);
    EXPECT_EQ(font.rects[1].cell, 69);  // ka, then the voiced mark 8 above it
    EXPECT_EQ(font.rects[1].x, 18.0f);
    EXPECT_EQ(font.rects[2].cell, 116);
    EXPECT_EQ(font.rects[2].x, 18.0f);
    EXPECT_EQ(font.rects[2].y, 12.0f);
    EXPECT_EQ(font.rects[3].cell, 255);  // space
    EXPECT_EQ(font.rects[4].cell, 255);  // lower case
    EXPECT_EQ(font.rects[4].x, 34.0f);
    EXPECT_EQ(font.rects[4].colour, 0x80FF0000u);
}

TEST_F(Text, GradeTextAndNames) {
    DrawGradeText(0, 0, 1, 2, -1);
    DrawGradeText(0, 0, 1, 4, -1);   // no such grade: nothing
    DrawGradeText(0, 0, 2, -2, -1);  // -2 reduces to 8, "SA"
    DrawCharacterName(0, 0, -1, -1);  // id 63
    std::vector<int32_t> cells;
    for (const auto& r : font.rects) cells.push_back(r.cell);
    // "A", "SA", then "らんだむ": ら 102, ん 109, た 79 with the voiced mark 116, む 96.
    EXPECT_EQ(cells, (std::vector<int32_t>{32, 50, 32, 102, 109, 79, 116, 96}));
}
