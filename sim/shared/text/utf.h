// Conversions between the platform's UTF-16 strings and the UTF-8 the tools print.
#pragma once

#include <string>
#include <string_view>

namespace sim {

std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);
// Case-insensitive comparison as the window manager uses for class names and titles.
bool equalsIgnoreCase(std::u16string_view a, std::u16string_view b);
char16_t foldCase(char16_t c);

}  // namespace sim
