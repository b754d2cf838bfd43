// Runs a program with pipes on its three standard streams, feeding its input
// and draining its output together so that neither side can block the other.
#include "Process.h"

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

bool IsDroppedVariable(const char* entry) {
  static const char* const kDropped[] = {"TZ=", "LANGUAGE=", "LC_ALL=", "LC_MESSAGES=", "LANG="};
  for (const char* name : kDropped) {
    if (std::strncmp(entry, name, std::strlen(name)) == 0) return true;
  }
  return false;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(&s[0]);
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ProcessResult RunProgram(const std::string& path, const std::vector<std::string>& arguments,
                         const std::string& input, const std::vector<std::string>& environment) {
  std::vector<std::string> argv_strings = arguments;
  std::vector<std::string> env_strings;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!IsDroppedVariable(*entry)) env_strings.push_back(*entry);
  }
  env_strings.insert(env_strings.end(), environment.begin(), environment.end());
  std::vector<char*> argv = Pointers(argv_strings);
  std::vector<char*> envp = Pointers(env_strings);

  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (pipe2(in_pipe, O_CLOEXEC) != 0 || pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
  }
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork: " + std::string(std::strerror(errno)));
  if (pid == 0) {
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    execve(path.c_str(), argv.data(), envp.data());
    dprintf(2, "cannot run %s: %s\n", path.c_str(), std::strerror(errno));
    _exit(127);
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  close(err_pipe[1]);

  // A program that stops reading early must not kill the test.
  signal(SIGPIPE, SIG_IGN);
  ProcessResult result;
  size_t written = 0;
  int to_child = in_pipe[1];
  if (input.empty()) {
    close(to_child);
    to_child = -1;
  }
  bool out_open = true, err_open = true;
  while (out_open || err_open) {
    pollfd fds[3];
    nfds_t count = 0;
    if (out_open) fds[count++] = {out_pipe[0], POLLIN, 0};
    if (err_open) fds[count++] = {err_pipe[0], POLLIN, 0};
    if (to_child >= 0) fds[count++] = {to_child, POLLOUT, 0};
    if (poll(fds, count, -1) < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("poll: " + std::string(std::strerror(errno)));
    }
    for (nfds_t i = 0; i < count; ++i) {
      if (fds[i].revents == 0) continue;
      if (fds[i].fd == to_child) {
        const ssize_t n = write(to_child, input.data() + written, input.size() - written);
        if (n > 0) written += static_cast<size_t>(n);
        if (n < 0 || written == input.size()) {
          close(to_child);
          to_child = -1;
        }
        continue;
      }
      char buffer[65536];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (fds[i].fd == out_pipe[0] ? result.out : result.err).append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        (fds[i].fd == out_pipe[0] ? out_open : err_open) = false;
      }
    }
  }
  if (to_child >= 0) close(to_child);
  close(out_pipe[0]);
  close(err_pipe[0]);

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
