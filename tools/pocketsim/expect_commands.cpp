// Expectations: each checks what the device shows and fails the run, saying what it found, when
// it does not hold.
#include <limits>

#include "arguments.h"
#include "commands.h"
#include "format.h"
#include "utf.h"

namespace pocketsim {

namespace {

using Kind = CommandEntry::Kind;

CommandEntry expectNotification() {
    const std::string usage =
        "expect notification CLSID ID exists | absent | icon N | html contains TEXT | html lacks TEXT | "
        "title TEXT | flags N";
    return {"expect notification",
            {"CLSID ID exists", "CLSID ID absent", "CLSID ID icon N", "CLSID ID html contains TEXT",
             "CLSID ID html lacks TEXT", "CLSID ID title TEXT", "CLSID ID flags N"},
            "Checks one notification: that it is shown or not, the resource id of its icon (0 for\n"
            "none), a piece of its HTML text, its title (as given when it was added) or its flags.",
            {"expect notification voltmarap 1 html contains \"0 時間 0 分\"", "expect notification voltmarap 1 icon 107",
             "expect notification {CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5} 2 absent"},
            Kind::Expectation, [usage](const Arguments& args) -> Action {
                requireCount(args, 3, 5, usage);
                const std::string clsid = parseClsid(args[0]);
                const DWORD id = static_cast<DWORD>(parseNumber(args[1], kDwordMax, "notification id"));
                const std::string what = args[2];
                const std::string name = clsid + " id " + std::to_string(id);
                auto shown = [clsid, id, name](Session& s) {
                    auto n = s.device.notification(clsid, id);
                    if (!n) throw ExpectationFailed("notification " + name + " is not shown");
                    return *n;
                };
                if (what == "exists" || what == "absent") {
                    requireCount(args, 3, 3, usage);
                    const bool wanted = what == "exists";
                    return [clsid, id, name, wanted](Session& s) {
                        const bool present = s.device.notification(clsid, id).has_value();
                        check(present == wanted, "notification " + name + (present ? " is shown" : " is not shown"));
                    };
                }
                if (what == "icon" || what == "flags") {
                    requireCount(args, 4, 4, usage);
                    const std::uint64_t want = parseNumber(args[3], kDwordMax, what);
                    const bool icon = what == "icon";
                    return [shown, want, icon, name](Session& s) {
                        const pocket::NotificationView n = shown(s);
                        if (icon)
                            check(n.iconId == want, "notification " + name + " shows " +
                                                        (n.iconId ? "icon " + std::to_string(n.iconId) : "no icon"));
                        else
                            check(n.flags == want, "notification " + name + " has flags " + hex(n.flags, 2));
                    };
                }
                if (what == "title") {
                    requireCount(args, 4, 4, usage);
                    const std::string title = args[3];
                    return [shown, title, name](Session& s) {
                        const pocket::NotificationView n = shown(s);
                        check(n.title == title, "notification " + name + " has the title " + quote(n.title));
                    };
                }
                if (what == "html") {
                    requireCount(args, 5, 5, usage);
                    if (args[3] != "contains" && args[3] != "lacks")
                        throw UsageError("html takes contains or lacks, not \"" + args[3] + "\"; usage: " + usage);
                    const bool wanted = args[3] == "contains";
                    const std::string text = args[4];
                    if (text.empty()) throw UsageError("the text to look for is empty");
                    return [shown, wanted, text, name](Session& s) {
                        const pocket::NotificationView n = shown(s);
                        const bool found = n.html.find(text) != std::string::npos;
                        check(found == wanted, "the HTML of notification " + name +
                                                   (found ? " contains " : " does not contain ") + quote(text) +
                                                   ": " + n.html);
                    };
                }
                throw UsageError("unknown check \"" + what + "\"; usage: " + usage);
            }};
}

CommandEntry expectNotificationCount() {
    return {"expect notifications", {"N"}, "Checks how many notifications the shell shows.",
            {"expect notifications 1"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect notifications N");
                const std::uint64_t want = parseNumber(args[0], kDwordMax, "count");
                return [want](Session& s) {
                    const auto list = s.device.notifications();
                    std::string found = countOf(list.size(), "notification") + " shown";
                    for (const auto& n : list) found += "; " + n.clsid + " id " + std::to_string(n.id);
                    check(list.size() == want, found);
                };
            }};
}

CommandEntry expectRegistry() {
    const std::string usage =
        "expect registry KEY exists | absent, or KEY VALUE dword N | sz TEXT | expand_sz TEXT | absent";
    return {"expect registry",
            {"KEY exists", "KEY absent", "KEY VALUE dword N", "KEY VALUE sz TEXT", "KEY VALUE expand_sz TEXT",
             "KEY VALUE absent"},
            "Checks that a key exists or not, or a value: a REG_DWORD of 4 bytes holding N, a REG_SZ\n"
            "or REG_EXPAND_SZ holding TEXT and its terminator, or no such value.",
            {"expect registry HKCU\\Software\\Orvalen\\VoltmaraPPC BatteryCount dword 0",
             "expect registry HKCU\\Software\\Orvalen\\VoltmaraPPC exists"},
            Kind::Expectation, [usage](const Arguments& args) -> Action {
                requireCount(args, 2, 4, usage);
                const std::string key = parseRegistryKey(args[0]);
                if (args.size() == 2) {
                    if (args[1] != "exists" && args[1] != "absent")
                        throw UsageError("unknown check \"" + args[1] + "\"; usage: " + usage);
                    const bool wanted = args[1] == "exists";
                    return [key, wanted](Session& s) {
                        const bool exists = s.device.registryKeyExists(key);
                        check(exists == wanted, "key " + key + (exists ? " exists" : " does not exist"));
                    };
                }
                const std::string name = args[1];
                const std::string label = key + " " + (name.empty() ? "(default)" : quote(name));
                sim::RegistryValue want;
                bool wantAbsent = false;
                if (args[2] == "absent" && args.size() == 3) {
                    wantAbsent = true;
                } else if (args[2] == "dword" && args.size() == 4) {
                    const auto n = static_cast<std::uint32_t>(parseNumber(args[3], kDwordMax, "dword"));
                    want = {REG_DWORD,
                            {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                             static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)}};
                } else if ((args[2] == "sz" || args[2] == "expand_sz") && args.size() == 4) {
                    want.type = args[2] == "sz" ? REG_SZ : REG_EXPAND_SZ;
                    for (char16_t c : sim::fromUtf8(args[3]) + u'\0') {
                        want.data.push_back(static_cast<std::uint8_t>(c));
                        want.data.push_back(static_cast<std::uint8_t>(c >> 8));
                    }
                } else {
                    throw UsageError("bad check \"" + args[2] + "\" or wrong number of arguments; usage: " + usage);
                }
                return [key, name, label, want, wantAbsent](Session& s) {
                    const auto value = s.device.registryValue(key, sim::fromUtf8(name));
                    if (wantAbsent) return check(!value, label + " = " + (value ? registryValueText(*value) : ""));
                    check(value && value->type == want.type && value->data == want.data,
                          label + (value ? " = " + registryValueText(*value) : " is not set"));
                };
            }};
}

CommandEntry expectProcess() {
    const std::string usage = "expect process PROGRAM|PID running | not running | exit N";
    return {"expect process", {"PROGRAM|PID running", "PROGRAM|PID not running", "PROGRAM|PID exit N"},
            "Checks the most recently started process of PROGRAM (or the process PID): still\n"
            "running, ended, or ended with exit code N.",
            {"expect process voltmarap running", "expect process voltmarap exit 0", "expect process 4096 not running"},
            Kind::Expectation, [usage](const Arguments& args) -> Action {
                requireCount(args, 2, 3, usage);
                const ProcessChoice choice = ProcessChoice::parse(args[0]);
                enum { Running, NotRunning, Exit } want;
                long long code = 0;
                if (args[1] == "running" && args.size() == 2) {
                    want = Running;
                } else if (args[1] == "not" && args.size() == 3 && args[2] == "running") {
                    want = NotRunning;
                } else if (args[1] == "exit" && args.size() == 3) {
                    want = Exit;
                    const bool negative = !args[2].empty() && args[2][0] == '-';
                    const auto magnitude = static_cast<long long>(
                        parseNumber(negative ? args[2].substr(1) : args[2], kDwordMax, "exit code"));
                    code = negative ? -magnitude : magnitude;
                } else {
                    throw UsageError("bad check; usage: " + usage);
                }
                return [choice, want, code](Session& s) {
                    const auto p = choice.find(s.device);
                    if (!p) throw ExpectationFailed("no process " + choice.name() + " was started");
                    const std::string found = processText(*p);
                    if (want == Running) check(p->running, found);
                    else if (want == NotRunning) check(!p->running, found);
                    else check(!p->running && *p->exitCode == code, found);
                };
            }};
}

CommandEntry expectRunning() {
    return {"expect running", {"PROGRAM N"}, "Checks how many processes of PROGRAM run.",
            {"expect running voltmarap 1"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 2, 2, "expect running PROGRAM N");
                const std::string program = requireProgram(args[0]);
                const std::uint64_t want = parseNumber(args[1], kDwordMax, "count");
                return [program, want](Session& s) {
                    const std::size_t n = s.device.runningCount(program);
                    check(n == want, countOf(n, "process") + " of " + program + " running");
                };
            }};
}

