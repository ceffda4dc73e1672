#include "calls.h"

#include <algorithm>
#include <array>

namespace sim {

namespace {

constexpr std::array<PlatformCall, 82> kCalls{{
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

constexpr bool inNameOrder() {
    for (std::size_t i = 1; i < kCalls.size(); ++i)
        if (!(std::string_view(kCalls[i - 1].name) < std::string_view(kCalls[i].name))) return false;
    return true;
}
static_assert(inNameOrder(), "the calls must stay sorted by name: lookups search them");

}  // namespace

std::span<const PlatformCall> platformCalls() { return kCalls; }

const PlatformCall* findPlatformCall(std::string_view name) {
    auto it = std::lower_bound(kCalls.begin(), kCalls.end(), name,
                               [](const PlatformCall& call, std::string_view n) { return call.name < n; });
    return it != kCalls.end() && it->name == name ? &*it : nullptr;
}

std::size_t platformCallIndex(const PlatformCall& call) { return static_cast<std::size_t>(&call - kCalls.data()); }

}  // namespace sim
