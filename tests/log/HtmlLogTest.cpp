#include "log/HtmlLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/LogEntries.h"

namespace {

namespace fs = std::filesystem;

// Monday 7 December 2026, 07:09:27 UTC.
constexpr std::time_t kSevenDecember = 1796627367;

class HtmlLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        dir = fs::temp_directory_path() /
              ("htmllog-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "Log.htm").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    // Everything the log wrote after its header.
    std::string Body() const { return ReadFile(path).substr(HeaderText().size()); }

    static std::string HeaderText() {
        return "<html>\n"
               "<head>\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\">\n"
               "</head>\n"
               "<body>\n"
               "<pre>\n"
               "<table width=100% bgcolor=#FAAE47><tr> <td> <font face=arial size=+3>\n"
               "Log file\n"
               "</font></table>\n" +
               kGreyBar + "\n" +
               "<h3>Loging started: Mon Dec  7 07:09:27 2026</h3></pre></table></font>\n";
    }

    fs::path dir;
    std::string path;
    HtmlLog::TimeSource fixedTime = [] { return kSevenDecember; };
};

TEST_F(HtmlLogTest, HeaderIsOnDiskAsSoonAsTheLogIsCreated) {
    HtmlLog log(path, "Log file", fixedTime);
    EXPECT_EQ(ReadFile(path), HeaderText());
}

TEST_F(HtmlLogTest, EachEntryKindWritesItsExactMarkupWithoutTrailingLineBreaks) {
    HtmlLog log(path, "Log file", fixedTime);
    log.WriteTitle("Main");
    EXPECT_EQ(Body(),
              "<table width=100% bgcolor=#FFC742><tr><td><font face=arial size=+2>\n"
              "Main\n"
              "</font></table>");

    const std::size_t before = Body().size();
    log.WriteHeading("file Scene.xml");
    log.WriteMessage("Creating scene ...");
    EXPECT_EQ(Body().substr(before), kGreyBar + "<h3>file Scene.xml</h3></pre></table>" + kGreyBar +
                                         "Creating scene ...</pre></table>");

    const std::size_t beforeError = Body().size();
    log.WriteError("main");
    EXPECT_EQ(
        Body().substr(beforeError),
        kRedBar + "<font color=red face=arial size=+1 >Exception: </font>\nmain</pre></table>");
}

TEST_F(HtmlLogTest, CloseWritesTheClosingLinesOnceAndStopsWriting) {
    HtmlLog log(path, "Log file", fixedTime);
    log.Close();
    const std::string closing =
        "<table width=100% height=20 bgcolor=#FAAE47><tr><td></table>\n</pre>\n</body>\n</html>\n";
    EXPECT_EQ(Body(), closing);
    log.Close();
    log.WriteMessage("after close");
    EXPECT_EQ(Body(), closing);
}

TEST_F(HtmlLogTest, DestructionClosesAnOpenLog) {
    {
        HtmlLog log(path, "Log file", fixedTime);
        log.WriteTitle("Main");
    }
    const auto parsed = ParseLog(ReadFile(path));
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->closed);
    EXPECT_EQ(parsed->entries, std::vector<LogEntry>{Title("Main")});
}

TEST_F(HtmlLogTest, AFreshLogReplacesThePreviousFile) {
    {
        std::ofstream old(path);
        old << std::string(10000, 'x');
    }
    HtmlLog log(path, "Log file", fixedTime);
    EXPECT_EQ(ReadFile(path), HeaderText());
}

// Scene files supply entry texts; markup in them must show as text, not act as markup.
TEST_F(HtmlLogTest, EntryTextsAreEscapedButTheLogsMarkupIsNot) {
    HtmlLog log(path, "Log file", fixedTime);
    log.WriteMessage("<script>alert(\"x\")</script> & co");
    log.WriteHeading("a<b");
    log.WriteError("1 > 0");
    log.WriteTitle("\"quoted\"");
    const std::string page = ReadFile(path);
    for (const char* escaped :
         {"<pre>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; co</pre>",
          "<h3>a&lt;b</h3>", "\n1 &gt; 0</pre>", "&quot;quoted&quot;\n"}) {
        EXPECT_NE(page.find(escaped), std::string::npos) << escaped;
    }
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    // Read back, the entries are the texts as written.
    const auto parsed = ParseLog(page);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->entries,
              (std::vector<LogEntry>{Message("<script>alert(\"x\")</script> & co"), Heading("a<b"),
                                     Error("1 > 0"), Title("\"quoted\"")}));
}

TEST_F(HtmlLogTest, TheErrorListenerHearsEveryErrorAndNothingElse) {
    HtmlLog log(path, "Log file", fixedTime);
    std::vector<std::string> heard;
    log.SetErrorListener([&](const Problem& problem) { heard.push_back(problem.text); });
    log.WriteMessage("fine");
    log.WriteError("a < b");
    log.WriteHeading("section");
    log.WriteError("second");
    log.SetErrorListener({});
    log.WriteError("after removal");
    EXPECT_EQ(heard, (std::vector<std::string>{"a < b", "second"}));
}

TEST_F(HtmlLogTest, AnUnwritableLogIsSilentlyDroppedButSaysSoWhenAsked) {
    HtmlLog writable(path, "Log file", fixedTime);
    writable.WriteTitle("Main");
    EXPECT_TRUE(writable.Writable());

    const std::string missingFolder = (dir / "no" / "such" / "Log.htm").string();
    HtmlLog log(missingFolder, "Log file", fixedTime);
    EXPECT_FALSE(log.Writable());
    log.WriteTitle("Main");
    log.WriteError("nothing to see");
    log.Close();
    EXPECT_FALSE(fs::exists(missingFolder));
}

TEST(HtmlLogTimeStamp, HasCtimeLayoutWithASpacePaddedDay) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_wday = 1;
    t.tm_hour = 7;
    t.tm_min = 9;
    t.tm_sec = 27;
    EXPECT_EQ(HtmlLog::FormatTimeStamp(t), "Mon Dec  7 07:09:27 2026");

    t.tm_mday = 17;
    t.tm_mon = 0;
    t.tm_wday = 6;
    t.tm_hour = 23;
    EXPECT_EQ(HtmlLog::FormatTimeStamp(t), "Sat Jan 17 23:09:27 2026");
}

TEST(HtmlLogTimeStamp, CurrentTimeStampIsAlways24Characters) {
    const std::string dummyPath = "/dev/null";
    for (const std::time_t when : {std::time_t{0}, kSevenDecember, std::time_t{1800000000}}) {
        HtmlLog log(dummyPath, "Log file", [when] { return when; });
        EXPECT_EQ(log.TimeStamp().size(), 24u) << log.TimeStamp();
    }
}

}  // namespace
