// The shell's taskbar (on a device booted with the shell), the stylus on it, and the application
// in front.
#pragma once

#include <cstdint>
#include <vector>

#include "device_core.h"

namespace pocket {

class TaskbarAndStylus : protected Facet {
public:
    HWND taskbar() const;
    HWND desktop() const;
    std::uint32_t shellPid() const;
    // The stylus on the taskbar, in its client coordinates (negative ones too): posted to it as
    // WM_LBUTTONDOWN, WM_MOUSEMOVE and WM_LBUTTONUP, as the touch screen's driver does.
    void stylusDown(int x, int y);
    void stylusMove(int x, int y);
    void stylusUp(int x, int y);
    void tapTaskbar(int x, int y) {
        stylusDown(x, y);
        stylusUp(x, y);
    }
    // What the taskbar's own procedure received, and what it answers.
    std::vector<sim::ReceivedMessage> taskbarReceived(std::uint64_t mark = 0) const;
    const void* taskbarOwnProcedure() const;
    LRESULT taskbarResult() const;
    void setTaskbarResult(LRESULT result);
    // Whether the taskbar's procedure is its own (nobody hooked it).
    bool taskbarProcedureIsItsOwn() const;
    std::vector<HWND> sentToBackground(std::uint64_t mark = 0) const;
    HWND foreground() const;
    void setForeground(HWND hwnd);

protected:
    TaskbarAndStylus(sim::Device& device, const DeviceCore& core) : Facet(device), core_(core) {}

private:
    void stylus(UINT message, int x, int y);
    const DeviceCore& core_;
};

}  // namespace pocket
