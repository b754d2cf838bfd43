// Strings: UTF-16 length, encodings, Pascal strings in Mac OS Roman,
// literal comparison and formatting.
#include <cstring>

#include "TestSupport.h"

namespace {

using CFStringTest = PlatformTest;

TEST_F(CFStringTest, LengthCountsUTF16Units) {
  const struct {
    const char* utf8;
    CFIndex length;
  } cases[] = {{"", 0}, {"abc", 3}, {"\xC3\xA9", 1}, {"\xE6\x97\xA5\xE6\x9C\xAC", 2},
               {"\xF0\x9F\x98\x80", 2}};  // U+1F600 takes a surrogate pair
  for (const auto& c : cases) {
    CFStringRef string = MakeString(c.utf8);
    ASSERT_NE(nullptr, string) << c.utf8;
    EXPECT_EQ(c.length, CFStringGetLength(string)) << c.utf8;
    CFRelease(string);
  }
}

TEST_F(CFStringTest, CreationFailsForBytesTheEncodingDoesNotAllow) {
  EXPECT_EQ(nullptr, CFStringCreateWithCString(nullptr, "\xC3", kCFStringEncodingUTF8));
  EXPECT_EQ(nullptr, CFStringCreateWithCString(nullptr, "\xED\xA0\x80", kCFStringEncodingUTF8));
  EXPECT_EQ(nullptr, CFStringCreateWithCString(nullptr, "caf\xC3\xA9", kCFStringEncodingASCII));
  EXPECT_EQ(nullptr, CFStringCreateWithCString(nullptr, nullptr, kCFStringEncodingUTF8));
  // Mac OS Roman 0x8E is e acute.
  EXPECT_EQ("caf\xC3\xA9", Take(CFStringCreateWithCString(nullptr, "caf\x8E", kCFStringEncodingMacRoman)));
}

TEST_F(CFStringTest, GetCStringNeedsRoomForTheTerminator) {
  CFStringRef string = MakeString("abcd");
  char buffer[8];
  EXPECT_FALSE(CFStringGetCString(string, buffer, 4, kCFStringEncodingUTF8));
  ASSERT_TRUE(CFStringGetCString(string, buffer, 5, kCFStringEncodingUTF8));
  EXPECT_STREQ("abcd", buffer);
  CFRelease(string);
  CFStringRef japanese = MakeString("\xE6\x97\xA5");
  EXPECT_FALSE(CFStringGetCString(japanese, buffer, sizeof buffer, kCFStringEncodingMacRoman));
  EXPECT_FALSE(CFStringGetCString(japanese, buffer, sizeof buffer, kCFStringEncodingASCII));
  CFRelease(japanese);
}

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

struct PascalCase {
  const char* name;
  std::string utf8;
  CFIndex bufferSize;
  bool ok;
  std::string bytes;  // after the length byte
};

// Names the case in the test's name.
void PrintTo(const PascalCase& c, std::ostream* os) { *os << c.name; }

class PascalStringTest : public PlatformTest, public ::testing::WithParamInterface<PascalCase> {};

TEST_P(PascalStringTest, ConvertsToMacOSRomanOrFails) {
  const PascalCase& c = GetParam();
  CFStringRef string = MakeString(c.utf8);
  ASSERT_NE(nullptr, string);
  unsigned char buffer[512];  // room beyond a Str255, so only the 255-byte rule can refuse
  std::memset(buffer, 0xAA, sizeof buffer);
  EXPECT_EQ(c.ok, CFStringGetPascalString(string, buffer, c.bufferSize, kCFStringEncodingMacRoman));
  if (c.ok) {
    ASSERT_EQ(c.bytes.size(), buffer[0]);
    EXPECT_EQ(c.bytes, std::string(reinterpret_cast<char*>(buffer + 1), buffer[0]));
  } else {
    EXPECT_EQ(0, buffer[0]);  // an empty Pascal string, never a half-written one
  }
  CFRelease(string);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PascalStringTest,
    ::testing::Values(PascalCase{"Empty", "", 256, true, ""},
                      PascalCase{"Digits", "1234", 256, true, "1234"},
                      PascalCase{"EAcute", "\xC3\xA9", 256, true, "\x8E"},
                      PascalCase{"Euro", "\xE2\x82\xAC", 256, true, "\xDB"},
                      PascalCase{"Kanji", "\xE6\x97\xA5", 256, false, ""},
                      PascalCase{"EAcuteThenKanji", "\xC3\xA9\xE6\x97\xA5", 256, false, ""},
                      PascalCase{"Bytes255", std::string(255, 'x'), 256, true, std::string(255, 'x')},
                      PascalCase{"Bytes256", std::string(256, 'x'), 256, false, ""},
                      PascalCase{"Bytes256WhateverTheBuffer", std::string(256, 'x'), 512, false, ""},
                      PascalCase{"EAcute255Times", Repeat("\xC3\xA9", 255), 256, true, std::string(255, '\x8E')},
                      PascalCase{"FitsTheBuffer", "abc", 4, true, "abc"},
                      PascalCase{"BufferTooSmall", "abcd", 4, false, ""}),
    CaseName<PascalCase>);

TEST_F(CFStringTest, CompareWithoutOptionsIsExact) {
  const struct {
    const char* a;
    const char* b;
    CFComparisonResult result;
  } cases[] = {{"Locked Print", "Locked Print", kCFCompareEqualTo},
               {"locked print", "Locked Print", kCFCompareGreaterThan},
               {"Locked Print", "Locked Print ", kCFCompareLessThan},
               {"", "Normal", kCFCompareLessThan},
               {"e\xCC\x81", "\xC3\xA9", kCFCompareLessThan}};  // no normalisation
  for (const auto& c : cases) {
    CFStringRef a = MakeString(c.a);
    CFStringRef b = MakeString(c.b);
    EXPECT_EQ(c.result, CFStringCompare(a, b, 0)) << c.a << " / " << c.b;
    CFRelease(a);
    CFRelease(b);
  }
}

TEST_F(CFStringTest, CopyIsAnEqualNewString) {
  CFStringRef copy = CFStringCreateCopy(nullptr, CFSTR("User ID"));
  EXPECT_NE(CFSTR("User ID"), copy);
  EXPECT_TRUE(CFEqual(CFSTR("User ID"), copy));
  EXPECT_EQ(1, CFGetRetainCount(copy));
  EXPECT_EQ(u'U', CFStringGetCharacterAtIndex(copy, 0));
  CFRelease(copy);
}

std::string Format(CFStringRef format, ...) {
  va_list arguments;
  va_start(arguments, format);
  CFStringRef result = CFStringCreateWithFormatAndArguments(nullptr, nullptr, format, arguments);
  va_end(arguments);
  return Take(result);
}

TEST_F(CFStringTest, FormatsWhatThePaneFormats) {
  EXPECT_EQ("JST-9", Take(CFStringCreateWithFormat(nullptr, nullptr, CFSTR("%s%ld"), "JST", -9L)));
  EXPECT_EQ("CET1", Format(CFSTR("%s%ld"), "CET", 1L));
  EXPECT_EQ("UTC0", Format(CFSTR("%s%ld"), "UTC", 0L));
}

TEST_F(CFStringTest, FormatsTheUsualConversions) {
  EXPECT_EQ("[  42|42 |0042]", Format(CFSTR("[%4d|%-3d|%04d]"), 42, 42, 42));
  EXPECT_EQ("ff FF 17", Format(CFSTR("%x %X %o"), 255u, 255u, 15u));
  EXPECT_EQ("-9223372036854775807 18446744073709551615",
            Format(CFSTR("%lld %llu"), -9223372036854775807LL, 18446744073709551615ULL));
  EXPECT_EQ("44 -1 7", Format(CFSTR("%hhd %hd %zu"), 300, 65535, size_t{7}));
  EXPECT_EQ("3.14 x 100%", Format(CFSTR("%.2f %c 100%%"), 3.14159, 'x'));
  EXPECT_EQ("[  ab]", Format(CFSTR("[%*.*s]"), 4, 2, "abc"));
  EXPECT_EQ("h\xC3\xA9llo", Format(CFSTR("%s"), "h\xC3\xA9llo"));
}

TEST_F(CFStringTest, FormatsObjectsWithPercentAt) {
  SInt32 eight = 8;
  CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &eight);
  EXPECT_EQ("Password of 8 digits: true", Format(CFSTR("%@ of %@ digits: %@"), CFSTR("Password"),
                                                 number, kCFBooleanTrue));
  CFRelease(number);
}

TEST_F(CFStringTest, FormatThatCannotBeReadGivesNull) {
  EXPECT_EQ(nullptr, CFStringCreateWithFormat(nullptr, nullptr, CFSTR("%k"), 1));
  EXPECT_EQ(nullptr, CFStringCreateWithFormat(nullptr, nullptr, CFSTR("%1$d"), 1));
  EXPECT_EQ(nullptr, CFStringCreateWithFormat(nullptr, nullptr, CFSTR("%ls"), L"wide"));
  EXPECT_EQ(nullptr, CFStringCreateWithFormat(nullptr, nullptr, CFSTR("trailing %"), 1));
  EXPECT_EQ(nullptr, CFStringCreateWithFormat(nullptr, nullptr, CFSTR("%s"), "\xFF"));  // not UTF-8
}

TEST_F(CFStringTest, CompareOptionsAreNotOfferedAndSaySo) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(CFStringCompare(CFSTR("a"), CFSTR("A"), 1), "only the literal comparison");
}

}  // namespace
