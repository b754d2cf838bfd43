// The Job Log pane as a user meets it: the bundle the build made, loaded by
// pdehost as the printing system loads it and driven by scripts of what a
// user does. Whole output lines are compared. Every run must exit 0, which
// under the sanitizers also means that nothing leaked, and must end with the
// pane let go ("terminate result=0 instances=0").
//
// The pane's time zone entry comes from the host's local time: pdehost runs
// with TZ=Asia/Tokyo unless a test says otherwise, and writes "JST-9".
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ProcessRunner.h"

namespace {

using testing::ElementsAreArray;
using Strings = std::vector<std::string>;

const std::vector<std::string> kTokyo = {"TZ=Asia/Tokyo"};

// ---- The printer models and job types, as the product defines them ----

struct Model {
  const char* name;
  const char* tag;  // for test names
  bool documentServer;
  size_t passwordMax;
  const char* note;  // beside the password field
};

const Model kLP4100 = {"Zelvo LP 4100 PS", "LP4100", false, 4, "4 digits"};
const Model kLP4600 = {"Zelvo LP 4600 PS", "LP4600", false, 8, "4-8 digits"};
const Model kMF5200 = {"Zelvo MF 5200 PS", "MF5200", true, 4, "4 digits"};
const Model kMF6200 = {"Zelvo MF 6200 PS", "MF6200", true, 8, "4-8 digits"};
const Model kModels[] = {kLP4100, kLP4600, kMF5200, kMF6200};

void PrintTo(const Model& model, std::ostream* os) { *os << model.name; }

struct JobType {
  int item;           // the popup's item number
  const char* tag;    // for test names
  const char* name;   // the popup's item text and the summary's value
  const char* value;  // what the pane writes under com.zelvo.pm.JobType
  bool password;      // the password field is enabled
  bool fileName;      // the file name field is enabled and in the summary
};

const JobType kJobTypes[] = {
    {1, "Normal", "Normal Print", "Normal", false, false},
    {2, "Sample", "Sample Print", "Sample Print", false, false},
    {3, "Locked", "Locked Print", "Locked Print", true, false},
    {4, "Paused", "Paused Print", "Paused Print", false, true},
    {5, "Saved", "Saved Print", "Saved Print", true, true},
    {6, "SaveDocument", "Save Document Print", "Save Document Print", true, true},
    {7, "DocumentServer", "Document Server", "Document Server", true, true},
};

// ---- Running pdehost ----

const char kBundleLine[] = "bundle identifier=\"com.zelvo.print.pde.JobLog38RPqez\" factories=1";
const char kPrinterLineStart[] = "printer factory=1BBDFF59-0D1C-47D8-AE61-3985943E5EB1 api=1.0/1.0 prologue=0 ";
const char kPrinterLineRest[] =
    " kind=\"com.zelvo.print.pde.JobLogKind38RPqez\" creator=0x00000000 maxh=150 maxv=270 initialize=";

std::string PrinterLine(const std::string& title, int initialize) {
  return kPrinterLineStart + ("title=\"" + title + "\"") + kPrinterLineRest + std::to_string(initialize);
}

// Runs the script in pdehost on the bundle the build made and returns its
// lines after the bundle's; checks the run ended well.
std::vector<std::string> RunScript(const std::string& script, const std::vector<std::string>& environment = kTokyo) {
  // A run's zone and language are only what the test asks for.
  ProcessSetup setup;
  setup.input = "bundle \"" JOBLOG_PDE_BUNDLE "\"\n" + script;
  setup.environment = environment;
  setup.unset = {"TZ", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  const ProcessResult run = RunProcess(PDEHOST_PATH, {"pdehost"}, setup);
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.err, "");
  std::vector<std::string> lines = Lines(run.out);
  if (lines.empty() || lines[0] != kBundleLine) {
    ADD_FAILURE() << "the bundle did not load:\n" << run.out;
    return {};
  }
  return std::vector<std::string>(lines.begin() + 1, lines.end());
}

// The lines a script prints in the open pane for the model, in English: the
// lines of "printer", "open" and the final "terminate" are checked here and
// left out.
std::vector<std::string> InPane(const Model& model, const std::string& script,
                                const std::vector<std::string>& environment = kTokyo) {
  std::vector<std::string> lines =
      RunScript("printer \"" + std::string(model.name) + "\"\nopen\n" + script + "terminate\n", environment);
  if (lines.size() < 3) {
    ADD_FAILURE() << "too few lines";
    return {};
  }
  EXPECT_EQ(lines[0], PrinterLine("Job Log", 0));
  EXPECT_EQ(lines[1], "open result=0");
  EXPECT_EQ(lines.back(), "terminate result=0 instances=0");
  return std::vector<std::string>(lines.begin() + 2, lines.end() - 1);
}

// The lines from the first that begins with prefix on.
std::vector<std::string> From(const std::vector<std::string>& lines, const std::string& prefix) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].compare(0, prefix.size(), prefix) == 0) {
      return std::vector<std::string>(lines.begin() + static_cast<long>(i), lines.end());
    }
  }
  ADD_FAILURE() << "no line begins with \"" << prefix << "\"";
  return {};
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// ---- Expected lines ----

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Bullets(size_t count) {
  std::string bullets;
  for (size_t i = 0; i < count; ++i) bullets += "\u2022";
  return bullets;
}

// A value in the options line: quoted when empty or holding a blank.
std::string OptionValue(const std::string& value) {
  return value.empty() || value.find(' ') != std::string::npos ? Quoted(value) : value;
}

