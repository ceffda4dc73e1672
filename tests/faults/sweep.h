// A fault sweep: a scenario is run once to learn which of its program's calls can fail, then once
// for each of those calls with just that call failing, checking the device after every step.
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "pocket_device.h"

namespace sweep {

// The `occurrence`-th call of `function` made by `program`'s code (counted over all its processes).
struct FaultPoint {
    std::string function;
    std::uint64_t occurrence = 0;
    std::string program;

    auto operator<=>(const FaultPoint&) const = default;
    std::string describe() const;
};

// What is wrong on the device, or "" when nothing is.
using Check = std::function<std::string(const pocket::PocketDevice&)>;

// One thing the user or the platform does. It must cope with whatever an earlier failure left:
// no icon to tap, no menu open, no window to close.
struct Step {
    Step(std::string name, std::function<void(pocket::PocketDevice&)> act, bool mayClearCounter = false)
        : name(std::move(name)), act(std::move(act)), mayClearCounter(mayClearCounter) {}

    std::string name;
    std::function<void(pocket::PocketDevice&)> act;
    // External power or the reset button may bring the stored battery counter down to 0.
    bool mayClearCounter = false;
    Check achieves;  // what the step is there for, checked when nothing fails: the sweep is not vacuous
    Check holds;     // checked after the step in every run, whatever failed
};

struct Scenario {
    std::string program;  // whose calls fail in turn
    std::string name;
    sim::DeviceConfig config;
    std::function<void(pocket::PocketDevice&)> setUp;  // before the first step; may be empty
    std::vector<Step> steps;
};

struct RunResult {
    std::vector<std::string> violations;
    std::vector<FaultPoint> failurePoints;  // every call of the program that could have failed
    std::uint64_t injected = 0;             // faults that actually fired
};

// Runs `scenario` on a fresh device with `fault` failing (none: the counting run). After its steps
// every copy of the program still running is asked to close, as the system would.
RunResult runScenario(const Scenario& scenario, const std::optional<FaultPoint>& fault);

struct SweepResult {
    std::size_t runs = 0;
    std::set<FaultPoint> points;
    std::vector<std::string> failures;  // "<scenario>, <fault>: <what went wrong>"
};

SweepResult sweepScenario(const Scenario& scenario);

}  // namespace sweep
