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

// The value of an option, or NULL; no error is recorded.
static const char* findOption(const JobInfo* job_info, const char* option_name)
{
    return cupsGetOption(option_name, job_info->num_options, job_info->options);
}

const char* getCupsOption(const JobInfo* job_info, const char* option_name)
{
    const char* value = findOption(job_info, option_name);
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

    const char* value = findOption(job_info, OPTION_JOB_TYPE);
    if (value == nullptr)
        return findOption(job_info, ATTRIBUTE_PASSWORD) != nullptr ? JOB_TYPE_LOCKED_PRINT : JOB_TYPE_NORMAL_PRINT;
    for (const auto& job_type : job_types) {
        if (strcmp(value, job_type.value) == 0)
            return job_type.job_type;
    }
    // "Normal", and anything this filter does not know.
    return JOB_TYPE_NORMAL_PRINT;
}

int useUserCode(const JobInfo* job_info)
{
    const char* value = findOption(job_info, OPTION_ENABLE_USER_CODE);
    if (value == nullptr)
        return findOption(job_info, ATTRIBUTE_ACCOUNT_ID) != nullptr;
    return strcasecmp(value, "True") == 0;
}

// Our own option, else the standard attribute; an absent pair is recorded as
// the absence of our option.
static const char* getOptionOrAttribute(const JobInfo* job_info, const char* option_name,
                                        const char* attribute_name)
{
    const char* value = findOption(job_info, option_name);
    if (value == nullptr)
        value = findOption(job_info, attribute_name);
    if (value == nullptr)
        recordError(ERR_NO_OPTION);
    return value;
}

const char* getUserID(const JobInfo* job_info)
{
    return getOptionOrAttribute(job_info, OPTION_USER_ID, ATTRIBUTE_ACCOUNTING_USER_ID);
}

const char* getUserCode(const JobInfo* job_info)
{
    // The account ID is the user code only where it also switched the code on.
    if (findOption(job_info, OPTION_ENABLE_USER_CODE) == nullptr)
        return getCupsOption(job_info, ATTRIBUTE_ACCOUNT_ID);
    return getCupsOption(job_info, OPTION_USER_CODE);
}

const char* getPassword(const JobInfo* job_info)
{
    const char* value = findOption(job_info, OPTION_PASSWORD);
    if (value != nullptr)
        return value;
    // A hashed PIN cannot unlock the job at the printer; printing the job
    // unlocked instead would leave a confidential job in the open tray.
    const char* encryption = findOption(job_info, ATTRIBUTE_PASSWORD_ENCRYPTION);
    if (findOption(job_info, ATTRIBUTE_PASSWORD) != nullptr && encryption != nullptr &&
        strcmp(encryption, "none") != 0) {
        recordError(ERR_ENCRYPTED_PASSWORD);
        return nullptr;
    }
    return getOptionOrAttribute(job_info, OPTION_PASSWORD, ATTRIBUTE_PASSWORD);
}

const char* getClientTimeZone(const JobInfo* job_info)
{
    return findOption(job_info, OPTION_TIME_ZONE);
}
