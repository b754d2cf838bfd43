// joblogfilter: a CUPS filter that copies a PostScript job to standard output
// and puts the job-control snippet of the job's type in front of the first line
// that begins with "%%BeginProlog". It holds one block of the job at a time.
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Buffer.h"
#include "CUPSFilter.h"
#include "Exception.h"
#include "InsertString.h"
#include "JobInfo.h"

// Large stream buffers under the 4096-byte blocks: one system call per 64 KiB
// rather than per block. 64 KiB is what a pipe holds, so each write fills the
// pipe to CUPS's next filter once (larger writes measured slower). glibc
// ignores the size unless it is given the buffer too.
#define STREAM_BUFFER_SIZE (64 * 1024)
static char input_stream_buffer[STREAM_BUFFER_SIZE];
static char output_stream_buffer[STREAM_BUFFER_SIZE];

static int searchPhase(FILE* src, FILE* dest, const JobInfo* job_info, char* insert_str,
                       size_t size_of_insert_str, char* buf_for_input);
static int copyPhase(FILE* src, FILE* dest, char* buf_for_input);
static void reportError(void);

int main(int argc, char* argv[])
{
    FILE* src = stdin;
    FILE* dest = stdout;
    JobInfo* job_info = nullptr;
    char* insert_str = nullptr;
    char* buf_for_input = nullptr;
    size_t size_of_insert_str = 0;
    int failed = 1;

    // CUPS asks filters to ignore SIGPIPE; a closed downstream is then a write
    // failure that the job reports.
    signal(SIGPIPE, SIG_IGN);

    if (argc < 6) {
        fputs("Usage: joblogfilter job-id user title copies options [file]\n", stderr);
        return 1;
    }

    // The job comes from the file CUPS names, else from standard input.
    if (argc > 6) {
        src = fopen(argv[6], "rb");
        if (src == nullptr) {
            recordError(ERR_OPEN_INPUT);
            goto exit;
        }
    }
    setvbuf(src, input_stream_buffer, _IOFBF, sizeof(input_stream_buffer));
    setvbuf(dest, output_stream_buffer, _IOFBF, sizeof(output_stream_buffer));

    job_info = CreateJobInfo(argc, argv);
    if (job_info == nullptr) {
        recordError(ERR_JOB_INFO);
        goto exit;
    }

    // The snippet holds values from the options, so its size follows theirs.
    size_of_insert_str = insertStringSize(argv[5]);
    insert_str = static_cast<char*>(malloc(size_of_insert_str));
    if (insert_str == nullptr) {
        recordError(ERR_MEMORY);
        goto exit;
    }

    // The time stamp is the client's wall clock, in the zone the client sent.
    if (const char* time_zone = getClientTimeZone(job_info)) {
        setenv("TZ", time_zone, 1);
        tzset();
    }

    buf_for_input = static_cast<char*>(malloc(INPUT_BLOCK_SIZE));
    if (buf_for_input == nullptr) {
        recordError(ERR_MEMORY);
        goto exit;
    }

    if (searchPhase(src, dest, job_info, insert_str, size_of_insert_str, buf_for_input) != 0)
        goto exit;
    if (copyPhase(src, dest, buf_for_input) != 0)
        goto exit;

    // The last buffered bytes can still fail (a full disk, a closed pipe).
    if (fflush(dest) != 0) {
        recordError(ERR_WRITE_OUTPUT);
        goto exit;
    }
    failed = 0;

exit:
    free(buf_for_input);
    free(insert_str);
    if (src != nullptr && src != stdin)
        fclose(src);
    DisposeJobInfo(job_info);
    if (!failed)
        return 0;
    reportError();
    return 1;
}

// Writes one piece whole; 0 on success. A piece of no bytes writes nothing.
static int writePiece(const char* piece, size_t length, FILE* dest)
{
    if (length == 0 || fwrite(piece, 1, length, dest) == length)
        return 0;
    recordError(ERR_WRITE_OUTPUT);
    return 1;
}

