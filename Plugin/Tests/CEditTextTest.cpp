// Edit-text fields as the user meets them: keys typed through the key
// filter, pastes through the paste check, the password text, and what is
// left on a control once its field is gone.
#include <string>

#include "CEditText.h"
#include "PluginTestSupport.h"

namespace {

const OSType kTestSignature = 0x74657374;  // 'test'
enum { kTextID = 1, kPasswordID = 2 };

// A nib window with an edit text and a password edit text.
const char kFieldsNib[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>Windows</key><dict>
  <key>Window</key><dict>
    <key>ContentBounds</key><array><integer>0</integer><integer>0</integer><integer>100</integer><integer>300</integer></array>
    <key>Controls</key><array>
      <dict><key>Kind</key><string>EditText</string><key>Signature</key><string>test</string><key>ID</key><integer>1</integer>
        <key>Bounds</key><array><integer>10</integer><integer>10</integer><integer>30</integer><integer>200</integer></array></dict>
      <dict><key>Kind</key><string>PasswordEditText</string><key>Signature</key><string>test</string><key>ID</key><integer>2</integer>
        <key>Bounds</key><array><integer>40</integer><integer>10</integer><integer>60</integer><integer>200</integer></array></dict>
    </array></dict>
</dict></dict></plist>
)";

// Counts its calls and refuses everything.
int gRefusingFilterCalls = 0;
SInt16 RefusingFilter(SInt16) {
  ++gRefusingFilterCalls;
  return 0;
}

class EditTextTest : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    files_.WriteResource("Fields.nib", kFieldsNib);
    bundle_.reset(CreateBundleAt(files_.path()));
    ASSERT_NE(nullptr, bundle_.get());
    ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(bundle_.get(), CFSTR("Fields"), &nib_));
    ASSERT_EQ(noErr, CreateWindowFromNib(nib_, CFSTR("Window"), &window_));
    gRefusingFilterCalls = 0;
  }
  void TearDown() override {
    if (window_ != nullptr) DisposeWindow(window_);
    if (nib_ != nullptr) DisposeNibReference(nib_);
    bundle_.reset();
    LeakCheckedTest::TearDown();
  }

  ControlRef Control(SInt32 id) {
    const ControlID controlID = {kTestSignature, id};
    ControlRef control = nullptr;
    GetControlByID(window_, &controlID, &control);
    return control;
  }
  // Attaches the field to the control with the ID, with its rules.
  void Attach(CEditText* field, SInt32 id, SInt16 maxChars, KeyFilterProcPtr filter) {
    ASSERT_TRUE(field->Attach(window_, ControlID{kTestSignature, id}));
    field->SetMaxChars(maxChars);
    field->SetKeyFilter(filter);
  }
  static void Select(ControlRef control, SInt16 start, SInt16 end) {
    ControlEditTextSelectionRec selection = {start, end};
    SetControlData(control, kControlEditTextPart, kControlEditTextSelectionTag, sizeof(selection), &selection);
  }
  static std::string TextOf(ControlRef control) { return Take(SimCopyControlText(control)); }

  TempBundle files_{"com.zelvo.test.Fields"};
  Owned<CFBundleRef> bundle_;
  IBNibRef nib_ = nullptr;
  WindowRef window_ = nullptr;
};

// ---- Typing ----

TEST_F(EditTextTest, FullFieldRefusesACharacterEvenOverASelection) {
  CEditText field;
  Attach(&field, kTextID, 8, CEditText::AlphaNumericFilter);
  ControlRef control = Control(kTextID);
  EXPECT_EQ(8, SimTypeText(control, "abcdefgh"));
  EXPECT_EQ(kSimKeyBlocked, SimTypeKey(control, '1', 0));
  Select(control, 0, 8);
  EXPECT_EQ(kSimKeyBlocked, SimTypeKey(control, '1', 0));
  EXPECT_EQ("abcdefgh", TextOf(control));
}

