#include "HostProcess.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

ProcessResult RunHost(const std::string& script, const std::vector<std::string>& environment) {
  ProcessSetup setup;
  setup.input = script;
  setup.environment = environment;
  return RunProcess(PDEHOST_PATH, {"pdehost"}, setup);
}

std::string FixtureDialog() {
  return std::string("bundle ") + FIXTURE_BUNDLE + "\nprinter \"Fixture Printer\"\nopen\n";
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
