// What happened on the device, read from its journal: the lines a script's output shows under
// the command that brought it about.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "commands.h"

namespace pocketsim {

class JournalReport {
public:
    JournalReport(const pocket::PocketDevice& device, const ScriptState& state);
    // Lines for everything recorded since the last call (or since the report was made), in the
    // order it happened; only the last few of a kind when there are many.
    std::vector<std::string> next();

private:
    const pocket::PocketDevice& device_;
    const ScriptState& state_;
    std::uint64_t mark_;
};

}  // namespace pocketsim
