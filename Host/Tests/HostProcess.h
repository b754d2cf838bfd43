// Runs the built pdehost as a test's peer: a script on standard input, extra
// environment entries, and what comes back; and the files its tests make.
#ifndef PDEHOST_TESTS_HOSTPROCESS_H
#define PDEHOST_TESTS_HOSTPROCESS_H

#include <string>
#include <vector>

#include "ProcessRunner.h"

// Runs pdehost with the script on standard input.
ProcessResult RunHost(const std::string& script, const std::vector<std::string>& environment = {});

// The lines of the fixture bundle's dialog for "Fixture Printer", opened and
// shown; a test's own script follows them.
std::string FixtureDialog();

// The lines that begin with prefix.
std::vector<std::string> LinesStarting(const std::string& output, const std::string& prefix);

// A new empty directory under /tmp, and removing a directory tree.
std::string MakeTemporaryDirectory();
void RemoveTree(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

#endif
