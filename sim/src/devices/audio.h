// Wave-out: the volume of device 0, and the sounds played through it, one at a time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

namespace sim {

// What a RIFF/WAVE file says about itself; enough to know how long it plays.
struct WaveInfo {
    WORD formatTag = 0;
    WORD channels = 0;
    DWORD samplesPerSecond = 0;
    DWORD bytesPerSecond = 0;
    WORD blockAlign = 0;
    WORD bitsPerSample = 0;
    DWORD dataBytes = 0;           // of the data chunk, as far as the file really holds it
    std::uint64_t durationMs = 0;  // dataBytes / bytesPerSecond, rounded up
};

// Empty when the bytes are not a WAVE file with a format chunk, a non-zero byte rate and a data chunk.
std::optional<WaveInfo> parseWave(std::span<const std::uint8_t> bytes);

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
