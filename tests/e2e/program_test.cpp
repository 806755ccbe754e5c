// Runs the real program headless, as a person would start it, and checks what it leaves behind.
#include <sys/stat.h>

#include <fstream>
#include <functional>

#include "program_fixture.h"

using testing_support::ReadFile;

// A second copy is refused, from this session or from another one (another runtime folder, so
// another single-instance lock) in the same folder, and the running copy keeps its log.
TEST_F(Program, StartsRefusesASecondCopyAndStopsOnSigterm) {
    pid_t first = Start("first.err");
    ASSERT_TRUE(WaitForLog(kStartBanner)) << ReadFile(folder_ / "first.err");
    std::string logWhileRunning = SettledLog();

    std::filesystem::create_directories(folder_ / "other_runtime");
    const Environment otherSession = {{"XDG_RUNTIME_DIR", (folder_ / "other_runtime").string()}};
    for (const Environment& session : {Environment{}, otherSession}) {
        pid_t second = Start("second.err", session);
        const std::string which = session.empty() ? "this session" : "another session";
        EXPECT_EQ(WaitExitWithin(second, kEndWithinMs), EXIT_FAILURE) << which;
        EXPECT_NE(ReadFile(folder_ / "second.err").find("２重起動は許可されてません"), std::string::npos) << which;
        EXPECT_EQ(ReadFile(LogPath()), logWhileRunning) << which;
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(first, SIGTERM);
    EXPECT_EQ(WaitExitWithin(first, kEndWithinMs), 0);
    ExpectEndedLog();
}

// Standard error that is a pipe whose reader has gone (`tanzlor 2>&1 | true`): what the copy says
// there is lost, and it ends as it would have (a refused copy's failure), not killed by the write.
TEST_F(Program, AClosedPipeOnStandardErrorIsAFailedWriteNotTheEnd) {
    pid_t first = Start("first.err");
    ASSERT_TRUE(WaitForLog(kStartBanner)) << ReadFile(folder_ / "first.err");
    stderrClosedPipe_ = true;
    pid_t second = Start("second.err");
    EXPECT_EQ(WaitExitWithin(second, kEndWithinMs), EXIT_FAILURE);
    kill(first, SIGTERM);
    EXPECT_EQ(WaitExitWithin(first, kEndWithinMs), 0);
}

// A game folder whose name holds the Shift_JIS bytes 0x83 0x5C ("ソ", whose second byte is '\\'):
// the tunes beside the program are opened all the same. The title's attract demo, after ten
// seconds without a key, plays one; the program then holds it open.
TEST_F(Program, TunesOpenInAFolderWhoseNameHoldsABackslashByte) {
    InstallIn(root_ / "\x83\x5C");
    std::filesystem::create_directories(folder_ / "fixbgm");
    std::filesystem::copy_file(build_ / "fixbgm" / "aiko_t2_vo.ogg", folder_ / "fixbgm" / "aiko_t2_vo.ogg");
    pid_t pid = Start("tune.err");
    const std::filesystem::path descriptors = "/proc/" + std::to_string(pid) + "/fd";
    auto tuneOpen = [&] {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(descriptors, error)) {
            const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
            if (target == (folder_ / "fixbgm" / "aiko_t2_vo.ogg").string()) return true;
        }
        return false;
    };
    bool opened = false;
    for (int i = 0; i < 600 && !opened && Running(pid); ++i) {  // the demo starts after 10 s; 60 s at most
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        opened = tuneOpen();
    }
    EXPECT_TRUE(opened) << ReadFile(folder_ / "tune.err");
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExitWithin(pid, kEndWithinMs), 0);
}

// A data pack that cannot be used, and no loose files in its place: the start says so once and
// the program ends with a failure status, instead of a title of white blocks.
TEST_F(Program, AStartWithoutUsableDataSaysSoAndFails) {
    namespace fs = std::filesystem;
    const std::string pack = ReadFile(build_ / "data.bin");
    std::string unsorted = pack;  // the first two entries of the table the other way round
    std::swap_ranges(unsorted.begin() + 8, unsorted.begin() + 88, unsorted.begin() + 88);
    std::string random(4096, '\0');
    for (size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>(i * 131 + 7);
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;  // data.bin, or what stands in its place
        bool fails;
    };
    auto writing = [](std::string bytes) {
        return [bytes](const fs::path& at) { std::ofstream(at, std::ios::binary) << bytes; };
    };
    const Case cases[] = {
        {"the pack", writing(pack), false},
        {"missing", [](const fs::path&) {}, true},
        {"empty", writing(""), true},
        {"a folder", [](const fs::path& at) { fs::create_directory(at); }, true},
        {"a named pipe", [](const fs::path& at) { mkfifo(at.c_str(), 0644); }, true},
        {"random bytes", writing(random), true},
        {"an unsorted table", writing(unsorted), true},
    };
    const std::string said = "データ（data.bin と data フォルダ）が読めないよぅ";
    for (const Case& c : cases) {
        fs::remove_all(folder_ / "data.bin");
        c.make(folder_ / "data.bin");
        pid_t pid = Start("data.err");
        if (!c.fails) {
            EXPECT_TRUE(WaitForLog(kStartBanner)) << c.name;
            kill(pid, SIGTERM);
        }
        EXPECT_EQ(WaitExitWithin(pid, kEndWithinMs), c.fails ? EXIT_FAILURE : 0) << c.name;
        const std::string err = ReadFile(folder_ / "data.err");
        const size_t first = err.find(said);
        EXPECT_EQ(first != std::string::npos, c.fails) << c.name << "\n" << err;
        if (first != std::string::npos) {
            EXPECT_EQ(err.find(said, first + 1), std::string::npos) << c.name;
        }
    }
}

