// The LZSS decoder on hand-made code streams, and its refusal of damaged containers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/files/lzss.h"

namespace {

std::vector<uint8_t> Container(uint32_t decodedSize, const std::vector<uint8_t>& stream) {
    std::vector<uint8_t> out = {'L', 'Z', 'S', 'S'};
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(decodedSize >> (8 * i)));
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

// Decodes into a buffer of exactly D bytes, so the sanitizer sees any write past D.
bool Decode(const std::vector<uint8_t>& container, std::string* text) {
    const int32_t size = LzssGetSize(container.data(), static_cast<uint32_t>(container.size()));
    if (size < 0) return false;
    std::vector<uint8_t> out(static_cast<size_t>(size));
    if (!LzssDecode(container.data(), static_cast<uint32_t>(container.size()), out.data(), static_cast<uint32_t>(out.size()))) return false;
    text->assign(out.begin(), out.end());
    return true;
}

TEST(LzssDecode, CodeStreams) {
    // A match naming ring position 4080 (the first write) with length n: b0 0xF0, b1 0xF0 | (n - 3).
    struct Case {
        const char* name;
        uint32_t decodedSize;
        std::vector<uint8_t> stream;
        std::string expected;
    };
    const Case cases[] = {
        {"nine literals need a second flag byte", 9,
         {0xFF, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 0x01, 'I'}, "ABCDEFGHI"},
        {"a first match reads the ring's zeros", 4, {0x02, 0x00, 0x00, 'z'}, std::string(3, '\0') + "z"},
        {"a match reads literals written from 4080 on", 6, {0x03, 'X', 'Y', 0xF0, 0xF1}, "XYXYXY"},
        {"an overlapping match makes a run", 19, {0x01, 'a', 0xF0, 0xFF}, std::string(19, 'a')},
        {"decoding stops in the middle of a match at D", 5, {0x01, 'a', 0xF0, 0xFF}, "aaaaa"},
        {"nothing after the D-th byte is read", 2, {0x03, 'p', 'q'}, "pq"},
        {"D of 0 reads no stream at all", 0, {}, ""},
        {"ring positions wrap past 4095", 22,
         {0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0xFF, 'i', 'j', 'k', 'l', 'm', 'n', 'o', 'p', 0x03, 'q', 'r', 0xFE, 0xF1},
         "abcdefghijklmnopqropqr"},
    };
    for (const Case& c : cases) {
        std::string text;
        ASSERT_TRUE(Decode(Container(c.decodedSize, c.stream), &text)) << c.name;
        EXPECT_EQ(text, c.expected) << c.name;
    }
}

TEST(LzssDecode, DamagedContainersFailCleanly) {
    struct Case {
        const char* name;
        std::vector<uint8_t> container;
    };
    const Case cases[] = {
        {"shorter than the header", {'L', 'Z', 'S', 'S', 1, 0, 0}},
        {"only a magic", {'L', 'Z', 'S', 'S'}},
        {"another magic", {'L', 'Z', 'S', 'X', 0, 0, 0, 0}},
        {"the stream ends among literals", Container(10, {0xFF, 'a', 'b', 'c'})},
        {"the stream ends inside a match", Container(10, {0x00, 0xF0})},
        {"the stream ends before a flag byte", Container(9, {0xFF, 1, 2, 3, 4, 5, 6, 7, 8})},
        {"D more than the stream could make", Container(5 * 9 + 1, {0x00, 0, 0, 0, 0})},
        {"an absurd D", Container(0xFFFFFFF0u, std::vector<uint8_t>(1000, 0))},
        {"D past the largest container", Container(kLzssMaxDecodedSize + 1, std::vector<uint8_t>(40u << 20, 0))},
    };
    for (const Case& c : cases) {
        std::string text;
        EXPECT_FALSE(Decode(c.container, &text)) << c.name;
    }

    // An output buffer smaller than D is refused before anything is written.
    const std::vector<uint8_t> container = Container(3, {0x07, 'a', 'b', 'c'});
    uint8_t small[2] = {9, 9};
    EXPECT_FALSE(LzssDecode(container.data(), static_cast<uint32_t>(container.size()), small, sizeof(small)));
    EXPECT_EQ(small[0], 9);
    EXPECT_EQ(LzssGetSize(container.data(), static_cast<uint32_t>(container.size())), 3);
}

}  // namespace
