// RIFF/WAVE files: what the sounds a program plays say about themselves.
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

}  // namespace sim
