// Window classes, windows, messages and timers (COREDLL's window manager).
#include <algorithm>

#include "api_call.h"
#include "message_delivery.h"

using namespace sim;

namespace {

constexpr int kTaskbarHeight = 26;

Window* ownWindow(ApiCall& call, HWND hwnd) {
    Window* window = call.device.windows.find(hwnd);
    return window && window->thread == &call.thread ? window : nullptr;
}

}  // namespace

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc) {
    ApiCall call("RegisterClassW", wc ? wc->lpszClassName : nullptr);
    if (!wc) return call.fail(ERROR_INVALID_PARAMETER, ATOM{0});
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, ATOM{0});
    DWORD error = 0;
    const WindowClass* cls = call.device.windows.registerClass(call.process, *wc, error);
    if (!cls) return call.fail(error, ATOM{0});
    return call.ret(cls->atom);
}

BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE) {
    ApiCall call("UnregisterClassW", className);
    if (!call.device.windows.unregisterClass(call.process, className))
        return call.fail(ERROR_CLASS_DOES_NOT_EXIST, FALSE);
    return call.ret(TRUE);
}

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    ApiCall call("CreateWindowExW", exStyle, className, title, style, x, y, width, height, parent, menu);
    Device& device = call.device;
    const WindowClass* cls = device.windows.findClass(call.process, className);
    if (!cls) return call.fail(ERROR_CANNOT_FIND_WND_CLASS, HWND{nullptr});
    if (parent && !device.windows.find(parent)) return call.fail(ERROR_INVALID_WINDOW_HANDLE, HWND{nullptr});
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, HWND{nullptr});

    Window window;
    window.hwnd = reinterpret_cast<HWND>(device.handles.allocate(HandleKind::Window, &call.process));
    window.process = &call.process;
    window.thread = &call.thread;
    window.classAtom = cls->atom;
    window.className = cls->name;
    window.title = title ? title : u"";
    window.style = style;
    window.exStyle = exStyle;
    window.proc = cls->wc.lpfnWndProc;
    window.parent = parent;
    const int screenW = device.config.screenWidth;
    const int screenH = device.config.screenHeight;
    const bool defaultPos = x == CW_USEDEFAULT;
    window.rect.left = defaultPos ? 0 : x;
    window.rect.top = defaultPos ? (parent ? 0 : kTaskbarHeight) : y;
    window.rect.right = window.rect.left + (width == CW_USEDEFAULT ? screenW : width);
    window.rect.bottom = window.rect.top + (height == CW_USEDEFAULT ? screenH - kTaskbarHeight : height);
    const HWND hwnd = window.hwnd;
    const WNDPROC proc = window.proc;
    device.windows.add(std::move(window));

    CREATESTRUCTW cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = title;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (callWindowProc(proc, hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs), Delivery::Sent) == -1) {
        if (device.windows.find(hwnd)) DestroyWindow(hwnd);
        return call.fail(ERROR_INVALID_PARAMETER, HWND{nullptr});
    }
    return call.ret(device.windows.find(hwnd) ? hwnd : nullptr);
}

namespace {

// WM_DESTROY goes to the window first, then to its children, front to back; then they go, the
// children before their parent. A window's timers and whatever was posted to it go with it.
void destroyTree(Device& device, HWND hwnd) {
    Window* window = device.windows.find(hwnd);
    if (!window || window->destroying) return;
    window->destroying = true;
    SimThread* thread = window->thread;
    callWindowProc(window->proc, hwnd, WM_DESTROY, 0, 0, Delivery::Sent);
    std::vector<HWND> children;
    for (const Window* w : device.windows.all())
        if (w->parent == hwnd) children.push_back(w->hwnd);
    for (HWND child : children) destroyTree(device, child);
    if (thread) {
        thread->queue().killTimersOf(hwnd);
        thread->queue().dropPostedFor(hwnd);
    }
    device.releaseHotKeys(hwnd, 0);
    device.windows.remove(hwnd);
}

}  // namespace

BOOL WINAPI DestroyWindow(HWND hwnd) {
    ApiCall call("DestroyWindow", hwnd);
    Window* window = call.device.windows.find(hwnd);
    if (!window) return call.fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (window->thread != &call.thread) return call.fail(ERROR_ACCESS_DENIED, FALSE);
    destroyTree(call.device, hwnd);
    return call.ret(TRUE);
}

BOOL WINAPI IsWindow(HWND hwnd) {
    ApiCall call("IsWindow", hwnd);
    if (!call.device.windows.find(hwnd)) return call.ret(FALSE);
    // Another program's window may be destroyed the moment after.
    if (call.injectFault()) return call.ret(FALSE);
    return call.ret(TRUE);
}

HWND WINAPI FindWindowW(LPCWSTR className, LPCWSTR title) {
    ApiCall call("FindWindowW", className, title);
    const HWND found = call.device.windows.findTopLevel(className, title);
    return call.ret(found);
}

