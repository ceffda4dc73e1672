// The device itself, as every facet of the harness shares it: its clock, its screen, the journal
// of what happened on it, and the simulation's errors. The device's insides stay behind it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device_config.h"
#include "journal.h"
#include "views.h"

namespace sim {
class Device;
}

namespace pocket {

class DeviceCore {
public:
    explicit DeviceCore(sim::DeviceConfig config);
    ~DeviceCore();
    DeviceCore(const DeviceCore&) = delete;
    DeviceCore& operator=(const DeviceCore&) = delete;

    const sim::DeviceConfig& config() const;

    // Time. advance() and runUntilIdle() run every thread that can run.
    void setTickCount(std::uint32_t tick);
    std::uint32_t tickCount() const;
    std::uint64_t now() const;
    void advance(std::uint64_t milliseconds);
    // Ends early, at that instant, once a thread is stopped at a stop set with stopAt().
    void advanceUntilStop(std::uint64_t milliseconds);
    void runUntilIdle();

    int screenWidth() const { return config().screenWidth; }
    int screenHeight() const { return config().screenHeight; }

    // Posts a message to a window as the system would (no sender); false when it cannot be posted.
    // The device does not run: runUntilIdle() lets the window handle it.
    bool postMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // The journal: everything that happened, in order. A mark is where a reader starts.
    const sim::Journal& journal() const;
    std::uint64_t mark() const;
    // Keeps at most `entries` (the oldest go first), for long runs.
    void limitJournal(std::size_t entries);
    // Platform calls are recorded only from here on (they are many).
    void recordCalls(bool on = true);
    // The calls recorded from `mark` on, of one program's code or of all.
    std::vector<CallView> calls(std::uint64_t mark = 0, const std::string& program = "") const;
    std::vector<std::string> callNames(std::uint64_t mark = 0, const std::string& program = "") const;
    // What one window procedure received (of one window, or of any for NULL), from `mark` on.
    std::vector<sim::ReceivedMessage> deliveries(const void* procedure, HWND hwnd, std::uint64_t mark = 0) const;

    // The simulation's errors since the device booted or since clearErrors().
    std::vector<std::string> errors() const;
    void clearErrors();

protected:
    sim::Device& simulation() { return *owned_; }
    const sim::Device& simulation() const { return *owned_; }

private:
    friend struct InsideAccess;  // the simulation's own tests reach the device's insides through it
    std::unique_ptr<sim::Device> owned_;
    std::uint64_t errorsMark_ = 0;
};

// The base of every facet: the device it works on.
class Facet {
protected:
    explicit Facet(sim::Device& device) : device_(device) {}
    sim::Device& device_;
};

}  // namespace pocket
