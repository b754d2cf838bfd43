// The Job Log pane as the print dialog meets it: the bundle JobLogPDE.plugin
// loaded through CFPlugIn, the pane built for a printer model, the user's
// input, the exchange with the print-settings ticket, the summary, its
// languages and its time zone.
#include <time.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "PrintDialog.h"

namespace {

using Lines = std::vector<std::string>;

enum {
  kUserID = 1,
  kJobType = 2,
  kPassword = 3,
  kEnableUserCode = 4,
  kUserCode = 5,
  kFileName = 10,
  kPasswordLabel = 103,
  kUserCodeLabel = 105,
  kFileNameLabel = 110,
  kPasswordNote = 203
};

// Job types, numbered as the popup's items.
enum {
  kJobTypeNormalPrint = 1,
  kJobTypeSamplePrint = 2,
  kJobTypeLockedPrint = 3,
  kJobTypePausedPrint = 4,
  kJobTypeSavedPrint = 5,
  kJobTypeSaveDocumentPrint = 6,
  kJobTypeDocumentServer = 7
};

#define kFactoryText "1BBDFF59-0D1C-47D8-AE61-3985943E5EB1"

const char* const kStringKeys[] = {
    "Job Log", "4-8 digits", "Job Type", "File Name", "User ID", "User Code", "Normal Print",
    "Sample Print", "Locked Print", "Paused Print", "Saved Print", "Save Document Print", "Document Server",
    "Enter a valid User ID", "Enter a valid Password", "Enter a valid User Code", "Enter a valid File Name"};

// The bundle stays loaded for the whole run, as a print dialog keeps it, and
// its strings tables are read once up front, so that each test counts only
// the objects it makes itself.
class BundleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    plugIn_.reset(CreateBundleAt(JOBLOG_PDE_BUNDLE));
    ASSERT_NE(nullptr, plugIn_.get()) << JOBLOG_PDE_BUNDLE;
    for (const char* language : {"en_US.UTF-8", "de_DE.UTF-8"}) {
      EnvGuard env;
      ChooseLanguage(&env, language);
      Take(CFBundleCopyLocalizedString(plugIn_.get(), CFSTR("Job Log"), nullptr, nullptr));
    }
  }
  void TearDown() override { plugIn_.reset(); }

 private:
  Owned<CFBundleRef> plugIn_;
};
const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new BundleEnvironment);

class JobLogPaneTest : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    ChooseLanguage(&env_, "en_US.UTF-8");
    dialog_ = std::make_unique<PrintDialog>(JOBLOG_PDE_BUNDLE);
  }
  void TearDown() override {
    dialog_.reset();
    LeakCheckedTest::TearDown();
  }

  // Opens the pane for the printer and shows it.
  void OpenAndShow(const char* model) {
    ASSERT_EQ(noErr, dialog_->Open(model));
    ASSERT_EQ(noErr, dialog_->Show());
  }
  ControlRef Control(SInt32 id) const { return dialog_->Control(id); }
  void ChooseJobType(SInt16 item) { ASSERT_EQ(eventNotHandledErr, SimChoosePopupItem(Control(kJobType), item)); }
  void Type(SInt32 id, const char* text) { SimTypeText(Control(id), text); }
  std::string TextOf(SInt32 id) const { return PrintDialog::TextOf(Control(id)); }
  Boolean Enabled(SInt32 id) const { return IsControlEnabled(Control(id)); }

  EnvGuard env_;
  std::unique_ptr<PrintDialog> dialog_;
};

// ---- Loading and building ----

