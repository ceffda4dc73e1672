#include "code_page.h"

#include <iconv.h>

#include <array>
#include <stdexcept>

namespace sim {

namespace {

constexpr char16_t kDefaultWide932 = u'\x30FB';

// 0x80-0x9F of 1252. The five bytes Windows leaves undefined map to the C1 controls of the same value.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t byteToWide1252(std::uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : static_cast<char16_t>(byte);
}

bool wideToByte1252(char16_t c, char& out) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        out = static_cast<char>(c);
        return true;
    }
    for (std::size_t i = 0; i < kWindows1252High.size(); ++i)
        if (kWindows1252High[i] == c) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    return false;
}

// glibc's converter for Windows' own Shift-JIS (CP932), one character at a time.
class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("no converter from ") + from + " to " + to);
    }
    ~Iconv() { iconv_close(handle_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts all of `in` into `out`; the bytes written, or 0 when it does not convert.
    std::size_t convert(const void* in, std::size_t inSize, void* out, std::size_t outSize) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char* src = static_cast<char*>(const_cast<void*>(in));
        char* dst = static_cast<char*>(out);
        std::size_t srcLeft = inSize;
        std::size_t dstLeft = outSize;
        if (iconv(handle_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) || srcLeft != 0) return 0;
        return outSize - dstLeft;
    }

private:
    iconv_t handle_;
};

// Single bytes that 932 gives characters of their own (Windows' table; glibc's converter has
// none for them).
struct SingleByte932 {
    std::uint8_t byte;
    char16_t wide;
};
constexpr SingleByte932 kSingleBytes932[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

std::u16string ansiToWide932(std::string_view text, bool& invalid) {
    Iconv toWide("UTF-16LE", "CP932");
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<std::uint8_t>(text[i]);
        if (byte < 0x80) {
            out += static_cast<char16_t>(byte);
            ++i;
            continue;
        }
        const SingleByte932* single = nullptr;
        for (const SingleByte932& s : kSingleBytes932)
            if (s.byte == byte) single = &s;
        if (single) {
            out += single->wide;
            ++i;
            continue;
        }
        const bool pair = isLeadByte(932, byte) && i + 1 < text.size() && text[i + 1] != 0;
        const std::size_t length = pair ? 2 : 1;
        unsigned char wide[4] = {};
        const bool loneLead = isLeadByte(932, byte) && !pair;
        const std::size_t written = loneLead ? 0 : toWide.convert(text.data() + i, length, wide, sizeof wide);
        if (written == 2) {
            out += static_cast<char16_t>(wide[0] | wide[1] << 8);
        } else {
            out += kDefaultWide932;
            invalid = true;
        }
        i += length;
    }
    return out;
}

std::string wideToAnsi932(std::u16string_view text, bool& usedDefault, char defaultChar) {
    Iconv toAnsi("CP932", "UTF-16LE");
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const SingleByte932* single = nullptr;
        for (const SingleByte932& s : kSingleBytes932)
            if (s.wide == c) single = &s;
        if (single) {
            out += static_cast<char>(single->byte);
            continue;
        }
        const unsigned char wide[2] = {static_cast<unsigned char>(c & 0xFF), static_cast<unsigned char>(c >> 8)};
        char bytes[4] = {};
        const std::size_t written = toAnsi.convert(wide, sizeof wide, bytes, sizeof bytes);
        if (written == 0) {
            out += defaultChar;
            usedDefault = true;
        } else {
            out.append(bytes, written);
        }
    }
    return out;
}

}  // namespace

bool isSupportedCodePage(UINT codePage) { return codePage == 1252 || codePage == 932; }

bool isLeadByte(UINT codePage, std::uint8_t byte) {
    return codePage == 932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

std::u16string ansiToWide(UINT codePage, std::string_view text, bool* invalid) {
    bool bad = false;
    if (codePage == 932) {
        std::u16string out = ansiToWide932(text, bad);
        if (invalid) *invalid = bad;
        return out;
    }
    if (invalid) *invalid = false;
    std::u16string out;
    out.reserve(text.size());
    for (char c : text) out += byteToWide1252(static_cast<std::uint8_t>(c));
    return out;
}

std::string wideToAnsi(UINT codePage, std::u16string_view text, bool* usedDefault, char defaultChar) {
    bool defaulted = false;
    std::string out;
    if (codePage == 932) {
        out = wideToAnsi932(text, defaulted, defaultChar);
    } else {
        for (char16_t c : text) {
            char byte = defaultChar;
            if (!wideToByte1252(c, byte)) {
                byte = defaultChar;
                defaulted = true;
            }
            out += byte;
        }
    }
    if (usedDefault) *usedDefault = defaulted;
    return out;
}

std::string wideToAnsiWithin(UINT codePage, std::u16string_view text, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string one = wideToAnsi(codePage, text.substr(i, 1));
        if (out.size() + one.size() > limit) break;
        out += one;
    }
    return out;
}

std::u16string utf8ToWide(std::string_view text, bool* invalid) {
    std::u16string out;
    bool bad = false;
    auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    for (std::size_t i = 0; i < text.size();) {
        const std::uint8_t lead = byteAt(i);
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        // The sequence's length and the range its second byte must fall in (the others: 80-BF).
        std::size_t length = 0;
        std::uint8_t low = 0x80;
        std::uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) length = 2;
        else if (lead == 0xE0) length = 3, low = 0xA0;
        else if (lead == 0xED) length = 3, high = 0x9F;
        else if (lead >= 0xE1 && lead <= 0xEF) length = 3;
        else if (lead == 0xF0) length = 4, low = 0x90;
        else if (lead == 0xF4) length = 4, high = 0x8F;
        else if (lead >= 0xF1 && lead <= 0xF3) length = 4;
        std::size_t taken = 1;
        char32_t c = length == 2 ? lead & 0x1F : (length == 3 ? lead & 0x0F : lead & 0x07);
        while (length && taken < length && i + taken < text.size()) {
            const std::uint8_t next = byteAt(i + taken);
            if (next < 0x80 || next > 0xBF) break;
            // A second byte that makes the sequence too long a form, a surrogate or past U+10FFFF
            // is bad together with its lead.
            if (taken == 1 && (next < low || next > high)) {
                taken = 2;
                break;
            }
            c = (c << 6) | (next & 0x3F);
            ++taken;
        }
        if (!length || taken < length) {
            out += u'\uFFFD';
            bad = true;
            i += taken;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += length;
    }
    if (invalid) *invalid = bad;
    return out;
}

}  // namespace sim
