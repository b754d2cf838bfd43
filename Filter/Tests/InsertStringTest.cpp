// The job-control snippet of every job type, byte for byte, its failures, the
// escaping of values, the line-ending detection and the time stamp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CUPSFilter.h"
#include "FilterProcess.h"
#include "InsertString.h"
#include "JobInfo.h"
#include "JobInfoFixture.h"

namespace {

struct Snippet {
    int result;
    std::string text;
};

Snippet buildSnippet(const std::string& options, const std::string& block = "%!PS\n%%BeginProlog\n")
{
    JobInfoPtr job = jobWithOptions(options);
    std::vector<char> insert_str(insertStringSize(options.c_str()), '#');
    Snippet snippet;
    snippet.result = getInsertString(job.get(), insert_str.data(), insert_str.size(), block.data(),
                                     static_cast<int>(block.size()));
    if (snippet.result == 0)
        snippet.text = insert_str.data();
    return snippet;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Expected snippets, written out with "{LF}" for the job's line ending and
// "(STAMP)" for the time stamp.
const std::string kUserInfo = "mark{LF}  (alice) (5678) (STAMP) {setuserinfo} stopped{LF}cleartomark{LF}";

const std::string kSetJobType =
    ">> /ZDeviceProcSet /ProcSet findresource /SetJobType get exec{LF}} stopped cleartomark{LF}";

std::string storedJob(char save_digit)
{
    return kUserInfo +
           "mark {{LF}<<{LF}\t/JobType 3{LF}\t/JobInfo <<\t/UserID (alice){LF}\t\t/Time (STAMP){LF}"
           "\t\t/Password (1234){LF}\t\t/JobID (report1){LF}\t>>{LF}\t/JobAttr <<\t/Save " +
           std::string(1, save_digit) + "{LF}\t\t/Public false{LF}\t\t>>{LF}" + kSetJobType;
}

struct TemplateCase {
    const char* job_type;
    std::string expected;
    int line_count;
};

const std::vector<TemplateCase>& templateCases()
{
    static const std::vector<TemplateCase> cases = {
        {"Normal", kUserInfo, 3},
        {"Locked Print",
         kUserInfo + "mark{LF}  (alice) (STAMP) (1234) {secureprint} stopped{LF}cleartomark{LF}", 6},
        {"Sample Print", kUserInfo + "mark{LF}  (alice) (STAMP) {proofprint} stopped{LF}cleartomark{LF}", 6},
        {"Document Server",
         kUserInfo + "mark{LF}  (alice) (STAMP) (1234) (report1) {storedprint} stopped{LF}cleartomark{LF}",
         6},
        {"Paused Print",
         kUserInfo +
             "mark {{LF}<<{LF}\t/JobType 3{LF}\t/JobInfo <<\t/UserID (alice){LF}\t\t/Time (STAMP){LF}"
             "\t\t/JobID (report1){LF}\t>>{LF}" +
             kSetJobType,
         12},
        {"Saved Print", storedJob('1'), 16},
        {"Save Document Print", storedJob('2'), 16},
    };
    return cases;
}

struct LineEnding {
    const char* name;
    const char* bytes;
};

const LineEnding kLineEndings[] = {{"LF", "\n"}, {"CR", "\r"}, {"CRLF", "\r\n"}};

class InsertStringTest : public testing::Test {
protected:
    void SetUp() override { err_no = 0; }
};

TEST_F(InsertStringTest, EveryTemplateWithEveryLineEnding)
{
    const std::string options =
        "com.zelvo.pm.UserID=alice com.zelvo.pm.Password=1234 com.zelvo.pm.EnableUserCode..b.=True "
        "com.zelvo.pm.UserCode=5678 com.zelvo.pm.FileName=report1";
    for (const TemplateCase& c : templateCases()) {
        for (const LineEnding& ending : kLineEndings) {
            SCOPED_TRACE(std::string(c.job_type) + " with " + ending.name);
            std::string block = std::string("%!PS-Adobe-3.0") + ending.bytes + "%%BeginProlog" + ending.bytes;
            Snippet snippet = buildSnippet(options + " com.zelvo.pm.JobType='" + c.job_type + "'", block);
            ASSERT_EQ(snippet.result, 0);
            EXPECT_EQ(withoutTimeStamps(snippet.text), replaceAll(c.expected, "{LF}", ending.bytes));

            // Whole lines, each ended by the job's own line ending.
            std::string lines = replaceAll(snippet.text, ending.bytes, "\x01");
            EXPECT_EQ(std::count(lines.begin(), lines.end(), '\x01'), c.line_count);
            EXPECT_EQ(lines.back(), '\x01');
        }
    }
}

TEST_F(InsertStringTest, TheTimeStampIsTakenOnceForEverySlot)
{
    Snippet snippet = buildSnippet(
        "com.zelvo.pm.JobType='Saved Print' com.zelvo.pm.UserID=a com.zelvo.pm.Password=1234 "
        "com.zelvo.pm.FileName=f");
    ASSERT_EQ(snippet.result, 0);
    std::set<std::string> stamps;
    for (size_t at = 0; at + 14 <= snippet.text.size(); ++at) {
        std::string candidate = snippet.text.substr(at, 14);
        if (withoutTimeStamps(candidate) == "(STAMP)")
            stamps.insert(candidate);
    }
    EXPECT_EQ(stamps.size(), 1u);
}

TEST_F(InsertStringTest, LengthsWithEmptyValues)
{
    const std::string empty = "com.zelvo.pm.UserID= com.zelvo.pm.Password= com.zelvo.pm.FileName=";
    EXPECT_EQ(buildSnippet(empty).text.size(), 62u);
    EXPECT_EQ(buildSnippet(empty + " com.zelvo.pm.JobType='Saved Print'").text.size(), 288u);
}

TEST_F(InsertStringTest, NormalPrintGoesOnWithoutUserIdButRecordsIt)
{
    Snippet snippet = buildSnippet("");
    ASSERT_EQ(snippet.result, 0);
    EXPECT_EQ(withoutTimeStamps(snippet.text), "mark\n  () () (STAMP) {setuserinfo} stopped\ncleartomark\n");
    EXPECT_EQ(err_no, ERR_NO_OPTION);
}

TEST_F(InsertStringTest, UserCodeSwitchedOffLeavesTheCodeOut)
{
    Snippet snippet = buildSnippet("com.zelvo.pm.UserID=bob com.zelvo.pm.UserCode=5678");
    EXPECT_EQ(withoutTimeStamps(snippet.text), "mark\n  (bob) () (STAMP) {setuserinfo} stopped\ncleartomark\n");
}

TEST_F(InsertStringTest, PausedPrintNeverCarriesThePassword)
{
    Snippet snippet = buildSnippet(
        "com.zelvo.pm.JobType='Paused Print' com.zelvo.pm.UserID=bob com.zelvo.pm.Password=9876 "
        "com.zelvo.pm.FileName=f");
    ASSERT_EQ(snippet.result, 0);
    EXPECT_EQ(snippet.text.find("9876"), std::string::npos);
}

TEST_F(InsertStringTest, PresentButEmptyValuesAreAccepted)
{
    Snippet snippet = buildSnippet(
        "com.zelvo.pm.JobType='Locked Print' com.zelvo.pm.UserID= com.zelvo.pm.Password=");
    ASSERT_EQ(snippet.result, 0);
    EXPECT_NE(withoutTimeStamps(snippet.text).find("  () (STAMP) () {secureprint}"), std::string::npos)
        << withoutTimeStamps(snippet.text);
    EXPECT_EQ(err_no, 0);
}

struct MissingCase {
    const char* job_type;
    const char* options;
};

void PrintTo(const MissingCase& c, std::ostream* os)
{
    *os << c.job_type << " with " << c.options;
}

class MissingOption : public testing::TestWithParam<MissingCase> {};

TEST_P(MissingOption, FailsWithoutWritingTheBuffer)
{
    err_no = 0;
    const std::string options = std::string("com.zelvo.pm.JobType='") + GetParam().job_type + "' " + GetParam().options;
    JobInfoPtr job = jobWithOptions(options);
    std::vector<char> insert_str(insertStringSize(options.c_str()), '#');
    const std::string block = "%%BeginProlog\n";
    EXPECT_EQ(getInsertString(job.get(), insert_str.data(), insert_str.size(), block.data(),
                              static_cast<int>(block.size())),
              1);
    EXPECT_EQ(err_no, ERR_NO_OPTION) << "the failed lookup is recorded first";
    EXPECT_EQ(std::string(insert_str.begin(), insert_str.end()), std::string(insert_str.size(), '#'));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MissingOption,
    testing::Values(
        MissingCase{"Locked Print", "com.zelvo.pm.UserID=a"},
        MissingCase{"Locked Print", "com.zelvo.pm.Password=1234"},
        MissingCase{"Sample Print", "com.zelvo.pm.Password=1234"},
        MissingCase{"Document Server", "com.zelvo.pm.UserID=a com.zelvo.pm.Password=1234"},
        MissingCase{"Paused Print", "com.zelvo.pm.UserID=a"},
        MissingCase{"Saved Print", "com.zelvo.pm.UserID=a com.zelvo.pm.FileName=f"},
        MissingCase{"Saved Print", "com.zelvo.pm.Password=1 com.zelvo.pm.FileName=f"},
        MissingCase{"Save Document Print", "com.zelvo.pm.UserID=a com.zelvo.pm.Password=1"},
        // The user code switched on but absent fails every type, Normal Print too.
        MissingCase{"Normal", "com.zelvo.pm.EnableUserCode..b.=True com.zelvo.pm.UserID=a"},
        MissingCase{"Sample Print", "com.zelvo.pm.EnableUserCode..b. com.zelvo.pm.UserID=a"}));

struct EscapeCase {
    const char* user_id;   // as libcups hands it over
    const char* expected;  // as it must stand between the parentheses
};

void PrintTo(const EscapeCase& c, std::ostream* os)
{
    *os << testing::PrintToString(std::string(c.user_id));
}

class ValueEscaping : public testing::TestWithParam<EscapeCase> {};

TEST_P(ValueEscaping, ValuesBecomeSafePostScriptStrings)
{
    err_no = 0;
    JobInfoPtr job = jobWithOptions("");
    // Set the value directly: some of these bytes cannot pass through an options string.
    cups_option_t* options = nullptr;
    int num_options = cupsAddOption(OPTION_USER_ID, GetParam().user_id, 0, &options);
    cupsFreeOptions(job->num_options, job->options);
    job->num_options = num_options;
    job->options = options;

    std::vector<char> insert_str(INSERT_STRING_SIZE);
    const std::string block = "%%BeginProlog\n";
    ASSERT_EQ(getInsertString(job.get(), insert_str.data(), insert_str.size(), block.data(),
                              static_cast<int>(block.size())),
              0);
    EXPECT_EQ(withoutTimeStamps(insert_str.data()),
              std::string("mark\n  (") + GetParam().expected + ") () (STAMP) {setuserinfo} stopped\ncleartomark\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValueEscaping,
    testing::Values(EscapeCase{"Alice42", "Alice42"},
                    EscapeCase{"a(b", "a\\(b"},
                    EscapeCase{"a)b", "a\\)b"},
                    EscapeCase{"a\\b", "a\\\\b"},
                    EscapeCase{"x\n%%EOF", "x\\012%%EOF"},
                    EscapeCase{"x\ry", "x\\015y"},
                    EscapeCase{"tab\t", "tab\\011"},
                    EscapeCase{"caf\xc3\xa9", "caf\\303\\251"},
                    EscapeCase{"\x7f", "\\177"},
                    EscapeCase{"~ok!", "~ok!"}));

TEST_F(InsertStringTest, LongValuesGetABufferSizedToTheOptions)
{
    const std::string user_id(5000, 'u');
    const std::string file_name(3000, ')');
    const std::string options = "com.zelvo.pm.JobType='Document Server' com.zelvo.pm.UserID=" + user_id +
                                " com.zelvo.pm.Password=1234 com.zelvo.pm.FileName='" + file_name + "'";
    Snippet snippet = buildSnippet(options);
    ASSERT_EQ(snippet.result, 0);
    EXPECT_NE(withoutTimeStamps(snippet.text).find("(" + user_id + ") (STAMP) (1234) (" + replaceAll(file_name, ")", "\\)") + ")"),
              std::string::npos);
}

TEST_F(InsertStringTest, ASnippetThatDoesNotFitFailsInsteadOfOverflowing)
{
    const std::string options = "com.zelvo.pm.UserID=" + std::string(2000, 'u');
    JobInfoPtr job = jobWithOptions(options);
    // Exactly the ordinary size: AddressSanitizer catches a byte written past it.
    std::unique_ptr<char[]> insert_str(new char[INSERT_STRING_SIZE]);
    const std::string block = "%%BeginProlog\n";
    EXPECT_EQ(getInsertString(job.get(), insert_str.get(), INSERT_STRING_SIZE, block.data(),
                              static_cast<int>(block.size())),
              1);
    EXPECT_EQ(err_no, ERR_JOB_INFO);
}

struct LinefeedCase {
    const char* data;
    const char* expected;
};

void PrintTo(const LinefeedCase& c, std::ostream* os)
{
    *os << testing::PrintToString(std::string(c.data));
}

class LinefeedDetection : public testing::TestWithParam<LinefeedCase> {};

TEST_P(LinefeedDetection, FirstLineEndingCounts)
{
    std::string data = GetParam().data;
    char linefeed_code[3];
    getLinefeedCode(data.data(), linefeed_code, static_cast<int>(data.size()));
    EXPECT_STREQ(linefeed_code, GetParam().expected) << testing::PrintToString(data);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LinefeedDetection,
    testing::Values(LinefeedCase{"%!PS\nx", "\n"},
                    LinefeedCase{"%!PS\r\nx", "\r\n"},
                    LinefeedCase{"%!PS\rx", "\r"},
                    LinefeedCase{"\n%!PS\r\nx", "\r\n"},  // a leading LF ends no line
                    LinefeedCase{"\r\n%!PS", "\r\n"},
                    LinefeedCase{"\rx", "\r"},
                    LinefeedCase{"%!PS", "\n"},
                    LinefeedCase{"%!PS\r", "\n"},         // the only CR is the last byte
                    LinefeedCase{"%!PS\r\n", "\r\n"},
                    LinefeedCase{"a\nb\r\nc", "\n"},
                    LinefeedCase{"", "\n"}));

TEST(CurrentTime, FollowsTheTimeZoneInTZ)
{
    const char* saved = std::getenv("TZ");
    std::string saved_tz = saved != nullptr ? saved : "";

    for (const auto& [tz, offset_seconds] : std::vector<std::pair<const char*, long>>{
             {"JST-9", 9 * 3600}, {"UTC0", 0}, {"PST8", -8 * 3600}, {"IST-5:30", 5 * 3600 + 1800}}) {
        setenv("TZ", tz, 1);
        std::string stamps[2];
        char current_time[13];
        for (std::string& stamp : stamps) {
            time_t shifted = std::time(nullptr) + offset_seconds;
            struct tm wall;
            gmtime_r(&shifted, &wall);
            char expected[32];
            snprintf(expected, sizeof(expected), "%04d%02d%02d%02d%02d", wall.tm_year + 1900, wall.tm_mon + 1,
                     wall.tm_mday, wall.tm_hour, wall.tm_min);
            stamp = expected;
            if (&stamp == &stamps[0])
                getCurrentTime(current_time);
        }
        // Taken between the two readings, so it equals one of them.
        EXPECT_TRUE(current_time == stamps[0] || current_time == stamps[1])
            << tz << ": " << current_time << " not " << stamps[0];
    }

    if (saved != nullptr)
        setenv("TZ", saved_tz.c_str(), 1);
    else
        unsetenv("TZ");
}

}  // namespace
