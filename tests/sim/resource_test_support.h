// What the resource tests share: resource type numbers, languages, and reading built files.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources.h"

namespace resource_test {

using Bytes = std::vector<std::uint8_t>;
using sim::ResourceSet;

using sim::kResourceGroupIcon;
using sim::kResourceIcon;
using sim::kResourceMenu;
using sim::kResourceString;
using sim::kResourceVersion;
constexpr std::uint16_t kJapanese = 0x0411;
constexpr std::uint16_t kEnglishUs = 0x0409;

inline Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t u32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | b.at(at + 3) << 24);
}

inline std::uint16_t u16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

// The resources a program's build produced, read once per test process.
#define BUILT_RESOURCES(function, program)                                                \
    inline const ResourceSet& function() {                                                \
        static const ResourceSet set = ResourceSet::load(POCKET_IMAGE_DIR "/" program ".res"); \
        return set;                                                                       \
    }

}  // namespace resource_test