// Reads up to count bytes; fewer only at the end of the input. 0 on success.
static int readBlock(char* block, size_t count, FILE* src, size_t* read_count)
{
    *read_count = fread(block, 1, count, src);
    if (ferror(src)) {
        recordError(ERR_READ_INPUT);
        return 1;
    }
    return 0;
}

// Copies the job up to the first marker line, writes the snippet in front of
// it, and copies the rest of that block. A marker line that begins near the end
// of a block is moved to the block's start and completed from the input.
static int searchPhase(FILE* src, FILE* dest, const JobInfo* job_info, char* insert_str,
                       size_t size_of_insert_str, char* buf_for_input)
{
    while (!feof(src)) {
        size_t input_block_num;
        if (readBlock(buf_for_input, INPUT_BLOCK_SIZE, src, &input_block_num) != 0)
            return 1;
        if (input_block_num == 0)
            return 0;

        // Every block's first byte is a comparison point.
        const char* head_of_line = buf_for_input;
        const char* end_of_data = buf_for_input + input_block_num - 1;
        for (;;) {
            int result_of_comparison = compareWithSearchString(head_of_line, end_of_data, SEARCH_STRING);
            if (result_of_comparison == COMPARE_MATCH) {
                if (writePiece(buf_for_input, head_of_line - buf_for_input, dest) != 0)
                    return 1;
                if (getInsertString(job_info, insert_str, size_of_insert_str, buf_for_input,
                                    static_cast<int>(input_block_num)) != 0) {
                    recordError(ERR_JOB_INFO);
                    return 1;
                }
                if (writePiece(insert_str, strlen(insert_str), dest) != 0)
                    return 1;
                return writePiece(head_of_line, end_of_data - head_of_line + 1, dest);
            }

            if (result_of_comparison == COMPARE_PARTIAL) {
                if (writePiece(buf_for_input, head_of_line - buf_for_input, dest) != 0)
                    return 1;
                size_t copy_byte = end_of_data - head_of_line + 1;
                memmove(buf_for_input, head_of_line, copy_byte);
                size_t added;
                if (readBlock(buf_for_input + copy_byte, INPUT_BLOCK_SIZE - copy_byte, src, &added) != 0)
                    return 1;
                // The input ended inside what could have been the marker.
                if (added == 0)
                    return writePiece(buf_for_input, copy_byte, dest);
                input_block_num = copy_byte + added;
                head_of_line = buf_for_input;
                end_of_data = buf_for_input + input_block_num - 1;
                continue;
            }

            head_of_line = searchNextCandidateHeadOfLine(head_of_line, end_of_data, SEARCH_STRING[0]);
            if (head_of_line == nullptr) {
                if (writePiece(buf_for_input, input_block_num, dest) != 0)
                    return 1;
                break;
            }
        }
    }
    return 0;
}

// After the marker (or the end of the input) the job is copied as it comes.
static int copyPhase(FILE* src, FILE* dest, char* buf_for_input)
{
    while (!feof(src)) {
        size_t input_block_num;
        if (readBlock(buf_for_input, INPUT_BLOCK_SIZE, src, &input_block_num) != 0)
            return 1;
        if (writePiece(buf_for_input, input_block_num, dest) != 0)
            return 1;
    }
    return 0;
}

static void reportError(void)
{
    switch (err_no) {
    case ERR_MEMORY:
        writeError(__FILE__, __LINE__, ERROR_MESSAGE_MEMORY);
        break;
    case ERR_JOB_INFO:
    case ERR_OPEN_INPUT:
    case ERR_READ_INPUT:
    case ERR_WRITE_OUTPUT:
    case ERR_NO_OPTION:
        writeError(__FILE__, __LINE__, ERROR_MESSAGE_GENERAL);
        break;
    case ERR_ENCRYPTED_PASSWORD:
        // No system error lies behind this one, so no perror text follows it.
        fputs(ERROR_MESSAGE_ENCRYPTED_PASSWORD "\n", stderr);
        break;
    default:
        break;
    }
}
