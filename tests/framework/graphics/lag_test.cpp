#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/files/file_system.h"
#include "framework/files/temp_folder.h"
#include "framework/graphics/lag_internal.h"

namespace {

struct Entry {
    std::string name;
    uint32_t width, height, format;
    std::vector<uint8_t> data;
    uint32_t storedSize = UINT32_MAX;  // UINT32_MAX: the size of data
};

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> Archive(const std::vector<Entry>& entries, const char* signature = "LAG") {
    std::vector<uint8_t> out(8, 0);
    std::memcpy(out.data(), signature, std::min<size_t>(std::strlen(signature), 8));
    for (const Entry& e : entries) {
        char name[16] = {};
        std::memcpy(name, e.name.c_str(), std::min(e.name.size(), sizeof(name)));
        out.insert(out.end(), name, name + 16);
        Put32(out, e.width);
        Put32(out, e.height);
        Put32(out, e.format);
        Put32(out, e.storedSize == UINT32_MAX ? static_cast<uint32_t>(e.data.size()) : e.storedSize);
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    return out;
}

// An LZSS stream of literals only: a flag byte of ones before every eight bytes.
std::vector<uint8_t> Literals(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 8 == 0) out.push_back(0xFF);
        out.push_back(bytes[i]);
    }
    return out;
}

std::vector<uint8_t> Floats(std::initializer_list<float> values) {
    std::vector<uint8_t> out(values.size() * 4);
    std::memcpy(out.data(), values.begin(), out.size());
    return out;
}

struct Loaded {
    const char* failure;
    std::vector<uint32_t> pixels;  // the DDS image's ARGB words after its header
    uint32_t fileSize;
};

Loaded Load(const std::vector<uint8_t>& archive, const char* name) {
    CLagArchive lag;
    LagMemorySource source(archive.data(), archive.size());
    Loaded result{LagLoader::Load(lag, source, name), {}, lag.GetFileSize()};
    if (result.failure == nullptr) {
        const auto* bytes = static_cast<const uint8_t*>(lag.GetFileData());
        result.pixels.resize((result.fileSize - CLagArchive::kDdsHeaderSize) / 4);
        std::memcpy(result.pixels.data(), bytes + CLagArchive::kDdsHeaderSize, result.pixels.size() * 4);
    }
    return result;
}

TEST(LagArchive, EveryPixelFormatBecomesArgb) {
    const std::vector<uint8_t> word = {0x0F, 0xF0};  // 0xF00F: blue 15, alpha 15
    const std::vector<uint8_t> bgra = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};
    const std::vector<uint8_t> wide = {0xFF, 0xFF, 0, 0, 0x00, 0x80, 0xFF, 0xFF};  // blue 65535, green 0, red 32768, alpha 65535
    const std::vector<uint8_t> real = Floats({1.0f, 0.5f, 0.0f, 1.0f});
    struct Case {
        uint32_t width, format;
        std::vector<uint8_t> data;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {1, 0, word, {0xFF0000FF}},
        {2, 1, bgra, {0x40302010, 0x80706050}},
        {1, 2, wide, {0xFF7F00FF}},
        {1, 3, real, {0xFF007FFF}},
    };
    for (const Case& c : cases) {
        for (uint32_t compressed : {0u, 4u}) {
            std::vector<uint8_t> data = compressed ? Literals(c.data) : c.data;
            Loaded loaded = Load(Archive({{"PIC", c.width, 1, c.format + compressed, data}}), "pic");
            ASSERT_EQ(loaded.failure, nullptr) << "format " << c.format + compressed;
            EXPECT_EQ(loaded.pixels, c.expected) << "format " << c.format + compressed;
            EXPECT_EQ(loaded.fileSize, c.width * 4 + 128);
        }
    }
}

