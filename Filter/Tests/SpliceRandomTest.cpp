// Randomized jobs through the built filter, against a whole-input model of
// where the snippet belongs: the output is the job with the snippet inserted
// at most once, in front of the first marker found at a comparison point.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "FilterProcess.h"

namespace {

const std::string kMarker = "%%BeginProlog";
const size_t kBlock = 4096;

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Where the snippet goes, or npos. Comparison points are each block's first
// byte and every line head inside a block; a marker line cut short by the end
// of a block starts the next block, so it is compared whole.
size_t splicePoint(const std::string& job)
{
    size_t block_start = 0;
    while (block_start < job.size()) {
        size_t block_end = std::min(block_start + kBlock, job.size());
        size_t rebase = std::string::npos;
        for (size_t p = block_start; p < block_end && rebase == std::string::npos; ++p) {
            bool comparison_point = p == block_start || (isLineEnd(job[p - 1]) && !isLineEnd(job[p]));
            if (!comparison_point)
                continue;
            size_t available = block_end - p;
            if (available >= kMarker.size()) {
                if (job.compare(p, kMarker.size(), kMarker) == 0)
                    return p;
            } else if (job.compare(p, available, kMarker, 0, available) == 0) {
                if (block_end == job.size())
                    return std::string::npos;
                rebase = p;
            }
        }
        block_start = rebase != std::string::npos ? rebase : block_end;
    }
    return std::string::npos;
}

std::string snippet(const std::string& lf)
{
    return "mark" + lf + "  (alice) () (STAMP) {setuserinfo} stopped" + lf + "cleartomark" + lf;
}

std::string randomJob(std::mt19937& random)
{
    static const std::vector<std::string> pieces = {
        kMarker, "%%Begin", "Prolog", "%%", "%", "\r", "\n", "\r\n", "\n\n", "x", "abc ", "%%BeginPage",
    };
    std::uniform_int_distribution<size_t> piece(0, pieces.size());
    std::uniform_int_distribution<size_t> count(0, 60);
    std::uniform_int_distribution<size_t> filler_length(1, 4200);
    std::string job;
    size_t n = count(random);
    for (size_t i = 0; i < n; ++i) {
        size_t which = piece(random);
        // Markers are rare, so that jobs without one and jobs with one deep
        // inside are both common.
        if (which == 0 && random() % 4 != 0)
            which = 4;
        job += which == pieces.size() ? std::string(filler_length(random), 'f') : pieces[which];
    }
    return job;
}

TEST(SpliceRandom, SnippetInsertedAtMostOnceBeforeTheFirstMarker)
{
    const unsigned seed = 20261211;
    std::mt19937 random(seed);
    for (int iteration = 0; iteration < 300; ++iteration) {
        std::string job = randomJob(random);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", job " + std::to_string(iteration) + ": " +
                     testing::PrintToString(job.substr(0, 200)));

        FilterResult result = runFilter({"com.zelvo.pm.UserID=alice", job});
        ASSERT_EQ(result.status, 0) << result.err;
        std::string out = withoutTimeStamps(result.out);

        size_t at = splicePoint(job);
        if (at == std::string::npos) {
            ASSERT_EQ(out, job);
            continue;
        }
        ASSERT_GE(out.size(), job.size());
        ASSERT_EQ(out.compare(0, at, job, 0, at), 0) << "the job before the snippet changed";
        std::string inserted = out.substr(at, out.size() - job.size());
        ASSERT_TRUE(inserted == snippet("\n") || inserted == snippet("\r") || inserted == snippet("\r\n"))
            << "at " << at << ": " << testing::PrintToString(inserted);
        ASSERT_EQ(out.substr(at + inserted.size()), job.substr(at)) << "the job after the snippet changed";
    }
}

}  // namespace
