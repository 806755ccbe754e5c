// Checks the shared palette, the hand-drawn grids and how they reach the sheets.
#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "tools/datagen/art_sources.h"
#include "tools/datagen/bytes.h"
#include "tools/datagen/sheets.h"

namespace {

const std::filesystem::path kAssets = std::filesystem::path(TANZLOR_SOURCE_DIR) / "assets";

constexpr const char* kPalette = "red 200000 400000 600000 800000\nblue 000020 000040 000060\n";

datagen::SharedPalette TestPalette() {
    return datagen::SharedPalette::Parse(kPalette);
}

// The message of the runtime_error the call throws, or "" when it throws none.
template <typename Call>
std::string FailureOf(Call call) {
    try {
        call();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

TEST(AuthoredArt, PaletteRampsAndGridsFitTheirCells) {
    const datagen::ArtSources art = datagen::LoadArtSources(kAssets);
    EXPECT_GE(art.palette.ColourCount(), 32);
    // About 48 for what flies, and a few dark, grey-toned ramps of its own for the ground.
    EXPECT_LE(art.palette.ColourCount(), 60);
    for (const char* hue : {"red", "orange", "pink", "purple", "cyan", "blue", "green", "steel", "yellow", "white",
                            "night", "moss", "soil", "sea"}) {
        EXPECT_NE(art.palette.FindRamp(hue), nullptr) << hue;
    }
    int gridCells = 0;
    for (const datagen::Cell& cell : art.cells) {
        if (cell.look != datagen::kGridLook) continue;
        ++gridCells;
        // Read again here so the sizes are compared in the open, not only inside the loader.
        const datagen::Grid grid = datagen::ParseGrid(datagen::ReadTextFile(kAssets / datagen::GridPath(cell)),
                                                      art.palette, datagen::GridPath(cell));
        EXPECT_EQ(grid.width, cell.width * cell.across) << datagen::GridPath(cell);
        EXPECT_EQ(grid.height, cell.height * cell.down) << datagen::GridPath(cell);
    }
    EXPECT_GE(gridCells, 2);
}

TEST(Grid, ReadsFramesAndPaintsThemAtTheCell) {
    const std::map<std::string, std::string> grids = {{"sprites/shot/spark.txt",
                                                       "# two frames side by side\n"
                                                       "legend\n"
                                                       "r red4\n"
                                                       "b  blue1\n"
                                                       "\n"
                                                       "grid\n"
                                                       "r..b\n"
                                                       "  .rb.  \n"}};
    const datagen::ArtSources art = datagen::ParseArtSources(kPalette, "shot, 10, 20, 2, 2, 2, grid, spark\n", grids);
    const datagen::Grid& grid = art.grids.at("sprites/shot/spark.txt");
    ASSERT_EQ(std::make_pair(grid.width, grid.height), std::make_pair(4, 2));
    EXPECT_EQ(grid.At(0, 0), (datagen::Rgb{0x80, 0, 0}));
    EXPECT_EQ(grid.At(3, 0), (datagen::Rgb{0, 0, 0x20}));
    EXPECT_EQ(grid.At(1, 0), datagen::kTransparent);
    const datagen::GlyphSource glyphs("/usr/share/fonts/truetype/misaki/misaki_gothic.ttf");
    const auto sheets = datagen::DrawSheets(art, glyphs);
    const auto shot = std::find_if(sheets.begin(), sheets.end(), [](const auto& s) { return s.first == "shot.bmp"; });
    ASSERT_NE(shot, sheets.end());
    EXPECT_EQ(shot->second.Get(10, 20), grid.At(0, 0));
    EXPECT_EQ(shot->second.Get(11, 20), datagen::kTransparent) << "'.' clears the placeholder";
    EXPECT_EQ(shot->second.Get(12, 21), grid.At(2, 1));
    EXPECT_NE(shot->second.Get(14, 20), datagen::kTransparent) << "placeholder right of the cell";
}

TEST(Grid, RefusesBadGridsNamingFileAndLine) {
    const datagen::SharedPalette palette = TestPalette();
    const std::map<std::string, std::string> bad = {
        {"character not in the legend", "legend\nr red1\ngrid\nr.\nrx\n"},
        {"ragged row", "legend\nr red1\ngrid\nrr\nrrr\n"},
        {"unknown entry", "legend\nr red9\n"},
        {"unknown hue", "legend\nr green1\n"},
        {"shade 0", "legend\nr red0\n"},
        {"legend twice", "legend\nr red1\nr red2\n"},
        {"dot redefined", "legend\n. red1\n"},
        {"legend without entry", "legend\nr\n"},
        {"two characters", "legend\nrr red1\n"},
        {"grid before legend", "grid\nr\n"},
        {"text before legend", "hello\nlegend\n"},
        {"no rows", "legend\nr red1\ngrid\n"},
        {"no grid section", "legend\nr red1\n"},
        {"too wide", "legend\nr red1\ngrid\n" + std::string(1025, 'r') + "\n"},
    };
    for (const auto& entry : bad) {
        const std::string message =
            FailureOf([&] { datagen::ParseGrid(entry.second, palette, "sprites/pc/ship.txt"); });
        EXPECT_NE(message.find("sprites/pc/ship.txt line "), std::string::npos) << entry.first << ": " << message;
    }
    EXPECT_NE(FailureOf([&] { datagen::ParseGrid("legend\nr red1\ngrid\nr.\nrx\n", palette, "a.txt"); })
                  .find("a.txt line 5: character 'x' in column 2 is not in the legend"),
              std::string::npos);
}

TEST(ArtSources, RefusesGridsThatDoNotMatchTheCellList) {
    const std::string grid2x1 = "legend\nr red1\ngrid\nrr\n";
    const struct {
        const char* what;
        const char* cells;
        std::map<std::string, std::string> grids;
        const char* expected;
    } cases[] = {
        {"one frame too few", "shot, 0, 0, 2, 1, 2, grid, a\n", {{"sprites/shot/a.txt", grid2x1}},
         "sprites/shot/a.txt: the grid is 2 x 1 texels, its cell (cell list line 1) 4 x 1"},
        {"frame rows", "shot, 0, 0, 2, 1, 1x2, grid, a\n", {{"sprites/shot/a.txt", grid2x1}}, "2 x 2"},
        {"on another sheet", "pc, 0, 0, 2, 1, 1, grid, a\n", {{"sprites/shot/a.txt", grid2x1}}, "no grid file"},
        {"missing grid", "shot, 0, 0, 2, 1, 1, grid, b\n", {}, "line 1: no grid file sprites/shot/b.txt"},
        {"grid no cell names", "shot, 0, 0, 2, 1, 1, grid, a\n",
         {{"sprites/shot/a.txt", grid2x1}, {"sprites/shot/a.txt~", grid2x1}}, "a.txt~: no cell"},
    };
    for (const auto& c : cases) {
        const std::string message = FailureOf([&] { datagen::ParseArtSources(kPalette, c.cells, c.grids); });
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
    }
}

TEST(SharedPalette, NamesShadesDarkestFirstAndRefusesBadRamps) {
    const datagen::SharedPalette palette = TestPalette();
    EXPECT_EQ(palette.ColourCount(), 7);
    EXPECT_EQ(*palette.FindEntry("red1"), (datagen::Rgb{0x20, 0, 0}));
    EXPECT_EQ(*palette.FindEntry("blue3"), (datagen::Rgb{0, 0, 0x60}));
    for (const char* missing : {"blue4", "red0", "red", "1", "", "red10", "green1"}) {
        EXPECT_EQ(palette.FindEntry(missing), nullptr) << missing;
    }
    const char* const bad[] = {
        "# a\nred 100000 200000\n",                                 // two shades
        "# a\nred 100000 200000 300000 400000 500000 600000\n",     // six shades
        "# a\nred 100000 000000 300000\n",                          // black is transparent
        "# a\nred 100000 2000 300000\n",                            // short colour
        "# a\nred 100000 20000g 300000\n",                          // not hex
        "# a\nRed 100000 200000 300000\n",                          // upper case hue
        "# a\nred2 100000 200000 300000\n",                         // digit would clash with shades
        "red 100000 200000 300000\nred 100000 200000 300000\n",     // hue twice
    };
    for (const char* text : bad) {
        const std::string message = FailureOf([&] { datagen::SharedPalette::Parse(text); });
        EXPECT_NE(message.find("palette line 2"), std::string::npos) << text << ": " << message;
    }
    EXPECT_THROW(datagen::SharedPalette::Parse("# nothing\n"), std::runtime_error);
}

}  // namespace
