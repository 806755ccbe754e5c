// The attract demo's timeline: a title card, an opening dance, four verses each led by a dancer
// in front of the tile pictures, two epilogue interludes, and back to the title.
#include "game/scenes/demo.h"

#include <algorithm>
#include <iterator>

#include "framework/app/zeth.h"
#include "game/stage/stage_tables.h"
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

// Epilogue pictures of the interludes: backdrop, x of each picture, source x (y 192).
struct Interlude {
    int32_t backdrop;
    int32_t count;
    float x[3];
    float u[3];
};
constexpr Interlude kInterludes[] = {
    {4, 3, {56, 120, 184}, {0, 32, 64}},
    {5, 2, {80, 144, 0}, {96, 128, 0}},
};

// The opening bar's beat from frame 240: poses of dancers 0-2 on each multiple of 40, and 20 later.
constexpr int32_t kOpeningBeat[kDemoDancers] = {2, 4, 0};
constexpr int32_t kOpeningRest[kDemoDancers] = {0, 7, 3};
// The walks of verse bars 8 (to the right) and 10 (to the left), by the 20-frame step of 80.
constexpr int32_t kWalkRight[4] = {7, 1, 3, 0};
constexpr int32_t kWalkLeft[4] = {3, 1, 7, 0};

int32_t Mirror(int32_t p) { return p < 4 ? p + 4 : p - 4; }

// A pose by the frame within a cycle of four steps of 20 frames.
int32_t StepPose(const int32_t (&poses)[4], int32_t f) { return poses[(f % 80) / 20]; }

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

// The leader's dance through a verse's twelve bars; in the last verse the other two dance beside
// the leader, the first in step and the second mirrored.
void SC_Demo::PlayVerse(int32_t vb, int32_t leader, bool fullTroupe) {
    const int32_t f = barFrame;
    int32_t& p = pose[leader];
    float& lx = dancerX[leader];
    float& ly = dancerY[leader];
    auto place = [&](float px, float py, int32_t newPose) {
        lx = px;
        ly = py;
        if (newPose >= 0) p = newPose;
    };
    switch (vb) {
        case 0:
            if (f == 0) {
                HideAll();
                place(128, 120, 2);
                backdrop = 0;
            } else if (f % 80 == 0) {
                p = 2;
            } else if (f % 80 == 40) {
                p = 0;
            }
            break;
        case 1: {
            const int32_t step = f < 240 ? 80 : 40;
            if (f % step == 0) p = 2;
            if (f % step == step / 2) p = 0;
            break;
        }
        case 2:
            if (f % 80 == 0) p = 1;
            if (f % 80 == 40) p = 5;
            break;
        case 3:
            if (f % 40 == 0) p = 3;
            if (f % 40 == 20) p = 7;
            break;
        case 4:
            if (f == 0) {
                place(96, 92, 3);
                backdrop = 2;
            } else if (f % 80 == 40) {
                p = 0;
            } else if (f % 80 == 0) {
                p = 3;
            }
            break;
        case 5:
            if (f == 0) place(192, 144, 7);
            else if (f % 80 == 40) p = 4;
            else if (f % 80 == 0) p = 7;
            break;
        case 6:
            if (f == 0) place(128, 128, 3);
            else if (f % 40 == 20) p = 2;
            else if (f % 40 == 0) p = 3;
            break;
        case 7: {
            constexpr int32_t kAt[] = {0, 40, 80, 100, 120, 140};
            constexpr int32_t kPose[] = {3, 0, 7, 1, 3, 0};
            for (int i = 0; i < 6; ++i) {
                if (f == kAt[i]) p = kPose[i];
            }
            break;
        }
        case 8:
        case 10: {
            const bool right = vb == 8;
            const float startX = right ? 32.0f : 224.0f;
            if (f == 0) {
                place(startX, 40, -1);
                backdrop = 1;
            } else if (f == 160) {
                place(startX, 160, -1);
            } else if (f % 20 == 0) {
                lx += right ? 24.0f : -24.0f;
            }
            if (f % 20 == 0) p = StepPose(right ? kWalkRight : kWalkLeft, f);
            break;
        }
        case 9:
            if (f == 0) place(128, 120, 2);
            else if (f % 40 == 0) p = 2;
            else if (f % 40 == 20) p = 0;
            break;
        case 11:
            if (f == 0) place(128, 96, 6);
            else if (f % 40 == 20) p = 2;
            else if (f % 40 == 0) p = 6;
            break;
        default:
            break;
    }
    if (!fullTroupe) return;
    if (vb == 0 && f == 0) {
        dancerX[1] = 64;
        dancerY[1] = 112;
        dancerX[2] = 192;
        dancerY[2] = 112;
        pose[1] = 2;
        pose[2] = 2;
    } else if (f % 20 == 0) {
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
        const float v = static_cast<float>(64 * i);
        if (p < 4) {
            Cell(gameSprites.demo, dancerX[i] - 24, dancerY[i] - 32, 48, 64, static_cast<float>(p * 48), v, 48, 64);
        } else {
            Cell(gameSprites.demo, dancerX[i] - 24, dancerY[i] - 32, 48, 64, static_cast<float>((p - 3) * 48), v, -48, 64);
        }
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
        for (int32_t i = 0; i < scene.count; ++i) Cell(gameSprites.demo, scene.x[i], 80, 32, 32, scene.u[i], 192, 32, 32);
    }
}

namespace {

const ClassRegistration kDemoClass{{type_id::SC_Demo, MakeObject<SC_Demo>}};

}  // namespace
