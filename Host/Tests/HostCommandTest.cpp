// pdehost driving the fixture pane: the dialog opened as the printing system
// opens it, the user's keys, pastes, clicks and choices through the toolkit,
// the pane's sync, alerts and summary, and the end of the dialog. Every run
// is also checked to exit 0, which it does only with nothing leaked.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "HostProcess.h"

namespace {

using testing::ElementsAre;

const char kPrinterLine[] =
    "printer factory=5C1D7E2A-8B3F-4A6D-9E0C-1F2A3B4C5D6E api=1.0/1.0 prologue=0 title=\"Fixture\" "
    "kind=\"com.zelvo.test.pdehost.FixtureKind\" creator=jlog maxh=300 maxv=200";

// The lines of a successful run of the fixture dialog plus the script, past
// the lines of the dialog's opening.
std::vector<std::string> RunInDialog(const std::string& script, const std::vector<std::string>& environment = {}) {
  const ProcessResult result = RunHost(FixtureDialog() + script, environment);
  EXPECT_EQ(result.status, 0) << result.out << result.err;
  std::vector<std::string> lines = Lines(result.out);
  EXPECT_GE(lines.size(), 3u) << result.out;
  if (lines.size() < 3) return {};
  EXPECT_EQ(lines[2], "open result=0");
  return std::vector<std::string>(lines.begin() + 3, lines.end());
}

TEST(HostDialogTest, OpensThePaneAsThePrintingSystemDoes) {
  const ProcessResult result = RunHost(FixtureDialog() + "terminate\n");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_THAT(Lines(result.out),
              ElementsAre("bundle identifier=\"com.zelvo.test.pdehost.FixturePane\" factories=1",
                          std::string(kPrinterLine) + " initialize=0", "open result=0",
                          "terminate result=0 instances=0"));
}

TEST(HostDialogTest, ShowsEveryControlWithItsStateTextAndFocus) {
  EXPECT_THAT(
      RunInDialog("type 3 12\njobtype 2\ntype 3 1234\nshow\n"),
      ElementsAre(
          "type id=3 keys=2 applied=0 blocked=0 ignored=2 text=\"\" selection=0-0 focus=1",
          "jobtype item=2 result=-9874 value=2 text=\"Held\"",
          "type id=3 keys=4 applied=4 blocked=0 ignored=0 text=\"••••\" selection=4-4 focus=3",
          "show controls=6 focus=3",
          "control id=1 signature=jlog kind=edit enabled=yes visible=yes focus=no text=\"\" selection=0-0",
          "control id=2 signature=jlog kind=popup enabled=yes visible=yes focus=no value=2 item=\"Held\" items=3",
          "control id=3 signature=jlog kind=password enabled=yes visible=yes focus=yes text=\"••••\" selection=4-4",
          "control id=4 signature=jlog kind=checkbox enabled=yes visible=yes focus=no value=0 title=\"Use code\"",
          "control id=5 signature=jlog kind=edit enabled=no visible=yes focus=no text=\"\" selection=0-0",
          "control id=103 signature=jlog kind=static enabled=yes visible=yes focus=no text=\"4 digits\""));
}

// Without a bundle command the host loads the bundle the build made, the Job
// Log pane, and lets it go again.
TEST(HostDialogTest, TheDefaultBundleIsTheOneTheBuildMade) {
  const ProcessResult result = RunHost("printer \"Zelvo MF 6200 PS\"\nterminate\n");
  EXPECT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 2u) << result.out;
  EXPECT_THAT(lines[0], testing::StartsWith("printer factory="));
  EXPECT_THAT(lines[0], testing::HasSubstr(" prologue=0 title=\"Job Log\" "));
  EXPECT_THAT(lines[0], testing::EndsWith(" initialize=0"));
  EXPECT_EQ(lines[1], "terminate result=0 instances=0");
}

