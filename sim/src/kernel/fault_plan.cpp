#include "fault_plan.h"

#include "calls.h"

namespace sim {

namespace {

std::size_t indexOf(const std::string& function) { return platformCallIndex(function); }

std::uint64_t at(const std::vector<std::uint64_t>& counts, std::size_t index) {
    return index < counts.size() ? counts[index] : 0;
}

std::map<std::string, std::uint64_t> byName(const std::vector<std::uint64_t>& counts) {
    std::map<std::string, std::uint64_t> out;
    const auto calls = platformCalls();
    for (std::size_t i = 0; i < counts.size(); ++i)
        if (counts[i]) out[calls[i].name] = counts[i];
    return out;
}

}  // namespace

void FaultPlan::add(FaultRule rule) {
    const std::size_t index = indexOf(rule.function);
    rules_.push_back(Rule{std::move(rule), index});
}

std::vector<std::uint64_t>& FaultPlan::countsOf(const std::string& process) {
    for (ProcessCounts& p : perProcess_)
        if (p.process == process) return p.counts;
    perProcess_.push_back(ProcessCounts{process, std::vector<std::uint64_t>(platformCalls().size())});
    return perProcess_.back().counts;
}

const std::vector<std::uint64_t>* FaultPlan::findCountsOf(const std::string& process) const {
    for (const ProcessCounts& p : perProcess_)
        if (p.process == process) return &p.counts;
    return nullptr;
}

bool FaultPlan::shouldFire(std::size_t callIndex, const std::string& process) {
    if (counts_.empty()) counts_.resize(platformCalls().size());
    // Both counts run from the start, so that a rule added later means the same either way.
    const std::uint64_t anyCount = ++counts_[callIndex];
    const std::uint64_t processCount = ++countsOf(process)[callIndex];
    for (Rule& r : rules_) {
        if (r.callIndex != callIndex) continue;
        const std::uint64_t n = r.rule.process.empty() ? anyCount : (r.rule.process == process ? processCount : 0);
        if (n == 0 || n < r.rule.first) continue;
        if (r.rule.count == 0 || n < r.rule.first + r.rule.count) {
            ++r.fired;
            ++fired_;
            return true;
        }
    }
    return false;
}

std::uint64_t FaultPlan::occurrences(const std::string& function) const { return at(counts_, indexOf(function)); }

std::uint64_t FaultPlan::occurrences(const std::string& function, const std::string& process) const {
    const auto* counts = findCountsOf(process);
    return counts ? at(*counts, indexOf(function)) : 0;
}

std::map<std::string, std::uint64_t> FaultPlan::occurrencesOf(const std::string& process) const {
    const auto* counts = findCountsOf(process);
    return counts ? byName(*counts) : std::map<std::string, std::uint64_t>{};
}

std::map<std::string, std::uint64_t> FaultPlan::allOccurrences() const { return byName(counts_); }

std::vector<FaultRule> FaultPlan::neverFired() const {
    std::vector<FaultRule> out;
    for (const Rule& r : rules_)
        if (r.fired == 0) out.push_back(r.rule);
    return out;
}

}  // namespace sim
