// The shell's taskbar and the windows in front of it: booting a device with the shell, the
// stylus on the taskbar, application windows of other programs, the foreground window, what the
// device says it is, and what the taskbar and the applications received.
#include <algorithm>
#include <limits>

#include "arguments.h"
#include "code_page.h"
#include "commands.h"
#include "device_terms.h"
#include "format.h"
#include "shell_terms.h"
#include "utf.h"

namespace pocketsim {

namespace {

using Kind = CommandEntry::Kind;

// The stylus's position travels as two 16-bit halves of lParam.
constexpr int kMostTaskbar = 100000;
constexpr int kMostScreen = 2048;

int parseCoordinate(const std::string& text, const char* what) {
    return static_cast<int>(parseSignedNumber(text, -32768, 32767, what));
}

std::string pointText(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

void requireShell(const pocket::PocketDevice& device) {
    if (!device.taskbar())
        throw ActionFailed("the device has no taskbar: begin the script with \"boot shell\"");
}

Size taskbarSize(const pocket::PocketDevice& device) {
    const sim::DeviceConfig& config = device.config();
    return {config.taskbarWidth < 0 ? config.screenWidth : config.taskbarWidth, config.taskbarHeight};
}

std::optional<pocket::WindowView> windowOf(const pocket::PocketDevice& device, HWND hwnd) {
    for (pocket::WindowView& w : device.windows())
        if (w.hwnd == hwnd) return std::move(w);
    return std::nullopt;
}

// A window gone is still named by the application record the script made for it.
std::string windowName(const Session& s, HWND hwnd) {
    if (!hwnd) return "none";
    if (const auto w = windowOf(s.device, hwnd)) return quote(w->className) + " of " + ownerText(s.device, w->pid);
    for (const pocket::StandInRecord& app : s.state.applications)
        if (app.hwnd == hwnd) return quote(app.className) + " of " + ownerText(s.device, app.pid) + " (gone now)";
    for (const pocket::StandInRecord& standIn : s.device.standIns())
        if (standIn.hwnd == hwnd) return quote(standIn.className) + " of " + ownerText(s.device, standIn.pid) + " (gone now)";
    return "hwnd " + handleText(hwnd) + " (gone now)";
}

// The application of CLASS a script added (with "app add", else "window add"): the most recent
// open one, else the most recent closed one.
pocket::StandInRecord findApplication(const Session& s, const std::string& className) {
    std::optional<pocket::StandInRecord> closed;
    const auto& apps = s.state.applications;
    for (auto it = apps.rbegin(); it != apps.rend(); ++it) {
        if (it->className != className) continue;
        pocket::StandInRecord record = *it;
        record.open = windowOf(s.device, record.hwnd).has_value();
        if (record.open) return record;
        if (!closed) closed = record;
    }
    if (closed) return *closed;
    try {
        return findStandIn(s.device, className);
    } catch (const ActionFailed&) {
        std::string classes;
        auto list = [&classes](const std::vector<pocket::StandInRecord>& records) {
            for (const pocket::StandInRecord& r : records)
                if (classes.find(quote(r.className)) == std::string::npos)
                    classes += (classes.empty() ? "" : ", ") + quote(r.className);
        };
        list(apps);
        list(s.device.standIns());
        throw ActionFailed("no application window of class " + quote(className) + " was added" +
                           (classes.empty() ? "" : " (there are " + classes + ")"));
    }
}

// What a touch brought about: the journal's account, then the window in front if it changed.
void printTouchOutcome(Session& s, HWND frontBefore) {
    if (s.happened)
        for (std::string& line : s.happened()) s.print(line);
    if (s.device.foreground() != frontBefore) s.print("in front now: " + windowName(s, s.device.foreground()));
}

// ---- booting ----

sim::DeviceConfig bootConfigOf(const Arguments& args) {
    const std::string usage =
        "boot shell [screen WIDTHxHEIGHT] [taskbar WIDTHxHEIGHT] | boot desktop [codepage 1252|932]";
    requireCount(args, 1, 5, usage);
    sim::DeviceConfig config;
    if (args[0] == "desktop") {
        config.machine = sim::Machine::Desktop;
        if (args.size() > 1) {
            if (args[1] != "codepage" || args.size() != 3) throw UsageError("bad code page; usage: " + usage);
            config.ansiCodePage = static_cast<UINT>(parseNumber(args[2], kDwordMax, "code page"));
            if (!sim::isSupportedCodePage(config.ansiCodePage))
                throw UsageError("code page " + args[2] + " is not simulated (1252 or 932)");
        }
        return config;
    }
    if (args[0] != "shell") throw UsageError("boot takes shell or desktop, not " + quote(args[0]) + "; usage: " + usage);
    config.shell = true;
    bool screenGiven = false;
    bool taskbarGiven = false;
    for (std::size_t i = 1; i < args.size(); i += 2) {
        const bool screen = args[i] == "screen";
        if ((!screen && args[i] != "taskbar") || i + 1 >= args.size() || (screen ? screenGiven : taskbarGiven))
            throw UsageError("bad screen or taskbar size; usage: " + usage);
        if (screen) {
            // Up to VGA and beyond, landscape too; the pictures go up to 2048 pixels a side.
            const Size size = parseSize(args[i + 1], kMostScreen, kMostScreen, "screen");
            config.screenWidth = size.width;
            config.screenHeight = size.height;
            screenGiven = true;
        } else {
            // Any size a driver could report, none or wider than the screen included.
            const Size size = parseSize(args[i + 1], kMostTaskbar, kMostTaskbar, "taskbar", true);
            config.taskbarWidth = size.width;
            config.taskbarHeight = size.height;
            taskbarGiven = true;
        }
    }
    return config;
}

void printDesktop(Session& s) {
    const UINT codePage = s.device.ansiCodePage();
    s.print("desktop PC, ANSI code page " + std::to_string(codePage) +
            (codePage == 932 ? " (Japanese, Shift-JIS)" : " (Western)"));
    for (const std::string& program : programsOf(sim::Machine::Desktop))
        s.print(program + " installed at " + s.device.installPath(program));
}

CommandEntry boot() {
    CommandEntry entry{
        "boot", {"shell [screen WIDTHxHEIGHT] [taskbar WIDTHxHEIGHT]", "desktop [codepage 1252|932]"},
        "Only as the script's first command. boot shell boots the handheld with the shell, its\n"
        "screen 240 x 320 unless given (up to 2048 x 2048; the taskbar is as wide by default): its\n"
        "process owns the taskbar (class \"HHTaskBar\", at the top of the screen, 240 x 26 unless\n"
        "given, any size up to 100000 x 100000, none included; its close button is the rightmost\n"
        "25 pixels) and the desktop (class\n"
        "\"DesktopExplorerWindow\"), which is in front; without it the device has neither window.\n"
        "boot desktop boots a desktop PC instead, whose 8-bit (\"A\") functions use the ANSI code\n"
        "page given (1252 unless given), with its programs installed on drive C.",
        {"boot shell", "boot shell taskbar 20x26", "boot shell screen 480x640 taskbar 480x52", "boot desktop", "boot desktop codepage 932"}, Kind::Action,
        [](const Arguments& args) -> Action {
            const sim::DeviceConfig config = bootConfigOf(args);
            if (config.machine == sim::Machine::Desktop) return printDesktop;
            return [](Session& s) {
                requireShell(s.device);
                const Size size = taskbarSize(s.device);
                s.print("shell (pid " + std::to_string(s.device.shellPid()) + "): taskbar hwnd " +
                        handleText(s.device.taskbar()) + ", " + std::to_string(size.width) + " x " +
                        std::to_string(size.height) + "; desktop hwnd " + handleText(s.device.desktop()) + " in front");
            };
        }};
    entry.bootConfig = bootConfigOf;
    return entry;
}

// ---- the stylus on the taskbar ----

std::string liftText(const pocket::PocketDevice& device, int x, int y) {
    const Size size = taskbarSize(device);
    const bool inBand = x >= size.width - sim::kShellCloseBand && x < size.width && y >= 0 && y < size.height;
    return "lift at " + pointText(x, y) + (inBand ? ", on the close button" : ", off the close button");
}

CommandEntry stylus() {
    const std::string usage = "stylus down|move|up X Y";
    return {"stylus", {"down X Y", "move X Y", "up X Y"},
            "Touches, moves or lifts the stylus on the taskbar at (X, Y) in its coordinates, each from\n"
            "-32768 to 32767 (negative: left of or above it); the touch screen posts it to the\n"
            "taskbar as WM_LBUTTONDOWN, WM_MOUSEMOVE or WM_LBUTTONUP, and the device runs until every\n"
            "thread waits. Prints what the taskbar and the applications received meanwhile.",
            {"stylus down 230 10", "stylus move -5 10", "stylus up 230 10"}, Kind::Action,
            [usage](const Arguments& args) -> Action {
                requireCount(args, 3, 3, usage);
                const std::string how = args[0];
                if (how != "down" && how != "move" && how != "up")
                    throw UsageError("stylus takes down, move or up, not " + quote(how));
                const int x = parseCoordinate(args[1], "x"), y = parseCoordinate(args[2], "y");
                return [how, x, y](Session& s) {
                    requireShell(s.device);
                    const HWND front = s.device.foreground();
                    if (how == "down") s.device.stylusDown(x, y);
                    else if (how == "move") s.device.stylusMove(x, y);
                    else s.device.stylusUp(x, y);
                    if (how == "up") s.print(liftText(s.device, x, y));
                    printTouchOutcome(s, front);
                };
            }};
}

CommandEntry tapTaskbar() {
    return {"tap taskbar", {"X Y"},
            "Touches the taskbar at (X, Y) and lifts the stylus there, as \"stylus down\" and\n"
            "\"stylus up\" do.",
            {"tap taskbar 230 10", "tap taskbar -1 -1"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 2, 2, "tap taskbar X Y");
                const int x = parseCoordinate(args[0], "x"), y = parseCoordinate(args[1], "y");
                return [x, y](Session& s) {
                    requireShell(s.device);
                    const HWND front = s.device.foreground();
                    s.device.tapTaskbar(x, y);
                    s.print(liftText(s.device, x, y));
                    printTouchOutcome(s, front);
                };
            }};
}

CommandEntry taskbarResult() {
    return {"taskbar result", {"N"},
            "Sets what the taskbar's own procedure answers to every message (0 at boot), from\n"
            "-2147483648 to 4294967295.",
            {"taskbar result 7", "taskbar result -1"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "taskbar result N");
                const auto result = parseSignedNumber(args[0], std::numeric_limits<std::int32_t>::min(), kDwordMax, "result");
                return [result](Session& s) {
                    requireShell(s.device);
                    s.device.setTaskbarResult(static_cast<LRESULT>(result));
                    s.print("the taskbar's own procedure answers " + std::to_string(static_cast<LRESULT>(result)));
                };
            }};
}

// ---- application windows and the foreground ----

CommandEntry addApp() {
    const std::string usage =
        "app add PROGRAM CLASS TITLE [hidden] [disabled] [exstyle N] [refuses-close] [closes-when-sent-back] [front]";
    return {"app add", {"PROGRAM CLASS TITLE [hidden] [disabled] [exstyle N] [refuses-close] [closes-when-sent-back] [front]"},
            "Starts an application of a program from outside the bundle: a process named PROGRAM that\n"
            "owns one top-level window of CLASS and TITLE, visible and enabled unless hidden or\n"
            "disabled, with the extended style N (such as 0x08000000). It records every message it\n"
            "receives and closes on WM_CLOSE, unless it refuses-close; with closes-when-sent-back it\n"
            "closes itself when the shell sends it to the background. front puts it in front.",
            {"app add notes NotesApp Notes front", "app add pad Dialog \"Find\" exstyle 0x80000000 front",
             "app add ghost GhostApp Ghost hidden disabled"},
            Kind::Action, [usage](const Arguments& args) -> Action {
                requireCount(args, 3, kAny, usage);
                const std::string program = args[0], className = args[1], title = args[2];
                const auto installed = pocket::PocketDevice::installedPrograms();
                if (std::find(installed.begin(), installed.end(), program) != installed.end())
                    throw UsageError(program + " is a program of the bundle; an application here plays one from outside");
                if (program.empty() || className.empty()) throw UsageError("an application needs a program name and a class");
                sim::StandInOptions options;
                std::vector<std::string> seen;
                std::string traits;
                for (std::size_t i = 3; i < args.size(); ++i) {
                    const std::string& word = args[i];
                    if (std::find(seen.begin(), seen.end(), word) != seen.end())
                        throw UsageError(quote(word) + " is given twice");
                    seen.push_back(word);
                    if (word == "hidden") options.style &= ~static_cast<DWORD>(WS_VISIBLE);
                    else if (word == "disabled") options.style |= WS_DISABLED;
                    else if (word == "refuses-close") options.refusesToClose = true;
                    else if (word == "closes-when-sent-back") options.closesWhenSentBack = true;
                    else if (word == "front") options.foreground = true;
                    else if (word == "exstyle" && i + 1 < args.size())
                        options.exStyle = static_cast<DWORD>(parseNumber(args[++i], kDwordMax, "extended style"));
                    else throw UsageError("unknown option " + quote(word) + "; usage: " + usage);
                    traits += ", " + (word == "exstyle" ? "exstyle " + hex(options.exStyle, 8) : word);
                }
                return [program, className, title, options, traits](Session& s) {
                    const pocket::StandInView made = s.device.createApplication(program, className, title, options);
                    if (!made.hwnd) throw ActionFailed("the window of class " + quote(className) + " could not be made");
                    s.state.applications.push_back(pocket::StandInRecord{made.hwnd, made.pid, program, className, title, true});
                    s.print(program + " (pid " + std::to_string(made.pid) + ") shows hwnd " + handleText(made.hwnd) +
                            " class " + quote(className) + " title " + quote(title) + traits);
                };
            }};
}

CommandEntry front() {
    return {"front", {"CLASS", "hwnd=HANDLE", "none"},
            "Puts the window of CLASS in front (the most recent application of that class, else any\n"
            "window of it, such as DesktopExplorerWindow), the window of that handle (even one that\n"
            "is gone: the shell then holds a stale handle), or no window at all.",
            {"front NotesApp", "front hwnd=0x00010014", "front none"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "front CLASS|hwnd=HANDLE|none");
                const std::string className = args[0];
                const std::optional<HWND> given = windowHandleIn(className);
                return [className, given](Session& s) {
                    HWND hwnd = given.value_or(nullptr);
                    if (className != "none" && !given) {
                        for (auto it = s.state.applications.rbegin(); !hwnd && it != s.state.applications.rend(); ++it)
                            if (it->className == className && windowOf(s.device, it->hwnd)) hwnd = it->hwnd;
                        if (!hwnd)
                            if (const auto w = s.device.findWindow(className)) hwnd = w->hwnd;
                        if (!hwnd) throw ActionFailed("no window of class " + quote(className) + " exists");
                    }
                    s.device.setForeground(hwnd);
                    s.print("in front: " + windowName(s, hwnd));
                };
            }};
}

