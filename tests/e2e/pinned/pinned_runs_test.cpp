// Whole-game runs of the real program, each pinned to what it produced: its final score, the
// score file it left, what the factories made (by kind and which classes), a hash of the world
// (every object's class, position, hp and age) every few seconds and of the presented frame at a
// few fixed frames. The runs start as the menus start a game, from a score file that opens every
// mode, and play with seeded input that moves, fires, bombs and passes ghost turns; power items
// come through the game's own factory where the seeded play would not reach a power level.
// Together the runs make every class the factory knows but those listed in never_made.cpp, and
// every cell a class draws must be one that assets/cells.csv names for it.
//
// After an intended change, tests/e2e/pinned/repin.sh writes pinned_runs.txt again and prints the
// runs that changed and the first checkpoint at which each differs. play_run.cpp plays a run.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

#include "class_cells.h"
#include "game/world/factory.h"
#include "game/world/type_table.h"
#include "never_made.h"
#include "play_run.h"
#include "sheet_cells.h"

namespace pinned {
namespace {

bool Repinning() {
    const char* pin = std::getenv("PIN");
    return pin != nullptr && std::strcmp(pin, "1") == 0;
}

std::string Describe(const PinnedRun& r) {
    std::ostringstream s;
    s << r.name << " (mode " << r.mode << ", stage " << (r.stage != 0 ? r.stage : StageOfRun(r)) << ", party";
    for (int i = 0; i < r.players; ++i) s << ' ' << r.members[i];
    s << ")";
    return s.str();
}

// The classes a "classes" value names that the other does not.
std::vector<std::string> ClassesOnlyIn(const std::string& a, const std::string& b) {
    std::vector<std::string> out;
    std::istringstream wa(a), wb(b);
    std::string ta, tb, ca, cb;
    wa >> ta >> ca;
    wb >> tb >> cb;
    auto bit = [](const std::string& hex, size_t i) {
        if (i / 4 >= hex.size()) return false;
        const char c = hex[i / 4];
        const int v = c >= 'a' ? c - 'a' + 10 : c - '0';
        return ((v >> (i % 4)) & 1) != 0;
    };
    for (int id = 0; id < kTypeCount; ++id) {
        if (bit(ta, id) && !bit(tb, id)) out.push_back(kTypeTable[id].className);
    }
    for (int row = 0; row < kCharacterCodeCount; ++row) {
        if (bit(ca, row) && !bit(cb, row)) out.push_back(kCharacterTable[row].className);
    }
    return out;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
}

// What differs between the pinned values of a run and what it produced now, one line each.
std::vector<std::string> Differences(const RunPins& pinned, const RunPins& now) {
    std::vector<std::string> out;
    for (const auto& [key, value] : now) {
        const auto it = pinned.find(key);
        const std::string was = it != pinned.end() ? it->second : "";
        if (was == value) continue;
        if (key == "scenes") {
            const Parting p = FirstParting(was, value);
            out.push_back("the scenes part at frame " + p.first + ": now " + (p.nowEntry.empty() ? "no more" : p.nowEntry) +
                          ", pinned " + (p.pinnedEntry.empty() ? "no more" : p.pinnedEntry));
        } else if (key == "world" || key == "frames") {
            const Parting p = FirstParting(was, value);
            out.push_back((key == "world" ? "the world" : "the presented frame") + std::string(" first differs at frame ") +
                          p.first + (p.lastSame.empty() ? " (the first checkpoint)" : " (same at frame " + p.lastSame + ")"));
        } else if (key == "classes") {
            out.push_back("classes made now and not pinned: " + Joined(ClassesOnlyIn(value, was)) +
                          "; pinned and not made now: " + Joined(ClassesOnlyIn(was, value)));
        } else {
            out.push_back(key + " is " + value + ", pinned " + was);
        }
    }
    return out;
}

// What the run drew that its class should not: a cell the oracle does not name for the class,
// or texels no cell claims (the placeholder checker). The font and the layer targets have no
// cells.
std::vector<std::string> CellsDrawnAmiss(const Census& census) {
    static const std::vector<SheetCell> cells = ReadSheetCells(kCellsFile);
    std::map<std::string, std::set<std::string>> oracle;
    for (const ClassCells& c : kClassCells) oracle[c.className].insert(c.cells.begin(), c.cells.end());
    std::set<std::string> amiss;
    for (const DrawnCell& d : census.drawn) {
        const std::string sheet = d.sheet >= 0 ? kSheetNames[d.sheet] : "an unknown batch";
        if (sheet == "font" || sheet == "layer") continue;
        const std::string drawer = d.drawer != nullptr ? ClassName(*d.drawer) : "a draw outside any object's";
        std::ostringstream rect;
        rect << sheet << " (" << d.x << ", " << d.y << ", " << d.w << ", " << d.h << ")";
        const Reading reading = CellsUnder(cells, sheet, d.x, d.y, d.w, d.h);
        if (!reading.covered) {
            amiss.insert(drawer + " drew " + rect.str() + ", which reaches texels no cell claims");
            continue;
        }
        const std::set<std::string>& own = oracle[drawer];
        for (const SheetCell* c : reading.cells) {
            if (own.count(c->name) == 0 && own.count(c->sheet) == 0) {
                amiss.insert(drawer + " drew " + rect.str() + ", which is " + c->name + ", not a cell of its own");
            }
        }
    }
    return {amiss.begin(), amiss.end()};
}

class PinnedRuns : public testing::TestWithParam<PinnedRun> {};

}  // namespace

// A run prints as its name.
void PrintTo(const PinnedRun& run, std::ostream* out) { *out << run.name; }

namespace {

TEST_P(PinnedRuns, ProducesWhatItIsPinnedTo) {
    const PinnedRun& r = GetParam();
    const Played played = Play(r);
    for (const std::string& amiss : CellsDrawnAmiss(*played.census)) ADD_FAILURE() << Describe(r) << ": " << amiss;
    const Pins pins = ReadPins(kPinsFile);
    const auto pinned = pins.find(r.name);
    const std::vector<std::string> differences =
        Differences(pinned != pins.end() ? pinned->second : RunPins{}, played.pins);
    if (Repinning()) {
        if (!differences.empty()) {
            WritePins(kPinsFile, Beside("repin.lock"), r.name, played.pins);
            std::printf("re-pinned %s:\n", Describe(r).c_str());
            for (const std::string& d : differences) std::printf("  %s\n", d.c_str());
        }
        return;
    }
    ASSERT_NE(pinned, pins.end()) << Describe(r) << " is not pinned: run tests/e2e/pinned/repin.sh";
    for (const std::string& d : differences) ADD_FAILURE() << Describe(r) << ": " << d;
}

INSTANTIATE_TEST_SUITE_P(Runs, PinnedRuns, testing::ValuesIn(kPinnedRuns),
                         [](const testing::TestParamInfo<PinnedRun>& info) { return std::string(info.param.name); });

// Every class the factories know is made by a run, as the pinned values say (each run's test
// holds it to them), but for the classes nothing in the game makes and those only skilled play
// makes; and no run makes one of those.
TEST(PinnedRunsTogether, MakeEveryClassTheFactoriesKnowButThoseNothingMakes) {
    Pins pins = ReadPins(kPinsFile);
    std::set<std::string> inTable;
    for (const PinnedRun& r : kPinnedRuns) inTable.insert(r.name);
    for (auto it = pins.begin(); it != pins.end();) {
        const bool stale = inTable.count(it->first) == 0;
        if (stale && Repinning()) {
            WritePins(kPinsFile, Beside("repin.lock"), it->first, {});
            std::printf("dropped %s, no longer a run\n", it->first.c_str());
        }
        EXPECT_TRUE(!stale || Repinning()) << it->first << " is pinned but is no run: run tests/e2e/pinned/repin.sh";
        it = stale ? pins.erase(it) : std::next(it);
    }
    std::set<std::string> made;
    for (const PinnedRun& r : kPinnedRuns) {
        const auto it = pins.find(r.name);
        ASSERT_TRUE(it != pins.end() && it->second.count("classes") != 0) << r.name << " is not pinned";
        for (const std::string& name : ClassesOnlyIn(it->second.at("classes"), "")) made.insert(name);
    }
    std::set<std::string> never;
    std::vector<std::string> madeAfterAll;
    for (const auto* list : {&kNeverMade, &kBeyondSeededPlay}) {
        for (const NeverMade& n : *list) {
            never.insert(n.className);
            if (made.count(n.className) != 0) madeAfterAll.push_back(n.className);
        }
    }
    std::vector<std::string> missing;
    for (int id = 0; id < kTypeCount; ++id) {
        const char* name = kTypeTable[id].className;
        if (FindObjectConstructor(id) != nullptr && made.count(name) == 0 && never.count(name) == 0) missing.push_back(name);
    }
    for (int row = 0; row < kCharacterCodeCount; ++row) {
        const char* name = kCharacterTable[row].className;
        if (name != nullptr && FindCharacterConstructor(kFirstCharacterCode + row) != nullptr && made.count(name) == 0 &&
            never.count(name) == 0) {
            missing.push_back(name);
        }
    }
    EXPECT_TRUE(missing.empty()) << "no run makes " << Joined(missing);
    EXPECT_TRUE(madeAfterAll.empty()) << "listed as made by no run, but a run makes " << Joined(madeAfterAll);
}

}  // namespace
}  // namespace pinned
