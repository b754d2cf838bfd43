// Nibs: the sample nib's windows and controls, and nibs that must be refused.
#include "TestSupport.h"

namespace {

using NibTest = SampleNibTest;

TEST_F(NibTest, SampleWindowHoldsItsControlsFoundByID) {
  Rect content;
  ASSERT_EQ(noErr, GetWindowBounds(window_, kWindowContentRgn, &content));
  EXPECT_EQ(44, content.top);
  EXPECT_EQ(100, content.left);
  EXPECT_EQ(244, content.bottom);
  EXPECT_EQ(400, content.right);

  const struct {
    SInt32 id;
    SimControlKind kind;
    const char* text;
    SInt16 value, minimum, maximum;
    UInt32 command;
    bool enabled;
  } expected[] = {
      {1, kSimControlEditText, "initial", 0, 0, 0, 0, true},
      {2, kSimControlPopupButton, "", 2, 1, 3, 0x6B696E64, true},  // 'kind'
      {3, kSimControlPasswordEditText, "", 0, 0, 0, 0, true},
      {4, kSimControlCheckBox, "Use it", 0, 0, 1, 0x6368636B, true},  // 'chck'
      {103, kSimControlStaticText, "4 digits", 0, 0, 0, 0, false},
  };
  for (const auto& e : expected) {
    ControlRef control = Control(e.id);
    ASSERT_NE(nullptr, control) << e.id;
    EXPECT_EQ(e.kind, SimGetControlKind(control)) << e.id;
    EXPECT_EQ(kSignature, SimGetControlID(control).signature) << e.id;
    EXPECT_EQ(e.text, TextOf(control)) << e.id;
    EXPECT_EQ(e.value, GetControlValue(control)) << e.id;
    EXPECT_EQ(e.minimum, GetControlMinimum(control)) << e.id;
    EXPECT_EQ(e.maximum, GetControlMaximum(control)) << e.id;
    EXPECT_EQ(e.command, SimGetControlCommand(control)) << e.id;
    EXPECT_EQ(e.enabled, IsControlEnabled(control) != 0) << e.id;
    EXPECT_TRUE(IsControlVisible(control)) << e.id;
    EXPECT_EQ(window_, GetControlOwner(control)) << e.id;
  }
  Rect bounds;
  GetControlBounds(Control(103), &bounds);
  EXPECT_EQ(70, bounds.top);
  EXPECT_EQ(130, bounds.left);
  EXPECT_EQ(92, bounds.bottom);
  EXPECT_EQ(290, bounds.right);
}

TEST_F(NibTest, EveryWindowMadeIsANewOne) {
  WindowRef second = nullptr;
  ASSERT_EQ(noErr, CreateWindowFromNib(nib_, CFSTR("Window"), &second));
  ASSERT_NE(window_, second);
  SimTypeText(Control(1), "X");
  EXPECT_EQ("initialX", TextOf(Control(1)));
  EXPECT_EQ("initial", TextOf(Control(1, second)));
  DisposeWindow(second);
}

TEST_F(NibTest, UserPaneHoldsItsOwnControls) {
  WindowRef window = nullptr;
  ASSERT_EQ(noErr, CreateWindowFromNib(nib_, CFSTR("Window-Pane"), &window));
  ControlRef field = Control(1, window);
  ASSERT_NE(nullptr, field);
  ControlRef pane = SimGetParentControl(field);
  EXPECT_EQ(kSimControlUserPane, SimGetControlKind(pane));
  EXPECT_EQ(50, SimGetControlID(pane).id);
  EXPECT_FALSE(IsControlVisible(field));  // its pane starts hidden
  ShowControl(pane);
  EXPECT_TRUE(IsControlVisible(field));
  DisposeWindow(window);
}

TEST_F(NibTest, MissingNibOrWindowIsReported) {
  IBNibRef nib = reinterpret_cast<IBNibRef>(&nib);
  EXPECT_EQ(kIBCarbonRuntimeCantFindNibFile, CreateNibReferenceWithCFBundle(bundle_, CFSTR("JobLog"), &nib));
  EXPECT_EQ(nullptr, nib);
  WindowRef window = reinterpret_cast<WindowRef>(&window);
  EXPECT_EQ(kIBCarbonRuntimeCantFindObject, CreateWindowFromNib(nib_, CFSTR("Window-MFP"), &window));
  EXPECT_EQ(nullptr, window);
}

class NibFormatTest : public PlatformTest {
 protected:
  // Opens a nib "Test" whose only window holds the given control XML.
  OSStatus OpenWithControl(const std::string& control) {
    return Open("<key>Windows</key><dict><key>W</key><dict>"
                "<key>ContentBounds</key><array><integer>0</integer><integer>0</integer>"
                "<integer>100</integer><integer>100</integer></array>"
                "<key>Controls</key><array><dict>" + control + "</dict></array></dict></dict>");
  }

