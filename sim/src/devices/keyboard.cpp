#include "keyboard.h"

#include "device.h"

namespace sim {

namespace {

UINT modifierOf(BYTE vk) {
    switch (vk) {
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: return MOD_SHIFT;
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: return MOD_CONTROL;
    case VK_MENU: case VK_LMENU: case VK_RMENU: return MOD_ALT;
    case VK_LWIN: case VK_RWIN: return MOD_WIN;
    default: return 0;
    }
}

}  // namespace

void Keyboard::apply(const KeyboardEvent& event) {
    if (const UINT modifier = modifierOf(event.vk)) {
        if (event.flags & KEYEVENTF_KEYUP) modifiers_ &= ~modifier;
        else modifiers_ |= modifier;
    }
    if (event.vk != VK_OFF) return;
    if (!(event.flags & KEYEVENTF_KEYUP)) {
        offDown_ = true;
    } else if (offDown_) {
        offDown_ = false;
        on_ = false;
    }
}

namespace {

SimThread* liveThread(const Device& device, std::uint32_t id) {
    for (const auto& thread : device.scheduler.threads())
        if (thread->id() == id && !thread->finished()) return thread.get();
    return nullptr;
}

void postHotKey(Device& device, const HotKey& key, UINT modifiers) {
    const LPARAM lParam = MAKELPARAM(modifiers, key.vk);
    if (key.owner) {
        device.postSystemMessage(key.owner, WM_HOTKEY, static_cast<WPARAM>(key.id), lParam);
        return;
    }
    if (SimThread* thread = liveThread(device, key.threadId)) {
        thread->queue().post(nullptr, WM_HOTKEY, static_cast<WPARAM>(key.id), lParam, device.clock.tickCount());
    }
}

}  // namespace

bool hotKeyHolderAlive(const Device& device, const HotKey& key) {
    if (key.owner) return device.windows.find(key.owner) != nullptr;
    return liveThread(device, key.threadId) != nullptr;
}

std::optional<HotKey> pressHotKey(Device& device, UINT vk, UINT modifiers) {
    HotKeyPress press{device.clock.now(), vk, modifiers, std::nullopt};
    press.receiver = device.hotKeys.find(vk, modifiers);
    device.note(press);
    if (!press.receiver) return std::nullopt;
    const HotKey key = *press.receiver;
    postHotKey(device, key, key.keyModifiers());
    if (key.modifiers & MOD_KEYUP) postHotKey(device, key, key.keyModifiers() | MOD_KEYUP);
    return key;
}

void synthesiseKey(Device& device, const KeyboardEvent& event) {
    Keyboard& keyboard = device.keyboard;
    const bool up = (event.flags & KEYEVENTF_KEYUP) != 0;
    // Modifiers as they were before this event: a modifier key is no hot key of itself.
    const UINT modifiers = keyboard.modifiers();
    device.note(event);
    const bool wasOn = keyboard.switchedOn();
    keyboard.apply(event);
    if (keyboard.switchedOn() != wasOn) device.note(PowerSwitched{keyboard.switchedOn()});
    if (modifierOf(event.vk)) return;
    if (const auto key = device.hotKeys.find(event.vk, modifiers)) {
        if (!up) postHotKey(device, *key, key->keyModifiers());
        else if (key->modifiers & MOD_KEYUP) postHotKey(device, *key, key->keyModifiers() | MOD_KEYUP);
        return;
    }
    if (up) return;
    if (device.shell.menu && !device.shell.menu->closed) {
        device.shell.menu->press(event.vk);
    } else if (!device.shell.boxes.empty()) {
        device.shell.boxes.back()->press(event.vk);
    }
}

}  // namespace sim
