// Stands in for the sprite set and the text drawing until the framework's sprite path exists:
// nothing is loaded and nothing is drawn.
#include "game/world/drawing.h"
#include "game/world/text.h"

GameSpriteSet gameSprites;

void LoadTextures() {}
void ReleaseTextures() {}
void BeginSpriteBatches() {}
void RenderSpriteBatches() {}
void PresentFrame() {}
void SetTexelInset(float) {}
void DrawGlyph(wchar_t, float, float, float, int32_t) {}
void DrawText(const wchar_t*, float, float, float, int32_t) {}
void DrawNumber(float, float, int32_t, int32_t) {}
void DrawCharacterName(float, float, int32_t, int32_t) {}
void DrawGradeText(float, float, int32_t, int32_t, int32_t) {}
void DrawPartyIcons(float, float, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
