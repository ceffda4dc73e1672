// The keyboard: keys the programs synthesise, the power switch they can reach through VK_OFF,
// and the presses of hot keys that the user makes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "hot_keys.h"
#include "entries.h"

namespace sim {

class Device;

class Keyboard {
public:
    // keybd_event. A press of VK_OFF followed by its release switches the device off.
    void apply(const KeyboardEvent& event);
    // MOD_ALT, MOD_CONTROL, MOD_SHIFT and MOD_WIN for the modifier keys now down.
    UINT modifiers() const { return modifiers_; }
    bool switchedOn() const { return on_; }
    void switchOn() { on_ = true; }

private:
    bool offDown_ = false;
    bool on_ = true;
    UINT modifiers_ = 0;
};

// A key a program synthesises (keybd_event), routed as Windows routes input: a hot key first
// (WM_HOTKEY to its holder, and nothing else for that press), then a popup menu being tracked or
// a message box that is up, which take the keys that work them. The device has no keyboard
// focus, so any other key reaches no window.
void synthesiseKey(Device& device, const KeyboardEvent& event);

// Whether the window or thread that holds `key` still exists.
bool hotKeyHolderAlive(const Device& device, const HotKey& key);

// The user presses a key: WM_HOTKEY is posted to the holder of the key with these modifiers
// (wParam = id, lParam = MAKELPARAM(modifiers, vk)), and a second time with MOD_KEYUP at the
// release when the holder asked for it. Returns the holder, or nothing when no one holds the key.
std::optional<HotKey> pressHotKey(Device& device, UINT vk, UINT modifiers);

}  // namespace sim
