// Helpers of the platform stand-in's own tests, beside the shared ones:
// Info.plist text, a guard for the locale variables and the sample nib.
#ifndef JOBLOG_PLATFORM_TESTSUPPORT_H
#define JOBLOG_PLATFORM_TESTSUPPORT_H

#include "StandInTest.h"

// The platform's tests check routine descriptors as well as objects.
using PlatformTest = LeakCheckedTest;

// A minimal Info.plist with the identifier and the extra keys given as XML.
inline std::string InfoPlist(const std::string& identifier, const std::string& extraXML = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<plist version=\"1.0\"><dict>\n"
         "<key>CFBundleIdentifier</key><string>" + identifier + "</string>\n" + extraXML +
         "</dict></plist>\n";
}

// Clears the variables that choose the user's language and puts them back.
class LocaleGuard {
 public:
  LocaleGuard() { ChooseLanguage(&guard_, nullptr); }

 private:
  EnvGuard guard_;
};

// The window "Window" of the fixture bundle's Sample.nib:
//   'test' 1    edit text "initial"
//   'test' 2    popup button First (marked) / Second / Third, value 2, command 'kind'
//   'test' 3    password edit text
//   'test' 4    checkbox "Use it", command 'chck'
//   'test' 103  static text "4 digits", disabled
// and a dialog window (the host's) with a user pane to embed them in.
class SampleNibTest : public PlatformTest {
 protected:
  static constexpr OSType kSignature = 0x74657374;  // 'test'

  void SetUp() override {
    PlatformTest::SetUp();
    bundle_ = CreateBundleAt(TEST_PLUGIN_BUNDLE);
    ASSERT_NE(nullptr, bundle_);
    ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(bundle_, CFSTR("Sample"), &nib_));
    ASSERT_EQ(noErr, CreateWindowFromNib(nib_, CFSTR("Window"), &window_));
    const Rect dialogBounds = {50, 50, 450, 650};
    dialog_ = SimCreateWindow(&dialogBounds);
    const Rect paneBounds = {20, 10, 320, 410};
    pane_ = SimCreateUserPane(dialog_, nullptr, &paneBounds);
  }
  void TearDown() override {
    if (window_ != nullptr) DisposeWindow(window_);
    if (dialog_ != nullptr) DisposeWindow(dialog_);
    if (nib_ != nullptr) DisposeNibReference(nib_);
    if (bundle_ != nullptr) CFRelease(bundle_);
    PlatformTest::TearDown();
  }

  ControlRef Control(SInt32 id, WindowRef window = nullptr) {
    const ControlID controlID = {kSignature, id};
    ControlRef control = nullptr;
    GetControlByID(window != nullptr ? window : window_, &controlID, &control);
    return control;
  }

  // The control's text as the simulation reads it (a password's clear text).
  static std::string TextOf(ControlRef control) { return Take(SimCopyControlText(control)); }

  CFBundleRef bundle_ = nullptr;
  IBNibRef nib_ = nullptr;
  WindowRef window_ = nullptr;
  WindowRef dialog_ = nullptr;
  ControlRef pane_ = nullptr;
};

#endif
