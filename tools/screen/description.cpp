#include "description.h"

#include <array>
#include <charconv>
#include <utility>

namespace screen {

namespace {

constexpr std::array<std::pair<std::string_view, Kind>, 10> kKinds{{
    {"desktop", Kind::desktop}, {"window", Kind::window}, {"taskbar", Kind::taskbar},
    {"icon", Kind::icon},       {"bubble", Kind::bubble}, {"text", Kind::text},
    {"button", Kind::button},   {"menu", Kind::menu},     {"item", Kind::item},
    {"box", Kind::box},
}};

// Elements may lie partly off the screen, but not so far that coordinates overflow while drawing.
constexpr long kMaxCoordinate = 16384;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Pango takes only well-formed UTF-8; a description in another encoding is refused here, by line.
bool isUtf8(std::string_view s) {
    constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};  // shorter forms are overlong
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
        if (c == 0 || more == 4 || i + more >= s.size()) return false;
        char32_t cp = more == 0 ? c : c & (0x3F >> more);
        for (std::size_t k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = cp << 6 | (d & 0x3F);
        }
        if (cp < kLeast[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += more + 1;
    }
    return true;
}

class LineReader {
public:
    LineReader(std::string_view text, int line) : text_(text), line_(line) {}

    bool atEnd() {
        while (at_ < text_.size() && isBlank(text_[at_])) ++at_;
        return at_ == text_.size();
    }

    std::string_view word() {
        atEnd();
        const std::size_t start = at_;
        while (at_ < text_.size() && !isBlank(text_[at_])) ++at_;
        return text_.substr(start, at_ - start);
    }

    int number(std::string_view what, long least, long most) {
        const std::string_view w = word();
        if (w.empty()) fail("missing " + std::string(what));
        long n = 0;
        const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), n);
        if (ec != std::errc{} || end != w.data() + w.size())
            fail(std::string(what) + " is not a whole number: " + std::string(w));
        if (n < least || n > most)
            fail(std::string(what) + " " + std::string(w) + " is outside " + std::to_string(least) + " to " +
                 std::to_string(most));
        return static_cast<int>(n);
    }

    // KEY=VALUE, the value a bare word or a quoted string.
    std::pair<std::string, std::string> keyValue() {
        atEnd();
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] != '=' && !isBlank(text_[at_])) ++at_;
        if (at_ == text_.size() || text_[at_] != '=' || at_ == start)
            fail("expected KEY=VALUE, not " + std::string(text_.substr(start, at_ - start)));
        std::string key(text_.substr(start, at_ - start));
        ++at_;
        if (at_ < text_.size() && text_[at_] == '"') return {std::move(key), quoted()};
        const std::size_t valueStart = at_;
        while (at_ < text_.size() && !isBlank(text_[at_])) {
            if (text_[at_] == '"') fail("a quote inside the bare value of " + key);
            ++at_;
        }
        return {std::move(key), std::string(text_.substr(valueStart, at_ - valueStart))};
    }

    [[noreturn]] void fail(const std::string& what) const { throw DescriptionError(line_, what); }

private:
    std::string quoted() {
        std::string value;
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                if (at_ < text_.size() && !isBlank(text_[at_])) fail("no blank after a closing quote");
                return value;
            }
            if (c != '\\') {
                value += c;
                continue;
            }
            if (++at_ == text_.size()) break;
            switch (text_[at_]) {
            case '"': value += '"'; break;
            case '\\': value += '\\'; break;
            case 'n': value += '\n'; break;
            case 'r': value += '\r'; break;
            case 't': value += '\t'; break;
            default: fail(std::string("unknown escape \\") + text_[at_]);
            }
        }
        fail("unclosed quote");
    }

    std::string_view text_;
    int line_;
    std::size_t at_ = 0;
};

// A key given twice keeps its last value.
void readValues(LineReader& reader, Element& e) {
    while (!reader.atEnd()) {
        auto [key, value] = reader.keyValue();
        e.values.insert_or_assign(std::move(key), std::move(value));
    }
}

void checkChoice(const LineReader& reader, const Element& e, std::string_view key,
                 std::initializer_list<std::string_view> allowed) {
    const auto found = e.values.find(key);
    if (found == e.values.end()) return;
    for (std::string_view a : allowed)
        if (found->second == a) return;
    reader.fail(std::string(key) + "=" + found->second + " is not one of the values it can take");
}

void checkValues(LineReader& reader, const Element& e) {
    for (std::string_view key : {"front", "close", "pressed", "grayed", "separator"}) checkChoice(reader, e, key, {"0", "1"});
    checkChoice(reader, e, "align", {"left", "right", "center"});
    if (e.kind == Kind::icon) {
        if (e.value("res").empty()) reader.fail("an icon needs res");
        if (e.value("id").empty()) reader.fail("an icon needs id");
        LineReader id(e.value("id"), e.line);
        id.number("id", 0, 65535);
        if (!id.atEnd()) reader.fail("id is not a whole number");
    }
}

}  // namespace

std::string_view Element::value(std::string_view key) const {
    const auto found = values.find(key);
    return found == values.end() ? std::string_view{} : std::string_view(found->second);
}

Description parseDescription(std::string_view text) {
    Description d;
    bool sawScreen = false;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        LineReader reader(line, lineNumber);
        if (reader.atEnd()) continue;
        if (line.size() > kMaxLineLength) reader.fail("longer than " + std::to_string(kMaxLineLength) + " bytes");
        if (!isUtf8(line)) reader.fail("not UTF-8 text");

        const std::string_view kind = reader.word();
        if (!sawScreen) {
            if (kind != "screen") reader.fail("the first line must be screen, not " + std::string(kind));
            reader.number("X", 0, 0);
            reader.number("Y", 0, 0);
            d.width = reader.number("WIDTH", 1, kMaxScreenSide);
            d.height = reader.number("HEIGHT", 1, kMaxScreenSide);
            Element screen;
            readValues(reader, screen);
            checkChoice(reader, screen, "display", {"on", "off"});
            d.displayOn = screen.value("display") != "off";
            sawScreen = true;
            continue;
        }
        if (!d.displayOn) reader.fail("nothing is drawn on a display that is off");
        if (kind == "screen") reader.fail("a second screen");

        Element e;
        e.line = lineNumber;
        bool known = false;
        for (const auto& [name, k] : kKinds)
            if (name == kind) {
                e.kind = k;
                known = true;
            }
        if (!known) reader.fail("unknown kind " + std::string(kind));
        e.x = reader.number("X", -kMaxCoordinate, kMaxCoordinate);
        e.y = reader.number("Y", -kMaxCoordinate, kMaxCoordinate);
        e.width = reader.number("WIDTH", 0, kMaxCoordinate);
        e.height = reader.number("HEIGHT", 0, kMaxCoordinate);
        readValues(reader, e);
        checkValues(reader, e);
        if (d.elements.size() == kMaxElements) reader.fail("more than " + std::to_string(kMaxElements) + " elements");
        d.elements.push_back(std::move(e));
    }
    if (!sawScreen) throw DescriptionError(lineNumber + 1, "no screen line");
    return d;
}

}  // namespace screen
