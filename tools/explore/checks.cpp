// The invariants checked after every step.
#include <algorithm>

#include "device_checks.h"
#include "names.h"
#include "run.h"
#include "utf.h"

namespace explore {

namespace {

// The most handles of each kind a running process may hold at a quiet moment: anything above is
// growth. Window, icon, menu, device context, registry key, mutex.
struct HandleBound {
    const char* program;
    std::int64_t most[6];
};
constexpr HandleBound kHandleBounds[] = {
    {"voltmarap", {1, 2, 0, 0, 0, 1}},  // the icon of a notification the shell would not remove
    {"rcbridge", {1, 1, 2, 1, 0, 1}},  // while its menu is open: the menu and its popup
    {"appshut", {1, 1, 0, 0, 0, 1}},
    {"shell", {2, 0, 0, 0, 0, 0}},
    {"outside", {1, 0, 0, 0, 0, 0}},
};
constexpr sim::HandleKind kBoundKinds[] = {sim::HandleKind::Window, sim::HandleKind::Icon,
                                           sim::HandleKind::Menu, sim::HandleKind::DeviceContext,
                                           sim::HandleKind::RegistryKey, sim::HandleKind::Mutex};

std::string utf8(const std::u16string& text) { return sim::toUtf8(text); }

}  // namespace

void Run::checkAll() {
    takeProcessCensus();
    checkSimulation();
    checkPrograms();
    checkHandles();
    checkMonitor();
    checkBridge();
    checkTapClose();
    checkShellUi();
}

void Run::checkSimulation() {
    const auto& errors = device_.errors();
    for (; errorsSeen_ < errors.size(); ++errorsSeen_) problem("simulation error: " + errors[errorsSeen_]);
    for (const std::string& d : pocket::duplicateCopies(device_))
        problem(d, "expect running " + d.substr(0, d.find(':')) + " 1");
}

// A run starts thousands of processes: each is looked at while it runs and once when it ended.
void Run::takeProcessCensus() {
    endedThisStep_.clear();
    for (pocket::ProcessView& p : device_.processesAfter(processesSeen_)) {
        ++processesSeen_;
        if (!p.running) endedThisStep_.push_back(std::move(p));
    }
    for (std::uint32_t pid : runningBefore_)
        if (auto p = device_.process(pid); p && !p->running) endedThisStep_.push_back(std::move(*p));
    running_ = device_.runningProcesses();
    runningBefore_.clear();
    for (const pocket::ProcessView& p : running_) runningBefore_.push_back(p.pid);
}

void Run::checkPrograms() {
    for (const pocket::ProcessView& p : endedThisStep_)
        if (auto exit = pocket::nonZeroExit(p)) problem(*exit, "expect process " + std::to_string(p.pid) + " exit 0");
    std::vector<pocket::Leftover> leftovers = pocket::heldForEndedProcesses(device_);
    for (const pocket::ProcessView& p : endedThisStep_)
        for (pocket::Leftover& left : pocket::handlesLeftBy(p)) leftovers.push_back(std::move(left));
    for (const pocket::Leftover& left : leftovers) {
        bool tolerated = false;
        if (left.what == "notification") {
            // Kept because its removal was made to fail: the model knows each one.
            std::int64_t expected = 0;
            for (const ExpectedNotification& n : monitor_.notifications())
                expected += n.owner > 0 && monitorPids_[n.owner - 1] == left.pid;
            tolerated = expected == left.count;
        } else if (left.what == "tray icon") {
            tolerated = trayLeftoversAllowed_.count(left.pid) && left.count == 1;
        }
        if (!tolerated) problem(left.describe());
    }
}

void Run::checkHandles() {
    auto checkReleases = [&](const pocket::ProcessView& p) {
        if (p.handles.badReleases != 0)
            problem(p.name + " (pid " + std::to_string(p.pid) + ") released " +
                    std::to_string(p.handles.badReleases) + " handle(s) it did not hold");
    };
    for (const pocket::ProcessView& p : endedThisStep_) checkReleases(p);
    for (const pocket::ProcessView& p : running_) {
        checkReleases(p);
        const HandleBound* bound = nullptr;
        for (const HandleBound& b : kHandleBounds)
            if (p.name == b.program || p.name.rfind(std::string(b.program) + "-", 0) == 0) bound = &b;
        if (!bound) {
            problem("unknown process " + p.name + " runs");
            continue;
        }
        for (std::size_t k = 0; k < std::size(kBoundKinds); ++k) {
            const std::int64_t live = p.handles.liveOf(kBoundKinds[k]);
            if (live > bound->most[k])
                problem(p.name + " (pid " + std::to_string(p.pid) + ") holds " + std::to_string(live) + " " +
                        std::string(sim::handleKindName(kBoundKinds[k])) + " handles; at most " +
                        std::to_string(bound->most[k]) + " expected");
        }
    }
}

void Run::checkMonitor() {
    const std::uint32_t pid = runningPid("voltmarap");
    const std::uint32_t expectedPid = monitor_.running() ? monitorPids_[monitor_.instance() - 1] : 0;
    if (pid != expectedPid) {
        problem(monitor_.running() ? "the battery monitor should run (pid " + std::to_string(expectedPid) +
                                         ") but " + (pid ? "pid " + std::to_string(pid) + " runs" : "none runs")
                                   : "no battery monitor should run, but pid " + std::to_string(pid) + " does",
                std::string("expect running voltmarap ") + (monitor_.running() ? "1" : "0"));
        return;  // everything below follows from who runs
    }

    const auto stored = device_.dword(kCounterKey, u"BatteryCount");
    if (stored != monitor_.stored())
        problem("stored counter is " + (stored ? std::to_string(*stored) : std::string("missing")) + ", expected " +
                    (monitor_.stored() ? std::to_string(*monitor_.stored()) : std::string("missing")),
                "expect registry " + kCounterKey + " BatteryCount " +
                    (monitor_.stored() ? "dword " + std::to_string(*monitor_.stored()) : std::string("absent")));

    const std::uint64_t reads = device_.callCount("GetSystemPowerStatusEx", "voltmarap");
    if (reads != monitor_.samples())
        problem("the monitor read the power status " + std::to_string(reads) + " times, expected " +
                std::to_string(monitor_.samples()) + " samples (one per 5 s while it runs)");

    std::vector<pocket::TimerView> timers;
    for (const pocket::TimerView& t : device_.timers())
        if (t.process == "voltmarap") timers.push_back(t);
    if (monitor_.nextSample()) {
        if (timers.size() != 1 || timers[0].id != 1 || timers[0].period != 5000 || timers[0].due != *monitor_.nextSample())
            problem("the monitor's sampling timer is not 1 x 5000 ms due at " + std::to_string(*monitor_.nextSample()));
    } else if (!timers.empty()) {
        problem("the monitor has a timer running, expected none");
    }

    const std::vector<pocket::NotificationView> shown = device_.notifications();
    for (const pocket::NotificationView& n : shown) {
        if (n.clsid != kMonitorClsidText) {
            problem("a notification of another class is shown: " + n.clsid);
            continue;
        }
        const auto& expected = monitor_.notifications();
        auto it = std::find_if(expected.begin(), expected.end(),
                               [&](const ExpectedNotification& e) { return e.id == n.id; });
        if (it == expected.end()) {
            problem("notification " + std::to_string(n.id) + " is shown but should not be: " + n.html,
                    "expect notifications " + std::to_string(expected.size()));
            continue;
        }
        if (n.html != utf8(it->html))
            problem("notification " + std::to_string(n.id) + " reads\n    " + n.html + "\n  expected\n    " +
                    utf8(it->html));
        const std::uint32_t owner = monitorPids_[it->owner - 1];
        if (n.pid != owner)
            problem("notification " + std::to_string(n.id) + " belongs to pid " + std::to_string(n.pid) +
                    ", expected " + std::to_string(owner));
        const unsigned icon = levelIcon(it->iconFor);
        if (n.iconId != icon && !(it->iconMayLack && n.iconId == 0))
            problem("notification " + std::to_string(n.id) + " shows icon " + std::to_string(n.iconId) +
                    ", expected " + std::to_string(icon) + (it->iconMayLack ? " or none" : ""));
    }
    for (const ExpectedNotification& e : monitor_.notifications()) {
        bool found = false;
        for (const pocket::NotificationView& n : shown) found |= n.clsid == kMonitorClsidText && n.id == e.id;
        if (!found)
            problem("notification " + std::to_string(e.id) + " is missing; expected " + utf8(e.html),
                    "expect notifications " + std::to_string(monitor_.notifications().size()));
    }
}

void Run::checkBridge() {
    const std::uint32_t pid = runningPid("rcbridge");
    BridgeRun* current = nullptr;
    for (BridgeRun& b : bridges_) {
        if (b.ended) continue;
        if (b.pid == pid) {
            current = &b;
            continue;
        }
        b.ended = true;
        if (!b.closeRequested)
            problem("the bridge (pid " + std::to_string(b.pid) + ") ended without being asked to",
                    "expect process " + std::to_string(b.pid) + " running");
        if (faulting("rcbridge", "Shell_NotifyIcon")) trayLeftoversAllowed_.insert(b.pid);
    }
    if (pid && !current)
        problem("a bridge (pid " + std::to_string(pid) + ") runs that should not have started",
                "expect process " + std::to_string(pid) + " not running");
    // (A bridge started and asked to close within one step may be gone already.)
    if (bridgeStartExpected_ && !bridges_.back().closeRequested && (!current || current != &bridges_.back()))
        problem("the bridge should have started", "expect running rcbridge 1");
    bridgeStartExpected_ = false;

    if (current) {
        const std::vector<pocket::TrayIconView> icons = device_.trayIcons();
        const bool hasIcon = std::any_of(icons.begin(), icons.end(),
                                         [&](const pocket::TrayIconView& t) { return t.pid == current->pid; });
        if (hasIcon == current->trayAddFailed)
            problem(std::string("the running bridge ") + (hasIcon ? "has a tray icon, but adding it failed"
                                                                  : "has no tray icon"));
    }
    const std::vector<pocket::TrayIconView> icons = device_.trayIcons();
    for (const pocket::TrayIconView& icon : icons) {
        const auto owner = device_.process(icon.pid);
        if (!(owner && owner->running) && !trayLeftoversAllowed_.count(icon.pid))
            problem("a tray icon of pid " + std::to_string(icon.pid) + " stays after its program ended",
                    "expect tray-icons " + std::to_string(icons.size() - 1));
    }

    // Every command the player got comes from a key pressed for it: none made up, none twice.
    for (const StandIn& s : standIns_)
        if (s.kind.className == "TUNELARK" || s.kind.className == "TUNELARKMIDI")
            for (const sim::ReceivedMessage& m : device_.standInMessages(s.hwnd, commandsSeenTo_))
                if (m.message == WM_COMMAND) ++commandsReceived_[m.wParam];
    commandsSeenTo_ = device_.mark();
    for (const auto& [command, count] : commandsReceived_)
        if (count > commandsPressed_[command])
            problem("the player got command " + std::to_string(command) + " " + std::to_string(count) +
                    " times for " + std::to_string(commandsPressed_[command]) + " key press(es)");

    const auto e = volume_.expect(device_.callCount("waveOutGetVolume", "rcbridge"),
                                  device_.callCount("waveOutSetVolume", "rcbridge"));
    if (!e.consistent) problem(e.why);
    else if (device_.volume() != e.volume)
        problem("volume is " + std::to_string(device_.volume()) + ", expected " + std::to_string(e.volume) +
                    " from the volume keys handled",
                "expect volume " + hex(e.volume));
}

void Run::checkTapClose() {
    const bool running = runningPid("appshut") != 0;
    if (running != tapCloseRunning_)
        problem(std::string("tap-to-close should ") + (tapCloseRunning_ ? "" : "not ") + "run",
                std::string("expect running appshut ") + (tapCloseRunning_ ? "1" : "0"));
    const bool hooked = !device_.taskbarProcedureIsItsOwn();
    if (hooked != (tapCloseRunning_ && tapCloseHooked_))
        problem(std::string("the taskbar's procedure is ") + (hooked ? "hooked" : "its own") + ", expected " +
                    (tapCloseRunning_ && tapCloseHooked_ ? "hooked" : "its own"),
                std::string("expect taskbar ") + (tapCloseRunning_ && tapCloseHooked_ ? "hooked" : "unhooked"));
}

void Run::checkShellUi() {
    auto runs = [&](std::uint32_t pid) {
        const auto p = device_.process(pid);
        return p && p->running;
    };
    if (auto menu = device_.openMenu(); menu && !runs(menu->pid))
        problem("a popup menu of ended pid " + std::to_string(menu->pid) + " stays open");
    if (auto box = device_.messageBox(); box && !runs(box->pid))
        problem("a message box of ended pid " + std::to_string(box->pid) + " stays open");
}

}  // namespace explore
