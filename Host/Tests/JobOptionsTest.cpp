// The print-settings ticket as CUPS job options: every entry becomes an
// option in ticket order, and the one-argument form reads back through the
// real cupsParseOptions with every value exactly as the ticket held it.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <ostream>

#include "JobOptions.h"
#include "PlatformSimulation.h"

namespace {

// Each table case is named in ctest by its name field.
template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& param) {
  return param.param.name;
}

// The options as cupsParseOptions reads the line, in its order.
std::vector<JobOption> ParseWithCups(const std::string& line) {
  cups_option_t* parsed = nullptr;
  const int count = cupsParseOptions(line.c_str(), 0, &parsed);
  std::vector<JobOption> options;
  for (int i = 0; i < count; ++i) options.push_back({parsed[i].name, parsed[i].value});
  cupsFreeOptions(count, parsed);
  return options;
}

const char* ValueOf(const std::vector<JobOption>& options, const std::string& name) {
  for (const JobOption& option : options) {
    if (option.name == name) return option.value.c_str();
  }
  return nullptr;
}

struct ValueCase {
  const char* name;
  std::string value;
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class FormatJobOptionsRoundTripTest : public testing::TestWithParam<ValueCase> {};

// Each value sits between two plain options, so a value that leaks into its
// neighbours or swallows them shows.
TEST_P(FormatJobOptionsRoundTripTest, CupsReadsTheValueBackExactly) {
  const std::vector<JobOption> options = {{"before", "1"}, {"com.zelvo.pm.UserID", GetParam().value}, {"after", "2"}};
  std::string line;
  std::string problem;
  ASSERT_TRUE(FormatJobOptions(options, &line, &problem)) << problem;
  const std::vector<JobOption> parsed = ParseWithCups(line);
  ASSERT_EQ(parsed.size(), 3u) << line;
  ASSERT_NE(ValueOf(parsed, "com.zelvo.pm.UserID"), nullptr) << line;
  EXPECT_EQ(ValueOf(parsed, "com.zelvo.pm.UserID"), GetParam().value) << line;
  EXPECT_STREQ(ValueOf(parsed, "before"), "1") << line;
  EXPECT_STREQ(ValueOf(parsed, "after"), "2") << line;
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatJobOptionsRoundTripTest,
    testing::Values(ValueCase{"Plain", "abc123"}, ValueCase{"Empty", ""},
                    ValueCase{"Blanks", "Save Document Print"}, ValueCase{"LeadingAndTrailingBlanks", "  x  "},
                    ValueCase{"OnlyABlank", " "}, ValueCase{"DoubleQuotes", "say \"hi\""},
                    ValueCase{"SingleQuotes", "it's 'quoted'"}, ValueCase{"Apostrophe", "it's"}, ValueCase{"LeadingApostrophe", "'tis"}, ValueCase{"Backslashes", "a\\b\\"},
                    ValueCase{"BackslashBeforeQuote", "\\\""}, ValueCase{"EqualsSigns", "a=b==c"},
                    ValueCase{"Commas", "a,b,,c"}, ValueCase{"Braces", "{collection}"},
                    ValueCase{"TabsAndLineBreaks", "a\tb\nc\rd\fe\vf"},
                    ValueCase{"NonASCII", "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"},
                    ValueCase{"TimeZone", "<+0530>-5:30"}, ValueCase{"EverythingAtOnce", " {\"a\\' b=c,}\t"}),
    CaseName<ValueCase>);

TEST(FormatJobOptionsTest, QuotesOnlyWhatNeedsIt) {
  std::string line;
  std::string problem;
  ASSERT_TRUE(FormatJobOptions({{"a", "plain"}, {"b", "two words"}, {"c", ""}, {"d..b.", "True"}}, &line, &problem));
  EXPECT_EQ(line, "a=plain b=\"two words\" c=\"\" d..b.=True");
  ASSERT_TRUE(FormatJobOptions({}, &line, &problem));
  EXPECT_EQ(line, "");
}

TEST(FormatJobOptionsTest, RefusesWhatCannotBeAnOption) {
  const std::vector<JobOption> refused[] = {
      {{"", "v"}}, {{"two words", "v"}}, {{"a=b", "v"}}, {{"tab\there", "v"}}, {{"ok", std::string("a\0b", 3)}}};
  for (const auto& options : refused) {
    std::string line;
    std::string problem;
    EXPECT_FALSE(FormatJobOptions(options, &line, &problem)) << options[0].name;
    EXPECT_FALSE(problem.empty());
  }
}

// A ticket made the way the printing system holds one.
class TicketOptionsTest : public testing::Test {
 protected:
  void SetUp() override { mTicket = SimCreateTicket(); }
  void TearDown() override {
    SimReleaseTicket(mTicket);
    EXPECT_EQ(SimGetLiveCFObjectCount(), 0);
  }
  void SetString(const char* key, const char* value) {
    CFStringRef keyString = CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8);
    CFStringRef valueString = CFStringCreateWithCString(nullptr, value, kCFStringEncodingUTF8);
    ASSERT_EQ(PMTicketSetCFString(mTicket, CFSTR("test"), keyString, valueString, false), noErr);
    CFRelease(keyString);
    CFRelease(valueString);
  }
  void SetBoolean(const char* key, bool value) {
    CFStringRef keyString = CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8);
    ASSERT_EQ(PMTicketSetBoolean(mTicket, CFSTR("test"), keyString, value, false), noErr);
    CFRelease(keyString);
  }
  PMTicketRef mTicket = nullptr;
};

TEST_F(TicketOptionsTest, StringsKeepTheirKeysBooleansGetTheSuffixInTicketOrder) {
  SetString("com.zelvo.pm.UserID", "alice");
  SetBoolean("com.zelvo.pm.EnableUserCode", true);
  SetBoolean("other", false);
  SetString("com.zelvo.pm.JobType", "Locked Print");
  SetString("com.zelvo.pm.UserID", "bob");  // a later set keeps the entry's place
  std::vector<JobOption> options;
  std::string problem;
  ASSERT_TRUE(JobOptionsFromTicket(mTicket, &options, &problem)) << problem;
  ASSERT_EQ(options.size(), 4u);
  EXPECT_EQ(options[0].name, "com.zelvo.pm.UserID");
  EXPECT_EQ(options[0].value, "bob");
  EXPECT_EQ(options[1].name, "com.zelvo.pm.EnableUserCode..b.");
  EXPECT_EQ(options[1].value, "True");
  EXPECT_EQ(options[2].name, "other..b.");
  EXPECT_EQ(options[2].value, "False");
  EXPECT_EQ(options[3].name, "com.zelvo.pm.JobType");
  EXPECT_EQ(options[3].value, "Locked Print");
}

TEST_F(TicketOptionsTest, AnEmptyTicketGivesNoOptions) {
  std::vector<JobOption> options = {{"left", "over"}};
  std::string problem;
  ASSERT_TRUE(JobOptionsFromTicket(mTicket, &options, &problem));
  EXPECT_TRUE(options.empty());
}

}  // namespace
