#include "screen_layout.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include <shellapi.h>

#include "format.h"
#include "utf.h"

namespace pocketsim {

namespace {

// The picture's metrics: text of about 12 pixels, as the shell's own.
constexpr int kLineHeight = 16;
constexpr int kCaptionHeight = 20;
constexpr int kIconSize = 16;
constexpr int kButtonHeight = 22;
constexpr int kMenuItemHeight = 20;
constexpr int kMenuSeparatorHeight = 8;

// Roughly how wide a text is drawn: full-width characters twice as wide as the rest.
int textWidth(const std::string& text) {
    int width = 0;
    for (char16_t c : sim::fromUtf8(text)) width += (c >= 0x1100 && !(c >= 0xFF61 && c <= 0xFF9F)) ? 12 : 7;
    return width;
}

// Lines a text takes in a box `width` wide, its line feeds and wrapping counted.
int linesFor(const std::string& text, int width) {
    int lines = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines += std::max(1, (textWidth(line) + width - 1) / std::max(1, width));
    return std::max(1, lines);
}

std::string escapeMarkup(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

std::string quotedValue(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += {'\\', c};
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out + "\"";
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The value of attribute `name` in a tag's text ("input type=button name='cmd:1' value='X'").
std::string tagAttribute(const std::string& tag, const std::string& name) {
    const std::string lowered = lower(tag);
    for (std::size_t at = lowered.find(name); at != std::string::npos; at = lowered.find(name, at + 1)) {
        if (at > 0 && !std::isspace(static_cast<unsigned char>(lowered[at - 1]))) continue;
        std::size_t i = at + name.size();
        while (i < tag.size() && tag[i] == ' ') ++i;
        if (i >= tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && tag[i] == ' ') ++i;
        if (i < tag.size() && (tag[i] == '\'' || tag[i] == '"')) {
            const std::size_t end = tag.find(tag[i], i + 1);
            return tag.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
        }
        const std::size_t end = tag.find_first_of(" \t/", i);
        return tag.substr(i, end == std::string::npos ? std::string::npos : end - i);
    }
    return "";
}

std::string decodeEntities(const std::string& text) {
    static const std::pair<const char*, const char*> kNamed[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t end = text[i] == '&' ? text.find(';', i) : std::string::npos;
        if (end == std::string::npos || end - i > 10) {
            out += text[i];
            continue;
        }
        const std::string name = text.substr(i + 1, end - i - 1);
        std::string replacement;
        for (const auto& [entity, value] : kNamed)
            if (name == entity) replacement = value;
        if (replacement.empty() && name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const unsigned long code = std::strtoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
            if (code > 0 && code < 0x10000 && !(code >= 0xD800 && code < 0xE000))
                replacement = sim::toUtf8(std::u16string(1, static_cast<char16_t>(code)));
            else if (code >= 0x10000 && code < 0x110000)
                replacement = sim::toUtf8(std::u16string{static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)),
                                                         static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF))});
        }
        if (replacement.empty()) {
            out += text[i];
            continue;
        }
        out += replacement;
        i = end;
    }
    return out;
}

struct Builder {
    std::vector<ScreenElement> elements;

    ScreenElement& add(std::string kind, int x, int y, int width, int height,
                       std::vector<std::pair<std::string, std::string>> attributes = {}) {
        // A taskbar as large as the screen leaves the rest no room: nothing is ever less than empty.
        elements.push_back({std::move(kind), x, y, std::max(0, width), std::max(0, height), std::move(attributes), {},
                            {}, false, false});
        return elements.back();
    }
};

std::string flag(bool on) { return on ? "1" : "0"; }

void addIcon(Builder& b, const pocket::PocketDevice& device, const std::string& program, unsigned iconId, int x,
             int y) {
    std::string res;
    try {
        res = device.resourcePath(program);
    } catch (const std::exception&) {
        // A process that is not one of the programs (a test's own code) has no icons to show.
    }
    b.add("icon", x, y, kIconSize, kIconSize, {{"res", res}, {"id", std::to_string(iconId)}});
}

