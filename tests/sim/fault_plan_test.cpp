// Which occurrences of a call the fault plan makes fail.
#include <gtest/gtest.h>

#include "fault_plan.h"

namespace {

struct FaultCase {
    const char* name;
    sim::FaultRule rule;
    std::vector<bool> expected;  // for calls 1..n of "F" by program "a"
};

class FaultPlanRules : public ::testing::TestWithParam<FaultCase> {};

}  // namespace

TEST_P(FaultPlanRules, FailTheChosenOccurrences) {
    sim::FaultPlan plan;
    plan.add(GetParam().rule);
    std::vector<bool> got;
    for (std::size_t i = 0; i < GetParam().expected.size(); ++i) {
        plan.shouldFail("Other", "a");
        got.push_back(plan.shouldFail("F", "a"));
    }
    EXPECT_EQ(got, GetParam().expected);
    EXPECT_EQ(plan.occurrences("F"), GetParam().expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultPlanRules,
    ::testing::Values(FaultCase{"First", {"F", "", 1, 1}, {true, false, false}},
                      FaultCase{"Third", {"F", "", 3, 1}, {false, false, true, false}},
                      FaultCase{"TwoFromSecond", {"F", "", 2, 2}, {false, true, true, false}},
                      FaultCase{"AllFromSecond", {"F", "", 2, 0}, {false, true, true, true}},
                      FaultCase{"OtherProgram", {"F", "b", 1, 0}, {false, false}},
                      FaultCase{"SameProgram", {"F", "a", 2, 1}, {false, true, false}},
                      FaultCase{"OtherFunction", {"G", "", 1, 0}, {false, false}}),
    [](const auto& info) { return std::string(info.param.name); });
