#pragma once

#include "serve_device.h"
#include "serve_journal.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace screen {

using Renderer = std::function<std::string(std::string_view description)>;  // PNG bytes

struct Outcome {
    Status status = Status::ok;
    std::vector<std::string> lines;  // every answer line, in order
    std::vector<std::string> ran;    // the lines that went to the device
    std::uint64_t version = 0;       // the screen's version after it
};

struct Picture {
    std::uint64_t version = 0;
    std::shared_ptr<const std::string> png;
};

struct ScreenSize {
    int width = 240;
    int height = 320;
};

// The device as the pages see it: what they do is journalled, and its screen has a version that
// moves with every action, so that a picture is made once per version.
class LiveDevice {
public:
    // Boots the device with its shell, so that the taskbar is there from the start; throws when it cannot.
    LiveDevice(const std::vector<std::string>& argv, Renderer render);

    Outcome command(std::string_view line);
    Outcome touch(std::string_view kind, int x, int y);  // kind: down, move, up or tap
    Picture picture();  // throws std::runtime_error when the device has stopped
    std::string layout();  // its screen description; throws as picture() does
    ScreenSize screenSize() const;
    std::uint64_t version() const { return version_; }
    std::optional<std::string> stopped() { return device_.stopped(); }
    Journal& journal() { return journal_; }

private:
    void runJournalled(std::string_view line, std::string source, Outcome& outcome);
    std::vector<std::string> ask(std::string_view line);  // a show line's answer, not journalled
    std::string describe();  // with actions_ held

    Device device_;
    Journal journal_;
    Renderer render_;
    std::mutex actions_;  // a touch's lines run together, and the version moves with the screen
    std::atomic<std::uint64_t> version_{1};
    mutable std::mutex cacheMutex_;
    Picture cached_;
    ScreenSize size_;
};

}  // namespace screen
