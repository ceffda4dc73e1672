// One simulated machine: clock, processes, windows, registry, shell and devices.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "clock.h"
#include "fault_plan.h"
#include "handle_table.h"
#include "menus.h"
#include "mutexes.h"
#include "notifications.h"
#include "process.h"
#include "program_catalog.h"
#include "registry.h"
#include "scheduler.h"
#include "shell.h"
#include "shell_taskbar.h"
#include "device_config.h"
#include "journal.h"
#include "window_manager.h"
// Files and devices.
#include "audio.h"
#include "code_page.h"
#include "display.h"
#include "file_system.h"
#include "hot_keys.h"
#include "keyboard.h"
#include "stand_ins.h"

namespace sim {

// An icon a program loaded, and the resource it came from.
struct LoadedIcon {
    Process* owner = nullptr;
    unsigned resourceId = 0;
    int width = 0;
    int height = 0;
};

class Device {
public:
    explicit Device(DeviceConfig config = {});
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const DeviceConfig config;
    VirtualClock clock;
    HandleTable handles;
    FaultPlan faults;
    // Calls at which the driver stops a thread, to run the others meanwhile (same rules as faults).
    FaultPlan preemptions;
    // What happened, in order: the one record every reader uses.
    Journal journal;
    Registry registry;
    WindowManager windows{handles};
    MutexTable mutexes;
    NotificationCenter notifications;
    Shell shell;
    ShellWindows shellWindows;
    SystemInfo system;
    HWND foreground = nullptr;
    MenuTable menus{handles};
    ProgramCatalog programs;
    SYSTEM_POWER_STATUS_EX powerStatus{};
    std::unordered_map<std::uintptr_t, LoadedIcon> icons;

    // Files and devices.
    FileSystem files;
    HotKeyTable hotKeys{[this](const HotKey& key) { return hotKeyHolderAlive(*this, key); }};
    Keyboard keyboard;
    Audio audio;
    DisplayDriver display;
    StandIns standIns;  // the stand-in windows of outside programs

    // Starts a program as a new process and runs the device until every thread waits.
    // `currentDirectory` (desktop): empty for the program's own folder, as Explorer starts it.
    Process& start(const std::string& program, const std::u16string& commandLine = u"",
                   const std::u16string& currentDirectory = u"");
    // The same without running anything: what a platform call that creates a process uses.
    Process& launch(const std::string& program, const std::u16string& commandLine = u"",
                    const std::u16string& currentDirectory = u"");
    // Starts a process that runs `body` (on a simulated thread) instead of a program image: lets a
    // test or a tool call the platform as a program would. Its exit code is what `body` returns.
    Process& startHosted(const std::string& name, std::function<int()> body);
    // Ends a process at once, as TerminateProcess does: none of its code runs any more, and
    // nothing it would have undone on its way out is undone.
    bool terminate(std::uint32_t pid, int exitCode);
    // Runs every thread that can run, without moving time.
    void runUntilIdle();
    // Moves virtual time forward, waking timers and sleepers in time order.
    void advance(std::uint64_t milliseconds);
    // The same, but ends early, at that instant, once a thread is stopped at a driver's stop.
    void advanceUntilStop(std::uint64_t milliseconds);
    bool anyThreadStopped() const;
    void setTickCount(std::uint32_t tick) { clock.setTickCount(tick); }

    const std::vector<std::unique_ptr<Process>>& processes() const { return processes_; }
    Process* findProcess(std::uint32_t pid) const;
    std::vector<Process*> running(const std::string& program) const;
    // An identifier no process or thread of this device has had.
    std::uint32_t newProcessId() {
        const std::uint32_t id = nextPid_;
        nextPid_ += 4;
        return id;
    }

    // Records an entry, stamped with the time and, on a simulated thread, the thread, its
    // process and the process whose code runs; returns its sequence number.
    std::uint64_t note(EntryData data);
    // The process whose code a thread runs now: a procedure one program put on another's
    // window runs on that window's thread, yet what it does is its own program's doing.
    const Process& codeOwner(const SimThread& thread) const;

    // Something the simulation refuses to carry on silently (a runaway thread, an image
    // unloaded under a running procedure): recorded in the journal for the driver to report.
    void reportError(const std::string& message);
    // The errors still in the journal from `mark` on.
    std::vector<std::string> errors(std::uint64_t mark = 0) const;

    // Posts a message on behalf of the system or the user (a tap, a key); false when the window is gone.
    bool postSystemMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Gives back the hot keys a window held (or, for NULL, a thread's own), as its end does.
    void releaseHotKeys(HWND owner, std::uint32_t threadId);

    // Called by the scheduler on the driver when a thread has ended.
    void threadFinished(SimThread& thread);

    Scheduler scheduler{*this};

private:
    void endProcess(Process& process, int exitCode);
    void unloadImage(Process& process);

    void advanceTo(std::uint64_t target, bool untilStop);
    std::vector<std::unique_ptr<Process>> processes_;
    std::vector<std::unique_ptr<Image>> keptImages_;
    static constexpr std::size_t kSpareImages = 4;
    std::uint32_t nextPid_ = 0x1000;
};

}  // namespace sim
