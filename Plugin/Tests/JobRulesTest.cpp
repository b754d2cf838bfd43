// The pane's job rules: job type items and their ticket values, the code
// test every field value goes through, and the password bounds.
#include <optional>
#include <string>

#include "CJobLogPDE.h"
#include "PluginTestSupport.h"

namespace {

class RulesPane : public CJobLogPDE {
 public:
  using CJobLogPDE::GetJobTypeAsCFString;
  using CJobLogPDE::GetJobTypeAsMenuItem;
  using CJobLogPDE::GetMinMaxPasswordLen;
  using CJobLogPDE::IsValidCode;
  void SetLongPasswordSupport(Boolean on) { mLongPasswordSupport = on; }
};

class JobTypeTest : public LeakCheckedTest {
 protected:
  RulesPane pane_;
};

TEST_F(JobTypeTest, EveryItemHasItsTicketValueAndReadsBackAsItself) {
  const char* const kValues[] = {"Normal", "Sample Print", "Locked Print", "Paused Print",
                                 "Saved Print", "Save Document Print", "Document Server"};
  for (SInt16 item = 1; item <= 7; ++item) {
    SCOPED_TRACE(item);
    CFStringRef value = pane_.GetJobTypeAsCFString(item);
    EXPECT_EQ(kValues[item - 1], Str(value));
    EXPECT_EQ(item, pane_.GetJobTypeAsMenuItem(value));
  }
}

TEST_F(JobTypeTest, ItemsOutsideTheMenuAreNormal) {
  for (SInt16 item : {0, -1, 8, 32767, -32768}) {
    SCOPED_TRACE(item);
    EXPECT_EQ("Normal", Str(pane_.GetJobTypeAsCFString(item)));
  }
}

TEST_F(JobTypeTest, OnlyAnExactValueNamesAJobType) {
  const struct {
    const char* value;
    SInt16 item;
  } kCases[] = {{"Normal", 1}, {"", 1}, {"locked print", 1}, {"Locked Print ", 1}, {"Locked", 1},
                {"Normal Print", 1}, {"Saved", 1}, {"Locked Print", 3}, {"Document Server", 7},
                {"Save Document Print", 6}, {"Saved Print", 5}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value);
    Owned<CFStringRef> value(MakeString(c.value));
    EXPECT_EQ(c.item, pane_.GetJobTypeAsMenuItem(value.get()));
  }
}

// ---- The code test ----

enum Filter { kNone, kNumeric, kAlphaNumeric };

struct CodeCase {
  const char* name;
  std::optional<std::string> code;  // UTF-8; nullopt: a NULL string
  CFIndex minChars, maxChars;
  Filter filter;
  bool valid;
};
void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

KeyFilterProcPtr FilterOf(Filter filter) {
  switch (filter) {
    case kNumeric: return CEditText::NumericFilter;
    case kAlphaNumeric: return CEditText::AlphaNumericFilter;
    default: return nullptr;
  }
}

class IsValidCodeTest : public LeakCheckedTest, public ::testing::WithParamInterface<CodeCase> {
 protected:
  RulesPane pane_;
};

TEST_P(IsValidCodeTest, LengthAndCharacters) {
  const CodeCase& c = GetParam();
  Owned<CFStringRef> code(c.code ? MakeString(*c.code) : nullptr);
  ASSERT_EQ(c.code.has_value(), code.get() != nullptr);
  EXPECT_EQ(c.valid, pane_.IsValidCode(code.get(), c.minChars, c.maxChars, FilterOf(c.filter)) != 0);
}

const std::string k300Letters(300, 'a');
const std::string k255Letters(255, 'a');
const std::string k256Letters(256, 'a');

