// pdehost's script handling: comments, blank lines, a script file or standard
// input, and the commands it cannot run, each of which stops the script with
// one error line, one message on standard error and exit status 1, after
// releasing everything (a leak would add its report to standard error).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "HostProcess.h"

namespace {

using testing::ElementsAre;

// The text as the host's output quotes it, without the outer quotes.
std::string Quoted(const std::string& text) {
  std::string quoted;
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted;
}

std::string BundleLine() { return std::string("bundle ") + FIXTURE_BUNDLE + "\n"; }

TEST(HostScriptTest, SkipsCommentsAndBlankLinesAndReadsCRLF) {
  const ProcessResult result = RunHost("# a comment\n\n   \t\n  # indented\r\nbeeps\r\nbeeps");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(Lines(result.out), ElementsAre("beeps count=0", "beeps count=0"));
}

TEST(HostScriptTest, AScriptFileGivesWhatStandardInputGives) {
  const std::string script = FixtureDialog() + "type 1 ab\ncommit\nsummary\noptions\n";
  const std::string directory = MakeTemporaryDirectory();
  WriteFile(directory + "/script", script);
  const ProcessResult fromFile = RunProcess(PDEHOST_PATH, {"pdehost", directory + "/script"});
  const ProcessResult fromDash = RunProcess(PDEHOST_PATH, {"pdehost", "-"}, {script});
  const ProcessResult fromStdin = RunHost(script);
  RemoveTree(directory);
  EXPECT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_EQ(fromFile.out, fromStdin.out);
  EXPECT_EQ(fromDash.out, fromStdin.out);
  EXPECT_THAT(Lines(fromStdin.out), testing::Contains("options com.zelvo.pm.UserID=ab com.zelvo.pm.Password=\"\" "
                                                      "com.zelvo.pm.EnableUserCode..b.=False "
                                                      "com.zelvo.pm.UserCode=\"\" com.zelvo.pm.JobType=Normal"));
}

TEST(HostScriptTest, UsageErrorsExitWithStatus2) {
  const ProcessResult missing = RunProcess(PDEHOST_PATH, {"pdehost", "/nonexistent/script"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_THAT(missing.err, testing::HasSubstr("cannot open /nonexistent/script"));
  const ProcessResult tooMany = RunProcess(PDEHOST_PATH, {"pdehost", "a", "b"});
  EXPECT_EQ(tooMany.status, 2);
  EXPECT_THAT(tooMany.err, testing::HasSubstr("usage: pdehost"));
  EXPECT_EQ(tooMany.out, "");
}

// ---- Commands that cannot run ----

struct FailureCase {
  const char* name;
  std::string script;   // its last line is the one that fails
  std::string message;  // part of the message, as text
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class HostFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(HostFailureTest, StopsWithOneErrorLine) {
  const std::string& script = GetParam().script;
  const long failingLine = std::count(script.begin(), script.end(), '\n');
  const ProcessResult result = RunHost(script + "beeps\n");
  EXPECT_EQ(result.status, 1) << result.out << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_FALSE(lines.empty());
  const std::string prefix = "error line=" + std::to_string(failingLine) + " message=\"";
  EXPECT_EQ(lines.back().substr(0, prefix.size()), prefix) << lines.back();
  EXPECT_THAT(lines.back(), testing::HasSubstr(Quoted(GetParam().message)));
  EXPECT_THAT(LinesStarting(result.out, "beeps"), testing::IsEmpty()) << "the script went on after the error";
  const std::string where = "pdehost: stdin:" + std::to_string(failingLine) + ": ";
  EXPECT_EQ(result.err.substr(0, where.size()), where) << result.err;
  EXPECT_THAT(result.err, testing::HasSubstr(GetParam().message));
  // One line only: a leak report would follow it, as the exit status of a
  // leaking run is 1 too.
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, HostFailureTest,
    testing::Values(
        FailureCase{"UnknownCommand", "frobnicate\n", "unknown command \"frobnicate\""},
        FailureCase{"TooManyArguments", "beeps now\n", "beeps takes 0 arguments"},
        FailureCase{"UnquotedTextWithBlanks", FixtureDialog() + "type 1 two words\n", "type takes 2 arguments"},
        FailureCase{"UnclosedQuote", "printer \"Fixture\n", "a quote is not closed"},
        FailureCase{"UnknownEscape", "ticket \"a=\\q\"\n", "unknown escape"},
        FailureCase{"NotUTF8", "ticket a=\xFF\n", "not UTF-8"},
        FailureCase{"OpenBeforePrinter", BundleLine() + "open\n", "no dialog is open"},
        FailureCase{"ShowBeforePrinter", "show\n", "no dialog is open"},
        FailureCase{"TypeBeforePrinter", "type 1 a\n", "no dialog is open"},
        FailureCase{"TerminateBeforePrinter", "terminate\n", "no dialog is open"},
        FailureCase{"TerminateTwice", FixtureDialog() + "terminate\nterminate\n", "the pane was terminated"},
        FailureCase{"CommitAfterTerminate", FixtureDialog() + "terminate\ncommit\n", "the pane was terminated"},
        FailureCase{"PrinterTwice", FixtureDialog() + "printer \"Fixture Printer\"\n", "a dialog is open already"},
        FailureCase{"BundleWhileOpen", FixtureDialog() + BundleLine(), "terminate it before changing the bundle"},
        FailureCase{"NoSuchControl", FixtureDialog() + "type 7 a\n", "the dialog has no control 7"},
        FailureCase{"ControlIDNotANumber", FixtureDialog() + "type one a\n", "a control ID is a number"},
        FailureCase{"TypeIntoACheckbox", FixtureDialog() + "type 4 a\n", "control 4 is not an edit text"},
        FailureCase{"UnknownKey", FixtureDialog() + "key 1 f1\n", "unknown key \"f1\" (known: backspace,"},
        FailureCase{"JobTypeZero", FixtureDialog() + "jobtype 0\n", "jobtype takes an item number"},
        FailureCase{"JobTypePastTheMenu", FixtureDialog() + "jobtype 4\n", "the job type menu has items 1 to 3"},
        FailureCase{"UserCodeMaybe", FixtureDialog() + "usercode maybe\n", "usercode takes on or off"},
        FailureCase{"SelectNegative", FixtureDialog() + "select 1 -1 2\n", "select takes a start and an end"},
        FailureCase{"TicketWithoutEquals", "ticket com.zelvo.pm.UserID\n", "ticket takes KEY=VALUE"},
        FailureCase{"TicketWithoutKey", "ticket =x\n", "ticket takes KEY=VALUE"},
        FailureCase{"BooleanThatIsNeither", "ticket com.zelvo.pm.EnableUserCode..b.=yes\n",
                    "a Boolean entry takes True or False"},
        FailureCase{"OptionWithALineBreak", "ticket \"a=one\\ntwo\"\noptions\n", "line break"},
        FailureCase{"OptionNameWithABlank", "ticket \"two words=x\"\noptions\n", "cannot be a job option name"},
        FailureCase{"BundleThatIsNotThere", "bundle /nonexistent/X.plugin\n", "cannot load the bundle"}),
    [](const testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

// "printer" with no argument opens a dialog without make and model, so its
// prologue runs; a failing prologue leaves no context for open.
TEST(HostFailureTest, OpenAfterAFailedPrologueSaysSo) {
  const ProcessResult result = RunHost(BundleLine() + "printer \"Fixture Printer\"\nopen\n",
                                       {"FIXTURE_PANE_RESULTS=prologue=-1"});
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_THAT(Lines(result.out).back(),
              testing::StartsWith("error line=3 message=\"the pane has no context: its prologue failed\""));
}

// ---- Bundles that offer no pane ----

// A bundle made in a temporary directory around the fixture's library, with
// the registration given.
class BrokenBundleTest : public testing::Test {
 protected:
  void SetUp() override { mDirectory = MakeTemporaryDirectory(); }
  void TearDown() override { RemoveTree(mDirectory); }

  std::string MakeBundle(const std::string& factories, const std::string& types) {
    const std::string bundle = mDirectory + "/Broken.plugin";
    std::filesystem::create_directories(bundle + "/Contents/MacOS");
    std::filesystem::create_symlink(FIXTURE_LIBRARY, bundle + "/Contents/MacOS/FixturePane");
    WriteFile(bundle + "/Contents/Info.plist",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
              "<key>CFBundleIdentifier</key><string>com.zelvo.test.pdehost.Broken</string>"
              "<key>CFBundleExecutable</key><string>FixturePane</string>"
              "<key>CFPlugInFactories</key><dict>" + factories + "</dict>"
              "<key>CFPlugInTypes</key><dict>" + types + "</dict></dict></plist>\n");
    return bundle;
  }

  ProcessResult Open(const std::string& bundle) { return RunHost("bundle " + bundle + "\nprinter \"Fixture Printer\"\n"); }

  std::string mDirectory;
};

const char kDialogExtensionType[] = "<key>BDB091F4-E57F-11D3-B5CC-0050E4603277</key>";

TEST_F(BrokenBundleTest, NoFactoryForTheDialogExtensionType) {
  const std::string bundle = MakeBundle(
      "<key>5C1D7E2A-8B3F-4A6D-9E0C-1F2A3B4C5D6E</key><string>FixturePaneFactory</string>",
      "<key>11111111-2222-3333-4444-555555555555</key><array><string>5C1D7E2A-8B3F-4A6D-9E0C-1F2A3B4C5D6E</string></array>");
  const ProcessResult result = Open(bundle);
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_THAT(Lines(result.out),
              ElementsAre("bundle identifier=\"com.zelvo.test.pdehost.Broken\" factories=0",
                          "error line=2 message=\"the bundle registers no factory for the dialog-extension type\""));
}

TEST_F(BrokenBundleTest, AFactoryFunctionThatIsNotThere) {
  const std::string bundle = MakeBundle(
      "<key>5C1D7E2A-8B3F-4A6D-9E0C-1F2A3B4C5D6E</key><string>NoSuchFactory</string>",
      std::string(kDialogExtensionType) + "<array><string>5C1D7E2A-8B3F-4A6D-9E0C-1F2A3B4C5D6E</string></array>");
  const ProcessResult result = Open(bundle);
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_THAT(Lines(result.out).back(), "error line=2 message=\"no factory of the bundle made an instance\"");
}

TEST_F(BrokenBundleTest, AnInstanceWithoutTheDialogExtensionInterface) {
  const std::string bundle = MakeBundle(
      "<key>7E0A1B2C-3D4E-4F50-8A6B-7C8D9E0F1A2B</key><string>FixtureUnknownOnlyFactory</string>",
      std::string(kDialogExtensionType) + "<array><string>7E0A1B2C-3D4E-4F50-8A6B-7C8D9E0F1A2B</string></array>");
  const ProcessResult result = Open(bundle);
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_THAT(Lines(result.out).back(), "error line=2 message=\"the instance gives no dialog-extension interface "
                                        "(QueryInterface answered 0x80000004)\"");
}

}  // namespace