std::string Options(const std::string& userID, const std::string& password, bool useCode, const std::string& userCode,
                    const std::string& fileName, const std::string& jobType, const std::string& zone = "JST-9") {
  return "options com.zelvo.pm.UserID=" + OptionValue(userID) + " com.zelvo.pm.Password=" + OptionValue(password) +
         " com.zelvo.pm.EnableUserCode..b.=" + (useCode ? "True" : "False") +
         " com.zelvo.pm.UserCode=" + OptionValue(userCode) + " com.zelvo.pm.FileName=" + OptionValue(fileName) +
         " com.zelvo.pm.JobType=" + OptionValue(jobType) + " com.zelvo.pm.TimeZone=" + zone;
}

std::string Alert(const std::string& message) {
  return "alert type=caution message=" + Quoted(message) + " explanation=none movable=yes position=0xB00A";
}

const char kUserIDAlert[] = "Enter a valid User ID";
const char kPasswordAlert[] = "Enter a valid Password";
const char kUserCodeAlert[] = "Enter a valid User Code";
const char kFileNameAlert[] = "Enter a valid File Name";

// What the pane holds, for the "show" lines.
struct PaneState {
  int item = 1;
  std::string userID, password, userCode, fileName;
  bool useCode = false;
  bool shown = true;  // between open and close
  int focus = 1;      // the focused control's ID, 0 for none
};

std::string YesNo(bool yes) { return yes ? "yes" : "no"; }

std::string ControlStart(int id, const char* kind, bool enabled, bool focus, bool visible = true) {
  return "control id=" + std::to_string(id) + " signature=jlog kind=" + kind + " enabled=" + YesNo(enabled) +
         " visible=" + YesNo(visible) + " focus=" + YesNo(focus);
}

std::string StaticLine(int id, bool enabled, const std::string& text, bool visible = true) {
  return ControlStart(id, "static", enabled, false, visible) + " text=" + Quoted(text);
}

// The "show" lines of the English pane for the model in this state.
std::vector<std::string> ShowLines(const Model& model, const PaneState& state) {
  const JobType& type = kJobTypes[state.item - 1];
  const auto label = [&](int id, bool enabled, const char* text) { return StaticLine(id, enabled, text, state.shown); };
  const auto field = [&](int id, bool enabled, const std::string& text) {
    const std::string shownText = id == 3 ? Bullets(text.size()) : text;
    const std::string end = std::to_string(text.size());
    return ControlStart(id, id == 3 ? "password" : "edit", enabled, state.focus == id, state.shown) +
           " text=" + Quoted(shownText) + " selection=" + end + "-" + end;
  };
  return {
      "show controls=12 focus=" + (state.focus != 0 ? std::to_string(state.focus) : std::string("none")),
      label(102, true, "Job Type:"),
      ControlStart(2, "popup", true, false, state.shown) + " value=" + std::to_string(state.item) +
          " item=" + Quoted(type.name) + " items=" + (model.documentServer ? "7" : "6"),
      label(101, true, "User ID:"),
      field(1, true, state.userID),
      label(103, type.password, "Password:"),
      field(3, type.password, state.password),
      label(203, true, model.note),
      ControlStart(4, "checkbox", true, false, state.shown) + " value=" + (state.useCode ? "1" : "0") +
          " title=\"Use User Code\"",
      label(105, state.useCode, "User Code:"),
      field(5, state.useCode, state.userCode),
      label(110, type.fileName, "File Name:"),
      field(10, type.fileName, state.fileName),
  };
}

// The "type" line of keys typed into a field: the keys the field takes, the
// ones its filter or limit blocks, or all ignored when it is disabled.
std::string TypeLine(int id, const std::string& keys, bool enabled, size_t applied, const std::string& text,
                     int focus) {
  const size_t ignored = enabled ? 0 : keys.size();
  const size_t blocked = enabled ? keys.size() - applied : 0;
  const std::string end = std::to_string(text.size());
  return "type id=" + std::to_string(id) + " keys=" + std::to_string(keys.size()) +
         " applied=" + std::to_string(enabled ? applied : 0) + " blocked=" + std::to_string(blocked) +
         " ignored=" + std::to_string(ignored) + " text=" + Quoted(id == 3 ? Bullets(text.size()) : text) +
         " selection=" + end + "-" + end + " focus=" + std::to_string(focus);
}

// ---- Every job type the model offers: the fields it enables, the keys they
// take, the summary, and the seven entries of a commit ----

struct ModelJobType {
  Model model;
  JobType type;
};

void PrintTo(const ModelJobType& c, std::ostream* os) { *os << c.model.name << ", " << c.type.name; }

std::vector<ModelJobType> OfferedJobTypes() {
  std::vector<ModelJobType> cases;
  for (const Model& model : kModels) {
    for (const JobType& type : kJobTypes) {
      if (type.item == 7 && !model.documentServer) continue;
      cases.push_back({model, type});
    }
  }
  return cases;
}

class EveryJobTypeTest : public testing::TestWithParam<ModelJobType> {};

