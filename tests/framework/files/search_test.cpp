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

// A folder name is read character by character: one that ends in a two-byte character whose
// trail byte is '\' (0x5C) still gets its separator, and one that ends in a real '\' after a
// run of two-byte characters gets no second one.
TEST_F(FileSystemTest, FolderNamesEndingInTwoByteCharacters) {
    WritePack({{"\x95\x5c\\a.bmp", Bytes("under 95 5C")}, {"\x81\x95\x95\x5c\\b.bmp", Bytes("under 81 95 95 5C")}});
    UseSlotZero();
    ZethFile::SetCurrentPath("\x95\x5c");
    EXPECT_EQ(LoadText("a.bmp"), "under 95 5C");
    ZethFile::SetCurrentPath("\x81\x95\x95\x5c\\");
    EXPECT_EQ(LoadText("b.bmp"), "under 81 95 95 5C");
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

// A pack header claiming `count` entries, in a sparse file just large enough to hold them.
std::string PackClaiming(uint32_t count) {
    std::string header = "PACK" + std::string(4, '\0');
    std::memcpy(header.data() + 4, &count, sizeof(count));
    return header;
}

TEST_F(FileSystemTest, APackThatCannotBeUsedIsReportedOnceAtTheFirstSearch) {
    folder_.Write("data/a.txt", "loose");
    const std::string logPath = folder_.Path() + "/log.html";
    // A sound table of two entries, written the other way round.
    std::vector<uint8_t> unsorted = WritePack({{"x.dat", Bytes("x")}, {"y.dat", Bytes("y")}});
    std::swap_ranges(unsorted.begin() + 8, unsorted.begin() + 88, unsorted.begin() + 88);
    struct Case {
        const char* name;
        std::string contents;  // of data.bin; empty for none, "/" for a folder in its place
        uint32_t claimed;      // entries the header claims, the file made (sparse) to hold them; 0: as written
        const char* text;      // null: a pack that is used, nothing said
    } cases[] = {
        {"missing", "", 0, "データパックがみつかりません"},
        {"damaged", "PACK but not a table", 0, "データパックが壊れています"},
        {"a folder", "/", 0, "データパックを読み込めません"},
        {"unsorted table", std::string(unsorted.begin(), unsorted.end()), 0, "データパックが壊れています"},
        {"as many entries as a pack may hold", PackClaiming(kPackMaxEntries), kPackMaxEntries, nullptr},
        {"one entry more", PackClaiming(kPackMaxEntries + 1), kPackMaxEntries + 1, "データパックが壊れています"},
        {"41 million entries in 3.4 GB", PackClaiming(41000000), 41000000, "データパックが壊れています"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(PackPath());
        if (c.contents == "/") std::filesystem::create_directory(PackPath());
        else if (!c.contents.empty()) folder_.Write("data.bin", c.contents);
        if (c.claimed != 0) std::filesystem::resize_file(PackPath(), kPackHeaderSize + uint64_t{c.claimed} * 80);
        ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
        UseSlotZero();
        EXPECT_EQ(LoadText("a.txt"), "loose") << c.name;
        EXPECT_EQ(LoadText("b.txt"), "<none>") << c.name;
        char path[ZethFile::kPathSize];
        EXPECT_FALSE(ZethFile::ResolvePath(path, "b.txt")) << c.name;
        ZethLog::Close();
        const std::string log = testing_support::ReadLog(logPath);
        if (c.text == nullptr) {
            EXPECT_EQ(log.find("データパック"), std::string::npos) << c.name << "\n" << log;
            continue;
        }
        std::string packName = PackPath();  // as the slot keeps it, with '\' separators
        std::replace(packName.begin(), packName.end(), '/', '\\');
        const std::string line = std::string(c.text) + " [ " + packName + " ]";
        const size_t first = log.find(line);
        EXPECT_NE(first, std::string::npos) << c.name << "\n" << log;
        EXPECT_EQ(log.find(line, first + 1), std::string::npos) << c.name << ": said more than once";
    }
}

// A whole-file load takes no more than kLoadLimit bytes, stored or expanded: a larger loose file or
// pack entry (sparse here: a huge file costs no disk) is damaged, refused at once and said once.
TEST_F(FileSystemTest, AFileLargerThanTheLoadLimitIsRefusedAsDamaged) {
    const std::string logPath = folder_.Path() + "/log.html";
    // An "LZSS" image that claims to expand to `decoded` bytes; a stream of zeros (sparse) gives
    // 24 bytes for every 17, so three quarters of the limit holds them.
    auto lzss = [](uint32_t decoded) {
        std::string bytes = "LZSS" + std::string(4, '\0');
        std::memcpy(bytes.data() + 4, &decoded, sizeof(decoded));
        return bytes;
    };
    struct Case {
        const char* name;
        bool inPack;
        std::string head;  // the file's first bytes; the rest, to `size`, is zeros
        uint64_t size;
        bool loaded;
    } cases[] = {
        {"loose, at the limit", false, "BM", ZethFile::kLoadLimit, true},
        {"loose, a byte over", false, "BM", ZethFile::kLoadLimit + 1ull, false},
        {"loose, 3 GB", false, "BM", 3ull << 30, false},
        {"pack entry, a byte over", true, "BM", ZethFile::kLoadLimit + 1ull, false},
        {"expanding to the limit", false, lzss(ZethFile::kLoadLimit), ZethFile::kLoadLimit / 4 * 3, true},
        {"expanding to a byte over", false, lzss(ZethFile::kLoadLimit + 1), ZethFile::kLoadLimit / 4 * 3, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder_.Path() + "/data");
        std::filesystem::remove_all(PackPath());
        const std::string name = "texture\\bg.bmp";
        if (c.inPack) {
            std::vector<uint8_t> pack = WritePack({{name, Bytes(c.head)}});
            // The only entry's size, and the file grown to hold it.
            const uint32_t size = static_cast<uint32_t>(c.size);
            std::memcpy(pack.data() + kPackHeaderSize + 76, &size, sizeof(size));
            folder_.Write("data.bin", pack);
            std::filesystem::resize_file(PackPath(), pack.size() - c.head.size() + c.size);
        } else {
            folder_.Write("data/texture/bg.bmp", c.head);
            std::filesystem::resize_file(folder_.Path() + "/data/texture/bg.bmp", c.size);
        }
        ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
        UseSlotZero();
        ZethFile::SetCurrentPath("texture");
        void* buffer = nullptr;
        uint32_t size = 0;
        EXPECT_EQ(ZethFile::Load("bg.bmp", &buffer, &size), c.loaded) << c.name;
        Zeth::MemoryFree(buffer);
        ZethLog::Close();
        const std::string log = testing_support::ReadLog(logPath);
        const std::string said = "ファイルが大きすぎるため、壊れているとみなして読み込みません [ ";
        const size_t first = log.find(said);
        EXPECT_EQ(first == std::string::npos, c.loaded) << c.name << "\n" << log;
        if (first != std::string::npos) {
            EXPECT_EQ(log.find(said, first + 1), std::string::npos) << c.name;
        }
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