std::string programOf(const pocket::PocketDevice& device, std::uint32_t pid) {
    const auto process = device.process(pid);
    return process ? process->name : "";
}

// Applications are as large as the screen below the taskbar, with a caption of their own.
void addWindows(Builder& b, const pocket::PocketDevice& device, const ScriptState& state, int top) {
    const HWND front = device.foreground();
    std::vector<pocket::WindowView> shown;
    auto isApplication = [&](HWND hwnd) {
        for (const auto& app : state.applications)
            if (app.hwnd == hwnd) return true;
        for (const auto& standIn : device.standIns())
            if (standIn.hwnd == hwnd) return true;
        return false;
    };
    for (const pocket::WindowView& window : device.windows())
        if ((window.style & WS_VISIBLE) && isApplication(window.hwnd)) shown.push_back(window);
    std::stable_partition(shown.begin(), shown.end(), [&](const auto& w) { return w.hwnd != front; });
    const int width = device.screenWidth();
    const int height = device.screenHeight() - top;
    for (const pocket::WindowView& window : shown) {
        b.add("window", 0, top, width, height,
              {{"title", window.title}, {"class", window.className}, {"front", flag(window.hwnd == front)}});
    }
}

std::string frontTitle(const pocket::PocketDevice& device) {
    const HWND front = device.foreground();
    for (const pocket::WindowView& window : device.windows())
        if (window.hwnd == front && front != device.desktop() && front != device.taskbar()) return window.title;
    return "Start";
}

void addTaskbar(Builder& b, const pocket::PocketDevice& device, int width, int height) {
    const HWND front = device.foreground();
    const bool application = front && front != device.desktop() && front != device.taskbar();
    ScreenElement& bar =
        b.add("taskbar", 0, 0, width, height, {{"title", frontTitle(device)}, {"close", flag(application)}});
    bar.downLine = "stylus down";
    bar.upLine = "stylus up";
    bar.liftAnywhere = true;
    bar.coordinates = true;
    // Icons right to left from the close button: the programs' tray icons, then notifications'.
    int x = width - sim::kShellCloseBand - 2 - kIconSize;
    const int y = std::max(0, (height - kIconSize) / 2);
    for (const pocket::TrayIconView& icon : device.trayIcons()) {
        if (!(icon.flags & NIF_ICON) || icon.iconId == 0) continue;
        addIcon(b, device, icon.process, icon.iconId, x, y);
        const std::string which = " tray pid=" + std::to_string(icon.pid) + " " + std::to_string(icon.id);
        b.elements.back().downLine = "pen down" + which;
        b.elements.back().upLine = "pen up" + which;
        b.elements.back().liftAnywhere = true;
        b.elements.back().attributes.emplace_back("owner", icon.process);
        x -= kIconSize + 2;
    }
    for (const pocket::NotificationView& n : device.notifications()) {
        if (n.iconId == 0) continue;
        addIcon(b, device, programOf(device, n.pid), n.iconId, x, y);
        x -= kIconSize + 2;
    }
}

