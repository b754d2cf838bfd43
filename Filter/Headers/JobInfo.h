// One job's options as CUPS passed them, and the typed lookups the snippet
// builders use. The keys are the ones the Job Log pane writes into the
// print-settings ticket; the printing system hands them over as job options.
#ifndef JOBLOG_JOBINFO_H
#define JOBLOG_JOBINFO_H

#include <cups/cups.h>

#define OPTION_USER_ID "com.zelvo.pm.UserID"
#define OPTION_PASSWORD "com.zelvo.pm.Password"
#define OPTION_ENABLE_USER_CODE "com.zelvo.pm.EnableUserCode..b."
#define OPTION_USER_CODE "com.zelvo.pm.UserCode"
#define OPTION_FILE_NAME "com.zelvo.pm.FileName"
#define OPTION_JOB_TYPE "com.zelvo.pm.JobType"
#define OPTION_TIME_ZONE "com.zelvo.pm.TimeZone"

// Standard IPP job attributes that CUPS passes on when the queue offers them.
// Clients that do not write the options above (IPP Everywhere clients, phones,
// other desktops) send these for the same purposes; they stand in wherever
// the option of our own is absent.
#define ATTRIBUTE_ACCOUNTING_USER_ID "job-accounting-user-id"
#define ATTRIBUTE_ACCOUNT_ID "job-account-id"
#define ATTRIBUTE_PASSWORD "job-password"
#define ATTRIBUTE_PASSWORD_ENCRYPTION "job-password-encryption"

#define JOB_TYPE_NORMAL_PRINT 1
#define JOB_TYPE_LOCKED_PRINT 2
#define JOB_TYPE_SAMPLE_PRINT 3
#define JOB_TYPE_DOCUMENT_SERVER 4
#define JOB_TYPE_PAUSED_PRINT 5
#define JOB_TYPE_SAVED_PRINT 6
#define JOB_TYPE_SAVE_DOCUMENT_PRINT 7

typedef struct JobInfo {
    const char* id;          // argv[1], borrowed
    int num_options;
    cups_option_t* options;  // owned; from cupsParseOptions
} JobInfo;

// A new record for argv[1] and the options in argv[5]; NULL (ERR_MEMORY) when
// it cannot be allocated. The caller guarantees argv[0] to argv[5].
JobInfo* CreateJobInfo(int argc, const char* const* argv);
void DisposeJobInfo(JobInfo* job_info);

// The option's value, or NULL (recording ERR_NO_OPTION) when the job has none.
const char* getCupsOption(const JobInfo* job_info, const char* option_name);

// The job type code; a job without a job type option that carries a
// job-password is a Locked Print job.
int getJobType(const JobInfo* job_info);

// 1 when the user code goes to the printer: the Boolean option is "True" in
// any case, or, without that option, the job carries a job-account-id.
int useUserCode(const JobInfo* job_info);

// The values a snippet needs, each from our own option or else from its
// standard attribute; NULL (recording ERR_NO_OPTION) when the job has neither.
const char* getUserID(const JobInfo* job_info);
const char* getUserCode(const JobInfo* job_info);
// A job-password that arrived encrypted cannot be handed to the printer:
// NULL, recording ERR_ENCRYPTED_PASSWORD.
const char* getPassword(const JobInfo* job_info);

const char* getClientTimeZone(const JobInfo* job_info);

#endif
