// The Job Log pane's code linked in, for what the bundle cannot be made to
// do from outside: a control that stays behind in the nib window, a bundle
// without its nib or without a title, a prologue without a bundle.
#include <string>
#include <vector>

#include "CJobLogPDE.h"
#include "FaultInjection.h"
#include "PluginTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

const OSType kJobLogSignature = 0x6A6C6F67;  // 'jlog'

class InspectablePane : public CJobLogPDE {
 public:
  using CJobLogPDE::mFileNameEditText;
  using CJobLogPDE::mJobTypeCtrl;
  using CJobLogPDE::mJobTypeMenuCtrl;
  using CJobLogPDE::mUserIDEditText;
};

// A print dialog around a pane made here, with the bundle at bundlePath
// registered under the pane's identifier.
class LinkedPaneTest : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    ChooseLanguage(&env_, nullptr);
    session_ = SimCreatePrintSession();
    printerInfo_ = SimCreateTicket();
    settings_ = SimCreateTicket();
    PMTicketSetCFString(printerInfo_, CFSTR("com.zelvo.test"), CFSTR("com.apple.print.PrinterInfo.PMMakeAndModelName"),
                        CFSTR("Zelvo MF 6200 PS"), false);
    SimSessionSetTicket(session_, CFSTR("PMPrinterInfoTicket"), printerInfo_);
    SimSessionSetTicket(session_, CFSTR("PMPrintSettingsTicket"), settings_);
    const Rect dialogBounds = {0, 0, 600, 800};
    dialog_ = SimCreateWindow(&dialogBounds);
    const Rect paneBounds = {20, 20, 320, 560};
    userPane_ = SimCreateUserPane(dialog_, nullptr, &paneBounds);
  }
  void TearDown() override {
    RefuseVisibilityFor(nullptr);
    delete pane_;
    DisposeWindow(dialog_);
    SimReleasePrintSession(session_);
    SimReleaseTicket(printerInfo_);
    SimReleaseTicket(settings_);
    bundle_.reset();
    LeakCheckedTest::TearDown();
  }

  OSStatus Build(const std::string& bundlePath) {
    bundle_.reset(CreateBundleAt(bundlePath));
    EXPECT_NE(nullptr, bundle_.get());
    pane_ = new InspectablePane();
    return pane_->CreateUI(nullptr, nullptr, userPane_, session_);
  }

  ControlRef Control(SInt32 id) const {
    const ControlID controlID = {kJobLogSignature, id};
    ControlRef control = nullptr;
    GetControlByID(dialog_, &controlID, &control);
    return control;
  }
  UInt16 ControlsInPane() const {
    UInt16 count = 0;
    CountSubControls(userPane_, &count);
    return count;
  }
  Lines Summary() {
    Owned<CFMutableArrayRef> titles(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    Owned<CFMutableArrayRef> values(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    EXPECT_EQ(noErr, pane_->GetSummaryText(titles.get(), values.get()));
    EXPECT_EQ(CFArrayGetCount(titles.get()), CFArrayGetCount(values.get()));
    Lines lines;
    for (CFIndex i = 0; i < CFArrayGetCount(titles.get()) && i < CFArrayGetCount(values.get()); ++i) {
      lines.push_back(Str(static_cast<CFStringRef>(CFArrayGetValueAtIndex(titles.get(), i))) + ": " +
                      Str(static_cast<CFStringRef>(CFArrayGetValueAtIndex(values.get(), i))));
    }
    return lines;
  }
  static Lines Alerts() {
    Lines messages;
    SimAlertRecord alert;
    for (CFIndex i = 0; SimGetAlert(i, &alert); ++i) messages.push_back(Str(alert.message));
    return messages;
  }

  EnvGuard env_;
  Owned<CFBundleRef> bundle_;
  InspectablePane* pane_ = nullptr;
  PMPrintSession session_ = nullptr;
  PMTicketRef printerInfo_ = nullptr;
  PMTicketRef settings_ = nullptr;
  WindowRef dialog_ = nullptr;
  ControlRef userPane_ = nullptr;
};

// A field whose control could not be moved into the pane stays behind in
// the nib window and dies with it: the pane forgets it, and the summary
// lists its title with an empty value.
TEST_F(LinkedPaneTest, FieldLeftInTheNibWindowIsForgotten) {
  RefuseVisibilityForID(10);  // the file name
  ASSERT_EQ(noErr, Build(JOBLOG_PDE_BUNDLE));
  EXPECT_EQ(1, RefusedVisibilityCount());
  EXPECT_EQ(nullptr, Control(10));
  EXPECT_EQ(nullptr, pane_->mFileNameEditText.GetControlRef());
  EXPECT_EQ(11u, ControlsInPane());  // all twelve but the file name
  ASSERT_EQ(eventNotHandledErr, SimChoosePopupItem(Control(2), kJobTypePausedPrint));
  EXPECT_EQ(noErr, pane_->OnOpenUI());
  SimTypeText(Control(1), "alice");
  EXPECT_EQ((Lines{"Job Type: Paused Print", "File Name: ", "User ID: alice"}), Summary());
  EXPECT_EQ(-9531, pane_->UIToTicket(session_));
  EXPECT_EQ(Lines{"Enter a valid File Name"}, Alerts());
}

TEST_F(LinkedPaneTest, PopupLeftInTheNibWindowLeavesNormalPrint) {
  RefuseVisibilityForID(2);
  ASSERT_EQ(noErr, Build(JOBLOG_PDE_BUNDLE));
  EXPECT_EQ(nullptr, pane_->mJobTypeCtrl);
  EXPECT_EQ(nullptr, pane_->mJobTypeMenuCtrl);
  EXPECT_EQ(noErr, pane_->OnOpenUI());
  EXPECT_FALSE(IsControlEnabled(Control(3)));  // the password, as for Normal Print
  EXPECT_EQ((Lines{"Job Type: Normal Print", "User ID: "}), Summary());
  EXPECT_EQ(noErr, pane_->UIToTicket(session_));
  CFStringRef jobType = nullptr;
  EXPECT_EQ(noErr, PMTicketGetCFString(settings_, 0, 0, CFSTR("com.zelvo.pm.JobType"), &jobType));
  EXPECT_EQ("Normal", Str(jobType));
}

// A bundle without its nib: the pane is built empty and every commit
// stops at the user ID.
TEST_F(LinkedPaneTest, BundleWithoutItsNibGivesAnEmptyPane) {
  TempBundle files(kJobLogPDEBundleIDString);
  files.WriteResource("PluginData.plist",
                      "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Models</key><array><dict>"
                      "<key>ModelName</key><string>Zelvo MF 6200 PS</string></dict></array></dict></plist>");
  ASSERT_EQ(noErr, Build(files.path()));
  EXPECT_EQ(0u, ControlsInPane());
  EXPECT_EQ(noErr, pane_->OnOpenUI());
  EXPECT_EQ(noErr, pane_->TicketToUI(session_));
  EXPECT_EQ((Lines{"Job Type: Normal Print", "User ID: "}), Summary());
  EXPECT_EQ(-9531, pane_->UIToTicket(session_));
  EXPECT_EQ(Lines{"Enter a valid User ID"}, Alerts());
  EXPECT_EQ(0, SimTicketGetEntryCount(settings_));
}

TEST_F(LinkedPaneTest, CapabilityThatIsNoBooleanCountsAsFalse) {
  TempBundle files(kJobLogPDEBundleIDString);
  files.WriteResource("PluginData.plist",
                      "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Models</key><array><dict>"
                      "<key>ModelName</key><string>Zelvo MF 6200 PS</string>"
                      "<key>HasDocumentServer</key><integer>1</integer>"
                      "<key>LongPasswordSupport</key><string>true</string></dict></array></dict></plist>");
  std::filesystem::copy_file(std::string(JOBLOG_PDE_BUNDLE) + "/Contents/Resources/JobLog.nib",
                             files.path() + "/Contents/Resources/JobLog.nib");
  ASSERT_EQ(noErr, Build(files.path()));
  EXPECT_EQ(6u, SimCountMenuItems(GetControlPopupMenuHandle(Control(2))));  // "Window"
  ASSERT_EQ(eventNotHandledErr, SimChoosePopupItem(Control(2), kJobTypeLockedPrint));
  EXPECT_EQ(4, SimTypeText(Control(3), "12345678"));
}

// ---- The prologue ----

class PrologueTest : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    ChooseLanguage(&env_, nullptr);
  }
  EnvGuard env_;
};