CommandEntry expectWindow() {
    return {"expect window", {"CLASS exists", "CLASS absent"},
            "Checks whether a window of the class exists (class names ignore case, as Win32's do).",
            {"expect window VOLTMARAP absent"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 2, 2, "expect window CLASS exists|absent");
                if (args[1] != "exists" && args[1] != "absent")
                    throw UsageError("expect window takes exists or absent, not \"" + args[1] + "\"");
                const std::u16string className = sim::fromUtf8(args[0]);
                const bool wanted = args[1] == "exists";
                return [className, wanted](Session& s) {
                    std::string found;
                    for (const pocket::WindowView& w : s.device.windows())
                        if (sim::equalsIgnoreCase(sim::fromUtf8(w.className), className)) found = windowText(w);
                    check(found.empty() != wanted,
                          found.empty() ? "no window of class " + quote(sim::toUtf8(className)) : found);
                };
            }};
}

CommandEntry expectTimers() {
    return {"expect timers", {"N [PROGRAM]"}, "Checks how many window timers exist (of PROGRAM's processes only).",
            {"expect timers 0", "expect timers 1 voltmarap"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 2, "expect timers N [PROGRAM]");
                const std::uint64_t want = parseNumber(args[0], kDwordMax, "count");
                const std::string program = args.size() == 2 ? requireProgram(args[1]) : std::string();
                return [program, want](Session& s) {
                    std::size_t n = 0;
                    std::string list;
                    for (const pocket::TimerView& t : s.device.timers()) {
                        if (!program.empty() && t.process != program) continue;
                        ++n;
                        list += "; " + timerText(t, s.device.now());
                    }
                    check(n == want, countOf(n, "timer") + (program.empty() ? "" : " of " + program) + list);
                };
            }};
}

