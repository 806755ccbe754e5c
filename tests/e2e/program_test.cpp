// Runs the real program headless, as a person would start it, and checks what it leaves behind.
#include "program_fixture.h"

using testing_support::ReadFile;

TEST_F(Program, StartsRefusesASecondCopyAndStopsOnSigterm) {
    pid_t first = Start("first.err");
    ASSERT_TRUE(WaitForLog(kStartBanner)) << ReadFile(folder_ / "first.err");
    std::string logWhileRunning = SettledLog();

    pid_t second = Start("second.err");
    EXPECT_EQ(WaitExit(second), 0);
    EXPECT_NE(ReadFile((folder_ / "second.err").string()).find("２重起動は許可されてません"), std::string::npos);
    EXPECT_EQ(ReadFile(LogPath().string()), logWhileRunning);

    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(first, SIGTERM);
    EXPECT_EQ(WaitExit(first), 0);
    ExpectEndedLog();
}

// The terminal closing under the game ends it in order, as a termination request does.
TEST_F(Program, HangUpEndsInOrder) {
    pid_t pid = Start("hangup.err");
    ASSERT_TRUE(WaitForLog(kStartBanner)) << ReadFile(folder_ / "hangup.err");
    kill(pid, SIGHUP);
    EXPECT_EQ(WaitExitWithin(pid, 5000), 0);
    ExpectEndedLog();
}
