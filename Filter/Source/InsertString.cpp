// The job-control snippet. Every snippet begins with the user-information
// request; held-job types add the request that makes the printer hold, proof,
// store or lock the job. Each request runs under "stopped" between "mark" and
// "cleartomark", so a printer without the procedure still prints the job.
#include "InsertString.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include "CUPSFilter.h"

// The templates, one %s per slot. Slots are filled in order from each
// builder's slot list.
#define USER_INFO_REQUEST "mark%s  (%s) (%s) (%s) {setuserinfo} stopped%scleartomark%s"

static const char NORMAL_PRINT_TEMPLATE[] = USER_INFO_REQUEST;

static const char LOCKED_PRINT_TEMPLATE[] =
    USER_INFO_REQUEST "mark%s  (%s) (%s) (%s) {secureprint} stopped%scleartomark%s";

static const char SAMPLE_PRINT_TEMPLATE[] =
    USER_INFO_REQUEST "mark%s  (%s) (%s) {proofprint} stopped%scleartomark%s";

static const char DOCUMENT_SERVER_TEMPLATE[] =
    USER_INFO_REQUEST "mark%s  (%s) (%s) (%s) (%s) {storedprint} stopped%scleartomark%s";

#define SET_JOB_TYPE ">> /ZDeviceProcSet /ProcSet findresource /SetJobType get exec%s} stopped cleartomark%s"

static const char PAUSED_PRINT_TEMPLATE[] =
    USER_INFO_REQUEST
    "mark {%s<<%s\t/JobType 3%s\t/JobInfo <<\t/UserID (%s)%s\t\t/Time (%s)%s\t\t/JobID (%s)%s\t>>%s" SET_JOB_TYPE;

#define SAVED_JOB_INFO \
    "mark {%s<<%s\t/JobType 3%s\t/JobInfo <<\t/UserID (%s)%s\t\t/Time (%s)%s\t\t/Password (%s)%s\t\t/JobID (%s)%s\t>>%s"

static const char SAVED_PRINT_TEMPLATE[] =
    USER_INFO_REQUEST SAVED_JOB_INFO "\t/JobAttr <<\t/Save 1%s\t\t/Public false%s\t\t>>%s" SET_JOB_TYPE;

static const char SAVE_DOCUMENT_PRINT_TEMPLATE[] =
    USER_INFO_REQUEST SAVED_JOB_INFO "\t/JobAttr <<\t/Save 2%s\t\t/Public false%s\t\t>>%s" SET_JOB_TYPE;

// One slot of a template: a line ending goes in as it is; a value goes in as
// the body of a PostScript string literal, escaped.
typedef struct Slot {
    const char* text;
    int is_value;
} Slot;

static Slot lineEnd(const char* linefeed_code)
{
    return Slot{linefeed_code, 0};
}

static Slot value(const char* text)
{
    return Slot{text, 1};
}

// The values of one job; each points into the job's options or is "".
typedef struct JobValues {
    const char* userid;
    const char* usercode;
    const char* password;
    const char* filename;
    char current_time[13];
} JobValues;

#define NEEDS_USER_ID 1
#define NEEDS_PASSWORD 2
#define NEEDS_FILE_NAME 4

// The user-information request's slots, which begin every snippet.
#define USER_INFO_SLOTS(values, lf)                                                          \
    lineEnd(lf), value((values).userid), value((values).usercode), value((values).current_time), \
        lineEnd(lf), lineEnd(lf)

// Writes a snippet into a caller's buffer, never past its end.
typedef struct SnippetWriter {
    char* dest;
    size_t size;
    size_t used;
} SnippetWriter;

static int appendBytes(SnippetWriter* writer, const char* bytes, size_t length)
{
    if (writer->size - writer->used <= length)
        return 0;
    memcpy(writer->dest + writer->used, bytes, length);
    writer->used += length;
    return 1;
}

// Parentheses and backslashes are escaped so that no value can end its string
// early; bytes outside printable ASCII become octal escapes so that no value
// can start a line of its own.
static int appendPostScriptString(SnippetWriter* writer, const char* text)
{
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != '\0'; ++c) {
        char escaped[5];
        int length;
        if (*c == '(' || *c == ')' || *c == '\\')
            length = snprintf(escaped, sizeof(escaped), "\\%c", *c);
        else if (*c < 0x20 || *c > 0x7E)
            length = snprintf(escaped, sizeof(escaped), "\\%03o", *c);
        else
            length = snprintf(escaped, sizeof(escaped), "%c", *c);
        if (!appendBytes(writer, escaped, static_cast<size_t>(length)))
            return 0;
    }
    return 1;
}

