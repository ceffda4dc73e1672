// Wave-out: the volume of device 0, and the sounds played through it, one at a time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

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

struct SoundRecord {
    std::u16string path;  // as the program gave it
    std::uint32_t pid = 0;
    std::uint64_t start = 0;
    std::uint64_t plannedEnd = 0;
    std::uint64_t actualEnd = 0;  // earlier than plannedEnd when a later sound or a stop cut it short
    bool async = false;
    bool cut() const { return actualEnd < plannedEnd; }
};

struct VolumeWrite {
    std::uint64_t time = 0;
    std::uint32_t pid = 0;
    DWORD volume = 0;
};

class Audio {
public:
    // Low word the left channel, high word the right.
    DWORD volume = 0xFFFFFFFF;

    void recordVolumeWrite(const VolumeWrite& write) { volumeWrites_.push_back(write); }
    const std::vector<VolumeWrite>& volumeWrites() const { return volumeWrites_; }

    // Starts a sound, ending the one that plays; returns its index in sounds().
    std::size_t play(SoundRecord sound, std::uint64_t now);
    // Ends the sound that plays, if any.
    void stop(std::uint64_t now);
    // The sound still playing at `now`.
    std::optional<std::size_t> playing(std::uint64_t now) const;
    const std::vector<SoundRecord>& sounds() const { return sounds_; }

private:
    std::vector<SoundRecord> sounds_;
    std::vector<VolumeWrite> volumeWrites_;
};

}  // namespace sim
