// What must hold on the device after every step of a sweep, whatever call failed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device_checks.h"
#include "pocket_device.h"
#include "sweep.h"

namespace sweep {

class Invariants {
public:
    // Takes the state the device starts from: the counter set up before the first step.
    Invariants(const pocket::PocketDevice& device, std::optional<FaultPoint> fault);

    // Everything wrong after a step that began at virtual time `stepStart`.
    std::vector<std::string> check(const pocket::PocketDevice& device, const Step& step, std::uint64_t stepStart);

private:
    void checkProcesses(const pocket::PocketDevice& device, std::vector<std::string>& out) const;
    void checkCounter(const pocket::PocketDevice& device, const Step& step, std::uint64_t stepStart,
                      std::vector<std::string>& out);
    void checkTaskbar(const pocket::PocketDevice& device, std::vector<std::string>& out) const;
    bool tolerated(const pocket::Leftover& leftover) const;

    std::optional<FaultPoint> fault_;
    std::size_t errorsSeen_ = 0;
    std::optional<DWORD> counter_;       // the stored battery counter as last seen
    std::uint64_t counterSeenSince_ = 0;  // start of the step after which it was first seen so
};

}  // namespace sweep
