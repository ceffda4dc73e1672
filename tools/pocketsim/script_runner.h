// Runs a whole script: checks every line first, then runs them in order on one device.
#pragma once

#include <iosfwd>
#include <map>
#include <string>

namespace pocketsim {

enum ExitCode { kSuccess = 0, kFailed = 1, kMalformed = 2 };

struct RunOptions {
    bool checkOnly = false;  // stop after checking the lines
    bool progress = false;   // a line on the error stream that keeps being redrawn during long actions
    // Program variants run instead of the built programs: name -> image (a deliberately broken copy).
    std::map<std::string, std::string> images{};
};

// `name` is how messages refer to the script ("battery.pocket", "<stdin>").
int runScript(const std::string& name, std::istream& script, std::ostream& out, std::ostream& err,
              const RunOptions& options = {});

}  // namespace pocketsim
