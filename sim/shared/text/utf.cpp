#include "utf.h"

#include <cstdio>

#include "code_page.h"

namespace sim {

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Bad sequences become U+FFFD, one for each bad part, as MultiByteToWideChar makes them.
std::string printableUtf8(std::string_view bytes, std::size_t maxBytes) {
    std::string out;
    auto byteAt = [&](std::size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u; };
    auto continuation = [&](std::size_t i) { return (byteAt(i) & 0xC0) == 0x80; };
    for (std::size_t i = 0; i < bytes.size();) {
        if (out.size() >= maxBytes) {
            out += "...";
            break;
        }
        const unsigned char b = byteAt(i);
        char escape[12];
        std::size_t length = 0;
        if (b >= 0x20 && b < 0x7F) {
            length = 1;
        } else if (b >= 0xC2 && b <= 0xDF && continuation(i + 1)) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF && continuation(i + 1) && continuation(i + 2)) {
            const unsigned second = byteAt(i + 1);
            if ((b == 0xE0 && second < 0xA0)) {
                length = 0;  // overlong
            } else if (b == 0xED && second >= 0xA0) {
                const unsigned unit = 0xD000 | ((second & 0x3F) << 6) | (byteAt(i + 2) & 0x3F);
                std::snprintf(escape, sizeof escape, "\\u%04X", unit);
                out += escape;
                i += 3;
                continue;
            } else {
                length = 3;
            }
        } else if (b >= 0xF0 && b <= 0xF4 && continuation(i + 1) && continuation(i + 2) && continuation(i + 3)) {
            const unsigned second = byteAt(i + 1);
            length = (b == 0xF0 && second < 0x90) || (b == 0xF4 && second >= 0x90) ? 0 : 4;
        } else if (b == '\t') {
            length = 1;
        }
        if (length == 0) {
            std::snprintf(escape, sizeof escape, "\\x%02X", b);
            out += escape;
            ++i;
            continue;
        }
        out.append(bytes.substr(i, length));
        i += length;
    }
    return out;
}

std::u16string fromUtf8(std::string_view text) { return utf8ToWide(text); }

char16_t foldCase(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
    if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 32);  // fullwidth a-z
    return c;
}

bool equalsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

}  // namespace sim
