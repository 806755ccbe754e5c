// Checks what the texture sheets hold: listed cells are visible, derived sheets keep the base's
// transparency, and the font sheet's cells are where the text drawing looks for them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "tools/datagen/art_sources.h"
#include "tools/datagen/bytes.h"
#include "tools/datagen/cells.h"
#include "tools/datagen/image.h"
#include "tools/datagen/looks.h"
#include "tools/datagen/sheets.h"
#include "tools/datagen/synth.h"

namespace {

namespace fs = std::filesystem;

fs::path TextureFolder() {
    const char* folder = std::getenv("TANZLOR_BUILD_DIR");
    return (folder != nullptr ? fs::path(folder) : fs::path(TANZLOR_BINARY_DIR)) / "data" / "texture";
}

// Reads the bottom-up 24-bit BMP the data set writes.
datagen::Image ReadBmp(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const auto u32 = [&](size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
    };
    const int width = static_cast<int>(u32(18));
    const int height = static_cast<int>(u32(22));
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    datagen::Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const size_t row = u32(10) + (height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const size_t at = row + x * 3;
            image.Set(x, y, {bytes[at + 2], bytes[at + 1], bytes[at]});
        }
    }
    return image;
}

int PaintedTexels(const datagen::Image& image, int left, int top, int width, int height) {
    int painted = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) painted += image.Get(x, y) != datagen::kTransparent;
    }
    return painted;
}

TEST(DataSetSheets, EveryListedFrameIsVisible) {
    const fs::path assets = fs::path(TANZLOR_SOURCE_DIR) / "assets";
    for (const datagen::Cell& cell : datagen::LoadArtSources(assets).cells) {
        const datagen::Image sheet = ReadBmp(TextureFolder() / (cell.sheet + ".bmp"));
        for (int frame = 0; frame < cell.Frames(); ++frame) {
            const int left = cell.x + (frame % cell.across) * cell.width;
            const int top = cell.y + (frame / cell.across) * cell.height;
            EXPECT_GT(PaintedTexels(sheet, left, top, cell.width, cell.height), 0)
                << "line " << cell.line << " frame " << frame;
        }
    }
}

// Decodes the contact sheet: 8-bit RGB, unfiltered rows, as datagen writes it.
datagen::Image ReadContactSheet(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
    };
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
    int width = 0;
    int height = 0;
    std::vector<uint8_t> packed;
    for (size_t at = 8; at + 12 <= bytes.size(); at += 12 + u32(at)) {
        const std::string type(bytes.begin() + at + 4, bytes.begin() + at + 8);
        EXPECT_EQ(u32(at + 8 + u32(at)), crc32(0, &bytes[at + 4], 4 + u32(at))) << type;
        if (type == "IHDR") {
            width = static_cast<int>(u32(at + 8));
            height = static_cast<int>(u32(at + 12));
        } else if (type == "IDAT") {
            packed.insert(packed.end(), bytes.begin() + at + 8, bytes.begin() + at + 8 + u32(at));
        }
    }
    std::vector<uint8_t> raw(static_cast<size_t>(width * 3 + 1) * height);
    uLongf rawSize = raw.size();
    EXPECT_EQ(uncompress(raw.data(), &rawSize, packed.data(), packed.size()), Z_OK);
    datagen::Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(y) * (width * 3 + 1) + 1 + x * 3;
            image.Set(x, y, {raw[at], raw[at + 1], raw[at + 2]});
        }
    }
    return image;
}

