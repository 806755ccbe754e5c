#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "framework/app/log.h"
#include "support/read_file.h"

namespace {

using testing_support::ReadFile;


std::string TempPath(const char* name) { return ::testing::TempDir() + name; }

}  // namespace

TEST(Log, PageHasTheExactHeaderEntriesAndFooter) {
    std::string path = TempPath("log_page.html");
    ASSERT_TRUE(ZethLog::Open(path.c_str()));
    ZethLog::WriteHeader("T%sT");
    ZethLog::PrintTitle("Title");
    ZethLog::PrintBreak();
    ZethLog::PrintError("%s", "100% sure");  // a '%' inside an argument stays as it is
    ZethLog::PrintSuccess("ok %d", 7);
    ZethLog::PrintBold("b");
    ZethLog::Print("plain");
    ZethLog::PrintBanner("x");
    ZethLog::Close();
    EXPECT_FALSE(ZethLog::IsOpen());

    const std::string expected =
        "<HTML>\n<HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
        "<TITLE>T%sT</TITLE>\n<STYLE type=\"text/css\">\n<!--\nBODY{\n  font-size : 12px;\n"
        "  font-family : \"\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\";\n}\n-->\n</STYLE>\n</HEAD>\n"
        "<BODY bgcolor=\"#ffffff\" text=\"#000000\" link=\"#444444\" vlink=\"#444444\" alink=\"#444444\">\n"
        "<B><FONT color=\"BLUE\">Title</FONT></B><BR>\n"
        "<B><FONT color=\"RED\">100% sure</FONT></B>"
        "<B><FONT color=\"GREEN\">ok 7</FONT></B>"
        "<B>b</B>plain"
        "<TABLE width=\"100%\" bgcolor=\"#000000\">\n  <TBODY>\n    <TR>\n      <TD align=\"center\">\n"
        "        <B>\n          <FONT color=\"WHITE\">x</FONT>\n        </B>\n      </TD>\n    </TR>\n"
        "  </TBODY>\n</TABLE>\n"
        "</BODY>\n</HTML>\n";
    EXPECT_EQ(ReadFile(path), expected);
}

// Each class of character on its way to the page: one byte or two in Shift_JIS, and a single
// '?' for a character it cannot hold or bytes that are no UTF-8 at all. The markup characters of
// an entry are written as they are: entries may carry markup of their own.
TEST(Log, EntriesAreWrittenInShiftJis) {
    const struct {
        const char* utf8;
        const char* page;
    } cases[] = {
        {"plain\ttext", "plain\ttext"},
        {"アプリ", "\x83\x41\x83\x76\x83\x8A"},         // katakana
        {"あ漢", "\x82\xA0\x8A\xBF"},                     // hiragana, kanji
        {"ｱﾟ", "\xB1\xDF"},                                 // half-width katakana: one byte each
        {"①Ⅰ∑", "\x87\x40\x87\x54\x87\x94"},            // the vendor's own row 13
        {"髙", "\xFB\xFC"},                                 // the vendor's extension rows
        {"～－", "\x81\x60\x81\x7C"},                     // full-width tilde and minus
        {"\xF0\x9F\x98\x80!", "?!"},                       // four bytes of UTF-8 Shift_JIS cannot hold
        {"\xF0\x9F\x98\x80あい", "?\x82\xA0\x82\xA2"},      // and the characters after it are each kept
        {"1\xE2\x82\xAC" "2", "1?2"},                       // the euro sign, three bytes
        {"a\x80\x80" "b", "a?b"},                            // stray continuation bytes
        {"ok\xE3\x81", "ok?"},                               // a character cut off at the end
        {"<I>a&b</I>", "<I>a&b</I>"},
    };
    // A run longer than the converter's buffer: every character of it reaches the page.
    std::string longRun, longPage;
    for (int i = 0; i < 300; ++i) {
        longRun += "漢あ";
        longPage += "\x8A\xBF\x82\xA0";
    }
    for (const auto& c : cases) {
        std::string path = TempPath("log_sjis.html");
        ASSERT_TRUE(ZethLog::Open(path.c_str()));
        ZethLog::Print("%s", c.utf8);
        ZethLog::Close();
        EXPECT_EQ(ReadFile(path), std::string(c.page) + "</BODY>\n</HTML>\n") << c.utf8;
    }
    std::string path = TempPath("log_sjis.html");
    ASSERT_TRUE(ZethLog::Open(path.c_str()));
    ZethLog::Print("%s", longRun.c_str());
    ZethLog::Close();
    EXPECT_EQ(ReadFile(path), longPage + "</BODY>\n</HTML>\n");
}

