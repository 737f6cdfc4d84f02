// The jobs behind OWBUILD's and OWMERGE's windows: their progress and what
// stopping one half-way leaves behind.
#include "ToolTestHelpers.h"
#include "common/BuildJob.h"
#include "common/MergeJob.h"

#include <gtest/gtest.h>

#include <functional>

using namespace quillon::tools;
using tooltest::ScratchDir;

namespace {

// Records every report; answers false from the report numbered stopAt on.
struct Recorder {
    std::vector<int> seen;
    std::size_t stopAt = SIZE_MAX;
    Progress::Callback callback = [this](int permille) {
        seen.push_back(permille);
        return seen.size() < stopAt;
    };
    Progress progress{&callback};
};

BuildRequest TwoLists(const ScratchDir& dir) {
    std::string many;
    for (int i = 0; i < 40000; ++i)
        many += "word" + std::string(1, static_cast<char>('a' + i % 26)) + std::to_string(i % 997) +
                "\n";
    BuildRequest request;
    request.sources = {{dir.Write("a.txt", many), ListFormat::Lines},
                       {dir.Write("b.txt", "cat\ncat's\ndog\n"), ListFormat::Lines}};
    request.output = dir.File("out.owd");
    request.filter.dropPossessives = true;
    return request;
}

} // namespace

TEST(Progress, PartsMapIntoTheirShareOfTheWhole) {
    Recorder r;
    const Progress half = r.progress.Part(500, 1000);
    EXPECT_TRUE(half.Step(0, 4));
    EXPECT_TRUE(half.Part(0, 500).Step(1, 1)); // a part of a part
    EXPECT_TRUE(half.Step(3, 4));
    EXPECT_TRUE(half.Step(9, 4)); // beyond the total counts as done
    EXPECT_TRUE(r.progress.Part(-5, 2000).Step(0, 0));
    EXPECT_EQ(r.seen, (std::vector<int>{500, 750, 875, 1000, 1000}));
    EXPECT_TRUE(Progress{}.Step(1, 2)) << "no callback: nothing to stop";
}

TEST(BuildJob, ReportsRisingProgressToTheEndAndWhatItBuilt) {
    ScratchDir dir;
    Recorder r;
    BuildReport report;
    std::string error;
    ASSERT_TRUE(BuildDictionaryFile(TwoLists(dir), report, error, r.progress)) << error;
    ASSERT_GT(r.seen.size(), 10u) << "enough steps for a moving bar";
    EXPECT_TRUE(std::is_sorted(r.seen.begin(), r.seen.end()));
    EXPECT_EQ(r.seen.back(), 1000);
    ASSERT_EQ(report.lists.size(), 2u);
    EXPECT_EQ(report.lists[1].stats.filtered, 1u);
    EXPECT_EQ(report.build.written + SkippedEntries(report.build), 40000u + 2u);
    EXPECT_EQ(report.build.fileSize, ScratchDir::Read(dir.File("out.owd")).size());
}

TEST(BuildJob, StoppingAtAnyStepKeepsTheOldOutput) {
    ScratchDir dir;
    const BuildRequest request = TwoLists(dir);
    Recorder all;
    BuildReport report;
    std::string error;
    ASSERT_TRUE(BuildDictionaryFile(request, report, error, all.progress));
    const std::string built = ScratchDir::Read(request.output);
    // Stop at each report but the last (after which the file is written).
    for (std::size_t stop = 1; stop < all.seen.size(); stop += 3) {
        dir.Write("out.owd", "previous");
        Recorder r;
        r.stopAt = stop;
        EXPECT_FALSE(BuildDictionaryFile(request, report, error, r.progress)) << stop;
        EXPECT_EQ(error, kStoppedError);
        EXPECT_EQ(ScratchDir::Read(request.output), "previous") << "stopped at report " << stop;
    }
    EXPECT_NE(built, "previous");
}

TEST(BuildJob, AnUnreadableListStopsWithTheListsReadSoFar) {
    ScratchDir dir;
    BuildRequest request = TwoLists(dir);
    request.sources.insert(request.sources.begin() + 1,
                           {dir.File("missing.txt"), ListFormat::Lines});
    BuildReport report;
    std::string error;
    EXPECT_FALSE(BuildDictionaryFile(request, report, error));
    EXPECT_EQ(report.lists.size(), 1u);
    EXPECT_NE(error.find("missing.txt"), std::string::npos) << error;
}

TEST(MergeJob, CountsAndStops) {
    ScratchDir dir;
    MergeRequest request;
    request.removals = {dir.Write("rm.txt", "fig\n")};
    request.lists = {dir.Write("a.txt", "pear\nFig\napple\n"), dir.Write("b.txt", "apple\nPEAR\n")};
    request.output = dir.File("m.txt");
    request.ignoreCase = true;
    request.utf8 = false;
    Recorder r;
    MergeReport report;
    std::string error;
    ASSERT_TRUE(MergeWordLists(request, report, error, r.progress)) << error;
    EXPECT_EQ(ScratchDir::Read(request.output), "apple\npear\n");
    EXPECT_EQ(report.written, 2u);
    EXPECT_EQ(report.repeats, 2u);
    EXPECT_EQ(report.removed, 1u);
    ASSERT_EQ(report.lists.size(), 3u);
    EXPECT_TRUE(report.lists[0].removal);
    EXPECT_TRUE(std::is_sorted(r.seen.begin(), r.seen.end()));
    EXPECT_EQ(r.seen.back(), 1000);

    for (std::size_t stop = 1; stop < r.seen.size(); ++stop) {
        dir.Write("m.txt", "previous");
        Recorder s;
        s.stopAt = stop;
        EXPECT_FALSE(MergeWordLists(request, report, error, s.progress));
        EXPECT_EQ(ScratchDir::Read(request.output), "previous") << stop;
    }
}