// No window can be had (no display at all, or a video driver that does not exist): the program
// did not run, so it ends with the failure status, and its log says why.
TEST_F(Program, AStartWithoutAWindowSaysWhyAndFails) {
    const Environment noDisplay = {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
    const Environment noSuchDriver = {{"SDL_VIDEODRIVER", "nonesuch"}};
    // Shift_JIS bytes of "ウィンドウを開けません [ ", then the window system's reason.
    const std::string said = "<FONT color=\"RED\">\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x82\xF0\x8A\x4A\x82\xAF\x82\xDC\x82\xB9\x82\xF1 [ SDL video: ";
    for (const Environment& environment : {noDisplay, noSuchDriver}) {
        const std::string which = environment.size() == 1 ? "a driver that does not exist" : "no display";
        pid_t pid = Start("window.err", environment);
        EXPECT_EQ(WaitExitWithin(pid, kEndWithinMs), EXIT_FAILURE) << which;
        EXPECT_NE(ReadFile(LogPath()).find(said), std::string::npos) << which << "\n" << ReadFile(LogPath());
    }
}

// The terminal closing under the game ends it in order, as a termination request does.
TEST_F(Program, HangUpEndsInOrder) {
    pid_t pid = Start("hangup.err");
    ASSERT_TRUE(WaitForLog(kStartBanner)) << ReadFile(folder_ / "hangup.err");
    kill(pid, SIGHUP);
    EXPECT_EQ(WaitExitWithin(pid, 5000), 0);
    ExpectEndedLog();
}

// Standard error is for what the player must know: a start on the machine's own sound output
// (none, or no sound card: the game runs silent) prints nothing there.
TEST_F(Program, AStartWithTheMachinesSoundPrintsNothingOnStandardError) {
    pid_t pid = Start("sound.err", {{"SDL_AUDIODRIVER", ""}});
    ASSERT_TRUE(WaitForLog(kStartBanner)) << ReadFile(folder_ / "sound.err");
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExitWithin(pid, kEndWithinMs), 0);
    EXPECT_EQ(ReadFile(folder_ / "sound.err"), "");
}

// A file-size limit (ulimit -f) below what the log writes at start: the write past it fails, the
// log says so on standard error, and the program runs on and ends in order.
TEST_F(Program, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProgram) {
    fileSizeLimit_ = 4096;
    pid_t pid = Start("limit.err");
    const std::string said = "ログファイルに書き込めません";
    bool told = false;
    for (int i = 0; i < 200 && !told && Running(pid); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        told = ReadFile(folder_ / "limit.err").find(said) != std::string::npos;
    }
    ASSERT_TRUE(told) << ReadFile(folder_ / "limit.err");
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExitWithin(pid, 5000), 0);
    EXPECT_LE(std::filesystem::file_size(LogPath()), 4096u);
}

// The game's folder cannot be written: the game runs all the same (without its log) and says
// once, at the start, that it cannot keep scores and replays.
TEST_F(Program, InAReadOnlyFolderRunsAndSaysOnceThatItCannotSave) {
    namespace fs = std::filesystem;
    const fs::path err = folder_ / "readonly.err";
    { std::ofstream made(err); }  // made now: nothing can be made in the folder later
    fs::permissions(err, fs::perms::all, fs::perm_options::add);
    fs::permissions(folder_ / "runtime", fs::perms::all, fs::perm_options::add);
    fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    asNobody_ = true;
    const std::string said = "フォルダに書き込めないため、スコアとリプレイを保存できません [ qvscore.dat ]";
    pid_t pid = Start("readonly.err");
    std::string text;
    for (int i = 0; i < 100 && text.find(said) == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        text = ReadFile(err.string());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // it goes on running
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExitWithin(pid, kEndWithinMs), 0);
    fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::add);
    text = ReadFile(err.string());
    const size_t first = text.find(said);
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_EQ(text.find(said, first + 1), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(folder_ / "qvscore.dat"));
}
