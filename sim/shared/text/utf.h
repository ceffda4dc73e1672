// Conversions between the platform's UTF-16 strings and the UTF-8 the tools print.
#pragma once

#include <string>
#include <string_view>

namespace sim {

// A lone surrogate is encoded as if it were a character (as WideCharToMultiByte did before
// Vista): the result is not always valid UTF-8. printableUtf8 makes it so.
std::string toUtf8(std::u16string_view text);
// Bytes made safe to print: valid UTF-8 is kept, an encoded lone surrogate becomes "\uD800",
// any other byte that is not UTF-8, and control characters but tab, "\xNN"; past `maxBytes` of
// output the text is cut and ends with "...".
std::string printableUtf8(std::string_view bytes, std::size_t maxBytes = std::string::npos);
std::u16string fromUtf8(std::string_view text);
// Case-insensitive comparison as the window manager uses for class names and titles.
bool equalsIgnoreCase(std::u16string_view a, std::u16string_view b);
char16_t foldCase(char16_t c);

}  // namespace sim
