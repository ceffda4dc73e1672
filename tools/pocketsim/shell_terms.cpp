#include "shell_terms.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>

#include "arguments.h"
#include "commands.h"
#include "format.h"
#include "utf.h"

namespace pocketsim {

namespace {

struct Named {
    UINT value;
    const char* name;
};

constexpr std::array<Named, 7> kButtons{{
    {IDOK, "OK"}, {IDCANCEL, "CANCEL"}, {IDABORT, "ABORT"}, {IDRETRY, "RETRY"},
    {IDIGNORE, "IGNORE"}, {IDYES, "YES"}, {IDNO, "NO"},
}};

// Button sets by the low four bits of the type; the sim headers name only a few of them.
const std::vector<int>& buttonSet(UINT type) {
    static const std::array<std::vector<int>, 6> kSets{{
        {IDOK},
        {IDOK, IDCANCEL},
        {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO},
        {IDRETRY, IDCANCEL},
    }};
    static const std::vector<int> kUnknown;
    const UINT set = type & 0xF;
    return set < kSets.size() ? kSets[set] : kUnknown;
}

constexpr std::array<const char*, 6> kButtonSetNames{
    {"MB_OK", "MB_OKCANCEL", "MB_ABORTRETRYIGNORE", "MB_YESNOCANCEL", "MB_YESNO", "MB_RETRYCANCEL"}};

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Names the fields in `fields` (each a mask and its values) and the single bits in `bits`;
// whatever is left is shown in hex.
std::string flagNames(UINT value, const std::vector<std::pair<UINT, std::vector<Named>>>& fields,
                      const std::vector<Named>& bits) {
    std::string names;
    auto add = [&names](const std::string& name) { names += (names.empty() ? "" : "|") + name; };
    UINT rest = value;
    for (const auto& [mask, values] : fields) {
        for (const Named& v : values) {
            if ((value & mask) != v.value) continue;
            if (v.name[0] != '\0') add(v.name);
            rest &= ~mask;
            break;
        }
    }
    for (const Named& b : bits) {
        if (!(value & b.value)) continue;
        add(b.name);
        rest &= ~b.value;
    }
    if (rest) add(hex(rest));
    return hex(value, 8) + " (" + names + ")";
}

std::string withoutMnemonics(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;  // "&&" stands for one '&'
        out += text[i];
    }
    return out;
}

std::string itemList(const std::vector<pocket::MenuItemView>& items) {
    std::string list;
    for (const pocket::MenuItemView& item : items) {
        if (item.separator) continue;
        list += (list.empty() ? "" : ", ") +
                (item.popup ? quote(item.text) + " (submenu)" : std::to_string(item.id) + " " + quote(item.text));
    }
    return list.empty() ? "it has none but separators" : "there are " + list;
}

}  // namespace

ButtonChoice parseButton(std::string_view text) {
    if (!text.empty() && text[0] >= '0' && text[0] <= '9')
        return {static_cast<int>(parseNumber(text, std::numeric_limits<std::int32_t>::max(), "button")), false};
    const std::string name = upper(text);
    for (const Named& b : kButtons)
        if (name == b.name || name == "ID" + std::string(b.name)) return {static_cast<int>(b.value), true};
    throw UsageError("unknown button \"" + std::string(text) + "\" (OK, CANCEL, ABORT, RETRY, IGNORE, YES, NO or a number)");
}

std::string buttonName(int id) {
    for (const Named& b : kButtons)
        if (static_cast<int>(b.value) == id) return b.name;
    return std::to_string(id);
}

std::vector<int> boxButtons(UINT type) { return buttonSet(type); }

int defaultButton(UINT type) {
    const std::vector<int>& set = buttonSet(type);
    if (set.empty()) return IDOK;
    const std::size_t which = (type >> 8) & 0xF;  // MB_DEFBUTTON1..4
    return set[which < set.size() ? which : 0];
}

