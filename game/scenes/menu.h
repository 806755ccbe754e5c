// What the menu scenes share: their buttons (copies of the game's hold counters, zeroed in a
// scene's first two frames, pressed on the frame a counter is exactly 1), their sounds, and
// drawing of text and 8 x 8 effect cells at the top depth. Scenes create each other by the
// names of their type ids.
#pragma once

#include <cstdint>

#include "game/world/sheet_cell.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

class CSprite2D;
class ObjectController;

namespace menu {

constexpr float kDepth = 32767.0f;
constexpr int32_t kWhite = -1;
constexpr int32_t kDecideDelay = 30;  // frames from a decide press to its action

// Pad buttons.
enum Button : int32_t { kUp = 0, kDown = 1, kLeft = 2, kRight = 3, kDecide = 4, kCancel = 5, kThird = 6, kFourth = 7 };

// This frame's copies of pad buttons 0-7; all 0 while the scene's age is below 2.
struct Buttons {
    int32_t held[8] = {};
    void Read(const ObjectController* ctx, int32_t age);
    bool Pressed(int32_t button) const { return held[button] == 1; }
    // Pressed, or held past 30 frames (repeats every frame).
    bool Repeating(int32_t button) const { return held[button] == 1 || held[button] > 30; }
    bool AnyHeld() const;
};

void Text(const wchar_t* text, float x, float y, int32_t colour = kWhite);
void Number(float x, float y, int32_t value, int32_t colour = kWhite);
// A cell of a batch stretched over (x, y, w, h); a negative source width or height mirrors it.
void Cell(CSprite2D* batch, float x, float y, float w, float h, float u, float v, float uw, float vh,
          uint32_t colour = 0xFFFFFFFFu);
void Cell(CSprite2D* batch, float x, float y, float w, float h, const CellSource& source,
          uint32_t colour = 0xFFFFFFFFu);
// The 8 x 8 pointer of the second effect batch.
void Pointer(float x, float y);
// A frame of 8 x 8 corner cells at the four corners given and stretched edges between them.
void Frame(float left, float top, float right, float bottom);
// A character's 16 x 16 icon from the party sheet.
void Icon(int32_t id, float x, float y);
// Clears both 512 x 512 layer targets to transparent black.
void ClearLayerTargets();

// Starts a new scene: the world is emptied (the party's controller stays) and the frame counter
// and random generator start again, so that a recorded game repeats from the same state.
void StartFresh(ObjectController* ctx);

}  // namespace menu
