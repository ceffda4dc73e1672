// Randomized, deterministic exploration: from a seed, the three device programs run together on
// one simulated device through many steps of random user and platform events, with faults at
// random points, and invariants are checked after every step. The same seed gives the same run.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "monitor_model.h"
#include "pocket_device.h"

namespace explore {

struct ExploreOptions {
    std::uint64_t seed = 1;
    std::uint64_t steps = 1000;
    // A deliberately wrong accounting rule in the model (tests show the runs catch it).
    ModelFlaw flaw = ModelFlaw::None;
    // Program variants to run instead of the built programs: name -> image (a deliberately broken
    // copy, to show the runs catch its fault).
    std::map<std::string, std::string> images;
    // Runs after each step's event, unseen by the models: lets a test change the device behind the
    // programs' backs to show that the checks notice.
    std::function<void(std::uint64_t step, pocket::PocketDevice& device)> tamper;
    // Keeps the run as a pocketsim script (ExploreResult::script): what a failing seed is written as.
    bool recordScript = false;
    // Each step's event as it is carried out (the command's --verbose).
    std::function<void(std::uint64_t step, const std::string& event)> onEvent;
};

struct ExploreResult {
    std::uint64_t seed = 0;
    ModelFlaw flaw = ModelFlaw::None;
    std::map<std::string, std::string> images;
    std::uint64_t stepsRun = 0;       // the failing step included
    std::uint64_t failedStep = 0;     // counted from 0; meaningful when !passed()
    std::string failure;              // the broken invariants, one a line
    // The pocketsim expectations that fail as the invariants did (for those a script can check).
    std::vector<std::string> expectations;
    std::string event;                // the failing step's event
    std::uint64_t hash = 0;           // of every event and what was observed after it
    std::map<std::string, std::uint64_t> counts;  // events by kind, faults, samples, ...
    // With recordScript: the run as pocketsim lines, each step's under a comment naming its event.
    std::vector<std::string> script;
    // And pocketsim expectations of the state the run left the device in: a replay of the script
    // must end the same.
    std::vector<std::string> finalState;

    bool passed() const { return failure.empty(); }
};

ExploreResult explore(const ExploreOptions& options);

// The command line that replays a run up to and including its step `step` (counted from 0).
std::string replayCommand(std::uint64_t seed, std::uint64_t step, ModelFlaw flaw = ModelFlaw::None,
                          const std::map<std::string, std::string>& images = {});

// The command line's names of the model's deliberate flaws ("" for none), and back.
std::string flawName(ModelFlaw flaw);
std::optional<ModelFlaw> flawNamed(const std::string& name);

// What a failed run prints: seed, step, event, broken invariants and how to replay it.
std::string describeFailure(const ExploreResult& result);

}  // namespace explore