TEST_F(JobLogPaneTest, PrintingSystemFindsMakesAndCountsThePane) {
  ASSERT_TRUE(dialog_->Load());
  Owned<CFUUIDRef> ours(CFUUIDCreateFromString(nullptr, CFSTR(kFactoryText)));
  EXPECT_TRUE(CFEqual(ours.get(), dialog_->factory()));
  EXPECT_EQ(1, SimGetFactoryInstanceCount(ours.get()));
  EXPECT_NE(nullptr, dialog_->context());
  EXPECT_EQ(0u, dialog_->creator());
  EXPECT_EQ("com.zelvo.print.pde.JobLogKind38RPqez", Str(dialog_->kind()));
  EXPECT_EQ("Job Log", Str(dialog_->title()));
  EXPECT_EQ(150u, dialog_->maxH());
  EXPECT_EQ(270u, dialog_->maxV());

  // The factory answers only for the dialog-extension type.
  Owned<CFUUIDRef> otherType(CFUUIDCreateFromString(nullptr, CFSTR("0B6C2F4E-1D3A-4E5B-8C7D-9E0F1A2B3C4D")));
  auto factory = reinterpret_cast<CFPlugInFactoryFunction>(
      CFBundleGetFunctionPointerForName(dialog_->plugIn(), CFSTR("JobLogPluginFactory")));
  ASSERT_NE(nullptr, factory);
  EXPECT_EQ(nullptr, factory(nullptr, otherType.get()));
  EXPECT_EQ(nullptr, CFBundleGetFunctionPointerForName(dialog_->plugIn(), CFSTR("JobLogPrologue")));
  EXPECT_EQ(nullptr, CFBundleGetFunctionPointerForName(dialog_->plugIn(), CFSTR("PluginFactory")));

  dialog_.reset();
  EXPECT_EQ(0, SimGetFactoryInstanceCount(ours.get()));
}

struct ModelCase {
  const char* name;
  const char* model;
  UInt16 jobTypes;        // items of the job type popup
  CFIndex passwordLimit;  // digits the password field takes
  const char* note;
};
void PrintTo(const ModelCase& c, std::ostream* os) { *os << c.name; }

class ModelTest : public JobLogPaneTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(ModelTest, WindowAndPasswordFollowTheModel) {
  OpenAndShow(GetParam().model);
  EXPECT_EQ(GetParam().jobTypes, SimCountMenuItems(GetControlPopupMenuHandle(Control(kJobType))));
  EXPECT_EQ(GetParam().note, TextOf(kPasswordNote));
  ChooseJobType(kJobTypeLockedPrint);
  EXPECT_EQ(GetParam().passwordLimit, SimTypeText(Control(kPassword), "123456789"));
}

INSTANTIATE_TEST_SUITE_P(Models, ModelTest,
                         ::testing::Values(ModelCase{"LP4100", "Zelvo LP 4100 PS", 6, 4, "4 digits"},
                                           ModelCase{"LP4600", "Zelvo LP 4600 PS", 6, 8, "4-8 digits"},
                                           ModelCase{"MF5200", "Zelvo MF 5200 PS", 7, 4, "4 digits"},
                                           ModelCase{"MF6200", "Zelvo MF 6200 PS", 7, 8, "4-8 digits"}),
                         CaseName<ModelCase>);

// Both windows of both nibs (English and German) carry every control.
TEST_F(JobLogPaneTest, EveryControlOfTheNibArrivesInTheUserPane) {
  const struct {
    SInt32 id;
    SimControlKind kind;
  } kControls[] = {{kUserID, kSimControlEditText},         {kJobType, kSimControlPopupButton},
                   {kPassword, kSimControlPasswordEditText}, {kEnableUserCode, kSimControlCheckBox},
                   {kUserCode, kSimControlEditText},       {kFileName, kSimControlEditText},
                   {kPasswordLabel, kSimControlStaticText}, {kUserCodeLabel, kSimControlStaticText},
                   {kFileNameLabel, kSimControlStaticText}, {kPasswordNote, kSimControlStaticText}};
  for (const char* language : {"en_US.UTF-8", "de_DE.UTF-8"}) {
    for (const char* model : {"Zelvo LP 4100 PS", "Zelvo MF 6200 PS"}) {
      SCOPED_TRACE(std::string(language) + " " + model);
      ChooseLanguage(&env_, language);
      dialog_ = std::make_unique<PrintDialog>(JOBLOG_PDE_BUNDLE);
      OpenAndShow(model);
      for (const auto& c : kControls) {
        SCOPED_TRACE(c.id);
        ControlRef control = Control(c.id);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.kind, SimGetControlKind(control));
        EXPECT_EQ(dialog_->userPane(), SimGetParentControl(control));
        EXPECT_TRUE(IsControlVisible(control));
      }
      EXPECT_NE(0u, SimGetControlCommand(Control(kJobType)));
      EXPECT_NE(0u, SimGetControlCommand(Control(kEnableUserCode)));
    }
  }
}

TEST_F(JobLogPaneTest, UnlistedPrinterGetsNoPane) {
  EXPECT_EQ(-9530, dialog_->Open("Zelvo LP 4100"));
  UInt16 count = 99;
  CountSubControls(dialog_->userPane(), &count);
  EXPECT_EQ(0u, count);
  EXPECT_EQ(Lines{}, dialog_->Settings());
}

