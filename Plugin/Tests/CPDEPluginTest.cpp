// The pane base class's services: controls moved from a nib window into the
// print dialog's pane, localized strings, and tickets from the session.
#include <vector>

#include "CPDEPlugin.h"
#include "FaultInjection.h"
#include "PluginTestSupport.h"

namespace {

class TestPane : public CPDEPlugin {
 public:
  explicit TestPane(CFStringRef bundleID) : CPDEPlugin(bundleID) {}
  using CPDEPlugin::EmbedControlsFromNib;
  using CPDEPlugin::GetTicketFromSession;
};

// ---- Moving nib controls into the pane ----

struct EmbedCase {
  const char* name;
  Rect nibContent;  // global; only its size matters
  Rect pane;        // in the dialog window
  SInt16 expectedDH, expectedDV;
};
void PrintTo(const EmbedCase& c, std::ostream* os) { *os << c.name; }

class EmbedTest : public LeakCheckedTest, public ::testing::WithParamInterface<EmbedCase> {
 protected:
  void TearDown() override {
    RefuseVisibilityFor(nullptr);
    if (nibWindow_ != nullptr) DisposeWindow(nibWindow_);
    if (dialog_ != nullptr) DisposeWindow(dialog_);
    LeakCheckedTest::TearDown();
  }

  // A nib window of the content size with three controls, and the dialog's
  // pane.
  void Build(const Rect& nibContent, const Rect& paneBounds) {
    nibWindow_ = SimCreateWindow(&nibContent);
    for (const Rect& bounds : kControlBounds) controls_.push_back(SimCreateUserPane(nibWindow_, nullptr, &bounds));
    const Rect dialogContent = {0, 0, 600, 800};
    dialog_ = SimCreateWindow(&dialogContent);
    pane_ = SimCreateUserPane(dialog_, nullptr, &paneBounds);
  }

  static Rect Offset(Rect r, SInt16 dh, SInt16 dv) {
    return {static_cast<SInt16>(r.top + dv), static_cast<SInt16>(r.left + dh),
            static_cast<SInt16>(r.bottom + dv), static_cast<SInt16>(r.right + dh)};
  }
  static void ExpectBounds(const Rect& expected, ControlRef control) {
    Rect actual;
    GetControlBounds(control, &actual);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.bottom, actual.bottom);
    EXPECT_EQ(expected.right, actual.right);
  }

  static constexpr Rect kControlBounds[3] = {{10, 20, 30, 120}, {40, 5, 60, 100}, {0, 0, 200, 300}};
  TestPane plugin_{CFSTR("com.zelvo.test.NoSuchBundle")};
  WindowRef nibWindow_ = nullptr;
  WindowRef dialog_ = nullptr;
  ControlRef pane_ = nullptr;
  std::vector<ControlRef> controls_;
};

TEST_P(EmbedTest, ControlsKeepTheirLayoutAndTheBlockIsCentredWhereThePaneIsLarger) {
  Build(GetParam().nibContent, GetParam().pane);
  EXPECT_TRUE(plugin_.EmbedControlsFromNib(nibWindow_, pane_));
  UInt16 count = 0;
  CountSubControls(pane_, &count);
  ASSERT_EQ(3u, count);
  for (size_t i = 0; i < controls_.size(); ++i) {
    SCOPED_TRACE(i);
    ControlRef moved = nullptr;
    GetIndexedSubControl(pane_, static_cast<UInt16>(i + 1), &moved);
    EXPECT_EQ(controls_[i], moved);  // in their order
    ExpectBounds(Offset(kControlBounds[i], GetParam().expectedDH, GetParam().expectedDV), moved);
    EXPECT_TRUE(IsControlVisible(moved));
  }
}

// Rect is {top, left, bottom, right}; the pane sits at left 20, top 10 or
// left 7, top 5.
INSTANTIATE_TEST_SUITE_P(
    Geometry, EmbedTest,
    ::testing::Values(
        // 300 x 200 into 400 x 180: right by 20 + 50, down by 10 + 0.
        EmbedCase{"WiderAndLowerPane", {100, 50, 300, 350}, {10, 20, 190, 420}, 70, 10},
        EmbedCase{"EqualSizes", {100, 50, 300, 350}, {10, 20, 210, 320}, 20, 10},
        // 307 x 207 into 300 x 200: -7 / 2 = -3, clamped to 0.
        EmbedCase{"OddNegativeDifferences", {0, 0, 207, 307}, {5, 7, 205, 307}, 7, 5},
        // 300 x 200 into 305 x 203: 5 / 2 = 2 and 3 / 2 = 1.
        EmbedCase{"OddPositiveDifferences", {0, 0, 200, 300}, {5, 7, 208, 312}, 9, 6}),
    CaseName<EmbedCase>);

TEST_F(EmbedTest, NibWindowWithoutControlsMovesNothing) {
  Build({0, 0, 100, 100}, {0, 0, 100, 100});
  for (ControlRef control : controls_) EmbedControl(control, pane_);  // empty the nib window first
  UInt16 before = 0;
  CountSubControls(pane_, &before);
  EXPECT_TRUE(plugin_.EmbedControlsFromNib(nibWindow_, pane_));
  UInt16 after = 0;
  CountSubControls(pane_, &after);
  EXPECT_EQ(before, after);
}

TEST_F(EmbedTest, NoWindowIsRefused) {
  Build({0, 0, 100, 100}, {0, 0, 100, 100});
  EXPECT_FALSE(plugin_.EmbedControlsFromNib(nullptr, pane_));
}

