// Runs a script through pocketsim's runner in memory, for the tests of its commands.
#pragma once

#include <sstream>
#include <string>

#include "script_runner.h"

namespace pocketsim_test {

struct Outcome {
    int exit;
    std::string out;
    std::string err;
};

inline Outcome run(const std::string& script, bool checkOnly = false) {
    std::istringstream in(script);
    std::ostringstream out, err;
    const int exit = pocketsim::runScript("t.pocket", in, out, err, {checkOnly});
    return {exit, out.str(), err.str()};
}

}  // namespace pocketsim_test