TEST_F(JobLogPaneTest, PrinterWithoutMakeAndModelGetsNoPane) {
  EXPECT_EQ(-9530, dialog_->Open(nullptr));
}

TEST_F(JobLogPaneTest, SessionWithoutPrinterInformationGetsNoPane) {
  ASSERT_TRUE(dialog_->Load());
  EXPECT_EQ(-9530, dialog_->Initialize());
}

// ---- Enabled fields, focus and input ----

struct EnableCase {
  const char* name;
  SInt16 jobType;
  bool password;
  bool fileName;
};
void PrintTo(const EnableCase& c, std::ostream* os) { *os << c.name; }

class EnableTest : public JobLogPaneTest, public ::testing::WithParamInterface<EnableCase> {};

TEST_P(EnableTest, JobTypeEnablesItsFields) {
  OpenAndShow("Zelvo MF 6200 PS");
  ChooseJobType(GetParam().jobType);
  EXPECT_EQ(GetParam().password, Enabled(kPassword));
  EXPECT_EQ(GetParam().password, Enabled(kPasswordLabel));
  EXPECT_EQ(GetParam().fileName, Enabled(kFileName));
  EXPECT_EQ(GetParam().fileName, Enabled(kFileNameLabel));
  EXPECT_TRUE(Enabled(kUserID));
  EXPECT_FALSE(Enabled(kUserCode));
}

INSTANTIATE_TEST_SUITE_P(JobTypes, EnableTest,
                         ::testing::Values(EnableCase{"NormalPrint", 1, false, false},
                                           EnableCase{"SamplePrint", 2, false, false},
                                           EnableCase{"LockedPrint", 3, true, false},
                                           EnableCase{"PausedPrint", 4, false, true},
                                           EnableCase{"SavedPrint", 5, true, true},
                                           EnableCase{"SaveDocumentPrint", 6, true, true},
                                           EnableCase{"DocumentServer", 7, true, true}),
                         CaseName<EnableCase>);

TEST_F(JobLogPaneTest, CheckboxSwitchesTheUserCodeAndKeepsItsText) {
  OpenAndShow("Zelvo LP 4100 PS");
  EXPECT_FALSE(Enabled(kUserCode));
  EXPECT_FALSE(Enabled(kUserCodeLabel));
  ASSERT_EQ(eventNotHandledErr, SimClickCheckBox(Control(kEnableUserCode)));
  EXPECT_TRUE(Enabled(kUserCode));
  EXPECT_TRUE(Enabled(kUserCodeLabel));
  Type(kUserCode, "4711");
  ASSERT_EQ(eventNotHandledErr, SimClickCheckBox(Control(kEnableUserCode)));
  EXPECT_FALSE(Enabled(kUserCode));
  EXPECT_FALSE(Enabled(kUserCodeLabel));
  EXPECT_EQ("4711", TextOf(kUserCode));
}

TEST_F(JobLogPaneTest, ShownPaneHasTheFocusInTheUserID) {
  OpenAndShow("Zelvo LP 4100 PS");
  ControlRef focus = nullptr;
  GetKeyboardFocus(dialog_->dialog(), &focus);
  EXPECT_EQ(Control(kUserID), focus);
  EXPECT_EQ(noErr, dialog_->Hide());
}

TEST_F(JobLogPaneTest, FieldsTakeTheirCharactersUpToTheirLength) {
  OpenAndShow("Zelvo MF 6200 PS");
  ChooseJobType(kJobTypeSavedPrint);
  SimClickCheckBox(Control(kEnableUserCode));
  Type(kUserID, "al-ice.42xyz");
  Type(kUserCode, "12ab345678901");
  Type(kFileName, "Quarterly Report_2024Q1abcdef");
  Type(kPassword, "12a34");
  EXPECT_EQ("alice42x", TextOf(kUserID));
  EXPECT_EQ("12345678", TextOf(kUserCode));
  EXPECT_EQ("QuarterlyReport2", TextOf(kFileName));
  EXPECT_EQ("1234", TextOf(kPassword));
  EXPECT_EQ(noErr, SimPaste(Control(kUserID), "x"));  // full
  EXPECT_EQ(1u, SimGetBeepCount());
}

// ---- From the ticket ----

