// What goes on around the programs: other applications and the window in front, beep.wav,
// the registry value, the display driver.
#include <utility>
#include <vector>

#include "names.h"
#include "run.h"
#include "script_lines.h"

namespace explore {

// A script names a window by its class where that finds this one (the most recent open
// application of the class, else the one window of it): it then keeps meaning this window when a
// shorter script makes fewer windows before it.
std::string Run::windowWord(HWND hwnd) const {
    for (auto it = standIns_.rbegin(); it != standIns_.rend(); ++it) {
        if (!device_.windowExists(it->hwnd)) continue;
        if (it->hwnd == hwnd) return scriptWord(it->kind.className);
        if (standIn(hwnd) && it->kind.className == standIn(hwnd)->kind.className) break;
    }
    if (!standIn(hwnd) && device_.windowExists(hwnd))
        for (const pocket::WindowView& w : device_.windows())
            if (w.hwnd == hwnd && device_.findWindow(w.className)->hwnd == hwnd) {
                bool applicationOfClass = false;
                for (const StandIn& s : standIns_)
                    applicationOfClass |= s.kind.className == w.className && device_.windowExists(s.hwnd);
                if (!applicationOfClass) return scriptWord(w.className);
            }
    return handleWord(hwnd);
}

void Run::doForeground() {
    std::vector<HWND> open;
    for (const StandIn& s : standIns_)
        if (device_.windowExists(s.hwnd)) open.push_back(s.hwnd);
    std::vector<HWND> others = {nullptr, device_.desktop(), device_.taskbar()};
    for (const StandIn& s : standIns_)
        if (!device_.windowExists(s.hwnd)) others.push_back(s.hwnd);  // gone: a stale handle
    for (const char* cls : {"VOLTMARAP", "APPSHUT"})
        if (auto w = device_.findWindow(cls)) others.push_back(w->hwnd);
    const HWND chosen = !open.empty() && rng_.chance(60) ? rng_.pick(open) : rng_.pick(others);
    note("foreground " + hex(reinterpret_cast<std::uintptr_t>(chosen)));
    record("front " + (chosen ? windowWord(chosen) : std::string("none")));
    device_.setForeground(chosen);
}

void Run::doStandIn() {
    std::vector<const StandIn*> open;
    for (const StandIn& s : standIns_)
        if (device_.windowExists(s.hwnd)) open.push_back(&s);
    if (!open.empty() && (open.size() >= 8 || rng_.chance(30))) {
        const StandIn& s = *rng_.pick(open);
        note("close stand-in " + s.kind.className.substr(0, 24));
        record("window close " + windowWord(s.hwnd));
        device_.closeStandIn(s.hwnd);
        return;
    }
    // Closable applications most often, so that taps have something to close.
    static const std::vector<std::pair<StandInKind, unsigned>> kinds = {
        {{"NotesApp"}, 12},
        {{"Stubborn", kVisible, 0, true}, 3},
        {{"Shy", kVisible, 0, false, true}, 3},
        {{"NotesApp", kVisible, WS_EX_TOPMOST | WS_EX_NODRAG}, 2},
        {{"dialog"}, 1},
        {{"Static"}, 1},
        {{"Workers"}, 1},
        {{"Worke"}, 1},
        {{std::string(70, 'L')}, 1},
        {{std::string(63, 'M')}, 1},
        {{"Dialog"}, 2},
        {{"Dialog", kVisible, WS_EX_TOPMOST}, 1},
        {{"static"}, 1},
        {{"Worker"}, 1},
        {{"MSPOutlook"}, 1},
        {{"SipWndClass"}, 1},
        {{"menu_worker"}, 1},
        {{"Explore"}, 1},
        {{"MS_SIPBUTTON"}, 1},
        {{"DesktopExplorerWindow"}, 1},
        {{"NotesApp", kVisible, kNoActivate}, 2},
        {{"NotesApp", kVisible, kCaptionOk}, 2},
        {{"NotesApp", 0}, 2},
        {{"NotesApp", kVisible | kDisabled}, 2},
        {{"TUNELARK", kVisible, 0, false, false, "Tunelark"}, 2},
        {{"TUNELARKMIDI", kVisible, 0, false, false, "Tunelark"}, 1},
        {{"WMP7.5 for Pocket PC", kVisible, 0, false, false, "Windows Media"}, 1},
        {{"WMP7.5 for Pocket PC", kVisible, 0, false, false, "Windows Media Player"}, 1},
    };
    std::vector<unsigned> weights;
    for (const auto& k : kinds) weights.push_back(k.second);
    // Drawn one after the other: the order of a call's arguments is the compiler's choice.
    const StandInKind& kind = kinds[rng_.weighted(weights)].first;
    makeStandIn(kind, rng_.chance(70));
}

void Run::makeStandIn(const StandInKind& kind, bool foreground) {
    note("stand-in " + kind.className.substr(0, 24) + (foreground ? " in front" : ""));
    sim::StandInOptions options;
    options.style = kind.style;
    options.exStyle = kind.exStyle;
    options.refusesToClose = kind.refusesToClose;
    options.closesWhenSentBack = kind.closesWhenSentBack;
    options.foreground = foreground;
    // Each its own program: outside applications may run side by side.
    const std::string program = "outside-" + std::to_string(standIns_.size() + 1);
    std::string line = "app add " + program + " " + scriptWord(kind.className) + " " + scriptWord(kind.title);
    if (!(kind.style & kVisible)) line += " hidden";
    if (kind.style & kDisabled) line += " disabled";
    if (kind.exStyle) line += " exstyle " + hex(kind.exStyle);
    if (kind.refusesToClose) line += " refuses-close";
    if (kind.closesWhenSentBack) line += " closes-when-sent-back";
    if (foreground) line += " front";
    record(line);
    const pocket::StandInView made = device_.createApplication(program, kind.className, kind.title, options);
    if (!made.hwnd) {
        problem("stand-in window " + kind.className + " could not be made");
        return;
    }
    standIns_.push_back(StandIn{made.hwnd, made.pid, kind});
}

void Run::doBeepFile() {
    const std::string path = device_.installFolder("rcbridge") + "\\beep.wav";
    switch (rng_.below(3)) {
    case 0:
        note("beep.wav taken away");
        record(std::string(device_.fileBytes(path) ? "" : "# (gone already) ") + "file remove rcbridge:beep.wav");
        device_.removeFile(path);
        break;
    case 1:
        note("beep.wav put back");
        record("file put rcbridge:beep.wav hex " + hexWords(beep_));
        device_.putFile(path, beep_);
        break;
    default: {
        std::vector<std::uint8_t> junk(rng_.below(65));
        for (auto& b : junk) b = rng_.byte();
        note("beep.wav replaced by " + std::to_string(junk.size()) + " random bytes");
        record("file put rcbridge:beep.wav hex " + hexWords(junk));
        device_.putFile(path, junk);
    }
    }
}

void Run::doRegistry() {
    if (rng_.chance(30)) {
        note("registry: BatteryCount deleted");
        record("delete registry " + kCounterKey + " BatteryCount");
        device_.deleteRegistryValue(kCounterKey, u"BatteryCount");
        monitor_.setStored(std::nullopt);
        return;
    }
    const std::uint32_t value = rng_.chance(50) ? 0xFFFFFFFFu - static_cast<std::uint32_t>(rng_.below(3600000))
                                                : static_cast<std::uint32_t>(rng_.next());
    note("registry: BatteryCount set to " + std::to_string(value));
    record("set registry " + kCounterKey + " BatteryCount dword " + std::to_string(value));
    device_.setDword(kCounterKey, u"BatteryCount", value);
    monitor_.setStored(value);
}

void Run::doDisplay() {
    if (rng_.chance(30)) {
        note("power switched on");
        record("switch on");
        device_.switchOn();
        return;
    }
    pocket::DisplayDriverSettings display;
    display.supportsPowerManagement = rng_.chance(80);
    display.powerState = static_cast<ULONG>(rng_.between(0, 5));
    display.reportedLength = rng_.pick<ULONG>({12, 12, 0, 8, 16, 0xFFFFFFFF});
    note("display driver: " + std::string(display.supportsPowerManagement ? "" : "no ") + "power management, state " +
         std::to_string(display.powerState) + ", length " + std::to_string(display.reportedLength));
    record(displayLine(display));
    device_.setDisplayDriver(display);
}

}  // namespace explore
