// Commands that act on the device as the user, the platform or a test would.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

#include "arguments.h"
#include "commands.h"
#include "device_terms.h"
#include "device_path.h"
#include "format.h"
#include "utf.h"

namespace pocketsim {

namespace {

using Kind = CommandEntry::Kind;

std::string joined(const Arguments& args, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < args.size(); ++i) text += (i == from ? "" : " ") + args[i];
    return text;
}

std::uint32_t parseDword(const std::string& text, std::string_view what) {
    return static_cast<std::uint32_t>(parseNumber(text, std::numeric_limits<std::uint32_t>::max(), what));
}

std::vector<std::uint8_t> littleEndian(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::vector<std::uint8_t> utf16WithTerminator(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : sim::fromUtf8(text) + u'\0') {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

std::string valueLabel(const std::string& name) { return name.empty() ? "(default)" : quote(name); }

CommandEntry start() {
    const std::string usage = "start PROGRAM [in FOLDER] [COMMAND-LINE...]";
    return {"start", {"PROGRAM [COMMAND-LINE...]", "PROGRAM in FOLDER [COMMAND-LINE...]"},
            "Starts PROGRAM as a new process and runs the device until every thread waits.\n"
            "Prints its pid and, when it ended at once, its exit code. On a desktop PC the process's\n"
            "current folder is the program's own folder, or FOLDER (a full path such as D:\\Tools,\n"
            "which must exist), as when started from a prompt there. A command line cannot begin\n"
            "with \"in\".",
            {"start voltmarap", "start voltmarap /any \"command line\"", "start setuplaunch in D:\\Tools"}, Kind::Action,
            [usage](const Arguments& args) -> Action {
                requireCount(args, 1, kAny, usage);
                const std::string program = requireProgram(args[0]);
                std::string folder;
                std::size_t lineFrom = 1;
                if (args.size() > 1 && args[1] == "in") {
                    if (parsingMachine() != sim::Machine::Desktop)
                        throw UsageError("a handheld has no current folder to start in; usage there: start PROGRAM "
                                         "[COMMAND-LINE...], which cannot begin with \"in\"");
                    if (args.size() < 3) throw UsageError("missing folder; usage: " + usage);
                    folder = parseDrivePath(args[2], true, "folder");
                    lineFrom = 3;
                }
                const std::u16string commandLine = sim::fromUtf8(joined(args, lineFrom));
                return [program, folder, commandLine](Session& s) {
                    if (!folder.empty()) {
                        if (!s.device.folderExists(folder)) throw ActionFailed("there is no folder " + folder + " to start in");
                    }
                    s.print(processText(s.device.start(program, commandLine, folder)));
                };
            }};
}

CommandEntry advance() {
    return {"advance", {"DURATION"},
            "Moves virtual time forward; due timers and sleepers run in time order.",
            {"advance 1h30m", "advance 450ms"}, Kind::Action,
            [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "advance DURATION");
                const std::uint64_t ms = parseDuration(args[0]);
                return [ms](Session& s) {
                    // In hours when someone watches a long run: the same timers fire at the same times.
                    constexpr std::uint64_t kStep = 3600 * 1000;
                    std::uint64_t done = 0;
                    while (s.progress && ms - done > kStep) {
                        s.device.advance(kStep);
                        done += kStep;
                        s.progress(done, ms);
                    }
                    s.device.advance(ms - done);
                    s.print("now " + timeStamp(s.device.now()) + ", tick count " + std::to_string(s.device.tickCount()));
                };
            }};
}

CommandEntry tick() {
    return {"tick", {"N"},
            "Sets the tick count (GetTickCount) to N from now on; virtual time is not moved.",
            {"tick 60000", "tick 0xFFFFF000"}, Kind::Action,
            [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "tick N");
                const std::uint32_t value = parseDword(args[0], "tick count");
                return [value](Session& s) {
                    s.device.setTickCount(value);
                    s.print("tick count " + std::to_string(value) + " (" + hex(value, 8) + ")");
                };
            }};
}

// The battery flag a driver would report for a level when the script gives none.
BYTE flagForLevel(unsigned percent) {
    if (percent > 100) return BATTERY_FLAG_UNKNOWN;
    if (percent > 66) return BATTERY_FLAG_HIGH;
    if (percent < 5) return BATTERY_FLAG_CRITICAL;
    if (percent < 33) return BATTERY_FLAG_LOW;
    return 0;
}

CommandEntry power() {
    const std::string usage = "power ac|battery|backup|unknown|line=N PERCENT [charging] [flag=N]";
    return {"power", {"ac|battery|backup|unknown|line=N PERCENT [charging] [flag=N]"},
            "Sets what the battery driver reports: the AC line status (ac 1, battery 0, backup 2,\n"
            "unknown 255, or any byte as line=N), the level in percent (0 to 255; above 100 is \"not\n"
            "determined\") and the battery flag: by default high, low or critical from the level (0xff\n"
            "above 100); flag=N gives it instead; charging adds 0x08.",
            {"power battery 85", "power ac 90 charging", "power unknown 255 flag=0xff", "power line=37 50"},
            Kind::Action,
            [usage](const Arguments& args) -> Action {
                requireCount(args, 2, 4, usage);
                pocket::PowerStatus status;
                const std::pair<const char*, BYTE> sources[] = {
                    {"ac", AC_LINE_ONLINE}, {"battery", AC_LINE_OFFLINE}, {"backup", AC_LINE_BACKUP_POWER},
                    {"unknown", AC_LINE_UNKNOWN}};
                bool known = false;
                for (const auto& [name, value] : sources)
                    if (args[0] == name) status.acLine = value, known = true;
                if (args[0].rfind("line=", 0) == 0)
                    status.acLine = static_cast<BYTE>(parseNumber(args[0].substr(5), 255, "AC line status")), known = true;
                if (!known) throw UsageError("unknown power source \"" + args[0] + "\"; usage: " + usage);
                status.percent = static_cast<BYTE>(parseNumber(args[1], 255, "battery percent"));
                status.flag = flagForLevel(status.percent);
                bool charging = false, flagGiven = false;
                for (std::size_t i = 2; i < args.size(); ++i) {
                    if (args[i] == "charging" && !charging) {
                        charging = true;
                    } else if (args[i].rfind("flag=", 0) == 0 && !flagGiven) {
                        status.flag = static_cast<BYTE>(parseNumber(args[i].substr(5), 255, "battery flag"));
                        flagGiven = true;
                    } else {
                        throw UsageError("unexpected \"" + args[i] + "\"; usage: " + usage);
                    }
                }
                if (charging) status.flag |= BATTERY_FLAG_CHARGING;
                return [status](Session& s) {
                    s.device.setPower(status);
                    s.print(powerText(s.device.powerRecord()));
                };
            }};
}

CommandEntry powerRecord() {
    const std::string usage = "power record HEX...";
    return {"power record", {"HEX..."},
            "Sets every byte of the record the battery driver reports (SYSTEM_POWER_STATUS_EX, " +
                std::to_string(sizeof(SYSTEM_POWER_STATUS_EX)) + " bytes),\n"
            "whatever its fields would normally hold.",
            {"power record 01ff08" + std::string(2 * (sizeof(SYSTEM_POWER_STATUS_EX) - 3), '0')}, Kind::Action,
            [usage](const Arguments& args) -> Action {
                const std::vector<std::uint8_t> bytes = parseHexBytes(args);
                if (bytes.size() != sizeof(SYSTEM_POWER_STATUS_EX))
                    throw UsageError("the record has " + std::to_string(sizeof(SYSTEM_POWER_STATUS_EX)) + " bytes, not " +
                                     std::to_string(bytes.size()) + "; usage: " + usage);
                SYSTEM_POWER_STATUS_EX record;
                std::memcpy(&record, bytes.data(), sizeof record);
                return [record](Session& s) {
                    s.device.setPowerRecord(record);
                    s.print(powerText(s.device.powerRecord()));
                };
            }};
}

CommandEntry tapNotification() {
    return {"tap notification", {"CLSID ID COMMAND"},
            "Taps the button named cmd:COMMAND in the bubble of notification CLSID/ID; the shell\n"
            "posts the command to the notification's sink window.",
            {"tap notification voltmarap 1 1"}, Kind::Action,
            [](const Arguments& args) -> Action {
                requireCount(args, 3, 3, "tap notification CLSID ID COMMAND");
                const std::string clsid = parseClsid(args[0]);
                const DWORD id = parseDword(args[1], "notification id");
                const unsigned command = parseDword(args[2], "command");
                return [clsid, id, command](Session& s) {
                    const auto shown = s.device.notification(clsid, id);
                    if (!shown)
                        throw ActionFailed("no notification " + clsid + " id " + std::to_string(id) + " is shown");
                    if (std::find(shown->buttons.begin(), shown->buttons.end(), command) == shown->buttons.end())
                        throw ActionFailed("notification " + clsid + " id " + std::to_string(id) +
                                           " has no button cmd:" + std::to_string(command));
                    // A bubble left behind by a program that ended: the tap goes nowhere.
                    const bool received = s.device.tapNotificationButton(clsid, id, command);
                    s.print("tapped cmd:" + std::to_string(command) + " of " + clsid + " id " + std::to_string(id) +
                            (received ? "" : "; its window is gone, nobody got the command"));
                };
            }};
}

CommandEntry tapButton() {
    return {"tap button", {"COMMAND"},
            "Taps the button cmd:COMMAND of the first notification that shows one.",
            {"tap button 1"}, Kind::Action,
            [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "tap button COMMAND");
                const unsigned command = parseDword(args[0], "command");
                return [command](Session& s) {
                    for (const pocket::NotificationView& n : s.device.notifications()) {
                        for (unsigned b : n.buttons) {
                            if (b != command) continue;
                            if (!s.device.tapNotificationButton(n.clsid, n.id, command))
                                throw ActionFailed("the sink window of " + n.clsid + " id " + std::to_string(n.id) +
                                                   " is gone; the tap went nowhere");
                            s.print("tapped cmd:" + std::to_string(command) + " of " + n.clsid + " id " +
                                    std::to_string(n.id));
                            return;
                        }
                    }
                    throw ActionFailed("no notification shows a button cmd:" + std::to_string(command));
                };
            }};
}