std::string boxTypeText(UINT type) {
    std::vector<Named> sets;
    for (UINT i = 0; i < kButtonSetNames.size(); ++i) sets.push_back({i, kButtonSetNames[i]});
    return flagNames(type,
                     {{0xF, sets},
                      {0xF0, {{0, ""}, {0x10, "MB_ICONERROR"}, {0x20, "MB_ICONQUESTION"}, {0x30, "MB_ICONEXCLAMATION"},
                              {0x40, "MB_ICONINFORMATION"}}},
                      {0xF00, {{0, ""}, {0x100, "MB_DEFBUTTON2"}, {0x200, "MB_DEFBUTTON3"}, {0x300, "MB_DEFBUTTON4"}}},
                      {0x3000, {{0, ""}, {0x1000, "MB_SYSTEMMODAL"}, {0x2000, "MB_TASKMODAL"}}}},
                     {{0x4000, "MB_HELP"}, {0x8000, "MB_NOFOCUS"}, {0x10000, "MB_SETFOREGROUND"},
                      {0x20000, "MB_DEFAULT_DESKTOP_ONLY"}, {0x40000, "MB_TOPMOST"}, {0x80000, "MB_RIGHT"},
                      {0x100000, "MB_RTLREADING"}});
}

std::string popupFlagsText(UINT flags) {
    return flagNames(flags,
                     {{0xC, {{TPM_LEFTALIGN, "TPM_LEFTALIGN"}, {TPM_CENTERALIGN, "TPM_CENTERALIGN"},
                             {TPM_RIGHTALIGN, "TPM_RIGHTALIGN"}}},
                      {0x30, {{TPM_TOPALIGN, "TPM_TOPALIGN"}, {TPM_VCENTERALIGN, "TPM_VCENTERALIGN"},
                              {TPM_BOTTOMALIGN, "TPM_BOTTOMALIGN"}}}},
                     {{0x2, "TPM_RIGHTBUTTON"}, {TPM_VERTICAL, "TPM_VERTICAL"}, {TPM_NONOTIFY, "TPM_NONOTIFY"},
                      {TPM_RETURNCMD, "TPM_RETURNCMD"}});
}

std::size_t findMenuItem(const std::vector<pocket::MenuItemView>& items, const std::string& word) {
    if (word == "-") throw ActionFailed("a separator cannot be chosen");
    if (!word.empty() && word[0] >= '0' && word[0] <= '9') {
        std::optional<std::uint64_t> id;
        try {
            id = parseNumber(word, std::numeric_limits<UINT>::max(), "id");
        } catch (const UsageError&) {
        }
        // A submenu has no command id of its own.
        for (std::size_t i = 0; id && i < items.size(); ++i)
            if (!items[i].separator && !items[i].popup && items[i].id == *id) return i;
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!items[i].separator && items[i].text == word) return i;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!items[i].separator && withoutMnemonics(items[i].text) == word) return i;
    throw ActionFailed("the menu has no item " + quote(word) + "; " + itemList(items));
}

std::vector<std::string> menuItemWords(const std::vector<pocket::MenuItemView>& items) {
    std::vector<std::string> words;
    for (const pocket::MenuItemView& item : items) words.push_back(item.separator ? "-" : item.text);
    return words;
}

std::string menuItemsText(const std::vector<pocket::MenuItemView>& items) {
    std::string text;
    for (const pocket::MenuItemView& item : items)
        text += (text.empty() ? "" : ", ") + (item.separator ? std::string("-") : quote(item.text));
    return text.empty() ? "no items" : text;
}

std::string ownerText(const pocket::PocketDevice& device, std::uint32_t pid) {
    const auto process = device.process(pid);
    return process ? process->name + " (pid " + std::to_string(pid) + ")" : "pid " + std::to_string(pid);
}

std::string trayIconText(const pocket::TrayIconView& icon) {
    return (icon.process.empty() ? "pid " + std::to_string(icon.pid)
                                 : icon.process + " (pid " + std::to_string(icon.pid) + ")") +
           " id " + std::to_string(icon.id) + ", hwnd " + handleText(icon.hwnd) + ", callback " +
           std::to_string(icon.callbackMessage) + " (" + hex(icon.callbackMessage, 4) + "), icon " +
           (icon.iconId ? std::to_string(icon.iconId) : std::string("none")) + ", tip " + quote(icon.tip);
}

}  // namespace pocketsim
