#include "format.h"

#include <cinttypes>
#include <cstdio>

#include "describe.h"
#include "utf.h"

namespace pocketsim {

namespace {

std::string acLineName(BYTE ac) {
    switch (ac) {
    case AC_LINE_OFFLINE: return "offline";
    case AC_LINE_ONLINE: return "online";
    case AC_LINE_BACKUP_POWER: return "backup power";
    case AC_LINE_UNKNOWN: return "unknown";
    }
    return "?";
}

std::string batteryFlagNames(BYTE flag) {
    if (flag == BATTERY_FLAG_UNKNOWN) return "unknown";
    std::string names;
    const std::pair<BYTE, const char*> bits[] = {{BATTERY_FLAG_HIGH, "high"},         {BATTERY_FLAG_LOW, "low"},
                                                 {BATTERY_FLAG_CRITICAL, "critical"}, {BATTERY_FLAG_CHARGING, "charging"},
                                                 {BATTERY_FLAG_NO_BATTERY, "no battery"}};
    for (const auto& [bit, name] : bits)
        if (flag & bit) names += (names.empty() ? "" : ", ") + std::string(name);
    return names.empty() ? "none" : names;
}

std::string maskNames(DWORD mask) {
    std::string names;
    const std::pair<DWORD, const char*> bits[] = {{SHNUM_PRIORITY, "priority"}, {SHNUM_DURATION, "duration"},
                                                  {SHNUM_ICON, "icon"},         {SHNUM_HTML, "html"},
                                                  {SHNUM_TITLE, "title"}};
    for (const auto& [bit, name] : bits)
        if (mask & bit) names += (names.empty() ? "" : "|") + std::string(name);
    return names.empty() ? "nothing" : names;
}

std::string bytesText(const std::vector<std::uint8_t>& data) {
    if (data.empty()) return "(no bytes)";
    std::string out;
    char byte[4];
    for (std::uint8_t b : data) {
        std::snprintf(byte, sizeof byte, "%02x", b);
        out += (out.empty() ? "" : " ") + std::string(byte);
    }
    return out;
}

// The UTF-16 strings of a REG_SZ or REG_MULTI_SZ; nothing when the data cannot hold such text.
std::optional<std::vector<std::u16string>> registryStrings(const std::vector<std::uint8_t>& data) {
    if (data.size() % 2 != 0) return std::nullopt;
    std::vector<std::u16string> strings(1);
    for (std::size_t i = 0; i < data.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c == 0) strings.emplace_back();
        else strings.back() += c;
    }
    // What follows the last terminator is text too, kept when a value was written without one.
    while (!strings.empty() && strings.back().empty()) strings.pop_back();
    return strings;
}

}  // namespace

std::string timeStamp(std::uint64_t milliseconds) {
    char text[64];
    constexpr std::uint64_t kDay = 24 * 3600 * 1000;
    // Seconds read well for the first day; after that, days and the time of day.
    if (milliseconds < kDay) {
        std::snprintf(text, sizeof text, "[%6" PRIu64 ".%03" PRIu64 "s]", milliseconds / 1000, milliseconds % 1000);
    } else {
        const std::uint64_t ms = milliseconds % kDay;
        std::snprintf(text, sizeof text, "[%" PRIu64 "d %02" PRIu64 ":%02" PRIu64 ":%02" PRIu64 ".%03" PRIu64 "]",
                      milliseconds / kDay, ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    }
    return text;
}

std::string hex(std::uint64_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*" PRIx64, digits, value);
    return text;
}

std::string handleText(const void* handle) {
    return handle ? hex(reinterpret_cast<std::uintptr_t>(handle), 8) : std::string("NULL");
}

std::string quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        // Written as a script would write it in quotes, so that a shown value can be pasted back.
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c == '"' || c == '\\') out += std::string("\\") + c;
        else out += c;
    }
    return out + "\"";
}

std::string powerText(const SYSTEM_POWER_STATUS_EX& s) {
    std::string percent = std::to_string(s.BatteryLifePercent) + " %";
    if (s.BatteryLifePercent > 100) percent += " (not determined)";
    return "AC line " + std::to_string(s.ACLineStatus) + " (" + acLineName(s.ACLineStatus) + "), battery " + percent +
           ", flag " + hex(s.BatteryFlag, 2) + " (" + batteryFlagNames(s.BatteryFlag) + ")";
}

std::string processText(const pocket::ProcessView& p) {
    std::string text = "pid " + std::to_string(p.pid) + " " + p.name + ": ";
    text += p.running ? "running" : "ended, exit code " + std::to_string(p.exitCode.value_or(-1));
    std::string counts;
    for (std::size_t k = 0; k < sim::kHandleKindCount; ++k) {
        const std::int64_t live = p.handles.live[k];
        if (live != 0)
            counts += (counts.empty() ? "" : ", ") + std::string(sim::handleKindName(static_cast<sim::HandleKind>(k))) +
                      " " + std::to_string(live);
    }
    text += p.running ? "; handles: " : "; left open at exit: ";
    text += counts.empty() ? "none" : counts;
    if (p.handles.badReleases) text += "; bad releases: " + std::to_string(p.handles.badReleases);
    return text;
}