CommandEntry setRegistry() {
    const std::string usage = "set registry KEY VALUE dword N | sz TEXT | expand_sz TEXT | binary HEX | raw TYPE HEX";
    return {"set registry",
            {"KEY VALUE dword N", "KEY VALUE sz TEXT", "KEY VALUE expand_sz TEXT", "KEY VALUE binary HEX...",
             "KEY VALUE raw TYPE HEX..."},
            "Writes a value, creating the key. sz (REG_SZ) and expand_sz (REG_EXPAND_SZ) store UTF-16\n"
            "text with its terminator; binary and raw take hex bytes (\"\" for none); raw gives any\n"
            "type number, for values of odd sizes.",
            {"set registry HKCU\\Software\\Orvalen\\VoltmaraPPC BatteryCount dword 3600000",
             "set registry HKCU\\Software\\Orvalen\\VoltmaraPPC BatteryCount raw 4 0102",
             "set registry \"HKLM/Software/Microsoft/Windows/CurrentVersion/App Paths/CEAppMgr.exe\" \"\" sz "
             "\"C:\\\\Program Files\\\\Windows CE Services\\\\CEAppMgr.exe\""},
            Kind::Action,
            [usage](const Arguments& args) -> Action {
                requireCount(args, 3, std::numeric_limits<std::size_t>::max(), usage);
                const std::string key = parseRegistryKey(args[0]);
                const std::string name = args[1];
                const std::string& type = args[2];
                DWORD regType = REG_NONE;
                std::vector<std::uint8_t> data;
                if (type == "dword") {
                    requireCount(args, 4, 4, usage);
                    regType = REG_DWORD;
                    data = littleEndian(parseDword(args[3], "dword"));
                } else if (type == "sz" || type == "expand_sz") {
                    requireCount(args, 4, 4, usage);
                    regType = type == "sz" ? REG_SZ : REG_EXPAND_SZ;
                    data = utf16WithTerminator(args[3]);
                } else if (type == "binary") {
                    regType = REG_BINARY;
                    data = parseHexBytes(Arguments(args.begin() + 3, args.end()));
                } else if (type == "raw") {
                    requireCount(args, 4, std::numeric_limits<std::size_t>::max(), usage);
                    regType = parseDword(args[3], "registry type");
                    data = parseHexBytes(Arguments(args.begin() + 4, args.end()));
                } else {
                    throw UsageError("unknown value type \"" + type + "\"; usage: " + usage);
                }
                return [key, name, regType, data](Session& s) {
                    s.device.setRegistryValue(key, sim::fromUtf8(name), regType, data);
                    s.print(key + " " + valueLabel(name) + " = " + registryValueText({regType, data}));
                };
            }};
}

