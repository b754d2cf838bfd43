// pdehost: plays the print dialog and the printing system around a dialog
// extension bundle. It reads commands, one per line, from the script file
// named by its argument or from standard input, and prints the result lines
// of each command as it goes (Host/README.md has the language and the output).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "DialogHost.h"
#include "PlatformSimulation.h"
#include "ScriptReader.h"
#include "TextFormat.h"

#ifndef PDEHOST_DEFAULT_BUNDLE
#error "PDEHOST_DEFAULT_BUNDLE names the bundle the build makes"
#endif

namespace {

const char kUsage[] = "usage: pdehost [SCRIPT]   (commands from SCRIPT, or from standard input)\n";

// One line for the script's reader on standard output, one for a person on
// standard error.
void ReportError(const std::string& scriptName, long lineNumber, const std::string& problem) {
  std::u16string units;
  DecodeUTF8(problem, &units);
  std::printf("error line=%ld message=%s\n", lineNumber, Quote(units).c_str());
  std::fprintf(stderr, "pdehost: %s:%ld: %s\n", scriptName.c_str(), lineNumber, problem.c_str());
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 2 || (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0))) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const bool fromFile = argc == 2 && std::strcmp(argv[1], "-") != 0;
  const std::string scriptName = fromFile ? argv[1] : "stdin";
  FILE* script = fromFile ? std::fopen(argv[1], "r") : stdin;
  if (script == nullptr) {
    std::fprintf(stderr, "pdehost: cannot open %s: %s\n", argv[1], std::strerror(errno));
    return 2;
  }

  int status = 0;
  {
    DialogHost host(PDEHOST_DEFAULT_BUNDLE);
    std::string line;
    long lineNumber = 0;
    for (int c = 0; status == 0 && c != EOF;) {
      line.clear();
      while ((c = std::fgetc(script)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
      if (c == EOF && line.empty()) break;
      ++lineNumber;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (IsBlankOrComment(line)) continue;

      std::vector<std::string> words;
      std::string output;
      std::string problem;
      if (!SplitWords(line, &words, &problem) || !host.Run(words, &output, &problem)) {
        ReportError(scriptName, lineNumber, problem);
        status = 1;
      }
      // Each command's lines go out before the next command runs, so a
      // reader sees how far a script got even if the pane brings it down.
      std::fputs(output.c_str(), stdout);
      if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "pdehost: cannot write the output: %s\n", std::strerror(errno));
        status = 1;
      }
    }
    if (status == 0 && std::ferror(script)) {
      std::fprintf(stderr, "pdehost: cannot read %s\n", scriptName.c_str());
      status = 1;
    }
  }
  if (fromFile) std::fclose(script);

  // Everything the host made is released by now, and the platform lets go
  // of the alerts it recorded; what is left alive was lost by the host or
  // the pane.
  SimResetState();
  const CFIndex objects = SimGetLiveCFObjectCount();
  const long descriptors = SimGetLiveUPPCount();
  if (objects != 0 || descriptors != 0) {
    std::fprintf(stderr, "pdehost: %ld Core Foundation objects and %ld routine descriptors still alive at exit\n",
                 static_cast<long>(objects), descriptors);
    status = 3;
  }
  return status;
}
