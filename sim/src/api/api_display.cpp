// Device contexts of the screen and escapes to the display driver.
#include "api_call.h"
#include "display.h"

using namespace sim;

namespace {

constexpr DWORD kErrorGenFailure = 31;  // ERROR_GEN_FAILURE

}  // namespace

HDC WINAPI GetDC(HWND hwnd) {
    ApiCall call("GetDC", hwnd);
    if (hwnd && !call.device.windows.find(hwnd)) return call.fail(ERROR_INVALID_WINDOW_HANDLE, HDC{nullptr});
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, HDC{nullptr});
    const std::uintptr_t dc = call.device.handles.allocate(HandleKind::DeviceContext, &call.process);
    return call.ret(reinterpret_cast<HDC>(dc));
}

// The window given is not checked against the one the context was taken for; the common
// contexts that GetDC hands out go back to the pool either way.
int WINAPI ReleaseDC(HWND hwnd, HDC hdc) {
    ApiCall call("ReleaseDC", hwnd, hdc);
    // Releasing NULL (what a caller does after a GetDC that failed) does nothing and is no fault.
    if (!hdc) return call.ret(0);
    if (!call.device.handles.release(reinterpret_cast<std::uintptr_t>(hdc), HandleKind::DeviceContext, &call.process))
        return call.ret(0);
    return call.ret(1);
}

int WINAPI ExtEscape(HDC hdc, int escape, int cbInput, LPCSTR input, int cbOutput, LPSTR output) {
    // The buffers are records, not strings: they are traced by address only.
    ApiCall call("ExtEscape", hdc, escape, cbInput, static_cast<const void*>(input), cbOutput,
                 static_cast<const void*>(output));
    Device& device = call.device;
    if (!device.handles.isOpen(reinterpret_cast<std::uintptr_t>(hdc), HandleKind::DeviceContext))
        return call.fail(ERROR_INVALID_HANDLE, 0);
    EscapeCall logged{device.clock.now(), call.process.pid, escape, cbInput, cbOutput, 0};
    if (call.injectFault()) {
        logged.result = -1;
        device.note(logged);
        return call.fail(kErrorGenFailure, -1);  // the driver could not reach the hardware
    }
    DWORD error = ERROR_SUCCESS;
    const ULONG before = device.display.powerState;
    logged.result = device.display.escape(escape, cbInput, input, cbOutput, output, error);
    device.note(logged);
    if (device.display.powerState != before) device.note(DisplayPowerChanged{before, device.display.powerState});
    if (logged.result < 0) return call.fail(error, logged.result);
    return call.ret(logged.result);
}
