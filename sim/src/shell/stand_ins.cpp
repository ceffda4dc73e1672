#include "stand_ins.h"

#include "context.h"
#include "device.h"

namespace sim {

namespace {

LRESULT CALLBACK StandInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Device& device = currentDevice();
    device.standIns.adopt(hwnd);
    const StandInOptions options = device.standIns.options(hwnd);
    if (message == WM_DESTROY) PostQuitMessage(0);
    if (message == WM_CLOSE && options.refusesToClose) return 0;
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && options.closesWhenSentBack) {
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

const void* StandIns::procedure() { return reinterpret_cast<const void*>(StandInProc); }

HWND startStandIn(Device& device, const std::string& program, const std::u16string& className,
                  const std::u16string& title, const StandInOptions& options) {
    Process& process = device.startHosted(program, [&device, className, title, options] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = StandInProc;
        wc.lpszClassName = className.c_str();
        if (!RegisterClassW(&wc)) return 1;
        device.standIns.expect(options);
        const HWND hwnd = CreateWindowExW(options.exStyle, className.c_str(), title.c_str(), options.style, 0, 0,
                                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
        if (!hwnd) return 1;
        if (options.foreground) device.foreground = hwnd;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
        return static_cast<int>(msg.wParam);
    });
    const std::vector<HWND> made = device.windows.windowsOf(process);
    return made.empty() ? nullptr : made.front();
}

}  // namespace sim
