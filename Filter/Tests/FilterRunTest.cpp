// The built filter driven as CUPS drives it: the splice at every block
// boundary that matters, line endings, failures and the client's time zone.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "FilterProcess.h"

namespace {

const char kMarker[] = "%%BeginProlog";
const std::string kOptions = "com.zelvo.pm.JobType='Sample Print' com.zelvo.pm.UserID=alice";

std::string snippet(const std::string& lf)
{
    return "mark" + lf + "  (alice) () (STAMP) {setuserinfo} stopped" + lf + "cleartomark" + lf + "mark" + lf +
           "  (alice) (STAMP) {proofprint} stopped" + lf + "cleartomark" + lf;
}

// Lines of filler ("xxx...x" + LF) that together take exactly `length` bytes.
std::string filler(size_t length)
{
    std::string text;
    while (length > 0) {
        size_t line = std::min<size_t>(length, 80);
        text += std::string(line - 1, 'x') + "\n";
        length -= line;
    }
    return text;
}

std::string splicedOutput(const std::string& job, const std::string& options = kOptions)
{
    FilterResult result = runFilter({options, job});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return withoutTimeStamps(result.out);
}

struct SpliceCase {
    std::string name;
    std::string before;  // the job before the snippet's place
    std::string after;   // the job from the snippet's place on
    bool spliced;
    std::string lf = "\n";
};

std::vector<SpliceCase> spliceCases()
{
    std::vector<SpliceCase> cases;
    const std::string prolog = std::string(kMarker) + "\n%%EndProlog\nshowpage\n";

    // A marker line that begins 1 to 12 bytes before the first block's end,
    // so that it is split across two blocks.
    for (size_t k = 1; k <= 12; ++k)
        cases.push_back({"marker at 4096-" + std::to_string(k), filler(4096 - k), prolog + filler(5000), true});

    cases.push_back({"marker first", "", prolog, true});
    cases.push_back({"marker right at the second block", filler(4096), prolog, true});
    cases.push_back({"marker mid-line at offset 4096", std::string(4095 - 10, 'y') + "\n" + std::string(10, 'z'),
                     std::string(kMarker) + " in a long line\n" + filler(100), true});
    cases.push_back({"two markers", filler(200), prolog + filler(300) + prolog, true});
    cases.push_back({"CR line ends", "%!PS\r%%Title: t\r\r\r", std::string(kMarker) + "\rshowpage\r", true, "\r"});
    cases.push_back(
        {"CR LF line ends", "%!PS\r\n\r\n%%Title: t\r\n", std::string(kMarker) + "\r\nshowpage\r\n", true, "\r\n"});
    cases.push_back({"runs of empty lines", "%!PS\n\n\n\r\n\r\r\n", prolog, true});
    cases.push_back({"marker followed by letters", "%!PS\n", std::string(kMarker) + "Extra\n", true});

    // No snippet at all.
    cases.push_back({"no marker", filler(10000), "", false});
    cases.push_back({"empty job", "", "", false});
    cases.push_back({"exactly one block", filler(4096), "", false});
    cases.push_back({"exactly two blocks", filler(8192), "", false});
    cases.push_back({"marker not at a line head", "%!PS\n %%BeginProlog\nx%%BeginProlog\n", "", false});
    cases.push_back({"job ending in a partial marker", filler(100) + "%%Begin", "", false});
    cases.push_back({"partial marker at the end of the first block", filler(4096 - 7) + "%%Begin", "", false});
    return cases;
}

TEST(FilterRun, SplicesTheSnippetBeforeTheFirstMarkerLine)
{
    for (const SpliceCase& c : spliceCases()) {
        SCOPED_TRACE(c.name);
        std::string expected = c.before + (c.spliced ? snippet(c.lf) : "") + c.after;
        EXPECT_EQ(splicedOutput(c.before + c.after), expected);
    }
}

TEST(FilterRun, FalsePartialMarkerAcrossBlocksIsNotSpliced)
{
    // "%%Begin" ends the first block, "Page" begins the second; the search goes on.
    std::string before = filler(4096 - 7) + "%%BeginPage: 1 1\n" + filler(300);
    std::string after = std::string(kMarker) + "\n";
    EXPECT_EQ(splicedOutput(before + after), before + snippet("\n") + after);
}

TEST(FilterRun, ReadsTheJobFromTheFileArgument)
{
    std::string job = "%!PS\n%%BeginProlog\nshowpage\n";
    FilterResult result = runFilter({kOptions, job, /*job_as_file=*/true});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(withoutTimeStamps(result.out), "%!PS\n" + snippet("\n") + "%%BeginProlog\nshowpage\n");
}

TEST(FilterRun, MissingInputFileWritesNothingAndFails)
{
    FilterResult result = runFilterWithArguments({"joblogfilter", "1", "u", "t", "1", "", "/nonexistent/job.ps"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "ERROR: ERROR: error in CUPS Filter - : No such file or directory\n");
}

TEST(FilterRun, TooFewArgumentsPrintUsage)
{
    FilterResult result = runFilterWithArguments({"joblogfilter", "1", "u", "t", "1"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Usage: joblogfilter job-id user title copies options [file]\n");
}

TEST(FilterRun, LockedPrintWithoutPasswordStopsAtTheMarkerLine)
{
    std::string before = "%!PS\n" + filler(6000);
    FilterResult result = runFilter(
        {"com.zelvo.pm.JobType='Locked Print' com.zelvo.pm.UserID=alice", before + "%%BeginProlog\nrest\n"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, before);
    EXPECT_EQ(result.err.rfind("ERROR: ERROR: error in CUPS Filter - : ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
}

TEST(FilterRun, EncryptedJobPasswordStopsAtTheMarkerLine)
{
    std::string before = "%!PS\n%%Title: confidential\n";
    FilterResult result = runFilter({"job-accounting-user-id=bob job-password=6b86b273ff34 "
                                     "job-password-encryption=sha2-256",
                                     before + "%%BeginProlog\nrest\n"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, before);
    EXPECT_EQ(result.err,
              "ERROR: The job-password arrived encrypted; the printer needs the PIN as it was typed\n");
}

TEST(FilterRun, StandardAttributesBuildALockedPrintJob)
{
    std::string job = "%!PS\n%%BeginProlog\n";
    EXPECT_EQ(splicedOutput(job, "job-accounting-user-id=bob job-account-id=0042 job-password=9999 "
                                 "job-password-encryption=none"),
              "%!PS\nmark\n  (bob) (0042) (STAMP) {setuserinfo} stopped\ncleartomark\n"
              "mark\n  (bob) (STAMP) (9999) {secureprint} stopped\ncleartomark\n%%BeginProlog\n");
}

TEST(FilterRun, FullOutputDeviceFails)
{
    for (size_t size : {size_t(100), size_t(1) << 20}) {
        SCOPED_TRACE(size);
        FilterRun run{kOptions, "%!PS\n%%BeginProlog\n" + filler(size)};
        run.stdout_path = "/dev/full";
        FilterResult result = runFilter(run);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "ERROR: ERROR: error in CUPS Filter - : No space left on device\n");
    }
}

TEST(FilterRun, ClosedDownstreamIsAWriteFailure)
{
    int job_pipe[2];
    int out_pipe[2];
    ASSERT_EQ(pipe(job_pipe), 0);
    ASSERT_EQ(pipe(out_pipe), 0);
    int err_fd = open("/tmp", O_TMPFILE | O_RDWR, 0600);
    ASSERT_GE(err_fd, 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(job_pipe[0], 0);
        dup2(out_pipe[1], 1);
        dup2(err_fd, 2);
        close(job_pipe[1]);
        close(out_pipe[0]);
        execl(JOBLOGFILTER_PATH, "joblogfilter", "1", "u", "t", "1", "", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(job_pipe[0]);
    close(out_pipe[1]);
    close(out_pipe[0]);  // nobody reads the filter's output
    signal(SIGPIPE, SIG_IGN);  // the filter may stop reading its job early
    std::string job = "%!PS\n" + filler(1 << 20);
    (void)!write(job_pipe[1], job.data(), job.size());
    close(job_pipe[1]);

    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    char err[200] = {};
    (void)!pread(err_fd, err, sizeof(err) - 1, 0);
    close(err_fd);
    EXPECT_STREQ(err, "ERROR: ERROR: error in CUPS Filter - : Broken pipe\n");
}

TEST(FilterRun, TimeStampIsTheClientsWallClock)
{
    // The machine runs in one zone, the client sent another.
    std::vector<std::string> stamps;
    FilterResult result;
    for (int reading = 0; reading < 2; ++reading) {
        time_t client = std::time(nullptr) + 9 * 3600;
        struct tm wall;
        gmtime_r(&client, &wall);
        char stamp[32];
        snprintf(stamp, sizeof(stamp), "(%04d%02d%02d%02d%02d)", wall.tm_year + 1900, wall.tm_mon + 1, wall.tm_mday,
                 wall.tm_hour, wall.tm_min);
        stamps.push_back(stamp);
        if (reading == 0) {
            FilterRun run{"com.zelvo.pm.TimeZone=JST-9 com.zelvo.pm.UserID=a", "%%BeginProlog\n"};
            run.env = {"TZ=America/Los_Angeles"};
            result = runFilter(run);
        }
    }
    ASSERT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.find(stamps[0]) != std::string::npos || result.out.find(stamps[1]) != std::string::npos)
        << result.out << " has neither " << stamps[0] << " nor " << stamps[1];
}

}  // namespace