TEST(DataSetSheets, ContactSheetShowsEverySheetDoubledOutsideThePackedFolder) {
    const fs::path folder = TextureFolder().parent_path().parent_path();
    ASSERT_FALSE(fs::exists(TextureFolder().parent_path() / "contact_sheet.png"));
    const datagen::Image contact = ReadContactSheet(folder / "contact_sheet.png");
    // Rows of four 512-pixel slots with 16 pixels between them, each under a 22-pixel name line.
    ASSERT_EQ(contact.Width(), 16 + 4 * (512 + 16));
    const auto sheets = datagen::Sheets();
    for (size_t i = 0; i < sheets.size(); ++i) {
        SCOPED_TRACE(sheets[i].name);
        const datagen::Image sheet = ReadBmp(TextureFolder() / (std::string(sheets[i].name) + ".bmp"));
        const int left = 16 + static_cast<int>(i % 4) * (512 + 16);
        const int top = 16 + static_cast<int>(i / 4) * (22 + 512 + 16) + 22;
        int mismatches = 0;
        for (int y = 0; y < sheet.Height(); y += 3) {
            for (int x = 0; x < sheet.Width(); x += 5) {
                mismatches += contact.Get(left + 2 * x, top + 2 * y) != sheet.Get(x, y);
                mismatches += contact.Get(left + 2 * x + 1, top + 2 * y + 1) != sheet.Get(x, y);
            }
        }
        EXPECT_EQ(mismatches, 0);
        int nameInk = 0;
        for (int y = top - 22; y < top; ++y) {
            for (int x = left; x < left + 64; ++x) nameInk += contact.Get(x, y) == datagen::Rgb{255, 255, 255};
        }
        EXPECT_GT(nameInk, 16) << "the sheet's name above it";
    }
}

