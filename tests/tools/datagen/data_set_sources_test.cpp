// Checks the authored sources and the readers datagen makes the data set with.
#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "tools/datagen/art_sources.h"
#include "tools/datagen/bytes.h"
#include "tools/datagen/cells.h"
#include "tools/datagen/font.h"
#include "tools/datagen/music_score.h"
#include "tools/datagen/tables.h"

namespace {

const std::filesystem::path kAssets = std::filesystem::path(TANZLOR_SOURCE_DIR) / "assets";

const datagen::SharedPalette& AuthoredPalette() {
    static const datagen::SharedPalette palette =
        datagen::SharedPalette::Parse(datagen::ReadTextFile(kAssets / "palette.txt"));
    return palette;
}

TEST(CellList, AuthoredCellsDoNotOverlap) {
    const std::vector<datagen::Cell> cells = datagen::LoadArtSources(kAssets).cells;
    ASSERT_FALSE(cells.empty());
    for (const auto& [a, b] : datagen::FindOverlappingCells(cells)) {
        ADD_FAILURE() << "cells on lines " << cells[a].line << " and " << cells[b].line << " overlap";
    }
}

TEST(CellList, FindsOverlapsOfWholeFrameStrips) {
    const std::vector<datagen::Cell> cells = datagen::ParseCellList(
        "shot, 0, 0, 16, 16, 4, orb, red, a\n"      // covers x 0-63
        "shot, 63, 15, 8, 8, 1, ring, blue, b\n"    // shares texel (63, 15) with the strip's last frame
        "shot, 64, 0, 8, 8, 1, ring, blue, c\n"     // touches the strip without sharing a texel
        "enemy, 0, 0, 16, 16, 1x2, ship, red, d\n"  // another sheet never overlaps
        "shot, 0, 16, 8, 8, 1, bar, green, e\n",    // just below the strip
        AuthoredPalette());
    const auto overlaps = datagen::FindOverlappingCells(cells);
    ASSERT_EQ(overlaps.size(), 1u);
    EXPECT_EQ(overlaps[0], std::make_pair(size_t{0}, size_t{1}));
}

TEST(CellList, RefusesBadEntriesNamingTheLine) {
    const std::map<std::string, std::string> bad = {
        {"unknown sheet", "# comment\nstars, 0, 0, 8, 8, 1, orb, red, a\n"},
        {"derived sheet", "\nenemyflash, 0, 0, 8, 8, 1, orb, red, a\n"},
        {"font sheet", "\nfont, 0, 0, 8, 8, 1, orb, red, a\n"},
        {"past the edge", "\nbullet, 250, 0, 8, 8, 1, orb, red, a\n"},
        {"strip past the edge", "\nbullet, 0, 0, 16, 16, 17, orb, red, a\n"},
        {"unknown look", "\nbullet, 0, 0, 8, 8, 1, blob, red, a\n"},
        {"unknown palette", "\nbullet, 0, 0, 8, 8, 1, orb, mauve, a\n"},
        {"label without text", "\neffect, 0, 0, 64, 16, 1, label, white, , a\n"},
        {"text on an orb", "\neffect, 0, 0, 64, 16, 1, orb, white, HI, a\n"},
        {"negative x", "\nbullet, -8, 0, 8, 8, 1, orb, red, a\n"},
        {"zero frames", "\nbullet, 0, 0, 8, 8, 0, orb, red, a\n"},
        {"missing field", "\nbullet, 0, 0, 8, 8, orb, red\n"},
        {"orb without a name", "\nbullet, 0, 0, 8, 8, 1, orb, red\n"},
        {"name from a digit", "\nbullet, 0, 0, 8, 8, 1, orb, red, 2a\n"},
        {"name in capitals", "\nbullet, 0, 0, 8, 8, 1, orb, red, Orb\n"},
        {"grid name from a digit", "\neffect, 0, 0, 8, 8, 1, grid, 2a\n"},
        {"name taken", "shot, 0, 0, 8, 8, 1, ring, blue, a\nshot, 8, 0, 8, 8, 1, grid, a\n"},
        {"grid name leaving its folder", "\neffect, 0, 0, 8, 8, 1, grid, ../cells\n"},
        {"grid without a name", "\neffect, 0, 0, 8, 8, 1, grid,\n"},
        {"text on a grid", "\neffect, 0, 0, 8, 8, 1, grid, icon, HI\n"},
    };
    for (const auto& [what, text] : bad) {
        try {
            datagen::ParseCellList(text, AuthoredPalette());
            ADD_FAILURE() << what << " was accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << what << ": " << error.what();
        }
    }
}

TEST(FontSheet, CellMapCoversTheGameTable) {
    std::map<char32_t, int> cells;
    for (const auto& [code, cell] : datagen::FontCellMap()) {
        EXPECT_TRUE(cells.emplace(code, cell).second) << "U+" << std::hex << static_cast<uint32_t>(code) << " twice";
    }
    const std::pair<char32_t, int> expected[] = {
        {U'0', 0},     {U'9', 9},     {U'!', 10},    {U'.', 19},    {U'A', 32},    {U'Z', 57},
        {0x3042, 64},  {0x304B, 69},  {0x3082, 98},  {0x3084, 99},  {0x3089, 102}, {0x3093, 109},
        {0x3041, 110}, {0x3063, 115}, {0x309B, 116}, {0x309C, 117}, {0x3083, 118}, {0x30FC, 121},
        {0x30A2, 128}, {0x30AB, 133}, {0x30E2, 162}, {0x30F3, 173}, {0x30C3, 179}, {0x30E7, 184}};
    for (const auto& [code, cell] : expected) {
        EXPECT_EQ(cells[code], cell) << "U+" << std::hex << static_cast<uint32_t>(code);
    }
    for (const auto& [code, cell] : cells) EXPECT_NE(cell, 255) << "cell 255 stays blank";
}

TEST(TableText, FaultsTheTokeniserWouldMisread) {
    const datagen::TableSpec table{"t.csv", 4, 4};
    EXPECT_EQ(datagen::CheckTableText("1,2\n3,255\n", table), "");
    const char* const bad[] = {
        "1,2\n3,255",      // no final line feed
        "1,2,\n3,4\n",     // trailing comma adds a value
        "1,,2\n3\n",       // empty value
        "1,2\n3,256\n",    // above a byte
        "1,2\n3,00001\n",  // longer than the field
        "1,2\n3\n",        // too few values
        "1,2\n3,4,5\n",    // too many values
        "1,2\n3,x\n",      // not a number
    };
    for (const char* text : bad) EXPECT_NE(datagen::CheckTableText(text, table), "") << text;
}

TEST(Score, PlacesNotesAndChainsByBarsAndTransposition) {
    const datagen::Score score = datagen::ParseScore(
        "tempo 120   # two bars a second\n"
        "bars 2.5\n"
        "instrument lead square 0.5 0.01 0.1 0.5 0.05 duty 0.25 gate 0.5\n"
        "pattern run lead c4:4 c#4 r:8\n"
        "  a4:2 b3\n"
        "chain 0.5 run 0 12\n");
    ASSERT_EQ(score.patterns.size(), 1u);
    const datagen::Pattern& run = score.patterns[0];
    EXPECT_EQ(run.length, 20);
    ASSERT_EQ(run.notes.size(), 4u);
    EXPECT_EQ(run.notes[1].key, 61);
    EXPECT_EQ(run.notes[1].start, 4);
    EXPECT_EQ(run.notes[3].key, 59);
    EXPECT_EQ(run.notes[3].length, 2);
    ASSERT_EQ(score.placements.size(), 2u);
    EXPECT_DOUBLE_EQ(score.placements[1].bar, 0.5 + 20 / 16.0);
    EXPECT_EQ(score.placements[1].transpose, 12);
    EXPECT_EQ(datagen::ScoreSamples(score), 2.5 * 2.0 * 44100);
    EXPECT_EQ(score.instruments[0].gate, 0.5);
}

TEST(Score, RefusesBadLines) {
    const char* const bad[] = {
        "tempo 120\n",                                              // no length
        "bars 1\nplay 0 nothing\n",                                 // unknown pattern
        "bars 1\ninstrument a kazoo 1 0 1 0 0\n",                   // unknown wave
        "bars 1\ninstrument a sine 1 0 1 0\n",                      // missing release
        "bars 1\ninstrument a sine 1 0 1 0 0\npattern p a h4:4\n",  // not a note
        "bars 1\ninstrument a sine 1 0 1 0 0\npattern p a c4:0\n",  // empty note
        "bars 1\nwobble 3\n",                                       // unknown keyword
    };
    for (const char* text : bad) EXPECT_THROW(datagen::ParseScore(text), std::runtime_error) << text;
}

}  // namespace

