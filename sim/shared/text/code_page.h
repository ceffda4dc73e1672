// The ANSI code pages of the simulated machines: 1252 (Western) and 932 (Japanese Shift-JIS).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

bool isSupportedCodePage(UINT codePage);
// A byte that starts a double-byte character (932: 0x81-0x9F and 0xE0-0xFC; 1252 has none).
bool isLeadByte(UINT codePage, std::uint8_t byte);

// Conversions as MultiByteToWideChar and WideCharToMultiByte make them without flags: what does
// not map becomes the code page's default character (U+30FB for a bad double-byte character
// of 932, '?' towards 8 bits), and `invalid` tells whether that happened. A lead byte followed by
// a zero byte, or by nothing, stands alone. Windows' best-fit mappings (U+0100 to 'A' and the
// like) are not made.
std::u16string ansiToWide(UINT codePage, std::string_view text, bool* invalid = nullptr);
std::string wideToAnsi(UINT codePage, std::u16string_view text, bool* usedDefault = nullptr, char defaultChar = '?');
// As much of `text` as fits in `limit` bytes, whole characters only.
std::string wideToAnsiWithin(UINT codePage, std::u16string_view text, std::size_t limit);

// UTF-8 as MultiByteToWideChar reads it: each ill-formed part becomes one U+FFFD, and `invalid`
// tells. A part is a sequence cut short by a byte that continues none (which is read anew), a
// lead byte with a second byte that makes a too long form, a surrogate or a value past U+10FFFF
// (the two together), or a byte that starts nothing.
std::u16string utf8ToWide(std::string_view text, bool* invalid = nullptr);

}  // namespace sim
