// Comparison at a line head and the search for the next line head.
#include <gtest/gtest.h>

#include <string>

#include "Buffer.h"
#include "CUPSFilter.h"

namespace {

struct CompareCase {
    const char* data;    // the bytes from the comparison point to the block's end
    const char* search;
    int expected;
};

void PrintTo(const CompareCase& c, std::ostream* os)
{
    *os << testing::PrintToString(std::string(c.data));
}

class CompareWithSearchString : public testing::TestWithParam<CompareCase> {};

TEST_P(CompareWithSearchString, GivesMatchPartialOrMismatch)
{
    const CompareCase& c = GetParam();
    std::string data = c.data;
    // The byte after the block must never be read; a marker byte there would
    // turn a partial into a match.
    std::string block = data + "Prolog";
    const char* end = block.data() + data.size() - 1;
    EXPECT_EQ(compareWithSearchString(block.data(), end, c.search), c.expected) << c.data;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CompareWithSearchString,
    testing::Values(CompareCase{"%%BeginProlog\n", SEARCH_STRING, COMPARE_MATCH},
                    CompareCase{"%%BeginProlog", SEARCH_STRING, COMPARE_MATCH},
                    CompareCase{"%%BeginPrologue and more", SEARCH_STRING, COMPARE_MATCH},
                    CompareCase{"%%BeginProlo", SEARCH_STRING, COMPARE_PARTIAL},
                    CompareCase{"%", SEARCH_STRING, COMPARE_PARTIAL},
                    CompareCase{"%%Begin", SEARCH_STRING, COMPARE_PARTIAL},
                    CompareCase{"%%BeginPage: 1 1\n", SEARCH_STRING, COMPARE_MISMATCH},
                    CompareCase{"%%beginprolog\n", SEARCH_STRING, COMPARE_MISMATCH},
                    CompareCase{" %%BeginProlog\n", SEARCH_STRING, COMPARE_MISMATCH},
                    CompareCase{"%%Beg", SEARCH_STRING, COMPARE_PARTIAL},
                    CompareCase{"%%Bex", SEARCH_STRING, COMPARE_MISMATCH},
                    CompareCase{"x", "", COMPARE_MATCH}));

struct NextHeadCase {
    const char* block;
    int expected_offset;  // -1 for none
};

void PrintTo(const NextHeadCase& c, std::ostream* os)
{
    *os << testing::PrintToString(std::string(c.block));
}

class SearchNextCandidateHeadOfLine : public testing::TestWithParam<NextHeadCase> {};

TEST_P(SearchNextCandidateHeadOfLine, FindsTheNextLineHeadThatCouldHoldTheMarker)
{
    const NextHeadCase& c = GetParam();
    std::string block = c.block;
    const char* end = block.data() + block.size() - 1;
    const char* head = searchNextCandidateHeadOfLine(block.data(), end, '%');
    int offset = head == nullptr ? -1 : static_cast<int>(head - block.data());
    EXPECT_EQ(offset, c.expected_offset) << testing::PrintToString(block);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchNextCandidateHeadOfLine,
    testing::Values(NextHeadCase{"ab\n%d", 3},
                    NextHeadCase{"ab\r\n%d", 4},
                    NextHeadCase{"ab\r%d", 3},
                    NextHeadCase{"ab\n\n\r\n\r%d", 7},     // empty lines are skipped
                    NextHeadCase{"ab\nc\nx%y\n%", 9},       // the head may be the last byte
                    NextHeadCase{"%b\n%d", 3},                 // not the current head itself
                    NextHeadCase{"a%b%c", -1},                  // not at a line head
                    NextHeadCase{"ab\n c\n%\n", 6},
                    NextHeadCase{"ab\n", -1},
                    NextHeadCase{"abc\nd\ne\n", -1},
                    NextHeadCase{"x", -1}));

}  // namespace
