// Every platform entry point the simulation provides, and whether the driver can make it fail
// (only calls that can really fail with the caller's arguments ask).
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace sim {

struct PlatformCall {
    const char* name;
    bool canFail;
};

// In name order: lookups search them.
inline constexpr std::array<PlatformCall, 82> kPlatformCalls{{
    {"CallWindowProcW", false},
    {"CharNextA", false},
    {"CharPrevA", false},
    {"CloseHandle", false},
    {"CreateMutexW", true},
    {"CreateProcessA", true},
    {"CreateWindowExW", true},
    {"DefWindowProcW", false},
    {"DestroyIcon", false},
    {"DestroyMenu", false},
    {"DestroyWindow", false},
    {"DispatchMessageW", false},
    {"ExtEscape", true},
    {"FindWindowW", false},
    {"GetACP", false},
    {"GetClassNameW", true},
    {"GetCurrentDirectoryA", false},
    {"GetDC", true},
    {"GetDesktopWindow", false},
    {"GetFileAttributesA", true},
    {"GetFileAttributesW", true},
    {"GetForegroundWindow", true},
    {"GetMessageW", false},
    {"GetModuleFileNameA", true},
    {"GetModuleFileNameW", true},
    {"GetStockObject", false},
    {"GetSubMenu", false},
    {"GetSystemMetrics", false},
    {"GetSystemPowerStatusEx", true},
    {"GetTickCount", false},
    {"GetVersionExW", true},
    {"GetWindow", true},
    {"GetWindowLongW", true},
    {"GetWindowRect", true},
    {"InterlockedDecrement", false},
    {"InterlockedIncrement", false},
    {"IsDBCSLeadByte", false},
    {"IsDBCSLeadByteEx", false},
    {"IsWindow", true},
    {"IsWindowEnabled", true},
    {"IsWindowVisible", true},
    {"KillTimer", false},
    {"LoadIconW", true},
    {"LoadImageW", true},
    {"LoadMenuW", true},
    {"LoadStringW", false},
    {"MessageBoxW", true},
    {"MultiByteToWideChar", false},
    {"PeekMessageW", false},
    {"PlaySoundW", true},
    {"PostMessageW", true},
    {"PostQuitMessage", false},
    {"RegCloseKey", false},
    {"RegCreateKeyExW", true},
    {"RegDeleteValueW", true},
    {"RegOpenKeyExA", true},
    {"RegOpenKeyExW", true},
    {"RegQueryValueExA", true},
    {"RegQueryValueExW", true},
    {"RegSetValueExW", true},
    {"RegisterClassW", true},
    {"RegisterHotKey", true},
    {"ReleaseDC", false},
    {"ReleaseMutex", false},
    {"SHNotificationAdd", true},
    {"SHNotificationRemove", true},
    {"SHNotificationUpdate", true},
    {"SendMessageW", false},
    {"SetForegroundWindow", false},
    {"SetTimer", true},
    {"SetWindowLongW", true},
    {"Shell_NotifyIcon", true},
    {"Sleep", false},
    {"SystemParametersInfoW", true},
    {"TrackPopupMenuEx", true},
    {"TranslateMessage", false},
    {"UnregisterClassW", false},
    {"UnregisterHotKey", false},
    {"WideCharToMultiByte", false},
    {"keybd_event", false},
    {"waveOutGetVolume", true},
    {"waveOutSetVolume", true},
}};

constexpr bool callsInNameOrder() {
    for (std::size_t i = 1; i < kPlatformCalls.size(); ++i)
        if (!(std::string_view(kPlatformCalls[i - 1].name) < std::string_view(kPlatformCalls[i].name))) return false;
    return true;
}
static_assert(callsInNameOrder(), "the calls must stay sorted by name");

constexpr std::size_t kNoPlatformCall = kPlatformCalls.size();

constexpr std::size_t platformCallIndex(std::string_view name) {
    std::size_t low = 0, high = kPlatformCalls.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (std::string_view(kPlatformCalls[middle].name) < name) low = middle + 1;
        else high = middle;
    }
    return low < kPlatformCalls.size() && kPlatformCalls[low].name == name ? low : kNoPlatformCall;
}

// An entry point's name, looked up when the simulation is compiled: an entry point missing from
// the list does not build.
struct PlatformCallName {
    consteval PlatformCallName(const char* text) : name(text), index(platformCallIndex(text)) {
        if (index == kNoPlatformCall) throw "not in the list of platform calls";
    }
    const char* name;
    std::size_t index;
};

inline std::span<const PlatformCall> platformCalls() { return kPlatformCalls; }
inline const PlatformCall* findPlatformCall(std::string_view name) {
    const std::size_t index = platformCallIndex(name);
    return index == kNoPlatformCall ? nullptr : &kPlatformCalls[index];
}

}  // namespace sim
