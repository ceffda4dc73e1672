#include "sweep.h"

#include "invariants.h"
#include "scenarios.h"

namespace sweep {

namespace {

constexpr int kCloseAttempts = 3;
constexpr std::uint64_t kCloseGraceMs = 1000;

// Asks every window of the program's running copies to close, as the system does at shutdown,
// a few times: a failure may have made the first request go unheard.
Step closeWhatStillRuns(const std::string& program) {
    const Step close = closeFromOutside(program);
    return Step{"close what still runs", [program, close](pocket::PocketDevice& device) {
                    for (int attempt = 0; attempt < kCloseAttempts && device.runningCount(program) > 0; ++attempt) {
                        close.act(device);
                        device.advance(kCloseGraceMs);
                    }
                }};
}

std::vector<FaultPoint> failurePointsOf(const pocket::PocketDevice& device, const std::string& program) {
    std::vector<FaultPoint> out;
    for (const auto& [function, count] : device.callCounts(program))
        for (std::uint64_t k = 1; k <= count; ++k) out.push_back(FaultPoint{function, k, program});
    return out;
}

}  // namespace

std::string FaultPoint::describe() const {
    return function + " #" + std::to_string(occurrence) + " of " + program;
}

RunResult runScenario(const Scenario& scenario, const std::optional<FaultPoint>& fault) {
    pocket::PocketDevice device(scenario.config);
    if (scenario.setUp) scenario.setUp(device);
    if (fault) device.failCall(fault->function, fault->occurrence, 1, fault->program);

    RunResult result;
    Invariants invariants(device, fault);
    std::set<std::string> seen;
    std::vector<Step> steps = scenario.steps;
    steps.push_back(closeWhatStillRuns(scenario.program));
    for (const Step& step : steps) {
        const std::uint64_t stepStart = device.now();
        step.act(device);
        std::vector<std::string> wrong = invariants.check(device, step, stepStart);
        if (step.holds) wrong.push_back(step.holds(device));
        if (step.achieves && !fault) wrong.push_back(step.achieves(device));
        // Reported where first seen: what an ended process left stays wrong after every later step.
        for (const std::string& v : wrong)
            if (!v.empty() && seen.insert(v).second) result.violations.push_back("after \"" + step.name + "\": " + v);
    }
    if (device.runningCount(scenario.program) > 0)
        result.violations.push_back(scenario.program + " still runs after being asked to close " +
                                    std::to_string(kCloseAttempts) + " times");

    result.failurePoints = failurePointsOf(device, scenario.program);
    result.injected = device.faultsInjected();
    return result;
}

SweepResult sweepScenario(const Scenario& scenario) {
    SweepResult sweep;
    auto record = [&](const std::string& label, const RunResult& run) {
        ++sweep.runs;
        for (const std::string& v : run.violations) sweep.failures.push_back(scenario.name + ", " + label + ": " + v);
    };

    const RunResult counting = runScenario(scenario, std::nullopt);
    record("no fault", counting);
    for (const FaultPoint& point : counting.failurePoints) {
        sweep.points.insert(point);
        const RunResult run = runScenario(scenario, point);
        record(point.describe() + " failing", run);
        // Up to the fault the run is the counting run again, so the fault must have fired.
        if (run.injected != 1)
            sweep.failures.push_back(scenario.name + ", " + point.describe() + ": " + std::to_string(run.injected) +
                                     " faults fired instead of 1");
    }
    return sweep;
}

}  // namespace sweep
