// Line scanning inside one input block: is the marker at this line head, and
// where is the next line head that could hold it.
#ifndef JOBLOG_BUFFER_H
#define JOBLOG_BUFFER_H

// COMPARE_MATCH when search_str stands whole at compared_str, COMPARE_PARTIAL
// when every byte up to end_of_compare (inclusive) matches its beginning but the
// data ends first, COMPARE_MISMATCH when a byte differs. Never reads past
// end_of_compare.
int compareWithSearchString(const char* compared_str, const char* end_of_compare,
                            const char* search_str);

// The next line head after current_head_of_line whose first byte is
// first_byte, or NULL when the block holds none. A line head follows a CR or
// LF (empty lines are skipped alike); end_of_search is the block's last byte
// (inclusive). Line heads that begin otherwise cannot hold the marker, so the
// search passes them by. first_byte must not be CR or LF.
const char* searchNextCandidateHeadOfLine(const char* current_head_of_line,
                                          const char* end_of_search, char first_byte);

#endif
