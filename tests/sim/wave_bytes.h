// Small RIFF/WAVE files for tests, built byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wave {

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void chunk(std::vector<std::uint8_t>& out, const char* tag, const std::vector<std::uint8_t>& body,
                  std::uint32_t declared) {
    out.insert(out.end(), tag, tag + 4);
    put32(out, declared);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
}
inline std::vector<std::uint8_t> format(std::uint32_t bytesPerSecond, std::uint16_t blockAlign = 1) {
    std::vector<std::uint8_t> fmt;
    put16(fmt, 1);  // PCM
    put16(fmt, 1);
    put32(fmt, bytesPerSecond / blockAlign);
    put32(fmt, bytesPerSecond);
    put16(fmt, blockAlign);
    put16(fmt, static_cast<std::uint16_t>(8 * blockAlign));
    return fmt;
}
inline std::vector<std::uint8_t> riff(const std::vector<std::uint8_t>& chunks) {
    std::vector<std::uint8_t> out{'R', 'I', 'F', 'F'};
    put32(out, static_cast<std::uint32_t>(4 + chunks.size()));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}

// A PCM file that plays dataBytes / bytesPerSecond seconds.
inline std::vector<std::uint8_t> pcm(std::uint32_t bytesPerSecond, std::uint32_t dataBytes) {
    std::vector<std::uint8_t> chunks;
    chunk(chunks, "fmt ", format(bytesPerSecond), 16);
    chunk(chunks, "data", std::vector<std::uint8_t>(dataBytes, 0x80), dataBytes);
    return riff(chunks);
}

}  // namespace wave
