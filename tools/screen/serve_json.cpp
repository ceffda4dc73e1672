#include "serve_json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace screen {

namespace {

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at text[at], or 0: no overlong forms, surrogates
// or values past U+10FFFF.
size_t utf8Length(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    unsigned code = 0;
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) length = 2, code = lead & 0x1Fu;
    else if ((lead & 0xF0) == 0xE0) length = 3, code = lead & 0x0Fu;
    else if ((lead & 0xF8) == 0xF0) length = 4, code = lead & 0x07u;
    else return 0;
    if (text.size() - at < length) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    static constexpr unsigned kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonObject object() {
        expect('{');
        JsonObject members;
        if (!consume('}')) {
            do {
                skipBlanks();
                std::string name = string();
                expect(':');
                JsonValue member = value();
                if (!members.emplace(std::move(name), std::move(member)).second) fail("a member named twice");
            } while (consume(','));
            expect('}');
        }
        skipBlanks();
        if (at_ != text_.size()) fail("text after the object");
        return members;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw JsonError("malformed JSON at offset " + std::to_string(at_) + ": " + what);
    }

    void skipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) ++at_;
    }

    bool consume(char c) {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    void expect(char c) {
        if (!consume(c)) fail(std::string("expected '") + c + "'");
    }

    JsonValue value() {
        skipBlanks();
        if (at_ >= text_.size()) fail("expected a value");
        const char c = text_[at_];
        if (c == '"') return string();
        if (text_.substr(at_, 4) == "true") return at_ += 4, JsonValue(true);
        if (text_.substr(at_, 5) == "false") return at_ += 5, JsonValue(false);
        if (c == '-' || (c >= '0' && c <= '9')) return number();
        fail("expected a string, a number or a boolean");
    }

    double number() {
        const size_t start = at_;
        if (text_[at_] == '-') ++at_;
        auto digits = [&] {
            const size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
            if (at_ == from) fail("expected a digit");
        };
        digits();
        if (at_ < text_.size() && text_[at_] == '.') ++at_, digits();
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
            digits();
        }
        const std::string literal(text_.substr(start, at_ - start));
        const double parsed = std::strtod(literal.c_str(), nullptr);
        if (!std::isfinite(parsed)) fail("a number out of range");
        return parsed;
    }

    unsigned hex4() {
        if (text_.size() - at_ < 4) fail("a short \\u escape");
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9') code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') code |= static_cast<unsigned>(c - 'A' + 10);
            else fail("a bad \\u escape");
        }
        return code;
    }

    std::string string() {
        if (at_ >= text_.size() || text_[at_] != '"') fail("expected a string");
        ++at_;
        std::string out;
        for (;;) {
            if (at_ >= text_.size()) fail("an unterminated string");
            const char c = text_[at_++];
            if (c == '"') break;
            if (static_cast<unsigned char>(c) < 0x20) fail("a control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) fail("an unterminated string");
            switch (const char e = text_[at_++]) {
            case '"': case '\\': case '/': out += e; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned code = hex4();
                if (code >= 0xDC00 && code <= 0xDFFF) fail("a lone low surrogate");
                if (code >= 0xD800 && code <= 0xDBFF) {
                    if (text_.substr(at_, 2) != "\\u") fail("a lone high surrogate");
                    at_ += 2;
                    const unsigned low = hex4();
                    if (low < 0xDC00 || low > 0xDFFF) fail("a lone high surrogate");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUtf8(out, code);
                break;
            }
            default: fail("a bad escape");
            }
        }
        if (!isUtf8(out)) fail("a string that is not UTF-8");
        return out;
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

JsonObject parseJsonObject(std::string_view text) { return Parser(text).object(); }

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const size_t length = utf8Length(text, i);
        if (length == 0) {
            out += "\\ufffd";  // what the device printed is passed on, but never as broken JSON
            ++i;
            continue;
        }
        if (length > 1) {
            out.append(text.substr(i, length));
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
        i += length;
    }
    return out + "\"";
}

bool isUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = utf8Length(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

}  // namespace screen