// Fills the template's slots in order. 0 when the snippet was written whole.
static int fillTemplate(char* insert_str, size_t size_of_insert_str, const char* format,
                        const Slot* slots, size_t slot_count)
{
    SnippetWriter writer = {insert_str, size_of_insert_str, 0};
    size_t next_slot = 0;
    for (const char* p = format; *p != '\0'; ++p) {
        int written;
        if (p[0] == '%' && p[1] == 's') {
            if (next_slot == slot_count)
                return 1;
            const Slot& slot = slots[next_slot++];
            written = slot.is_value ? appendPostScriptString(&writer, slot.text)
                                    : appendBytes(&writer, slot.text, strlen(slot.text));
            ++p;
        } else {
            written = appendBytes(&writer, p, 1);
        }
        if (!written)
            return 1;
    }
    if (next_slot != slot_count)
        return 1;
    insert_str[writer.used] = '\0';
    return 0;
}

// Looks up what the job type needs, in the order user ID, password, file
// name, then the time stamp and the user code. 0 when everything is there.
static int collectJobValues(const JobInfo* job_info, int needs, JobValues* values)
{
    int use_user_code = useUserCode(job_info);

    // Normal Print also asks for the user ID, but goes on without one.
    values->userid = getUserID(job_info);
    if (values->userid == nullptr) {
        if (needs & NEEDS_USER_ID)
            return 1;
        values->userid = "";
    }
    values->password = "";
    if (needs & NEEDS_PASSWORD) {
        values->password = getPassword(job_info);
        if (values->password == nullptr)
            return 1;
    }
    values->filename = "";
    if (needs & NEEDS_FILE_NAME) {
        values->filename = getCupsOption(job_info, OPTION_FILE_NAME);
        if (values->filename == nullptr)
            return 1;
    }

    // One time stamp for every slot, even across a minute boundary.
    getCurrentTime(values->current_time);

    values->usercode = "";
    if (use_user_code) {
        values->usercode = getUserCode(job_info);
        if (values->usercode == nullptr)
            return 1;
    }
    return 0;
}

static int builderFailed(void)
{
    recordError(ERR_JOB_INFO);
    return 1;
}

static int buildSnippet(char* insert_str, size_t size_of_insert_str, const char* format,
                        const Slot* slots, size_t slot_count)
{
    if (fillTemplate(insert_str, size_of_insert_str, format, slots, slot_count) != 0)
        return builderFailed();
    return 0;
}

#define SLOT_COUNT(slots) (sizeof(slots) / sizeof((slots)[0]))

static int getInsertStringForNormalPrint(const JobInfo* job_info, char* insert_str, size_t size,
                                         const char* lf)
{
    JobValues values;
    if (collectJobValues(job_info, 0, &values) != 0)
        return builderFailed();
    const Slot slots[] = {USER_INFO_SLOTS(values, lf)};
    return buildSnippet(insert_str, size, NORMAL_PRINT_TEMPLATE, slots, SLOT_COUNT(slots));
}

static int getInsertStringForLockedPrint(const JobInfo* job_info, char* insert_str, size_t size,
                                         const char* lf)
{
    JobValues values;
    if (collectJobValues(job_info, NEEDS_USER_ID | NEEDS_PASSWORD, &values) != 0)
        return builderFailed();
    const Slot slots[] = {
        USER_INFO_SLOTS(values, lf),
        lineEnd(lf), value(values.userid), value(values.current_time), value(values.password),
        lineEnd(lf), lineEnd(lf),
    };
    return buildSnippet(insert_str, size, LOCKED_PRINT_TEMPLATE, slots, SLOT_COUNT(slots));
}

static int getInsertStringForSamplePrint(const JobInfo* job_info, char* insert_str, size_t size,
                                         const char* lf)
{
    JobValues values;
    if (collectJobValues(job_info, NEEDS_USER_ID, &values) != 0)
        return builderFailed();
    const Slot slots[] = {
        USER_INFO_SLOTS(values, lf),
        lineEnd(lf), value(values.userid), value(values.current_time), lineEnd(lf), lineEnd(lf),
    };
    return buildSnippet(insert_str, size, SAMPLE_PRINT_TEMPLATE, slots, SLOT_COUNT(slots));
}

static int getInsertStringForDocumentServerPrint(const JobInfo* job_info, char* insert_str,
                                                 size_t size, const char* lf)
{
    JobValues values;
    if (collectJobValues(job_info, NEEDS_USER_ID | NEEDS_PASSWORD | NEEDS_FILE_NAME, &values) != 0)
        return builderFailed();
    const Slot slots[] = {
        USER_INFO_SLOTS(values, lf),
        lineEnd(lf), value(values.userid), value(values.current_time), value(values.password),
        value(values.filename), lineEnd(lf), lineEnd(lf),
    };
    return buildSnippet(insert_str, size, DOCUMENT_SERVER_TEMPLATE, slots, SLOT_COUNT(slots));
}

static int getInsertStringForPausedPrint(const JobInfo* job_info, char* insert_str, size_t size,
                                         const char* lf)
{
    JobValues values;
    if (collectJobValues(job_info, NEEDS_USER_ID | NEEDS_FILE_NAME, &values) != 0)
        return builderFailed();
    const Slot slots[] = {
        USER_INFO_SLOTS(values, lf),
        lineEnd(lf), lineEnd(lf), lineEnd(lf),
        value(values.userid), lineEnd(lf),
        value(values.current_time), lineEnd(lf),
        value(values.filename), lineEnd(lf),
        lineEnd(lf), lineEnd(lf), lineEnd(lf),
    };
    return buildSnippet(insert_str, size, PAUSED_PRINT_TEMPLATE, slots, SLOT_COUNT(slots));
}

