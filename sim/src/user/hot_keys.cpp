#include "hot_keys.h"

#include <algorithm>

namespace sim {

void HotKeyTable::prune() {
    std::erase_if(keys_, [this](const HotKey& key) { return !alive_(key); });
}

DWORD HotKeyTable::add(const HotKey& key) {
    prune();
    for (const HotKey& held : keys_)
        if (held.vk == key.vk && held.keyModifiers() == key.keyModifiers()) return ERROR_HOTKEY_ALREADY_REGISTERED;
    keys_.push_back(key);
    return ERROR_SUCCESS;
}

std::vector<HotKey> HotKeyTable::remove(HWND owner, std::uint32_t threadId, int id) {
    prune();
    std::vector<HotKey> removed;
    std::erase_if(keys_, [&](const HotKey& key) {
        const bool match = key.id == id && key.owner == owner && (owner || key.threadId == threadId);
        if (match) removed.push_back(key);
        return match;
    });
    return removed;
}

std::vector<HotKey> HotKeyTable::removeAllOf(HWND owner, std::uint32_t threadId) {
    std::vector<HotKey> removed;
    std::erase_if(keys_, [&](const HotKey& key) {
        const bool match = key.owner == owner && (owner || key.threadId == threadId);
        if (match) removed.push_back(key);
        return match;
    });
    return removed;
}

std::optional<HotKey> HotKeyTable::find(UINT vk, UINT modifiers) const {
    const UINT wanted = modifiers & ~static_cast<UINT>(MOD_KEYUP);
    for (const HotKey& key : keys_)
        if (key.vk == vk && key.keyModifiers() == wanted && alive_(key)) return key;
    return std::nullopt;
}

std::vector<HotKey> HotKeyTable::all() const {
    std::vector<HotKey> out;
    for (const HotKey& key : keys_)
        if (alive_(key)) out.push_back(key);
    return out;
}

}  // namespace sim
