// Window longs (subclassing across processes, as Windows CE allows), rectangles, visibility,
// the foreground window, and icons by resource.
#include "api_call.h"
#include "resources.h"

using namespace sim;

LONG WINAPI SetWindowLongW(HWND hwnd, int index, LONG value) {
    ApiCall call("SetWindowLongW", hwnd, index, value);
    Window* window = call.device.windows.find(hwnd);
    if (!window) return call.fail(ERROR_INVALID_WINDOW_HANDLE, LONG{0});
    // Another program's window may go at any moment; the change is then not made.
    if (call.injectFault()) return call.fail(ERROR_INVALID_WINDOW_HANDLE, LONG{0});
    LONG previous = 0;
    switch (index) {
    case GWL_WNDPROC:
        if (!value) return call.fail(ERROR_INVALID_PARAMETER, LONG{0});
        previous = reinterpret_cast<LONG>(window->proc);
        window->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWL_STYLE:
        previous = static_cast<LONG>(window->style);
        window->style = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        previous = static_cast<LONG>(window->exStyle);
        window->exStyle = static_cast<DWORD>(value);
        break;
    case GWL_USERDATA:
        previous = window->userData;
        window->userData = value;
        break;
    default:
        return call.fail(ERROR_INVALID_PARAMETER, LONG{0});
    }
    // A previous value of 0 is a success too, and the last error is left as it was: a caller that
    // must tell the two apart clears it first.
    return call.ret(previous);
}

LONG WINAPI GetWindowLongW(HWND hwnd, int index) {
    ApiCall call("GetWindowLongW", hwnd, index);
    const Window* window = call.device.windows.find(hwnd);
    if (!window) return call.fail(ERROR_INVALID_WINDOW_HANDLE, LONG{0});
    if (call.injectFault()) return call.fail(ERROR_INVALID_WINDOW_HANDLE, LONG{0});
    switch (index) {
    case GWL_WNDPROC: return call.ret(reinterpret_cast<LONG>(window->proc));
    case GWL_STYLE: return call.ret(static_cast<LONG>(window->style));
    case GWL_EXSTYLE: return call.ret(static_cast<LONG>(window->exStyle));
    case GWL_USERDATA: return call.ret(window->userData);
    default: return call.fail(ERROR_INVALID_PARAMETER, LONG{0});
    }
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    ApiCall call("GetWindowRect", hwnd);
    const Window* window = call.device.windows.find(hwnd);
    if (!window) return call.fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (!rect) return call.fail(ERROR_INVALID_PARAMETER, FALSE);
    // The rectangle is left as it was.
    if (call.injectFault()) return call.fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    *rect = window->rect;
    return call.ret(TRUE);
}

HWND WINAPI GetForegroundWindow(void) {
    ApiCall call("GetForegroundWindow");
    // There is none for a moment while activation passes from one window to another.
    if (call.injectFault()) return call.ret(HWND{nullptr});
    const HWND front = call.device.foreground;
    return call.ret(call.device.windows.find(front) ? front : HWND{nullptr});
}

// Brings the window to the front, where the user's keys go. (Windows also limits which process
// may take the foreground; the simulation lets any, as it lets the one in front.)
BOOL WINAPI SetForegroundWindow(HWND hwnd) {
    ApiCall call("SetForegroundWindow", hwnd);
    if (!call.device.windows.find(hwnd)) return call.fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    call.device.foreground = hwnd;
    return call.ret(TRUE);
}

// Visible only with every parent up to the top-level window visible too.
BOOL WINAPI IsWindowVisible(HWND hwnd) {
    ApiCall call("IsWindowVisible", hwnd);
    const Window* window = call.device.windows.find(hwnd);
    if (!window) return call.ret(FALSE);
    // The window went meanwhile: the answer is that of a window that is not there.
    if (call.injectFault()) return call.ret(FALSE);
    for (; window; window = window->parent ? call.device.windows.find(window->parent) : nullptr)
        if (!(window->style & WS_VISIBLE)) return call.ret(FALSE);
    return call.ret(TRUE);
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    ApiCall call("IsWindowEnabled", hwnd);
    const Window* window = call.device.windows.find(hwnd);
    if (window && call.injectFault()) return call.ret(FALSE);
    return call.ret(window && !(window->style & WS_DISABLED) ? TRUE : FALSE);
}

HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
    ApiCall call("LoadIconW", instance, name);
    if (!IS_INTRESOURCE(name)) return call.fail(ERROR_RESOURCE_NAME_NOT_FOUND, HICON{nullptr});
    const Process* module = instance && instance != call.process.instance ? nullptr : &call.process;
    for (const auto& p : call.device.processes())
        if (!module && p->running() && p->instance == instance) module = p.get();
    const unsigned id = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name));
    const GroupIcon* group = module ? module->resources().groupIcon(id) : nullptr;
    if (!group || group->images.empty()) return call.fail(ERROR_RESOURCE_NAME_NOT_FOUND, HICON{nullptr});
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, HICON{nullptr});
    // A shared icon of the module: the system owns it, the program never destroys it.
    const std::uintptr_t handle = call.device.handles.allocate(HandleKind::Icon, nullptr);
    const IconImage* image = group->best(32, 32);
    call.device.icons[handle] = LoadedIcon{nullptr, id, image ? image->width : 32, image ? image->height : 32};
    return call.ret(reinterpret_cast<HICON>(handle));
}