// The user pane is shown only between open and close: before, and after a
// close, no key reaches the pane and nothing has the focus.
TEST(HostDialogTest, ThePaneTakesKeysOnlyWhileOpen) {
  const ProcessResult result = RunHost(std::string("bundle ") + FIXTURE_BUNDLE +
                                       "\nprinter \"Fixture Printer\"\ntype 1 ab\nopen\ntype 1 ab\nclose\ntype 1 cd\n"
                                       "show\n");
  EXPECT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 14u) << result.out;
  EXPECT_EQ(lines[2], "type id=1 keys=2 applied=0 blocked=0 ignored=2 text=\"\" selection=0-0 focus=none");
  EXPECT_EQ(lines[4], "type id=1 keys=2 applied=2 blocked=0 ignored=0 text=\"ab\" selection=2-2 focus=1");
  EXPECT_EQ(lines[5], "close result=0");
  EXPECT_EQ(lines[6], "type id=1 keys=2 applied=0 blocked=0 ignored=2 text=\"ab\" selection=2-2 focus=none");
  EXPECT_EQ(lines[7], "show controls=6 focus=none");
  EXPECT_EQ(lines[8], "control id=1 signature=jlog kind=edit enabled=yes visible=no focus=no text=\"ab\" selection=2-2");
}

// ---- Typing, keys, selections and pastes ----

struct EditCase {
  const char* name;
  std::string script;
  std::string lastLine;
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class HostEditTest : public testing::TestWithParam<EditCase> {};

TEST_P(HostEditTest, EndsWith) {
  const std::vector<std::string> lines = RunInDialog(GetParam().script);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), GetParam().lastLine);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, HostEditTest,
    testing::Values(
        EditCase{"KeyFilterBlocksAndCounts", "type 1 \"ab-c 1\"\n",
                 "type id=1 keys=6 applied=4 blocked=2 ignored=0 text=\"abc1\" selection=4-4 focus=1"},
        EditCase{"LengthLimitHolds", "type 1 abcdefghij\n",
                 "type id=1 keys=10 applied=8 blocked=2 ignored=0 text=\"abcdefgh\" selection=8-8 focus=1"},
        EditCase{"EmptyTextTypesNothing", "type 1 \"\"\n",
                 "type id=1 keys=0 applied=0 blocked=0 ignored=0 text=\"\" selection=0-0 focus=1"},
        // One key per UTF-16 unit: the character outside the BMP is two keys.
        EditCase{"CharactersOutsideTheFilterAreBlockedUnitByUnit", "type 1 \"\u00E9\U0001F600\"\n",
                 "type id=1 keys=3 applied=0 blocked=3 ignored=0 text=\"\" selection=0-0 focus=1"},
        EditCase{"DisabledFieldIgnoresKeys", "type 5 12\n",
                 "type id=5 keys=2 applied=0 blocked=0 ignored=2 text=\"\" selection=0-0 focus=1"},
        EditCase{"Backspace", "type 1 abc\nkey 1 backspace\n",
                 "key id=1 name=backspace result=applied text=\"ab\" selection=2-2 focus=1"},
        EditCase{"LeftThenDelete", "type 1 abc\nkey 1 left\nkey 1 left\nkey 1 delete\n",
                 "key id=1 name=delete result=applied text=\"ac\" selection=1-1 focus=1"},
        EditCase{"RightStopsAtTheEnd", "type 1 ab\nkey 1 right\n",
                 "key id=1 name=right result=applied text=\"ab\" selection=2-2 focus=1"},
        EditCase{"CommandASelectsAll", "type 1 abc\nkey 1 cmd-a\n",
                 "key id=1 name=cmd-a result=applied text=\"abc\" selection=0-3 focus=1"},
        EditCase{"TabMovesTheFocusToTheNextField", "jobtype 2\nkey 1 tab\n",
                 "key id=1 name=tab result=applied text=\"\" selection=0-0 focus=3"},
        EditCase{"ReturnDoesNothing", "type 1 ab\nkey 1 return\n",
                 "key id=1 name=return result=ignored text=\"ab\" selection=2-2 focus=1"},
        EditCase{"TypingReplacesTheSelection", "type 1 abcd\nselect 1 1 3\ntype 1 X\n",
                 "type id=1 keys=1 applied=1 blocked=0 ignored=0 text=\"aXd\" selection=2-2 focus=1"},
        EditCase{"SelectionIsClampedToTheText", "type 1 abc\nselect 1 2 99\n",
                 "select id=1 result=0 text=\"abc\" selection=2-3 focus=1"},
        EditCase{"PasteReplacesTheSelection", "type 1 abcd\nselect 1 1 3\npaste 1 \"x y\"\n",
                 "paste id=1 scrap=text result=0 text=\"ax yd\" selection=4-4 focus=1"},
        EditCase{"PasteKeepsMacRomanText", "paste 1 \"Gr\u00FC\u00DF\"\n",
                 "paste id=1 scrap=text result=0 text=\"Gr\u00FC\u00DF\" selection=4-4 focus=1"},
        // Text with no Mac OS Roman form never reaches the scrap's plain
        // text, so the paste finds nothing to insert.
        EditCase{"PasteOfTextWithoutMacRomanFormInsertsNothing", "type 1 ab\npaste 1 \"\u65E5\u672C\"\n",
                 "paste id=1 scrap=none result=0 text=\"ab\" selection=2-2 focus=1"},
        EditCase{"PasteIntoADisabledFieldIsRefused", "paste 5 12\n",
                 "paste id=5 scrap=text result=-50 text=\"\" selection=0-0 focus=1"},
        // A program's text goes past the key filter and the limit.
        EditCase{"SetTextBypassesFilterAndLimit", "settext 1 \"a-b c 123456\"\n",
                 "settext id=1 result=0 text=\"a-b c 123456\" selection=12-12 focus=1"},
        EditCase{"SetTextOfAPasswordShowsDots", "settext 3 \"x y\"\n",
                 "settext id=3 result=0 text=\"•••\" selection=3-3 focus=1"},
        EditCase{"PasswordShowsDots", "jobtype 3\ntype 3 12\nkey 3 left\n",
                 "key id=3 name=left result=applied text=\"••\" selection=1-1 focus=3"}),
    [](const testing::TestParamInfo<EditCase>& param) { return param.param.name; });

