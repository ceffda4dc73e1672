#include "wave.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

DWORD le32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<DWORD>(b[at]) | static_cast<DWORD>(b[at + 1]) << 8 | static_cast<DWORD>(b[at + 2]) << 16 |
           static_cast<DWORD>(b[at + 3]) << 24;
}

WORD le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<WORD>(b[at] | b[at + 1] << 8);
}

bool tagIs(std::span<const std::uint8_t> b, std::size_t at, const char (&tag)[5]) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

}  // namespace

std::optional<WaveInfo> parseWave(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || !tagIs(bytes, 0, "RIFF") || !tagIs(bytes, 8, "WAVE")) return std::nullopt;
    // The RIFF size may overstate the file (a cut download); only what is there counts.
    const std::uint64_t riffEnd = std::min<std::uint64_t>(8 + static_cast<std::uint64_t>(le32(bytes, 4)), bytes.size());
    WaveInfo info;
    bool haveFormat = false;
    bool haveData = false;
    std::uint64_t at = 12;
    while (at + 8 <= riffEnd && !(haveFormat && haveData)) {
        const std::uint64_t size = le32(bytes, static_cast<std::size_t>(at + 4));
        const std::uint64_t body = at + 8;
        const std::uint64_t available = std::min(size, riffEnd - body);
        if (tagIs(bytes, static_cast<std::size_t>(at), "fmt ")) {
            if (available < 16) return std::nullopt;
            const auto b = static_cast<std::size_t>(body);
            info.formatTag = le16(bytes, b);
            info.channels = le16(bytes, b + 2);
            info.samplesPerSecond = le32(bytes, b + 4);
            info.bytesPerSecond = le32(bytes, b + 8);
            info.blockAlign = le16(bytes, b + 12);
            info.bitsPerSample = le16(bytes, b + 14);
            haveFormat = true;
        } else if (tagIs(bytes, static_cast<std::size_t>(at), "data")) {
            info.dataBytes = static_cast<DWORD>(available);
            haveData = true;
        }
        at = body + size + (size & 1);  // chunks are padded to an even size
    }
    if (!haveFormat || !haveData || info.bytesPerSecond == 0) return std::nullopt;
    const std::uint64_t milliBytes = static_cast<std::uint64_t>(info.dataBytes) * 1000;
    info.durationMs = (milliBytes + info.bytesPerSecond - 1) / info.bytesPerSecond;
    return info;
}

}  // namespace sim
