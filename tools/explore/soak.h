// The soak benchmark: the battery monitor over a whole period of the 32-bit tick count (2^32 ms,
// 49.7 simulated days, about 860,000 samples), with the stored counter and the notification's
// text checked against the model at every sample. Not a test: it prints its wall time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "monitor_model.h"

namespace explore {

struct SoakOptions {
    std::uint64_t duration = 0x100000000ull;  // simulated milliseconds
    std::uint32_t startTick = 0x80000000u;    // the tick count wraps half-way
    std::uint32_t storedCounter = 0xC0000000u;  // the counter wraps after about 12 days on the battery
    ModelFlaw flaw = ModelFlaw::None;           // to show that the checks bite
};

struct SoakResult {
    std::uint64_t samples = 0;
    std::uint64_t checks = 0;
    std::uint64_t notificationUpdates = 0;
    double seconds = 0;
    std::string failure;  // the first broken invariant, empty when all held

    bool passed() const { return failure.empty(); }
};

SoakResult soak(const SoakOptions& options = {});

// Runs the full soak and prints its figures; false when an invariant broke.
bool runSoak(std::FILE* out);

}  // namespace explore
