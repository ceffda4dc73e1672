#include "notifications.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace sim {

bool sameClsid(const CLSID& a, const CLSID& b) { return std::memcmp(&a, &b, sizeof(CLSID)) == 0; }

std::string clsidText(const CLSID& c) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", c.Data1, c.Data2, c.Data3,
                  c.Data4[0], c.Data4[1], c.Data4[2], c.Data4[3], c.Data4[4], c.Data4[5], c.Data4[6], c.Data4[7]);
    return text;
}

std::optional<CLSID> parseClsid(const std::string& text) {
    std::string hex;
    for (char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
        else if (c != '{' && c != '}' && c != '-') return std::nullopt;
    if (hex.size() != 32) return std::nullopt;
    auto part = [&](std::size_t at, std::size_t len) { return std::stoul(hex.substr(at, len), nullptr, 16); };
    CLSID c{};
    c.Data1 = part(0, 8);
    c.Data2 = static_cast<WORD>(part(8, 4));
    c.Data3 = static_cast<WORD>(part(12, 4));
    for (int i = 0; i < 8; ++i) c.Data4[i] = static_cast<BYTE>(part(16 + 2 * i, 2));
    return c;
}

namespace {

char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }
bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Attributes of one tag, names lower-cased, values as written (quotes removed).
std::vector<std::pair<std::u16string, std::u16string>> attributes(std::u16string_view tag) {
    std::vector<std::pair<std::u16string, std::u16string>> out;
    std::size_t i = 0;
    while (i < tag.size()) {
        while (i < tag.size() && (isSpace(tag[i]) || tag[i] == u'/')) ++i;
        std::u16string name;
        while (i < tag.size() && !isSpace(tag[i]) && tag[i] != u'=' && tag[i] != u'/') name += lower(tag[i++]);
        if (name.empty()) break;
        while (i < tag.size() && isSpace(tag[i])) ++i;
        std::u16string value;
        if (i < tag.size() && tag[i] == u'=') {
            ++i;
            while (i < tag.size() && isSpace(tag[i])) ++i;
            if (i < tag.size() && (tag[i] == u'\'' || tag[i] == u'"')) {
                const char16_t quote = tag[i++];
                while (i < tag.size() && tag[i] != quote) value += tag[i++];
                if (i < tag.size()) ++i;
            } else {
                while (i < tag.size() && !isSpace(tag[i])) value += tag[i++];
            }
        }
        out.emplace_back(std::move(name), std::move(value));
    }
    return out;
}

}  // namespace

std::vector<unsigned> htmlButtonCommands(std::u16string_view html) {
    std::vector<unsigned> commands;
    std::size_t pos = 0;
    while ((pos = html.find(u'<', pos)) != std::u16string_view::npos) {
        const std::size_t end = html.find(u'>', pos);
        if (end == std::u16string_view::npos) break;
        std::u16string_view tag = html.substr(pos + 1, end - pos - 1);
        pos = end + 1;
        std::u16string head;
        std::size_t k = 0;
        while (k < tag.size() && !isSpace(tag[k])) head += lower(tag[k++]);
        if (head != u"input") continue;
        bool button = false;
        std::u16string name;
        for (auto& [key, value] : attributes(tag.substr(k))) {
            std::u16string lowered;
            for (char16_t c : value) lowered += lower(c);
            if (key == u"type") button = lowered == u"button" || lowered == u"submit";
            if (key == u"name") name = value;
        }
        if (!button || name.size() <= 4 || name.compare(0, 4, u"cmd:") != 0) continue;
        unsigned long number = 0;
        bool digits = true;
        for (std::size_t d = 4; d < name.size(); ++d) {
            if (name[d] < u'0' || name[d] > u'9' || number > 0xFFFF) { digits = false; break; }
            number = number * 10 + (name[d] - u'0');
        }
        if (digits && number <= 0xFFFF) commands.push_back(static_cast<unsigned>(number));
    }
    return commands;
}

NotificationEvent NotificationCenter::add(const Notification& n, std::uint64_t time) {
    LRESULT result = S_OK;
    if (find(n.clsid, n.id)) result = E_FAIL;  // one notification per class id and id
    else active_.push_back(n);
    const Notification* now = find(n.clsid, n.id);
    return {NotificationCall::Add, n.clsid, n.id, 0, result, time, n.ownerPid,
            now ? std::optional<Notification>(*now) : std::nullopt};
}

NotificationEvent NotificationCenter::update(DWORD mask, const Notification& f, std::uint64_t time, std::uint32_t pid) {
    auto it = std::find_if(active_.begin(), active_.end(), [&](const Notification& a) {
        return sameClsid(a.clsid, f.clsid) && a.id == f.id;
    });
    LRESULT result = E_FAIL;
    if (it != active_.end()) {
        result = S_OK;
        if (mask & SHNUM_PRIORITY) it->priority = f.priority;
        if (mask & SHNUM_DURATION) it->duration = f.duration;
        if (mask & SHNUM_ICON) {
            it->icon = f.icon;
            it->iconResourceId = f.iconResourceId;
        }
        if (mask & SHNUM_HTML) it->html = f.html;
        if (mask & SHNUM_TITLE) it->title = f.title;
    }
    return {NotificationCall::Update, f.clsid, f.id, mask, result, time, pid,
            it != active_.end() ? std::optional<Notification>(*it) : std::nullopt};
}

NotificationEvent NotificationCenter::remove(const CLSID& clsid, DWORD id, std::uint64_t time, std::uint32_t pid) {
    const auto before = active_.size();
    std::erase_if(active_, [&](const Notification& a) { return sameClsid(a.clsid, clsid) && a.id == id; });
    const LRESULT result = active_.size() < before ? S_OK : E_FAIL;
    return {NotificationCall::Remove, clsid, id, 0, result, time, pid, std::nullopt};
}

const Notification* NotificationCenter::find(const CLSID& clsid, DWORD id) const {
    for (const Notification& n : active_)
        if (sameClsid(n.clsid, clsid) && n.id == id) return &n;
    return nullptr;
}

}  // namespace sim
