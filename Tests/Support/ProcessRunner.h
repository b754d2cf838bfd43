// Runs a program as a test's peer (the filter, the dialog host, Ghostscript):
// its arguments, bytes on standard input, the environment the test chooses,
// and what it writes and its exit status.
#ifndef JOBLOG_TESTS_PROCESSRUNNER_H
#define JOBLOG_TESTS_PROCESSRUNNER_H

#include <string>
#include <vector>

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;  // the exit status; -1 when the program did not exit normally
};

struct ProcessSetup {
  std::string input{};                     // written to standard input
  std::vector<std::string> environment{};  // NAME=value entries added to the test's own
  std::vector<std::string> unset{};        // names left out of the test's own environment
  std::string outputPath{};                // standard output goes to this file instead of `out`
};

// Runs path with arguments (argv[0] first). Input is fed and output drained
// together, so that neither side can block the other; a program that stops
// reading early is no failure of the test.
ProcessResult RunProcess(const std::string& path, const std::vector<std::string>& arguments,
                         const ProcessSetup& setup = {});

// The text's lines, without their newlines.
std::vector<std::string> Lines(const std::string& text);

#endif
