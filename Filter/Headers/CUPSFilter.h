// What the filter's driver and its line scanning share: the block and snippet
// sizes, the marker the snippet goes in front of, and the run's error code.
#ifndef JOBLOG_CUPSFILTER_H
#define JOBLOG_CUPSFILTER_H

// Every read asks for one block; the driver never holds more than one.
#define INPUT_BLOCK_SIZE 4096

// The snippet buffer for values of ordinary length; the driver grows it by what
// the options argument could add (see insertStringSize).
#define INSERT_STRING_SIZE 1024

// The snippet goes in front of the first line that begins with this.
#define SEARCH_STRING "%%BeginProlog"

// Results of compareWithSearchString.
#define COMPARE_MISMATCH 0
#define COMPARE_MATCH 1
#define COMPARE_PARTIAL 2

// Error codes; the first one recorded in a run is the one reported.
#define ERR_JOB_INFO 1
#define ERR_MEMORY 2
#define ERR_OPEN_INPUT 3
#define ERR_READ_INPUT 4
#define ERR_WRITE_OUTPUT 5
#define ERR_NO_OPTION 6
#define ERR_ENCRYPTED_PASSWORD 7

extern int err_no;

// Stores error_code in err_no unless an earlier error is already recorded.
void recordError(int error_code);

#endif
