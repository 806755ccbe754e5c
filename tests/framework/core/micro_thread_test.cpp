#include <gtest/gtest.h>

#include <vector>

#include "framework/core/micro_thread.h"

namespace {

// Only the thread holding control touches these, and every hand-off orders memory.
std::vector<int> g_trace;
int g_ended = 0;

void Loop(int index) {
    for (;;) {
        g_trace.push_back(index);
        ZethMicroThread::Switch(index);
    }
}

void RunOnce(int index) { g_trace.push_back(100 + index); }

void CountEnd(int code) {
    EXPECT_EQ(code, 0);
    ++g_ended;
}

class MicroThreadTest : public testing::Test {
protected:
    void SetUp() override {
        g_trace.clear();
        g_ended = 0;
        ASSERT_TRUE(ZethMicroThread::Initialize());
        MicroThreadStartMain();
    }
    void TearDown() override {
        ZethMicroThread::Exit();
        ZethMicroThread::ReleaseTable();
        EXPECT_TRUE(MicroThreadWaitAll());
    }
};

TEST_F(MicroThreadTest, ControlGoesRoundTheRingAndExitEndsEveryThread) {
    ZethMicroThread::Switch(-1);  // alone in the ring: returns at once
    EXPECT_TRUE(g_trace.empty());
    ASSERT_EQ(ZethMicroThread::Create(Loop, CountEnd), 0);
    ASSERT_EQ(ZethMicroThread::Create(Loop, CountEnd), 1);
    for (int round = 0; round < 3; ++round) ZethMicroThread::Switch(-1);
    EXPECT_EQ(g_trace, (std::vector<int>{0, 1, 0, 1, 0, 1}));
    ZethMicroThread::Exit();
    EXPECT_EQ(g_ended, 2);
    g_trace.clear();
    ZethMicroThread::Switch(-1);
    EXPECT_TRUE(g_trace.empty());
}

TEST_F(MicroThreadTest, ARoutineThatReturnsEndsItsThreadAndFreesItsRecord) {
    ASSERT_EQ(ZethMicroThread::Create(RunOnce, CountEnd), 0);
    ASSERT_EQ(ZethMicroThread::Create(Loop, nullptr), 1);
    ZethMicroThread::Switch(-1);  // 0 runs and ends, handing on to 1, which hands back
    ZethMicroThread::Switch(-1);  // only 1 is left
    EXPECT_EQ(g_trace, (std::vector<int>{100, 1, 1}));
    EXPECT_EQ(g_ended, 1);
    while (!MicroThreadWaitAll()) {
    }
    EXPECT_EQ(ZethMicroThread::Create(RunOnce, nullptr), 0);
}

}  // namespace