  OSStatus Open(const std::string& rootBody) {
    dir_.Write("Nib.bundle/Contents/Info.plist", InfoPlist("com.zelvo.test.Nib"));
    dir_.Write("Nib.bundle/Contents/Resources/Test.nib",
               "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + rootBody + "</dict></plist>");
    CFBundleRef bundle = CreateBundleAt(dir_.path() + "/Nib.bundle");
    if (bundle == nullptr) return -1;
    IBNibRef nib = nullptr;
    OSStatus status = CreateNibReferenceWithCFBundle(bundle, CFSTR("Test"), &nib);
    if (status == noErr) DisposeNibReference(nib);
    CFRelease(bundle);
    return status;
  }

  TempDir dir_;
};

const char kBounds[] = "<key>Bounds</key><array><integer>0</integer><integer>0</integer>"
                       "<integer>20</integer><integer>80</integer></array>";

TEST_F(NibFormatTest, WellFormedControlIsAccepted) {
  EXPECT_EQ(noErr, OpenWithControl(std::string("<key>Kind</key><string>EditText</string>") + kBounds));
  EXPECT_EQ(noErr, OpenWithControl(std::string("<key>Kind</key><string>PopupButton</string>") + kBounds +
                                   "<key>Items</key><array><string>a</string></array>"
                                   "<key>Command</key><integer>1936483176</integer>"));
}

TEST_F(NibFormatTest, FaultsMakeTheWholeNibUnusable) {
  const std::string edit = std::string("<key>Kind</key><string>EditText</string>") + kBounds;
  const std::string popup = std::string("<key>Kind</key><string>PopupButton</string>") + kBounds;
  const struct {
    const char* name;
    std::string control;
  } cases[] = {
      {"unknown kind", std::string("<key>Kind</key><string>Slider</string>") + kBounds},
      {"no kind", kBounds},
      {"no bounds", "<key>Kind</key><string>EditText</string>"},
      {"three sides", "<key>Kind</key><string>EditText</string><key>Bounds</key><array><integer>0</integer>"
                      "<integer>0</integer><integer>20</integer></array>"},
      {"side out of range", "<key>Kind</key><string>EditText</string><key>Bounds</key><array><integer>0</integer>"
                            "<integer>0</integer><integer>40000</integer><integer>1</integer></array>"},
      {"misspelt key", edit + "<key>Txt</key><string>x</string>"},
      {"signature of three", edit + "<key>Signature</key><string>abc</string>"},
      {"ID too large", edit + "<key>ID</key><integer>3000000000</integer>"},
      {"text not a string", edit + "<key>Text</key><integer>1</integer>"},
      {"popup without items", popup},
      {"items on an edit text", edit + "<key>Items</key><array><string>a</string></array>"},
      {"value above maximum", popup + "<key>Items</key><array><string>a</string></array><key>Value</key><integer>2</integer>"},
      {"text on a user pane", std::string("<key>Kind</key><string>UserPane</string>") + kBounds +
                                  "<key>Text</key><string>x</string>"},
      {"controls in an edit text", edit + "<key>Controls</key><array/>"},
      {"enabled not a Boolean", edit + "<key>Enabled</key><string>yes</string>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(coreFoundationUnknownErr, OpenWithControl(c.control)) << c.name;
  }
  EXPECT_EQ(coreFoundationUnknownErr, Open("<key>Window</key><dict/>"));
  EXPECT_EQ(coreFoundationUnknownErr, Open("<key>Windows</key><array/>"));
}

TEST_F(NibFormatTest, NibOfTheLocalizationComesFirst) {
  LocaleGuard locale;
  setenv("LANG", "de_DE.UTF-8", 1);
  const std::string head = "<key>Windows</key><dict><key>W</key><dict><key>ContentBounds</key><array>"
                             "<integer>0</integer><integer>0</integer><integer>100</integer><integer>";
  dir_.Write("Nib.bundle/Contents/Info.plist", InfoPlist("com.zelvo.test.Nib"));
  dir_.Write("Nib.bundle/Contents/Resources/Test.nib",
             "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + head + "100</integer></array></dict></dict></dict></plist>");
  dir_.Write("Nib.bundle/Contents/Resources/de.lproj/Test.nib",
             "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + head + "222</integer></array></dict></dict></dict></plist>");
  CFBundleRef bundle = CreateBundleAt(dir_.path() + "/Nib.bundle");
  ASSERT_NE(nullptr, bundle);
  IBNibRef nib = nullptr;
  ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(bundle, CFSTR("Test"), &nib));
  WindowRef window = nullptr;
  ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("W"), &window));
  Rect content;
  GetWindowBounds(window, kWindowContentRgn, &content);
  EXPECT_EQ(222, content.right);
  DisposeWindow(window);
  DisposeNibReference(nib);
  CFRelease(bundle);
}

}  // namespace