// The user picks the job type, types into every field (a password one digit
// longer than the model takes), turns the user code on, and commits.
TEST_P(EveryJobTypeTest, EnablesItsFieldsSummarizesAndCommits) {
  const Model& model = GetParam().model;
  const JobType& type = GetParam().type;
  const std::string userID = "alice7", typedPassword = "135792468", fileName = "minutes2024", userCode = "4711";
  const std::string password = type.password ? typedPassword.substr(0, model.passwordMax) : "";

  PaneState state;
  state.item = type.item;
  state.userID = userID;
  state.password = password;
  state.fileName = type.fileName ? fileName : "";
  state.useCode = true;
  state.userCode = userCode;
  state.focus = 5;
  const int focusAfterPassword = type.password ? 3 : 1;
  const int focusAfterFileName = type.fileName ? 10 : focusAfterPassword;

  std::vector<std::string> expected = {
      "jobtype item=" + std::to_string(type.item) + " result=-9874 value=" + std::to_string(type.item) +
          " text=" + Quoted(type.name),
      TypeLine(1, userID, true, userID.size(), userID, 1),
      TypeLine(3, typedPassword, type.password, model.passwordMax, password, focusAfterPassword),
      TypeLine(10, fileName, type.fileName, fileName.size(), state.fileName, focusAfterFileName),
      "usercode value=1 clicked=yes result=-9874",
      TypeLine(5, userCode, true, userCode.size(), userCode, 5),
  };
  expected = Concat(expected, ShowLines(model, state));
  expected.push_back(std::string("summary result=0 titles=") + (type.fileName ? "4 values=4" : "3 values=3"));
  expected.push_back("pair \"Job Type\": " + Quoted(type.name));
  if (type.fileName) expected.push_back("pair \"File Name\": " + Quoted(fileName));
  expected.push_back("pair \"User ID\": " + Quoted(userID));
  expected.push_back("pair \"User Code\": " + Quoted(userCode));
  expected.push_back("commit result=0 alerts=0");
  expected.push_back(Options(userID, password, true, userCode, state.fileName, type.value));
  expected.push_back("beeps count=0");

  EXPECT_THAT(InPane(model, "jobtype " + std::to_string(type.item) + "\ntype 1 " + userID + "\ntype 3 " +
                                    typedPassword + "\ntype 10 " + fileName + "\nusercode on\ntype 5 " + userCode +
                                    "\nshow\nsummary\ncommit\noptions\nbeeps\n"),
              ElementsAreArray(expected));
}

INSTANTIATE_TEST_SUITE_P(PerModel, EveryJobTypeTest, testing::ValuesIn(OfferedJobTypes()),
                         [](const testing::TestParamInfo<ModelJobType>& p) {
                           return std::string(p.param.model.tag) + "_" + p.param.type.tag;
                         });

// ---- Enable rules, focus and the summary following the controls ----

// The pane opens on Normal Print with the focus in the user ID field; the
// user code checkbox enables its field at once and disabling keeps the text,
// which the commit still writes.
TEST(PaneControlsTest, TheCheckboxEnablesTheUserCodeAndDisablingKeepsTheText) {
  PaneState opened;
  PaneState codeOn = opened;
  codeOn.useCode = true;
  codeOn.userCode = "42";
  codeOn.focus = 5;
  PaneState codeOff = codeOn;
  codeOff.useCode = false;  // the disabled field keeps the focus, and ignores keys

  const std::vector<std::string> lines =
      InPane(kMF6200, "show\nusercode on\ntype 5 42\nshow\nusercode off\nshow\ntype 5 9\nsummary\ncommit\noptions\n");
  std::vector<std::string> expected = ShowLines(kMF6200, opened);
  expected.push_back("usercode value=1 clicked=yes result=-9874");
  expected.push_back(TypeLine(5, "42", true, 2, "42", 5));
  expected = Concat(expected, ShowLines(kMF6200, codeOn));
  expected.push_back("usercode value=0 clicked=yes result=-9874");
  expected = Concat(expected, ShowLines(kMF6200, codeOff));
  expected.push_back(TypeLine(5, "9", false, 0, "42", 5));
  expected.push_back("summary result=0 titles=2 values=2");
  expected.push_back("pair \"Job Type\": \"Normal Print\"");
  expected.push_back("pair \"User ID\": \"\"");
  expected.push_back("commit result=0 alerts=0");
  expected.push_back(Options("", "", false, "42", "", "Normal"));
  EXPECT_THAT(lines, ElementsAreArray(expected));
}

// A disabled field keeps its text, and the commit writes it: the password
// and file name typed for Saved Print are still written after the user
// switches to Sample Print, which uses neither.
TEST(PaneControlsTest, FieldsOfAnotherJobTypeKeepTheirTextAndAreWritten) {
  const std::vector<std::string> lines =
      InPane(kLP4100, "jobtype 5\ntype 1 bob\ntype 3 2468\ntype 10 plan\njobtype 2\ncommit\noptions\n");
  EXPECT_THAT(From(lines, "commit"),
              ElementsAreArray(Strings{"commit result=0 alerts=0", Options("bob", "2468", false, "", "plan", "Sample Print")}));
}

// The summary reads the controls, not the ticket: changing the popup or the
// checkbox without a sync changes the next summary. The password is never
// listed, and an empty file name is listed empty.
TEST(PaneControlsTest, TheSummaryFollowsTheControls) {
  EXPECT_THAT(InPane(kMF6200,
                     "type 1 carol\njobtype 4\nsummary\njobtype 3\ntype 3 123456\nsummary\nusercode on\ntype 5 99\n"
                     "summary\njobtype 7\ntype 10 x1\nsummary\n"),
              ElementsAreArray(Strings{
                  TypeLine(1, "carol", true, 5, "carol", 1),
                  "jobtype item=4 result=-9874 value=4 text=\"Paused Print\"",
                  "summary result=0 titles=3 values=3",
                  "pair \"Job Type\": \"Paused Print\"",
                  "pair \"File Name\": \"\"",
                  "pair \"User ID\": \"carol\"",
                  "jobtype item=3 result=-9874 value=3 text=\"Locked Print\"",
                  TypeLine(3, "123456", true, 6, "123456", 3),
                  "summary result=0 titles=2 values=2",
                  "pair \"Job Type\": \"Locked Print\"",
                  "pair \"User ID\": \"carol\"",
                  "usercode value=1 clicked=yes result=-9874",
                  TypeLine(5, "99", true, 2, "99", 5),
                  "summary result=0 titles=3 values=3",
                  "pair \"Job Type\": \"Locked Print\"",
                  "pair \"User ID\": \"carol\"",
                  "pair \"User Code\": \"99\"",
                  "jobtype item=7 result=-9874 value=7 text=\"Document Server\"",
                  TypeLine(10, "x1", true, 2, "x1", 10),
                  "summary result=0 titles=4 values=4",
                  "pair \"Job Type\": \"Document Server\"",
                  "pair \"File Name\": \"x1\"",
                  "pair \"User ID\": \"carol\"",
                  "pair \"User Code\": \"99\"",
              }));
}

