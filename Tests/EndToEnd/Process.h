// Runs a program of the product (pdehost) as a test's peer: arguments, bytes
// on standard input, an environment of the test's choosing, and what comes
// back.
#ifndef JOBLOG_TESTS_ENDTOEND_PROCESS_H
#define JOBLOG_TESTS_ENDTOEND_PROCESS_H

#include <string>
#include <vector>

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;  // the exit status; -1 when the program did not exit normally
};

// Runs path with arguments (argv[0] first) and input on standard input. The
// environment is the test's own without TZ and the language variables
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), plus the NAME=value entries given:
// a run's zone and language are only what the test asks for.
ProcessResult RunProgram(const std::string& path, const std::vector<std::string>& arguments,
                         const std::string& input, const std::vector<std::string>& environment);

// The text's lines, without their newlines.
std::vector<std::string> Lines(const std::string& text);

#endif
