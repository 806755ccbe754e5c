// Pack keys, Shift-JIS handling and the pack table's search.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/files/file_pack.h"
#include "framework/files/sjis.h"

namespace {

std::string Normalized(const std::string& path) {
    std::string out(path.size(), '\0');
    NormalizePath(out.data(), path.c_str());
    return out;
}

TEST(PackKeys, Crc32MatchesTheCommonCheckValues) {
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32("", 0), 0u);
    EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog", 43), 0x414FA339u);
}

TEST(PackKeys, NormalisationIgnoresCaseAndSeparatorsButNotShiftJisTrailBytes) {
    EXPECT_EQ(PathKey("texture/Bullet.bmp"), PathKey("TEXTURE\\BULLET.BMP"));
    EXPECT_EQ(PathKey("texture\\bullet.bmp"), Crc32("TEXTURE\\BULLET.BMP", 18));
    EXPECT_NE(PathKey("texture/bullet.bmp"), PathKey("texture/bullet2.bmp"));

    struct Case {
        const char* source;
        const char* expected;
    };
    const Case cases[] = {
        {"a/b\\c", "A\\B\\C"},
        {"\x95\x5c/x", "\x95\x5c\\X"},      // trail byte '\' stays
        {"\x82\x61z", "\x82\x61Z"},         // trail byte 'a' stays lower case
        {"\xE0\x2F/", "\xE0\x2F\\"},        // trail byte '/' stays
        {"\xA0q", "\xA0Q"},                 // half-width kana is a single byte
        {"end\x81", "END\x81"},             // a lead byte before the terminating zero
        {"\x81\x81\x81\x61/\x95\x5c\x95\x5c/a", "\x81\x81\x81\x61\\\x95\x5c\x95\x5c\\A"},  // a run: each trail kept
    };
    for (const Case& c : cases) EXPECT_EQ(Normalized(c.source), c.expected) << c.source;
}

TEST(ShiftJis, CharactersAndReplacement) {
    struct Case {
        const char* text;
        int length;
        uint32_t code;
    };
    const Case cases[] = {
        {"A", 1, 0x41}, {"\x95\x5c", 2, 0x955C}, {"\x81\x40", 2, 0x8140}, {"\x9F\xFC", 2, 0x9FFC},
        {"\xE0\x40", 2, 0xE040}, {"\xFE\x40", 2, 0xFE40}, {"\x80", 1, 0x80}, {"\xA0", 1, 0xA0},
        {"\xFF", 1, 0xFF}, {"\x81", 1, 0x81}, {"", 1, 0},
        // Bytes just outside the lead ranges stand alone even with a byte after them; so does
        // half-width katakana.
        {"\x80" "A", 1, 0x80}, {"\xA0" "A", 1, 0xA0}, {"\xA1" "A", 1, 0xA1}, {"\xDF" "A", 1, 0xDF},
        {"\xFF" "A", 1, 0xFF}, {"\x81" "A", 2, 0x8141},
    };
    for (const Case& c : cases) {
        uint32_t code = 12345;
        EXPECT_EQ(SjisReadChar(c.text, &code), c.length) << c.text;
        EXPECT_EQ(code, c.code) << c.text;
        EXPECT_EQ(SjisGetCharCode(c.text), c.code) << c.text;
    }

    char out[16] = {};
    ReplaceChar(out, "a/\x95/b/", '\\', '/');
    EXPECT_STREQ(out, "a\\\x95/b\\");
    char run[16] = {};
    ReplaceChar(run, "\x81\x95/\x95/\x81/", '\\', '/');  // (81 95) '/', (95 '/'), (81 '/')
    EXPECT_STREQ(run, "\x81\x95\\\x95/\x81/");
}

std::vector<PackEntry> TableOfKeys(const std::vector<uint32_t>& keys) {
    std::vector<PackEntry> table(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) table[i].key = keys[i];
    return table;
}

TEST(PackTable, FindsEveryKeyAndMissesAroundThem) {
    for (uint32_t count : {1u, 5u, 6u, 1000u}) {
        // Spread over the whole unsigned range, so half the keys have the top bit set.
        std::vector<uint32_t> keys;
        const uint32_t step = 0xFFFFFF00u / count;
        for (uint32_t i = 0; i < count; ++i) keys.push_back(16 + i * step);
        const std::vector<PackEntry> table = TableOfKeys(keys);
        for (uint32_t i = 0; i < count; ++i) {
            EXPECT_EQ(PackFindKey(table.data(), count, keys[i]), &table[i]) << count << " " << i;
            EXPECT_EQ(PackFindKey(table.data(), count, keys[i] + 1), nullptr) << count << " " << i;
        }
        EXPECT_EQ(PackFindKey(table.data(), count, 3), nullptr);
        EXPECT_EQ(PackFindKey(table.data(), count, 0xFFFFFFFFu), nullptr);
        EXPECT_EQ(PackFindKey(table.data(), 0, keys[0]), nullptr);
    }
    const std::vector<PackEntry> highLow = TableOfKeys({0x00000001u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu});
    EXPECT_EQ(PackFindKey(highLow.data(), 4, 0x80000000u), &highLow[2]);
    EXPECT_EQ(PackFindKey(highLow.data(), 4, 0xFFFFFFFEu), &highLow[3]);

    std::vector<PackEntry> named = TableOfKeys({PathKey("TEXTURE\\BULLET.BMP")});
    EXPECT_EQ(PackFindEntry(named.data(), 1, "TEXTURE\\BULLET.BMP"), &named[0]);
    EXPECT_EQ(PackFindEntry(named.data(), 1, "texture\\bullet.bmp"), nullptr);  // the caller normalises
}

TEST(PackTable, HeaderAndEntryBoundsAreChecked) {
    struct Case {
        uint32_t magic, count;
        uint64_t fileSize;
        bool ok;
    };
    const Case cases[] = {
        {kPackMagic, 0, 8, true},
        {kPackMagic, 2, 168, true},
        {kPackMagic, 2, 167, false},                   // the table runs past the file
        {kPackMagic, 0xFFFFFFFFu, 1u << 20, false},
        {kPackMagic, kPackMaxEntries, uint64_t{1} << 40, true},
        {kPackMagic, kPackMaxEntries + 1, uint64_t{1} << 40, false},  // more than any data set holds
        {kPackMagic, 41000000, uint64_t{1} << 40, false},
        {0x5353415Au, 0, 8, false},
    };
    for (const Case& c : cases) {
        uint8_t raw[kPackHeaderSize];
        std::memcpy(raw, &c.magic, 4);
        std::memcpy(raw + 4, &c.count, 4);
        uint32_t count = 77;
        EXPECT_EQ(PackReadHeader(raw, c.fileSize, &count), c.ok) << c.count << " " << c.fileSize;
        EXPECT_EQ(count, c.ok ? c.count : 77u);
    }

    PackEntry entry{};
    entry.offset = 100;
    entry.size = 50;
    EXPECT_TRUE(PackEntryInside(entry, 150));
    EXPECT_FALSE(PackEntryInside(entry, 149));
    entry.offset = 0xFFFFFFF0u;
    entry.size = 0x20;  // wraps in 32 bits
    EXPECT_FALSE(PackEntryInside(entry, 0xFFFFFFFFu));
}

}  // namespace
