// The one table of names for what the journal records: messages, errors, modifiers, escapes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

namespace sim {

struct NamedValue {
    std::uint32_t value;
    const char* name;
};

std::span<const NamedValue> messageNames();
// Without their "ERROR_" prefix.
std::span<const NamedValue> errorNames();
std::span<const NamedValue> modifierNames();
std::span<const NamedValue> escapeNames();

// "WM_TIMER (0x0113)", "WM_APP+1 (0x8001)", "0x0400" for one without a name.
std::string messageName(UINT message);
// "ERROR_MORE_DATA", or "error 1234" for one without a name.
std::string errorName(DWORD code);
// "MOD_ALT|MOD_KEYUP", "none".
std::string modifierText(UINT modifiers);
// "SETPOWERMANAGEMENT (6147)", or the number.
std::string escapeName(int escape);

}  // namespace sim
