// The filter's one error line on standard error.
#ifndef JOBLOG_EXCEPTION_H
#define JOBLOG_EXCEPTION_H

#define ERROR_MESSAGE_GENERAL "ERROR: error in CUPS Filter - "
#define ERROR_MESSAGE_MEMORY "ERROR: memory error in CUPS Filter - "
#define ERROR_MESSAGE_ENCRYPTED_PASSWORD \
    "ERROR: The job-password arrived encrypted; the printer needs the PIN as it was typed"

// Writes "ERROR: " and error_message, then the system's text for errno (perror).
// file and line name the caller for a debugger; they are not printed.
void writeError(const char* file, int line, const char* error_message);

#endif