std::string windowText(const pocket::WindowView& w) {
    std::string owner = w.pid ? w.process + " (pid " + std::to_string(w.pid) + ")" : w.process;
    return "hwnd " + handleText(w.hwnd) + " class " + quote(w.className) + " title " + quote(w.title) + " of " + owner +
           ", style " + hex(w.style, 8) + (w.exStyle ? ", ex-style " + hex(w.exStyle, 8) : "");
}

std::string timerText(const pocket::TimerView& t, std::uint64_t now) {
    const std::uint64_t left = t.due > now ? t.due - now : 0;
    return t.process + " (pid " + std::to_string(t.pid) + ") hwnd " + handleText(t.hwnd) + " id " +
           std::to_string(t.id) + " every " + std::to_string(t.period) + " ms, next in " + std::to_string(left) +
           " ms " + timeStamp(t.due);
}

std::vector<std::string> notificationText(const pocket::NotificationView& n,
                                          const std::vector<pocket::WindowView>& windows) {
    std::string sink = handleText(n.sink);
    for (const pocket::WindowView& w : windows)
        if (w.hwnd == n.sink) sink += " (" + quote(w.className) + ")";
    std::string icon = n.iconId ? std::to_string(n.iconId) : std::string("none");
    if (n.iconId && !n.iconHandleAlive) icon += " (its handle is destroyed)";
    std::string priority = hex(static_cast<std::uint32_t>(n.priority));
    if (n.priority == SHNP_INFORM) priority += " (inform)";
    else if (n.priority == SHNP_ICONIC) priority += " (iconic)";
    std::string buttons;
    for (unsigned b : n.buttons) buttons += (buttons.empty() ? "cmd:" : ", cmd:") + std::to_string(b);
    return {
        n.clsid + " id " + std::to_string(n.id) + " of pid " + std::to_string(n.pid),
        "  icon " + icon + ", title " + quote(n.title) + ", flags " + hex(n.flags, 2) + ", priority " + priority +
            ", duration " + std::to_string(n.duration) + ", sink " + sink,
        "  buttons: " + (buttons.empty() ? std::string("none") : buttons),
        "  html: " + n.html,
    };
}

std::string historyText(const sim::NotificationEvent& e) {
    std::string call;
    switch (e.call) {
    case sim::NotificationCall::Add: call = "add"; break;
    case sim::NotificationCall::Update: call = "update " + maskNames(e.mask); break;
    case sim::NotificationCall::Remove: call = "remove"; break;
    }
    std::string text = timeStamp(e.time) + " pid " + std::to_string(e.pid) + " " + call + " " +
                       sim::clsidText(e.clsid) + " id " + std::to_string(e.id) + " -> " +
                       std::to_string(static_cast<long long>(e.result));
    if (e.after && e.call != sim::NotificationCall::Remove && e.after->iconResourceId)
        text += ", icon " + std::to_string(e.after->iconResourceId);
    return text;
}

std::string traceText(const pocket::CallView& call) {
    return timeStamp(call.time) + " " + call.process + "/" + std::to_string(call.thread) + " " +
           sim::callText(sim::CallEntry{call.function.c_str(), call.args, call.result, true, call.faulted});
}

std::string registryValueText(const sim::RegistryValue& v) {
    switch (v.type) {
    case REG_DWORD:
        if (v.data.size() == 4) {
            const std::uint32_t value = static_cast<std::uint32_t>(v.data[0]) | (v.data[1] << 8) |
                                        (v.data[2] << 16) | (static_cast<std::uint32_t>(v.data[3]) << 24);
            return "dword " + std::to_string(value) + " (" + hex(value, 8) + ")";
        }
        return "dword of " + std::to_string(v.data.size()) + " bytes: " + bytesText(v.data);
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
        if (auto strings = registryStrings(v.data)) {
            std::string text = v.type == REG_SZ ? "sz" : v.type == REG_EXPAND_SZ ? "expand_sz" : "multi_sz";
            if (strings->empty()) return text + " \"\"";
            for (const std::u16string& s : *strings) text += " " + quote(sim::toUtf8(s));
            return text;
        }
        return "string type " + std::to_string(v.type) + " of an odd " + std::to_string(v.data.size()) +
               " bytes: " + bytesText(v.data);
    case REG_BINARY: return "binary " + bytesText(v.data);
    }
    return "type " + std::to_string(v.type) + ": " + bytesText(v.data);
}

}  // namespace pocketsim