TEST_F(JobLogPaneTest, TicketValuesFillTheControls) {
  dialog_->SetSetting("com.zelvo.pm.UserID", "alice");
  dialog_->SetSetting("com.zelvo.pm.Password", "12345678");
  dialog_->SetSetting("com.zelvo.pm.EnableUserCode", true);
  dialog_->SetSetting("com.zelvo.pm.UserCode", "4711");
  dialog_->SetSetting("com.zelvo.pm.FileName", "Report1");
  dialog_->SetSetting("com.zelvo.pm.JobType", "Locked Print");
  OpenAndShow("Zelvo MF 6200 PS");
  EXPECT_EQ("alice", TextOf(kUserID));
  EXPECT_EQ("12345678", TextOf(kPassword));
  EXPECT_EQ(1, GetControlValue(Control(kEnableUserCode)));
  EXPECT_EQ("4711", TextOf(kUserCode));
  EXPECT_EQ("Report1", TextOf(kFileName));
  EXPECT_EQ(kJobTypeLockedPrint, GetControlValue(Control(kJobType)));
  EXPECT_TRUE(Enabled(kPassword));
  EXPECT_FALSE(Enabled(kFileName));
  EXPECT_TRUE(Enabled(kUserCode));
}

TEST_F(JobLogPaneTest, StoredValuesThatBreakTheirRuleEmptyTheirFieldOnly) {
  dialog_->SetSetting("com.zelvo.pm.UserID", "alice-bob");   // a hyphen
  dialog_->SetSetting("com.zelvo.pm.Password", "12345678");  // 8 digits, 4 allowed
  dialog_->SetSetting("com.zelvo.pm.UserCode", "47a1");
  dialog_->SetSetting("com.zelvo.pm.FileName", "ThisNameIsTooLong");  // 17
  dialog_->SetSetting("com.zelvo.pm.JobType", "Sample Print");
  OpenAndShow("Zelvo LP 4100 PS");
  EXPECT_EQ("", TextOf(kUserID));
  EXPECT_EQ("", TextOf(kPassword));
  EXPECT_EQ("", TextOf(kUserCode));
  EXPECT_EQ("", TextOf(kFileName));
  EXPECT_EQ(kJobTypeSamplePrint, GetControlValue(Control(kJobType)));

  dialog_->SetSetting("com.zelvo.pm.UserID", "aliceabcd");  // 9 characters
  dialog_->SetSetting("com.zelvo.pm.UserCode", "12345678");
  ASSERT_EQ(noErr, dialog_->Reload());
  EXPECT_EQ("", TextOf(kUserID));
  EXPECT_EQ("12345678", TextOf(kUserCode));
}

TEST_F(JobLogPaneTest, JobTypeFromTheTicket) {
  OpenAndShow("Zelvo LP 4100 PS");
  const struct {
    const char* value;
    SInt16 item;
  } kSteps[] = {{"Paused Print", 4},
                {"Locked", 1},  // names no job type
                {"Save Document Print", 6},
                {"Document Server", 1}};  // not on this printer's menu
  for (const auto& step : kSteps) {
    SCOPED_TRACE(step.value);
    ChooseJobType(kJobTypeSamplePrint);
    dialog_->SetSetting("com.zelvo.pm.JobType", step.value);
    ASSERT_EQ(noErr, dialog_->Reload());
    EXPECT_EQ(step.item, GetControlValue(Control(kJobType)));
    EXPECT_EQ(step.item == kJobTypePausedPrint || step.item == kJobTypeSaveDocumentPrint, Enabled(kFileName));
  }
}

TEST_F(JobLogPaneTest, MissingEntriesLeaveTheControlsAsTheyAre) {
  OpenAndShow("Zelvo MF 5200 PS");
  ChooseJobType(kJobTypeDocumentServer);
  Type(kUserID, "bob");
  SimClickCheckBox(Control(kEnableUserCode));
  ASSERT_EQ(noErr, dialog_->Reload());
  EXPECT_EQ(kJobTypeDocumentServer, GetControlValue(Control(kJobType)));
  EXPECT_EQ("bob", TextOf(kUserID));
  EXPECT_EQ(1, GetControlValue(Control(kEnableUserCode)));
}

TEST_F(JobLogPaneTest, SyncWithoutASettingsTicketChangesNothing) {
  OpenAndShow("Zelvo LP 4100 PS");
  Type(kUserID, "bob");
  SimSessionSetData(dialog_->session(), CFSTR("PMPrintSettingsTicket"), nullptr);
  EXPECT_EQ(-30891, dialog_->Reload());
  EXPECT_EQ(-30891, dialog_->Commit());
  EXPECT_EQ("bob", TextOf(kUserID));
  EXPECT_EQ(Lines{}, PrintDialog::Alerts());
}

