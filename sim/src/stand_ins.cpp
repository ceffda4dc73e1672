#include "stand_ins.h"

#include "context.h"
#include "device.h"

namespace sim {

namespace {

LRESULT CALLBACK StandInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Device& device = currentDevice();
    device.standIns.record(hwnd, ReceivedMessage{message, wParam, lParam, device.clock.now()});
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

const std::vector<ReceivedMessage>& StandInLogs::of(HWND hwnd) const {
    static const std::vector<ReceivedMessage> none;
    auto it = logs_.find(hwnd);
    return it == logs_.end() ? none : it->second;
}

HWND startStandIn(Device& device, const std::string& program, const std::u16string& className,
                  const std::u16string& title) {
    Process& process = device.startHosted(program, [className, title] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = StandInProc;
        wc.lpszClassName = className.c_str();
        if (!RegisterClassW(&wc)) return 1;
        const HWND hwnd = CreateWindowExW(0, className.c_str(), title.c_str(), WS_VISIBLE, 0, 0, CW_USEDEFAULT,
                                          CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
        if (!hwnd) return 1;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
        return static_cast<int>(msg.wParam);
    });
    const std::vector<HWND> made = device.windows.windowsOf(process);
    return made.empty() ? nullptr : made.front();
}

}  // namespace sim