CommandEntry deleteRegistry() {
    return {"delete registry", {"KEY [VALUE]"},
            "Deletes a value, or without VALUE the key with everything under it.",
            {"delete registry HKCU\\Software\\Orvalen\\VoltmaraPPC BatteryCount",
             "delete registry HKCU\\Software\\Orvalen"},
            Kind::Action,
            [](const Arguments& args) -> Action {
                requireCount(args, 1, 2, "delete registry KEY [VALUE]");
                const std::string key = parseRegistryKey(args[0]);
                if (args.size() == 1) {
                    if (key.find('\\') == std::string::npos) throw UsageError("a registry root cannot be deleted");
                    return [key](Session& s) {
                        s.print(s.device.deleteRegistryKey(key) ? "deleted key " + key : "no key " + key + " to delete");
                    };
                }
                const std::string name = args[1];
                return [key, name](Session& s) {
                    const bool deleted = s.device.deleteRegistryValue(key, sim::fromUtf8(name));
                    s.print((deleted ? "deleted " : "no value to delete: ") + key + " " + valueLabel(name));
                };
            }};
}

CommandEntry failRegistry() {
    return {"fail registry", {"KEY ERROR", "KEY VALUE ERROR"},
            "From now on, opening KEY (or reading or writing its VALUE) fails with ERROR, a number or\n"
            "a name such as ACCESS_DENIED. Setting a fault on a missing key creates the key.",
            {"fail registry HKCU\\Software\\Orvalen\\VoltmaraPPC ACCESS_DENIED",
             "fail registry HKCU\\Software\\Orvalen\\VoltmaraPPC BatteryCount ERROR_ACCESS_DENIED"},
            Kind::Action,
            [](const Arguments& args) -> Action {
                requireCount(args, 2, 3, "fail registry KEY [VALUE] ERROR");
                const std::string key = parseRegistryKey(args[0]);
                const DWORD error = parseErrorCode(args.back());
                if (args.size() == 2)
                    return [key, error](Session& s) {
                        s.device.failRegistryKey(key, error);
                        s.print("opening " + key + " fails with " + errorName(error));
                    };
                const std::string name = args[1];
                return [key, name, error](Session& s) {
                    s.device.failRegistryValue(key, sim::fromUtf8(name), error);
                    s.print("access to " + key + " " + valueLabel(name) + " fails with " + errorName(error));
                };
            }};
}