// ---- Into the ticket ----

TEST_F(JobLogPaneTest, CommitWritesTheSevenEntriesInOrder) {
  EnvGuard zone{{"TZ", "Asia/Tokyo"}};
  OpenAndShow("Zelvo MF 6200 PS");
  ChooseJobType(kJobTypeSavedPrint);
  Type(kUserID, "alice");
  Type(kPassword, "123456");
  SimClickCheckBox(Control(kEnableUserCode));
  Type(kUserCode, "4711");
  Type(kFileName, "Report1");
  ASSERT_EQ(noErr, dialog_->Commit());
  EXPECT_EQ((Lines{"com.zelvo.pm.UserID=alice", "com.zelvo.pm.Password=123456",
                   "com.zelvo.pm.EnableUserCode=true", "com.zelvo.pm.UserCode=4711",
                   "com.zelvo.pm.FileName=Report1", "com.zelvo.pm.JobType=Saved Print",
                   "com.zelvo.pm.TimeZone=JST-9"}),
            dialog_->Settings());
  SimTicketEntry entry;
  for (CFIndex i = 0; SimTicketGetEntry(dialog_->settings(), i, &entry); ++i) {
    SCOPED_TRACE(Str(entry.key));
    EXPECT_EQ("com.zelvo.printingmanager", Str(entry.creator));
    EXPECT_FALSE(entry.locked);
  }
  EXPECT_EQ(Lines{}, PrintDialog::Alerts());
  EXPECT_EQ(0u, SimGetBeepCount());
}

TEST_F(JobLogPaneTest, DisabledFieldsAreWrittenAsTheyStand) {
  OpenAndShow("Zelvo LP 4100 PS");
  ChooseJobType(kJobTypeSavedPrint);
  Type(kPassword, "1234");
  Type(kFileName, "Old");
  SimClickCheckBox(Control(kEnableUserCode));
  Type(kUserCode, "99");
  SimClickCheckBox(Control(kEnableUserCode));  // off again
  ChooseJobType(kJobTypeNormalPrint);
  ASSERT_EQ(noErr, dialog_->Commit());
  EXPECT_EQ("", dialog_->Setting("com.zelvo.pm.UserID"));
  EXPECT_EQ("1234", dialog_->Setting("com.zelvo.pm.Password"));
  EXPECT_EQ("false", dialog_->Setting("com.zelvo.pm.EnableUserCode"));
  EXPECT_EQ("99", dialog_->Setting("com.zelvo.pm.UserCode"));
  EXPECT_EQ("Old", dialog_->Setting("com.zelvo.pm.FileName"));
  EXPECT_EQ("Normal", dialog_->Setting("com.zelvo.pm.JobType"));
}

// A commit as the user leaves the pane: the job type, what the fields hold
// (set past the key filters where a test needs a value no user can type),
// and the expected alerts in order.
struct CommitCase {
  const char* name;
  const char* model;
  SInt16 jobType;
  const char* userID;
  const char* password;
  bool userCodeOn;
  const char* userCode;
  const char* fileName;
  Lines alerts;
};
void PrintTo(const CommitCase& c, std::ostream* os) { *os << c.name; }

class CommitTest : public JobLogPaneTest, public ::testing::WithParamInterface<CommitCase> {};

TEST_P(CommitTest, ValuesAreTestedByJobType) {
  const CommitCase& c = GetParam();
  dialog_->SetSetting("com.zelvo.pm.JobType", "Before");  // what a refused commit must leave
  OpenAndShow(c.model);
  ChooseJobType(c.jobType);
  if (c.userCodeOn) SimClickCheckBox(Control(kEnableUserCode));
  ForceText(Control(kUserID), c.userID);
  ForceText(Control(kPassword), c.password);
  ForceText(Control(kUserCode), c.userCode);
  ForceText(Control(kFileName), c.fileName);

  const OSStatus result = dialog_->Commit();
  EXPECT_EQ(c.alerts, PrintDialog::Alerts());
  EXPECT_EQ(c.alerts.size(), SimGetBeepCount());
  SimAlertRecord alert;
  for (CFIndex i = 0; SimGetAlert(i, &alert); ++i) {
    EXPECT_EQ(kAlertCautionAlert, alert.type);
    EXPECT_EQ(nullptr, alert.explanation);
    EXPECT_TRUE(alert.movable);
    EXPECT_EQ(kWindowAlertPositionParentWindow, alert.position);
  }
  if (c.alerts.empty()) {
    EXPECT_EQ(noErr, result);
    EXPECT_EQ(7u, dialog_->Settings().size());
    EXPECT_EQ(c.userID, dialog_->Setting("com.zelvo.pm.UserID"));
    EXPECT_EQ(c.password, dialog_->Setting("com.zelvo.pm.Password"));
    EXPECT_EQ(c.userCodeOn ? "true" : "false", dialog_->Setting("com.zelvo.pm.EnableUserCode"));
    EXPECT_EQ(c.userCode, dialog_->Setting("com.zelvo.pm.UserCode"));
    EXPECT_EQ(c.fileName, dialog_->Setting("com.zelvo.pm.FileName"));
  } else {
    EXPECT_EQ(-9531, result);
    EXPECT_EQ(Lines{"com.zelvo.pm.JobType=Before"}, dialog_->Settings());  // nothing written
  }
}

