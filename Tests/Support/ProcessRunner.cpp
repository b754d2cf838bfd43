// Pipes on the program's standard streams (or a file for its output), polled
// together until the program has closed them.
#include "ProcessRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace {

bool IsUnset(const char* entry, const std::vector<std::string>& unset) {
  for (const std::string& name : unset) {
    if (std::strncmp(entry, name.c_str(), name.size()) == 0 && entry[name.size()] == '=') return true;
  }
  return false;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(&s[0]);
  pointers.push_back(nullptr);
  return pointers;
}

[[noreturn]] void Fail(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

ProcessResult RunProcess(const std::string& path, const std::vector<std::string>& arguments,
                         const ProcessSetup& setup) {
  std::vector<std::string> argvStrings = arguments;
  std::vector<std::string> envStrings;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!IsUnset(*entry, setup.unset)) envStrings.push_back(*entry);
  }
  envStrings.insert(envStrings.end(), setup.environment.begin(), setup.environment.end());
  std::vector<char*> argv = Pointers(argvStrings);
  std::vector<char*> envp = Pointers(envStrings);

  int inPipe[2], outPipe[2], errPipe[2];
  if (pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) Fail("pipe");
  int outFile = -1;
  if (!setup.outputPath.empty()) {
    outFile = open(setup.outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (outFile < 0) Fail(setup.outputPath.c_str());
  }
  const pid_t pid = fork();
  if (pid < 0) Fail("fork");
  if (pid == 0) {
    dup2(inPipe[0], 0);
    dup2(outFile >= 0 ? outFile : outPipe[1], 1);
    dup2(errPipe[1], 2);
    execve(path.c_str(), argv.data(), envp.data());
    dprintf(2, "cannot run %s: %s\n", path.c_str(), std::strerror(errno));
    _exit(127);
  }
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  if (outFile >= 0) close(outFile);

  // A program that stops reading early must not kill the test.
  signal(SIGPIPE, SIG_IGN);
  ProcessResult result;
  size_t written = 0;
  int toChild = inPipe[1];
  if (setup.input.empty()) {
    close(toChild);
    toChild = -1;
  }
  bool outOpen = true, errOpen = true;
  while (outOpen || errOpen) {
    pollfd fds[3];
    nfds_t count = 0;
    if (outOpen) fds[count++] = {outPipe[0], POLLIN, 0};
    if (errOpen) fds[count++] = {errPipe[0], POLLIN, 0};
    if (toChild >= 0) fds[count++] = {toChild, POLLOUT, 0};
    if (poll(fds, count, -1) < 0) {
      if (errno == EINTR) continue;
      Fail("poll");
    }
    for (nfds_t i = 0; i < count; ++i) {
      if (fds[i].revents == 0) continue;
      if (fds[i].fd == toChild) {
        const ssize_t n = write(toChild, setup.input.data() + written, setup.input.size() - written);
        if (n > 0) written += static_cast<size_t>(n);
        if (n < 0 || written == setup.input.size()) {
          close(toChild);
          toChild = -1;
        }
        continue;
      }
      char buffer[65536];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (fds[i].fd == outPipe[0] ? result.out : result.err).append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        (fds[i].fd == outPipe[0] ? outOpen : errOpen) = false;
      }
    }
  }
  if (toChild >= 0) close(toChild);
  close(outPipe[0]);
  close(errPipe[0]);

  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}
