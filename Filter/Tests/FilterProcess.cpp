#include "FilterProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

extern char** environ;

namespace {

std::string temporaryPath(const char* stem)
{
    std::string path = std::string("/tmp/") + stem + "XXXXXX";
    int fd = mkstemp(path.data());
    if (fd >= 0)
        close(fd);
    return path;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
}

FilterResult spawn(const std::string& path, const std::vector<std::string>& arguments,
                   const std::string& stdin_path, const std::string& stdout_path,
                   const std::vector<std::string>& extra_env)
{
    FilterResult result;
    std::string stderr_path = temporaryPath("joblogfilter-err");

    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    std::vector<std::string> env_storage;
    for (char** entry = environ; *entry != nullptr; ++entry)
        env_storage.emplace_back(*entry);
    for (const std::string& entry : extra_env)
        env_storage.push_back(entry);
    std::vector<char*> envp;
    for (std::string& entry : env_storage)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, stdin_path.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, stdout_path.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, stderr_path.c_str(), O_WRONLY | O_TRUNC, 0);

    pid_t pid;
    int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0) << "cannot start " << path;
    if (spawned == 0) {
        int wait_status = 0;
        waitpid(pid, &wait_status, 0);
        if (WIFEXITED(wait_status))
            result.status = WEXITSTATUS(wait_status);
    }
    result.err = readFile(stderr_path);
    std::remove(stderr_path.c_str());
    return result;
}

}  // namespace

FilterResult runFilter(const FilterRun& run)
{
    std::vector<std::string> arguments = {"joblogfilter", "42", "alice", "report", "1", run.options};
    std::string job_path = temporaryPath("joblogfilter-job");
    writeFile(job_path, run.job);
    std::string stdin_path = "/dev/null";
    if (run.job_as_file)
        arguments.push_back(job_path);
    else
        stdin_path = job_path;

    bool capture = run.stdout_path.empty();
    std::string stdout_path = capture ? temporaryPath("joblogfilter-out") : run.stdout_path;
    FilterResult result = spawn(JOBLOGFILTER_PATH, arguments, stdin_path, stdout_path, run.env);
    if (capture) {
        result.out = readFile(stdout_path);
        std::remove(stdout_path.c_str());
    }
    std::remove(job_path.c_str());
    return result;
}

FilterResult runFilterWithArguments(const std::vector<std::string>& arguments)
{
    return runProgram(JOBLOGFILTER_PATH, arguments);
}

FilterResult runProgram(const std::string& path, const std::vector<std::string>& arguments,
                        const std::string& stdin_path)
{
    std::string stdout_path = temporaryPath("joblog-out");
    FilterResult result = spawn(path, arguments, stdin_path, stdout_path, {});
    result.out = readFile(stdout_path);
    std::remove(stdout_path.c_str());
    return result;
}

std::string withoutTimeStamps(const std::string& output)
{
    std::string result;
    size_t at = 0;
    while (at < output.size()) {
        bool stamp = output[at] == '(' && at + 13 < output.size() && output[at + 13] == ')';
        for (size_t digit = at + 1; stamp && digit < at + 13; ++digit)
            stamp = output[digit] >= '0' && output[digit] <= '9';
        if (stamp) {
            result += "(STAMP)";
            at += 14;
        } else {
            result += output[at++];
        }
    }
    return result;
}
