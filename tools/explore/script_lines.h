// The explorer's events as pocketsim lines: the words, quoted where they must be.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "notification_text.h"
#include "views.h"

namespace explore {

// A word as a script gives it: in double quotes, with \" and \\, when it holds a blank, a quote,
// a backslash or a '#', or is empty.
std::string scriptWord(const std::string& text);
// "hwnd=0x00010014".
std::string handleWord(HWND hwnd);
// Bytes as hex digits, "" for none.
std::string hexWords(const std::vector<std::uint8_t>& bytes);
// "power line=1 50 flag=8": every field as drawn.
std::string powerLine(const PowerSample& power);
// "power record 01ff...": every byte of the record.
std::string powerRecordLine(const SYSTEM_POWER_STATUS_EX& record);
// "display driver power-management on state 4 length 12".
std::string displayLine(const pocket::DisplayDriverSettings& display);

}  // namespace explore
