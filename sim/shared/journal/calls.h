// Every platform entry point the simulation provides, and whether the driver can make it fail
// (only calls that can really fail with the caller's arguments ask).
#pragma once

#include <span>
#include <string_view>

namespace sim {

struct PlatformCall {
    const char* name;
    bool canFail;
};

// In name order (as strcmp orders them).
std::span<const PlatformCall> platformCalls();
const PlatformCall* findPlatformCall(std::string_view name);
// Where a call is in platformCalls(): a small number that stands for its name.
std::size_t platformCallIndex(const PlatformCall& call);

}  // namespace sim