CommandEntry showForeground() {
    return {"show foreground", {""}, "Shows the window in front: its class, title, owner and styles.",
            {"show foreground"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "show foreground");
                return [](Session& s) {
                    const HWND hwnd = s.device.foreground();
                    const auto w = windowOf(s.device, hwnd);
                    s.print("in front: " + (w ? windowText(*w) : windowName(s, hwnd)));
                };
            }};
}

CommandEntry expectForeground() {
    return {"expect foreground", {"CLASS", "none"}, "Checks the class of the window in front, or that none is.",
            {"expect foreground NotesApp", "expect foreground DesktopExplorerWindow", "expect foreground none"},
            Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect foreground CLASS|none");
                const std::string want = args[0];
                return [want](Session& s) {
                    const HWND hwnd = s.device.foreground();
                    const auto w = windowOf(s.device, hwnd);
                    const bool holds = want == "none" ? hwnd == nullptr : w && w->className == want;
                    check(holds, "in front: " + windowName(s, hwnd));
                };
            }};
}

CommandEntry expectClosed() {
    return {"expect closed", {"CLASS N"},
            "Checks how many WM_CLOSE messages the application window of CLASS received (the most\n"
            "recent one of that class; it may be gone).",
            {"expect closed NotesApp 1", "expect closed Dialog 0"}, Kind::Expectation,
            [](const Arguments& args) -> Action {
                requireCount(args, 2, 2, "expect closed CLASS N");
                const std::string className = args[0];
                const std::uint64_t want = parseNumber(args[1], kDwordMax, "count");
                return [className, want](Session& s) {
                    const pocket::StandInRecord app = findApplication(s, className);
                    const auto& log = s.device.standInMessages(app.hwnd);
                    const auto n = static_cast<std::size_t>(
                        std::count_if(log.begin(), log.end(), [](const sim::ReceivedMessage& m) { return m.message == WM_CLOSE; }));
                    check(n == want, standInName(app) + (app.open ? ", open," : ", gone,") + " received WM_CLOSE " +
                                         countOf(n, "time"));
                };
            }};
}

