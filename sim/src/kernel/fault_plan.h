// Which platform calls the driver makes fail (or stops a thread in), by function name and occurrence.
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
    // A function the platform does not have never fires.
    void add(FaultRule rule);
    bool empty() const { return rules_.empty(); }
    void clear() { rules_.clear(); }

    // Counts one call of the function at `callIndex` (in the list of platform calls) made by `process`
    // and says whether a rule picks it.
    bool shouldFire(std::size_t callIndex, const std::string& process);
    // Calls counted so far, by function name; what a sweep uses to know which occurrences exist.
    std::uint64_t occurrences(const std::string& function) const;
    std::uint64_t occurrences(const std::string& function, const std::string& process) const;
    // One program's calls so far (or everyone's), by function name: the points a sweep goes through.
    std::map<std::string, std::uint64_t> occurrencesOf(const std::string& process) const;
    std::map<std::string, std::uint64_t> allOccurrences() const;
    std::uint64_t fired() const { return fired_; }
    // The rules that have not picked a single call yet.
    std::vector<FaultRule> neverFired() const;

private:
    struct Rule {
        FaultRule rule;
        std::size_t callIndex;
        std::uint64_t fired = 0;
    };
    struct ProcessCounts {
        std::string process;
        std::vector<std::uint64_t> counts;  // by call index
    };
    std::vector<std::uint64_t>& countsOf(const std::string& process);
    const std::vector<std::uint64_t>* findCountsOf(const std::string& process) const;

    std::vector<Rule> rules_;
    std::vector<std::uint64_t> counts_;  // by call index
    std::vector<ProcessCounts> perProcess_;
    std::uint64_t fired_ = 0;
};

}  // namespace sim
