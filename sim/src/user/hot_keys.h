// Hot keys: a key with its modifiers belongs to at most one window (or thread) at a time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "records.h"

namespace sim {

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