TEST(DataSetSheets, DerivedSheetsKeepTheBaseTransparency) {
    struct Derived {
        const char* sheet;
        const char* base;
        bool brighter;
    };
    for (const Derived& derived :
         {Derived{"enemyflash.bmp", "enemy.bmp", true}, Derived{"enemyghost.bmp", "enemy.bmp", false},
          Derived{"enemyghostflash.bmp", "enemyghost.bmp", true}, Derived{"bg2.bmp", "bg.bmp", false}}) {
        SCOPED_TRACE(derived.sheet);
        const datagen::Image base = ReadBmp(TextureFolder() / derived.base);
        const datagen::Image made = ReadBmp(TextureFolder() / derived.sheet);
        ASSERT_EQ(made.Width(), base.Width());
        int mismatches = 0;
        for (int y = 0; y < base.Height(); ++y) {
            for (int x = 0; x < base.Width(); ++x) {
                const datagen::Rgb from = base.Get(x, y);
                const datagen::Rgb to = made.Get(x, y);
                const bool transparent = from == datagen::kTransparent;
                const bool bad =
                    (to == datagen::kTransparent) != transparent ||
                    (derived.brighter && !transparent && (to.r < from.r || to.g < from.g || to.b < from.b));
                mismatches += bad;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

// Terrain stays under what flies over it: no texel of a tile that a stage map or a demo picture
// names, nor of the ghost modes' grid (29) or the stage-6 floor (105), is brighter than 40% of
// full value in any channel, on either tile sheet; and each of those tiles is a listed cell, not
// the placeholder.
TEST(DataSetSheets, TerrainTheMapsUseIsDrawnAndStaysBelowTheBrightnessCeiling) {
    constexpr int kCeiling = 255 * 40 / 100;
    std::set<int> values = {29, 105};
    for (const char* table : {"s1bgtable.csv", "s2bgtable.csv", "s3bgtable.csv", "s16bgtable.csv", "demo1.csv",
                              "demo2.csv", "demo3.csv"}) {
        std::ifstream file(TextureFolder().parent_path() / "table" / table);
        std::string value;
        while (std::getline(file, value, ',')) {
            for (size_t at = 0; at < value.size();) {  // a line feed separates values too
                const size_t end = value.find('\n', at);
                const std::string field = value.substr(at, end - at);
                if (!field.empty()) values.insert(std::stoi(field));
                at = end == std::string::npos ? value.size() : end + 1;
            }
        }
    }
    ASSERT_GT(values.size(), 100u);  // the tables were read
    const std::vector<datagen::Cell> cells = datagen::LoadArtSources(fs::path(TANZLOR_SOURCE_DIR) / "assets").cells;
    for (int v : values) {
        const int x = (v % 16) * 16, y = (v / 16) * 16;
        const bool listed = std::any_of(cells.begin(), cells.end(), [&](const datagen::Cell& c) {
            return c.sheet == "bg" && x >= c.x && x < c.x + c.TotalWidth() && y >= c.y && y < c.y + c.TotalHeight();
        });
        EXPECT_TRUE(listed) << "tile " << v;
    }
    for (const char* sheetName : {"bg.bmp", "bg2.bmp"}) {
        const datagen::Image sheet = ReadBmp(TextureFolder() / sheetName);
        for (int v : values) {
            int brightest = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    const datagen::Rgb c = sheet.Get((v % 16) * 16 + x, (v / 16) * 16 + y);
                    brightest = std::max({brightest, int{c.r}, int{c.g}, int{c.b}});
                }
            }
            EXPECT_LE(brightest, kCeiling) << sheetName << " tile " << v;
        }
    }
}

// The menus stretch parts of effect.bmp: the frames' middle strips along their edges, and the
// pointer's middle as the tinted panels and the stage cover. A strip whose texels differ along
// its length would smear; a middle that is not one neutral grey would shift every panel's hue,
// and a bright one would leave the full-screen panels loud behind the text.
TEST(DataSetSheets, StretchedMenuPiecesAreUniformAlongTheStretch) {
    const datagen::Image effect = ReadBmp(TextureFolder() / "effect.bmp");
    struct Strip {
        int x, y, width, height;
        bool alongX;  // stretched left to right (else top to bottom)
    };
    // x    y   w  h  along x: the message frame's four edges, then the data boxes' four
    for (const Strip& s : {Strip{36, 16, 8, 8, true}, Strip{36, 24, 8, 8, true}, Strip{32, 20, 8, 8, false},
                           Strip{40, 20, 8, 8, false}, Strip{229, 48, 4, 8, true}, Strip{229, 56, 4, 8, true},
                           Strip{224, 53, 8, 4, false}, Strip{232, 53, 8, 4, false}}) {
        SCOPED_TRACE(testing::Message() << "strip at " << s.x << ", " << s.y);
        int painted = 0;
        for (int y = s.y; y < s.y + s.height; ++y) {
            for (int x = s.x; x < s.x + s.width; ++x) {
                const datagen::Rgb first = s.alongX ? effect.Get(s.x, y) : effect.Get(x, s.y);
                EXPECT_EQ(effect.Get(x, y), first) << "texel " << x << ", " << y;
                painted += effect.Get(x, y) != datagen::kTransparent;
            }
        }
        EXPECT_GT(painted, 0);
    }
    const datagen::Rgb middle = effect.Get(4, 28);
    EXPECT_LE(std::abs(middle.r - middle.b) + std::abs(middle.g - middle.b), 16) << "neutral";
    EXPECT_GE(middle.g, 96);
    EXPECT_LE(middle.g, 160) << "a panel comes out at most about 60% of its colour";
    for (int y = 28; y < 30; ++y) {
        for (int x = 4; x < 6; ++x) EXPECT_EQ(effect.Get(x, y), middle) << x << ", " << y;
    }
}

// Every character a player can have, and the random pick, shows a hand-drawn party icon:
// id / 16 picks a 64-texel column of pc.bmp and id mod 16 a 16-texel row.
TEST(DataSetSheets, EveryPlayableFaceIsHandDrawn) {
    const std::vector<datagen::Cell> cells = datagen::LoadArtSources(fs::path(TANZLOR_SOURCE_DIR) / "assets").cells;
    for (int id : {0, 1, 9, 11, 12, 13, 14, 21, 25, 28, 63}) {
        const int x = (id / 16) * 64;
        const int y = (id % 16) * 16;
        const auto holds = [&](const datagen::Cell& c) {
            return c.sheet == "pc" && x >= c.x && x < c.x + c.TotalWidth() && y >= c.y && y < c.y + c.TotalHeight();
        };
        const auto cell = std::find_if(cells.begin(), cells.end(), holds);
        ASSERT_NE(cell, cells.end()) << "id " << id;
        EXPECT_EQ(cell->look, datagen::kGridLook) << "id " << id << ", line " << cell->line;
    }
}

// Every cell the game draws is hand-drawn from a grid, but for the shapes art direction leaves to
// code: rings (blasts and shields) in a colour of their own, and terrain texture: the tile sheet
// and the stage 5 bands behind the ground enemies.
TEST(DataSetSheets, EveryCellIsHandDrawnButRingsAndTerrain) {
    for (const datagen::Cell& cell : datagen::LoadArtSources(fs::path(TANZLOR_SOURCE_DIR) / "assets").cells) {
        SCOPED_TRACE(testing::Message() << cell.sheet << " cell of line " << cell.line);
        const bool terrain =
            cell.sheet == "bg" || (cell.sheet == "groundenemy" && cell.x == 0 && cell.y == 112 && cell.look == "tile");
        if (cell.look == datagen::kGridLook || terrain) continue;
        EXPECT_EQ(cell.look, "ring");
        EXPECT_NE(cell.palette, "grey") << "a grey ring stands in for art";
    }
}

// Relative luminance of a colour, 0 for black to 1 for white (sRGB weights, linear light).
double Luminance(datagen::Rgb c) {
    const auto linear = [](uint8_t v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double PeakLuminance(const datagen::Image& sheet, int left, int top, int width, int height) {
    double peak = 0.0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            if (sheet.Get(x, y) != datagen::kTransparent) peak = std::max(peak, Luminance(sheet.Get(x, y)));
        }
    }
    return peak;
}

// Hue in degrees (0 red, 120 green, 240 blue), saturation and value, each of the last two 0 to 1.
struct Hsv {
    double hue, saturation, value;
};

Hsv ToHsv(datagen::Rgb c) {
    const double r = c.r / 255.0, g = c.g / 255.0, b = c.b / 255.0;
    const double high = std::max({r, g, b}), low = std::min({r, g, b}), range = high - low;
    double hue = 0.0;
    if (range > 0.0) {
        if (high == r) hue = 60.0 * std::fmod((g - b) / range + 6.0, 6.0);
        else if (high == g) hue = 60.0 * ((b - r) / range + 2.0);
        else hue = 60.0 * ((r - g) / range + 4.0);
    }
    return {hue, high > 0.0 ? range / high : 0.0, high};
}

// A colour that reads as a colour at a glance: saturated and not dark (a pale tint, a brown or a
// dark rim does not).
bool Vivid(datagen::Rgb c) {
    const Hsv hsv = ToHsv(c);
    return hsv.saturation >= 0.5 && hsv.value >= 0.6;
}

// The colours of danger: red and orange (hues up to 45 degrees, short of yellow), and violet and
// pink (from 260 degrees, past blue, round to red).
bool WarmHue(datagen::Rgb c) {
    const double hue = ToHsv(c).hue;
    return hue <= 45.0 || hue >= 260.0;
}

// The vivid texels of a rectangle, and how many of them are warm.
struct Warmth {
    int vivid = 0, warm = 0;
};

Warmth WarmthOf(const datagen::Image& sheet, int left, int top, int width, int height) {
    Warmth warmth;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            const datagen::Rgb c = sheet.Get(x, y);
            if (c == datagen::kTransparent || !Vivid(c)) continue;
            warmth.vivid += 1;
            warmth.warm += WarmHue(c);
        }
    }
    return warmth;
}

