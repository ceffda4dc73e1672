// The device's virtual clock: moves only when the driver advances it.
#pragma once

#include <cstdint>

namespace sim {

class VirtualClock {
public:
    // Milliseconds since the device booted; never wraps.
    std::uint64_t now() const { return elapsed_; }
    // What GetTickCount reports: the starting tick count plus the elapsed time, modulo 2^32.
    std::uint32_t tickCount() const { return static_cast<std::uint32_t>(startTick_ + elapsed_); }

    void setTickCount(std::uint32_t tick) { startTick_ = static_cast<std::uint32_t>(tick - elapsed_); }
    void advanceTo(std::uint64_t when) {
        if (when > elapsed_) elapsed_ = when;
    }

private:
    std::uint64_t elapsed_ = 0;
    std::uint32_t startTick_ = 0;
};

}  // namespace sim
