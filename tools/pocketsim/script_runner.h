// Runs a whole script: checks every line first, then runs them in order on one device. The same
// engine runs lines one at a time for the interactive mode.
#pragma once

#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"

namespace pocketsim {

enum ExitCode { kSuccess = 0, kFailed = 1, kMalformed = 2 };

struct RunOptions {
    bool checkOnly = false;  // stop after checking the lines
    bool progress = false;   // a line on the error stream that keeps being redrawn during long actions
    // Program variants run instead of the built programs: name -> image (a deliberately broken copy).
    std::map<std::string, std::string> images{};
    std::string screensDir{};  // a picture of the screen after each line that changed it
    std::string reportPath{};  // an HTML filmstrip of the run: each line, what it did, the screen after it
};

// `name` is how messages refer to the script ("battery.pocket", "<stdin>").
int runScript(const std::string& name, std::istream& script, std::ostream& out, std::ostream& err,
              const RunOptions& options = {});

// Reads commands one at a time and answers each at once: what the script run would print for
// it, then ".ok", ".failed" or ".malformed" on a line of its own. Returns the status the script
// would have ended with.
int runInteractive(std::istream& in, std::ostream& out, const RunOptions& options = {});

// One script line, read and checked.
struct ScriptLine {
    std::size_t number = 0;
    std::string text;
    ParsedCommand command;
};

// The device a run drives and what a line printed on it.
class LineRunner {
public:
    // Throws std::runtime_error when the device cannot be set up.
    LineRunner(const std::string& name, std::optional<sim::DeviceConfig> boot, const RunOptions& options);
    ~LineRunner();

    struct Result {
        bool ran = true;           // false: an expectation failed or the action could not be done
        std::vector<std::string> printed;  // the lines the run's output shows, the echoed line first
        std::size_t echoed = 0;    // how many of them went to the echo stream already
        std::string complaint;     // for the error stream, when the line failed or the device complained
    };
    // `echo` prints the line before it runs (so that a long advance shows what it is doing).
    Result run(const ScriptLine& line, std::ostream* echo, std::ostream& err);
    // The run's end: device errors, faults never fired, stops never reached; kSuccess when none.
    int finish(std::ostream& err);
    pocket::PocketDevice& device() { return *device_; }
    ScriptState& state() { return state_; }

private:
    std::string name_;
    RunOptions options_;
    std::unique_ptr<pocket::PocketDevice> device_;
    ScriptState state_;
};

// "name:12: what\n    12 | the line": where and what, as compilers say it.
std::string complaint(const std::string& name, std::size_t number, const std::string& text, const std::string& what);

}  // namespace pocketsim