const char kLP4100[] = "Zelvo LP 4100 PS";
const char kMF6200[] = "Zelvo MF 6200 PS";
const char kUserIDAlert[] = "Enter a valid User ID";
const char kPasswordAlert[] = "Enter a valid Password";
const char kUserCodeAlert[] = "Enter a valid User Code";
const char kFileNameAlert[] = "Enter a valid File Name";

INSTANTIATE_TEST_SUITE_P(
    Commits, CommitTest,
    ::testing::Values(
        CommitCase{"LockedWithFourDigits", kLP4100, 3, "alice", "1234", false, "", "", {}},
        CommitCase{"LockedWithEmptyPassword", kLP4100, 3, "alice", "", false, "", "", {kPasswordAlert}},
        CommitCase{"LockedWithThreeDigits", kLP4100, 3, "alice", "123", false, "", "", {kPasswordAlert}},
        CommitCase{"LockedWithEightDigitsOnAFourDigitModel", kLP4100, 3, "alice", "12345678", false, "", "",
                   {kPasswordAlert}},
        CommitCase{"LockedWithEightDigitsOnALongPasswordModel", kMF6200, 3, "alice", "12345678", false, "", "",
                   {}},
        CommitCase{"LockedWithNineDigitsOnALongPasswordModel", kMF6200, 3, "alice", "123456789", false, "", "",
                   {kPasswordAlert}},
        CommitCase{"SavedWithEmptyPassword", kLP4100, 5, "alice", "", false, "", "F1", {}},
        CommitCase{"SaveDocumentWithEmptyPassword", kLP4100, 6, "alice", "", false, "", "F1", {}},
        CommitCase{"PausedWithEmptyPassword", kLP4100, 4, "alice", "", false, "", "F1", {}},
        CommitCase{"DocumentServerWithEmptyPassword", kMF6200, 7, "alice", "", false, "", "F1", {}},
        CommitCase{"SavedWithThreeDigits", kLP4100, 5, "alice", "123", false, "", "F1", {kPasswordAlert}},
        CommitCase{"PausedTestsAGivenPasswordThoughItsFieldIsDisabled", kLP4100, 4, "alice", "12", false, "",
                   "F1", {kPasswordAlert}},
        CommitCase{"SampleWithEmptyUserID", kLP4100, 2, "", "", false, "", "", {kUserIDAlert}},
        CommitCase{"NormalWithEmptyUserID", kLP4100, 1, "", "", false, "", "", {}},
        CommitCase{"DocumentServerWithEmptyUserID", kMF6200, 7, "", "", false, "", "", {}},
        CommitCase{"NormalWithAUserIDThatBreaksItsRule", kLP4100, 1, "ali ce", "", false, "", "", {kUserIDAlert}},
        CommitCase{"UserCodeOnAndEmpty", kLP4100, 1, "alice", "", true, "", "", {}},
        CommitCase{"UserIDAndUserCodeAlertsInOneCommit", kLP4100, 2, "", "", true, "47a1", "bad name",
                   {kUserIDAlert, kUserCodeAlert}},
        CommitCase{"PasswordAndUserCodeAlertsButNoFileName", kLP4100, 5, "alice", "12", true, "123456789",
                   "bad name", {kPasswordAlert, kUserCodeAlert}},
        CommitCase{"UserCodeOffIsNotTested", kLP4100, 1, "alice", "", false, "47a1", "", {}},
        CommitCase{"FileNameThatBreaksItsRule", kLP4100, 4, "alice", "", false, "", "bad name", {kFileNameAlert}},
        CommitCase{"FileNameIsTestedWhateverTheJobType", kLP4100, 1, "alice", "", false, "",
                   "ThisNameIsTooLong", {kFileNameAlert}}),
    CaseName<CommitCase>);

