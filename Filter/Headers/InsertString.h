// The PostScript job-control snippet: user information for the printer's
// "setuserinfo", and for held-job types the request that locks, proofs, stores
// or pauses the job.
#ifndef JOBLOG_INSERTSTRING_H
#define JOBLOG_INSERTSTRING_H

#include <stddef.h>

#include "JobInfo.h"

// A snippet buffer large enough for any values that options_argument can
// carry: every value byte may become a four-byte escape and the user ID
// appears twice.
size_t insertStringSize(const char* options_argument);

// Builds the snippet of the job's type into insert_str (NUL-terminated) with
// the line ending that string_including_linefeed_code uses. 0 on success;
// 1 (ERR_JOB_INFO) when an option the job type needs is absent or the snippet
// would not fit.
int getInsertString(const JobInfo* job_info, char* insert_str, size_t size_of_insert_str,
                    const char* string_including_linefeed_code, int size_of_string);

// The first line ending of the data: CR LF, CR or LF (LF when none is found).
void getLinefeedCode(const char* string_including_linefeed_code, char* linefeed_code,
                     int size_of_string);

// The local time as 12 digits, year to minute, and a NUL.
void getCurrentTime(char* current_time);

#endif
