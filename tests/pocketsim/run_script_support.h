// Runs a script through pocketsim's runner in memory, for the tests of its commands.
#pragma once

#include <gtest/gtest.h>

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

// A script that must end the run as failed, and what the last line's complaint says.
struct Refusal {
    std::string script;
    std::string error;
};

template <std::size_t N>
void expectRefusals(const Refusal (&cases)[N]) {
    for (const Refusal& c : cases) {
        const Outcome r = run(c.script);
        EXPECT_EQ(r.exit, pocketsim::kFailed) << c.script << r.out;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << c.script << "\n" << r.err;
    }
}

}  // namespace pocketsim_test