CommandEntry clearRegistryFault() {
    return {"clear-fault registry", {"KEY"},
            "Removes the faults set on KEY and its values.",
            {"clear-fault registry HKCU\\Software\\Orvalen\\VoltmaraPPC"}, Kind::Action,
            [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "clear-fault registry KEY");
                const std::string key = parseRegistryKey(args[0]);
                return [key](Session& s) {
                    s.device.clearRegistryFaults(key);
                    s.print("no faults on " + key);
                };
            }};
}

// The OCCURRENCE after a call's name: 1 when not given.
std::uint64_t occurrenceIn(const Arguments& args) {
    if (args.size() < 2) return 1;
    const std::uint64_t occurrence = parseNumber(args[1], std::numeric_limits<std::uint32_t>::max(), "occurrence");
    if (occurrence == 0) throw UsageError("occurrences are counted from 1");
    return occurrence;
}

CommandEntry failCall() {
    const std::string usage = "fail call FUNCTION [OCCURRENCE [COUNT [PROGRAM]]]";
    return {"fail call", {"FUNCTION [OCCURRENCE [COUNT [PROGRAM]]]"},
            "Makes platform calls of FUNCTION fail as the real call can: the OCCURRENCE-th call\n"
            "(default 1) and COUNT - 1 after it (default 1; 0 = all from then on). Calls are counted\n"
            "from the device's start, only those that can fail; \"show calls\" gives the counts so\n"
            "far. With PROGRAM, only that program's calls count (also from the start) and fail.",
            {"fail call SHNotificationAdd", "fail call RegCreateKeyExW 1 0 voltmarap"}, Kind::Action,
            [usage](const Arguments& args) -> Action {
                requireCount(args, 1, 4, usage);
                const std::string function = parsePlatformCall(args[0], true);
                const std::uint64_t occurrence = occurrenceIn(args);
                const std::uint64_t count =
                    args.size() > 2 ? parseNumber(args[2], std::numeric_limits<std::uint32_t>::max(), "count") : 1;
                const std::string program = args.size() > 3 ? requireProgram(args[3]) : std::string();
                return [=](Session& s) {
                    s.device.failCall(function, occurrence, count, program);
                    std::string which = count == 1 ? "call " + std::to_string(occurrence)
                                        : count == 0 ? "calls " + std::to_string(occurrence) + " and on"
                                                     : "calls " + std::to_string(occurrence) + " to " +
                                                           std::to_string(occurrence + count - 1);
                    s.print(function + " " + which + (program.empty() ? "" : " of " + program) + " will fail");
                };
            }};
}

