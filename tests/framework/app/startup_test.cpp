#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/app/log.h"
#include "framework/app/zeth.h"
#include "harness/fakes.h"
#include "platform/input/fake_input.h"
#include "support/as_nobody.h"
#include "support/read_file.h"

using testing_support::FakePlatform;

namespace {

using testing_support::ReadFile;

// What the fake game did, in order, and how it was set up to behave.
struct FakeGame {
    std::vector<std::string> calls;
    std::vector<uint32_t> hookedMessages;
    bool initResult = true;
    bool startResult = false;
    int framesBeforeExit = 3;
    int framesRun = 0;
    uint32_t useFlags = 0;
    std::string name;
};
FakeGame* g_game = nullptr;

bool FakeInit() {
    g_game->calls.push_back("init");
    Zeth::SetLogFile(g_game->name.c_str(), "html");
    Zeth::SetApplicationName(g_game->name.c_str());
    Zeth::SetScreenInfo(640, 480, true);
    Zeth::SetFrameRate(60);
    Zeth::SetUseFlags(g_game->useFlags);
    return g_game->initResult;
}

int32_t FakeMain(int, char**) {
    g_game->calls.push_back("main");
    g_game->startResult = Zeth::Start();
    if (!g_game->startResult) return 0;
    while (Zeth::MessageLoop(false)) {
        if (++g_game->framesRun == g_game->framesBeforeExit) Zeth::Exit();
    }
    g_game->calls.push_back("loop ended");
    return 0;
}

bool FakeKeyHook(uint32_t message, uintptr_t, intptr_t) {
    g_game->hookedMessages.push_back(message);
    return true;
}


class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        // The single-instance lock lives in the runtime folder: keep it private to this test.
        runtime_ = ::testing::TempDir() + "startup_runtime";
        std::string command = "mkdir -p '" + runtime_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        game_.name = std::string("startup_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        g_game = &game_;
        callbacks_.init = FakeInit;
        callbacks_.main = FakeMain;
        callbacks_.keyHook = FakeKeyHook;
    }
    void TearDown() override { g_game = nullptr; }

    int32_t Run() { return Zeth::Main(callbacks_, this, 0, nullptr); }
    std::string LogPath() const { return platform::ExecutableFolder() + "/" + game_.name + ".html"; }

    FakePlatform fake_;
    FakeGame game_;
    Zeth::GameCallbacks callbacks_;
    std::string runtime_;
};

// Shift_JIS bytes of the log's banners.
const std::string kStartBanner = "\x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56\x83\x87\x83\x93\x8A\x4A\x8E\x6E";
const std::string kEndBanner = "\x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56\x83\x87\x83\x93\x8F\x49\x97\xB9";

}  // namespace