// ---- the taskbar ----

CommandEntry showTaskbar() {
    return {"show taskbar", {"[LAST]"},
            "Shows the taskbar: its size, whether its procedure is its own or another's, what it\n"
            "answers, the applications the shell sent to the background, and the messages its own\n"
            "procedure received (the LAST ones when given).",
            {"show taskbar", "show taskbar 4"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "show taskbar [LAST]");
                const std::size_t last = args.empty() ? kAny : static_cast<std::size_t>(parseNumber(args[0], kDwordMax, "count of lines"));
                return [last](Session& s) {
                    requireShell(s.device);
                    const Size size = taskbarSize(s.device);
                    s.print("taskbar hwnd " + handleText(s.device.taskbar()) + ", " + std::to_string(size.width) + " x " +
                            std::to_string(size.height) + ", " +
                            (s.device.taskbarProcedureIsItsOwn() ? "its own procedure"
                                                                 : "hooked: another procedure in front of its own") +
                            ", answers " + std::to_string(s.device.taskbarResult()));
                    // The same window sent back again and again is one line.
                    const std::vector<HWND> sent = s.device.sentToBackground();
                    for (std::size_t i = 0, n = 1; i < sent.size(); i += n) {
                        n = 1;
                        while (i + n < sent.size() && sent[i + n] == sent[i]) ++n;
                        s.print("sent to the background: " + windowName(s, sent[i]) + (n > 1 ? ", " + countOf(n, "time") : ""));
                    }
                    const auto& log = s.device.taskbarReceived();
                    s.print("its own procedure received " + countOf(log.size(), "message"));
                    for (std::size_t i = log.size() > last ? log.size() - last : 0; i < log.size(); ++i)
                        s.print(timeStamp(log[i].time) + " " + receivedText(log[i]));
                };
            }};
}