CommandEntry clearCallFaults() {
    return {"clear-fault calls", {""}, "Removes every fault set with \"fail call\".", {"clear-fault calls"},
            Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "clear-fault calls");
                return [](Session& s) {
                    s.device.clearFaults();
                    s.print("no call faults");
                };
            }};
}

CommandEntry stopCall() {
    const std::string usage = "stop call FUNCTION [OCCURRENCE [PROGRAM]]";
    return {"stop call", {"FUNCTION [OCCURRENCE [PROGRAM]]"},
            "Stops the thread that makes the OCCURRENCE-th call of FUNCTION (default 1) right after\n"
            "the call has had its effect, before it returns; every other thread goes on meanwhile,\n"
            "until \"resume\". Calls of every function count, from the device's start; with PROGRAM,\n"
            "only those of that program's threads (the shell's thread is \"shell\").",
            {"stop call CreateMutexW 1 voltmarap", "stop call GetWindowRect 1 shell"}, Kind::Action,
            [usage](const Arguments& args) -> Action {
                requireCount(args, 1, 3, usage);
                const std::string function = parsePlatformCall(args[0], false);
                const std::uint64_t occurrence = occurrenceIn(args);
                const std::string program = args.size() > 2 ? args[2] : std::string();
                if (!program.empty() && program != "shell") requireProgram(program);
                return [=](Session& s) {
                    s.device.stopAt(function, occurrence, program);
                    s.print("the thread making call " + std::to_string(occurrence) + " of " + function +
                            (program.empty() ? "" : " by " + program) + " will stop there");
                };
            }};
}

CommandEntry clearStops() {
    return {"clear-stops", {""}, "Removes every stop set with \"stop call\" (threads stopped already stay so).",
            {"clear-stops"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "clear-stops");
                return [](Session& s) {
                    s.device.clearStops();
                    s.print("no stops");
                };
            }};
}

