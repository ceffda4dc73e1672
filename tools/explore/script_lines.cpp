#include "script_lines.h"

#include <cstdio>

namespace explore {

std::string scriptWord(const std::string& text) {
    if (!text.empty() && text.find_first_of(" \t\"\\#") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string handleWord(HWND hwnd) {
    char text[32];
    std::snprintf(text, sizeof text, "hwnd=0x%08lX", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(hwnd)));
    return text;
}

std::string hexWords(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return "\"\"";
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string powerLine(const PowerSample& power) {
    return "power line=" + std::to_string(power.acLine) + " " + std::to_string(power.percent) +
           " flag=" + std::to_string(power.flag);
}

std::string powerRecordLine(const SYSTEM_POWER_STATUS_EX& record) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    return "power record " + hexWords(std::vector<std::uint8_t>(bytes, bytes + sizeof record));
}

std::string displayLine(const pocket::DisplayDriverSettings& display) {
    return std::string("display driver power-management ") + (display.supportsPowerManagement ? "on" : "off") +
           " state " + std::to_string(display.powerState) + " length " + std::to_string(display.reportedLength);
}

}  // namespace explore