CommandEntry expectTaskbar() {
    const std::string usage = "expect taskbar hooked|unhooked | received N | lifts N";
    return {"expect taskbar", {"hooked", "unhooked", "received N", "lifts N"},
            "Checks the taskbar: that another procedure stands in front of its own (hooked) or not,\n"
            "or how many messages its own procedure received, all of them or the stylus lifts\n"
            "(WM_LBUTTONUP) only.",
            {"expect taskbar hooked", "expect taskbar received 4", "expect taskbar lifts 2"}, Kind::Expectation,
            [usage](const Arguments& args) -> Action {
                requireCount(args, 1, 2, usage);
                const std::string what = args[0];
                const bool counts = what == "received" || what == "lifts";
                if (counts != (args.size() == 2) || (!counts && what != "hooked" && what != "unhooked"))
                    throw UsageError("bad check; usage: " + usage);
                const std::uint64_t want = counts ? parseNumber(args[1], kDwordMax, "count") : 0;
                return [what, want](Session& s) {
                    requireShell(s.device);
                    if (what == "hooked" || what == "unhooked") {
                        const bool own = s.device.taskbarProcedureIsItsOwn();
                        check(own == (what == "unhooked"),
                              own ? "the taskbar has its own procedure" : "another procedure stands in front of the taskbar's own");
                        return;
                    }
                    const auto& log = s.device.taskbarReceived();
                    const std::size_t lifts = static_cast<std::size_t>(
                        std::count_if(log.begin(), log.end(), [](const sim::ReceivedMessage& m) { return m.message == WM_LBUTTONUP; }));
                    const std::string found = "the taskbar's own procedure received " + countOf(log.size(), "message") +
                                              ", " + countOf(lifts, "lift");
                    check((what == "received" ? log.size() : lifts) == want, found);
                };
            }};
}