// A control that cannot be made visible stays behind, moved once; the
// controls after it still arrive, each moved once.
TEST_F(EmbedTest, ControlThatCannotBeShownIsSteppedPast) {
  Build({100, 50, 300, 350}, {10, 20, 190, 420});
  RefuseVisibilityFor(controls_[0]);
  EXPECT_TRUE(plugin_.EmbedControlsFromNib(nibWindow_, pane_));
  EXPECT_EQ(1, RefusedVisibilityCount());

  EXPECT_EQ(nibWindow_, GetControlOwner(controls_[0]));
  ExpectBounds(Offset(kControlBounds[0], 70, 10), controls_[0]);
  for (size_t i = 1; i < controls_.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(pane_, SimGetParentControl(controls_[i]));
    ExpectBounds(Offset(kControlBounds[i], 70, 10), controls_[i]);
  }
}

// The first control cannot go into itself: it stays, moved once, and the
// others arrive behind it.
TEST_F(EmbedTest, ControlThatCannotBeEmbeddedIsSteppedPast) {
  Build({100, 50, 300, 350}, {10, 20, 190, 420});
  ControlRef target = controls_[0];  // at left 20, top 10, smaller than the nib: no centring
  EXPECT_TRUE(plugin_.EmbedControlsFromNib(nibWindow_, target));
  EXPECT_EQ(nibWindow_, GetControlOwner(target));
  ExpectBounds(Offset(kControlBounds[0], 20, 10), target);
  for (size_t i = 1; i < controls_.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(target, SimGetParentControl(controls_[i]));
    ExpectBounds(Offset(kControlBounds[i], 20, 10), controls_[i]);
  }
}

// ---- Localized strings ----

class LocalizedStringTest : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    ChooseLanguage(&env_, nullptr);
  }
  EnvGuard env_;
};

TEST_F(LocalizedStringTest, TableValueOrTheKeyItself) {
  TempBundle files("com.zelvo.test.WithTable");
  files.WriteResource("en.lproj/Localizable.strings", "/* A note. */\n\"Job Log\" = \"Job Log, translated\";\n");
  Owned<CFBundleRef> bundle(CreateBundleAt(files.path()));
  ASSERT_NE(nullptr, bundle.get());
  TestPane pane(CFSTR("com.zelvo.test.WithTable"));
  EXPECT_EQ(bundle.get(), pane.GetMainBundle());
  EXPECT_EQ("Job Log, translated", Take(pane.CopyLocalizedString(CFSTR("Job Log"), CFSTR("note"))));
  EXPECT_EQ("Not in the table", Take(pane.CopyLocalizedString(CFSTR("Not in the table"), CFSTR("note"))));
}

TEST_F(LocalizedStringTest, WithoutATableEveryKeyIsItsOwnText) {
  TempBundle files("com.zelvo.test.WithoutTable");
  Owned<CFBundleRef> bundle(CreateBundleAt(files.path()));
  TestPane pane(CFSTR("com.zelvo.test.WithoutTable"));
  CFStringRef text = pane.CopyLocalizedString(CFSTR("Job Log"), nullptr);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(1, CFGetRetainCount(text));  // a copy of the caller's own
  EXPECT_EQ("Job Log", Take(text));
}

TEST_F(LocalizedStringTest, WithoutABundleThereIsNoString) {
  TestPane pane(CFSTR("com.zelvo.test.NoSuchBundle"));
  EXPECT_EQ(nullptr, pane.GetMainBundle());
  EXPECT_EQ(nullptr, pane.CopyLocalizedString(CFSTR("Job Log"), CFSTR("note")));
}

// ---- Tickets from the session ----

class TicketFromSessionTest : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    session_ = SimCreatePrintSession();
    ticket_ = SimCreateTicket();
  }
  void TearDown() override {
    SimReleasePrintSession(session_);
    SimReleaseTicket(ticket_);
    LeakCheckedTest::TearDown();
  }
  TestPane pane_{CFSTR("com.zelvo.test.NoSuchBundle")};
  PMPrintSession session_ = nullptr;
  PMTicketRef ticket_ = nullptr;
};

TEST_F(TicketFromSessionTest, TicketIsFoundByItsEntryName) {
  SimSessionSetTicket(session_, CFSTR("PMPrintSettingsTicket"), ticket_);
  PMTicketRef found = nullptr;
  EXPECT_EQ(noErr, pane_.GetTicketFromSession(session_, CFSTR("PMPrintSettingsTicket"), &found));
  EXPECT_EQ(ticket_, found);
}

TEST_F(TicketFromSessionTest, MissingOrUnreadableEntryIsNotFound) {
  SimSessionSetTicket(session_, CFSTR("PMPrintSettingsTicket"), ticket_);
  SimSessionSetData(session_, CFSTR("PMPrinterInfoTicket"), CFSTR("not a number"));
  PMTicketRef untouched = reinterpret_cast<PMTicketRef>(&untouched);
  EXPECT_EQ(-30891, pane_.GetTicketFromSession(session_, CFSTR("PMPrinterInfoTicket"), &untouched));
  EXPECT_EQ(-30891, pane_.GetTicketFromSession(session_, CFSTR("NoSuchTicket"), &untouched));
  EXPECT_EQ(reinterpret_cast<PMTicketRef>(&untouched), untouched);
}

}  // namespace