TEST_F(EditTextTest, EditingAndCommandKeysPassAFullField) {
  CEditText field;
  Attach(&field, kTextID, 3, CEditText::NumericFilter);
  ControlRef control = Control(kTextID);
  SimTypeText(control, "123");
  const struct {
    const char* name;
    UniChar key;
    EventModifiers modifiers;
  } kKeys[] = {{"left", kLeftArrowCharCode, 0},   {"right", kRightArrowCharCode, 0},
               {"up", kUpArrowCharCode, 0},       {"down", kDownArrowCharCode, 0},
               {"home", kHomeCharCode, 0},        {"end", kEndCharCode, 0},
               {"return", kReturnCharCode, 0},    {"enter", kEnterCharCode, 0},
               {"escape", kEscapeCharCode, 0},    {"tab", kTabCharCode, 0},
               {"command-a", 'a', cmdKey},        {"command-x", 'x', cmdKey}};
  for (const auto& k : kKeys) {
    SCOPED_TRACE(k.name);
    EXPECT_NE(kSimKeyBlocked, SimTypeKey(control, k.key, k.modifiers));
  }
  EXPECT_EQ("123", TextOf(control));
  Select(control, 3, 3);  // command-a selected everything
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(control, kBackspaceCharCode, 0));
  EXPECT_EQ("12", TextOf(control));
  Select(control, 0, 0);
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(control, kDeleteCharCode, 0));
  EXPECT_EQ("2", TextOf(control));
}

TEST_F(EditTextTest, FilterDecidesWhileThereIsRoom) {
  CEditText field;
  Attach(&field, kTextID, 8, CEditText::NumericFilter);
  ControlRef control = Control(kTextID);
  EXPECT_EQ(kSimKeyBlocked, SimTypeKey(control, 'a', 0));
  EXPECT_EQ(kSimKeyBlocked, SimTypeKey(control, ' ', 0));
  EXPECT_EQ(kSimKeyBlocked, SimTypeKey(control, 0x00E9, 0));
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(control, '5', 0));
  EXPECT_EQ("5", TextOf(control));
}

TEST_F(EditTextTest, NoLimitAndNoFilterTakeEverything) {
  CEditText field;
  Attach(&field, kTextID, -1, nullptr);
  const std::string text(300, 'x');
  EXPECT_EQ(300, SimTypeText(Control(kTextID), text.c_str()));
  EXPECT_EQ(1, SimTypeText(Control(kTextID), "-"));
}

TEST_F(EditTextTest, LimitZeroRefusesEveryCharacter) {
  CEditText field;
  Attach(&field, kTextID, 0, nullptr);
  ControlRef control = Control(kTextID);
  EXPECT_EQ(kSimKeyBlocked, SimTypeKey(control, 'a', 0));
  EXPECT_EQ(kSimKeyBlocked, SimTypeKey(control, '0', 0));
  EXPECT_NE(kSimKeyBlocked, SimTypeKey(control, kBackspaceCharCode, 0));
  EXPECT_NE(kSimKeyBlocked, SimTypeKey(control, 'a', cmdKey));
}

TEST_F(EditTextTest, PasswordFieldCountsAndKeepsItsClearText) {
  CPasswordEditText field;
  Attach(&field, kPasswordID, 4, CEditText::NumericFilter);
  ControlRef control = Control(kPasswordID);
  EXPECT_EQ(4, SimTypeText(control, "1234"));
  EXPECT_EQ(kSimKeyBlocked, SimTypeKey(control, '5', 0));
  EXPECT_EQ("1234", Take(field.CopyTextAsCFString()));

  field.SetText(CFSTR("9876"));
  EXPECT_EQ("9876", TextOf(control));
  EXPECT_EQ("9876", Take(field.CopyTextAsCFString()));
}

TEST_F(EditTextTest, TextIsReadAndWrittenAsStrings) {
  CEditText field;
  Attach(&field, kTextID, -1, nullptr);
  field.SetText(CFSTR("alice"));
  EXPECT_EQ("alice", TextOf(Control(kTextID)));
  CFStringRef copy = field.CopyTextAsCFString();
  EXPECT_EQ(1, CFGetRetainCount(copy));
  EXPECT_EQ("alice", Take(copy));
}

