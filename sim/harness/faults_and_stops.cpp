#include "faults_and_stops.h"

#include "device.h"

namespace pocket {

void FaultsAndStops::failCall(const std::string& function, std::uint64_t occurrence, std::uint64_t count,
                              const std::string& program) {
    device_.faults.add(sim::FaultRule{function, program, occurrence, count});
}

void FaultsAndStops::clearFaults() { device_.faults.clear(); }
std::uint64_t FaultsAndStops::faultsInjected() const { return device_.faults.fired(); }

std::uint64_t FaultsAndStops::callCount(const std::string& function, const std::string& program) const {
    return program.empty() ? device_.faults.occurrences(function) : device_.faults.occurrences(function, program);
}

std::map<std::string, std::uint64_t> FaultsAndStops::callCounts(const std::string& program) const {
    return program.empty() ? device_.faults.allOccurrences() : device_.faults.occurrencesOf(program);
}

void FaultsAndStops::stopAt(const std::string& function, std::uint64_t occurrence, const std::string& program) {
    device_.preemptions.add(sim::FaultRule{function, program, occurrence, 1});
}

std::uint64_t FaultsAndStops::callsMade(const std::string& function, const std::string& program) const {
    return program.empty() ? device_.preemptions.occurrences(function)
                           : device_.preemptions.occurrences(function, program);
}

std::map<std::string, std::uint64_t> FaultsAndStops::callsMadeBy(const std::string& program) const {
    return device_.preemptions.occurrencesOf(program);
}

void FaultsAndStops::clearStops() { device_.preemptions.clear(); }

namespace {

std::vector<std::string> describe(const std::vector<sim::FaultRule>& rules) {
    std::vector<std::string> out;
    for (const sim::FaultRule& r : rules)
        out.push_back(r.function + ", call " + std::to_string(r.first) + (r.process.empty() ? "" : " of " + r.process));
    return out;
}

}  // namespace

std::vector<std::string> FaultsAndStops::faultsNeverFired() const { return describe(device_.faults.neverFired()); }
std::vector<std::string> FaultsAndStops::stopsNeverReached() const {
    return describe(device_.preemptions.neverFired());
}

std::vector<StoppedThread> FaultsAndStops::stoppedThreads() const {
    std::vector<StoppedThread> out;
    for (const auto& thread : device_.scheduler.threads())
        if (!thread->parkedAt.empty())
            out.push_back(StoppedThread{thread->id(), thread->process() ? thread->process()->name : "", thread->parkedAt});
    return out;
}

void FaultsAndStops::resumeStopped() {
    for (const auto& thread : device_.scheduler.threads()) thread->parkedAt.clear();
    device_.runUntilIdle();
}

}  // namespace pocket
