// A cell of a texture sheet: the rectangle of its first frame and how its frames lie. The cells
// themselves are named in "game/world/cells.h", which the build makes from assets/cells.csv; the
// code draws a cell by its name and writes only offsets inside it (a frame, a part).
#pragma once

#include <cstdint>

// The sheets that hold cells ("enemy.bmp" also stands for its flash and ghost copies, "bg.bmp"
// for its dusk copy).
enum class CellSheet : uint8_t { bullet, enemy, groundenemy, shot, pc, bg, demo, effect };

// A source rectangle as the sprite batches take it: a negative size reads from the far edge back.
struct CellSource {
    float u, v, width, height;
};

struct SheetCell {
    CellSheet sheet;
    int16_t x, y;           // top-left texel of the first frame
    int16_t width, height;  // one frame
    int16_t across, down;   // frames side by side to the right, and rows of them downwards

    constexpr int32_t Frames() const { return across * down; }
    // Top-left texel of frame i, counted row by row.
    constexpr int32_t FrameX(int32_t i) const { return x + width * (i % across); }
    constexpr int32_t FrameY(int32_t i) const { return y + height * (i / across); }
    // The same as floats, and a texel of the cell (dx, dy) from its top-left one.
    constexpr float U(int32_t dx = 0) const { return static_cast<float>(x + dx); }
    constexpr float V(int32_t dy = 0) const { return static_cast<float>(y + dy); }
    constexpr float W() const { return static_cast<float>(width); }
    constexpr float H() const { return static_cast<float>(height); }
    // The first frame's source rectangle, mirrored left to right and top to bottom as asked.
    constexpr CellSource Source(bool mirrorX = false, bool mirrorY = false) const {
        return {U(mirrorX ? width : 0), V(mirrorY ? height : 0), mirrorX ? -W() : W(), mirrorY ? -H() : H()};
    }
    // Frame i alone, counted row by row.
    constexpr SheetCell Frame(int32_t i) const {
        return {sheet, static_cast<int16_t>(FrameX(i)), static_cast<int16_t>(FrameY(i)), width, height, 1, 1};
    }
    // The same cell read from (dx, dy) inside it: a frame counted in texels, or a part that code
    // reads alone.
    constexpr SheetCell Shifted(int32_t dx, int32_t dy) const {
        return {sheet, static_cast<int16_t>(x + dx), static_cast<int16_t>(y + dy), width, height, across, down};
    }
};
