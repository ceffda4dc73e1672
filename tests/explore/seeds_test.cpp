// A fixed set of seeds in the normal test run; longer runs are one command away
// (scripts/explore.sh). A failure prints the seed, the step, the event and how to replay it.
#include <gtest/gtest.h>

#include <cstdio>

#include "explorer.h"
#include "seed_runs.h"

namespace {

// A step costs about fifteen times as much under the sanitizers: fewer there keep the run short.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::uint64_t kSeeds = 10;
constexpr std::uint64_t kStepsPerSeed = 800;
#else
constexpr std::uint64_t kSeeds = 16;
constexpr std::uint64_t kStepsPerSeed = 1500;
#endif

class FixedSeed : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(FixedSeed, KeepsEveryInvariant) {
    explore::ExploreOptions options;
    options.seed = GetParam();
    options.steps = kStepsPerSeed;
    const explore::ExploreResult result = explore::explore(options);
    EXPECT_TRUE(result.passed()) << explore::describeFailure(result);
    EXPECT_EQ(result.stepsRun, kStepsPerSeed);
}

INSTANTIATE_TEST_SUITE_P(Seeds, FixedSeed, ::testing::Range<std::uint64_t>(1, kSeeds + 1));

// The runs must reach what the checks are about, or passing says little.
TEST(FixedSeeds, TogetherExerciseEveryKindOfEvent) {
    std::map<std::string, std::uint64_t> total;
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        explore::ExploreOptions options;
        options.seed = seed;
        options.steps = 400;
        for (const auto& [name, n] : explore::explore(options).counts) total[name] += n;
    }
    for (const char* kind : {"advance", "start", "power", "key", "tray", "menu", "box", "notification", "stylus up",
                             "foreground", "stand-in", "closed by a tap", "faults injected", "samples"})
        EXPECT_GT(total[kind], 0u) << kind;
}

// Seeds spread over worker processes come back whole: the same steps, failures and report as
// one process gives (failures in seed order, however the workers finish).
TEST(SeedRuns, WorkersReportWhatOneProcessFinds) {
    auto runAll = [](unsigned jobs, explore::SeedRunSummary& summary) {
        explore::SeedRunOptions options;
        options.first = 1;
        options.count = 5;
        options.steps = 300;
        options.flaw = explore::ModelFlaw::NothingLostAtClose;
        options.jobs = jobs;
        std::FILE* out = std::tmpfile();
        summary = explore::runSeeds(options, out);
        std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
        std::rewind(out);
        text.resize(std::fread(text.data(), 1, text.size(), out));
        std::fclose(out);
        return text;
    };
    explore::SeedRunSummary one, two;
    const std::string alone = runAll(1, one);
    const std::string spread = runAll(2, two);
    EXPECT_GT(one.failed, 0u);
    EXPECT_EQ(alone, spread);
    EXPECT_EQ(std::tie(one.seeds, one.steps, one.failed), std::tie(two.seeds, two.steps, two.failed));
}

}  // namespace