// ---- The summary ----

struct SummaryCase {
  const char* name;
  SInt16 jobType;
  bool userCodeOn;
  Lines lines;
};
void PrintTo(const SummaryCase& c, std::ostream* os) { *os << c.name; }

class SummaryTest : public JobLogPaneTest, public ::testing::WithParamInterface<SummaryCase> {};

TEST_P(SummaryTest, SummaryListsWhatTheJobTypeUses) {
  OpenAndShow("Zelvo MF 6200 PS");
  ChooseJobType(GetParam().jobType);
  Type(kUserID, "alice");
  ForceText(Control(kPassword), "1234");
  ForceText(Control(kFileName), "Report1");
  ForceText(Control(kUserCode), "4711");
  if (GetParam().userCodeOn) SimClickCheckBox(Control(kEnableUserCode));
  EXPECT_EQ(GetParam().lines, dialog_->Summary());
}

INSTANTIATE_TEST_SUITE_P(
    JobTypes, SummaryTest,
    ::testing::Values(
        SummaryCase{"NormalPrint", 1, false, {"Job Type: Normal Print", "User ID: alice"}},
        SummaryCase{"SamplePrint", 2, false, {"Job Type: Sample Print", "User ID: alice"}},
        SummaryCase{"LockedPrintWithUserCode", 3, true,
                    {"Job Type: Locked Print", "User ID: alice", "User Code: 4711"}},
        SummaryCase{"PausedPrint", 4, false, {"Job Type: Paused Print", "File Name: Report1", "User ID: alice"}},
        SummaryCase{"SavedPrint", 5, false, {"Job Type: Saved Print", "File Name: Report1", "User ID: alice"}},
        SummaryCase{"SaveDocumentPrintWithUserCode", 6, true,
                    {"Job Type: Save Document Print", "File Name: Report1", "User ID: alice", "User Code: 4711"}},
        SummaryCase{"DocumentServer", 7, false,
                    {"Job Type: Document Server", "File Name: Report1", "User ID: alice"}}),
    CaseName<SummaryCase>);

TEST_F(JobLogPaneTest, SummaryFollowsTheControlsNotTheTicket) {
  dialog_->SetSetting("com.zelvo.pm.JobType", "Saved Print");
  OpenAndShow("Zelvo LP 4100 PS");
  EXPECT_EQ((Lines{"Job Type: Saved Print", "File Name: ", "User ID: "}), dialog_->Summary());
  ChooseJobType(kJobTypeSamplePrint);
  SimClickCheckBox(Control(kEnableUserCode));
  EXPECT_EQ((Lines{"Job Type: Sample Print", "User ID: ", "User Code: "}), dialog_->Summary());
}

// ---- Languages ----

TEST_F(JobLogPaneTest, GermanUserSeesTheGermanPane) {
  ChooseLanguage(&env_, "de_DE.UTF-8");
  dialog_->SetSetting("com.zelvo.pm.JobType", "Save Document Print");
  OpenAndShow("Zelvo MF 6200 PS");
  EXPECT_EQ("Auftragsprotokoll", Str(dialog_->title()));
  EXPECT_EQ("4-8 Ziffern", TextOf(kPasswordNote));
  EXPECT_EQ("Dokumentenserver", Take(SimCopyMenuItemText(GetControlPopupMenuHandle(Control(kJobType)), 7)));
  Type(kUserID, "anna");
  EXPECT_EQ((Lines{"Auftragsart: Speichern und drucken", "Dateiname: ", "Benutzer-ID: anna"}), dialog_->Summary());

  ChooseJobType(kJobTypeLockedPrint);
  SimClickCheckBox(Control(kEnableUserCode));
  ForceText(Control(kUserCode), "x");
  EXPECT_EQ(-9531, dialog_->Commit());
  EXPECT_EQ((Lines{"Bitte ein gültiges Kennwort eingeben", "Bitte einen gültigen Benutzercode eingeben"}),
            PrintDialog::Alerts());
}

TEST_F(JobLogPaneTest, LanguageWithoutATranslationShowsEnglish) {
  ChooseLanguage(&env_, "fr_FR.UTF-8");
  OpenAndShow("Zelvo LP 4100 PS");
  EXPECT_EQ("Job Log", Str(dialog_->title()));
  EXPECT_EQ("Normal Print", Take(SimCopyMenuItemText(GetControlPopupMenuHandle(Control(kJobType)), 1)));
  EXPECT_EQ((Lines{"Job Type: Normal Print", "User ID: "}), dialog_->Summary());
}

