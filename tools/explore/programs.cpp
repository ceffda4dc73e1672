// Starting the three programs and asking them to close, with what the models expect of each.
#include "run.h"
#include "script_lines.h"

namespace explore {

void Run::doStart(const std::string& program) {
    note("start " + program);
    chooseFault(EventKind::Start, program);
    const std::string outer = startingProgram_;
    startingProgram_ = program;
    record("start " + program);
    if (program == "voltmarap") startMonitor();
    else if (program == "rcbridge") startBridge();
    else startTapClose();
    settleRace();
    startingProgram_ = outer;
}

void Run::startMonitor() {
    // A second copy finds the first by its window; when the first holds the mutex but has not
    // made its window yet, the close request goes nowhere. (Before the first took the mutex, the
    // new copy becomes the first, and the other closes it once it gets on: both end.)
    MonitorFaults faults = monitorFaults();
    if (monitor_.running() && device_.mutexExists(u"VOLTMARAP") && !device_.findWindow("VOLTMARAP")) {
        faults.postClose = true;
        note(" (the running copy has no window yet)");
    }
    const auto outcome = monitor_.start(device_.now(), power_, faults);
    const pocket::ProcessView started = device_.start("voltmarap");
    if (outcome == MonitorModel::StartOutcome::Started) {
        monitorPids_.push_back(started.pid);
        note(" (runs)");
    } else if (outcome == MonitorModel::StartOutcome::SwitchedOff) {
        note(" (switches it off)");
    }
}

void Run::startBridge() {
    bool playerWindow = false;
    for (const pocket::WindowView& w : device_.windows())
        playerWindow |= w.className == "WMP7.5 for Pocket PC" && w.title == "Windows Media";
    bridgeStartExpected_ = runningPid("rcbridge") == 0 && !playerWindow && !faulting("rcbridge", "CreateMutexW") &&
                           !faulting("rcbridge", "RegisterClassW") && !faulting("rcbridge", "CreateWindowExW");
    const pocket::ProcessView started = device_.start("rcbridge");
    if (bridgeStartExpected_) {
        bridges_.push_back(BridgeRun{started.pid, faulting("rcbridge", "Shell_NotifyIcon"),
                                     faulting("rcbridge", "RegisterHotKey"), false, false});
        // Presses a bridge before it left unhandled are gone with it.
        volume_.rebase(device_.volume(), device_.callCount("waveOutGetVolume", "rcbridge"),
                       device_.callCount("waveOutSetVolume", "rcbridge"));
        note(" (runs)");
    }
}

void Run::startTapClose() {
    const bool platform = platformIsPocketPc_ && !faulting("appshut", "GetVersionExW") &&
                          !faulting("appshut", "SystemParametersInfoW");
    if (platform && !faulting("appshut", "CreateMutexW")) {
        if (tapCloseRunning_) {
            // The running copy is found by its window, which it may not have made yet.
            if (device_.mutexExists(u"APPSHUT") && !device_.findWindow("APPSHUT"))
                note(" (the running copy has no window yet)");
            else if (!faulting("appshut", "PostMessageW")) closeTapClose();
        } else if (!faulting("appshut", "RegisterClassW") && !faulting("appshut", "CreateWindowExW")) {
            tapCloseRunning_ = true;
            // Without the taskbar's procedure in hand it leaves the taskbar alone.
            tapCloseHooked_ = !faulting("appshut", "GetWindowLongW") && !faulting("appshut", "SetWindowLongW");
            note(tapCloseHooked_ ? " (runs)" : " (runs, not hooked)");
        }
    }
    device_.start("appshut");
}

// A close request reaching tap-to-close: it ends, unless its procedure cannot be taken off the
// taskbar, which it then keeps serving.
void Run::closeTapClose() {
    if (tapCloseHooked_ && faulting("appshut", "SetWindowLongW")) {
        note(" (stays: still hooked)");
        return;
    }
    tapCloseRunning_ = tapCloseHooked_ = false;
    note(" (switches it off)");
}

void Run::doCloseRequest(const std::string& program) {
    const std::uint32_t pid = runningPid(program);
    HWND target = nullptr;
    for (const pocket::WindowView& w : device_.windows())
        if (pid && w.pid == pid) target = w.hwnd;
    if (!target) {
        note("close request: " + program + " has no window");
        return;
    }
    note("close request to " + program);
    if (!inRaceWindow_) stepInvolves_ = program;
    chooseFault(EventKind::CloseRequest, program);
    if (program == "voltmarap") monitor_.close(device_.now(), monitorFaults());
    if (program == "appshut") closeTapClose();
    for (BridgeRun& b : bridges_)
        if (b.pid == pid) b.closeRequested = true;
    // By name when that names one process: a shorter script keeps meaning the same.
    record("close " + (device_.runningPids(program).size() == 1 ? program : handleWord(target)));
    device_.postMessage(target, WM_CLOSE, 0, 0);
    device_.runUntilIdle();
}

}  // namespace explore
