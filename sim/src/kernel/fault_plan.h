// Which platform calls the driver makes fail, by function name and occurrence.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sim {

struct FaultRule {
    std::string function;     // the entry point's name, e.g. "RegCreateKeyExW"
    // Only calls made by this program's code ("" = any): a procedure it put on another program's
    // window counts as its own, though it runs on that window's thread.
    std::string process;
    std::uint64_t first = 1;  // the first failing occurrence, counted from 1
    std::uint64_t count = 1;  // how many occurrences from `first` fail (0 = all from then on)
};

class FaultPlan {
public:
    void add(FaultRule rule) { rules_.push_back(std::move(rule)); }
    bool empty() const { return rules_.empty(); }
    // Counts the call only while there are rules; for plans that are rarely used, such as stops.
    bool shouldStop(const std::string& function, const std::string& process) {
        return !rules_.empty() && shouldFail(function, process);
    }
    void clear() { rules_.clear(); }

    // Counts one call of `function` made by `process` and says whether it fails.
    bool shouldFail(const std::string& function, const std::string& process);
    // Calls counted so far, by function name; what a sweep uses to know which occurrences exist.
    std::uint64_t occurrences(const std::string& function) const;
    std::uint64_t occurrences(const std::string& function, const std::string& process) const;
    // One program's calls so far, by function name: the failure points a sweep of it goes through.
    std::map<std::string, std::uint64_t> occurrencesOf(const std::string& process) const;
    const std::map<std::string, std::uint64_t>& allOccurrences() const { return counts_; }
    std::uint64_t injected() const { return injected_; }

private:
    std::vector<FaultRule> rules_;
    std::map<std::string, std::uint64_t> counts_;
    std::map<std::pair<std::string, std::string>, std::uint64_t> perProcess_;
    std::uint64_t injected_ = 0;
};

}  // namespace sim
