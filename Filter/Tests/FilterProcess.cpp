#include "FilterProcess.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

FilterResult runFilter(const FilterRun& run)
{
    std::vector<std::string> arguments = {"joblogfilter", "42", "alice", "report", "1", run.options};
    ProcessSetup setup;
    setup.environment = run.env;
    setup.outputPath = run.stdout_path;

    std::string job_path;
    if (run.job_as_file) {
        char path[] = "/tmp/joblogfilter-jobXXXXXX";
        close(mkstemp(path));
        job_path = path;
        std::ofstream(job_path, std::ios::binary) << run.job;
        arguments.push_back(job_path);
    } else {
        setup.input = run.job;
    }

    FilterResult result = RunProcess(JOBLOGFILTER_PATH, arguments, setup);
    if (!job_path.empty())
        std::remove(job_path.c_str());
    return result;
}

FilterResult runFilterWithArguments(const std::vector<std::string>& arguments)
{
    return RunProcess(JOBLOGFILTER_PATH, arguments);
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
