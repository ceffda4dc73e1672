// Pictures of a run: one after each line that changed the screen (--screens), and an HTML
// filmstrip of every line with what it did and the screen after it (--report).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "script_runner.h"

namespace pocketsim {

class ScreenFilm {
public:
    // Empty `screensDir` and `reportPath`: nothing is kept.
    ScreenFilm(std::string screensDir, std::string reportPath, std::string scriptName);
    void add(LineRunner& runner, const ScriptLine& line, const LineRunner::Result& result, std::ostream& err);
    // Writes the report; returns `status`, or kFailed when a picture or the report could not be written.
    int finish(int status, std::ostream& err);

private:
    struct Frame {
        std::size_t number = 0;
        std::vector<std::string> printed;
        std::string complaint;
        std::string picture;  // PNG bytes; empty when the screen did not change
    };
    bool keeping() const { return !screensDir_.empty() || !reportPath_.empty(); }
    std::string screensDir_;
    std::string reportPath_;
    std::string scriptName_;
    std::string lastScreen_;
    std::vector<Frame> frames_;
    bool failed_ = false;
};

}  // namespace pocketsim
