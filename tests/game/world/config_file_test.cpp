#include <gtest/gtest.h>

#include <string>

#include "game/world/config_file.h"

namespace {

ConfigValues Parse(const std::string& text) {
    return ParseConfigText(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(ConfigFile, ReadsTokensAsSignedBytesAndRepeatsTheLastValuePastTheEnd) {
    struct Case {
        const char* name;
        std::string text;
        ConfigValues values;
    };
    const Case cases[] = {
        {"defaults", "0,1,2,3,2,0,100,100,0,0,0,0,0,0,0,0\n", {0, 1, 2, 3, 2, 0, 100, 100, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"eight values", "3,2,1,0,1,1,50,80\n", {3, 2, 1, 0, 1, 1, 50, 80, 80, 80, 80, 80, 80, 80, 80, 80}},
        {"no final newline", "3,2,1,0,1,1,50,80", {3, 2, 1, 0, 1, 1, 50, 80, 80, 80, 80, 80, 80, 80, 80, 80}},
        {"CR LF", "3,2\r\n1,0\r\n1,1\r\n50,80\r\n", {3, 2, 1, 0, 1, 1, 50, 80, 80, 80, 80, 80, 80, 80, 80, 80}},
        {"LF", "3,2\n1,0\n1,1\n50,80\n", {3, 2, 1, 0, 1, 1, 50, 80, 80, 80, 80, 80, 80, 80, 80, 80}},
        {"empty", "", {}},
        {"signed bytes", "127,200,-1,-129,+5,x,7x,1\n", {127, -56, -1, 127, 5, 0, 7, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        // Only the first four characters of a token count: 12345 reads 1234, a byte of -46.
        {"long tokens", "12345,0000000007,1,22222\n", {-46, 0, 1, -82, -82, -82, -82, -82, -82, -82, -82, -82, -82, -82, -82, -82}},
        {"empty tokens", ",,5\n\n6", {0, 0, 5, 0, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6}},
        {"shorter token after a longer one", "100,5", {100, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}},
        // Blanks and tabs before a number are skipped, but they count among the four characters.
        {"blanks and tabs after the commas", "1, 2,\t3, \t4,  -5,\t\t\t6,   77,\t 100\n",
         {1, 2, 3, 4, -5, 6, 7, 10, 10, 10, 10, 10, 10, 10, 10, 10}},
        {"only blanks", " ,\t,  \n", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"more than sixteen", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
    };
    for (const Case& c : cases) EXPECT_EQ(Parse(c.text), c.values) << c.name;
}

}  // namespace
