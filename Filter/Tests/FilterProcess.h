// Runs the built joblogfilter as CUPS does: six or seven arguments, the job on
// standard input or in a file, and collects what it writes and its status.
#ifndef JOBLOG_FILTERPROCESS_H
#define JOBLOG_FILTERPROCESS_H

#include <string>
#include <vector>

#include "ProcessRunner.h"

using FilterResult = ProcessResult;

struct FilterRun {
    std::string options{};           // argv[5]
    std::string job{};               // the job's bytes
    bool job_as_file = false;        // argv[6] names a file holding the job, else stdin
    std::vector<std::string> env{};  // extra NAME=value entries
    std::string stdout_path{};       // write standard output here instead of capturing it
};

FilterResult runFilter(const FilterRun& run);

// Runs the filter with exactly these arguments (argv[0] included), stdin empty.
FilterResult runFilterWithArguments(const std::vector<std::string>& arguments);

// The output with every 12-digit time stamp "(YYYYMMDDhhmm)" replaced by
// "(STAMP)", so whole outputs can be compared across a minute boundary.
std::string withoutTimeStamps(const std::string& output);

#endif