TEST_F(EditTextTest, UnattachedFieldHasNoTextAndTakesNone) {
  CEditText field;
  EXPECT_FALSE(field.Attach(window_, ControlID{kTestSignature, 99}));
  EXPECT_EQ(nullptr, field.GetControlRef());
  EXPECT_EQ(nullptr, field.CopyTextAsCFString());
  field.SetText(CFSTR("ignored"));  // no control, no effect
  CPasswordEditText password;
  EXPECT_EQ(nullptr, password.CopyTextAsCFString());
}

// ---- Pasting ----

struct PasteCase {
  const char* name;
  const char* initial;
  SInt16 selStart, selEnd;
  std::string scrap;  // bytes of the 'TEXT' flavor
  SInt16 maxChars;
  KeyFilterProcPtr filter;
  bool pasted;
};
void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

class PasteTest : public EditTextTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTest, PasteIsHeldToLimitAndFilter) {
  const PasteCase& c = GetParam();
  CEditText field;
  Attach(&field, kTextID, c.maxChars, c.filter);
  ControlRef control = Control(kTextID);
  ForceText(control, c.initial);
  Select(control, c.selStart, c.selEnd);
  SimSetScrapText(c.scrap.data(), static_cast<Size>(c.scrap.size()));

  EXPECT_EQ(noErr, SimSendCommand(control, kHICommandPaste));
  const std::string initial = c.initial;
  const std::string expected =
      c.pasted ? initial.substr(0, c.selStart) + c.scrap + initial.substr(c.selEnd) : initial;
  EXPECT_EQ(expected, TextOf(control));
  EXPECT_EQ(c.pasted ? 0u : 1u, SimGetBeepCount());
}

INSTANTIATE_TEST_SUITE_P(
    Pastes, PasteTest,
    ::testing::Values(
        // 6 + 4 - 2 = 8 fits a limit of 8; 6 + 5 - 2 = 9 does not.
        PasteCase{"FillsTheFieldExactly", "123456", 2, 4, "7890", 8, CEditText::NumericFilter, true},
        PasteCase{"OneTooMany", "123456", 2, 4, "78901", 8, CEditText::NumericFilter, false},
        PasteCase{"IntoAFullFieldOverItsWholeText", "12345678", 0, 8, "87654321", 8, CEditText::NumericFilter, true},
        PasteCase{"LetterInNumericPaste", "", 0, 0, "12a4", 8, CEditText::NumericFilter, false},
        PasteCase{"LettersAndDigitsInUserID", "", 0, 0, "ab12", 8, CEditText::AlphaNumericFilter, true},
        PasteCase{"HyphenInUserID", "", 0, 0, "ab-1", 8, CEditText::AlphaNumericFilter, false},
        PasteCase{"ByteAbove7FInUserID", "", 0, 0, "caf\xE9", 8, CEditText::AlphaNumericFilter, false},
        PasteCase{"ByteAbove7FInNumericField", "", 0, 0, "1\x8E", 8, CEditText::NumericFilter, false},
        PasteCase{"NoLimitTakesAnyLength", "abc", 3, 3, std::string(40, 'z'), -1, CEditText::AlphaNumericFilter, true},
        PasteCase{"NoFilterTakesAnyByteWithinTheLimit", "", 0, 0, "a-b c", 8, nullptr, true}),
    CaseName<PasteCase>);

TEST_F(EditTextTest, EmptyScrapTextAddsNothingAndConsultsNoFilter) {
  CEditText field;
  Attach(&field, kTextID, 2, RefusingFilter);
  ControlRef control = Control(kTextID);
  ForceText(control, "ab");  // full
  SimSetScrapText("", 0);
  EXPECT_EQ(noErr, SimSendCommand(control, kHICommandPaste));
  EXPECT_EQ(0, gRefusingFilterCalls);
  EXPECT_EQ(0u, SimGetBeepCount());
  EXPECT_EQ("ab", TextOf(control));
}

TEST_F(EditTextTest, ScrapWithoutTextIsHandedOn) {
  CEditText field;
  Attach(&field, kTextID, 2, RefusingFilter);
  SimClearScrap();
  EXPECT_EQ(noErr, SimSendCommand(Control(kTextID), kHICommandPaste));
  EXPECT_EQ(0, gRefusingFilterCalls);
  EXPECT_EQ(0u, SimGetBeepCount());
}

