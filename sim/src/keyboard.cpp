#include "keyboard.h"

#include "device.h"

namespace sim {

void Keyboard::record(const KeyboardEvent& event) {
    events_.push_back(event);
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
        MSG msg{};
        msg.message = WM_HOTKEY;
        msg.wParam = static_cast<WPARAM>(key.id);
        msg.lParam = lParam;
        msg.time = device.clock.tickCount();
        thread->queue().posted.push_back(msg);
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
    device.keyboard.recordPress(press);
    if (!press.receiver) return std::nullopt;
    const HotKey key = *press.receiver;
    postHotKey(device, key, key.keyModifiers());
    if (key.modifiers & MOD_KEYUP) postHotKey(device, key, key.keyModifiers() | MOD_KEYUP);
    return key;
}

}  // namespace sim
