// The two factories against the type table as designed: every id makes its class into its kind's
// list, and nothing else makes anything.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "game/enemies/enemies_support.h"
#include "support/data_table.h"

namespace {

using enemies_test::ClassOf;
using testing_support::DataRow;

using TypeIds = enemies_test::EnemyWorld;

TEST_F(TypeIds, EveryIdAndCodeMakesTheClassAndKindAsDesigned) {
    std::map<int32_t, DataRow> objects, characters;
    for (const DataRow& row : testing_support::ReadDataTable(std::string(TANZLOR_TEST_DATA) + "/type_ids.csv")) {
        (row.Text("factory") == "object" ? objects : characters).emplace(row.Int("id"), row);
    }
    ASSERT_EQ(objects.size(), 303u);
    ASSERT_EQ(characters.size(), 12u);
    for (int32_t id = -1; id <= 347; ++id) {
        SCOPED_TRACE(id);
        platform.messageBox.shown.clear();
        Object* made = world.CreateObject(id, 128, 100, 0, 0, 0, 0, nullptr);
        const auto row = objects.find(id);
        if (row == objects.end()) {
            EXPECT_EQ(made, nullptr);
            EXPECT_EQ(platform.messageBox.shown.size(), 1u);
            continue;
        }
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(ClassOf(made), row->second.Text("class"));
        EXPECT_EQ(made->kind, row->second.Int("kind"));
        world.ClearAll();
        world.SweepObjects();
    }
    for (int32_t code = 96; code <= 128; ++code) {  // one past each end of the codes: the fallback
        SCOPED_TRACE(code);
        Object* made = world.CreatePC(code);
        ASSERT_NE(made, nullptr);
        const auto row = characters.find(code);
        EXPECT_EQ(ClassOf(made), row == characters.end() ? "PC_Natsuki" : row->second.Text("class"));
        if (row != characters.end() && row->second.Text("kind") == "-") {
            EXPECT_EQ(world.pcController, made);
        } else {
            EXPECT_EQ(made->kind, 201);
        }
    }
}

}  // namespace