// The mean luminance of a frame's rim: its visible texels beside a transparent one or the frame's
// edge.
double RimLuminance(const datagen::Image& sheet, int left, int top, int width, int height) {
    const auto visible = [&](int x, int y) {
        return x >= left && x < left + width && y >= top && y < top + height &&
               sheet.Get(x, y) != datagen::kTransparent;
    };
    double sum = 0.0;
    int count = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            if (!visible(x, y)) continue;
            if (visible(x - 1, y) && visible(x + 1, y) && visible(x, y - 1) && visible(x, y + 1)) continue;
            sum += Luminance(sheet.Get(x, y));
            count += 1;
        }
    }
    return count > 0 ? sum / count : 0.0;
}

// The frames of a listed cell by its name: `count` frames from `first`, or all from `first` when
// `count` is 0.
struct CellFrames {
    const char* name;
    int first = 0, count = 0;
};

// A frame's rectangle on its sheet.
struct Frame {
    std::string sheet;
    int x, y, width, height;
};

std::vector<Frame> FramesOf(const std::vector<datagen::Cell>& cells, const CellFrames& wanted) {
    const auto cell = std::find_if(cells.begin(), cells.end(), [&](const datagen::Cell& c) { return c.name == wanted.name; });
    if (cell == cells.end()) {
        ADD_FAILURE() << "no cell named " << wanted.name;
        return {};
    }
    std::vector<Frame> frames;
    const int end = wanted.count > 0 ? wanted.first + wanted.count : cell->Frames();
    for (int i = wanted.first; i < end; ++i) {
        frames.push_back({cell->sheet, cell->x + (i % cell->across) * cell->width,
                          cell->y + (i / cell->across) * cell->height, cell->width, cell->height});
    }
    return frames;
}

