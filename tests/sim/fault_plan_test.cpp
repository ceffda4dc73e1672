// Which occurrences of a call the fault plan makes fail.
#include <gtest/gtest.h>

#include <algorithm>

#include "calls.h"
#include "fault_plan.h"

namespace {

struct FaultCase {
    const char* name;
    sim::FaultRule rule;
    std::vector<bool> expected;  // for calls 1..n of SetTimer by program "a"
};

std::size_t indexOf(const char* name) { return sim::platformCallIndex(name); }

class FaultPlanRules : public ::testing::TestWithParam<FaultCase> {};

}  // namespace

TEST_P(FaultPlanRules, FailTheChosenOccurrences) {
    sim::FaultPlan plan;
    plan.add(GetParam().rule);
    std::vector<bool> got;
    for (std::size_t i = 0; i < GetParam().expected.size(); ++i) {
        plan.shouldFire(indexOf("KillTimer"), "a");
        got.push_back(plan.shouldFire(indexOf("SetTimer"), "a"));
    }
    EXPECT_EQ(got, GetParam().expected);
    EXPECT_EQ(plan.occurrences("SetTimer"), GetParam().expected.size());
    const bool fired = std::find(got.begin(), got.end(), true) != got.end();
    EXPECT_EQ(plan.neverFired().size(), fired ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultPlanRules,
    ::testing::Values(FaultCase{"First", {"SetTimer", "", 1, 1}, {true, false, false}},
                      FaultCase{"Third", {"SetTimer", "", 3, 1}, {false, false, true, false}},
                      FaultCase{"TwoFromSecond", {"SetTimer", "", 2, 2}, {false, true, true, false}},
                      FaultCase{"AllFromSecond", {"SetTimer", "", 2, 0}, {false, true, true, true}},
                      FaultCase{"OtherProgram", {"SetTimer", "b", 1, 0}, {false, false}},
                      FaultCase{"SameProgram", {"SetTimer", "a", 2, 1}, {false, true, false}},
                      FaultCase{"OtherFunction", {"PostMessageW", "", 1, 0}, {false, false}}),
    [](const auto& info) { return std::string(info.param.name); });