// ---- The popup and the checkbox ----

TEST(HostClickTest, ChoicesAndClicksSendTheirCommandsToThePane) {
  EXPECT_THAT(RunInDialog("jobtype 3\nusercode on\nusercode on\ntype 5 42\nusercode off\nshow\n"),
              ElementsAre("jobtype item=3 result=-9874 value=3 text=\"Stored\"",
                          "usercode value=1 clicked=yes result=-9874", "usercode value=1 clicked=no",
                          "type id=5 keys=2 applied=2 blocked=0 ignored=0 text=\"42\" selection=2-2 focus=5",
                          "usercode value=0 clicked=yes result=-9874", "show controls=6 focus=5",
                          "control id=1 signature=jlog kind=edit enabled=yes visible=yes focus=no text=\"\" "
                          "selection=0-0",
                          "control id=2 signature=jlog kind=popup enabled=yes visible=yes focus=no value=3 "
                          "item=\"Stored\" items=3",
                          "control id=3 signature=jlog kind=password enabled=yes visible=yes focus=no text=\"\" "
                          "selection=0-0",
                          "control id=4 signature=jlog kind=checkbox enabled=yes visible=yes focus=no value=0 "
                          "title=\"Use code\"",
                          "control id=5 signature=jlog kind=edit enabled=no visible=yes focus=yes text=\"42\" "
                          "selection=2-2",
                          "control id=103 signature=jlog kind=static enabled=yes visible=yes focus=no "
                          "text=\"4 digits\""));
}

// ---- Sync, alerts, beeps and the summary ----

TEST(HostCommitTest, AFailedCommitListsEveryAlertInOrderAndWritesNothing) {
  EXPECT_THAT(RunInDialog("ticket com.zelvo.pm.UserID=kept\ntype 1 \"\"\nkey 1 cmd-a\nkey 1 delete\nusercode on\n"
                          "commit\nbeeps\noptions\n"),
              ElementsAre("ticket key=\"com.zelvo.pm.UserID\" type=string value=\"kept\"",
                          "type id=1 keys=0 applied=0 blocked=0 ignored=0 text=\"\" selection=0-0 focus=1",
                          "key id=1 name=cmd-a result=applied text=\"\" selection=0-0 focus=1",
                          "key id=1 name=delete result=applied text=\"\" selection=0-0 focus=1",
                          "usercode value=1 clicked=yes result=-9874", "commit result=-9531 alerts=2",
                          "alert type=caution message=\"Enter a user ID\" explanation=none movable=yes "
                          "position=0xB00A",
                          "alert type=caution message=\"Enter a user code\" explanation=none movable=yes "
                          "position=0xB00A",
                          "beeps count=2", "options com.zelvo.pm.UserID=kept"));
}