TEST(Log, EntriesReachTheFileBeforeItIsClosed) {
    std::string path = TempPath("log_flushed.html");
    ASSERT_TRUE(ZethLog::Open(path.c_str()));
    ZethLog::PrintError("first");
    ZethLog::PrintBreak();
    ZethLog::Report("second");
    // Read while the page is still open, as after a crash.
    EXPECT_EQ(ReadFile(path), "<B><FONT color=\"RED\">first</FONT></B><BR>\n<B><FONT color=\"RED\">second</FONT></B><BR>\n");
    ZethLog::Close();
}

TEST(Log, APageThatCannotBeWrittenIsSaidOnceAndReportsGoToStandardErrorInstead) {
    testing::internal::CaptureStderr();
    ZethLog::Report("開く前 %d", 1);
    EXPECT_FALSE(ZethLog::Open("/nonexistent-folder/log.html"));
    ASSERT_TRUE(ZethLog::Open("/dev/full"));  // opens, but every write fails
    ZethLog::WriteHeader("x");
    ZethLog::Print("lost");
    ZethLog::PrintBreak();
    ZethLog::Report("満杯 %d", 2);
    ZethLog::Report("満杯 %d", 3);
    ZethLog::Close();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "開く前 1\n"
              "ログファイルを開けません [ /nonexistent-folder/log.html ]\n"
              "ログファイルに書き込めません [ /dev/full ]\n"
              "満杯 2\n"
              "満杯 3\n");
}

TEST(Log, NothingHappensWithoutAnOpenPage) {
    ZethLog::PrintTitle("ignored");
    ZethLog::PrintBreak();
    ZethLog::Close();
    EXPECT_FALSE(ZethLog::IsOpen());
    EXPECT_FALSE(ZethLog::Open("/nonexistent-folder/log.html"));
    ZethLog::Print("still ignored");
}

// With the echo on, each entry also goes to the console between its colours, as the console's
// attribute (background in the high nibble: bit 0 blue, 1 green, 2 red, 3 bright) in ANSI
// colours, and back to grey on black after it; an echoed entry is cut to 1,023 characters while
// the page receives it whole.
TEST(Log, TheEchoWritesEachEntryInItsColoursAndCutsLongOnes) {
    const std::string path = TempPath("log_echo.html");
    const std::string longEntry(1500, 'x');
    ZethLog::SetConsoleEcho(true);
    ConsoleCreate();
    ASSERT_TRUE(ZethLog::Open(path.c_str()));
    testing::internal::CaptureStdout();
    ZethLog::PrintBanner("b");
    ZethLog::PrintTitle("t");
    ZethLog::PrintError("%s", longEntry.c_str());
    ZethLog::PrintSuccess("s");
    ZethLog::PrintBold("bold");
    ZethLog::PrintBreak();
    ZethLog::Print("100%%");
    ConsoleSetColor(0x8E);  // bright yellow; the background's bright bit has no ANSI form
    ZethLog::Close();  // releases the console
    ConsoleWrite("%s", "after");
    const std::string echoed = testing::internal::GetCapturedStdout();
    ZethLog::SetConsoleEcho(false);
    const std::string grey = "\x1b[22;37;40m";
    EXPECT_EQ(echoed, "\x1b[22;30;47mb" + grey + "\x1b[22;37;44mt" + grey + "\x1b[22;37;41m" + longEntry.substr(0, 1023) +
                          grey + "\x1b[22;37;42ms" + grey + "bold\n100%" + "\x1b[1;33;40m");
    EXPECT_NE(ReadFile(path).find(">" + longEntry + "<"), std::string::npos);
}
