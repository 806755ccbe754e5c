// Runs the real program headless, as a person would start it, and checks what it leaves behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include "support/read_file.h"

namespace fs = std::filesystem;

namespace {

using testing_support::ReadFile;


// Shift_JIS bytes of the banners "アプリケーション開始" and "アプリケーション終了".
const std::string kStartBanner = "\x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56\x83\x87\x83\x93\x8A\x4A\x8E\x6E";
const std::string kEndBanner = "\x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56\x83\x87\x83\x93\x8F\x49\x97\xB9";

// A copy of the program in a folder of its own, so its log and lock are private to the test.
class Program : public ::testing::Test {
protected:
    void SetUp() override {
        const char* build = std::getenv("TANZLOR_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        folder_ = fs::path(::testing::TempDir()) / ("tanzlor_e2e_" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "runtime");
        fs::copy_file(fs::path(build) / "tanzlor", folder_ / "tanzlor");
    }
    void TearDown() override { fs::remove_all(folder_); }

    pid_t Start(const std::string& stderrFile) {
        pid_t pid = fork();
        if (pid == 0) {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("XDG_RUNTIME_DIR", (folder_ / "runtime").c_str(), 1);
            FILE* err = std::freopen((folder_ / stderrFile).c_str(), "w", stderr);
            (void)err;
            std::string exe = (folder_ / "tanzlor").string();
            execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    }

    static int WaitExit(pid_t pid) {
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    bool WaitForLog(const std::string& text) {
        for (int i = 0; i < 200; ++i) {
            if (ReadFile(LogPath().string()).find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // The game goes on logging its resources after the start banner: wait until the log rests.
    std::string SettledLog() {
        std::string before = ReadFile(LogPath());
        for (int i = 0; i < 100; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::string now = ReadFile(LogPath());
            if (now == before) break;
            before = now;
        }
        return before;
    }

    fs::path LogPath() const { return folder_ / "system_log.html"; }

    fs::path folder_;
};

}  // namespace

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
    std::string log = ReadFile(LogPath().string());
    EXPECT_EQ(log.rfind("<HTML>\n<HEAD>\n", 0), 0u);
    EXPECT_NE(log.find(kEndBanner), std::string::npos);
    ASSERT_GE(log.size(), 16u);
    EXPECT_EQ(log.substr(log.size() - 16), "</BODY>\n</HTML>\n");
}