// Enemy shots come first in the reading order and are the one thing drawn as danger: each in warm
// colours (red, orange, pink, violet) with a white core and a darker rim, its core standing out at
// a glance from every terrain tile the stage maps lay (a contrast ratio of at least 4.5 to 1
// against the tile's mean, the level asked of text that must be read at once). What cannot hurt
// (the player's shots, options and weapons, the items, and the rays beside the ground targets) is
// not drawn warm, and nothing the player fires, and no medal, is as bright as the dimmest shot core.
TEST(DataSetSheets, EnemyShotsReadAsDangerAndWhatCannotHurtDoesNot) {
    const std::vector<datagen::Cell> cells = datagen::LoadArtSources(fs::path(TANZLOR_SOURCE_DIR) / "assets").cells;
    std::map<std::string, datagen::Image> sheets;
    const auto sheet = [&](const std::string& name) -> const datagen::Image& {
        auto it = sheets.find(name);
        if (it == sheets.end()) it = sheets.emplace(name, ReadBmp(TextureFolder() / (name + ".bmp"))).first;
        return it->second;
    };
    // The bullets: the normal bullet's four frames and the shootable bullets' first frames (the
    // frames between are the erase flash), their second frames, the large, homing and line bullets,
    // the spinning bullet's turn, the large and small flares and the spark; the missiles and
    // bullets the W family fires: the small missile, the big missile's eight headings, the wall
    // bullet, the beam and the bomb missile. (Blasts that hurt are drawn as fire, as every blast is.)
    double dimmestCore = 1.0;
    for (const CellFrames& shot :
         {CellFrames{"small_bullets", 0, 4}, CellFrames{"small_bullets", 12, 4}, CellFrames{"small_bullets_2"},
          CellFrames{"large_bullets"}, CellFrames{"homing_bullets"}, CellFrames{"esprade_bullets"},
          CellFrames{"spinning_bullet"}, CellFrames{"large_flare"}, CellFrames{"small_flare"}, CellFrames{"flare_spark"},
          CellFrames{"w_small_missile"}, CellFrames{"w_big_missile"}, CellFrames{"w_wall_bullet"}, CellFrames{"w_beam"},
          CellFrames{"w_senkoro_missile"}}) {
        SCOPED_TRACE(shot.name);
        Warmth warmth;
        for (const Frame& f : FramesOf(cells, shot)) {
            const datagen::Image& image = sheet(f.sheet);
            const double core = PeakLuminance(image, f.x, f.y, f.width, f.height);
            EXPECT_GT(core, 0.9) << "a white core in the frame at " << f.x << ", " << f.y;
            EXPECT_LT(RimLuminance(image, f.x, f.y, f.width, f.height), core / 2.0)
                << "a darker rim in the frame at " << f.x << ", " << f.y;
            dimmestCore = std::min(dimmestCore, core);
            const Warmth w = WarmthOf(image, f.x, f.y, f.width, f.height);
            warmth.vivid += w.vivid;
            warmth.warm += w.warm;
        }
        // Warm as a whole: a pulsing frame may be all pale.
        EXPECT_GT(warmth.vivid, 0);
        EXPECT_GE(warmth.warm * 4, warmth.vivid * 3) << "three in four of its colours warm";
    }
    // The tiles the maps lay, all read from "bg.bmp": value / 16 picks the row, value mod 16 the column.
    const datagen::Image& tiles = sheet("bg");
    std::set<int> values;
    for (const char* map : {"s1bgtable.csv", "s2bgtable.csv", "s3bgtable.csv", "s16bgtable.csv"}) {
        std::ifstream file(TextureFolder().parent_path() / "table" / map);
        std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        std::replace(text.begin(), text.end(), '\n', ',');
        std::istringstream list(text);
        for (std::string value; std::getline(list, value, ',');) {
            if (!value.empty()) values.insert(std::stoi(value));
        }
    }
    ASSERT_GT(values.size(), 8u);
    for (int value : values) {
        double sum = 0.0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) sum += Luminance(tiles.Get((value % 16) * 16 + x, (value / 16) * 16 + y));
        }
        const double tile = sum / 256.0;
        EXPECT_GE((dimmestCore + 0.05) / (tile + 0.05), 4.5) << "tile value " << value;
    }
    // What cannot hurt: every cell of the shot sheet (the player's shots, options and weapons, and
    // the enemy eraser item), the bonus, power, good recca and bell items, the eraser icon, the
    // ground targets' rays, the panels and blocks that never fire, with their shadows, the bell
    // cloud, the erase line of a cleared row and stage 5's bands. At most one in five of a cell's
    // colours is warm, for a lamp or a mark. Nothing the player fires (the shot sheet but the eraser
    // item), no ground coin (enemies shot for points), no bonus coin, no cloud and no scenery is as
    // bright as the dimmest shot core.
    struct Harmless {
        CellFrames frames;
        bool belowTheCores;
    };
    std::vector<Harmless> harmless = {{{"bonus_item"}, true},    {{"power_icon"}, false}, {{"recca_item", 0, 4}, false},
                                      {{"bell"}, false},         {{"y_zanac_icon"}, false}, {{"g_rays"}, false},
                                      {{"g_panel"}, false},      {{"g_small_blocks"}, false}, {{"g_big_blocks"}, false},
                                      {{"block_backing_small"}, false}, {{"block_backing_large"}, false},
                                      {{"bell_cloud"}, true},    {{"erase_line"}, false},   {{"stage5_bands"}, true}};
    for (const datagen::Cell& cell : cells) {
        if (cell.sheet == "shot") harmless.push_back({{cell.name.c_str()}, cell.name != "enemy_eraser"});
    }
    ASSERT_GT(harmless.size(), 100u);
    for (const Harmless& h : harmless) {
        SCOPED_TRACE(h.frames.name);
        Warmth warmth;
        for (const Frame& f : FramesOf(cells, h.frames)) {
            const Warmth w = WarmthOf(sheet(f.sheet), f.x, f.y, f.width, f.height);
            warmth.vivid += w.vivid;
            warmth.warm += w.warm;
            if (h.belowTheCores) {
                EXPECT_LT(PeakLuminance(sheet(f.sheet), f.x, f.y, f.width, f.height), dimmestCore);
            }
        }
        EXPECT_LE(warmth.warm * 5, warmth.vivid) << "drawn in the warm colours of danger";
    }
    for (const Frame& coin : FramesOf(cells, {"g_s28coin"})) {
        EXPECT_LT(PeakLuminance(sheet(coin.sheet), coin.x, coin.y, coin.width, coin.height), dimmestCore);
    }
}

