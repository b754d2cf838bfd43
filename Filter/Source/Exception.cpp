// The run's error code and the filter's one error line. CUPS takes a standard
// error line that begins with "ERROR:" as the job's error message.
#include "Exception.h"

#include <stdio.h>
#include <string.h>

#include "CUPSFilter.h"

#define ERROR_LOG_SIZE 100

int err_no = 0;

void recordError(int error_code)
{
    if (err_no == 0)
        err_no = error_code;
}

void writeError(const char* file, int line, const char* error_message)
{
    (void)file;
    (void)line;
    char error_log[ERROR_LOG_SIZE] = "ERROR: ";
    strncat(error_log, error_message, sizeof(error_log) - strlen(error_log) - 1);
    perror(error_log);
}
