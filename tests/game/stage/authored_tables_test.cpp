// Our own stage tables, read from the built data set with the game's readers: the rules the
// stages rely on (enemy-table kinds and mixes, where ground enemies may stand, the fortress
// bosses of stage 3).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/files/file_system.h"
#include "game/stage/ground_table.h"
#include "game/stage/stage_tables.h"
#include "stage_support.h"

namespace {

struct Map {
    int width = 0, height = 0;
    std::vector<uint8_t> cells;  // row 0 first
    int At(int row, int column) const { return cells[static_cast<size_t>(row) * width + column]; }
};

Map LoadMap(const char* name, int width, int height) {
    ZethFile::SetRootPath(0, stage_test::DataFolder().c_str(), "");
    std::vector<uint8_t> values(static_cast<size_t>(width) * height);
    EXPECT_TRUE(LoadTableFile(name, kMapFieldLimit, values.data(), width * height, kMapValues)) << name;
    Map map{width, height, std::vector<uint8_t>(values.size())};
    for (int i = 0; i < width * height; ++i) {
        map.cells[static_cast<size_t>(height - 1 - i / width) * width + i % width] = values[static_cast<size_t>(i)];
    }
    return map;
}

bool Between(int v, int lo, int hi) { return v >= lo && v <= hi; }
bool IsTarget(int v) { return Between(v, 45, 63); }
bool IsFortress(int v) { return Between(v, 96, 102); }
bool IsWall(int v) { return Between(v, 112, 131); }
bool IsGround(int v) { return FindGroundPlacement(1, v) != nullptr; }

TEST(AuthoredTables, EnemyTableMixesItsKindsByRow) {
    ZethFile::SetRootPath(0, stage_test::DataFolder().c_str(), "");
    uint8_t values[kEnemyTableValues];
    ASSERT_TRUE(LoadTableFile("enemytable.csv", kEnemyTableFieldLimit, values, kEnemyTableValues, kEnemyTableValues));
    for (int r = 0; r < 16; ++r) {
        SCOPED_TRACE(r);
        const uint8_t* row = values + r * 16;
        EXPECT_EQ(row[15], 128 + (r / 4) * 4 + r % 4);  // mid-boss level r / 4, type r mod 4
        std::set<int> kinds;
        int yellow = 0;
        for (int c = 0; c < 15; ++c) {
            const int k = row[c];
            EXPECT_TRUE(Between(k, 0, 7) || Between(k, 64, 75)) << k;
            kinds.insert(k);
            yellow += k >= 64;
            if (c > 0) { EXPECT_NE(row[c], row[c - 1]) << c; }
            if (r >= 4 && r < 12 && c % 3 == 2) {
                const int inThree = (row[c - 2] >= 64) + (row[c - 1] >= 64) + (row[c] >= 64);
                EXPECT_TRUE(inThree == 1 || inThree == 2) << c;
            }
        }
        EXPECT_GE(kinds.size(), 6u);
        if (r < 4) { EXPECT_EQ(yellow, 0); }
        if (r >= 12) {
            EXPECT_GT(yellow, 7);
            for (int k : {66, 73, 74}) EXPECT_TRUE(kinds.count(k)) << k;
        }
    }
}

TEST(AuthoredTables, StageOnePlacesItsGroundEnemiesByTheRules) {
    const Map map = LoadMap("s1bgtable.csv", 24, 1024);
    int targets = 0, carriers = 0, lastCarrier = -64;
    for (int r = 0; r < 1024; ++r) {
        SCOPED_TRACE(r);
        int walls = 0, run = 0, longestFree = 0;
        for (int c = 0; c < 24; ++c) {
            const int v = map.At(r, c);
            if (IsGround(v)) { EXPECT_TRUE(r >= 16 && r <= 991) << c; }
            EXPECT_FALSE(IsFortress(v) || v == 27 || v == 28) << c;
            if (v == 11 || IsTarget(v)) ++targets;
            if (v == 12 || v == 13) {
                ++carriers;
                EXPECT_GE(r - lastCarrier, 64);
                lastCarrier = r;
            }
            if (v == 25) { EXPECT_EQ(c + 1 < 24 ? map.At(r, c + 1) : -1, 26) << c; }
            if (v == 26) { EXPECT_EQ(c > 0 ? map.At(r, c - 1) : -1, 25) << c; }
            walls += IsWall(v);
            run = IsGround(v) ? 0 : run + 1;
            longestFree = std::max(longestFree, run);
            if (IsWall(v)) {
                int deep = 0;
                for (int d = r; d < 1024 && IsWall(map.At(d, c)); ++d) ++deep;
                EXPECT_LE(deep, 3) << c;
            }
        }
        EXPECT_LE(walls, 6);
        if (walls > 0) { EXPECT_GE(longestFree, 6); }
    }
    EXPECT_NEAR(targets, 976 / 12, 10);
    EXPECT_GE(carriers, 8);
}

TEST(AuthoredTables, StageTwoHasItsTargetsAndEdgePairs) {
    const Map map = LoadMap("s2bgtable.csv", 16, 128);
    int targets = 0, pairs = 0;
    for (int r = 0; r < 128; ++r) {
        for (int c = 0; c < 16; ++c) {
            const int v = map.At(r, c);
            if (IsGround(v)) { EXPECT_TRUE(r >= 16 && r <= 95) << r; }
            EXPECT_TRUE(!IsGround(v) || IsTarget(v) || v == 27 || v == 28) << v;
            if (v == 27 || v == 28) {
                EXPECT_TRUE(c == 0 || c == 15) << r;
                EXPECT_EQ(map.At(r, 15 - c), v) << r;
                pairs += c == 0;
            }
            targets += IsTarget(v);
        }
    }
    EXPECT_TRUE(targets >= 10 && targets <= 24) << targets;
    EXPECT_LE(pairs, 4);
}

TEST(AuthoredTables, StageThreeArmsEachBossSectionWithItsFortresses) {
    const Map map = LoadMap("s3bgtable.csv", 16, 1024);
    const int expected[8] = {2, 4, 6, 8, 14, 20, 26, 32};
    for (int k = 0; k < 32; ++k) {
        SCOPED_TRACE(k);
        int fortresses = 0;
        for (int r = 32 * k; r < 32 * k + 32; ++r) {
            for (int c = 0; c < 16; ++c) {
                const int v = map.At(r, c);
                if (r < 16) { EXPECT_FALSE(IsGround(v)); }
                if (v == 27 || v == 28) { EXPECT_TRUE(c == 0 || c == 15); }
                if (v == 12 || v == 13) { EXPECT_EQ(k % 4, 0); }
                if (k % 4 == 3) {
                    EXPECT_TRUE(!IsGround(v) || IsFortress(v)) << r << "," << c;
                    if (IsFortress(v)) {
                        EXPECT_TRUE(r >= 32 * k + 18 && r <= 32 * k + 30) << r;
                        EXPECT_EQ(map.At(r, 15 - c), v);
                    }
                } else {
                    EXPECT_FALSE(IsFortress(v) || IsWall(v)) << r << "," << c;
                }
                fortresses += IsFortress(v);
            }
        }
        if (k % 4 == 3) { EXPECT_EQ(fortresses, expected[k / 4]); }
    }
}

// Stages 9 and 7 read the ghost stage's table 20 columns wide, as 1024 and 512 rows (stage 7's
// rows are stage 9's last 512). The ground enemies of those stages (values typed here): nothing
// in a stage's first 16 rows; panels and blocks on the decks and their trenches, a big block
// over a 2 x 2 of plates that place nothing; the clones from cells of open space, at least 66
// rows apart, so that one has left before the next comes in.
TEST(AuthoredTables, StagesSevenAndNineStandTheirGroundEnemiesOnTheDecks) {
    const auto isClone = [](int v) { return Between(v, 2, 13); };
    const auto isSmall = [](int v) { return Between(v, 16, 23); };  // panels and small blocks
    const auto isBig = [](int v) { return Between(v, 48, 54) && v % 2 == 0; };
    const auto underBlocks = [&](int v) { return Between(v, 224, 255) || isSmall(v) || Between(v, 48, 63); };
    for (int height : {1024, 512}) {
        SCOPED_TRACE(height);
        const Map map = LoadMap("s16bgtable.csv", 20, height);
        const auto at = [&](int r, int c) { return r >= 0 && r < height && c >= 0 && c < 20 ? map.At(r, c) : -1; };
        int lastClone = -66, clones = 0, smalls = 0, bigs = 0;
        for (int r = 0; r < height; ++r) {
            for (int c = 0; c < 20; ++c) {
                SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
                const int v = map.At(r, c);
                if (!isClone(v) && !isSmall(v) && !isBig(v)) continue;
                EXPECT_GE(r, 16);
                if (isClone(v)) {
                    EXPECT_GE(r - lastClone, 66);
                    lastClone = r;
                    ++clones;
                    for (int dr : {-1, 1}) { EXPECT_EQ(at(r + dr, c), 0); }
                    continue;
                }
                for (const auto& [dr, dc] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    EXPECT_TRUE(underBlocks(at(r + dr, c + dc))) << dr << "," << dc;
                }
                if (isBig(v)) {
                    for (int plate : {at(r, c + 1), at(r + 1, c), at(r + 1, c + 1)}) {
                        EXPECT_TRUE(Between(plate, 49, 63) && !isBig(plate)) << plate;
                    }
                }
                (isBig(v) ? bigs : smalls) += 1;
            }
        }
        EXPECT_GE(clones, 4);
        EXPECT_GE(smalls, 20);
        EXPECT_GE(bigs, 4);
    }
}

TEST(AuthoredTables, TheGhostStageTableIsSceneryOnly) {
    const Map map = LoadMap("s16bgtable.csv", 16, 128);
    for (int v : map.cells) {
        EXPECT_EQ(FindGroundPlacement(1, v), nullptr) << v;
        EXPECT_EQ(FindGroundPlacement(7, v), nullptr) << v;
    }
}

}  // namespace
