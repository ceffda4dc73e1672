// A failing seed becomes a short pocketsim script that fails the same way: the same device
// error, or the same expectation failing on what the run found.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "failure_script.h"
#include "script_runner.h"

namespace {

struct FailingRun {
    const char* name;
    std::uint64_t seed;
    bool racedProgram;        // tap-to-close's copy without its call count, else a model with a wrong rule
    const char* pocketsimSays;
};

class FailureScript : public ::testing::TestWithParam<FailingRun> {};

TEST_P(FailureScript, IsShortAndFailsUnderPocketsimTheSameWay) {
    explore::ExploreOptions options;
    options.seed = GetParam().seed;
    options.steps = 1500;
    if (GetParam().racedProgram) options.images["appshut"] = POCKET_MUTANT_DIR "/appshut-uncounted.image";
    else options.flaw = explore::ModelFlaw::NothingLostAtClose;
    const explore::ExploreResult failed = explore::explore(options);
    ASSERT_FALSE(failed.passed());

    const std::string dir = ::testing::TempDir() + "explore-failures";
    const explore::FailureScript script = explore::writeFailureScript(failed, options, dir);
    ASSERT_TRUE(script.failsTheSameWay) << script.how;
    EXPECT_EQ(script.steps, failed.failedStep + 1);
    EXPECT_LT(script.commands, 20u) << script.path;

    std::ifstream file(script.path);
    std::ostringstream out, err;
    pocketsim::RunOptions run;
    run.images = options.images;
    EXPECT_EQ(pocketsim::runScript(script.path, file, out, err, run), pocketsim::kFailed);
    EXPECT_NE(err.str().find(GetParam().pocketsimSays), std::string::npos) << err.str();
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailureScript,
    ::testing::Values(FailingRun{"RacedProgram", 176, true,
                                 "image of appshut cannot be unloaded: a thread of shell is running its code"},
                      FailingRun{"WrongModel", 1, false, "\"BatteryCount\" = dword 10255000"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