TEST_F(EditTextTest, OtherCommandsAreAlwaysHandedOn) {
  CEditText field;
  Attach(&field, kTextID, 0, RefusingFilter);
  ControlRef control = Control(kTextID);
  ForceText(control, "abc");
  SimSetScrapText("zzz", 3);
  EXPECT_EQ(noErr, SimSendCommand(control, kHICommandSelectAll));
  EXPECT_EQ(3, SimGetControlSelection(control).selEnd);
  EXPECT_EQ(eventNotHandledErr, SimSendCommand(control, 0x636F7079 /* 'copy' */));
  EXPECT_EQ(0, gRefusingFilterCalls);
  EXPECT_EQ(0u, SimGetBeepCount());
}

TEST_F(EditTextTest, PasteCheckCountsThePasswordText) {
  CPasswordEditText field;
  Attach(&field, kPasswordID, 4, CEditText::NumericFilter);
  ControlRef control = Control(kPasswordID);
  ForceText(control, "123");
  EXPECT_EQ(noErr, SimPaste(control, "45"));
  EXPECT_EQ(1u, SimGetBeepCount());
  EXPECT_EQ(noErr, SimPaste(control, "4"));
  EXPECT_EQ("1234", TextOf(control));
}

TEST_F(EditTextTest, PasteCheckWithoutMemoryForTheBytesLeavesTheFilterOut) {
  CEditText field;
  Attach(&field, kTextID, 8, RefusingFilter);
  SimSetScrapText("ab", 2);
  SimFailNextNewPtr(1);
  EXPECT_EQ(noErr, SimSendCommand(Control(kTextID), kHICommandPaste));
  EXPECT_EQ(0, gRefusingFilterCalls);
  EXPECT_EQ("ab", TextOf(Control(kTextID)));
}

// ---- A field that goes before its control ----

// The control belongs to the print dialog and outlives the field: keys and
// commands that reach it afterwards must not touch the destroyed field.
TEST_F(EditTextTest, ControlOutlivesItsFieldWithoutItsRules) {
  ControlRef control = Control(kTextID);
  {
    CEditText field;
    Attach(&field, kTextID, 2, CEditText::NumericFilter);
    EXPECT_EQ(&field, GetControlReference(control));
    EXPECT_EQ(kSimKeyBlocked, SimTypeKey(control, 'a', 0));
    SimSetScrapText("xyz", 3);
    SimSendCommand(control, kHICommandPaste);
    EXPECT_EQ(1u, SimGetBeepCount());
  }
  EXPECT_EQ(nullptr, GetControlReference(control));
  EXPECT_EQ(3, SimTypeText(control, "a-b"));  // no limit, no filter: the field is gone
  EXPECT_EQ(noErr, SimSendCommand(control, kHICommandPaste));
  EXPECT_EQ("a-bxyz", TextOf(control));
  EXPECT_EQ(1u, SimGetBeepCount());
}

TEST_F(EditTextTest, DetachedFieldLeavesItsControlAlone) {
  CEditText field;
  Attach(&field, kTextID, 1, CEditText::NumericFilter);
  field.Detach();
  EXPECT_EQ(nullptr, field.GetControlRef());
  EXPECT_EQ(nullptr, GetControlReference(Control(kTextID)));
  EXPECT_EQ(2, SimTypeText(Control(kTextID), "ab"));
}

TEST_F(EditTextTest, AttachingAgainMovesTheRulesToTheNewControl) {
  CEditText field;
  Attach(&field, kTextID, 1, CEditText::NumericFilter);
  Attach(&field, kPasswordID, 1, CEditText::NumericFilter);
  EXPECT_EQ(nullptr, GetControlReference(Control(kTextID)));
  EXPECT_EQ(2, SimTypeText(Control(kTextID), "ab"));
  EXPECT_EQ(1, SimTypeText(Control(kPasswordID), "12"));
}

}  // namespace
