#include "fault_plan.h"

namespace sim {

bool FaultPlan::shouldFail(const std::string& function, const std::string& process) {
    ++counts_[function];
    if (rules_.empty()) return false;
    const std::uint64_t processCount = ++perProcess_[{function, process}];
    const std::uint64_t anyCount = counts_[function];
    for (const FaultRule& rule : rules_) {
        if (rule.function != function) continue;
        const std::uint64_t n = rule.process.empty() ? anyCount : (rule.process == process ? processCount : 0);
        if (n == 0 || n < rule.first) continue;
        if (rule.count == 0 || n < rule.first + rule.count) {
            ++injected_;
            return true;
        }
    }
    return false;
}

std::uint64_t FaultPlan::occurrences(const std::string& function) const {
    auto it = counts_.find(function);
    return it == counts_.end() ? 0 : it->second;
}

}  // namespace sim