INSTANTIATE_TEST_SUITE_P(
    Codes, IsValidCodeTest,
    ::testing::Values(
        CodeCase{"NullWithoutBounds", std::nullopt, -1, -1, kNone, false},
        CodeCase{"NullWithFilter", std::nullopt, 0, 8, kNumeric, false},
        CodeCase{"EmptyNoLowerBound", "", -1, 8, kAlphaNumeric, true},
        CodeCase{"EmptyLowerBoundZero", "", 0, 8, kNumeric, true},
        CodeCase{"EmptyNoFilter", "", 0, 8, kNone, true},
        CodeCase{"EmptyLowerBoundFour", "", 4, 8, kNumeric, false},
        CodeCase{"FourDigitsShortPassword", "1234", 4, 4, kNumeric, true},
        CodeCase{"FiveDigitsShortPassword", "12345", 4, 4, kNumeric, false},
        CodeCase{"FiveDigitsLongPassword", "12345", 4, 8, kNumeric, true},
        CodeCase{"EightDigitsLongPassword", "12345678", 4, 8, kNumeric, true},
        CodeCase{"NineDigitsLongPassword", "123456789", 4, 8, kNumeric, false},
        CodeCase{"ThreeDigitsShortPassword", "123", 4, 4, kNumeric, false},
        CodeCase{"ThreeDigitsLongPassword", "123", 4, 8, kNumeric, false},
        CodeCase{"LetterAmongDigits", "12a4", 4, 4, kNumeric, false},
        CodeCase{"EightLettersUserID", "abcdEFGH", 0, 8, kAlphaNumeric, true},
        CodeCase{"NineLettersUserID", "abcdEFGHi", 0, 8, kAlphaNumeric, false},
        CodeCase{"HyphenInUserID", "ab-1", 0, 8, kAlphaNumeric, false},
        CodeCase{"BlankInFileName", "my file", 0, 16, kAlphaNumeric, false},
        CodeCase{"SixteenCharacterFileName", "Report2024Q1abcd", 0, 16, kAlphaNumeric, true},
        CodeCase{"LongWithoutUpperBoundOrFilter", k300Letters, -1, -1, kNone, true},
        CodeCase{"LongWithoutUpperBoundWithFilter", k300Letters, -1, -1, kAlphaNumeric, false},
        CodeCase{"UpperBoundNeverAbove255", k256Letters, -1, 300, kNone, false},
        CodeCase{"Exactly255", k255Letters, -1, 300, kAlphaNumeric, true},
        // U+00E9 has a Mac OS Roman byte (0x8E), which no filter takes here.
        CodeCase{"AccentedLetterWithFilter", "caf\xC3\xA9", 0, 8, kAlphaNumeric, false},
        // U+0416 has no Mac OS Roman form at all.
        CodeCase{"NoMacRomanFormWithFilter", "\xD0\x96", 0, 8, kAlphaNumeric, false},
        CodeCase{"NoMacRomanFormWithoutFilter", "\xD0\x96", 0, 8, kNone, true},
        // A character outside the Basic Multilingual Plane is two UTF-16 units.
        CodeCase{"LengthCountsUTF16Units", "\xF0\x9F\x98\x80", 0, 1, kNone, false}),
    CaseName<CodeCase>);

// ---- Password bounds ----

TEST_F(JobTypeTest, PasswordBoundsFollowTheModel) {
  for (Boolean longPasswords : {false, true}) {
    SCOPED_TRACE(static_cast<int>(longPasswords));
    pane_.SetLongPasswordSupport(longPasswords);
    SInt16 minChars = 0, maxChars = 0;
    pane_.GetMinMaxPasswordLen(&minChars, &maxChars);
    EXPECT_EQ(4, minChars);
    EXPECT_EQ(longPasswords ? 8 : 4, maxChars);

    SInt16 onlyMax = 0, onlyMin = 0;
    pane_.GetMinMaxPasswordLen(nullptr, &onlyMax);
    pane_.GetMinMaxPasswordLen(&onlyMin, nullptr);
    EXPECT_EQ(maxChars, onlyMax);
    EXPECT_EQ(4, onlyMin);
  }
}

}  // namespace
