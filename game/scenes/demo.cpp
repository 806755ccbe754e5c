// The attract demo's timeline: a title card, an opening dance, four verses each led by a dancer
// in front of the tile pictures, two epilogue interludes, and back to the title.
#include "game/scenes/demo.h"

#include <algorithm>
#include <string>
#include <iterator>

#include "framework/app/zeth.h"
#include "game/stage/stage_tables.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

using namespace menu;

namespace {

constexpr int32_t kEpilogueFrom = 16;  // arrest count
constexpr int32_t kDemoTune = 17;
constexpr int32_t kBlackBackdrop = 3;
constexpr int32_t kTitleCard = 6;
const char* const kDemoTables[kDemoPictures] = {"demo1.csv", "demo2.csv", "demo3.csv"};
const char* const kMissingTableText = "背景テーブルの書かれたファイルが読めないよぅ";

// The four verses: first bar and leading dancer.
struct Verse {
    int32_t firstBar;
    int32_t leader;
};
constexpr Verse kVerses[] = {{2, 0}, {14, 1}, {28, 2}, {44, 0}};
constexpr int32_t kVerseBars = 12;

// Lyric spawning by bar: frames at which a line starts.
struct LyricBars {
    int32_t first, last;
    bool at130, at290;
};
// first last  frame 130  frame 290
constexpr LyricBars kLyricBars[] = {
    {1,  8,  false, true}, {14, 20, false, true}, {27, 34, false, true}, {43, 50, false, true},
    {9,  13, true,  true}, {21, 24, true,  true}, {35, 38, true,  true}, {51, 55, true,  true},
    {25, 25, true,  false}, {39, 39, true,  false},
};

// Epilogue pictures of the interludes: backdrop, x of each picture, its frame of the pictures.
struct Interlude {
    int32_t backdrop;
    int32_t count;
    float x[3];
    int32_t picture[3];
};
constexpr Interlude kInterludes[] = {
    {4, 3, {56, 120, 184}, {0, 1, 2}},
    {5, 2, {80, 144, 0}, {3, 4, 0}},
};

// The dancers' four poses; poses 4-7 are 1-4 mirrored.
constexpr SheetCell kDancers[kDemoDancers] = {cell::dancer_violet, cell::dancer_blue, cell::dancer_orange};

// The opening bar's beat from frame 240: poses of dancers 0-2 on each multiple of 40, and 20 later.
constexpr int32_t kOpeningBeat[kDemoDancers] = {2, 4, 0};
constexpr int32_t kOpeningRest[kDemoDancers] = {0, 7, 3};

// One bar of a verse's dance: the leader's pose at each step of 20 frames, where the leader stands
// from the bar's first frame and the backdrop shown from then, and, for a walk, the leader's move
// at every later step. A walk crosses the picture twice: at frame 160 it starts again from its
// first x, lower down.
struct VerseBar {
    const char* steps;  // a pose '0'-'7' a step, '.' keeps the pose
    float x, y;         // x < 0: the leader stays where it was
    int32_t backdrop;   // < 0: the backdrop stays
    float stride;       // 0: no walk
};
constexpr int32_t kStepFrames = 20;
constexpr size_t kStepsPerBar = 16;  // the longest bar's 320 frames
constexpr int32_t kWalkSecondLineFrame = 160;
constexpr float kWalkSecondLineY = 160;
constexpr VerseBar kVerseDance[kVerseBars] = {
    // steps             x    y    backdrop stride
    {"2.0.2.0.2.0.2.0.", 128, 120, 0,  0},
    {"2.0.2.0.2.0.2020", -1,  0,   -1, 0},
    {"1.5.1.5.1.5.1.5.", -1,  0,   -1, 0},
    {"3737373737373737", -1,  0,   -1, 0},
    {"3.0.3.0.3.0.3.0.", 96,  92,  2,  0},
    {"7.4.7.4.7.4.7.4.", 192, 144, -1, 0},
    {"3232323232323232", 128, 128, -1, 0},
    {"3.0.7130........", -1,  0,   -1, 0},  // a half bar
    {"7130713071307130", 32,  40,  1,  24},
    {"2020202020202020", 128, 120, -1, 0},
    {"3170317031703170", 224, 40,  1,  -24},
    {"6262626262626262", 128, 96,  -1, 0},
};
constexpr bool EveryBarHasAllItsSteps() {
    for (const VerseBar& row : kVerseDance) {
        if (std::char_traits<char>::length(row.steps) != kStepsPerBar) return false;
    }
    return true;
}
static_assert(EveryBarHasAllItsSteps());

int32_t Mirror(int32_t p) { return p < 4 ? p + 4 : p - 4; }

}  // namespace

