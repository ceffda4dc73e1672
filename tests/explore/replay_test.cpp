// A seed means one run: replaying it gives the same events and observations, and a failure comes
// back at the same step with the same message.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "explorer.h"
#include "script_runner.h"

namespace {

struct Recorded {
    explore::ExploreResult result;
    std::vector<std::string> events;
};

Recorded run(std::uint64_t seed, std::uint64_t steps,
             std::function<void(std::uint64_t, pocket::PocketDevice&)> tamper = {}) {
    Recorded r;
    explore::ExploreOptions options;
    options.seed = seed;
    options.steps = steps;
    options.tamper = std::move(tamper);
    options.onEvent = [&r](std::uint64_t, const std::string& event) { r.events.push_back(event); };
    r.result = explore::explore(options);
    return r;
}

TEST(Replay, SameSeedGivesTheSameRun) {
    const Recorded a = run(21, 300);
    const Recorded b = run(21, 300);
    ASSERT_TRUE(a.result.passed()) << explore::describeFailure(a.result);
    EXPECT_EQ(a.events, b.events);
    EXPECT_EQ(a.result.hash, b.result.hash);
    EXPECT_EQ(a.result.counts, b.result.counts);
}

TEST(Replay, OtherSeedsGiveOtherRuns) {
    EXPECT_NE(run(21, 100).result.hash, run(22, 100).result.hash);
}

TEST(Replay, ShorterRunIsAPrefixOfTheLongerOne) {
    const Recorded longer = run(23, 200);
    const Recorded shorter = run(23, 120);
    ASSERT_EQ(shorter.events.size(), 120u);
    EXPECT_TRUE(std::equal(shorter.events.begin(), shorter.events.end(), longer.events.begin()));
}

TEST(Replay, FailureComesBackAtTheSameStepAndPrintsHowToReplayIt) {
    // Someone else moves the stored counter at step 150: the next check must catch it, every time.
    auto tamper = [](std::uint64_t step, pocket::PocketDevice& device) {
        if (step == 150) device.setDword("HKCU\\Software\\Orvalen\\VoltmaraPPC", u"BatteryCount", 123456789);
    };
    const Recorded a = run(24, 300, tamper);
    const Recorded b = run(24, 300, tamper);
    ASSERT_FALSE(a.result.passed());
    EXPECT_EQ(a.result.failedStep, 150u);
    EXPECT_EQ(a.result.stepsRun, 151u);
    EXPECT_EQ(a.result.failure, b.result.failure);
    EXPECT_EQ(a.result.event, b.result.event);
    EXPECT_EQ(a.events, b.events);
    EXPECT_EQ(a.result.hash, b.result.hash);
    const std::string printed = explore::describeFailure(a.result);
    EXPECT_NE(printed.find("seed 24: step 150"), std::string::npos) << printed;
    EXPECT_NE(printed.find("stored counter is 123456789"), std::string::npos) << printed;
    EXPECT_NE(printed.find("pocketexplore --seed 24 --steps 151"), std::string::npos) << printed;
}

// The explorer's events are pocketsim's commands: a run recorded as a script, replayed by
// pocketsim alone, leaves the device as the run did.
TEST(Replay, RecordedRunReplaysUnderPocketsimToTheSameState) {
    for (std::uint64_t seed : {1, 2, 3}) {
        explore::ExploreOptions options;
        options.seed = seed;
        options.steps = 1500;
        options.recordScript = true;
        const explore::ExploreResult result = explore::explore(options);
        ASSERT_TRUE(result.passed()) << explore::describeFailure(result);
        std::string script;
        for (const std::string& line : result.script) script += line + "\n";
        for (const std::string& line : result.finalState) script += line + "\n";
        std::istringstream in(script);
        std::ostringstream out, err;
        EXPECT_EQ(pocketsim::runScript("replay", in, out, err), pocketsim::kSuccess) << "seed " << seed << ":\n"
                                                                                    << err.str();
    }
}

}  // namespace
