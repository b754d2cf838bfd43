// Line scanning inside one input block. CR and LF each end a line; a run of them
// (CR LF, empty lines) separates two lines like a single one.
#include "Buffer.h"

#include <string.h>

#include "CUPSFilter.h"

static int isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

int compareWithSearchString(const char* compared_str, const char* end_of_compare,
                            const char* search_str)
{
    for (; *search_str != '\0'; ++compared_str, ++search_str) {
        if (*compared_str != *search_str)
            return COMPARE_MISMATCH;
        if (compared_str == end_of_compare)
            return search_str[1] == '\0' ? COMPARE_MATCH : COMPARE_PARTIAL;
    }
    return COMPARE_MATCH;
}

// Until the marker is found every byte of the job passes through here. Rather
// than stepping from line to line, jump from one first_byte to the next
// (memchr takes many bytes per step) and keep the first that begins a line.
const char* searchNextCandidateHeadOfLine(const char* current_head_of_line,
                                          const char* end_of_search, char first_byte)
{
    const char* from = current_head_of_line + 1;
    while (from <= end_of_search) {
        const char* found =
            static_cast<const char*>(memchr(from, first_byte, static_cast<size_t>(end_of_search - from) + 1));
        if (found == nullptr)
            return nullptr;
        if (isLineEnd(found[-1]))
            return found;
        from = found + 1;
    }
    return nullptr;
}
