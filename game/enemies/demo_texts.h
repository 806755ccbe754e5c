// The two text effects of the attract demo and the texts they show.
#pragma once

#include <cstdint>

#include "game/enemies/effect.h"
#include "game/world/type_table.h"

constexpr int32_t kDemoLyricLines = 64;
constexpr int32_t kDemoMessageLines = 6;
constexpr int kDemoLineChars = 64;
constexpr int kDemoMessageChars = 256;

// Lyric line n (0-63) and message line n (0-5); null for any other number.
const wchar_t* DemoLyricLine(int32_t n);
const wchar_t* DemoMessageLine(int32_t n);

// One line of the song's words (its number in the angle field): slides in, holds, slides out.
class EF_Demo_Words final : public RowEffect<type_id::EF_Demo_Words> {
public:
    EF_Demo_Words(float a, float b, float c, float d, float e, float f);
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void Draw(ObjectController* ctx) override;

    // A full line of 64 characters still ends with a terminator.
    wchar_t text[kDemoLineChars + 1];

private:
    bool LongLine() const;  // lines 0-6 of each 16 stand 290 frames, the others 130
};

// One masked message (its number in the angle field), typed one character a frame.
class EF_Demo_Message final : public RowEffect<type_id::EF_Demo_Message> {
public:
    EF_Demo_Message(float a, float b, float c, float d, float e, float f);
    void Run(ObjectController* ctx) override;
    void Draw(ObjectController* ctx) override;

    wchar_t text[kDemoMessageChars];
};
