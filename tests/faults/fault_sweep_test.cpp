// Every call each program makes that the platform can fail, failing in turn in each of its
// scenarios, with the device checked after every step.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <map>

#include "scenarios.h"

namespace {

// One program's sweep is a test of its own, so that the four can run side by side.
struct ProgramSweep {
    const char* program;
    std::vector<sweep::Scenario> (*scenarios)();
};

// A fault point is one call of a scenario; the same function, occurrence and program in two
// scenarios are two points but one distinct triple.
struct Tally {
    std::size_t scenarios = 0;
    std::size_t runs = 0;
    std::size_t points = 0;
    std::set<sweep::FaultPoint> distinct;

    void add(const sweep::SweepResult& result) {
        ++scenarios;
        runs += result.runs;
        points += result.points.size();
        distinct.insert(result.points.begin(), result.points.end());
    }
    // "GetClassNameW (up to #4), ...": what failed, and how far into a scenario.
    std::string functions() const {
        std::map<std::string, std::uint64_t> deepest;
        for (const sweep::FaultPoint& p : distinct) deepest[p.function] = std::max(deepest[p.function], p.occurrence);
        std::string out;
        for (const auto& [function, occurrence] : deepest)
            out += (out.empty() ? "" : ", ") + function + " (up to #" + std::to_string(occurrence) + ")";
        return out;
    }
    std::string describe() const {
        return std::to_string(scenarios) + " scenarios, " + std::to_string(runs) + " runs, " +
               std::to_string(points) + " fault points, " + std::to_string(distinct.size()) +
               " distinct (function, occurrence, program)";
    }
};

constexpr std::size_t kFailuresShown = 40;

}  // namespace

class FaultSweep : public ::testing::TestWithParam<ProgramSweep> {};

TEST_P(FaultSweep, EveryExaminedCallFailsInTurn) {
    const ProgramSweep& program = GetParam();
    Tally tally;
    std::vector<std::string> failures;
    for (const sweep::Scenario& scenario : program.scenarios()) {
        const sweep::SweepResult result = sweep::sweepScenario(scenario);
        std::printf("[fault sweep] %-11s %-50s %4zu runs, %4zu fault points\n", program.program,
                    scenario.name.c_str(), result.runs, result.points.size());
        tally.add(result);
        failures.insert(failures.end(), result.failures.begin(), result.failures.end());
    }
    std::printf("[fault sweep] %s: %s\n[fault sweep] %s fails in turn: %s\n", program.program,
                tally.describe().c_str(), program.program, tally.functions().c_str());
    std::fflush(stdout);

    std::string shown;
    for (std::size_t i = 0; i < failures.size() && i < kFailuresShown; ++i) shown += "\n  " + failures[i];
    EXPECT_TRUE(failures.empty()) << failures.size() << " problem(s):" << shown;
}

INSTANTIATE_TEST_SUITE_P(Programs, FaultSweep,
                         ::testing::Values(ProgramSweep{"voltmarap", sweep::monitorScenarios},
                                           ProgramSweep{"rcbridge", sweep::bridgeScenarios},
                                           ProgramSweep{"appshut", sweep::tapCloseScenarios},
                                           ProgramSweep{"setuplaunch", sweep::launcherScenarios}),
                         [](const auto& info) { return std::string(info.param.program); });
