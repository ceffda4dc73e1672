// Hot keys and synthesised key events.
#include "api_call.h"
#include "keyboard.h"

using namespace sim;

namespace {

constexpr DWORD kErrorWindowOfOtherThread = 1408;  // ERROR_WINDOW_OF_OTHER_THREAD

// ERROR_SUCCESS when `hwnd` is NULL (the thread itself) or a window of the calling thread.
DWORD checkHolder(ApiCall& call, HWND hwnd) {
    if (!hwnd) return ERROR_SUCCESS;
    const Window* window = call.device.windows.find(hwnd);
    if (!window) return ERROR_INVALID_WINDOW_HANDLE;
    if (window->thread != &call.thread) return kErrorWindowOfOtherThread;
    return ERROR_SUCCESS;
}

}  // namespace

BOOL WINAPI RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
    ApiCall call("RegisterHotKey", hwnd, id, modifiers, vk);
    if (const DWORD error = checkHolder(call, hwnd)) return call.fail(error, FALSE);
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, FALSE);
    HotKey key;
    key.owner = hwnd;
    key.threadId = call.thread.id();
    key.pid = call.process.pid;
    key.id = id;
    key.modifiers = modifiers;
    key.vk = vk;
    if (const DWORD error = call.device.hotKeys.add(key)) return call.fail(error, FALSE);
    call.device.note(HotKeyTaken{key});
    return call.ret(TRUE);
}

BOOL WINAPI UnregisterHotKey(HWND hwnd, int id) {
    ApiCall call("UnregisterHotKey", hwnd, id);
    if (const DWORD error = checkHolder(call, hwnd)) return call.fail(error, FALSE);
    const std::vector<HotKey> released = call.device.hotKeys.remove(hwnd, call.thread.id(), id);
    if (released.empty()) return call.fail(ERROR_HOTKEY_NOT_REGISTERED, FALSE);
    for (const HotKey& key : released) call.device.note(HotKeyReleased{key});
    return call.ret(TRUE);
}

void WINAPI keybd_event(BYTE vk, BYTE scan, DWORD flags, DWORD extra) {
    ApiCall call("keybd_event", vk, scan, flags, extra);
    synthesiseKey(call.device, KeyboardEvent{call.device.clock.now(), call.process.pid, vk, scan, flags, extra});
}
