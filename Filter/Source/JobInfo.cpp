// The job record: argv[5] parsed once by libcups, looked up by name afterwards.
#include "JobInfo.h"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "CUPSFilter.h"

JobInfo* CreateJobInfo(int argc, const char* const* argv)
{
    (void)argc;
    JobInfo* job_info = static_cast<JobInfo*>(malloc(sizeof(JobInfo)));
    if (job_info == nullptr) {
        recordError(ERR_MEMORY);
        return nullptr;
    }
    job_info->id = argv[1];
    job_info->options = nullptr;
    job_info->num_options = cupsParseOptions(argv[5], 0, &job_info->options);
    return job_info;
}

void DisposeJobInfo(JobInfo* job_info)
{
    if (job_info == nullptr)
        return;
    cupsFreeOptions(job_info->num_options, job_info->options);
    free(job_info);
}

const char* getCupsOption(const JobInfo* job_info, const char* option_name)
{
    const char* value = cupsGetOption(option_name, job_info->num_options, job_info->options);
    if (value == nullptr)
        recordError(ERR_NO_OPTION);
    return value;
}

int getJobType(const JobInfo* job_info)
{
    static const struct {
        const char* value;
        int job_type;
    } job_types[] = {
        {"Locked Print", JOB_TYPE_LOCKED_PRINT},
        {"Sample Print", JOB_TYPE_SAMPLE_PRINT},
        {"Document Server", JOB_TYPE_DOCUMENT_SERVER},
        {"Paused Print", JOB_TYPE_PAUSED_PRINT},
        {"Saved Print", JOB_TYPE_SAVED_PRINT},
        {"Save Document Print", JOB_TYPE_SAVE_DOCUMENT_PRINT},
    };

    const char* value = cupsGetOption(OPTION_JOB_TYPE, job_info->num_options, job_info->options);
    if (value == nullptr)
        return JOB_TYPE_NORMAL_PRINT;
    for (const auto& job_type : job_types) {
        if (strcmp(value, job_type.value) == 0)
            return job_type.job_type;
    }
    // "Normal", and anything this filter does not know.
    return JOB_TYPE_NORMAL_PRINT;
}

int useUserCode(const JobInfo* job_info)
{
    const char* value =
        cupsGetOption(OPTION_ENABLE_USER_CODE, job_info->num_options, job_info->options);
    return value != nullptr && strcasecmp(value, "True") == 0;
}

const char* getClientTimeZone(const JobInfo* job_info)
{
    return cupsGetOption(OPTION_TIME_ZONE, job_info->num_options, job_info->options);
}
