#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace screen {

// A child process whose standard input and output are pipes to us; its standard error stays ours.
// Ended (killed if need be) and reaped when this goes.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);  // throws when it cannot start
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool writeLine(std::string_view line);  // false once the child no longer reads
    // One line without its line feed; nullopt at end of output or when the deadline passes.
    std::optional<std::string> readLine(std::chrono::steady_clock::time_point deadline);
    // What it exited with, as words for people, once it has (it is reaped then).
    std::optional<std::string> exited();
    // Ends it now; what it exited with.
    std::string stop();

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffered_;
    std::string exitText_;
};

}  // namespace screen
