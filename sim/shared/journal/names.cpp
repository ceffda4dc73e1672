#include "names.h"

#include <array>
#include <cinttypes>
#include <cstdio>

namespace sim {

namespace {

using Named = NamedValue;

constexpr std::array<Named, 34> kMessages{{
    {WM_NULL, "WM_NULL"},
    {WM_CREATE, "WM_CREATE"},
    {WM_DESTROY, "WM_DESTROY"},
    {WM_MOVE, "WM_MOVE"},
    {WM_SIZE, "WM_SIZE"},
    {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_ENABLE, "WM_ENABLE"},
    {WM_SETTEXT, "WM_SETTEXT"},
    {WM_GETTEXT, "WM_GETTEXT"},
    {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
    {WM_PAINT, "WM_PAINT"},
    {WM_CLOSE, "WM_CLOSE"},
    {WM_QUIT, "WM_QUIT"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
    {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_NOTIFY, "WM_NOTIFY"},
    {WM_HELP, "WM_HELP"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_CHAR, "WM_CHAR"},
    {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
    {WM_SYSKEYUP, "WM_SYSKEYUP"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_TIMER, "WM_TIMER"},
    {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"},
    {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_HOTKEY, "WM_HOTKEY"},
}};

constexpr std::array<NamedValue, 14> kErrors{{
    {0, "SUCCESS"},
    {1, "INVALID_FUNCTION"},
    {2, "FILE_NOT_FOUND"},
    {3, "PATH_NOT_FOUND"},
    {5, "ACCESS_DENIED"},
    {6, "INVALID_HANDLE"},
    {8, "NOT_ENOUGH_MEMORY"},
    {14, "OUTOFMEMORY"},
    {87, "INVALID_PARAMETER"},
    {161, "BAD_PATHNAME"},
    {234, "MORE_DATA"},
    {267, "DIRECTORY"},
    {998, "NOACCESS"},
    {1018, "KEY_DELETED"},
}};

constexpr std::array<Named, 5> kModifiers{
    {{MOD_ALT, "MOD_ALT"}, {MOD_CONTROL, "MOD_CONTROL"}, {MOD_SHIFT, "MOD_SHIFT"}, {MOD_WIN, "MOD_WIN"},
     {MOD_KEYUP, "MOD_KEYUP"}}};

constexpr std::array<Named, 3> kEscapes{{{QUERYESCSUPPORT, "QUERYESCSUPPORT"},
                                         {SETPOWERMANAGEMENT, "SETPOWERMANAGEMENT"},
                                         {GETPOWERMANAGEMENT, "GETPOWERMANAGEMENT"}}};

std::string hex(std::uint64_t value, int digits = 0) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*" PRIx64, digits, value);
    return text;
}

}  // namespace

std::span<const NamedValue> messageNames() { return kMessages; }
std::span<const NamedValue> errorNames() { return kErrors; }
std::span<const NamedValue> modifierNames() { return kModifiers; }
std::span<const NamedValue> escapeNames() { return kEscapes; }

std::string messageName(UINT message) {
    const std::string number = hex(message, 4);
    for (const Named& m : kMessages)
        if (m.value == message) return std::string(m.name) + " (" + number + ")";
    if (message >= WM_APP && message <= 0xBFFF) return "WM_APP+" + std::to_string(message - WM_APP) + " (" + number + ")";
    if (message >= WM_USER && message < WM_APP) return "WM_USER+" + std::to_string(message - WM_USER) + " (" + number + ")";
    return number;
}

std::string errorName(DWORD code) {
    for (const Named& e : kErrors)
        if (e.value == code) return "ERROR_" + std::string(e.name);
    return "error " + std::to_string(code);
}

std::string modifierText(UINT modifiers) {
    std::string names;
    UINT rest = modifiers;
    for (const Named& m : kModifiers) {
        if (!(modifiers & m.value)) continue;
        names += (names.empty() ? "" : "|") + std::string(m.name);
        rest &= ~m.value;
    }
    if (rest) names += (names.empty() ? "" : "|") + hex(rest);
    return names.empty() ? "none" : names;
}

std::string escapeName(int escape) {
    for (const Named& e : kEscapes)
        if (static_cast<int>(e.value) == escape) return std::string(e.name) + " (" + std::to_string(escape) + ")";
    return std::to_string(escape);
}

}  // namespace sim
