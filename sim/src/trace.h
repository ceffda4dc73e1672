// Record of the platform calls programs make, for tests where the order of calls is the behaviour.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace sim {

struct TraceRecord {
    std::uint64_t sequence = 0;  // calls are numbered as they start, so nested calls follow their caller
    std::uint64_t time;   // virtual milliseconds since boot
    std::uint32_t thread;
    std::string process;
    std::string function;
    std::string args;     // comma-separated, as the call received them
    std::string result;
    bool injectedFault = false;
};

class Trace {
public:
    bool enabled() const { return enabled_; }
    // Keeps at most `capacity` records, dropping the oldest (0 = unbounded).
    void enable(std::size_t capacity = 0) {
        enabled_ = true;
        capacity_ = capacity;
    }
    void disable() { enabled_ = false; }
    void clear() { records_.clear(); }

    // Records a call as it starts; its result comes with `finish` when it returns.
    std::uint64_t begin(TraceRecord record) {
        record.sequence = next_++;
        records_.push_back(std::move(record));
        if (capacity_ && records_.size() > capacity_) records_.pop_front();
        return records_.back().sequence;
    }
    void finish(std::uint64_t sequence, std::string result, bool injectedFault) {
        if (records_.empty() || sequence < records_.front().sequence) return;  // dropped from the ring
        const std::uint64_t index = sequence - records_.front().sequence;
        if (index >= records_.size()) return;
        records_[index].result = std::move(result);
        records_[index].injectedFault = injectedFault;
    }
    const std::deque<TraceRecord>& records() const { return records_; }
    // Names of the recorded calls, optionally only those of one process.
    std::vector<std::string> functions(const std::string& process = "") const;

private:
    bool enabled_ = false;
    std::size_t capacity_ = 0;
    std::uint64_t next_ = 0;
    std::deque<TraceRecord> records_;
};

}  // namespace sim
