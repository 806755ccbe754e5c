// Draws one textured, optionally turned rectangle at once, outside the sprite batches, from one
// small dynamic vertex buffer as a triangle fan with up to four texture stages.
#pragma once

#include <cstdint>

#include "framework/graphics/primitive2d.h"

class CTexture;

namespace ZethSimple {

constexpr uint32_t kCapacity = 256;  // vertices

bool Initialize();  // creates the buffer; false ends start-up
void Finalize();
void OnLostDevice();
void OnResetDevice();
// destination {x, y, w, h} in virtual-screen units turned by the binary angle about its centre
// moved by (pivotX, pivotY); sources {x, y, w, h} in texels, one per texture.
void DrawQuad(const float destination[4], int32_t angle, const float sources[][4], uint32_t colour,
              CTexture* const textures[], int32_t textureCount, int32_t pivotX, int32_t pivotY);
// Converts the vertices (texels to texture space, virtual to screen pixels) into the buffer and
// draws them as a fan; more vertices than the buffer holds are not drawn.
void DrawVertices(const Vertex2D* vertices, int32_t vertexCount, CTexture* const textures[], int32_t textureCount);
void DrawFan(int32_t vertexCount, CTexture* const textures[], int32_t textureCount);

}  // namespace ZethSimple
