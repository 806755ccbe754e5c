// A font for tests that draws nothing: every operation does nothing or answers zero, and a test
// overrides only what it counts or measures.
#pragma once

#include <cstdint>

#include "framework/graphics/font.h"

class NullFont : public CFont {
public:
    using CFont::CFont;
    void OnLostDevice() override {}
    void OnResetDevice() override {}
    bool Create(const char*, uint32_t, bool, bool) override { return true; }
    void SetTarget(CTexture*) override {}
    void DrawChar(int32_t, int32_t, uint32_t, uint16_t) override {}
    void DrawCharSmooth(int32_t, int32_t, uint32_t, uint16_t) override {}
    int32_t DrawText(int32_t, int32_t, uint32_t, const char*) override { return 0; }
    int32_t DrawTextSmooth(int32_t, int32_t, uint32_t, const char*) override { return 0; }
    int32_t DrawTextProportional(int32_t, int32_t, uint32_t, const char*) override { return 0; }
    int32_t DrawTextProportionalSmooth(int32_t, int32_t, uint32_t, const char*) override { return 0; }
    void GetCharWidths(uint16_t, ABC*) override {}
    void Begin(bool) override {}
    void End() override {}
    int32_t GetTextWidth(const char*, ...) override { return 0; }
    uint32_t GetSize() const override { return 0; }
};
