#include <gtest/gtest.h>

#include <string>

#include "framework/core/ime.h"
#include "harness/fakes.h"

namespace {

// The input context belongs to the main window: a fake one is open for every case.
class ImeTest : public testing::Test {
protected:
    void SetUp() override {
        fake_.window.exists = true;
        FepInitialize();
    }
    void TearDown() override { FepFinalize(); }
    static void Type(std::u32string text) {
        for (char32_t c : text) FepOnChar(static_cast<uint32_t>(c));
    }
    testing_support::FakePlatform fake_;
};

TEST_F(ImeTest, TwoByteCharactersAreStoredAsCp932AndRemovedWhole) {
    Type(U"a\u4E9Cb\u3042");  // 亜 is 88 9F: its trail byte lies in the lead-byte range
    EXPECT_EQ(std::string(FepGetText()), "a\x88\x9F" "b\x82\xA0");
    const char* const afterEachBackspace[] = {"a\x88\x9F" "b", "a\x88\x9F", "a", ""};
    for (const char* expected : afterEachBackspace) {
        FepOnChar(8);
        EXPECT_EQ(std::string(FepGetText()), expected);
    }
    FepOnChar(8);
    EXPECT_EQ(FepGetText().size(), 0u);
}

TEST_F(ImeTest, EnterAndControlCodesAppendNothing) {
    Type(U"x\r\t\x1By");
    EXPECT_EQ(std::string(FepGetText()), "xy");
    Type(U"\U0001F600");  // no CP932 form: dropped
    EXPECT_EQ(std::string(FepGetText()), "xy");
}

TEST_F(ImeTest, BytesBeyondTheBufferAreDropped) {
    Type(std::u32string(2047, U'x'));
    Type(U"\u3042z");  // the lead byte fills the buffer; its trail byte and z are dropped
    ASSERT_EQ(FepGetText().size(), 2048u);
    EXPECT_EQ(static_cast<unsigned char>(FepGetText().back()), 0x82);
    FepOnChar(8);  // a lead byte without its trail byte is one byte long
    EXPECT_EQ(FepGetText().size(), 2047u);
}

TEST_F(ImeTest, BackspaceNeedsTheInputContext) {
    Type(U"ab");
    FepFinalize();
    FepOnChar(8);
    EXPECT_EQ(std::string(FepGetText()), "ab");
}

}  // namespace