// Closing the pane takes the focus away; opening it again puts the focus back
// into the user ID field, whichever field had it.
TEST(PaneControlsTest, OpeningPutsTheFocusIntoTheUserID) {
  const std::vector<std::string> lines = InPane(kLP4600, "jobtype 3\ntype 3 1234\nclose\nshow\nopen\nshow\n");
  PaneState hidden;
  hidden.item = 3;
  hidden.password = "1234";
  hidden.shown = false;
  hidden.focus = 0;
  PaneState shown = hidden;
  shown.shown = true;
  shown.focus = 1;
  std::vector<std::string> expected = {"jobtype item=3 result=-9874 value=3 text=\"Locked Print\"",
                                       TypeLine(3, "1234", true, 4, "1234", 3), "close result=0"};
  expected = Concat(expected, ShowLines(kLP4600, hidden));
  expected.push_back("open result=0");
  expected = Concat(expected, ShowLines(kLP4600, shown));
  EXPECT_THAT(lines, ElementsAreArray(expected));
}

// ---- Password limits and the note ----

// The password field takes at most the model's number of digits, typed or
// pasted; a paste that would go beyond refuses to paste at all (and beeps),
// and the note beside the field says what the model takes.
class PasswordLimitTest : public testing::TestWithParam<Model> {};

TEST_P(PasswordLimitTest, TypingAndPastingStopAtTheModelsLimit) {
  const Model& model = GetParam();
  const std::string longest = std::string("87654321").substr(0, model.passwordMax);
  const std::string oneTooMany = longest + "9";
  const std::vector<std::string> lines = InPane(
      model, "jobtype 3\ntype 3 " + oneTooMany + "\nkey 3 cmd-a\npaste 3 " + oneTooMany + "\npaste 3 " + longest +
                 "\nshow\ntype 1 dan\ncommit\noptions\nbeeps\n");
  const std::string end = std::to_string(longest.size());
  PaneState state;
  state.item = 3;
  state.password = longest;
  state.focus = 3;
  std::vector<std::string> expected = {
      "jobtype item=3 result=-9874 value=3 text=\"Locked Print\"",
      TypeLine(3, oneTooMany, true, longest.size(), longest, 3),
      "key id=3 name=cmd-a result=applied text=" + Quoted(Bullets(longest.size())) + " selection=0-" + end +
          " focus=3",
      "paste id=3 scrap=text result=0 text=" + Quoted(Bullets(longest.size())) + " selection=0-" + end + " focus=3",
      "paste id=3 scrap=text result=0 text=" + Quoted(Bullets(longest.size())) + " selection=" + end + "-" + end +
          " focus=3",
  };
  expected = Concat(expected, ShowLines(model, state));
  expected.push_back(TypeLine(1, "dan", true, 3, "dan", 1));
  expected.push_back("commit result=0 alerts=0");
  expected.push_back(Options("dan", longest, false, "", "", "Locked Print"));
  expected.push_back("beeps count=1");  // the refused paste
  EXPECT_THAT(lines, ElementsAreArray(expected));
}

INSTANTIATE_TEST_SUITE_P(PerModel, PasswordLimitTest, testing::ValuesIn(kModels),
                         [](const testing::TestParamInfo<Model>& p) { return std::string(p.param.tag); });

// ---- Commits the pane refuses: the alerts, in order, one beep each, and
// nothing written ----