SC_Demo::SC_Demo(float, float, float, float, float, float) { Init(); }

int32_t SC_Demo::BarLength(int32_t b) { return b == 9 || b == 21 || b == 35 || b == 51 ? 160 : 320; }

void SC_Demo::LoadDemoScript() {
    for (int32_t n = 0; n < kDemoPictures; ++n) {
        uint8_t values[256] = {};
        if (!LoadTableFile(kDemoTables[n], kMapFieldLimit, values, 256, 256)) {
            Zeth::MessageBox(0, "test", "%s", kMissingTableText);
            continue;
        }
        for (int k = 0; k < 256; ++k) tileMaps[n][15 - k / 16][k % 16] = values[k];
    }
}

void SC_Demo::Leave(ObjectController* ctx) {
    if (!IsAlive()) return;
    Vanish();
    ctx->ClearScene();
    ctx->CreateObject(type_id::SC_Menu_Title, 128, 0, 0, 0, 0, 0, nullptr);
}

void SC_Demo::Update(ObjectController* ctx) {
    for (int32_t b = kDecide; b <= kFourth; ++b) {
        const int32_t held = b == kFourth ? ctx->input.raw[b] : ctx->input.game[b];
        if (held == 1) Leave(ctx);
    }
    if (age == 0) {
        LoadDemoScript();
        ctx->bgm.PlayStage(kDemoTune);
        ctx->bgm.Play(3);
    }
    const int32_t playedBar = bar;
    const int32_t playedFrame = barFrame;
    Play(ctx);
    if (ctx->scoreData.arrestCount >= kEpilogueFrom) SpawnLyrics(ctx, playedBar, playedFrame);
    age += 1;
}

void SC_Demo::HideAll() { std::fill(std::begin(pose), std::end(pose), kDemoHiddenPose); }

void SC_Demo::Play(ObjectController* ctx) {
    const int32_t f = barFrame;
    if (bar == 0) {
        backdrop = kTitleCard;
        HideAll();
    } else if (bar == 1) {
        backdrop = kBlackBackdrop;
        if (f == 0) pose[0] = 0;
        if (f == 80) pose[1] = 7;
        if (f == 160) pose[2] = 3;
        if (f >= 240 && f % 40 == 0) std::copy(std::begin(kOpeningBeat), std::end(kOpeningBeat), pose);
        if (f >= 240 && f % 40 == 20) std::copy(std::begin(kOpeningRest), std::end(kOpeningRest), pose);
    } else if (f == 0 && (bar == 26 || bar == 40 || bar == 56)) {
        backdrop = bar == 26 ? 4 : (bar == 40 ? 5 : 0);
        HideAll();
    } else if (bar == kDemoLastBar) {
        if (f == 0) backdrop = kBlackBackdrop;
        if (f == 180) {
            ctx->bgm.Stop();
            Leave(ctx);
        }
    }
    for (const Verse& verse : kVerses) {
        if (bar >= verse.firstBar && bar < verse.firstBar + kVerseBars) {
            PlayVerse(bar - verse.firstBar, verse.leader, &verse == &kVerses[3]);
        }
    }
    barFrame += 1;
    if (barFrame >= BarLength(bar)) {
        barFrame = 0;
        bar += 1;
    }
}

