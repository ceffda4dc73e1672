// Windows of programs outside the bundle (a media player, another vendor's window), played by
// hosted processes whose one window records every message it receives.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sim {

class Device;
class Process;

struct ReceivedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::uint64_t time = 0;
};

class StandInLogs {
public:
    void record(HWND hwnd, const ReceivedMessage& message) { logs_[hwnd].push_back(message); }
    // Kept after the window is gone, for the driver to read.
    const std::vector<ReceivedMessage>& of(HWND hwnd) const;
    bool isStandIn(HWND hwnd) const { return logs_.count(hwnd) != 0; }

private:
    std::map<HWND, std::vector<ReceivedMessage>> logs_;
};

// Starts process `program` owning one top-level window of `className` and `title` whose procedure
// records what it receives; WM_CLOSE destroys the window and ends the process. Returns the window,
// or NULL when it could not be made.
HWND startStandIn(Device& device, const std::string& program, const std::u16string& className,
                  const std::u16string& title);

}  // namespace sim