// Saved Print and Save Document Print share their slots; only the template's
// "/Save" digit differs.
static int getInsertStringForStoredJob(const JobInfo* job_info, char* insert_str, size_t size,
                                       const char* lf, const char* format)
{
    JobValues values;
    if (collectJobValues(job_info, NEEDS_USER_ID | NEEDS_PASSWORD | NEEDS_FILE_NAME, &values) != 0)
        return builderFailed();
    const Slot slots[] = {
        USER_INFO_SLOTS(values, lf),
        lineEnd(lf), lineEnd(lf), lineEnd(lf),
        value(values.userid), lineEnd(lf),
        value(values.current_time), lineEnd(lf),
        value(values.password), lineEnd(lf),
        value(values.filename), lineEnd(lf),
        lineEnd(lf), lineEnd(lf), lineEnd(lf), lineEnd(lf), lineEnd(lf), lineEnd(lf),
    };
    return buildSnippet(insert_str, size, format, slots, SLOT_COUNT(slots));
}

static int getInsertStringForSavedPrint(const JobInfo* job_info, char* insert_str, size_t size,
                                        const char* lf)
{
    return getInsertStringForStoredJob(job_info, insert_str, size, lf, SAVED_PRINT_TEMPLATE);
}

static int getInsertStringForSav2Print(const JobInfo* job_info, char* insert_str, size_t size,
                                       const char* lf)
{
    return getInsertStringForStoredJob(job_info, insert_str, size, lf, SAVE_DOCUMENT_PRINT_TEMPLATE);
}

size_t insertStringSize(const char* options_argument)
{
    size_t options_length = options_argument != nullptr ? strlen(options_argument) : 0;
    return INSERT_STRING_SIZE + 8 * options_length;
}

int getInsertString(const JobInfo* job_info, char* insert_str, size_t size_of_insert_str,
                    const char* string_including_linefeed_code, int size_of_string)
{
    char linefeed_code[3];
    getLinefeedCode(string_including_linefeed_code, linefeed_code, size_of_string);

    int result;
    switch (getJobType(job_info)) {
    case JOB_TYPE_LOCKED_PRINT:
        result = getInsertStringForLockedPrint(job_info, insert_str, size_of_insert_str, linefeed_code);
        break;
    case JOB_TYPE_SAMPLE_PRINT:
        result = getInsertStringForSamplePrint(job_info, insert_str, size_of_insert_str, linefeed_code);
        break;
    case JOB_TYPE_DOCUMENT_SERVER:
        result = getInsertStringForDocumentServerPrint(job_info, insert_str, size_of_insert_str,
                                                       linefeed_code);
        break;
    case JOB_TYPE_PAUSED_PRINT:
        result = getInsertStringForPausedPrint(job_info, insert_str, size_of_insert_str, linefeed_code);
        break;
    case JOB_TYPE_SAVED_PRINT:
        result = getInsertStringForSavedPrint(job_info, insert_str, size_of_insert_str, linefeed_code);
        break;
    case JOB_TYPE_SAVE_DOCUMENT_PRINT:
        result = getInsertStringForSav2Print(job_info, insert_str, size_of_insert_str, linefeed_code);
        break;
    default:
        result = getInsertStringForNormalPrint(job_info, insert_str, size_of_insert_str, linefeed_code);
        break;
    }
    if (result != 0) {
        recordError(ERR_JOB_INFO);
        return 1;
    }
    return 0;
}

void getLinefeedCode(const char* string_including_linefeed_code, char* linefeed_code,
                     int size_of_string)
{
    enum { START, IN_LINE, AFTER_CR } state = START;
    const char* result = "\n";
    for (int i = 0; i < size_of_string; ++i) {
        char c = string_including_linefeed_code[i];
        if (state == AFTER_CR) {
            result = c == '\n' ? "\r\n" : "\r";
            break;
        }
        if (c == '\r') {
            state = AFTER_CR;
        } else if (c == '\n' && state == IN_LINE) {
            result = "\n";
            break;
        } else {
            // An LF as the very first byte ends no line.
            state = IN_LINE;
        }
    }
    strcpy(linefeed_code, result);
}

void getCurrentTime(char* current_time)
{
    // localtime (unlike localtime_r) reads TZ again, which the driver may have set.
    time_t now = time(nullptr);
    const struct tm* local = localtime(&now);
    // Formatted with room to spare, then cut to the stamp's 12 digits.
    char stamp[64];
    snprintf(stamp, sizeof(stamp), "%.4d%.2d%.2d%.2d%.2d", local->tm_year + 1900, local->tm_mon + 1,
             local->tm_mday, local->tm_hour, local->tm_min);
    memcpy(current_time, stamp, 12);
    current_time[12] = '\0';
}
