// A failing seed as a pocketsim script: the run replayed in script terms, shrunk while pocketsim
// still fails it the same way, so that the failure becomes a short regression test.
#pragma once

#include <cstddef>
#include <string>

#include "explorer.h"

namespace explore {

struct FailureScript {
    std::string path;              // empty when none could be written
    std::size_t commands = 0;      // lines that are commands, not comments
    std::size_t steps = 0;         // the run's steps it came from
    bool failsTheSameWay = false;  // pocketsim fails it as the run failed
    std::string how;               // what pocketsim reports, or why it cannot
    std::string command;           // how to run it
};

// Replays `failed` (run with `options`) recording it, shrinks the script (whole steps, then
// single lines, then waits made shorter) for as long as pocketsim still reports the same error or
// the same expectation failing, and writes it to `dir`/seed-N.pocket.
FailureScript writeFailureScript(const ExploreResult& failed, const ExploreOptions& options, const std::string& dir);

// "  script: DIR/seed-7.pocket, 12 commands from 240 steps; pocketsim ... fails it the same way".
std::string describeScript(const FailureScript& script);

}  // namespace explore
