#include "HostProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

extern char** environ;

namespace {

std::string TemporaryFile(const std::string& content) {
  char path[] = "/tmp/pdehost-testXXXXXX";
  const int fd = mkstemp(path);
  if (fd >= 0) close(fd);
  WriteFile(path, content);
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace

ProcessResult RunProgram(const std::string& path, const std::vector<std::string>& arguments, const std::string& input,
                         const std::vector<std::string>& environment) {
  const std::string inPath = TemporaryFile(input);
  const std::string outPath = TemporaryFile("");
  const std::string errPath = TemporaryFile("");

  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) entries.emplace_back(*entry);
  entries.insert(entries.end(), environment.begin(), environment.end());
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_TRUNC, 0);
  ProcessResult result;
  pid_t pid;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  EXPECT_EQ(spawned, 0) << "cannot start " << path;
  if (spawned == 0) {
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    if (WIFEXITED(waitStatus)) result.status = WEXITSTATUS(waitStatus);
  }
  result.out = ReadFile(outPath);
  result.err = ReadFile(errPath);
  for (const std::string& file : {inPath, outPath, errPath}) std::remove(file.c_str());
  return result;
}

ProcessResult RunHost(const std::string& script, const std::vector<std::string>& environment) {
  return RunProgram(PDEHOST_PATH, {"pdehost"}, script, environment);
}

std::string FixtureDialog() {
  return std::string("bundle ") + FIXTURE_BUNDLE + "\nprinter \"Fixture Printer\"\nopen\n";
}

std::vector<std::string> Lines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> LinesStarting(const std::string& output, const std::string& prefix) {
  std::vector<std::string> lines;
  for (const std::string& line : Lines(output)) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

std::string MakeTemporaryDirectory() {
  char path[] = "/tmp/pdehost-bundleXXXXXX";
  return mkdtemp(path) != nullptr ? path : "";
}

void RemoveTree(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}
