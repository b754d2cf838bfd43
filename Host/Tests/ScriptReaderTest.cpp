// The host's script lines: which are commands, how they split into words,
// and that every quoted text the host prints reads back as the same text.
#include <gtest/gtest.h>

#include <ostream>

#include "ScriptReader.h"
#include "TextFormat.h"

namespace {

// Each table case is named in ctest by its name field.
template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& param) {
  return param.param.name;
}

struct SplitCase {
  const char* name;
  std::string line;
  std::vector<std::string> words;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitWordsTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitWordsTest, GivesTheWords) {
  std::vector<std::string> words;
  std::string problem;
  ASSERT_TRUE(SplitWords(GetParam().line, &words, &problem)) << problem;
  EXPECT_EQ(words, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitWordsTest,
    testing::Values(
        SplitCase{"BlanksAndTabsSeparate", "  type\t1   abc ", {"type", "1", "abc"}},
        SplitCase{"QuotedPartKeepsBlanks", "printer \"Zelvo MF 6200 PS\"", {"printer", "Zelvo MF 6200 PS"}},
        SplitCase{"EmptyQuotesAreAnEmptyWord", "type 1 \"\"", {"type", "1", ""}},
        SplitCase{"TouchingPartsJoin", "ticket com.zelvo.pm.JobType=\"Locked Print\"x",
                  {"ticket", "com.zelvo.pm.JobType=Locked Printx"}},
        SplitCase{"Escapes", R"(paste 3 "a\"b\\c\nd\re\tf")", {"paste", "3", "a\"b\\c\nd\re\tf"}},
        SplitCase{"UnicodeEscapes", R"(type 1 "\u00E9\U0001F600")", {"type", "1", "\xC3\xA9\xF0\x9F\x98\x80"}},
        SplitCase{"BackslashOutsideQuotesIsItself", R"(ticket a=b\c)", {"ticket", "a=b\\c"}},
        SplitCase{"UTF8PassesThrough", "type 1 \xE6\x97\xA5", {"type", "1", "\xE6\x97\xA5"}},
        SplitCase{"HashInsideALineIsText", "type 1 #1", {"type", "1", "#1"}}),
    CaseName<SplitCase>);

struct RejectCase {
  const char* name;
  std::string line;
  std::string problem;
};

void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.name; }

class SplitWordsRejectTest : public testing::TestWithParam<RejectCase> {};

TEST_P(SplitWordsRejectTest, SaysWhy) {
  std::vector<std::string> words;
  std::string problem;
  EXPECT_FALSE(SplitWords(GetParam().line, &words, &problem));
  EXPECT_NE(problem.find(GetParam().problem), std::string::npos) << problem;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitWordsRejectTest,
    testing::Values(RejectCase{"UnclosedQuote", "type 1 \"abc", "not closed"},
                    RejectCase{"BackslashAtTheEnd", "type 1 \"abc\\", "not closed"},
                    RejectCase{"UnknownEscape", R"(type 1 "\q")", "unknown escape \\q"},
                    RejectCase{"ShortUnicodeEscape", R"(type 1 "\u12")", "4 hex digits"},
                    RejectCase{"SurrogateEscape", R"(type 1 "\uD800")", "no character"},
                    RejectCase{"NulEscape", R"(type 1 "\u0000")", "no character"},
                    RejectCase{"BeyondUnicode", R"(type 1 "\U00110000")", "no character"},
                    RejectCase{"NotUTF8", "type 1 \xC3(", "not UTF-8"},
                    RejectCase{"OverlongUTF8", "type 1 \xC0\xAF", "not UTF-8"},
                    RejectCase{"EncodedSurrogate", "type 1 \xED\xA0\x80", "not UTF-8"},
                    RejectCase{"NulByte", std::string("type 1 a\0b", 10), "not UTF-8"}),
    CaseName<RejectCase>);

TEST(IsBlankOrCommentTest, SkipsOnlyEmptyBlankAndCommentLines) {
  EXPECT_TRUE(IsBlankOrComment(""));
  EXPECT_TRUE(IsBlankOrComment(" \t "));
  EXPECT_TRUE(IsBlankOrComment("# a note"));
  EXPECT_TRUE(IsBlankOrComment("   # indented note"));
  EXPECT_FALSE(IsBlankOrComment("open"));
  EXPECT_FALSE(IsBlankOrComment("  open # not a comment here"));
}

// Whatever text a control or an alert holds, its quoted form in the output
// reads back through the script reader as the same text.
TEST(QuoteTest, ReadsBackAsTheSameText) {
  const std::u16string texts[] = {u"", u"plain", u"say \"hi\"", u"back\\slash", u"line\nbreak\r\ttab",
                                  u"\x01\x1F\x7F", u"Gr\u00FC\u00DFe \u65E5\u672C", u"\U0001F600",
                                  u"\u2022\u2022\u2022\u2022"};
  for (const std::u16string& text : texts) {
    const std::string quoted = Quote(text);
    std::vector<std::string> words;
    std::string problem;
    ASSERT_TRUE(SplitWords("type 1 " + quoted, &words, &problem)) << quoted << ": " << problem;
    ASSERT_EQ(words.size(), 3u) << quoted;
    std::u16string back;
    ASSERT_TRUE(DecodeUTF8(words[2], &back));
    EXPECT_EQ(back, text) << quoted;
  }
}

TEST(QuoteTest, ShowsAnUnpairedSurrogateAsAnEscape) {
  EXPECT_EQ(Quote(std::u16string(u"a") + char16_t(0xD83D) + u"b"), "\"a\\uD83Db\"");
  std::string text;
  EXPECT_FALSE(EncodeUTF8(std::u16string(1, char16_t(0xDE00)), &text));
}

TEST(FourCharCodeTextTest, PrintableCodesAsCharactersOthersInHex) {
  EXPECT_EQ(FourCharCodeText(0x6A6C6F67), "jlog");
  EXPECT_EQ(FourCharCodeText(0), "0x00000000");
  EXPECT_EQ(FourCharCodeText(0x6A6C6F20), "0x6A6C6F20");
}

}  // namespace
