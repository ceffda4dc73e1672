#include "taskbar_and_stylus.h"

#include "device.h"
#include "touch_screen.h"

namespace pocket {

HWND TaskbarAndStylus::taskbar() const { return device_.shellWindows.taskbar; }
HWND TaskbarAndStylus::desktop() const { return device_.shellWindows.desktop; }
std::uint32_t TaskbarAndStylus::shellPid() const { return device_.shellWindows.pid; }

void TaskbarAndStylus::stylus(UINT message, int x, int y) {
    sim::touch(device_, taskbar(), message, x, y);
    device_.runUntilIdle();
}

void TaskbarAndStylus::stylusDown(int x, int y) { stylus(WM_LBUTTONDOWN, x, y); }
void TaskbarAndStylus::stylusMove(int x, int y) { stylus(WM_MOUSEMOVE, x, y); }
void TaskbarAndStylus::stylusUp(int x, int y) { stylus(WM_LBUTTONUP, x, y); }

std::vector<sim::ReceivedMessage> TaskbarAndStylus::taskbarReceived(std::uint64_t mark) const {
    return core_.deliveries(taskbarOwnProcedure(), nullptr, mark);
}

const void* TaskbarAndStylus::taskbarOwnProcedure() const {
    return reinterpret_cast<const void*>(device_.shellWindows.taskbarProc);
}

LRESULT TaskbarAndStylus::taskbarResult() const { return device_.shellWindows.taskbarResult; }
void TaskbarAndStylus::setTaskbarResult(LRESULT result) { device_.shellWindows.taskbarResult = result; }

bool TaskbarAndStylus::taskbarProcedureIsItsOwn() const {
    const sim::Window* window = device_.windows.find(taskbar());
    return window && window->proc == device_.shellWindows.taskbarProc;
}

std::vector<HWND> TaskbarAndStylus::sentToBackground(std::uint64_t mark) const {
    std::vector<HWND> out;
    for (const sim::SentToBackground& sent : device_.journal.all<sim::SentToBackground>(mark)) out.push_back(sent.window);
    return out;
}

HWND TaskbarAndStylus::foreground() const { return device_.foreground; }
void TaskbarAndStylus::setForeground(HWND hwnd) { device_.foreground = hwnd; }

}  // namespace pocket
