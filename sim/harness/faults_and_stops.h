// Platform calls made to fail, threads stopped inside them, and the counts both go by.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "device_core.h"

namespace pocket {

class FaultsAndStops : protected Facet {
public:
    // The `occurrence`-th call of `function` (and `count` - 1 after it; 0 = all) fails.
    void failCall(const std::string& function, std::uint64_t occurrence = 1, std::uint64_t count = 1,
                  const std::string& program = "");
    void clearFaults();
    std::uint64_t faultsInjected() const;
    // Calls made so far of a function that can fail (of one program's code, or of all), by name.
    std::uint64_t callCount(const std::string& function, const std::string& program = "") const;
    std::map<std::string, std::uint64_t> callCounts(const std::string& program = "") const;

    // Stops a thread right after the `occurrence`-th call of `function` (by `program`'s threads, or
    // any; counted from the device's start) has had its effect, before it returns; the others run
    // meanwhile until resumeStopped().
    void stopAt(const std::string& function, std::uint64_t occurrence = 1, const std::string& program = "");
    // Calls made so far of any function, by the threads of `program` or of all: what stops count.
    std::uint64_t callsMade(const std::string& function, const std::string& program = "") const;
    std::map<std::string, std::uint64_t> callsMadeBy(const std::string& program) const;
    void clearStops();
    // Faults and stops asked for that have not happened yet, as "SetTimer, call 2 of voltmarap".
    std::vector<std::string> faultsNeverFired() const;
    std::vector<std::string> stopsNeverReached() const;
    std::vector<StoppedThread> stoppedThreads() const;
    void resumeStopped();

protected:
    explicit FaultsAndStops(sim::Device& device) : Facet(device) {}
};

}  // namespace pocket
