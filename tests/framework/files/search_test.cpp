// Where the file system finds a file: slots in order, loose before pack, the bare name last.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "framework/files/file_pack.h"
#include "framework/app/log.h"
#include "framework/files/file_system_fixture.h"
#include "platform/audio/reader.h"
#include "support/read_log.h"

namespace {

using namespace std::string_literals;

TEST_F(FileSystemTest, SearchOrderAcrossSlotsPacksAndTheBareName) {
    folder_.Write("data/texture/loose.bmp", "loose file");
    folder_.Write("data2/texture/loose.bmp", "slot five loose");
    folder_.Write("data2/texture/slot0pack.bmp", "slot five loose");
    folder_.Write("data2/texture/five.txt", "only in slot five");
    WritePack({{"texture\\loose.bmp", Bytes("packed")},
               {"texture\\only.bmp", Bytes(std::string(300, 'x') + "from the pack")},
               {"texture\\slot0pack.bmp", Bytes("slot zero pack")}});
    UseSlotZero();
    ZethFile::SetRootPath(5, (folder_.Path() + "/data2").c_str(), nullptr);

    for (const char* folder : {"texture", "texture\\", "TEXTURE"}) {
        ZethFile::SetCurrentPath(folder);
        EXPECT_EQ(LoadText("loose.bmp"), "loose file") << folder;
        EXPECT_EQ(LoadText("Only.BMP"), std::string(300, 'x') + "from the pack") << folder;  // expanded LZSS
        EXPECT_EQ(LoadText("slot0pack.bmp"), "slot zero pack") << folder;
        EXPECT_EQ(LoadText("five.txt"), "only in slot five") << folder;
        EXPECT_EQ(LoadText("absent.bmp"), "<none>") << folder;
    }
    EXPECT_TRUE(ZethFile::Load("only.bmp", nullptr, nullptr));
    EXPECT_TRUE(ZethFile::Load("loose.bmp", nullptr, nullptr));
    EXPECT_FALSE(ZethFile::Load("absent.bmp", nullptr, nullptr));

    // An absolute bare name is found last; a slot's root + current path + that name, which POSIX
    // reads with the doubled '/' as one, comes first.
    const std::string bare = folder_.Write("bare.txt", "bare name");
    EXPECT_EQ(LoadText(bare.c_str()), "bare name");
    folder_.Write("data/texture" + bare, "shadowing the bare name");
    EXPECT_EQ(LoadText(bare.c_str()), "shadowing the bare name");
}

TEST_F(FileSystemTest, ResolvePathNamesWhereTheFileIs) {
    folder_.Write("data/Sound/select_Cancel.wav", "wave");
    WritePack({{"sound\\packed.wav", Bytes("wave")}});
    UseSlotZero();
    ZethFile::SetCurrentPath("sound");

    char path[ZethFile::kPathSize];
    ASSERT_TRUE(ZethFile::ResolvePath(path, "SELECT_CANCEL.WAV"));
    EXPECT_EQ(std::string(path), Root() + "/Sound/select_Cancel.wav");
    EXPECT_EQ(LoadText("select_cancel.wav"), "wave");
    ASSERT_TRUE(ZethFile::ResolvePath(path, "packed.wav"));
    EXPECT_STREQ(path, "sound\\packed.wav");
    const std::string bare = folder_.Write("bare.txt", "x");
    ASSERT_TRUE(ZethFile::ResolvePath(path, bare.c_str()));
    EXPECT_EQ(std::string(path), bare);
    EXPECT_FALSE(ZethFile::ResolvePath(path, "missing.wav"));
}

TEST_F(FileSystemTest, OddLooseFiles) {
    folder_.Write("data/empty.txt", "");
    folder_.Write("data/folder.bmp/inside.txt", "a folder, not a file");
    UseSlotZero();

    void* buffer = nullptr;
    uint32_t size = 5;
    ASSERT_TRUE(ZethFile::Load("empty.txt", &buffer, &size));
    EXPECT_NE(buffer, nullptr);
    EXPECT_EQ(size, 0u);
    Zeth::MemoryFree(buffer);
    EXPECT_EQ(LoadText("folder.bmp"), "<none>");
    EXPECT_EQ(LoadText(std::string(400, 'n').c_str()), "<none>");  // longer than any path
}

// A named pipe in a file's place is refused as missing at once; opening it would wait for a writer
// forever (the alarm ends the test if it does).
TEST_F(FileSystemTest, NamedPipesAreMissingFilesAndPacks) {
    WritePack({{"table\\packed.dat", Bytes("in the pack")}});
    folder_.Write("data/plain.dat", "plain");
    ASSERT_EQ(mkfifo((Root() + "/pipe.dat").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((folder_.Path() + "/pipe.bin").c_str(), 0600), 0);
    alarm(20);
    UseSlotZero();
    EXPECT_EQ(LoadText("pipe.dat"), "<none>");
    EXPECT_EQ(ZethFile::FileOpen("pipe.dat", true), nullptr);
    EXPECT_EQ(LoadText("table\\packed.dat"), "in the pack");
    ZethFile::SetRootPath(0, Root().c_str(), (folder_.Path() + "/pipe.bin").c_str());
    EXPECT_EQ(LoadText("table\\packed.dat"), "<none>");
    EXPECT_EQ(platform::audio::OpenFileWindow(Root() + "/pipe.dat", 0, 0), nullptr);
    alarm(0);
}

TEST_F(FileSystemTest, DamagedPacksAndImagesNeverLoadGarbage) {
    const std::string badImage = "LZSS\x20\0\0\0\x00\x01"s;  // 32 bytes promised, stream ends early
    folder_.Write("data/table/image.dat", badImage);
    const std::vector<uint8_t> pack = WritePack({{"table\\image.dat", Bytes("good copy in the pack")},
                                           {"table\\bad.dat", Bytes(badImage)},
                                           {"table\\fine.dat", Bytes("fine")}});
    UseSlotZero();
    ZethFile::SetCurrentPath("table");
    // A loose image that fails to decode falls through to the same slot's pack.
    EXPECT_EQ(LoadText("image.dat"), "good copy in the pack");
    EXPECT_EQ(LoadText("bad.dat"), "<none>");
    EXPECT_EQ(LoadText("fine.dat"), "fine");

    // Headers whose table cannot be there: no pack at all.
    struct Header {
        uint32_t magic, count;
    };
    for (Header header : {Header{kPackMagic, 1000}, Header{kPackMagic, 0xFFFFFFFFu}, Header{0x4B434151u, 3}}) {
        std::vector<uint8_t> damaged = pack;
        std::memcpy(damaged.data(), &header, sizeof(header));
        folder_.Write("data.bin", damaged);
        UseSlotZero();
        EXPECT_EQ(LoadText("fine.dat"), "<none>") << header.count;
    }
}

TEST_F(FileSystemTest, APackThatCannotBeUsedIsReportedOnceAtTheFirstSearch) {
    folder_.Write("data/a.txt", "loose");
    const std::string logPath = folder_.Path() + "/log.html";
    struct Case {
        const char* name;
        std::string contents;  // of data.bin; empty for none, "/" for a folder in its place
        const char* text;
    } cases[] = {
        {"missing", "", "データパックがみつかりません"},
        {"damaged", "PACK but not a table", "データパックが壊れています"},
        {"a folder", "/", "データパックを読み込めません"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(PackPath());
        if (c.contents == "/") std::filesystem::create_directory(PackPath());
        else if (!c.contents.empty()) folder_.Write("data.bin", c.contents);
        ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
        UseSlotZero();
        EXPECT_EQ(LoadText("a.txt"), "loose") << c.name;
        EXPECT_EQ(LoadText("b.txt"), "<none>") << c.name;
        char path[ZethFile::kPathSize];
        EXPECT_FALSE(ZethFile::ResolvePath(path, "b.txt")) << c.name;
        ZethLog::Close();
        const std::string log = testing_support::ReadLog(logPath);
        std::string packName = PackPath();  // as the slot keeps it, with '\' separators
        std::replace(packName.begin(), packName.end(), '/', '\\');
        const std::string line = std::string(c.text) + " [ " + packName + " ]";
        const size_t first = log.find(line);
        EXPECT_NE(first, std::string::npos) << c.name << "\n" << log;
        EXPECT_EQ(log.find(line, first + 1), std::string::npos) << c.name << ": said more than once";
    }
}

TEST_F(FileSystemTest, AnEntryRunningPastThePackEndIsRefused) {
    std::vector<uint8_t> pack = WritePack({{"a.dat", Bytes("first")}, {"b.dat", Bytes("second")}});
    // Data lies in key order, so the entry with the larger key is the one cut short.
    const bool aIsLast = PathKey("a.dat") > PathKey("b.dat");
    const char* last = aIsLast ? "a.dat" : "b.dat";
    const char* other = aIsLast ? "b.dat" : "a.dat";
    pack.resize(pack.size() - 1);
    folder_.Write("data.bin", pack);
    UseSlotZero();
    const std::string logPath = folder_.Path() + "/log.html";
    ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
    EXPECT_EQ(LoadText(last), "<none>");
    ZethLog::Close();
    EXPECT_NE(testing_support::ReadLog(logPath).find("データパックの項目が壊れています [ "s + last + " ]"),
              std::string::npos);
    EXPECT_FALSE(ZethFile::Load(last, nullptr, nullptr));
    EXPECT_EQ(ZethFile::FileOpen(last, true), nullptr);
    EXPECT_EQ(LoadText(other), aIsLast ? "second" : "first");
}

}  // namespace
