// The table tokeniser and the loaders' failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app/log.h"
#include "framework/files/file_system.h"
#include "framework/files/temp_folder.h"
#include "game/stage/stage_tables.h"
#include "game/world/type_table.h"
#include "stage_support.h"
#include "support/read_log.h"

namespace {

std::vector<int> Read(const std::string& text, int limit, int count) {
    std::vector<uint8_t> out(static_cast<size_t>(count), 99);
    ReadTableValues(reinterpret_cast<const uint8_t*>(text.data()), text.size(), limit, out.data(), count);
    return std::vector<int>(out.begin(), out.end());
}

TEST(TableTokeniser, ReadsValuesAsBytes) {
    struct Case {
        const char* text;
        int limit;
        int count;
        std::vector<int> values;
    } cases[] = {
        {"1,\n2,\n3,\n", 4, 6, {1, 0, 2, 0, 3, 0}},
        {"1\n,2\n,3\n,", 4, 6, {1, 0, 2, 0, 3, 0}},
        {"1\r\n2\r\n3\r\n", 4, 3, {1, 2, 3}},
        {"5,,7,", 4, 3, {5, 0, 7}},
        {"300,-1,", 8, 2, {44, 255}},
        {"12345,", 4, 2, {57, 0}},            // a fifth character ends a map value
        {"12345678,9,", 8, 2, {78, 9}},        // 12345678 mod 256 = 78
        {"999999999999,", 8, 3, {255, 231, 231}}, // the ninth character ends an enemy-table value
        {"12,5", 4, 3, {12, 5, 5}},            // the end of the file ends the last value
        {"", 4, 2, {0, 0}},
        {" +7, x,", 4, 2, {7, 0}},
        {"4,", 4, 3, {4, 4, 4}},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.text, c.limit, c.count), c.values) << c.text;
}

TEST(TableTokeniser, AnEnemyTableOfTwoHundredFiftyFiveValuesRepeatsTheLast) {
    std::string text;
    for (int i = 0; i < 255; ++i) text += std::to_string(i % 200) + ",";
    const std::vector<int> values = Read(text, kEnemyTableFieldLimit, 256);
    EXPECT_EQ(values[254], 54);
    EXPECT_EQ(values[255], 54);
}

// A value takes at most its field limit plus one byte, so an enemy table holds at most 256 x 9
// bytes: a longer file is damaged. As much as a table holds is read, and the log says so once.
TEST(TableFiles, AFileLongerThanATableHoldsIsReadAsFarAsThatAndLogged) {
    TempFolder folder;
    const std::string logPath = folder.Path() + "/log.html";
    ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
    ZethFile::SetRootPath(0, folder.Path().c_str(), "");
    std::string text;
    for (int i = 0; text.size() < 2304; ++i) text += std::to_string(i % 10) + ",";
    for (const std::string& file : {text, text + "9"}) {
        folder.Write("table/enemytable.csv", file);
        uint8_t values[kEnemyTableValues] = {};
        ASSERT_TRUE(LoadTableFile("enemytable.csv", kEnemyTableFieldLimit, values, kEnemyTableValues, kEnemyTableValues));
        EXPECT_EQ(values[255], 5) << file.size();
    }
    ZethFile::SetRootPath(0, "", "");
    ZethLog::Close();
    const std::string log = testing_support::ReadLog(logPath);
    const std::string said = "テーブルファイルが長すぎるため、先頭だけを読みます [ enemytable.csv ]";
    const size_t first = log.find(said);
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(said, first + 1), std::string::npos);
}

class StageTables : public stage_test::StageWorld {};

TEST_F(StageTables, MissingTablesShowTheirMessagesAndAskTheProgramToEnd) {
    ZethFile::SetRootPath(0, "/nonexistent", "");
    Object* o = world.CreateObject(type_id::Script, 128, 0, 0, 0, 0, 0, nullptr);
    ASSERT_NE(o, nullptr);
    auto* script = static_cast<Script*>(o);
    EXPECT_EQ(script->enemyTable[15][15], 0);
    script->map[1][1] = 77;
    script->OnMessage(Msg(3, 11, 2));
    EXPECT_EQ(script->map[1][1], 77);  // the map keeps what it had
    const std::vector<std::string> texts = platform.messageBox.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "敵の出現テーブルがないよぅ");
    EXPECT_EQ(texts[1], "背景テーブルの書かれたファイルが読めないよぅ");
    EXPECT_EQ(platform.messageBox.shown[0].caption, "test");
}

TEST(TableNames, EveryOtherStageReadsTheGhostStageTable) {
    EXPECT_STREQ(BgTableName(1), "s1bgtable.csv");
    EXPECT_STREQ(BgTableName(2), "s2bgtable.csv");
    EXPECT_STREQ(BgTableName(3), "s3bgtable.csv");
    EXPECT_STREQ(BgTableName(4), "s16bgtable.csv");
    EXPECT_STREQ(BgTableName(16), "s16bgtable.csv");
}

}  // namespace
