// The attract demo's texts: a line of the demo song's words that slides in from the right, holds
// and slides out to the left, and a masked message typed out one character a frame.
#include <algorithm>
#include <iterator>

#include "framework/core/angle.h"
#include "game/enemies/demo_texts.h"
#include "game/world/factory.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

constexpr float kDepth = 32767.0f;
constexpr int32_t kWhite = -1;
constexpr int32_t kLongLinesPerGroup = 7;  // lines 0-6 of every 16 stand longer
constexpr int32_t kMessageColumns = 27;

// The demo song, four verses of 16 lines; lines 7-15 of each verse stand for a shorter time.
const wchar_t* const kLyricLines[kDemoLyricLines] = {
    // first verse
    L"まよなかの まちに あめが ふる",
    L"ネオンの したで だれかが よぶ",
    L"とおい こえが データに とける",
    L"ゆめの なかで きみを さがす",
    L"ひかりの みちを はしりぬけて",
    L"よあけまで あと すこしだけ",
    L"ほしの かけらを ひろいあつめ",
    L"ねむらない まち",
    L"ひとりじゃ ない",
    L"ノードを こえて",
    L"つぎの まちへ",
    L"NIGHT RUN",
    L"まだ とまれない",
    L"こころの おくで",
    L"ひかる ばしょ",
    L"いま とびたつ",
    // second verse
    L"うみべの かぜが なまえを はこぶ",
    L"しろい なみに あしあとを のこし",
    L"わすれた うたを くちずさめば",
    L"とおい ひが すこし ちかづく",
    L"かもめが そらに わを えがいて",
    L"あしたの いろを おしえてくれる",
    L"きみの てを もういちど にぎる",
    L"しおの かおり",
    L"ゆうやけ そら",
    L"SIGNAL ひとつ",
    L"こたえて ほしい",
    L"ここに いるよ",
    L"なみの おとに",
    L"まぎれないで",
    L"てを のばして",
    L"とどく まで",
    // third verse
    L"くさはらに ほしが こぼれて",
    L"ほたるの ひかりが みちを てらす",
    L"かぜの うたに みみを すませば",
    L"とおくで だれかが わらってる",
    L"つきの ふねに のって ゆこう",
    L"やみの むこうに あさが まつ",
    L"ちいさな ねがいを かさねて",
    L"よるの はたけ",
    L"ほしの あめ",
    L"OVER DRIVE",
    L"とまらない",
    L"ゆめの つづき",
    L"みせて あげる",
    L"きこえる かな",
    L"この うたが",
    L"いま ここで",
    // fourth verse
    L"ながい よるが ようやく あける",
    L"つないだ てを はなさないで",
    L"ロックを はずして とびらを あけて",
    L"あたらしい ひが のぼる まで",
    L"ぼくらの こえは きえない",
    L"まちの あかりが ひとつずつ きえて",
    L"そらが しろく そまって ゆく",
    L"ありがとう",
    L"また あえる",
    L"GOOD NIGHT",
    L"さよなら じゃ ない",
    L"おぼえていて",
    L"この よるを",
    L"わすれないで",
    L"ENDLESS",
    L"また あした",
};

// The masked message lines.
const wchar_t* const kMessageLines[kDemoMessageLines] = {
    L"**** ****** **** ***!",
    L"**** **** ******** *****!",
    L"****",
    L"******* ******** *****",
    L"** ***** *******           ******* ******",
    L"****** ***",
};

// Copies `from` (null = an empty line) into a buffer of `size` characters, the rest zero.
template <size_t N>
void CopyLine(const wchar_t* from, wchar_t (&to)[N]) {
    std::fill(std::begin(to), std::end(to), L'\0');
    if (from == nullptr) return;
    for (size_t i = 0; i < N - 1 && from[i] != L'\0'; ++i) to[i] = from[i];
}

}  // namespace

const wchar_t* DemoLyricLine(int32_t n) { return n >= 0 && n < kDemoLyricLines ? kLyricLines[n] : nullptr; }

const wchar_t* DemoMessageLine(int32_t n) { return n >= 0 && n < kDemoMessageLines ? kMessageLines[n] : nullptr; }

EF_Demo_Words::EF_Demo_Words(float a, float b, float c, float d, float e, float f) : RowEffect(a, b, c, d, e, f) {
    hp = 100.0f;
    std::fill(std::begin(text), std::end(text), L' ');
    text[kDemoLineChars] = L'\0';
}

void EF_Demo_Words::Move(ObjectController*) {
    vx += ax;
    vy += ay;
    x += vx;
    y += vy;
    if (ax != 0.0f || ay != 0.0f) angle = static_cast<int32_t>(AngleAtan2(vx, vy));
    if (x > 288.0f || y < -32.0f || y > 272.0f) Vanish();
}

bool EF_Demo_Words::LongLine() const { return ((angle % 16) + 16) % 16 < kLongLinesPerGroup; }

void EF_Demo_Words::Run(ObjectController*) {
    if (age == 0) CopyLine(DemoLyricLine(angle), text);
    if (age == 30) vx = 0.0f;
    if (age == 160 && !LongLine()) vx = -8.0f;
    if (age == 320) vx = -8.0f;
    if (age == (LongLine() ? 350 : 190)) Kill();
    age += 1;
}

void EF_Demo_Words::Draw(ObjectController*) { DrawText(text, x, y, kDepth, kWhite); }

EF_Demo_Message::EF_Demo_Message(float a, float b, float c, float d, float e, float f)
    : RowEffect(a, b, c, d, e, f) {
    hp = 100.0f;
    std::fill(std::begin(text), std::end(text), L' ');
}

void EF_Demo_Message::Run(ObjectController*) {
    if (age == 0) CopyLine(DemoMessageLine(angle), text);
    EndRun();
}

void EF_Demo_Message::Draw(ObjectController*) {
    for (int32_t i = 0; i < age && i < kDemoMessageChars; ++i) {
        DrawGlyph(text[i], x + static_cast<float>((i % kMessageColumns) * 8),
                  y + static_cast<float>((i / kMessageColumns) * 16), kDepth, kWhite);
    }
}

namespace {

const ClassRegistration kDemoTextClasses{
    {type_id::EF_Demo_Words, MakeObject<EF_Demo_Words>},
    {type_id::EF_Demo_Message, MakeObject<EF_Demo_Message>},
};

}  // namespace