TEST_F(PrologueTest, MakesThePaneAndNamesIt) {
  Owned<CFBundleRef> bundle(CreateBundleAt(JOBLOG_PDE_BUNDLE));
  PMPDEContext context = nullptr;
  OSType creator = 1;
  CFStringRef kind = nullptr, title = nullptr;
  UInt32 maxH = 0, maxV = 0;
  ASSERT_EQ(noErr, JobLogPrologue(&context, &creator, &kind, &title, &maxH, &maxV));
  ASSERT_NE(nullptr, context);
  EXPECT_EQ(1, CFGetRetainCount(title));  // the caller's
  EXPECT_EQ("Job Log", Take(title));
  delete reinterpret_cast<CPDEPlugin*>(context);
}

// Without its bundle the pane has no title: no pane is handed out.
TEST_F(PrologueTest, PaneWithoutATitleIsNotHandedOut) {
  PMPDEContext context = nullptr;
  OSType creator = 1;
  CFStringRef kind = nullptr, title = nullptr;
  UInt32 maxH = 0, maxV = 0;
  EXPECT_EQ(-9530, JobLogPrologue(&context, &creator, &kind, &title, &maxH, &maxV));
  EXPECT_EQ(nullptr, context);
  EXPECT_EQ(nullptr, title);
  EXPECT_EQ(-9530, JobLogPrologue(nullptr, &creator, &kind, &title, &maxH, &maxV));
}

}  // namespace
