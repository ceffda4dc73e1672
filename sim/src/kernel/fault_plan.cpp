#include "fault_plan.h"

namespace sim {

bool FaultPlan::shouldFail(const std::string& function, const std::string& process) {
    // Both counts run from the start, so that a rule added later means the same either way.
    const std::uint64_t anyCount = ++counts_[function];
    const std::uint64_t processCount = ++perProcess_[{function, process}];
    if (rules_.empty()) return false;
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

std::uint64_t FaultPlan::occurrences(const std::string& function, const std::string& process) const {
    auto it = perProcess_.find({function, process});
    return it == perProcess_.end() ? 0 : it->second;
}

std::map<std::string, std::uint64_t> FaultPlan::occurrencesOf(const std::string& process) const {
    std::map<std::string, std::uint64_t> out;
    for (const auto& [key, count] : perProcess_)
        if (key.second == process) out[key.first] = count;
    return out;
}

}  // namespace sim
