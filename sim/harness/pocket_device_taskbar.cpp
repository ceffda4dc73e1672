// The driver's side of the shell's taskbar: the stylus on it, and threads stopped mid-call.
#include "pocket_device.h"
#include "utf.h"

namespace pocket {

namespace {

LPARAM point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace

void PocketDevice::stylusDown(int x, int y) {
    device_.postSystemMessage(taskbar(), WM_LBUTTONDOWN, 1 /* MK_LBUTTON */, point(x, y));
    device_.runUntilIdle();
}

void PocketDevice::stylusMove(int x, int y) {
    device_.postSystemMessage(taskbar(), WM_MOUSEMOVE, 1, point(x, y));
    device_.runUntilIdle();
}

void PocketDevice::stylusUp(int x, int y) {
    device_.postSystemMessage(taskbar(), WM_LBUTTONUP, 0, point(x, y));
    device_.runUntilIdle();
}

bool PocketDevice::taskbarProcedureIsItsOwn() const {
    const sim::Window* window = device_.windows.find(taskbar());
    if (!window) return false;
    return window->proc == device_.shellWindows.taskbarProc;
}

StandInView PocketDevice::createApplication(const std::string& program, const std::string& className,
                                            const std::string& title, const sim::StandInOptions& options) {
    const HWND hwnd = sim::startStandIn(device_, program, sim::fromUtf8(className), sim::fromUtf8(title), options);
    const sim::Window* window = device_.windows.find(hwnd);
    const StandInView made{hwnd, window && window->process ? window->process->pid : 0};
    if (hwnd) standIns_.push_back(StandInRecord{hwnd, made.pid, program, className, title, true});
    return made;
}

void PocketDevice::setSystem(DWORD majorVersion, const std::u16string& platformType) {
    device_.system.majorVersion = majorVersion;
    device_.system.platformType = platformType;
}

void PocketDevice::stopAt(const std::string& function, std::uint64_t occurrence, const std::string& program) {
    device_.preemptions.add(sim::FaultRule{function, program, occurrence, 1});
}

std::vector<StoppedThread> PocketDevice::stoppedThreads() const {
    std::vector<StoppedThread> out;
    for (const auto& thread : device_.scheduler.threads())
        if (!thread->parkedAt.empty())
            out.push_back(StoppedThread{thread->id(), thread->process() ? thread->process()->name : "", thread->parkedAt});
    return out;
}

void PocketDevice::resumeStopped() {
    for (const auto& thread : device_.scheduler.threads()) thread->parkedAt.clear();
    device_.runUntilIdle();
}

}  // namespace pocket
