// A job record made from an options argument, as CUPS would start the filter.
#ifndef JOBLOG_JOBINFOFIXTURE_H
#define JOBLOG_JOBINFOFIXTURE_H

#include <memory>
#include <string>

#include "JobInfo.h"

struct JobInfoDeleter {
    void operator()(JobInfo* job_info) const { DisposeJobInfo(job_info); }
};
using JobInfoPtr = std::unique_ptr<JobInfo, JobInfoDeleter>;

inline JobInfoPtr jobWithOptions(const std::string& options)
{
    const char* argv[] = {"joblogfilter", "7", "alice", "title", "1", options.c_str()};
    return JobInfoPtr(CreateJobInfo(6, argv));
}

#endif
