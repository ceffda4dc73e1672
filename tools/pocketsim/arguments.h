// Reading the values that script commands take: durations, numbers, class ids, registry paths.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pocketsim {

// A command the script gives with missing or malformed arguments.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "5s", "450ms", "2h", "1h30m", "3d", or a plain number of milliseconds. Units go from the
// largest to the smallest, each at most once, so "30m1h" or "1h1h" is taken as a typo.
// `text` in double quotes, as an error message shows what it was given.
std::string quoted(std::string_view text);

std::uint64_t parseDuration(std::string_view text);

// A decimal or 0x-prefixed hexadecimal number no larger than `max`; `what` names it in errors.
std::uint64_t parseNumber(std::string_view text, std::uint64_t max, std::string_view what);

// As parseNumber, with an optional leading '-', from `min` to `max`.
std::int64_t parseSignedNumber(std::string_view text, std::int64_t min, std::int64_t max, std::string_view what);

// "240x26": a width and a height, each from 1 (0 too when `emptyAllowed`) to the given largest.
struct Size {
    int width = 0;
    int height = 0;
};
Size parseSize(std::string_view text, int maxWidth, int maxHeight, std::string_view what, bool emptyAllowed = false);

// Hex digits, in one word or several ("0102ff" or "01 02 ff"), two per byte.
std::vector<std::uint8_t> parseHexBytes(const std::vector<std::string>& words);

// A Win32 error: a number, or a name with or without "ERROR_" (FILE_NOT_FOUND, access_denied, ...).
std::uint32_t parseErrorCode(std::string_view text);
std::string errorName(std::uint32_t code);

// The name of a platform call the device provides; with `mustBeAbleToFail`, of one whose failure
// the device can report (a fault on any other would never happen).
std::string parsePlatformCall(std::string_view text, bool mustBeAbleToFail);

// A notification class id in any usual spelling, or the name of a program that owns one.
// Returns the canonical "{XXXXXXXX-XXXX-...}" spelling.
std::string parseClsid(std::string_view text);

// A registry key path such as "HKCU\Software\Orvalen"; the root must be one the device has.
// Forward slashes are taken as backslashes, which saves escaping in scripts.
std::string parseRegistryKey(std::string_view text);

}  // namespace pocketsim
