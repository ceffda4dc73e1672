// Wave-out: the volume of device 0, and the sounds played through it, one at a time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "wave.h"

namespace sim {

class Audio {
public:
    // Low word the left channel, high word the right.
    DWORD volume = 0xFFFFFFFF;

    // Starts a sound lasting until `end`, ending the one that plays; `started` is its entry in
    // the journal. Returns the sound's number.
    std::uint64_t play(std::uint64_t started, std::uint64_t end, std::uint64_t now);
    // Ends the sound that plays, if any; returns its journal entry.
    std::optional<std::uint64_t> stop(std::uint64_t now);
    bool playing(std::uint64_t now) const { return current_.number && current_.end > now; }
    // When sound `number` ends (or ended, if a later one cut it).
    std::uint64_t endOf(std::uint64_t number) const { return number == current_.number ? current_.end : 0; }

private:
    struct Sound {
        std::uint64_t number = 0;  // 0: none yet
        std::uint64_t started = 0;
        std::uint64_t end = 0;
    };
    Sound current_;
    std::uint64_t played_ = 0;
};

}  // namespace sim