struct RefusedCase {
  const char* name;
  Model model;
  const char* script;  // what the user (or, with settext, a program) did before the commit
  std::vector<const char*> alerts;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

const RefusedCase kRefusedCases[] = {
    {"LockedPrintWithoutPassword", kLP4100, "jobtype 3\ntype 1 alice\n", {kPasswordAlert}},
    {"LockedPrintWithThreeDigits", kMF6200, "jobtype 3\ntype 1 alice\ntype 3 123\n", {kPasswordAlert}},
    {"LockedPrintWithFiveDigitsOnAFourDigitModel", kLP4100, "jobtype 3\ntype 1 alice\nsettext 3 12345\n",
     {kPasswordAlert}},
    {"LockedPrintWithNineDigitsOnAnEightDigitModel", kMF6200, "jobtype 3\ntype 1 alice\nsettext 3 123456789\n",
     {kPasswordAlert}},
    {"SavedPrintWithALetterInThePassword", kMF6200, "jobtype 5\ntype 1 alice\nsettext 3 12a4\n", {kPasswordAlert}},
    // The password field is disabled for Paused Print, but a password left
    // in it from Locked Print is still tested.
    {"PausedPrintWithAShortPasswordLeftInTheDisabledField", kLP4100,
     "jobtype 3\ntype 3 123\njobtype 4\ntype 1 alice\ntype 10 draft\n", {kPasswordAlert}},
    {"DocumentServerWithAShortPassword", kMF5200, "jobtype 7\ntype 3 12\n", {kPasswordAlert}},
    {"SamplePrintWithoutUserID", kLP4100, "jobtype 2\n", {kUserIDAlert}},
    {"SaveDocumentPrintWithoutUserID", kMF6200, "jobtype 6\ntype 3 1234\ntype 10 plan\n", {kUserIDAlert}},
    {"NormalPrintWithAHyphenInTheUserID", kLP4100, "settext 1 ab-1\n", {kUserIDAlert}},
    {"NormalPrintWithANineCharacterUserID", kLP4100, "settext 1 abcdefghi\n", {kUserIDAlert}},
    // After the user ID fails the password is not tested ...
    {"UserIDFailsAndThePasswordIsNotTested", kLP4100, "jobtype 3\ntype 3 12\n", {kUserIDAlert}},
    // ... but the user code is, in the same commit.
    {"UserIDAndUserCodeInOneCommit", kMF6200, "jobtype 2\nusercode on\nsettext 5 12x\n",
     {kUserIDAlert, kUserCodeAlert}},
    // After the password fails the file name is not tested.
    {"PasswordAndUserCodeButNotTheFileName", kMF6200,
     "jobtype 5\ntype 1 alice\ntype 3 123\nsettext 10 \"my file\"\nusercode on\nsettext 5 123456789\n",
     {kPasswordAlert, kUserCodeAlert}},
    {"UserCodeWithALetter", kLP4600, "usercode on\nsettext 5 12a\n", {kUserCodeAlert}},
    {"FileNameWithABlank", kMF6200, "jobtype 6\ntype 1 alice\nsettext 10 \"my file\"\n", {kFileNameAlert}},
    {"FileNameOfSeventeenCharacters", kMF5200, "jobtype 4\ntype 1 alice\nsettext 10 abcdefghijklmnopq\n",
     {kFileNameAlert}},
    // The file name is tested whatever the job type, also in its disabled field.
    {"NormalPrintWithABadFileNameLeftInTheDisabledField", kLP4100,
     "jobtype 5\ntype 1 alice\nsettext 10 \"a b\"\njobtype 1\n", {kFileNameAlert}},
    // After the user code fails the file name is not tested.
    {"UserCodeFailsAndTheFileNameIsNotTested", kLP4600,
     "jobtype 4\ntype 1 alice\nsettext 10 a.b\nusercode on\nsettext 5 -1\n", {kUserCodeAlert}},
};

class RefusedCommitTest : public testing::TestWithParam<RefusedCase> {};

// The ticket holds one entry before the commit (a time zone the pane never
// writes on this machine); a refused commit leaves it the only one.
TEST_P(RefusedCommitTest, ShowsItsAlertsInOrderAndWritesNothing) {
  const RefusedCase& refused = GetParam();
  std::vector<std::string> expected = {"commit result=-9531 alerts=" + std::to_string(refused.alerts.size())};
  for (const char* message : refused.alerts) expected.push_back(Alert(message));
  expected.push_back("beeps count=" + std::to_string(refused.alerts.size()));
  expected.push_back("options com.zelvo.pm.TimeZone=EST5");
  EXPECT_THAT(From(InPane(refused.model, std::string("ticket com.zelvo.pm.TimeZone=EST5\n") + refused.script +
                                             "commit\nbeeps\noptions\n"),
                   "commit"),
              ElementsAreArray(expected));
}

INSTANTIATE_TEST_SUITE_P(Alerts, RefusedCommitTest, testing::ValuesIn(kRefusedCases),
                         [](const testing::TestParamInfo<RefusedCase>& p) { return std::string(p.param.name); });

// A refused commit changes nothing that an earlier commit wrote; once the
// user mends the value the next commit writes the new values.
TEST(RefusedCommitTest, KeepsWhatTheLastGoodCommitWrote) {
  const std::string good = Options("alice", "1234", false, "", "", "Locked Print");
  EXPECT_THAT(From(InPane(kLP4100,
                          "jobtype 3\ntype 1 alice\ntype 3 1234\ncommit\noptions\n"
                          "key 3 backspace\ntype 1 2\ncommit\noptions\n"
                          "type 3 9\ncommit\noptions\n"),
                   "commit"),
              ElementsAreArray(Strings{
                  "commit result=0 alerts=0",
                  good,
                  "key id=3 name=backspace result=applied text=" + Quoted(Bullets(3)) + " selection=3-3 focus=3",
                  TypeLine(1, "2", true, 1, "alice2", 1),
                  "commit result=-9531 alerts=1",
                  Alert(kPasswordAlert),
                  good,
                  TypeLine(3, "9", true, 1, "1239", 3),
                  "commit result=0 alerts=0",
                  Options("alice2", "1239", false, "", "", "Locked Print"),
              }));
}

// ---- Commits the pane accepts: what it writes ----

struct AcceptedCase {
  const char* name;
  Model model;
  const char* script;
  std::string options;
};

void PrintTo(const AcceptedCase& c, std::ostream* os) { *os << c.name; }

const AcceptedCase kAcceptedCases[] = {
    {"NormalPrintWithoutUserID", kLP4100, "", Options("", "", false, "", "", "Normal")},
    {"DocumentServerWithoutUserIDOrPassword", kMF6200, "jobtype 7\ntype 10 scan\n",
     Options("", "", false, "", "scan", "Document Server")},
    {"SavedPrintWithoutPassword", kLP4600, "jobtype 5\ntype 1 eve\n", Options("eve", "", false, "", "", "Saved Print")},
    {"PausedPrintWithoutFileName", kLP4100, "jobtype 4\ntype 1 eve\n",
     Options("eve", "", false, "", "", "Paused Print")},
    {"SaveDocumentPrintWithEightDigits", kLP4600, "jobtype 6\ntype 1 eve\ntype 3 12345678\ntype 10 f\n",
     Options("eve", "12345678", false, "", "f", "Save Document Print")},
    // With the checkbox ticked an empty user code is accepted and written.
    {"UserCodeOnButEmpty", kMF5200, "type 1 eve\nusercode on\n", Options("eve", "", true, "", "", "Normal")},
    // With the checkbox off the user code is not tested, and written as it is.
    {"UserCodeOffIsNotTested", kMF5200, "usercode on\nsettext 5 12a\nusercode off\n",
     Options("", "", false, "12a", "", "Normal")},
};

class AcceptedCommitTest : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedCommitTest, WritesTheSevenEntries) {
  EXPECT_THAT(From(InPane(GetParam().model, std::string(GetParam().script) + "commit\nbeeps\noptions\n"), "commit"),
              ElementsAreArray(Strings{std::string("commit result=0 alerts=0"), std::string("beeps count=0"),
                                GetParam().options}));
}

