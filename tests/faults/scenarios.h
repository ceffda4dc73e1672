// The scenarios each program's sweep goes through, and the steps they share.
#pragma once

#include <string>
#include <vector>

#include "sweep.h"

namespace sweep {

std::vector<Scenario> monitorScenarios();
std::vector<Scenario> bridgeScenarios();
std::vector<Scenario> tapCloseScenarios();
std::vector<Scenario> launcherScenarios();

Step startProgram(const std::string& program, const std::string& why = "start");
Step advance(std::uint64_t milliseconds);
// WM_CLOSE to every window of the program's running copies, posted as another program or the
// system would; nothing when none is left.
Step closeFromOutside(const std::string& program);

constexpr std::uint64_t kSecond = 1000;
constexpr std::uint64_t kSamplePeriod = 5 * kSecond;

}  // namespace sweep