namespace {

// The values of a drawn table, file order (the far end of the stage first).
std::vector<int> Values(const std::string& table) {
    std::vector<int> values;
    size_t at = 0;
    while (at < table.size()) {
        const size_t end = table.find_first_of(",\n", at);
        values.push_back(std::stoi(table.substr(at, end - at)));
        at = end + 1;
    }
    return values;
}

TEST(StageMaps, CellsFillsLandAndRepeatsDrawTheMap) {
    const auto maps = datagen::DrawStageMaps(
        "map t.csv 5 7\n"
        "land 0 2 0 3 16\n"   // an L of one family: three rows of four columns ...
        "land 0 1 3 4 16\n"   // ... and two more rows at the right
        "cell 1 1 11 12\n"    // two cells from column 1 stay what they are
        "fill 3 3 2 3 9\n"
        "repeat 0 1 5 1\n"    // rows 0-1 again as rows 5-6
        "map u.csv 4 4\n"
        "land 0 3 0 3 16\n"
        "land 1 2 1 2 32\n");  // a region laid on top: the one under it runs on beneath
    // Rows from the top of the picture: 6, 5, 4, 3, 2, 1, 0. Regions run on past the map's
    // sides and ends. The family's tiles: 16 inside (29-31 its variants), 17 top edge, 18 bottom
    // edge, 22 top-right corner, 26 the inner corner open at the top right.
    const std::vector<int> expected = {
        16, 11, 12, 16, 16,  // row 6 = row 1, its top past the map
        18, 18, 18, 18, 18,  // row 5 = row 0, now above open ground: the bottom edge
        0, 0, 0, 0, 0,       // row 4
        0, 0, 9, 9, 0,       // row 3
        17, 17, 17, 22, 0,   // row 2: the top edge and the top-right corner
        16, 11, 12, 26, 17,  // row 1: the inner corner beside the arm's top edge
        16, 16, 16, 16, 16,  // row 0
    };
    const auto inside = [](std::vector<int> values) {
        for (int& v : values) v = v >= 29 && v <= 31 ? 16 : v;
        return values;
    };
    EXPECT_EQ(inside(Values(maps.at("t.csv"))), expected);
    // The upper region's four outer corners (32 + 5 to 8), with no edge of the lower one around.
    const std::vector<int> onTop = {16, 16, 16, 16, 16, 37, 38, 16, 16, 39, 40, 16, 16, 16, 16, 16};
    EXPECT_EQ(inside(Values(maps.at("u.csv"))), onTop);
}

// A file read at two sizes: the second map's far end is the first map's values, so the file
// holds the first map and then the second's values past as many as the first holds, a row it
// shares in part written from its first value of its own.
TEST(StageMaps, ASecondMapOfAFileContinuesItPastTheFirstsValues) {
    const std::string table = datagen::DrawStageMaps(
                                  "map t.csv 3 2\n"
                                  "fill 0 1 0 2 1\n"
                                  "map t.csv 4 3\n"
                                  "fill 0 2 0 3 7\n"
                                  "cell 1 2 8 9\n"
                                  "cell 2 0 5\n")  // under the first map's values: not written
                                  .at("t.csv");
    EXPECT_EQ(table, "1,1,1\n1,1,1\n8,9\n7,7,7,7\n");
    // Read 4 x 3 as the game reads it: value i is row 2 - i / 4.
    EXPECT_EQ(Values(table).size(), 12u);
    EXPECT_EQ(Values(table)[6], 8);  // row 1, column 2: the shared row's first value of its own
}

TEST(StageMaps, LinesOutsideTheMapAreRefusedWithTheirLine) {
    const char* const bad[] = {
        "map t.csv 4 6\ncell 6 0 1\n",          // past the last row
        "map t.csv 4 6\ncell 0 3 1 2\n",        // cells past the last column
        "map t.csv 4 6\nrepeat 0 2 4 1\n",      // past the last row
        "map t.csv 4 6\nrepeat 0 2 1 1\n",      // onto its own source
        "map t.csv 4 6\nfill 0 1 0 1 256\n",    // not a byte
        "map t.csv 4 6\nland 0 1 0 1 241\n",    // its edge tiles would not be bytes
        "# no map yet\ncell 0 0 1\n",          // before any map
        "map t.csv 4 6\nmap t.csv 6 4\n",      // continues the file with no value of its own
    };
    for (const char* text : bad) {
        try {
            datagen::DrawStageMaps(text);
            ADD_FAILURE() << text;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << text;
        }
    }
}

}  // namespace