// The newest notification's bubble, below the taskbar.
void addBubble(Builder& b, const pocket::PocketDevice& device, const pocket::NotificationView& n, int top) {
    const int x = 2;
    const int width = device.screenWidth() - 4;
    const int textWidthAvailable = width - 12;
    const BubbleContent content = parseBubbleHtml(n.html);
    int height = kCaptionHeight + 4;
    for (const auto& p : content.paragraphs) {
        if (!p.markup.empty()) height += linesFor(p.markup, textWidthAvailable) * kLineHeight;
        if (!p.buttons.empty()) height += kButtonHeight + 4;
    }
    height = std::min(height + 4, device.screenHeight() - top - 2);
    b.add("bubble", x, top + 2, width, height, {{"title", n.title}});
    const std::string program = programOf(device, n.pid);
    int y = top + 2 + (kCaptionHeight - kIconSize) / 2;
    if (n.iconId) addIcon(b, device, program, n.iconId, x + 4, y);
    y = top + 2 + kCaptionHeight + 4;
    const int bottom = top + 2 + height;
    for (const auto& p : content.paragraphs) {
        if (!p.markup.empty()) {
            const int h = std::min(linesFor(p.markup, textWidthAvailable) * kLineHeight, std::max(0, bottom - y));
            b.add("text", x + 6, y, textWidthAvailable, h, {{"markup", p.markup}, {"align", p.align}});
            y += h;
        }
        if (p.buttons.empty()) continue;
        int total = 0;
        for (const auto& [label, command] : p.buttons) total += std::max(60, textWidth(label) + 16) + 4;
        int bx = p.align == "right" ? x + width - 6 - total : p.align == "center" ? x + (width - total) / 2 : x + 6;
        for (const auto& [label, command] : p.buttons) {
            const int bw = std::max(60, textWidth(label) + 16);
            ScreenElement& button = b.add("button", bx, y + 2, bw, kButtonHeight, {{"label", label}, {"pressed", "0"}});
            button.upLine = "tap notification " + n.clsid + " " + std::to_string(n.id) + " " + std::to_string(command);
            bx += bw + 4;
        }
        y += kButtonHeight + 4;
    }
}

std::string menuText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t') break;  // the accelerator's name
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

void addMenu(Builder& b, const pocket::PocketDevice& device, const pocket::MenuView& menu) {
    int width = 80;
    int height = 4;
    for (const auto& item : menu.items) {
        width = std::max(width, textWidth(menuText(item.text)) + 28);
        height += item.separator ? kMenuSeparatorHeight : kMenuItemHeight;
    }
    int x = menu.x;
    int y = menu.y;
    if (menu.flags & TPM_RIGHTALIGN) x -= width;
    else if (menu.flags & TPM_CENTERALIGN) x -= width / 2;
    if (menu.flags & TPM_BOTTOMALIGN) y -= height;
    else if (menu.flags & TPM_VCENTERALIGN) y -= height / 2;
    x = std::clamp(x, 0, std::max(0, device.screenWidth() - width));
    y = std::clamp(y, 0, std::max(0, device.screenHeight() - height));
    b.add("menu", x, y, width, height);
    int itemY = y + 2;
    for (const auto& item : menu.items) {
        const int h = item.separator ? kMenuSeparatorHeight : kMenuItemHeight;
        const bool grayed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
        ScreenElement& shown = b.add("item", x + 2, itemY, width - 4, h,
                                     {{"text", menuText(item.text)}, {"grayed", flag(grayed)}, {"separator", flag(item.separator)}});
        if (!item.separator && !grayed && !item.popup) shown.upLine = "choose menu " + std::to_string(item.id);
        itemY += h;
    }
}

void addMessageBox(Builder& b, const pocket::PocketDevice& device, const pocket::MessageBoxView& box) {
    static const std::vector<std::vector<std::pair<const char*, const char*>>> kButtons = {
        {{"OK", "OK"}},
        {{"OK", "OK"}, {"Cancel", "CANCEL"}},
        {{"Abort", "ABORT"}, {"Retry", "RETRY"}, {"Ignore", "IGNORE"}},
        {{"Yes", "YES"}, {"No", "NO"}, {"Cancel", "CANCEL"}},
        {{"Yes", "YES"}, {"No", "NO"}},
        {{"Retry", "RETRY"}, {"Cancel", "CANCEL"}},
    };
    const auto& buttons = kButtons[std::min<std::size_t>(box.type & MB_TYPEMASK, kButtons.size() - 1)];
    const int width = device.screenWidth() - 20;
    const int textHeight = linesFor(box.text, width - 16) * kLineHeight;
    const int height = std::min(kCaptionHeight + 8 + textHeight + 8 + kButtonHeight + 8, device.screenHeight());
    const int x = 10;
    const int y = std::max(0, (device.screenHeight() - height) / 2);
    b.add("box", x, y, width, height, {{"caption", box.caption}});
    b.add("text", x + 8, y + kCaptionHeight + 8, width - 16, textHeight, {{"markup", escapeMarkup(box.text)}, {"align", "left"}});
    const int buttonWidth = 60;
    const int total = static_cast<int>(buttons.size()) * (buttonWidth + 6) - 6;
    int bx = x + (width - total) / 2;
    for (const auto& [label, name] : buttons) {
        ScreenElement& button =
            b.add("button", bx, y + height - 8 - kButtonHeight, buttonWidth, kButtonHeight, {{"label", label}, {"pressed", "0"}});
        button.upLine = std::string("dismiss messagebox ") + name;
        bx += buttonWidth + 6;
    }
}

}  // namespace