CommandEntry expectSentBack() {
    return {"expect sent-back", {"N"},
            "Checks how many times the shell sent the application in front to the background.",
            {"expect sent-back 1"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect sent-back N");
                const std::uint64_t want = parseNumber(args[0], kDwordMax, "count");
                return [want](Session& s) {
                    const auto& sent = s.device.sentToBackground();
                    std::string list;
                    for (HWND hwnd : sent) list += (list.empty() ? ": " : ", ") + windowName(s, hwnd);
                    check(sent.size() == want, "the shell sent " + countOf(sent.size(), "application") + " to the background" + list);
                };
            }};
}

// ---- what the device says it is ----

CommandEntry system() {
    const std::string usage = "system version MAJOR | platform TEXT";
    return {"system", {"version MAJOR", "platform TEXT"},
            "Sets the operating system's major version (4 at boot) or the platform type (\"PocketPC\"\n"
            "at boot) that the device reports to programs.",
            {"system version 2", "system platform Smartphone", "system platform \"\""}, Kind::Action,
            [usage](const Arguments& args) -> Action {
                requireCount(args, 2, 2, usage);
                const std::string what = args[0], value = args[1];
                if (what != "version" && what != "platform") throw UsageError("bad setting; usage: " + usage);
                const DWORD major = what == "version" ? static_cast<DWORD>(parseNumber(value, kDwordMax, "version")) : 0;
                return [what, value, major](Session& s) {
                    const sim::SystemInfo& now = s.device.system();
                    if (what == "version") s.device.setSystem(major, now.platformType);
                    else s.device.setSystem(now.majorVersion, sim::fromUtf8(value));
                    s.print("the device reports version " + std::to_string(now.majorVersion) + "." +
                            std::to_string(now.minorVersion) + ", platform " + quote(sim::toUtf8(now.platformType)));
                };
            }};
}

}  // namespace

std::vector<CommandEntry> taskbarCommands() {
    std::vector<CommandEntry> handheld =
        onlyOn(sim::Machine::Handheld, {stylus(), tapTaskbar(), taskbarResult(), addApp(), front(), system(), showTaskbar(),
                                        showForeground(), expectTaskbar(), expectClosed(), expectForeground(), expectSentBack()});
    handheld.insert(handheld.begin(), boot());
    return handheld;
}

}  // namespace pocketsim
