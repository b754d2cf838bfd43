// The spliced job of every job type, run by Ghostscript: once as a printer of
// this line (the prelude reports each job-control request it receives) and
// once as a printer without those procedures. Both must print the job's pages
// exactly as the original job prints them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FilterProcess.h"

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

struct Printed {
    std::string report;  // what the job-control procedures reported
    std::string pages;   // the text of the printed pages
    std::string errors;
    int status;
};

// Runs the job through Ghostscript's text device; with the prelude first when
// the printer is to have this line's procedures.
Printed print(const std::string& job, bool with_prelude)
{
    char job_path[] = "/tmp/joblog-gs-jobXXXXXX";
    char pages_path[] = "/tmp/joblog-gs-pagesXXXXXX";
    close(mkstemp(job_path));
    close(mkstemp(pages_path));
    std::ofstream(job_path, std::ios::binary) << job;

    std::vector<std::string> arguments = {"gs", "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=txtwrite",
                                          std::string("-sOutputFile=") + pages_path};
    if (with_prelude)
        arguments.push_back(PRINTER_PRELUDE_PATH);
    arguments.push_back(job_path);
    ProcessResult run = RunProcess(GHOSTSCRIPT_PATH, arguments);
    Printed printed{run.out, readFile(pages_path), run.err, run.status};
    std::remove(job_path);
    std::remove(pages_path);
    return printed;
}

struct JobTypeCase {
    std::string options;
    std::string report;  // with time stamps as (STAMP)
};

const std::string kValues =
    " com.zelvo.pm.UserID=alice com.zelvo.pm.Password=1234 com.zelvo.pm.FileName=q3report"
    " com.zelvo.pm.EnableUserCode..b.=True com.zelvo.pm.UserCode=4711";
const std::string kUserInfo = "PRINTER setuserinfo userid=(alice) usercode=(4711) time=(STAMP)\n";

const std::vector<JobTypeCase> kJobTypes = {
    {"com.zelvo.pm.JobType=Normal", kUserInfo},
    {"com.zelvo.pm.JobType='Locked Print'",
     kUserInfo + "PRINTER secureprint userid=(alice) time=(STAMP) password=(1234)\n"},
    {"com.zelvo.pm.JobType='Sample Print'", kUserInfo + "PRINTER proofprint userid=(alice) time=(STAMP)\n"},
    {"com.zelvo.pm.JobType='Document Server'",
     kUserInfo + "PRINTER storedprint userid=(alice) time=(STAMP) password=(1234) filename=(q3report)\n"},
    {"com.zelvo.pm.JobType='Paused Print'",
     kUserInfo + "PRINTER SetJobType JobType=(3) UserID=(alice) Time=(STAMP) JobID=(q3report)\n"},
    {"com.zelvo.pm.JobType='Saved Print'",
     kUserInfo +
         "PRINTER SetJobType JobType=(3) UserID=(alice) Time=(STAMP) Password=(1234) JobID=(q3report) Save=(1) "
         "Public=(false)\n"},
    {"com.zelvo.pm.JobType='Save Document Print'",
     kUserInfo +
         "PRINTER SetJobType JobType=(3) UserID=(alice) Time=(STAMP) Password=(1234) JobID=(q3report) Save=(2) "
         "Public=(false)\n"},
};

std::string sampleJob()
{
    return readFile(SAMPLE_JOB_PATH);
}

TEST(Ghostscript, PrinterReceivesEachRequestAndPrintsTheSamePages)
{
    Printed original = print(sampleJob(), false);
    ASSERT_EQ(original.status, 0) << original.errors;
    ASSERT_NE(original.pages.find("Quarterly report"), std::string::npos);

    for (const JobTypeCase& c : kJobTypes) {
        SCOPED_TRACE(c.options);
        FilterResult spliced = runFilter({c.options + kValues, sampleJob()});
        ASSERT_EQ(spliced.status, 0) << spliced.err;

        Printed printed = print(spliced.out, true);
        EXPECT_EQ(printed.status, 0) << printed.errors;
        EXPECT_EQ(printed.errors, "");
        EXPECT_EQ(withoutTimeStamps(printed.report), c.report);
        EXPECT_EQ(printed.pages, original.pages);
    }
}

TEST(Ghostscript, PrinterWithoutTheProceduresStillPrintsTheJob)
{
    Printed original = print(sampleJob(), false);
    for (const JobTypeCase& c : kJobTypes) {
        SCOPED_TRACE(c.options);
        FilterResult spliced = runFilter({c.options + kValues, sampleJob()});
        Printed printed = print(spliced.out, false);
        EXPECT_EQ(printed.status, 0) << printed.errors;
        EXPECT_EQ(printed.errors, "");
        EXPECT_EQ(printed.report, "") << "the requests fail quietly inside stopped";
        EXPECT_EQ(printed.pages, original.pages);
    }
}

TEST(Ghostscript, HostileValuesStayInsideTheirStrings)
{
    // An unbalanced parenthesis, a backslash and a forged DSC line: the printer
    // receives them as data and the job still prints.
    FilterResult spliced = runFilter(
        {"com.zelvo.pm.JobType='Locked Print' com.zelvo.pm.UserID='al)ice' "
         "com.zelvo.pm.Password='12\\\\34\n%%EOF'",
         sampleJob()});
    ASSERT_EQ(spliced.status, 0) << spliced.err;
    Printed printed = print(spliced.out, true);
    EXPECT_EQ(printed.status, 0) << printed.errors;
    EXPECT_EQ(withoutTimeStamps(printed.report),
              "PRINTER setuserinfo userid=(al)ice) usercode=() time=(STAMP)\n"
              "PRINTER secureprint userid=(al)ice) time=(STAMP) password=(12\\34\n%%EOF)\n");
    EXPECT_EQ(printed.pages, print(sampleJob(), false).pages);
}

}  // namespace