std::string ScreenElement::attribute(const std::string& key) const {
    for (const auto& [k, v] : attributes)
        if (k == key) return v;
    return "";
}

BubbleContent parseBubbleHtml(const std::string& html) {
    BubbleContent content;
    BubbleContent::Paragraph current;
    bool bold = false;
    bool pendingSpace = false;
    // A blank before a tag belongs before the tag's markup, as it would be drawn.
    auto flushSpace = [&] {
        if (pendingSpace && !current.markup.empty() && current.markup.back() != '\n') current.markup += ' ';
        pendingSpace = false;
    };
    auto endParagraph = [&] {
        if (bold) current.markup += "</b>";
        while (!current.markup.empty() && current.markup.back() == '\n') current.markup.pop_back();
        if (!current.markup.empty() || !current.buttons.empty()) content.paragraphs.push_back(current);
        current = {};
        if (bold) current.markup += "<b>";
        pendingSpace = false;
    };
    std::size_t i = 0;
    while (i < html.size()) {
        if (html[i] == '<') {
            const std::size_t end = html.find('>', i);
            const std::string tag = html.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            i = end == std::string::npos ? html.size() : end + 1;
            std::string name = lower(tag.substr(0, tag.find_first_of(" \t\r\n/")));
            if (name.empty() && tag.size() > 1 && tag[0] == '/') name = "/" + lower(tag.substr(1, tag.find_first_of(" \t\r\n", 1) - 1));
            if (name == "p") {
                endParagraph();
                const std::string align = lower(tagAttribute(tag, "align"));
                if (align == "right" || align == "center") current.align = align;
            } else if (name == "/p") {
                endParagraph();
            } else if (name == "br") {
                current.markup += "\n";
                pendingSpace = false;
            } else if ((name == "b" || name == "strong") && !bold) {
                flushSpace();
                current.markup += "<b>";
                bold = true;
            } else if ((name == "/b" || name == "/strong") && bold) {
                current.markup += "</b>";
                bold = false;
            } else if (name == "input" && lower(tagAttribute(tag, "type")) == "button") {
                const std::string target = tagAttribute(tag, "name");
                if (lower(target).rfind("cmd:", 0) == 0)
                    current.buttons.emplace_back(decodeEntities(tagAttribute(tag, "value")),
                                                 static_cast<unsigned>(std::strtoul(target.c_str() + 4, nullptr, 10)));
            }
            continue;
        }
        const std::size_t next = html.find('<', i);
        std::string text = decodeEntities(html.substr(i, next == std::string::npos ? std::string::npos : next - i));
        i = next == std::string::npos ? html.size() : next;
        // HTML's white space: any run is one blank, none at a line's start.
        for (char c : text) {
            if (std::isspace(static_cast<unsigned char>(c))) {
                pendingSpace = true;
                continue;
            }
            flushSpace();
            current.markup += escapeMarkup(std::string(1, c));
        }
    }
    endParagraph();
    return content;
}

