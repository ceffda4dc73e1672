// Many seeds, spread over worker processes: each run is independent, and a process per core keeps
// every core busy (a device lives on one OS thread).
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "explorer.h"

namespace explore {

struct SeedRunOptions {
    std::uint64_t first = 1;
    std::uint64_t count = 1;
    std::uint64_t steps = 1500;
    ModelFlaw flaw = ModelFlaw::None;
    std::map<std::string, std::string> images;
    unsigned jobs = 1;
    bool progress = false;  // a line on standard error that keeps being redrawn
    // Where a failing seed is written as a shrunk pocketsim script ("" for nowhere).
    std::string scriptDir;
};

struct SeedRunSummary {
    std::uint64_t seeds = 0;
    std::uint64_t steps = 0;
    std::uint64_t failed = 0;
    double seconds = 0;
};

// Runs the seeds, printing each failure to `out` (in seed order at the end) and the summary.
SeedRunSummary runSeeds(const SeedRunOptions& options, std::FILE* out);

}  // namespace explore
