#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "framework/files/file_write.h"
#include "support/no_free_descriptor.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Runs with a temporary folder made current, as the executable's folder is for the game.
class UserFiles : public testing::Test {
protected:
    UserFiles() : old_(fs::current_path()) { fs::current_path(folder_.Path()); }
    ~UserFiles() override { fs::current_path(old_); }
    static std::string Read(const char* path) {
        std::vector<uint8_t> data;
        return ZethUserFile::HoldsData(ZethUserFile::Read(path, &data, 1024)) ? std::string(data.begin(), data.end())
                                                                              : "<missing>";
    }

    TempFolder folder_;
    fs::path old_;
};

TEST_F(UserFiles, WritesReplaceWholeFilesInFoldersOfAnyCaseUnderTheirOwnName) {
    folder_.Write("REPLAY/old.bin", "old");
    folder_.Write("REPLAY/last.bin.tmp", "left by a crash");
    ASSERT_TRUE(ZethUserFile::WriteReplacing("replay\\last.bin", "abc", 3));
    EXPECT_EQ(Read("REPLAY/last.bin"), "abc");
    EXPECT_FALSE(fs::exists("REPLAY/last.bin.tmp"));
    // The file itself goes under its name as written: a namesake in another case is not it.
    ASSERT_TRUE(ZethUserFile::WriteReplacing("replay\\OLD.BIN", "", 0));
    EXPECT_TRUE(fs::exists("REPLAY/OLD.BIN"));
    EXPECT_EQ(fs::file_size("REPLAY/OLD.BIN"), 0u);
    EXPECT_EQ(Read("REPLAY/old.bin"), "old");
    ASSERT_TRUE(ZethUserFile::Rename("replay\\last.bin", "replay\\Old.bin"));
    EXPECT_EQ(Read("REPLAY/Old.bin"), "abc");
    EXPECT_EQ(Read("REPLAY/old.bin"), "old");
    EXPECT_EQ(Read("nowhere/x.bin"), "<missing>");
    ASSERT_EQ(mkfifo("pipe.dat", 0600), 0);
    alarm(20);  // a pipe opened for reading would wait for a writer forever
    EXPECT_EQ(Read("pipe.dat"), "<missing>");
    alarm(0);
    EXPECT_FALSE(ZethUserFile::WriteReplacing("nowhere\\x.bin", "abc", 3));
}

// A failed write keeps the old file and says why; an empty folder at the temporary name is no
// reason to fail (it is removed), a folder with something in it is left alone.
TEST_F(UserFiles, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    using ZethUserFile::WriteFailure;
    rlimit files{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
    struct Case {
        const char* name;
        std::function<void()> fault;
        WriteFailure failure;
    };
    const Case cases[] = {
        {"empty folder at the temporary name", [] { fs::create_directory("busy.tmp"); }, WriteFailure::kNone},
        {"folder with a file at the temporary name", [this] { folder_.Write("busy.tmp/inside", "left"); },
         WriteFailure::kTemporaryInTheWay},
        {"no file descriptor left", [&] { testing_support::LeaveNoFreeDescriptor(&files); },
         WriteFailure::kTooManyOpenFiles},
    };
    for (const Case& c : cases) {
        fs::remove_all("busy.tmp");
        folder_.Write("busy", "kept");
        c.fault();
        WriteFailure failure = WriteFailure::kOther;
        const bool written = ZethUserFile::WriteReplacing("busy", "new", 3, &failure);
        setrlimit(RLIMIT_NOFILE, &files);
        EXPECT_EQ(written, c.failure == WriteFailure::kNone) << c.name;
        EXPECT_EQ(failure, c.failure) << c.name;
        EXPECT_EQ(Read("busy"), written ? "new" : "kept") << c.name;
        if (failure == WriteFailure::kTemporaryInTheWay) {
            EXPECT_EQ(Read("busy.tmp/inside"), "left");
        }
    }
}

TEST_F(UserFiles, CopiesNeverReplaceAndFoldersAreMadeOnce) {
    folder_.Write("a.bin", "first");
    folder_.Write("B.BIN", "second");
    EXPECT_TRUE(ZethUserFile::CopyNew("a.bin", "c.bin", 1024));
    EXPECT_EQ(Read("c.bin"), "first");
    EXPECT_FALSE(ZethUserFile::CopyNew("a.bin", "b.bin", 1024));
    EXPECT_EQ(Read("B.BIN"), "second");
    EXPECT_FALSE(ZethUserFile::CopyNew("missing.bin", "d.bin", 1024));
    EXPECT_FALSE(fs::exists("d.bin"));
    EXPECT_FALSE(fs::exists("c.bin.tmp"));
    // A source longer than its format holds is not read (sparse here: 3 GB cost no disk).
    EXPECT_TRUE(ZethUserFile::CopyNew("a.bin", "f.bin", 5));
    EXPECT_FALSE(ZethUserFile::CopyNew("a.bin", "g.bin", 4));
    folder_.Write("huge.bin", "head");
    fs::resize_file("huge.bin", 3ull << 30);
    EXPECT_FALSE(ZethUserFile::CopyNew("huge.bin", "h.bin", 1024));
    EXPECT_FALSE(fs::exists("g.bin"));
    EXPECT_FALSE(fs::exists("h.bin"));
    fs::remove("f.bin");
    fs::remove("huge.bin");

    EXPECT_TRUE(ZethUserFile::Rename("A.bin", "c.bin"));
    EXPECT_EQ(Read("c.bin"), "first");
    EXPECT_FALSE(ZethUserFile::Exists("a.bin"));
    EXPECT_FALSE(ZethUserFile::Rename("a.bin", "e.bin"));

    EXPECT_TRUE(ZethUserFile::MakeFolder("replay"));
    EXPECT_TRUE(ZethUserFile::MakeFolder("REPLAY"));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 3);  // B.BIN, c.bin, replay
    EXPECT_FALSE(ZethUserFile::MakeFolder("c.bin"));
}

TEST_F(UserFiles, ReadsNeverTakeMoreThanTheLimit) {
    using ZethUserFile::ReadResult;
    folder_.Write("ten.bin", "0123456789");
    fs::create_directory("folder.bin");
    struct Case {
        const char* path;
        size_t limit;
        ReadResult result;
        std::string data;
    } cases[] = {
        {"ten.bin", 11, ReadResult::kWhole, "0123456789"},
        {"TEN.BIN", 10, ReadResult::kWhole, "0123456789"},
        {"ten.bin", 9, ReadResult::kTooLarge, "012345678"},
        {"ten.bin", 0, ReadResult::kTooLarge, ""},
        {"none.bin", 10, ReadResult::kMissing, ""},
        {"folder.bin", 10, ReadResult::kUnreadable, ""},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> data{1, 2, 3};
        EXPECT_EQ(ZethUserFile::Read(c.path, &data, c.limit), c.result) << c.path << " " << c.limit;
        EXPECT_EQ(std::string(data.begin(), data.end()), c.data) << c.path << " " << c.limit;
    }

    // A sparse file of nearly 2 GB costs no more than the limit.
    folder_.Write("huge.bin", "head");
    fs::resize_file("huge.bin", 1900ull * 1024 * 1024);
    std::vector<uint8_t> data;
    EXPECT_EQ(ZethUserFile::Read("huge.bin", &data, 78152), ReadResult::kTooLarge);
    ASSERT_EQ(data.size(), 78152u);
    EXPECT_EQ(std::string(data.begin(), data.begin() + 5), std::string("head\0", 5));
}

}  // namespace