LRESULT WINAPI DefWindowProcW(HWND hwnd, UINT message, WPARAM, LPARAM) {
    ApiCall call("DefWindowProcW", hwnd, message);
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return call.ret(LRESULT{0});
    default:
        return call.ret(LRESULT{0});
    }
}

LRESULT WINAPI CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ApiCall call("CallWindowProcW", proc, hwnd, message, wParam, lParam);
    if (!proc) return call.ret(LRESULT{0});
    return call.ret(callWindowProc(proc, hwnd, message, wParam, lParam, Delivery::Called));
}

BOOL WINAPI PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ApiCall call("PostMessageW", hwnd, message, wParam, lParam);
    const DWORD time = call.device.clock.tickCount();
    if (!hwnd) {
        call.thread.queue().post(hwnd, message, wParam, lParam, time);
        return call.ret(TRUE);
    }
    Window* window = call.device.windows.find(hwnd);
    if (!window || !window->thread) return call.fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, FALSE);
    window->thread->queue().post(hwnd, message, wParam, lParam, time);
    return call.ret(TRUE);
}

LRESULT WINAPI SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ApiCall call("SendMessageW", hwnd, message, wParam, lParam);
    Window* window = call.device.windows.find(hwnd);
    if (!window) return call.fail(ERROR_INVALID_WINDOW_HANDLE, LRESULT{0});
    if (window->thread == &call.thread)
        return call.ret(callWindowProc(window->proc, hwnd, message, wParam, lParam, Delivery::Sent));
    return call.ret(sendToOtherThread(call.device, call.thread, *window->thread, hwnd, message, wParam, lParam));
}

BOOL WINAPI GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    ApiCall call("GetMessageW", hwnd, filterMin, filterMax);
    if (hwnd && !ownWindow(call, hwnd)) return call.fail(ERROR_INVALID_WINDOW_HANDLE, BOOL{-1});
    const MessageFilter filter{hwnd, filterMin, filterMax};
    *msg = waitForMessage(call.device, call.thread, filter);
    return call.ret(msg->message == WM_QUIT ? FALSE : TRUE);
}

BOOL WINAPI PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    ApiCall call("PeekMessageW", hwnd, filterMin, filterMax, removeFlags);
    const MessageFilter filter{hwnd, filterMin, filterMax};
    auto found = takeMessage(call.device, call.thread, filter, (removeFlags & PM_REMOVE) != 0);
    if (!found) return call.ret(FALSE);
    *msg = *found;
    return call.ret(TRUE);
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    ApiCall call("TranslateMessage", msg ? msg->message : 0);
    return call.ret(FALSE);
}

LRESULT WINAPI DispatchMessageW(const MSG* msg) {
    ApiCall call("DispatchMessageW", msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (!(msg->message == WM_TIMER && msg->lParam) && !ownWindow(call, msg->hwnd))
        return call.fail(ERROR_INVALID_WINDOW_HANDLE, LRESULT{0});
    return call.ret(dispatchMessage(call.device, call.thread, *msg));
}

void WINAPI PostQuitMessage(int exitCode) {
    ApiCall call("PostQuitMessage", exitCode);
    call.thread.queue().postQuit(exitCode);
}

UINT WINAPI SetTimer(HWND hwnd, UINT id, UINT elapse, TIMERPROC proc) {
    ApiCall call("SetTimer", hwnd, id, elapse, proc);
    if (hwnd && !ownWindow(call, hwnd)) return call.fail(ERROR_INVALID_WINDOW_HANDLE, UINT{0});
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, UINT{0});
    const UINT period = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);
    MessageQueue& queue = call.thread.queue();
    if (!hwnd) {
        // A thread timer gets a fresh identifier unless it names one of the thread's own.
        bool known = false;
        for (const Timer& t : queue.timers()) known |= (!t.hwnd && t.id == id);
        if (!known) {
            id = 1;
            for (const Timer& t : queue.timers()) id = std::max<UINT>(id, static_cast<UINT>(t.id) + 1);
        }
    }
    queue.setTimer(hwnd, id, period, proc, call.device.clock.now());
    return call.ret(hwnd ? (id ? id : 1u) : id);
}

BOOL WINAPI KillTimer(HWND hwnd, UINT id) {
    ApiCall call("KillTimer", hwnd, id);
    if (!call.thread.queue().killTimer(hwnd, id)) return call.fail(ERROR_INVALID_PARAMETER, FALSE);
    return call.ret(TRUE);
}

int WINAPI GetSystemMetrics(int index) {
    ApiCall call("GetSystemMetrics", index);
    switch (index) {
    case SM_CXSCREEN: return call.ret(call.device.config.screenWidth);
    case SM_CYSCREEN: return call.ret(call.device.config.screenHeight);
    default: return call.ret(0);
    }
}
