// Runs the built pdehost (and other programs) as a test's peer: a script on
// standard input or in a file, extra environment entries, and what comes back.
#ifndef PDEHOST_TESTS_HOSTPROCESS_H
#define PDEHOST_TESTS_HOSTPROCESS_H

#include <string>
#include <vector>

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;  // the exit status; -1 when the program did not exit normally
};

// Runs the program with these arguments (argv[0] first), the bytes of input
// on standard input and NAME=value entries added to the environment.
ProcessResult RunProgram(const std::string& path, const std::vector<std::string>& arguments,
                         const std::string& input = "", const std::vector<std::string>& environment = {});

// Runs pdehost with the script on standard input.
ProcessResult RunHost(const std::string& script, const std::vector<std::string>& environment = {});

// The lines of the fixture bundle's dialog for "Fixture Printer", opened and
// shown; a test's own script follows them.
std::string FixtureDialog();

// The output's lines, without their newlines.
std::vector<std::string> Lines(const std::string& output);

// The lines that begin with prefix.
std::vector<std::string> LinesStarting(const std::string& output, const std::string& prefix);

// A new empty directory under /tmp, and removing a directory tree.
std::string MakeTemporaryDirectory();
void RemoveTree(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

#endif