TEST(LagArchive, DdsHeaderDescribesTheImage) {
    CLagArchive lag;
    std::vector<uint8_t> archive = Archive({{"A", 2, 1, 1, std::vector<uint8_t>(8, 1)}});
    LagMemorySource source(archive.data(), archive.size());
    ASSERT_EQ(LagLoader::Load(lag, source, "A"), nullptr);
    ASSERT_EQ(lag.GetFileSize(), 136u);
    const auto* header = static_cast<const uint8_t*>(lag.GetFileData());
    auto at = [&](int offset) {
        uint32_t v;
        std::memcpy(&v, header + offset, 4);
        return v;
    };
    EXPECT_EQ(std::memcmp(header, "DDS ", 4), 0);
    EXPECT_EQ(at(4), 124u);
    EXPECT_EQ(at(8), 0x1007u);
    EXPECT_EQ(at(12), 1u);
    EXPECT_EQ(at(16), 2u);
    EXPECT_EQ(at(80), 0x41u);
    EXPECT_EQ(at(104), 0xFF000000u);
    uint32_t width = 0, pitch = 0;
    const void* pixels = nullptr;
    lag.GetSize(&width, nullptr);
    lag.GetData(&pixels, &pitch);
    EXPECT_EQ(width, 2u);
    EXPECT_EQ(pitch, 8u);
    EXPECT_EQ(pixels, header + 128);
}

TEST(LagArchive, SignatureAndNamesAreMatchedIgnoringCase) {
    const std::vector<Entry> entries = {{"OTHER", 1, 1, 1, {1, 2, 3, 4}}, {"TITLE", 1, 1, 1, {5, 6, 7, 8}}};
    Loaded found = Load(Archive(entries, "lag"), "Title");
    ASSERT_EQ(found.failure, nullptr);
    EXPECT_EQ(found.pixels, std::vector<uint32_t>{0x08070605});
    EXPECT_STREQ(Load(Archive(entries, "LAGX"), "TITLE").failure, "Can't Load LAG File");
    EXPECT_STREQ(Load(Archive(entries), "MISSING").failure, "Can't Load LAG File");
    EXPECT_STREQ(Load(Archive(entries), "TITLE2").failure, "Can't Load LAG File");
    EXPECT_STREQ(Load(Archive({{"X", 1, 1, 8, {0, 0}}}), "X").failure, "Can't Load LAG File");
}

TEST(LagArchive, DamagedEntriesFailSafely) {
    // A compressed entry of one back reference into the zero-filled window.
    std::vector<uint8_t> reference = {0x00, 0x00, 0x0F};
    Loaded ref = Load(Archive({{"R", 4, 1, 5, reference}}), "R");
    ASSERT_EQ(ref.failure, nullptr);
    EXPECT_EQ(ref.pixels, std::vector<uint32_t>(4, 0));

    // Stored sizes past the end of the file, raw and compressed: the image is what was there.
    Loaded raw = Load(Archive({{"T", 2, 1, 1, {1, 2, 3, 4}, 1000}}), "T");
    ASSERT_EQ(raw.failure, nullptr);
    EXPECT_EQ(raw.pixels, (std::vector<uint32_t>{0x04030201, 0}));
    Loaded packed = Load(Archive({{"T", 64, 64, 5, Literals({9, 9}), 0xFFFFFFF0u}}), "T");
    ASSERT_EQ(packed.failure, nullptr);
    EXPECT_EQ(packed.pixels.size(), 64u * 64u);

    // Sizes whose 32-bit products wrap, and a skip of a huge stored size, end in a clean failure.
    EXPECT_STREQ(Load(Archive({{"W", 0x8000, 0x8000, 1, {}}}), "W").failure, "Can't Load LAG File");
    EXPECT_STREQ(Load(Archive({{"W", 0x10000, 0x10000, 3, {}}}), "W").failure, "Can't Load LAG File");
    EXPECT_STREQ(Load(Archive({{"A", 1, 1, 1, {}, 0xFFFFFFFFu - 1}, {"B", 1, 1, 1, {1, 2, 3, 4}}}), "B").failure,
                 "Can't Load LAG File");
    // A header cut short ends the search.
    std::vector<uint8_t> torn = Archive({{"C", 1, 1, 1, {1, 2, 3, 4}}});
    torn.resize(8 + 20);
    EXPECT_STREQ(Load(torn, "C").failure, "Can't Load LAG File");
}

