// The job record and its typed lookups, on options as CUPS passes them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CUPSFilter.h"
#include "JobInfo.h"
#include "JobInfoFixture.h"

namespace {

class JobInfoTest : public testing::Test {
protected:
    void SetUp() override { err_no = 0; }
};

TEST_F(JobInfoTest, RecordHoldsJobIdAndParsedOptions)
{
    JobInfoPtr job = jobWithOptions("a=1 b='two words'");
    ASSERT_NE(job, nullptr);
    EXPECT_STREQ(job->id, "7");
    EXPECT_EQ(job->num_options, 2);
    EXPECT_STREQ(getCupsOption(job.get(), "b"), "two words");
}

TEST_F(JobInfoTest, NoOptionsGiveAnEmptyRecord)
{
    JobInfoPtr job = jobWithOptions("");
    EXPECT_EQ(job->num_options, 0);
    EXPECT_EQ(getClientTimeZone(job.get()), nullptr);
    EXPECT_EQ(err_no, 0);
}

TEST_F(JobInfoTest, DisposingNullDoesNothing)
{
    DisposeJobInfo(nullptr);
}

struct JobTypeCase {
    const char* options;
    int expected;
};

void PrintTo(const JobTypeCase& c, std::ostream* os)
{
    *os << c.options;
}

class JobTypeLookup : public testing::TestWithParam<JobTypeCase> {};

TEST_P(JobTypeLookup, ExactWholeValueSelectsTheType)
{
    err_no = 0;
    JobInfoPtr job = jobWithOptions(GetParam().options);
    EXPECT_EQ(getJobType(job.get()), GetParam().expected) << GetParam().options;
    EXPECT_EQ(err_no, 0) << "an absent or unknown job type is no error";
}

INSTANTIATE_TEST_SUITE_P(
    Table, JobTypeLookup,
    testing::Values(JobTypeCase{"com.zelvo.pm.JobType='Locked Print'", JOB_TYPE_LOCKED_PRINT},
                    JobTypeCase{"com.zelvo.pm.JobType='Sample Print'", JOB_TYPE_SAMPLE_PRINT},
                    JobTypeCase{"com.zelvo.pm.JobType='Document Server'", JOB_TYPE_DOCUMENT_SERVER},
                    JobTypeCase{"com.zelvo.pm.JobType='Paused Print'", JOB_TYPE_PAUSED_PRINT},
                    JobTypeCase{"com.zelvo.pm.JobType='Saved Print'", JOB_TYPE_SAVED_PRINT},
                    JobTypeCase{"com.zelvo.pm.JobType=\"Save Document Print\"", JOB_TYPE_SAVE_DOCUMENT_PRINT},
                    JobTypeCase{"com.zelvo.pm.JobType=Normal", JOB_TYPE_NORMAL_PRINT},
                    JobTypeCase{"com.zelvo.pm.JobType='locked print'", JOB_TYPE_NORMAL_PRINT},
                    JobTypeCase{"com.zelvo.pm.JobType='Locked Print '", JOB_TYPE_NORMAL_PRINT},
                    JobTypeCase{"com.zelvo.pm.JobType=Locked", JOB_TYPE_NORMAL_PRINT},
                    JobTypeCase{"com.zelvo.pm.JobType=", JOB_TYPE_NORMAL_PRINT},
                    JobTypeCase{"other=1", JOB_TYPE_NORMAL_PRINT}));

struct UserCodeCase {
    const char* options;
    int expected;
};

void PrintTo(const UserCodeCase& c, std::ostream* os)
{
    *os << c.options;
}

class UserCodeSwitch : public testing::TestWithParam<UserCodeCase> {};

TEST_P(UserCodeSwitch, OnlyTrueInAnyCaseUnderTheBooleanName)
{
    JobInfoPtr job = jobWithOptions(GetParam().options);
    EXPECT_EQ(useUserCode(job.get()), GetParam().expected) << GetParam().options;
}

INSTANTIATE_TEST_SUITE_P(
    Table, UserCodeSwitch,
    testing::Values(UserCodeCase{"com.zelvo.pm.EnableUserCode..b.=True", 1},
                    UserCodeCase{"com.zelvo.pm.EnableUserCode..b.=true", 1},
                    UserCodeCase{"com.zelvo.pm.EnableUserCode..b.=TRUE", 1},
                    // The bare flag form: libcups makes it "true".
                    UserCodeCase{"com.zelvo.pm.EnableUserCode..b.", 1},
                    UserCodeCase{"nocom.zelvo.pm.EnableUserCode..b.", 0},
                    UserCodeCase{"com.zelvo.pm.EnableUserCode..b.=False", 0},
                    UserCodeCase{"com.zelvo.pm.EnableUserCode..b.=1", 0},
                    UserCodeCase{"com.zelvo.pm.EnableUserCode..b.=yes", 0},
                    UserCodeCase{"com.zelvo.pm.EnableUserCode..b.=", 0},
                    UserCodeCase{"com.zelvo.pm.EnableUserCode=True", 0},
                    UserCodeCase{"", 0}));

TEST_F(JobInfoTest, AbsentOptionRecordsNoOptionOnlyWhenNothingIsRecorded)
{
    JobInfoPtr job = jobWithOptions("com.zelvo.pm.UserID=alice");
    EXPECT_STREQ(getCupsOption(job.get(), OPTION_USER_ID), "alice");
    EXPECT_EQ(err_no, 0);

    EXPECT_EQ(getCupsOption(job.get(), OPTION_PASSWORD), nullptr);
    EXPECT_EQ(err_no, ERR_NO_OPTION);

    err_no = ERR_WRITE_OUTPUT;
    EXPECT_EQ(getCupsOption(job.get(), OPTION_PASSWORD), nullptr);
    EXPECT_EQ(err_no, ERR_WRITE_OUTPUT) << "the first error wins";
}

TEST_F(JobInfoTest, TimeZoneIsTakenAsItStands)
{
    JobInfoPtr job = jobWithOptions("com.zelvo.pm.TimeZone=IST-5:30");
    EXPECT_STREQ(getClientTimeZone(job.get()), "IST-5:30");
}

// Standard IPP job attributes stand in where our own options are absent.
struct StandInCase {
    const char* name;
    const char* options;
    const char* user_id;    // nullptr: none
    int use_user_code;
    const char* user_code;  // asked only while the user code is in use
    int job_type;
    const char* password;
};

void PrintTo(const StandInCase& c, std::ostream* os)
{
    *os << c.name;
}

class StandardAttributes : public testing::TestWithParam<StandInCase> {};

TEST_P(StandardAttributes, OurOptionsWinAndAttributesFillTheGaps)
{
    const StandInCase& c = GetParam();
    err_no = 0;
    JobInfoPtr job = jobWithOptions(c.options);
    auto expectText = [](const char* actual, const char* expected, const char* what) {
        if (expected == nullptr)
            EXPECT_EQ(actual, nullptr) << what;
        else
            EXPECT_STREQ(actual, expected) << what;
    };
    expectText(getUserID(job.get()), c.user_id, "user ID");
    EXPECT_EQ(useUserCode(job.get()), c.use_user_code);
    if (c.use_user_code)
        expectText(getUserCode(job.get()), c.user_code, "user code");
    EXPECT_EQ(getJobType(job.get()), c.job_type);
    expectText(getPassword(job.get()), c.password, "password");
}

const char kOurs[] =
    "com.zelvo.pm.UserID=alice com.zelvo.pm.EnableUserCode..b.=True com.zelvo.pm.UserCode=11 "
    "com.zelvo.pm.JobType='Sample Print' com.zelvo.pm.Password=1234";
const char kStandard[] =
    "job-accounting-user-id=bob job-account-id=0042 job-password=9999 job-password-encryption=none";

INSTANTIATE_TEST_SUITE_P(
    Table, StandardAttributes,
    testing::Values(
        StandInCase{"ours only", kOurs, "alice", 1, "11", JOB_TYPE_SAMPLE_PRINT, "1234"},
        StandInCase{"standard only", kStandard, "bob", 1, "0042", JOB_TYPE_LOCKED_PRINT, "9999"},
        StandInCase{"both", "job-accounting-user-id=bob job-account-id=0042 job-password=9999 "
                            "com.zelvo.pm.UserID=alice com.zelvo.pm.EnableUserCode..b.=True "
                            "com.zelvo.pm.UserCode=11 com.zelvo.pm.JobType='Sample Print' "
                            "com.zelvo.pm.Password=1234",
                    "alice", 1, "11", JOB_TYPE_SAMPLE_PRINT, "1234"},
        StandInCase{"neither", "", nullptr, 0, nullptr, JOB_TYPE_NORMAL_PRINT, nullptr},
        StandInCase{"our switch off beats an account ID",
                    "com.zelvo.pm.EnableUserCode..b.=False job-account-id=0042", nullptr, 0, nullptr,
                    JOB_TYPE_NORMAL_PRINT, nullptr},
        StandInCase{"our Normal beats a job-password", "com.zelvo.pm.JobType=Normal job-password=9999",
                    nullptr, 0, nullptr, JOB_TYPE_NORMAL_PRINT, "9999"},
        StandInCase{"our password beats a job-password", "com.zelvo.pm.Password=1234 job-password=9999",
                    nullptr, 0, nullptr, JOB_TYPE_LOCKED_PRINT, "1234"},
        StandInCase{"a job-password alone locks the job", "job-password=9999", nullptr, 0, nullptr,
                    JOB_TYPE_LOCKED_PRINT, "9999"}));

TEST_F(JobInfoTest, EncryptedJobPasswordIsRefused)
{
    JobInfoPtr job = jobWithOptions("job-password=6b86b273ff34 job-password-encryption=sha2-256");
    EXPECT_EQ(getJobType(job.get()), JOB_TYPE_LOCKED_PRINT);
    EXPECT_EQ(getPassword(job.get()), nullptr);
    EXPECT_EQ(err_no, ERR_ENCRYPTED_PASSWORD);
}

TEST_F(JobInfoTest, EncryptedJobPasswordDoesNotMatterBesideOurOwn)
{
    JobInfoPtr job = jobWithOptions(
        "com.zelvo.pm.Password=1234 job-password=6b86b273ff34 job-password-encryption=sha2-256");
    EXPECT_STREQ(getPassword(job.get()), "1234");
    EXPECT_EQ(err_no, 0);
}

}  // namespace