// The leader's dance through a verse's twelve bars, each bar a row of the dance table; a verse
// opens on an empty stage. In the last verse the other two dance beside the leader, the first in
// step and the second mirrored.
void SC_Demo::PlayVerse(int32_t vb, int32_t leader, bool fullTroupe) {
    const int32_t f = barFrame;
    if (f % kStepFrames != 0) return;
    const VerseBar& row = kVerseDance[vb];
    float& lx = dancerX[leader];
    float& ly = dancerY[leader];
    if (f == 0) {
        if (vb == 0) HideAll();
        if (row.x >= 0) {
            lx = row.x;
            ly = row.y;
        }
        if (row.backdrop >= 0) backdrop = row.backdrop;
    } else if (row.stride != 0) {
        if (f == kWalkSecondLineFrame) {
            lx = row.x;
            ly = kWalkSecondLineY;
        } else {
            lx += row.stride;
        }
    }
    const char step = row.steps[f / kStepFrames];
    int32_t& p = pose[leader];
    if (step != '.') p = step - '0';
    if (!fullTroupe) return;
    if (vb == 0 && f == 0) {
        dancerX[1] = 64;
        dancerY[1] = 112;
        dancerX[2] = 192;
        dancerY[2] = 112;
        pose[1] = 2;
        pose[2] = 2;
    } else {
        pose[1] = p;
        pose[2] = Mirror(p);
    }
}

void SC_Demo::SpawnLyrics(ObjectController* ctx, int32_t bar, int32_t barFrame) {
    for (const LyricBars& row : kLyricBars) {
        if (bar < row.first || bar > row.last) continue;
        if ((row.at130 && barFrame == 130) || (row.at290 && barFrame == 290)) {
            Object* words = ctx->CreateObject(type_id::EF_Demo_Words, 256, 224, -8, 0, 0, 0, nullptr);
            if (words != nullptr) words->angle = lyricIndex;
            lyricIndex += 1;
        }
    }
    if (barFrame == 1 && (bar == 26 || bar == 27 || (bar >= 40 && bar <= 43))) {
        Object* message = ctx->CreateObject(type_id::EF_Demo_Message, 24, 144, 0, 0, 0, 0, nullptr);
        if (message != nullptr) message->angle = bar == 26 ? 0 : (bar == 27 ? 1 : bar - 38);
    }
}

void SC_Demo::DrawPictures() {
    ClearLayerTargets();
    for (int32_t n = 0; n < kDemoPictures; ++n) {
        const float originX = static_cast<float>((n / 2) * 256);
        const float originY = static_cast<float>((n % 2) * 240);
        for (int32_t r = 2; r < 16; ++r) {
            for (int32_t c = 0; c < 16; ++c) {
                const int32_t v = tileMaps[n][r][c];
                Cell(gameSprites.bg, originX + static_cast<float>(16 * c), originY + static_cast<float>(208 - 16 * (r - 2)),
                     16, 16, static_cast<float>((v % 16) * 16), static_cast<float>((v / 16) * 16), 16, 16);
            }
        }
    }
}

void SC_Demo::Draw(ObjectController* ctx) {
    for (int32_t i = 0; i < kDemoDancers; ++i) {
        const int32_t p = pose[i];
        if (p >= kDemoHiddenPose) continue;
        const SheetCell& dancer = kDancers[i];
        const CellSource s = p < 4 ? dancer.Shifted(48 * p, 0).Source() : dancer.Shifted(48 * (p - 4), 0).Source(true);
        Cell(gameSprites.demo, dancerX[i] - 24, dancerY[i] - 32, 48, 64, s);
    }
    if (age == 1) DrawPictures();
    const bool epilogue = ctx->scoreData.arrestCount >= kEpilogueFrom;
    if (backdrop <= kBlackBackdrop) {
        Cell(gameSprites.target1, 0, 0, 256, 240, static_cast<float>((backdrop / 2) * 256),
             static_cast<float>((backdrop % 2) * 240), 256, 240);
    } else if (backdrop == kTitleCard) {
        if (epilogue) Text(L"TANZLOR EPILOGUE", 64, 120);
        else Text(L"TANZLOR OPENING DEMO", 48, 120);
    } else if (epilogue) {
        const Interlude& scene = kInterludes[backdrop - 4];
        Frame(16, 128, 240, 208);
        for (int32_t i = 0; i < scene.count; ++i) {
            Cell(gameSprites.demo, scene.x[i], 80, 32, 32, cell::epilogue_pictures.Frame(scene.picture[i]).Source());
        }
    }
}

namespace {

const ClassRegistration kDemoClass{{type_id::SC_Demo, MakeObject<SC_Demo>}};

}  // namespace
