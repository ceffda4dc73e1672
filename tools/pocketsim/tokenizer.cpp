#include "tokenizer.h"

namespace pocketsim {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

std::vector<std::string> tokenize(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;
        std::string word;
        while (i < line.size() && !isBlank(line[i])) {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            const std::size_t open = i++;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\') {
                    if (i >= line.size()) break;
                    const char next = line[i++];
                    if (next == 'n') word += '\n';
                    else if (next == 'r') word += '\r';
                    else if (next == 't') word += '\t';
                    else if (next == '"' || next == '\\') word += next;
                    else
                        throw SyntaxError(std::string("unknown escape \\") + next +
                                          " in quotes (only \\\", \\\\, \\n, \\r and \\t)");
                    continue;
                }
                word += c;
            }
            if (!closed) throw SyntaxError("quote opened at column " + std::to_string(open + 1) + " is not closed");
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool isValidUtf8(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
        const auto b = static_cast<unsigned char>(line[i]);
        if (b == 0) return false;
        std::size_t extra;
        char32_t c;
        if (b < 0x80) extra = 0, c = b;
        else if (b >= 0xC2 && b <= 0xDF) extra = 1, c = b & 0x1F;
        else if ((b & 0xF0) == 0xE0) extra = 2, c = b & 0x0F;
        else if (b >= 0xF0 && b <= 0xF4) extra = 3, c = b & 0x07;
        else return false;
        if (extra > line.size() - i - 1) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(line[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and code points past U+10FFFF are not UTF-8.
        if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c < 0xE000))
            return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace pocketsim
