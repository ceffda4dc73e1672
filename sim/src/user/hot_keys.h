// Hot keys: a key with its modifiers belongs to at most one window (or thread) at a time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace sim {

struct HotKey {
    HWND owner = nullptr;           // NULL: a thread hot key, posted to `threadId`'s queue
    std::uint32_t threadId = 0;
    std::uint32_t pid = 0;
    int id = 0;
    UINT modifiers = 0;             // MOD_ALT ... MOD_WIN, and MOD_KEYUP
    UINT vk = 0;

    // MOD_KEYUP only asks for a second message at the release; it is not part of the key.
    UINT keyModifiers() const { return modifiers & ~static_cast<UINT>(MOD_KEYUP); }
};

class HotKeyTable {
public:
    // Whether a holder still exists; keys of a destroyed window or an ended thread are released.
    using Alive = std::function<bool(const HotKey&)>;
    explicit HotKeyTable(Alive alive) : alive_(std::move(alive)) {}

    // ERROR_SUCCESS, or ERROR_HOTKEY_ALREADY_REGISTERED when any holder has the key already.
    DWORD add(const HotKey& key);
    // Releases every key that `owner` (or the thread, for a NULL owner) holds under `id`; returns them.
    std::vector<HotKey> remove(HWND owner, std::uint32_t threadId, int id);
    // Releases every key a window holds (or, for a NULL owner, the thread's own); returns them.
    std::vector<HotKey> removeAllOf(HWND owner, std::uint32_t threadId);
    // The holder of the key pressed with exactly these modifiers.
    std::optional<HotKey> find(UINT vk, UINT modifiers) const;
    std::vector<HotKey> all() const;

private:
    void prune();
    Alive alive_;
    std::vector<HotKey> keys_;
};

}  // namespace sim