std::vector<ScreenElement> layoutScreen(const pocket::PocketDevice& device, const ScriptState& state) {
    Builder b;
    const int width = device.screenWidth();
    const int height = device.screenHeight();
    const bool on = device.isSwitchedOn() && device.displayPowerState() == VideoPowerOn;
    b.add("screen", 0, 0, width, height, {{"display", on ? "on" : "off"}});
    if (!on) return b.elements;
    const bool shell = device.taskbar() != nullptr;
    const int taskbarHeight = shell ? std::clamp(device.config().taskbarHeight, 0, height) : 0;
    const int taskbarWidth = device.config().taskbarWidth < 0 ? width : std::min(device.config().taskbarWidth, width);
    b.add("desktop", 0, taskbarHeight, width, height - taskbarHeight);
    addWindows(b, device, state, taskbarHeight);
    if (shell) addTaskbar(b, device, taskbarWidth, taskbarHeight);
    const auto notifications = device.notifications();
    if (!notifications.empty()) addBubble(b, device, notifications.back(), taskbarHeight);
    if (const auto menu = device.openMenu()) addMenu(b, device, *menu);
    if (const auto box = device.messageBox()) addMessageBox(b, device, *box);
    // A button the pen is on shows pressed until the pen lifts.
    for (ScreenElement& e : b.elements)
        if (e.kind == "button" && state.pen && state.pen->x == e.x && state.pen->y == e.y)
            for (auto& [key, value] : e.attributes)
                if (key == "pressed") value = "1";
    return b.elements;
}

std::string describeScreen(const std::vector<ScreenElement>& elements) {
    std::string out;
    for (const ScreenElement& e : elements) {
        out += e.kind + " " + std::to_string(e.x) + " " + std::to_string(e.y) + " " + std::to_string(e.width) + " " +
               std::to_string(e.height);
        for (const auto& [key, value] : e.attributes) out += " " + key + "=" + quotedValue(value);
        out += "\n";
    }
    return out;
}

std::vector<std::string> touchLines(const std::vector<ScreenElement>& elements, ScriptState& state, Touch touch,
                                    int x, int y) {
    if (elements.empty() || !elements.front().contains(x, y) || elements.front().attribute("display") != "on") {
        if (touch == Touch::Up || touch == Touch::Move) {
            // A lift off the screen still ends the touch, where it was last.
        } else {
            return {};
        }
    }
    auto withPoint = [](const std::string& line, const ScriptState::PenOnScreen& pen, int px, int py) {
        return line + " " + std::to_string(px - pen.x) + " " + std::to_string(py - pen.y);
    };
    std::vector<std::string> lines;
    if (touch == Touch::Down || touch == Touch::Tap) {
        state.pen.reset();
        // A message box takes every touch; an open menu only its own, any other closes it.
        const bool modal = std::any_of(elements.begin(), elements.end(), [](const auto& e) { return e.kind == "box"; });
        const auto menu = std::find_if(elements.begin(), elements.end(), [](const auto& e) { return e.kind == "menu"; });
        const ScreenElement* target = nullptr;
        for (auto it = elements.rbegin(); it != elements.rend() && !target; ++it) {
            if (!it->contains(x, y)) continue;
            if (it->kind == "box" || it->kind == "menu") break;  // on the frame: nothing to do
            if (!it->downLine.empty() || !it->upLine.empty()) target = &*it;
        }
        if (modal && (!target || target->kind != "button")) target = nullptr;
        if (!modal && menu != elements.end() && !menu->contains(x, y)) return {"dismiss menu"};
        if (!target) return {};
        state.pen = ScriptState::PenOnScreen{target->x, target->y, target->width, target->height, target->upLine,
                                             target->liftAnywhere, target->coordinates};
        if (!target->downLine.empty())
            lines.push_back(target->coordinates ? withPoint(target->downLine, *state.pen, x, y) : target->downLine);
        if (touch == Touch::Down) return lines;
    }
    if (!state.pen) return lines;
    const ScriptState::PenOnScreen pen = *state.pen;
    if (touch == Touch::Move) {
        if (pen.coordinates) lines.push_back(withPoint("stylus move", pen, x, y));
        return lines;
    }
    state.pen.reset();
    const bool over = x >= pen.x && x < pen.x + pen.width && y >= pen.y && y < pen.y + pen.height;
    if (!pen.upLine.empty() && (over || pen.liftAnywhere))
        lines.push_back(pen.coordinates ? withPoint(pen.upLine, pen, x, y) : pen.upLine);
    return lines;
}

}  // namespace pocketsim
