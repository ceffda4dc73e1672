#pragma once

#include "serve_child.h"

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace screen {

enum class Status { ok, failed, malformed, stopped };

std::string_view statusName(Status status);

struct Answer {
    Status status = Status::stopped;
    std::vector<std::string> lines;  // what the device printed for it, without the closing status line
};

// One pocketsim --interactive, driven a line at a time. Once it dies or stops answering, every
// later line is answered Status::stopped at once, with why.
class Device {
public:
    Device(const std::vector<std::string>& argv, std::chrono::milliseconds answerTimeout);

    Answer run(std::string_view line);  // the line must hold no line feed
    std::optional<std::string> stopped();  // why, once it has: also when it died between two lines

private:
    Answer stop(std::string why);

    std::mutex mutex_;
    ChildProcess child_;
    std::chrono::milliseconds answerTimeout_;
    std::optional<std::string> stopped_;
};

}  // namespace screen