TEST(HostCommitTest, ACommitWritesTheTicketInThePanesOrder) {
  EXPECT_THAT(RunInDialog("type 1 alice\njobtype 2\ntype 3 1234\nusercode on\ntype 5 77\ncommit\noptions\nbeeps\n"),
              testing::IsSupersetOf(std::vector<std::string>{"commit result=0 alerts=0",
                                     "options com.zelvo.pm.UserID=alice com.zelvo.pm.Password=1234 "
                                     "com.zelvo.pm.EnableUserCode..b.=True com.zelvo.pm.UserCode=77 "
                                     "com.zelvo.pm.JobType=Held",
                                     "beeps count=0"}));
}

TEST(HostCommitTest, ReloadFillsThePaneFromTheTicket) {
  EXPECT_THAT(RunInDialog("ticket com.zelvo.pm.UserID=bob\nticket com.zelvo.pm.JobType=Stored\n"
                          "ticket com.zelvo.pm.EnableUserCode..b.=True\nreload\nshow\n"),
              testing::IsSupersetOf(std::vector<std::string>{"reload result=0",
                                     "control id=1 signature=jlog kind=edit enabled=yes visible=yes focus=yes "
                                     "text=\"bob\" selection=3-3",
                                     "control id=2 signature=jlog kind=popup enabled=yes visible=yes focus=no "
                                     "value=3 item=\"Stored\" items=3",
                                     "control id=4 signature=jlog kind=checkbox enabled=yes visible=yes focus=no "
                                     "value=1 title=\"Use code\"",
                                     "control id=5 signature=jlog kind=edit enabled=yes visible=yes focus=no "
                                     "text=\"\" selection=0-0"}));
}

TEST(HostSummaryTest, OneLinePerPairInThePanesOrder) {
  EXPECT_THAT(RunInDialog("summary\ntype 1 \"a b\"\nusercode on\ntype 5 9\nsummary\n"),
              ElementsAre("summary result=0 titles=2 values=2", "pair \"Job Type\": \"Normal\"",
                          "pair \"User ID\": \"\"",
                          "type id=1 keys=3 applied=2 blocked=1 ignored=0 text=\"ab\" selection=2-2 focus=1",
                          "usercode value=1 clicked=yes result=-9874",
                          "type id=5 keys=1 applied=1 blocked=0 ignored=0 text=\"9\" selection=1-1 focus=5",
                          "summary result=0 titles=3 values=3", "pair \"Job Type\": \"Normal\"",
                          "pair \"User ID\": \"ab\"", "pair \"User Code\": \"9\""));
}

TEST(HostSummaryTest, ArraysOutOfStepShowWhatIsMissing) {
  EXPECT_THAT(RunInDialog("summary\n", {"FIXTURE_PANE_RESULTS=summary=uneven"}),
              ElementsAre("summary result=0 titles=3 values=2", "pair \"Job Type\": \"Normal\"",
                          "pair \"User ID\": \"\"", "pair \"Note\": none"));
}

// Texts from the bundle's German strings table come out as UTF-8.
TEST(HostLocalizationTest, TheUsersLanguageReachesTitleAlertsAndSummary) {
  const ProcessResult result =
      RunHost(FixtureDialog() + "commit\nsummary\n", {"LANGUAGE=de", "LANG=de_DE.UTF-8"});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 8u) << result.out;
  EXPECT_NE(lines[1].find(" title=\"Pr\u00FCfst\u00FCck\" "), std::string::npos) << lines[1];
  EXPECT_EQ(lines[4],
            "alert type=caution message=\"Benutzer-ID eingeben\" explanation=none movable=yes position=0xB00A");
  EXPECT_EQ(lines[6], "pair \"Auftragsart\": \"Normal\"");
  EXPECT_EQ(lines[7], "pair \"Benutzer-ID\": \"\"");
}

// ---- Result codes the pane chooses ----

struct ResultCase {
  const char* name;
  std::string steering;
  std::string script;
  std::string line;
};

void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.name; }

class HostResultTest : public testing::TestWithParam<ResultCase> {};

TEST_P(HostResultTest, ThePanesCodeIsPrinted) {
  const ProcessResult result =
      RunHost(std::string("bundle ") + FIXTURE_BUNDLE + "\nprinter \"Fixture Printer\"\n" + GetParam().script,
              {"FIXTURE_PANE_RESULTS=" + GetParam().steering});
  EXPECT_EQ(result.status, 0) << result.out << result.err;
  EXPECT_THAT(Lines(result.out), testing::Contains(GetParam().line)) << result.out;
}