TEST(DataSetSheets, FontCellsHoldGlyphsAndCell255IsBlank) {
    const datagen::Image font = ReadBmp(TextureFolder() / "font.bmp");
    ASSERT_EQ(font.Width(), 128);
    const auto cellInk = [&](int cell) { return PaintedTexels(font, (cell % 16) * 8, (cell / 16) * 8, 8, 8); };
    for (int cell : {0, 9, 10, 19, 32, 57, 64, 98, 109, 115, 116, 117, 121, 128, 173, 179, 184}) {
        EXPECT_GT(cellInk(cell), 0) << "cell " << cell;
    }
    for (int cell : {20, 31, 58, 63, 122, 127, 180, 181, 255}) EXPECT_EQ(cellInk(cell), 0) << "cell " << cell;
    // The voicing marks are drawn in the cell above their kana: they sit in its lower right corner,
    // so that they touch the kana's upper right, and leave its left half empty.
    for (int cell : {116, 117}) {
        const int left = (cell % 16) * 8;
        const int top = (cell / 16) * 8;
        EXPECT_GT(PaintedTexels(font, left, top + 7, 8, 1), 0) << "cell " << cell << ": bottom row";
        EXPECT_GT(PaintedTexels(font, left + 7, top, 1, 8), 0) << "cell " << cell << ": right column";
        EXPECT_EQ(PaintedTexels(font, left, top, 4, 8), 0) << "cell " << cell << ": left half";
    }
}

