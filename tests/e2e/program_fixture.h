// A copy of the real program in a folder of its own, so its log and lock are private to the test,
// started as a person would start it.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/as_nobody.h"
#include "support/read_file.h"

// Shift_JIS bytes of the banners "アプリケーション開始" and "アプリケーション終了".
inline const std::string kStartBanner = "\x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56\x83\x87\x83\x93\x8A\x4A\x8E\x6E";
inline const std::string kEndBanner = "\x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56\x83\x87\x83\x93\x8F\x49\x97\xB9";

class Program : public ::testing::Test {
protected:
    using Environment = std::vector<std::pair<std::string, std::string>>;

    void SetUp() override {
        const char* build = std::getenv("TANZLOR_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        build_ = build;
        root_ = std::filesystem::path(::testing::TempDir()) / ("tanzlor_e2e_" + std::to_string(getpid()));
        std::filesystem::remove_all(root_);
        InstallIn(root_);
    }
    // Makes `folder` the game's folder: the program and its data pack, and a runtime folder.
    void InstallIn(const std::filesystem::path& folder) {
        folder_ = folder;
        std::filesystem::create_directories(folder_ / "runtime");
        for (const char* file : {"tanzlor", "data.bin"}) std::filesystem::copy_file(build_ / file, folder_ / file);
    }
    // Copies a failed test left running are ended with it.
    void TearDown() override {
        for (pid_t pid : running_) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        std::filesystem::remove_all(root_);
    }

    // Starts the copy headless with its standard error in stderrFile; `environment` is applied
    // after that (an empty value removes the variable).
    pid_t Start(const std::string& stderrFile, const Environment& environment = {}) {
        pid_t pid = fork();
        if (pid == 0) {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("XDG_RUNTIME_DIR", (folder_ / "runtime").c_str(), 1);
            for (const auto& [name, value] : environment) {
                if (value.empty()) unsetenv(name.c_str());
                else setenv(name.c_str(), value.c_str(), 1);
            }
            FILE* err = std::freopen((folder_ / stderrFile).c_str(), "w", stderr);
            (void)err;
            int closedPipe[2];
            if (stderrClosedPipe_ && (pipe(closedPipe) != 0 || close(closedPipe[0]) != 0 || dup2(closedPipe[1], 2) < 0)) {
                _exit(124);
            }
            // Root writes anywhere: a run that must meet the folder's permissions runs as nobody.
            if (asNobody_ && !testing_support::DropRootToNobody()) _exit(126);
            const rlimit fileSize{fileSizeLimit_, fileSizeLimit_};
            if (fileSizeLimit_ != RLIM_INFINITY && setrlimit(RLIMIT_FSIZE, &fileSize) != 0) _exit(125);
            std::string exe = (folder_ / "tanzlor").string();
            execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        running_.push_back(pid);
        return pid;
    }

    static int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

    // Time enough for a copy to end in order, also on a loaded machine; a copy that hangs fails
    // its test then, not at the test runner's time-out.
    static constexpr int kEndWithinMs = 10000;

    // The exit status, or -1 when the process has not ended within `ms`.
    int WaitExitWithin(pid_t pid, int ms) {
        for (int waited = 0; waited <= ms; waited += 10) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                std::erase(running_, pid);
                return ExitStatus(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    // True while the process runs. A copy reaped already (by an earlier call) has ended.
    bool Running(pid_t pid) {
        if (std::find(running_.begin(), running_.end(), pid) == running_.end()) return false;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) != pid) return true;
        std::erase(running_, pid);
        return false;
    }

    bool WaitForLog(const std::string& text) {
        for (int i = 0; i < 200; ++i) {
            if (testing_support::ReadFile(LogPath().string()).find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // The game goes on logging its resources after the start banner: wait until the log rests.
    std::string SettledLog() {
        std::string before = testing_support::ReadFile(LogPath());
        for (int i = 0; i < 100; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::string now = testing_support::ReadFile(LogPath());
            if (now == before) break;
            before = now;
        }
        return before;
    }

    // The log of a run that ended: the page whole, with the end banner and the closing tags.
    void ExpectEndedLog() {
        std::string log = testing_support::ReadFile(LogPath().string());
        EXPECT_EQ(log.rfind("<HTML>\n<HEAD>\n", 0), 0u);
        EXPECT_NE(log.find(kEndBanner), std::string::npos);
        ASSERT_GE(log.size(), 16u);
        EXPECT_EQ(log.substr(log.size() - 16), "</BODY>\n</HTML>\n");
    }

    std::filesystem::path LogPath() const { return folder_ / "system_log.html"; }

    std::filesystem::path build_;   // the build folder, which holds the built program and data
    std::filesystem::path root_;    // removed after the test
    std::filesystem::path folder_;  // the game's folder, root_ or a folder inside it
    std::vector<pid_t> running_;
    bool asNobody_ = false;
    rlim_t fileSizeLimit_ = RLIM_INFINITY;  // the largest file the copy may write (ulimit -f)
    bool stderrClosedPipe_ = false;  // standard error is a pipe nobody reads (`tanzlor 2>&1 | true`)
};
