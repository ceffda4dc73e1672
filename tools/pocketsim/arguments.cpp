#include "arguments.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <optional>

#include "calls.h"
#include "names.h"
#include "suggest.h"
#include "records.h"

namespace pocketsim {

namespace {

struct ClsidAlias {
    const char* program;
    const char* clsid;
};

// Programs whose notification a script names by the program, for readability.
constexpr std::array<ClsidAlias, 1> kClsidAliases{{
    {"voltmarap", "{CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5}"},
}};

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}


bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Adds a*b to `total`; false on overflow.
bool addProduct(std::uint64_t& total, std::uint64_t a, std::uint64_t b, std::uint64_t limit) {
    if (a != 0 && b > limit / a) return false;
    const std::uint64_t product = a * b;
    if (product > limit - total) return false;
    total += product;
    return true;
}

}  // namespace

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::uint64_t parseDuration(std::string_view text) {
    // Kept well below 2^64 so that adding it to the clock cannot wrap.
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 62;
    const std::string shown = quoted(text);
    if (text.empty()) throw UsageError("missing duration");
    auto amount = [&](std::string_view digits) {
        try {
            return parseNumber(digits, kLimit, "duration");
        } catch (const UsageError&) {
            throw UsageError("duration " + shown + " is too long");
        }
    };
    if (allDigits(text)) return amount(text);

    struct Unit {
        std::string_view name;
        std::uint64_t ms;
    };
    static constexpr std::array<Unit, 5> kUnits{{{"d", 86400000}, {"h", 3600000}, {"m", 60000}, {"s", 1000}, {"ms", 1}}};
    std::uint64_t total = 0;
    std::size_t nextUnit = 0;  // units must come in the order of kUnits
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        if (i == start)
            throw UsageError("bad duration " + shown + ": expected a number at " + quoted(text.substr(start)));
        const std::string_view digits = text.substr(start, i - start);
        const std::size_t unitStart = i;
        while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
        const std::string_view unit = text.substr(unitStart, i - unitStart);
        if (unit.empty())
            throw UsageError("bad duration " + shown + ": " + std::string(digits) + " has no unit (d, h, m, s or ms)");
        std::size_t u = 0;
        while (u < kUnits.size() && kUnits[u].name != unit) ++u;
        if (u == kUnits.size())
            throw UsageError("bad duration " + shown + ": unknown unit " + quoted(unit) + " (d, h, m, s or ms)");
        if (u < nextUnit)
            throw UsageError("bad duration " + shown + ": units must go from large to small, each once");
        nextUnit = u + 1;
        if (!addProduct(total, amount(digits), kUnits[u].ms, kLimit))
            throw UsageError("duration " + shown + " is too long");
    }
    return total;
}

std::uint64_t parseNumber(std::string_view text, std::uint64_t max, std::string_view what) {
    const std::string shown = quoted(text);
    std::string_view digits = text;
    unsigned base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        base = 16;
    }
    if (digits.empty()) throw UsageError("missing " + std::string(what));
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0 || static_cast<unsigned>(d) >= base)
            throw UsageError("bad " + std::string(what) + " " + shown + ": expected a decimal or 0x hex number");
        if (static_cast<unsigned>(d) > max || value > (max - static_cast<unsigned>(d)) / base)
            throw UsageError(std::string(what) + " " + shown + " is larger than " + std::to_string(max));
        value = value * base + static_cast<unsigned>(d);
    }
    return value;
}

std::int64_t parseSignedNumber(std::string_view text, std::int64_t min, std::int64_t max, std::string_view what) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::uint64_t magnitude = parseNumber(negative ? text.substr(1) : text, 0xFFFFFFFFu, what);
    const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < min || value > max)
        throw UsageError(std::string(what) + " " + quoted(text) + " is out of range (" + std::to_string(min) + " to " +
                         std::to_string(max) + ")");
    return value;
}

Size parseSize(std::string_view text, int maxWidth, int maxHeight, std::string_view what, bool emptyAllowed) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos || x == 0)
        throw UsageError("bad " + std::string(what) + " " + quoted(text) + ": expected WIDTHxHEIGHT, such as 240x26");
    const auto width = parseNumber(text.substr(0, x), static_cast<std::uint64_t>(maxWidth), std::string(what) + " width");
    const auto height = parseNumber(text.substr(x + 1), static_cast<std::uint64_t>(maxHeight), std::string(what) + " height");
    if (!emptyAllowed && (width == 0 || height == 0)) throw UsageError(std::string(what) + " " + quoted(text) + " has no area");
    return Size{static_cast<int>(width), static_cast<int>(height)};
}