INSTANTIATE_TEST_SUITE_P(Values, AcceptedCommitTest, testing::ValuesIn(kAcceptedCases),
                         [](const testing::TestParamInfo<AcceptedCase>& p) { return std::string(p.param.name); });

// ---- The time zone entry: the client's real offset ----

struct ZoneCase {
  const char* tz;
  const char* entry;
};

void PrintTo(const ZoneCase& c, std::ostream* os) { *os << c.tz; }

class TimeZoneTest : public testing::TestWithParam<ZoneCase> {};

TEST_P(TimeZoneTest, TheEntryIsTheClientsZone) {
  EXPECT_THAT(From(InPane(kLP4100, "commit\noptions\n", {std::string("TZ=") + GetParam().tz}), "options"),
              ElementsAreArray(Strings{Options("", "", false, "", "", "Normal", GetParam().entry)}));
}

// Zones without daylight saving time, so the entry does not depend on the date.
INSTANTIATE_TEST_SUITE_P(Zones, TimeZoneTest,
                         testing::Values(ZoneCase{"Asia/Tokyo", "JST-9"}, ZoneCase{"Asia/Kolkata", "IST-5:30"},
                                         ZoneCase{"UTC", "UTC0"}, ZoneCase{"America/Sao_Paulo", "<-03>3"},
                                         ZoneCase{"Asia/Kathmandu", "<+0545>-5:45"}),
                         [](const testing::TestParamInfo<ZoneCase>& p) {
                           std::string name = p.param.tz;
                           for (char& c : name) {
                             if (c == '/') c = '_';
                           }
                           return name;
                         });

// ---- Restoring the pane from the ticket ----

// A ticket of valid values on "Zelvo MF 6200 PS"; each case replaces one
// entry and says what the pane then holds. A stored value that breaks its
// rule empties its field and no other.
const std::vector<std::pair<std::string, std::string>> kStoredTicket = {
    {"com.zelvo.pm.UserID", "bob"},           {"com.zelvo.pm.Password", "24681357"},
    {"com.zelvo.pm.EnableUserCode..b.", "True"}, {"com.zelvo.pm.UserCode", "4711"},
    {"com.zelvo.pm.FileName", "minutes"},     {"com.zelvo.pm.JobType", "Saved Print"},
};

struct RestoreCase {
  const char* name;
  Model model;
  std::pair<std::string, std::string> entry;  // replaces the stored entry of that key
  int item;
  const char* userID;
  const char* password;
  bool useCode;
  const char* userCode;
  const char* fileName;
};

void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }

const RestoreCase kRestoreCases[] = {
    {"AllValid", kMF6200, {"com.zelvo.pm.UserID", "bob"}, 5, "bob", "24681357", true, "4711", "minutes"},
    {"UserIDOfNineCharacters", kMF6200, {"com.zelvo.pm.UserID", "abcdefghi"}, 5, "", "24681357", true, "4711",
     "minutes"},
    {"UserIDWithAHyphen", kMF6200, {"com.zelvo.pm.UserID", "bo-b"}, 5, "", "24681357", true, "4711", "minutes"},
    {"EightDigitPasswordOnAFourDigitModel", kMF5200, {"com.zelvo.pm.Password", "24681357"}, 5, "bob", "", true,
     "4711", "minutes"},
    {"FourDigitPasswordOnAFourDigitModel", kMF5200, {"com.zelvo.pm.Password", "2468"}, 5, "bob", "2468", true,
     "4711", "minutes"},
    {"PasswordOfThreeDigits", kMF6200, {"com.zelvo.pm.Password", "246"}, 5, "bob", "", true, "4711", "minutes"},
    {"PasswordWithALetter", kMF6200, {"com.zelvo.pm.Password", "2468a"}, 5, "bob", "", true, "4711", "minutes"},
    {"UserCodeWithALetter", kMF6200, {"com.zelvo.pm.UserCode", "47a1"}, 5, "bob", "24681357", true, "", "minutes"},
    {"UserCodeOfNineDigits", kMF6200, {"com.zelvo.pm.UserCode", "123456789"}, 5, "bob", "24681357", true, "",
     "minutes"},
    {"FileNameOfSeventeenCharacters", kMF6200, {"com.zelvo.pm.FileName", "abcdefghijklmnopq"}, 5, "bob",
     "24681357", true, "4711", ""},
    {"FileNameWithADot", kMF6200, {"com.zelvo.pm.FileName", "min.utes"}, 5, "bob", "24681357", true, "4711", ""},
    {"UserCodeSwitchedOff", kMF6200, {"com.zelvo.pm.EnableUserCode..b.", "False"}, 5, "bob", "24681357", false,
     "4711", "minutes"},
    {"JobTypeLocked", kMF6200, {"com.zelvo.pm.JobType", "Locked Print"}, 3, "bob", "24681357", true, "4711",
     "minutes"},
    {"JobTypeInLowerCase", kMF6200, {"com.zelvo.pm.JobType", "saved print"}, 1, "bob", "24681357", true, "4711",
     "minutes"},
    {"JobTypeWithATrailingBlank", kMF6200, {"com.zelvo.pm.JobType", "Saved Print "}, 1, "bob", "24681357", true,
     "4711", "minutes"},
    {"JobTypeDocumentServer", kMF6200, {"com.zelvo.pm.JobType", "Document Server"}, 7, "bob", "24681357", true,
     "4711", "minutes"},
    // A printer without a document server does not offer it: Normal Print.
    {"JobTypeDocumentServerWithoutADocumentServer", kLP4600, {"com.zelvo.pm.JobType", "Document Server"}, 1, "bob",
     "24681357", true, "4711", "minutes"},
};