TEST(Synth, VoicesFitTheBufferAndFadeOut) {
    std::vector<float> buffer(1000, 0.0f);
    datagen::Voice voice;
    voice.wave = datagen::Wave::kSquare;
    voice.start = -100.0 / datagen::kSampleRate;  // starts before the buffer
    voice.length = 600.0 / datagen::kSampleRate;
    voice.release = 200.0 / datagen::kSampleRate;
    voice.sustain = 1.0;
    voice.attack = 0.0;
    voice.frequencyStart = voice.frequencyEnd = 441.0;  // 100 samples a period
    datagen::MixVoice(buffer, voice);
    EXPECT_FLOAT_EQ(std::abs(buffer[10]), 0.5f) << "held at the voice's volume";
    EXPECT_NEAR(std::abs(buffer[600]), 0.25f, 1e-6f) << "half way through the release";
    EXPECT_LT(std::abs(buffer[699]), 0.01f) << "released to silence";
    EXPECT_EQ(buffer[800], 0.0f) << "nothing after the release";
    voice.start = 900.0 / datagen::kSampleRate;  // runs past the end: cut, not written beyond
    datagen::MixVoice(buffer, voice);
    EXPECT_NE(buffer[999], 0.0f);
    const std::vector<int16_t> pcm = datagen::ToPcm16({2.0f, -2.0f, 0.5f});
    EXPECT_EQ(pcm, (std::vector<int16_t>{32767, -32767, 16384}));
}

// A sound's level is set by its loudest stretch of the window; the ceiling wins when it is lower,
// and a window outside 1 to the buffer's length is brought inside it.
TEST(Synth, LoudnessSetsTheLoudestStretchUnderTheCeiling) {
    const std::vector<float> steady{0.5f, -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, -0.5f};  // RMS 0.5
    const std::vector<float> burst{1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};       // RMS 1 over 2
    struct Case {
        const std::vector<float>* samples;
        size_t window;
        double loudness, ceiling;
        float first;  // the first sample afterwards; every sample is scaled alike
    };
    const Case cases[] = {
        {&steady, 4, -20.0, 0.0, 0.1f},        // 0.5 brought to an RMS of 0.1
        {&steady, 4, -20.0, -26.0, 0.0501f},   // the ceiling, 0.0501, is lower
        {&burst, 2, -20.0, 0.0, 0.1f},         // the loudest two samples, not the whole buffer
        {&burst, 4, -20.0, 0.0, 0.1414f},      // the loudest four: RMS 0.7071
        {&burst, 1000, -20.0, 0.0, 0.2f},      // past the buffer: all eight, RMS 0.5
        {&burst, 0, -20.0, 0.0, 0.1f},         // below one sample: one, RMS 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        std::vector<float> buffer = *c.samples;
        datagen::SetLoudness(buffer, c.loudness, c.window, c.ceiling);
        EXPECT_NEAR(buffer[0], c.first, 1e-4f);
        const float scale = buffer[0] / (*c.samples)[0];
        for (size_t i = 0; i < buffer.size(); ++i) EXPECT_FLOAT_EQ(buffer[i], (*c.samples)[i] * scale);
    }
    std::vector<float> silent(8, 0.0f);
    datagen::SetLoudness(silent, -20.0, 4, 0.0);
    EXPECT_EQ(silent, std::vector<float>(8, 0.0f));
}

