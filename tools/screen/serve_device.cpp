#include "serve_device.h"

namespace screen {

std::string_view statusName(Status status) {
    switch (status) {
    case Status::ok: return "ok";
    case Status::failed: return "failed";
    case Status::malformed: return "malformed";
    case Status::stopped: return "stopped";
    }
    return "stopped";
}

Device::Device(const std::vector<std::string>& argv, std::chrono::milliseconds answerTimeout)
    : child_(argv), answerTimeout_(answerTimeout) {}

Answer Device::run(std::string_view line) {
    std::lock_guard lock(mutex_);
    if (stopped_) return {Status::stopped, {*stopped_}};
    if (!child_.writeLine(line)) return stop("the device stopped reading");
    Answer answer;
    const auto deadline = std::chrono::steady_clock::now() + answerTimeout_;
    while (const auto got = child_.readLine(deadline)) {
        if (*got == ".ok") answer.status = Status::ok;
        else if (*got == ".failed") answer.status = Status::failed;
        else if (*got == ".malformed") answer.status = Status::malformed;
        else {
            answer.lines.push_back(*got);
            continue;
        }
        return answer;
    }
    // A child that neither answers nor ends would hold every later request: it is ended.
    const bool timedOut = std::chrono::steady_clock::now() >= deadline;
    Answer stopped = stop(timedOut ? "the device did not answer \"" + std::string(line) + "\" in time" : "the device ended");
    answer.lines.insert(answer.lines.end(), stopped.lines.begin(), stopped.lines.end());
    answer.status = Status::stopped;
    return answer;
}

std::optional<std::string> Device::stopped() {
    std::lock_guard lock(mutex_);
    if (!stopped_) {
        if (const auto how = child_.exited()) stopped_ = "the device ended (pocketsim " + *how + ")";
    }
    return stopped_;
}

Answer Device::stop(std::string why) {
    stopped_ = why + " (pocketsim " + child_.stop() + ")";
    return {Status::stopped, {*stopped_}};
}

}  // namespace screen