INSTANTIATE_TEST_SUITE_P(
    Steered, HostResultTest,
    testing::Values(ResultCase{"Open", "open=-4", "open\n", "open result=-4"},
                    ResultCase{"Close", "close=-5", "open\nclose\n", "close result=-5"},
                    ResultCase{"Reload", "reload=-30879", "reload\n", "reload result=-30879"},
                    ResultCase{"SummaryFailsWithoutArrays", "summary=-108", "summary\n",
                               "summary result=-108 titles=0 values=0"}),
    [](const testing::TestParamInfo<ResultCase>& param) { return param.param.name; });

// A printer the pane does not list: Initialize refuses it and no control is
// built, yet the dialog ends cleanly.
TEST(HostResultTest, AnUnlistedPrinterGetsNoControls) {
  for (const char* printer : {"printer \"Other Printer\"", "printer \"\"", "printer"}) {
    const ProcessResult result =
        RunHost(std::string("bundle ") + FIXTURE_BUNDLE + "\n" + printer + "\nshow\nterminate\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(Lines(result.out), ElementsAre(testing::_, std::string(kPrinterLine) + " initialize=-9530",
                                               "show controls=0 focus=none", "terminate result=0 instances=0"))
        << printer;
  }
}

TEST(HostResultTest, AFailedPrologueLeavesNoPaneToCall) {
  const ProcessResult result = RunHost(std::string("bundle ") + FIXTURE_BUNDLE +
                                           "\nprinter \"Fixture Printer\"\nshow\nterminate\nbeeps\n",
                                       {"FIXTURE_PANE_RESULTS=prologue=-9530"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(Lines(result.out),
              ElementsAre(testing::_,
                          "printer factory=5C1D7E2A-8B3F-4A6D-9E0C-1F2A3B4C5D6E api=1.0/1.0 prologue=-9530",
                          "show controls=0 focus=none", "terminate result=none instances=0", "beeps count=0"));
}

// ---- The end of the dialog ----

TEST(HostTerminateTest, TheWindowStaysButNothingReachesThePane) {
  const ProcessResult result = RunHost(FixtureDialog() + "type 1 ab\nterminate\nshow\ntype 1 c\n");
  EXPECT_EQ(result.status, 1);
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 13u) << result.out;
  EXPECT_EQ(lines[4], "terminate result=0 instances=0");
  EXPECT_EQ(lines[5], "show controls=6 focus=1");
  EXPECT_EQ(lines[6], "control id=1 signature=jlog kind=edit enabled=yes visible=yes focus=yes text=\"ab\" "
                      "selection=2-2");
  EXPECT_EQ(lines[12], "error line=7 message=\"the pane was terminated; nothing reaches it any more\"");
}

// The print settings outlive the dialog: a dialog opened again after
// terminate is a new instance that fills its pane from them.
TEST(HostTerminateTest, ADialogOpenedAgainReadsTheSettingsOfTheLastCommit) {
  const std::vector<std::string> lines = RunInDialog(
      "type 1 carol\njobtype 2\ncommit\nterminate\nprinter \"Fixture Printer\"\nopen\nshow\nterminate\n");
  EXPECT_THAT(lines, testing::IsSupersetOf(std::vector<std::string>{"commit result=0 alerts=0", std::string(kPrinterLine) + " initialize=0",
                                            "control id=1 signature=jlog kind=edit enabled=yes visible=yes "
                                            "focus=yes text=\"carol\" selection=5-5",
                                            "control id=2 signature=jlog kind=popup enabled=yes visible=yes "
                                            "focus=no value=2 item=\"Held\" items=3"}));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "terminate result=0 instances=0"), 2);
}

// Ending the script with the dialog open is no fault: the host terminates
// the pane and releases everything itself (the run exits 0 only when nothing
// is left alive, and LeakSanitizer watches too).
TEST(HostTerminateTest, AScriptMayEndWithTheDialogOpen) {
  for (const std::string& script : {FixtureDialog() + "type 1 abc\nusercode on\ncommit\n", FixtureDialog(),
                                    std::string("beeps\n"), std::string("")}) {
    const ProcessResult result = RunHost(script);
    EXPECT_EQ(result.status, 0) << script << result.err;
    EXPECT_EQ(result.err, "") << script;
  }
}

}  // namespace