std::vector<std::uint8_t> parseHexBytes(const std::vector<std::string>& words) {
    std::string digits;
    for (const std::string& word : words) digits += word;
    std::vector<std::uint8_t> bytes;
    if (digits.size() % 2 != 0) throw UsageError("hex data " + quoted(digits) + " has an odd number of digits");
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexDigit(digits[i]);
        const int low = hexDigit(digits[i + 1]);
        if (high < 0 || low < 0) throw UsageError("hex data " + quoted(digits) + " has a character that is not hex");
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

std::uint32_t parseErrorCode(std::string_view text) {
    if (!text.empty() && text[0] >= '0' && text[0] <= '9')
        return static_cast<std::uint32_t>(parseNumber(text, std::numeric_limits<std::uint32_t>::max(), "error code"));
    std::string name = upper(text);
    if (name.rfind("ERROR_", 0) == 0) name.erase(0, 6);
    for (const sim::NamedValue& e : sim::errorNames())
        if (name == e.name) return e.value;
    std::string known;
    for (const sim::NamedValue& e : sim::errorNames()) known += (known.empty() ? "" : ", ") + std::string(e.name);
    throw UsageError("unknown error " + quoted(text) + " (give a number or one of " + known + ")");
}

std::string errorName(std::uint32_t code) { return sim::errorName(code); }

std::string parseClsid(std::string_view text) {
    for (const ClsidAlias& alias : kClsidAliases)
        if (text == alias.program) return alias.clsid;
    // Every spelling has the 32 digits; requiring them saves std::stoul from odd input.
    const auto digits = std::count_if(text.begin(), text.end(), [](char c) { return hexDigit(c) >= 0; });
    std::optional<CLSID> clsid;
    if (digits == 32) clsid = sim::parseClsid(std::string(text));
    if (!clsid) {
        std::string aliases;
        for (const ClsidAlias& alias : kClsidAliases) aliases += (aliases.empty() ? "" : ", ") + std::string(alias.program);
        throw UsageError("bad class id " + quoted(text) + " (give {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} or one of " +
                         aliases + ")");
    }
    return sim::clsidText(*clsid);
}

std::string parseRegistryKey(std::string_view text) {
    std::string path(text);
    std::replace(path.begin(), path.end(), '/', '\\');
    const std::string root = upper(path.substr(0, path.find('\\')));
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kRoots{{
        {"HKCU", "HKCU"},
        {"HKEY_CURRENT_USER", "HKCU"},
        {"HKLM", "HKLM"},
        {"HKEY_LOCAL_MACHINE", "HKLM"},
        {"HKCR", "HKCR"},
        {"HKEY_CLASSES_ROOT", "HKCR"},
        {"HKU", "HKU"},
        {"HKEY_USERS", "HKU"},
    }};
    for (const auto& [name, shortName] : kRoots) {
        if (root != name) continue;
        const std::size_t slash = path.find('\\');
        return std::string(shortName) + (slash == std::string::npos ? "" : path.substr(slash));
    }
    throw UsageError("bad registry key " + quoted(text) + ": it must start with HKCU, HKLM, HKCR or HKU");
}

std::string parsePlatformCall(std::string_view text, bool mustBeAbleToFail) {
    const std::string name(text);
    const sim::PlatformCall* call = sim::findPlatformCall(name);
    std::vector<std::string> names, fallible;
    for (const sim::PlatformCall& c : sim::platformCalls()) {
        names.push_back(c.name);
        if (c.canFail) fallible.push_back(c.name);
    }
    if (!call) throw UsageError("the device has no platform call " + quoted(name) + didYouMean(name, names));
    if (mustBeAbleToFail && !call->canFail) {
        std::string list;
        for (const std::string& f : fallible) list += (list.empty() ? "" : ", ") + f;
        throw UsageError(name + " cannot be made to fail: the device never reports its failure. Calls that can fail: " +
                         list);
    }
    return name;
}

}  // namespace pocketsim
