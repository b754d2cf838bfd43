// The options line of pdehost as its peers read it: the real cupsParseOptions
// gets back every print-settings entry with its exact value, and the real
// joblogfilter, given the line as argv[5], splices the snippet with the
// values the ticket holds.
#include <cups/cups.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "HostProcess.h"

namespace {

using Option = std::pair<std::string, std::string>;

// The options line of a run, without its "options" word.
std::string OptionsLine(const ProcessResult& result) {
  const std::vector<std::string> lines = LinesStarting(result.out, "options");
  EXPECT_EQ(lines.size(), 1u) << result.out << result.err;
  if (lines.empty()) return "";
  return lines[0] == "options" ? "" : lines[0].substr(std::string("options ").size());
}

std::vector<Option> ParseWithCups(const std::string& line) {
  cups_option_t* parsed = nullptr;
  const int count = cupsParseOptions(line.c_str(), 0, &parsed);
  std::vector<Option> options;
  for (int i = 0; i < count; ++i) options.emplace_back(parsed[i].name, parsed[i].value);
  cupsFreeOptions(count, parsed);
  return options;
}

// The script's quoted form of a text (the host's own quoting rules).
std::string ScriptQuote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (c == '\t') {
      quoted += "\\t";
      continue;
    }
    quoted += c;
  }
  return quoted + "\"";
}

TEST(HostOptionsTest, CupsReadsBackEveryTicketEntryExactlyInTicketOrder) {
  const std::vector<Option> entries = {
      {"com.zelvo.pm.UserID", "alice"},
      {"com.zelvo.pm.Password", ""},
      {"com.zelvo.pm.JobType", "Save Document Print"},
      {"com.zelvo.pm.FileName", "say \"hi\" to 'them'"},
      {"com.zelvo.pm.UserCode", "back\\slash\\"},
      {"com.zelvo.pm.TimeZone", "<+0530>-5:30"},
      {"equals", "a=b=c"},
      {"apostrophe", "'tis"},
      {"braces", "{x y}"},
      {"tab", "a\tb"},
      {"utf8", "Gr\u00FC\u00DFe \u65E5\u672C \U0001F600"},
      {"blank", " "},
  };
  std::string script;
  for (const Option& entry : entries) script += "ticket " + ScriptQuote(entry.first + "=" + entry.second) + "\n";
  script += "ticket com.zelvo.pm.EnableUserCode..b.=true\nticket other..b.=FALSE\noptions\n";
  const ProcessResult result = RunHost(script);
  ASSERT_EQ(result.status, 0) << result.out << result.err;

  std::vector<Option> expected = entries;
  expected.emplace_back("com.zelvo.pm.EnableUserCode..b.", "True");
  expected.emplace_back("other..b.", "False");
  const std::string line = OptionsLine(result);
  // cupsParseOptions keeps its options sorted by name; the line keeps the
  // ticket's order.
  std::vector<Option> parsed = ParseWithCups(line);
  std::vector<Option> sorted = expected;
  std::sort(parsed.begin(), parsed.end());
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(parsed, sorted) << line;
  size_t previous = 0;
  for (const Option& option : expected) {
    const size_t at = line.find(option.first + "=", previous);
    EXPECT_NE(at, std::string::npos) << option.first << " out of order in " << line;
    previous = at == std::string::npos ? previous : at;
  }
}

TEST(HostOptionsTest, AnEmptyTicketGivesAnEmptyLine) {
  const ProcessResult result = RunHost("options\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "options\n");
}

// ---- The filter ----

const char kJob[] = "%!PS-Adobe-3.0\n%%BeginProlog\n/x 1 def\n%%EndProlog\nshowpage\n";

// Every "(" and twelve digits and ")" becomes "(STAMP)": the snippet's time
// stamp changes with the minute.
std::string WithoutTimeStamps(std::string text) {
  for (size_t at = text.find('('); at != std::string::npos; at = text.find('(', at + 1)) {
    if (at + 13 < text.size() && text[at + 13] == ')' &&
        std::all_of(text.begin() + at + 1, text.begin() + at + 13, [](char c) { return c >= '0' && c <= '9'; })) {
      text.replace(at, 14, "(STAMP)");
    }
  }
  return text;
}

std::string RunFilter(const std::string& options) {
  const std::string directory = MakeTemporaryDirectory();
  WriteFile(directory + "/job.ps", kJob);
  const ProcessResult result =
      RunProcess(JOBLOGFILTER_PATH, {"joblogfilter", "7", "alice", "report", "1", options, directory + "/job.ps"});
  RemoveTree(directory);
  EXPECT_EQ(result.status, 0) << result.err;
  return WithoutTimeStamps(result.out);
}

TEST(HostOptionsFilterTest, TheFilterSplicesTheTicketsValues) {
  const ProcessResult host = RunHost(
      "ticket \"com.zelvo.pm.UserID=al (i) ce\\\\\"\nticket com.zelvo.pm.Password=1234\n"
      "ticket com.zelvo.pm.EnableUserCode..b.=True\nticket com.zelvo.pm.UserCode=42\n"
      "ticket \"com.zelvo.pm.JobType=Locked Print\"\nticket com.zelvo.pm.TimeZone=JST-9\noptions\n");
  ASSERT_EQ(host.status, 0) << host.err;
  EXPECT_EQ(RunFilter(OptionsLine(host)),
            "%!PS-Adobe-3.0\n"
            "mark\n  (al \\(i\\) ce\\\\) (42) (STAMP) {setuserinfo} stopped\ncleartomark\n"
            "mark\n  (al \\(i\\) ce\\\\) (STAMP) (1234) {secureprint} stopped\ncleartomark\n"
            "%%BeginProlog\n/x 1 def\n%%EndProlog\nshowpage\n");
}

// What the pane wrote on a commit goes to the filter unchanged: the fixture
// names its job types in its own words, which the filter takes for a plain
// job, with the user ID and the user code the user typed.
TEST(HostOptionsFilterTest, ACommittedPaneFeedsTheFilter) {
  const ProcessResult host = RunHost(FixtureDialog() + "type 1 carol7\nusercode on\ntype 5 4711\ncommit\noptions\n");
  ASSERT_EQ(host.status, 0) << host.err;
  EXPECT_THAT(Lines(host.out), testing::Contains("commit result=0 alerts=0"));
  EXPECT_EQ(RunFilter(OptionsLine(host)),
            "%!PS-Adobe-3.0\n"
            "mark\n  (carol7) (4711) (STAMP) {setuserinfo} stopped\ncleartomark\n"
            "%%BeginProlog\n/x 1 def\n%%EndProlog\nshowpage\n");
}

}  // namespace