TEST(DataSetRun, ABadSourceFailsWithAMessage) {
    const fs::path output = fs::temp_directory_path() / ("datagen_bad_" + std::to_string(::getpid()));
    const std::string command = std::string("\"") + DATAGEN_PROGRAM + "\" /nonexistent/assets \"" + output.string() +
                                "\" 2> \"" + output.string() + ".log\"";
    const int status = std::system(command.c_str());
    EXPECT_NE(status, 0);
    std::ifstream log(output.string() + ".log");
    const std::string message{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
    EXPECT_NE(message.find("datagen: error: cannot read /nonexistent/assets/cells.csv"), std::string::npos) << message;
    fs::remove_all(output);
    fs::remove(output.string() + ".log");
}

// The header that names the cells for the game's code: a good list gives one constant a cell,
// and a cell whose grid is missing stops the build with the line and the file it lacks.
TEST(DataSetRun, CellHeaderNamesEachCellOrFailsWithTheMissingGrid) {
    const fs::path assets = fs::temp_directory_path() / ("datagen_cells_" + std::to_string(::getpid()));
    const fs::path header = assets / "out" / "cells.h";
    struct Case {
        const char* what;
        const char* cells;
        bool succeeds;
        const char* expected;  // in the header, or in the error output
    };
    const Case cases[] = {
        {"a named ring and a grid", "shot, 8, 16, 8, 8, 2, ring, red, small_ring\neffect, 0, 0, 2, 1, 1x3, grid, dot\n",
         true,
         "inline constexpr SheetCell small_ring{CellSheet::shot, 8, 16, 8, 8, 2, 1};  // line 1\n"
         "inline constexpr SheetCell dot{CellSheet::effect, 0, 0, 2, 1, 1, 3};  // line 2\n"},
        {"a grid file missing", "effect, 0, 0, 2, 1, 1x3, grid, dot\nshot, 0, 0, 8, 8, 1, grid, lost\n", false,
         "datagen: error: cell list line 2: no grid file sprites/shot/lost.txt"},
    };
    const auto bytes = [](std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(assets);
        datagen::WriteFileBytes(assets / "palette.txt", bytes("red 100000 200000 300000\n"));
        datagen::WriteFileBytes(assets / "cells.csv", bytes(c.cells));
        datagen::WriteFileBytes(assets / "sprites" / "effect" / "dot.txt",
                                bytes("legend\nr red1\ngrid\nr.\n.r\nrr\n"));
        const std::string command = std::string("\"") + DATAGEN_PROGRAM + "\" --cell-header \"" + assets.string() +
                                    "\" \"" + header.string() + "\" 2> \"" + assets.string() + "/log\"";
        const int status = std::system(command.c_str());
        EXPECT_EQ(status == 0, c.succeeds) << status;
        const std::string output = datagen::ReadTextFile(c.succeeds ? header : assets / "log");
        EXPECT_NE(output.find(c.expected), std::string::npos) << output;
    }
    fs::remove_all(assets);
}

}  // namespace

namespace {

TEST(SheetDrawing, LabelsWriteTheirTextAndUnclaimedTexelsShowThePlaceholder) {
    const datagen::GlyphSource glyphs("/usr/share/fonts/truetype/misaki/misaki_gothic.ttf");
    const datagen::ArtSources art = datagen::ParseArtSources("yellow 101000 202000 303000 404000\n",
                                                             "effect, 0, 0, 64, 16, 1, label, yellow, HI, hi\n", {});
    const auto sheets = datagen::DrawSheets(art, glyphs);
    const auto effect =
        std::find_if(sheets.begin(), sheets.end(), [](const auto& s) { return s.first == "effect.bmp"; });
    ASSERT_NE(effect, sheets.end());
    const datagen::Image& sheet = effect->second;
    const datagen::Palette yellow = *datagen::LookPalette(art.palette, "yellow");
    EXPECT_EQ(yellow.dark, (datagen::Rgb{0x20, 0x20, 0})) << "the ramp's last three shades";
    int ink = 0;
    for (int y = 4; y < 12; ++y) {
        for (int x = 24; x < 40; ++x) ink += sheet.Get(x, y) == yellow.light;
    }
    EXPECT_GT(ink, 8) << "the two letters are drawn in the middle";
    EXPECT_EQ(sheet.Get(0, 0), yellow.light) << "border";
    EXPECT_EQ(sheet.Get(8, 2), yellow.dark) << "plate";
    // Outside the label: the placeholder, never transparent, in more than one shade.
    std::set<uint32_t> shades;
    for (int y = 16; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const datagen::Rgb c = sheet.Get(x, y);
            ASSERT_NE(c, datagen::kTransparent) << x << ", " << y;
            shades.insert(c.r << 16 | c.g << 8 | c.b);
        }
    }
    EXPECT_GE(shades.size(), 2u);
}

}  // namespace