CommandEntry closeProgram() {
    return {"close", {"PROGRAM", "hwnd=HANDLE"},
            "Asks the most recent running process of PROGRAM to close, as another program would:\n"
            "posts WM_CLOSE to its first top-level window (or to the window of that handle), and runs\n"
            "the device until it is idle.",
            {"close voltmarap", "close hwnd=0x00010018"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "close PROGRAM|hwnd=HANDLE");
                if (const std::optional<HWND> hwnd = windowHandleIn(args[0]))
                    return [hwnd](Session& s) {
                        s.device.postMessage(*hwnd, WM_CLOSE, 0, 0);
                        s.device.runUntilIdle();
                        s.print("WM_CLOSE posted to " + handleText(*hwnd));
                    };
                const std::string program = requireProgram(args[0]);
                return [program](Session& s) {
                    const std::vector<std::uint32_t> pids = s.device.runningPids(program);
                    if (pids.empty()) throw ActionFailed(program + " is not running");
                    for (const pocket::WindowView& w : s.device.windows()) {
                        if (w.pid != pids.back()) continue;
                        s.device.postMessage(w.hwnd, WM_CLOSE, 0, 0);
                        s.device.runUntilIdle();
                        return s.print("WM_CLOSE posted to " + program + " (pid " + std::to_string(w.pid) + ")");
                    }
                    throw ActionFailed(program + " (pid " + std::to_string(pids.back()) + ") has no window");
                };
            }};
}

CommandEntry resume() {
    return {"resume", {""}, "Lets every thread stopped with \"stop call\" go on, and runs the device until it is idle.",
            {"resume"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "resume");
                return [](Session& s) {
                    const auto stopped = s.device.stoppedThreads();
                    if (stopped.empty()) return s.print("no thread is stopped");
                    for (const pocket::StoppedThread& t : stopped)
                        s.print("thread " + std::to_string(t.thread) + " of " + t.process + " goes on after " + t.call);
                    s.device.resumeStopped();
                };
            }};
}

CommandEntry trace(const std::string& mode) {
    if (mode == "on")
        return {"trace on", {""},
                "Starts recording every platform call the programs make; forgets what was\n"
                "recorded before.",
                {"trace on"}, Kind::Action, [](const Arguments& args) -> Action {
                    requireCount(args, 0, 0, "trace on");
                    return [](Session& s) {
                        s.state.traceFrom = s.device.mark();
                        s.device.recordCalls(true);
                        s.print("recording platform calls");
                    };
                }};
    if (mode == "off")
        return {"trace off", {""}, "Stops recording; what was recorded stays for \"trace show\".", {"trace off"},
                Kind::Action, [](const Arguments& args) -> Action {
                    requireCount(args, 0, 0, "trace off");
                    return [](Session& s) {
                        s.device.recordCalls(false);
                        s.print("not recording platform calls");
                    };
                }};
    return {"trace show", {"[PROGRAM]"},
            "Prints the recorded calls (of PROGRAM only, when given) with time, process/thread,\n"
            "arguments and result. Addresses inside a program (its stack, its instance handle)\n"
            "differ from run to run.",
            {"trace show voltmarap"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "trace show [PROGRAM]");
                const std::string program = args.empty() ? std::string() : requireProgram(args[0]);
                return [program](Session& s) {
                    std::size_t shown = 0;
                    for (const pocket::CallView& call : s.device.calls(s.state.traceFrom, program)) {
                        s.print(traceText(call));
                        ++shown;
                    }
                    if (shown == 0) s.print("no calls recorded");
                };
            }};
}

CommandEntry echo() {
    return {"echo", {"TEXT..."}, "Prints TEXT, to tell a reader of the output what happens next.",
            {"echo \"--- plugged in ---\""}, Kind::Action, [](const Arguments& args) -> Action {
                const std::string text = joined(args, 0);
                return [text](Session& s) { s.print(text); };
            },
            false};
}

}  // namespace

std::vector<CommandEntry> actionCommands() {
    return {start(),
            advance(),
            tick(),
            handheldOnly(power()),
            handheldOnly(tapNotification()),
            handheldOnly(tapButton()),
            setRegistry(),
            deleteRegistry(),
            failRegistry(),
            clearRegistryFault(),
            failCall(),
            clearCallFaults(),
            stopCall(),
            resume(),
            clearStops(),
            closeProgram(),
            handheldOnly(powerRecord()),
            trace("on"),
            trace("off"),
            trace("show"),
            echo()};
}

}  // namespace pocketsim
