// Names the explorer's events and checks share.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace explore {

// The battery monitor's notification class.
inline constexpr CLSID kMonitorClsid = {0xCFC24712, 0x2A07, 0x4ACA, {0x8D, 0x8C, 0x46, 0xFB, 0x8B, 0x7C, 0x55, 0xF5}};
inline const std::string kMonitorClsidText = "{CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5}";
inline const std::string kCounterKey = "HKCU\\Software\\Orvalen\\VoltmaraPPC";

inline std::string hex(std::uint64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), digits[value % 16]);
        value /= 16;
    } while (value);
    return "0x" + out;
}

}  // namespace explore