TEST_F(JobLogPaneTest, GermanTableTranslatesEveryText) {
  for (const char* language : {"en_US.UTF-8", "de_DE.UTF-8"}) {
    ChooseLanguage(&env_, language);
    const bool german = language[0] == 'd';
    for (const char* key : kStringKeys) {
      SCOPED_TRACE(std::string(language) + ": " + key);
      Owned<CFStringRef> k(MakeString(key));
      const std::string text = Take(CFBundleCopyLocalizedString(dialog_->plugIn(), k.get(), nullptr, nullptr));
      EXPECT_FALSE(text.empty());
      if (german) EXPECT_NE(key, text);
      else EXPECT_EQ(key, text);
    }
  }
}

// ---- The client's time zone ----

struct ZoneCase {
  const char* name;
  const char* tz;
  std::set<std::string> expected;  // either, where the zone keeps summer time
};
void PrintTo(const ZoneCase& c, std::ostream* os) { *os << c.name; }

class TimeZoneTest : public JobLogPaneTest, public ::testing::WithParamInterface<ZoneCase> {};

TEST_P(TimeZoneTest, CommitWritesTheClientsZoneAsAPosixValue) {
  EnvGuard zone{{"TZ", GetParam().tz}};
  OpenAndShow("Zelvo LP 4100 PS");
  ASSERT_EQ(noErr, dialog_->Commit());
  const std::string value = dialog_->Setting("com.zelvo.pm.TimeZone");
  EXPECT_EQ(1u, GetParam().expected.count(value)) << value;
}

INSTANTIATE_TEST_SUITE_P(
    Zones, TimeZoneTest,
    ::testing::Values(ZoneCase{"Tokyo", "Asia/Tokyo", {"JST-9"}},
                      ZoneCase{"UTC", "UTC", {"UTC0"}},
                      ZoneCase{"GMT", "Etc/GMT", {"GMT0"}},
                      ZoneCase{"LosAngeles", "America/Los_Angeles", {"PST8", "PDT7"}},
                      ZoneCase{"Kolkata", "Asia/Kolkata", {"IST-5:30"}},
                      ZoneCase{"StJohns", "America/St_Johns", {"NST3:30", "NDT2:30"}},
                      ZoneCase{"SaoPaulo", "America/Sao_Paulo", {"<-03>3"}},
                      ZoneCase{"Kathmandu", "Asia/Kathmandu", {"<+0545>-5:45"}},
                      ZoneCase{"Chatham", "Pacific/Chatham", {"<+1245>-12:45", "<+1345>-13:45"}},
                      // Less than an hour from UTC: the sign stays.
                      ZoneCase{"HalfHourEast", "<+0030>-0:30", {"<+0030>-0:30"}},
                      ZoneCase{"HalfHourWest", "<-0030>0:30", {"<-0030>0:30"}}),
    CaseName<ZoneCase>);

// ---- The pane goes, the dialog stays ----

// The print dialog keeps its user pane (and the controls in it) after
// Terminate: a command or key reaching them afterwards must not touch the
// pane or its fields.
TEST_F(JobLogPaneTest, UserPaneOutlivesThePane) {
  OpenAndShow("Zelvo MF 6200 PS");
  ControlRef userID = Control(kUserID);
  const UInt32 before = SimGetDrawCount(userID);
  ChooseJobType(kJobTypeSavedPrint);  // the pane follows the popup
  EXPECT_GT(SimGetDrawCount(userID), before);
  EXPECT_TRUE(Enabled(kFileName));

  dialog_->Terminate();
  const UInt32 afterTerminate = SimGetDrawCount(userID);
  ChooseJobType(kJobTypeLockedPrint);
  SimClickCheckBox(Control(kEnableUserCode));
  EXPECT_EQ(afterTerminate, SimGetDrawCount(userID));
  EXPECT_TRUE(Enabled(kFileName));  // nobody follows the popup any more
  EXPECT_EQ(nullptr, GetControlReference(userID));
  EXPECT_EQ(12, SimTypeText(userID, "no-limit-now"));
  EXPECT_EQ(noErr, SimPaste(userID, "!"));
  EXPECT_EQ(0u, SimGetBeepCount());
}

}  // namespace
