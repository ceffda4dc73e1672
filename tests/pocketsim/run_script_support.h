// Runs a script through pocketsim's runner in memory, for the tests of its commands.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

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

// A script that must end well and print every line given, in the order given.
struct Printed {
    std::string script;
    std::vector<std::string> lines;
};

template <std::size_t N>
void expectPrinted(const Printed (&cases)[N]) {
    for (const Printed& c : cases) {
        const Outcome r = run(c.script);
        EXPECT_EQ(r.exit, pocketsim::kSuccess) << c.script << r.err;
        std::size_t at = 0;
        for (const std::string& line : c.lines) {
            const std::size_t found = r.out.find(line, at);
            EXPECT_NE(found, std::string::npos) << c.script << "\nmissing after " << at << ": " << line << "\n" << r.out;
            if (found != std::string::npos) at = found + line.size();
        }
    }
}

}  // namespace pocketsim_test