std::string TicketCommands(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string commands;
  for (const auto& entry : entries) commands += "ticket " + entry.first + "=" + Quoted(entry.second) + "\n";
  return commands;
}

class RestoreTest : public testing::TestWithParam<RestoreCase> {};

TEST_P(RestoreTest, FillsTheFieldsAndEmptiesWhatBreaksItsRule) {
  const RestoreCase& restore = GetParam();
  std::vector<std::pair<std::string, std::string>> entries = kStoredTicket;
  for (auto& entry : entries) {
    if (entry.first == restore.entry.first) entry.second = restore.entry.second;
  }
  const std::vector<std::string> lines =
      RunScript(TicketCommands(entries) + "printer \"" + restore.model.name + "\"\nopen\nshow\n");
  PaneState state;
  state.item = restore.item;
  state.userID = restore.userID;
  state.password = restore.password;
  state.useCode = restore.useCode;
  state.userCode = restore.userCode;
  state.fileName = restore.fileName;
  EXPECT_THAT(From(lines, "show"), ElementsAreArray(ShowLines(restore.model, state)));
}

INSTANTIATE_TEST_SUITE_P(StoredValues, RestoreTest, testing::ValuesIn(kRestoreCases),
                         [](const testing::TestParamInfo<RestoreCase>& p) { return std::string(p.param.name); });

// A sync towards the pane (reload) fills it from the ticket again; without a
// job type entry the popup stays where the user left it.
TEST(RestoreTest, ReloadFillsThePaneAgainAndKeepsThePopupWithoutAJobType) {
  const std::vector<std::string> lines = InPane(kMF6200,
                                                "jobtype 3\ntype 1 zed\n"
                                                "ticket com.zelvo.pm.UserID=amy\nticket com.zelvo.pm.Password=1357\n"
                                                "ticket com.zelvo.pm.EnableUserCode..b.=True\nreload\nshow\n"
                                                "ticket com.zelvo.pm.JobType=\"Paused Print\"\nreload\nshow\n");
  PaneState locked;
  locked.item = 3;
  locked.userID = "amy";
  locked.password = "1357";
  locked.useCode = true;
  PaneState paused = locked;
  paused.item = 4;
  std::vector<std::string> expected = {"reload result=0"};
  expected = Concat(expected, ShowLines(kMF6200, locked));
  expected.push_back("ticket key=\"com.zelvo.pm.JobType\" type=string value=\"Paused Print\"");
  expected.push_back("reload result=0");
  expected = Concat(expected, ShowLines(kMF6200, paused));
  EXPECT_THAT(From(lines, "reload"), ElementsAreArray(expected));
}

// The print settings outlive the dialog: a new dialog shows what the last
// commit wrote, held to its own printer's rules. On "Zelvo LP 4100 PS" the
// 8-digit password is emptied and Document Server, which it does not offer,
// becomes Normal Print; the other values stay.
TEST(RestoreTest, ANewDialogShowsWhatTheLastCommitWrote) {
  const std::vector<std::string> lines = RunScript(
      "printer \"Zelvo MF 6200 PS\"\nopen\njobtype 7\ntype 1 ivan\ntype 3 12345678\ntype 10 scans\nusercode on\n"
      "type 5 77\ncommit\nterminate\n"
      "printer \"Zelvo MF 6200 PS\"\nopen\nshow\nterminate\n"
      "printer \"Zelvo LP 4100 PS\"\nopen\nshow\ncommit\noptions\n");
  PaneState documentServer;
  documentServer.item = 7;
  documentServer.userID = "ivan";
  documentServer.password = "12345678";
  documentServer.fileName = "scans";
  documentServer.useCode = true;
  documentServer.userCode = "77";
  PaneState normal = documentServer;
  normal.item = 1;
  normal.password = "";
  std::vector<std::string> expected = ShowLines(kMF6200, documentServer);
  expected.push_back("terminate result=0 instances=0");
  expected.push_back(PrinterLine("Job Log", 0));
  expected.push_back("open result=0");
  expected = Concat(expected, ShowLines(kLP4100, normal));
  expected.push_back("commit result=0 alerts=0");
  expected.push_back(Options("ivan", "", true, "77", "scans", "Normal"));
  EXPECT_THAT(From(lines, "show"), ElementsAreArray(expected));
}