TEST_F(Startup, RunsTheGameAndShutsDownInOrder) {
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(game_.calls, (std::vector<std::string>{"init", "main", "loop ended"}));
    EXPECT_TRUE(game_.startResult);
    EXPECT_EQ(game_.framesRun, 3);
    ASSERT_FALSE(game_.hookedMessages.empty());
    EXPECT_EQ(game_.hookedMessages.front(), platform::wm::kCreate);
    EXPECT_TRUE(fake_.messageBox.shown.empty());
    EXPECT_FALSE(fake_.window.exists);

    std::string log = ReadFile(LogPath());
    size_t start = log.find(kStartBanner);
    size_t end = log.find(kEndBanner);
    ASSERT_NE(start, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LT(start, end);
    EXPECT_EQ(log.substr(log.size() - 16), "</BODY>\n</HTML>\n");
}

TEST_F(Startup, FailingInitShowsItsMessageAndEndsAtOnce) {
    game_.initResult = false;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(game_.calls, (std::vector<std::string>{"init"}));
    ASSERT_EQ(fake_.messageBox.shown.size(), 1u);
    EXPECT_EQ(fake_.messageBox.shown[0].type, 16u);
    EXPECT_EQ(fake_.messageBox.shown[0].caption, "ERROR");
    EXPECT_EQ(fake_.messageBox.shown[0].text, "ユーザー初期化に失敗");
    EXPECT_FALSE(ZethLog::IsOpen());
}

// The window cannot be had: both messages, the window system's reason in the log, and the
// failure status, since the program did not run.
TEST_F(Startup, WindowFailureReportsBothMessagesTheReasonAndFailure) {
    fake_.window.canCreate = false;
    EXPECT_EQ(Run(), EXIT_FAILURE);
    EXPECT_EQ(game_.calls, (std::vector<std::string>{"init"}));
    EXPECT_EQ(fake_.messageBox.Texts(), (std::vector<std::string>{"ウィンドウ生成に失敗", "DirectXの初期化に失敗"}));
    EXPECT_FALSE(ZethLog::IsOpen());
    std::string log = ReadFile(LogPath());
    EXPECT_NE(log.find("<FONT color=\"RED\">\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x82\xF0\x8A\x4A\x82\xAF\x82\xDC\x82\xB9"
                       "\x82\xF1 [ no display ]"),
              std::string::npos) << log;
    EXPECT_EQ(log.substr(log.size() - 16), "</BODY>\n</HTML>\n");
}

// A service of Zeth::Start that cannot start (here the input): the game returns at once, and the
// program ends with the failure status.
TEST_F(Startup, AStartThatFailsEndsWithTheFailureStatus) {
    platform::FakeInputSource input;
    input.failOpen = true;
    platform::SetInputSource(&input);
    game_.useFlags = Zeth::kUseInput;
    const int32_t status = Run();
    platform::SetInputSource(nullptr);
    EXPECT_EQ(status, EXIT_FAILURE);
    EXPECT_FALSE(game_.startResult);
    EXPECT_EQ(game_.calls, (std::vector<std::string>{"init", "main"}));
}

TEST_F(Startup, SecondInstanceIsRefusedAndLeavesTheFirstLogAlone) {
    {
        std::ofstream first(LogPath(), std::ios::binary);
        first << "the running copy's log";
    }
    platform::InstanceLock runningCopy;
    ASSERT_EQ(runningCopy.TryAcquire(game_.name), platform::InstanceLock::Outcome::kAcquired);
    EXPECT_EQ(Run(), EXIT_FAILURE);  // the copy did not run
    EXPECT_EQ(fake_.messageBox.Texts(), (std::vector<std::string>{"２重起動は許可されてません"}));
    EXPECT_EQ(game_.calls, (std::vector<std::string>{"init"}));
    EXPECT_FALSE(fake_.window.exists);
    EXPECT_EQ(ReadFile(LogPath()), "the running copy's log");

    runningCopy.Release();
    fake_.messageBox.shown.clear();
    game_.calls.clear();
    Run();
    EXPECT_TRUE(fake_.messageBox.shown.empty());
    EXPECT_EQ(game_.calls.back(), "loop ended");
}

TEST_F(Startup, ALockThatCannotBeHadIsLoggedAndTheGameRuns) {
    std::ofstream(runtime_ + "/plain") << "a file where the runtime folder should be";
    for (const std::string& folder : {runtime_ + "/missing", runtime_ + "/plain"}) {
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        game_.calls.clear();
        game_.framesRun = 0;
        EXPECT_EQ(Run(), 0);
        EXPECT_TRUE(fake_.messageBox.shown.empty()) << folder;
        EXPECT_EQ(game_.calls.back(), "loop ended") << folder;
        EXPECT_NE(ReadFile(LogPath()).find(folder + "/" + game_.name + ".lock : "), std::string::npos) << folder;
    }
}

// A lock file this user may only read (another user made it) still finds a running copy. The
// second copy starts in a child that runs as nobody, for whom the file is read-only even when the
// suite runs as root; it answers 0 when it was refused.
TEST_F(Startup, AReadOnlyLockFileStillFindsARunningCopy) {
    const std::string lockFile = runtime_ + "/" + game_.name + ".lock";
    std::ofstream(lockFile).close();
    ASSERT_EQ(chmod(lockFile.c_str(), 0444), 0);
    platform::InstanceLock runningCopy;
    ASSERT_EQ(runningCopy.TryAcquire(game_.name), platform::InstanceLock::Outcome::kAcquired);
    const pid_t secondCopy = fork();
    if (secondCopy == 0) {
        if (!testing_support::DropRootToNobody() || access(lockFile.c_str(), W_OK) == 0) _exit(2);
        Run();
        _exit(fake_.messageBox.Texts() == std::vector<std::string>{"２重起動は許可されてません"} ? 0 : 1);
    }
    int status = -1;
    for (int waited = 0; waited < 10000 && waitpid(secondCopy, &status, WNOHANG) == 0; waited += 10) usleep(10000);
    if (!WIFEXITED(status) && kill(secondCopy, SIGKILL) == 0) waitpid(secondCopy, nullptr, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the second copy did not end";
    EXPECT_NE(WEXITSTATUS(status), 2) << "the lock file was writable, or root could not become nobody";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the second copy was not refused";
    runningCopy.Release();
    fake_.messageBox.shown.clear();
    Run();
    EXPECT_TRUE(fake_.messageBox.shown.empty());
    EXPECT_EQ(game_.calls.back(), "loop ended");
}

// A runtime folder this user may not write, and no lock file in it: the lock is not had, and
// the reason given is the folder's refusal, not the missing file the read-only retry then meets.
// The attempt runs in a child that runs as nobody, for whom the folder is read-only even when the
// suite runs as root; it answers 0 when the reason was right.
TEST_F(Startup, ARuntimeFolderThatCannotBeWrittenGivesItsOwnReasonForTheLock) {
    const std::string folder = runtime_ + "/read_only";
    ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    const pid_t child = fork();
    if (child == 0) {
        if (!testing_support::DropRootToNobody() || access(folder.c_str(), W_OK) == 0) _exit(2);
        platform::InstanceLock lock;
        std::string why;
        const bool unavailable = lock.TryAcquire(game_.name, &why) == platform::InstanceLock::Outcome::kUnavailable;
        _exit(unavailable && why == folder + "/" + game_.name + ".lock : " + std::strerror(EACCES) ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 2) << "the folder was writable, or root could not become nobody";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the lock was had, or its reason was not the folder's refusal";
}

TEST_F(Startup, ClosingTheWindowEndsTheLoopWithExitCodeZero) {
    game_.framesBeforeExit = -1;
    fake_.window.script.push_back({platform::wm::kKeyDown, 'A', 0});
    fake_.window.script.push_back({platform::wm::kClose, 0, 0});
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(game_.calls.back(), "loop ended");
    EXPECT_FALSE(fake_.window.exists);
    // Closing the window is not a quit request and logs no end banner.
    EXPECT_EQ(ReadFile(LogPath()).find(kEndBanner), std::string::npos);
}

TEST_F(Startup, AltF4AndSwallowedSystemCommands) {
    game_.framesBeforeExit = -1;
    fake_.window.script.push_back({platform::wm::kSysCommand, 0xF140, 0});
    fake_.window.script.push_back({platform::wm::kSysKeyDown, 0x73, 0});
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Zeth::IsQuitRequested());
    EXPECT_NE(ReadFile(LogPath()).find(kEndBanner), std::string::npos);
}

TEST_F(Startup, InactiveWindowRunsNoFrames) {
    game_.framesBeforeExit = -1;
    fake_.window.script.push_back({platform::wm::kActivateApp, 0, 0});
    for (int i = 0; i < 5; ++i) fake_.window.script.push_back({platform::wm::kKeyDown, 'B', 0});
    fake_.window.script.push_back({platform::wm::kClose, 0, 0});
    Run();
    // One frame ran before the window lost focus; afterwards the loop only pumped and slept.
    EXPECT_EQ(game_.framesRun, 1);
    int fiftyMsSleeps = 0;
    for (uint32_t ms : fake_.clock.sleeps) fiftyMsSleeps += ms == 50;
    EXPECT_GE(fiftyMsSleeps, 5);
}