TEST(LagArchive, DitherAndSurfaceCopy) {
    for (uint32_t x = 0; x < 4; ++x) {
        for (uint32_t y = 0; y < 4; ++y) {
            EXPECT_EQ(CLagArchive::Dither5(255, x, y) >> 3, 31u);
            EXPECT_EQ(CLagArchive::Dither5(0, x, y) >> 3, 0u);
            EXPECT_EQ(CLagArchive::Dither4(255, x, y) >> 4, 15u);
        }
    }
    CLagArchive lag;
    std::vector<uint8_t> archive = Archive({{"P", 2, 1, 1, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}}});
    LagMemorySource source(archive.data(), archive.size());
    ASSERT_EQ(LagLoader::Load(lag, source, "P"), nullptr);
    struct Case {
        uint32_t format;
        uint16_t white, black;
    };
    // Pixel 0 sits on dither 0, pixel 1 on the second entry (4 of the 5-bit table), which the
    // 6-bit green of R5G6B5 shows.
    for (Case c : {Case{23, 0xFFDF, 0x0020}, Case{25, 0xFFFF, 0x0000}, Case{26, 0xFFFF, 0x0000}}) {
        uint16_t out[2] = {0x1234, 0x1234};
        lag.CopyToSurface(out, 4, c.format);
        EXPECT_EQ(out[0], c.white) << c.format;
        EXPECT_EQ(out[1], c.black) << c.format;
    }
    uint32_t wide[2] = {};
    lag.CopyToSurface(wide, 8, 21);
    EXPECT_EQ(wide[0], 0xFFFFFFFFu);
    uint16_t untouched = 0x5555;
    lag.CopyToSurface(&untouched, 4, 28);  // A8: not a format the copy writes
    EXPECT_EQ(untouched, 0x5555);
}

// A source that claims 3 GB and tells how much was asked of it, filling nothing.
class HugeSource : public LagSource {
public:
    explicit HugeSource(std::vector<uint8_t> header) : header_(std::move(header)) {}
    bool Open() override {
        at_ = 0;
        return true;
    }
    void Close() override {}
    uint32_t Read(void* buffer, uint32_t count) override {
        if (at_ < header_.size()) {
            const uint32_t n = std::min<uint32_t>(count, static_cast<uint32_t>(header_.size() - at_));
            std::memcpy(buffer, header_.data() + at_, n);
            at_ += n;
            return n;
        }
        largestRead = std::max(largestRead, count);
        return 0;
    }
    void Skip(uint32_t) override {}
    uint64_t Remaining() const override { return (3ull << 30) - at_; }
    uint32_t largestRead = 0;

private:
    std::vector<uint8_t> header_;
    size_t at_ = 0;
};

// No entry is larger than the largest texture; a compressed entry is read no further than the
// image's code can reach, whatever its stored size and the file's length say.
TEST(LagArchive, EntriesAreBoundedByTheLargestTexture) {
    struct Case {
        uint32_t width, height, format;
        uint32_t imageSize;
    } cases[] = {
        {4096, 4096, 1, 4096u * 4096 * 4}, {4097, 1, 1, 0}, {1, 4097, 0, 0}, {4096, 4096, 4, 4096u * 4096 * 2},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> archive = Archive({{"BIG", c.width, c.height, c.format, {}}});
        LagMemorySource source(archive.data(), archive.size());
        EXPECT_EQ(LagLoader::Find(source, "big", nullptr, nullptr, nullptr, nullptr), c.imageSize) << c.width;
    }
    HugeSource huge(Archive({{"BIG", 16, 16, 5, {}, 0xFFFFFFF0u}}));
    std::vector<uint8_t> pixels(16 * 16 * 4);
    void* destination = pixels.data();
    LagLoader::Find(huge, "big", nullptr, nullptr, &destination, nullptr);
    EXPECT_EQ(huge.largestRead, 16u * 16 * 4 + 16 * 16 * 4 / 8 + 1);
}

TEST(LagArchive, ReadsThroughTheFileSystem) {
    TempFolder folder;
    std::vector<uint8_t> archive = Archive({{"SKIP", 1, 1, 1, {0, 0, 0, 0}}, {"PIC", 1, 1, 1, {1, 2, 3, 4}}});
    std::string path = folder.Write("images.lag", archive);
    ASSERT_TRUE(ZethFile::Initialize());
    CLagArchive lag;
    ASSERT_EQ(lag.Load(path.c_str(), "pic"), nullptr);
    EXPECT_EQ(lag.GetFileSize(), 132u);
    uint32_t width = 0, height = 0, format = 9;
    EXPECT_EQ(lag.Find(path.c_str(), "SKIP", &width, &height, nullptr, &format), 4u);
    EXPECT_EQ(format, 1u);
    EXPECT_STREQ(lag.Load((path + ".missing").c_str(), "pic"), "Can't Load LAG File");
    ZethFile::Finalize();
}

}  // namespace
