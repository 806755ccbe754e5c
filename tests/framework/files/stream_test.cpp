// Streams over pack entries and loose files: reads stop at the stream's end, seeks stay inside.
#include <string>

#include "framework/files/file_system_fixture.h"

namespace {

// Reads the rest of a stream in pieces of the given size; the counts go to counts.
std::string ReadAll(ZethFile::Stream* stream, uint32_t piece, std::vector<uint32_t>* counts) {
    std::string text;
    for (;;) {
        std::string buffer(piece, '#');
        const uint32_t got = ZethFile::FileRead(stream, piece, buffer.data());
        counts->push_back(got);
        if (got == 0) {
            EXPECT_EQ(buffer, std::string(piece, '#'));  // at the end the buffer stays as it was
            return text;
        }
        text += buffer.substr(0, got);
    }
}

TEST_F(FileSystemTest, StreamsReadExactlyTheirEntryOrFile) {
    folder_.Write("data/Table/Stage1.csv", "1,2,3\n");
    WritePack({{"table\\a.csv", Bytes("AAAAAAAAAA")}, {"table\\b.csv", Bytes("0123456789")}, {"table\\c.csv", Bytes("CCCCCCCCCC")}});
    UseSlotZero();
    ZethFile::SetCurrentPath("table");

    ZethFile::Stream* entry = ZethFile::FileOpen("B.CSV", false);
    ZethFile::Stream* second = ZethFile::FileOpen("b.csv", false);  // a handle of its own
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ZethFile::FileGetSize(entry), 10u);
    std::vector<uint32_t> counts;
    EXPECT_EQ(ReadAll(entry, 4, &counts), "0123456789");
    EXPECT_EQ(counts, (std::vector<uint32_t>{4, 4, 2, 0}));
    counts.clear();
    EXPECT_EQ(ReadAll(second, 100, &counts), "0123456789");
    EXPECT_EQ(counts, (std::vector<uint32_t>{10, 0}));
    ZethFile::FileClose(entry);
    ZethFile::FileClose(second);

    ZethFile::Stream* loose = ZethFile::FileOpen("stage1.csv", false);
    ASSERT_NE(loose, nullptr);
    counts.clear();
    EXPECT_EQ(ReadAll(loose, 5, &counts), "1,2,3\n");
    ZethFile::FileClose(loose);

    EXPECT_EQ(ZethFile::FileOpen("missing.csv", false), nullptr);
    ZethFile::FileClose(nullptr);
    EXPECT_EQ(ZethFile::FileGetSize(nullptr), 0u);
    EXPECT_EQ(ZethFile::FileRead(nullptr, 4, nullptr), 0u);
    EXPECT_FALSE(FileSeek(nullptr, 0, 1));
}

TEST_F(FileSystemTest, SeeksStayInsideTheStream) {
    folder_.Write("data/loose.csv", "0123456789");
    WritePack({{"a.csv", Bytes("AAAAAAAAAA")}, {"packed.csv", Bytes("0123456789")}, {"z.csv", Bytes("ZZZZZZZZZZ")}});
    UseSlotZero();

    // Each step: mode, offset, whether it succeeds, then the byte read there ('-' = none).
    struct Step {
        int mode;
        int32_t offset;
        bool ok;
        char next;
    };
    const Step steps[] = {
        {1, 0, true, '0'},  {0, 3, true, '4'},   {2, 0, true, '-'},  {2, 1, false, '-'},
        {2, -1, true, '9'}, {1, 10, true, '-'},  {1, 11, false, '-'}, {1, -1, false, '-'},
        {2, -10, true, '0'}, {0, -2, false, '1'}, {7, 100, true, '2'}, {0, -3, true, '0'},
    };
    for (const char* name : {"packed.csv", "loose.csv"}) {
        ZethFile::Stream* stream = ZethFile::FileOpen(name, true);
        ASSERT_NE(stream, nullptr) << name;
        for (const Step& step : steps) {
            EXPECT_EQ(FileSeek(stream, step.offset, step.mode), step.ok) << name << " " << step.mode << " " << step.offset;
            char byte = '-';
            ZethFile::FileRead(stream, 1, &byte);
            EXPECT_EQ(byte, step.next) << name << " " << step.mode << " " << step.offset;
        }
        ZethFile::FileClose(stream);
    }
}

}  // namespace
