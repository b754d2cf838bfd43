// The two character filters: digits only, and letters of the locale with
// digits.
#include <locale.h>

#include <string>

#include "CEditText.h"
#include "PluginTestSupport.h"

namespace {

struct FilterCase {
  const char* name;
  SInt16 ch;
  SInt16 numeric;
  SInt16 alphaNumeric;
};
void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.name << " (" << c.ch << ")"; }

class CharacterFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(CharacterFilterTest, VerdictInTheDefaultLocale) {
  EXPECT_EQ(GetParam().numeric, CEditText::NumericFilter(GetParam().ch));
  EXPECT_EQ(GetParam().alphaNumeric, CEditText::AlphaNumericFilter(GetParam().ch));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CharacterFilterTest,
    ::testing::Values(FilterCase{"Zero", '0', 1, 1}, FilterCase{"Nine", '9', 1, 1},
                      FilterCase{"Seven", '7', 1, 1}, FilterCase{"UpperA", 'A', 0, 1},
                      FilterCase{"UpperZ", 'Z', 0, 1}, FilterCase{"LowerA", 'a', 0, 1},
                      FilterCase{"LowerZ", 'z', 0, 1}, FilterCase{"Blank", ' ', 0, 0},
                      FilterCase{"Hyphen", '-', 0, 0}, FilterCase{"Underscore", '_', 0, 0},
                      FilterCase{"Dot", '.', 0, 0}, FilterCase{"Slash", '/', 0, 0},
                      FilterCase{"Colon", ':', 0, 0}, FilterCase{"At", '@', 0, 0},
                      FilterCase{"Nul", 0, 0, 0}, FilterCase{"Tab", '\t', 0, 0},
                      FilterCase{"MinusOne", -1, 0, 0},
                      FilterCase{"PastedByteAC", -84, 0, 0},  // 0xAC as a signed byte
                      FilterCase{"PastedByteE9", -23, 0, 0},
                      FilterCase{"DigitZeroPlus256", 256 + '0', 0, 0},
                      FilterCase{"Largest", 32767, 0, 0}),
    CaseName<FilterCase>);

TEST(CharacterFilterRangeTest, CodesAbove127AreRefusedInTheDefaultLocale) {
  for (int ch = 128; ch <= 255; ++ch) {
    SCOPED_TRACE(ch);
    EXPECT_EQ(0, CEditText::NumericFilter(static_cast<SInt16>(ch)));
    EXPECT_EQ(0, CEditText::AlphaNumericFilter(static_cast<SInt16>(ch)));
  }
}

// Above 255 the letter test follows the locale's code points; the digit
// test never leaves 0 to 9.
TEST(CharacterFilterLocaleTest, CodePointsFollowTheLocaleExceptForDigits) {
  const std::string previous = setlocale(LC_ALL, nullptr);
  if (setlocale(LC_ALL, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
  const SInt16 cyrillicZhe = 0x0416, arabicIndicZero = 0x0660, cjkIdeograph = 0x4E00, blank = 0x2003;
  EXPECT_EQ(1, CEditText::AlphaNumericFilter(cyrillicZhe));
  EXPECT_EQ(1, CEditText::AlphaNumericFilter(cjkIdeograph));
  EXPECT_EQ(0, CEditText::AlphaNumericFilter(blank));
  EXPECT_EQ(0, CEditText::NumericFilter(cyrillicZhe));
  EXPECT_EQ(0, CEditText::NumericFilter(arabicIndicZero));
  EXPECT_EQ(0, CEditText::AlphaNumericFilter(-1));
  setlocale(LC_ALL, previous.c_str());
}

}  // namespace
