// The background sheets' terrain, drawn by code on the shared palette: families of ground whose
// regions end in shaped edges and corners, the plates under ground enemies, the walls, open
// space and the ghost modes' grid.
#pragma once

#include <string_view>

#include "tools/datagen/cells.h"
#include "tools/datagen/image.h"
#include "tools/datagen/palette.h"

namespace datagen {

// The look of terrain cells; their palette field names the kind of terrain (TerrainKinds()).
inline constexpr std::string_view kTerrainLook = "terrain";

// True for the kinds a terrain cell may name: space, grid, plate, wall and the families meadow,
// field, water, forest, town, road, rock, deck and trench.
bool IsTerrainKind(std::string_view name);

// Frames of a family, in the order the map builder picks them: the inside, the edges (open side
// top, bottom, left, right), the outer corners (top left, top right, bottom left, bottom right),
// the inner corners (the open notch at the top left, top right, bottom left, bottom right), then
// three quiet variants of the inside.
inline constexpr int kFamilyFrames = 16;

// Draws every frame of a terrain cell. Throws std::runtime_error when the shared palette lacks a
// shade the kind is drawn with.
void DrawTerrain(Image& sheet, const Cell& cell, const SharedPalette& palette);

}  // namespace datagen
