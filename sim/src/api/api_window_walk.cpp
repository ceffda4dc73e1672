// Walking the window tree: GetWindow and GetClassNameW.
#include <algorithm>

#include "api_call.h"

using namespace sim;

namespace {

// The window's siblings, front first: the z-order for top-level windows, creation order for
// children (a new child goes to the bottom of its siblings).
std::vector<HWND> siblingsOf(const WindowManager& windows, HWND parent) {
    if (!parent) return windows.zOrder();
    std::vector<HWND> out;
    for (const Window* w : windows.all())
        if (w->parent == parent) out.push_back(w->hwnd);
    return out;
}

}  // namespace

// The root of the window tree, whose children are the top-level windows. No program made it, and
// it lies outside the range of handles the device gives out.
static const HWND kDesktopWindow = reinterpret_cast<HWND>(std::uintptr_t{0xFF10});

HWND WINAPI GetDesktopWindow(void) {
    ApiCall call("GetDesktopWindow");
    return call.ret(kDesktopWindow);
}

// GetWindow(NULL, GW_CHILD) is the first top-level window, as GetWindow(GetDesktopWindow(),
// GW_CHILD) is; the desktop's GetWindow rejects a NULL window.
HWND WINAPI GetWindow(HWND hwnd, UINT command) {
    ApiCall call("GetWindow", hwnd, command);
    const WindowManager& windows = call.device.windows;
    if (hwnd == kDesktopWindow) {
        if (command != GW_CHILD) return call.ret(HWND{nullptr});
        hwnd = nullptr;
    }
    if (command > GW_CHILD) return call.fail(ERROR_INVALID_PARAMETER, HWND{nullptr});
    if (!hwnd && command != GW_CHILD) return call.fail(ERROR_INVALID_WINDOW_HANDLE, HWND{nullptr});
    const Window* window = hwnd ? windows.find(hwnd) : nullptr;
    if (hwnd && !window) return call.fail(ERROR_INVALID_WINDOW_HANDLE, HWND{nullptr});
    // A walk over other programs' windows may find one gone by the time it asks for the next.
    if (window && call.injectFault()) return call.fail(ERROR_INVALID_WINDOW_HANDLE, HWND{nullptr});

    if (command == GW_OWNER) return call.ret(HWND{nullptr});  // owned windows are not simulated
    if (command == GW_CHILD) {
        const std::vector<HWND> children = siblingsOf(windows, hwnd);
        return call.ret(children.empty() ? HWND{nullptr} : children.front());
    }
    const std::vector<HWND> siblings = siblingsOf(windows, window->parent);
    if (siblings.empty()) return call.ret(HWND{nullptr});
    auto at = std::find(siblings.begin(), siblings.end(), hwnd);
    switch (command) {
    case GW_HWNDFIRST: return call.ret(siblings.front());
    case GW_HWNDLAST: return call.ret(siblings.back());
    case GW_HWNDNEXT:
        return call.ret(at == siblings.end() || at + 1 == siblings.end() ? HWND{nullptr} : *(at + 1));
    default:  // GW_HWNDPREV
        return call.ret(at == siblings.end() || at == siblings.begin() ? HWND{nullptr} : *(at - 1));
    }
}

int WINAPI GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount) {
    ApiCall call("GetClassNameW", hwnd, static_cast<const void*>(buffer), maxCount);
    const Window* window = call.device.windows.find(hwnd);
    if (!window) return call.fail(ERROR_INVALID_WINDOW_HANDLE, 0);
    if (!buffer || maxCount < 0) return call.fail(ERROR_INVALID_PARAMETER, 0);
    // A buffer with room for the terminator only is too small, and is not written.
    if (maxCount <= 1) return call.fail(ERROR_INSUFFICIENT_BUFFER, 0);
    // Gone meanwhile: the buffer is not written.
    if (call.injectFault()) return call.fail(ERROR_INVALID_WINDOW_HANDLE, 0);
    // Cut to maxCount - 1 characters and terminated.
    const std::size_t copied = std::min(window->className.size(), static_cast<std::size_t>(maxCount - 1));
    std::copy_n(window->className.begin(), copied, buffer);
    buffer[copied] = u'\0';
    return call.ret(static_cast<int>(copied));
}