// ---- Printers the pane does not know ----

// A make and model not in the model data, or none at all: Initialize answers
// -9530 and the pane builds no controls; the host still lets it go cleanly.
TEST(UnlistedPrinterTest, InitializeFailsWithNoControls) {
  for (const char* printer : {"printer \"Zelvo LP 9999 PS\"", "printer \"zelvo mf 6200 ps\"",
                              "printer \"Zelvo MF 6200 PS \"", "printer"}) {
    SCOPED_TRACE(printer);
    EXPECT_THAT(RunScript(std::string(printer) + "\nshow\nterminate\n"),
                ElementsAreArray(Strings{PrinterLine("Job Log", -9530), std::string("show controls=0 focus=none"),
                                  std::string("terminate result=0 instances=0")}));
  }
}

// ---- The German translation ----

// A Save Document Print job on "Zelvo MF 6200 PS": the commit refused with
// the user ID and user code alerts, then mended, accepted and summarized.
const char kGermanScript[] =
    "printer \"Zelvo MF 6200 PS\"\nopen\njobtype 6\nusercode on\nsettext 5 12x\ncommit\n"
    "type 1 anna\ntype 3 123456\ntype 10 plan\nsettext 5 4711\nsummary\ncommit\nterminate\n";

std::vector<std::string> GermanLines() {
  return {
      PrinterLine("Auftragsprotokoll", 0),
      "open result=0",
      "jobtype item=6 result=-9874 value=6 text=\"Speichern und drucken\"",
      "usercode value=1 clicked=yes result=-9874",
      "settext id=5 result=0 text=\"12x\" selection=3-3 focus=1",
      "commit result=-9531 alerts=2",
      Alert("Bitte eine g\u00fcltige Benutzer-ID eingeben"),
      Alert("Bitte einen g\u00fcltigen Benutzercode eingeben"),
      TypeLine(1, "anna", true, 4, "anna", 1),
      TypeLine(3, "123456", true, 6, "123456", 3),
      TypeLine(10, "plan", true, 4, "plan", 10),
      "settext id=5 result=0 text=\"4711\" selection=4-4 focus=10",
      "summary result=0 titles=4 values=4",
      "pair \"Auftragsart\": \"Speichern und drucken\"",
      "pair \"Dateiname\": \"plan\"",
      "pair \"Benutzer-ID\": \"anna\"",
      "pair \"Benutzercode\": \"4711\"",
      "commit result=0 alerts=0",
      "terminate result=0 instances=0",
  };
}

class GermanTest : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(GermanTest, AlertsAndSummaryAreGerman) {
  std::vector<std::string> environment = GetParam();
  environment.push_back("TZ=Asia/Tokyo");
  EXPECT_THAT(RunScript(kGermanScript, environment), ElementsAreArray(GermanLines()));
}

INSTANTIATE_TEST_SUITE_P(Environments, GermanTest,
                         testing::Values(std::vector<std::string>{"LANGUAGE=de"},
                                         std::vector<std::string>{"LANG=de_DE.UTF-8"},
                                         std::vector<std::string>{"LC_MESSAGES=de_AT.UTF-8"},
                                         std::vector<std::string>{"LANGUAGE=fr:de", "LANG=fr_FR.UTF-8"}),
                         [](const testing::TestParamInfo<std::vector<std::string>>& p) {
                           std::string name;
                           for (const std::string& entry : p.param) {
                             for (char c : entry) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             name += '_';
                           }
                           name.pop_back();
                           return name;
                         });

// The German pane's controls, with the note for long passwords.
TEST(GermanTest, ThePaneIsGerman) {
  const std::vector<std::string> lines =
      RunScript("printer \"Zelvo MF 6200 PS\"\nopen\nshow\n", {"LANGUAGE=de", "TZ=Asia/Tokyo"});
  EXPECT_THAT(From(lines, "show"),
              ElementsAreArray(Strings{
                  "show controls=12 focus=1",
                  StaticLine(102, true, "Auftragsart:"),
                  ControlStart(2, "popup", true, false) + " value=1 item=\"Normaldruck\" items=7",
                  StaticLine(101, true, "Benutzer-ID:"),
                  ControlStart(1, "edit", true, true) + " text=\"\" selection=0-0",
                  StaticLine(103, false, "Kennwort:"),
                  ControlStart(3, "password", false, false) + " text=\"\" selection=0-0",
                  StaticLine(203, true, "4-8 Ziffern"),
                  ControlStart(4, "checkbox", true, false) + " value=0 title=\"Benutzercode verwenden\"",
                  StaticLine(105, false, "Benutzercode:"),
                  ControlStart(5, "edit", false, false) + " text=\"\" selection=0-0",
                  StaticLine(110, false, "Dateiname:"),
                  ControlStart(10, "edit", false, false) + " text=\"\" selection=0-0",
              }));
}

// A language without a translation shows the English texts.
TEST(GermanTest, AnUntranslatedLanguageShowsEnglish) {
  EXPECT_THAT(From(InPane(kLP4100, "jobtype 2\ncommit\nsummary\n", {"LANGUAGE=fr", "TZ=Asia/Tokyo"}), "commit"),
              ElementsAreArray(Strings{"commit result=-9531 alerts=1", Alert(kUserIDAlert), "summary result=0 titles=2 values=2",
                                "pair \"Job Type\": \"Sample Print\"", "pair \"User ID\": \"\""}));
}

}  // namespace