CommandEntry expectHandles() {
    std::string kinds;
    for (std::size_t k = 0; k < sim::kHandleKindCount; ++k)
        kinds += std::string(sim::handleKindName(static_cast<sim::HandleKind>(k))) + "|";
    kinds += "bad-releases";
    return {"expect handles", {"PROGRAM|PID " + kinds + " N"},
            "Checks the handles of a kind that the most recent process of PROGRAM (or the process\n"
            "PID) holds, for an ended process those it left open; or how many releases it made of\n"
            "handles it did not hold.",
            {"expect handles voltmarap icon 1", "expect handles 4096 bad-releases 0"}, Kind::Expectation,
            [kinds](const Arguments& args) -> Action {
                requireCount(args, 3, 3, "expect handles PROGRAM|PID " + kinds + " N");
                const ProcessChoice choice = ProcessChoice::parse(args[0]);
                const std::string kindName = args[1];
                std::optional<std::size_t> kind;
                for (std::size_t k = 0; k < sim::kHandleKindCount; ++k)
                    if (kindName == sim::handleKindName(static_cast<sim::HandleKind>(k))) kind = k;
                if (!kind && kindName != "bad-releases")
                    throw UsageError("unknown handle kind \"" + kindName + "\" (" + kinds + ")");
                const std::uint64_t want = parseNumber(args[2], kDwordMax, "count");
                return [choice, kind, kindName, want](Session& s) {
                    const auto p = choice.find(s.device);
                    if (!p) throw ExpectationFailed("no process " + choice.name() + " was started");
                    const std::int64_t n = kind ? p->handles.live[*kind] : static_cast<std::int64_t>(p->handles.badReleases);
                    check(n == static_cast<std::int64_t>(want),
                          kindName + " " + std::to_string(n) + " in " + processText(*p));
                };
            }};
}

CommandEntry expectNoErrors() {
    return {"expect no-errors", {""},
            "Checks that the device has reported no error (a runaway thread, an image unloaded under\n"
            "a running procedure, ...).",
            {"expect no-errors"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "expect no-errors");
                return [](Session& s) {
                    const auto& errors = s.device.errors();
                    check(errors.empty(), errors.empty() ? "" : countOf(errors.size(), "error") + ", the first: " + errors.front());
                };
            }};
}

}  // namespace

std::vector<CommandEntry> expectCommands() {
    return {handheldOnly(expectNotification()), handheldOnly(expectNotificationCount()), expectRegistry(),
            expectProcess(), expectRunning(), expectWindow(), expectTimers(), expectHandles(), expectNoErrors()};
}

}  // namespace pocketsim
