// Commands that print what the user, the shell or the platform would see.
#include <algorithm>
#include <limits>

#include "arguments.h"
#include "commands.h"
#include "format.h"
#include "utf.h"

namespace pocketsim {

namespace {

using Kind = CommandEntry::Kind;

Action noArguments(const Arguments& args, const std::string& usage, Action action) {
    requireCount(args, 0, 0, usage);
    return action;
}

CommandEntry showNotifications() {
    return {"show notifications", {""},
            "Lists the shell's notifications: class id, id, owner, icon resource, title, flags,\n"
            "priority, duration, sink window, buttons and HTML.",
            {"show notifications"}, Kind::Show, [](const Arguments& args) {
                return noArguments(args, "show notifications", [](Session& s) {
                    const auto windows = s.device.windows();
                    const auto list = s.device.notifications();
                    if (list.empty()) s.print("no notifications");
                    for (const pocket::NotificationView& n : list)
                        for (std::string& line : notificationText(n, windows)) s.print(std::move(line));
                });
            }};
}

CommandEntry showNotification() {
    return {"show notification", {"CLSID ID"}, "Shows one notification as \"show notifications\" does.",
            {"show notification voltmarap 1"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 2, 2, "show notification CLSID ID");
                const std::string clsid = parseClsid(args[0]);
                const DWORD id = static_cast<DWORD>(parseNumber(args[1], 0xFFFFFFFFu, "notification id"));
                return [clsid, id](Session& s) {
                    const auto n = s.device.notification(clsid, id);
                    if (!n) return s.print("no notification " + clsid + " id " + std::to_string(id));
                    for (std::string& line : notificationText(*n, s.device.windows())) s.print(std::move(line));
                };
            }};
}

CommandEntry showHistory() {
    return {"show notification-history", {"[LAST]"},
            "Lists what programs asked of the shell's notifications (add, update with its mask,\n"
            "remove) and the result; only the LAST events when given.",
            {"show notification-history", "show notification-history 5"}, Kind::Show,
            [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "show notification-history [LAST]");
                const std::uint64_t last =
                    args.empty() ? std::numeric_limits<std::uint64_t>::max()
                                 : parseNumber(args[0], std::numeric_limits<std::uint32_t>::max(), "event count");
                return [last](Session& s) {
                    const auto& history = s.device.notificationHistory();
                    const std::size_t from = history.size() > last ? history.size() - last : 0;
                    if (from == history.size()) s.print("no notification events");
                    for (std::size_t i = from; i < history.size(); ++i) s.print(historyText(history[i]));
                };
            }};
}

CommandEntry showWindows() {
    return {"show windows", {""}, "Lists every window, the shell's included, with class, title, owner and style.",
            {"show windows"}, Kind::Show, [](const Arguments& args) {
                return noArguments(args, "show windows", [](Session& s) {
                    const auto windows = s.device.windows();
                    if (windows.empty()) s.print("no windows");
                    for (const pocket::WindowView& w : windows) s.print(windowText(w));
                });
            }};
}

CommandEntry showProcesses() {
    return {"show processes", {""},
            "Lists every process started so far: pid, program, running or its exit code, and the\n"
            "handles it holds by kind (for an ended process, those it left open).",
            {"show processes"}, Kind::Show, [](const Arguments& args) {
                return noArguments(args, "show processes", [](Session& s) {
                    const auto processes = s.device.processes();
                    if (processes.empty()) s.print("no processes");
                    for (const pocket::ProcessView& p : processes) s.print(processText(p));
                });
            }};
}

CommandEntry showTimers() {
    return {"show timers", {""}, "Lists the window timers: owner, window, id, period and when each is due next.",
            {"show timers"}, Kind::Show, [](const Arguments& args) {
                return noArguments(args, "show timers", [](Session& s) {
                    const auto timers = s.device.timers();
                    if (timers.empty()) s.print("no timers");
                    for (const pocket::TimerView& t : timers) s.print(timerText(t, s.device.now()));
                });
            }};
}

std::string valueLabel(const std::u16string& name) { return name.empty() ? "(default)" : quote(sim::toUtf8(name)); }

CommandEntry showRegistry() {
    return {"show registry", {"KEY [VALUE]"},
            "Shows one value (type and data: dwords in decimal and hex, strings as text, other data\n"
            "as hex bytes), or without VALUE every value and subkey of KEY, and faults set on them.",
            {"show registry HKCU\\Software\\Orvalen\\VoltmaraPPC BatteryCount", "show registry HKCU\\Software"},
            Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 1, 2, "show registry KEY [VALUE]");
                const std::string path = parseRegistryKey(args[0]);
                const std::optional<std::u16string> only =
                    args.size() == 2 ? std::optional(sim::fromUtf8(args[1])) : std::nullopt;
                return [path, only](Session& s) {
                    const auto key = s.device.registryKey(path);
                    if (!key) return s.print("no key " + path);
                    if (key->openError != ERROR_SUCCESS) s.print("opening the key fails with " + errorName(key->openError));
                    if (only) {
                        const auto value = std::find_if(key->values.begin(), key->values.end(), [&](const auto& v) {
                            return sim::equalsIgnoreCase(v.name, *only);
                        });
                        s.print(valueLabel(*only) + (value == key->values.end() ? " is not set"
                                                                               : " = " + registryValueText(value->value)));
                        for (const auto& fault : key->valueFaults)
                            if (sim::equalsIgnoreCase(fault.name, *only))
                                s.print("access to it fails with " + errorName(fault.error));
                        return;
                    }
                    if (key->values.empty() && key->subkeys.empty()) s.print("empty key");
                    for (const auto& value : key->values) s.print(valueLabel(value.name) + " = " + registryValueText(value.value));
                    for (const auto& fault : key->valueFaults)
                        s.print("access to " + valueLabel(fault.name) + " fails with " + errorName(fault.error));
                    for (const std::u16string& subkey : key->subkeys) s.print("key " + sim::toUtf8(subkey) + "\\");
                };
            }};
}

CommandEntry showPower() {
    return {"show power", {""}, "Shows what the battery driver reports now.", {"show power"}, Kind::Show,
            [](const Arguments& args) {
                return noArguments(args, "show power",
                                   [](Session& s) { s.print(powerText(s.device.powerRecord())); });
            }};
}

CommandEntry showClock() {
    return {"show clock", {""}, "Shows the virtual time since boot and the tick count.", {"show clock"}, Kind::Show,
            [](const Arguments& args) {
                return noArguments(args, "show clock", [](Session& s) {
                    s.print("now " + timeStamp(s.device.now()) + ", tick count " + std::to_string(s.device.tickCount()) +
                            " (" + hex(s.device.tickCount(), 8) + ")");
                });
            }};
}

CommandEntry showCalls() {
    return {"show calls", {"[FUNCTION]"},
            "Shows how many calls of each function that can fail were made so far, all programs\n"
            "together: the occurrences that \"fail call\" counts.",
            {"show calls", "show calls RegSetValueExW"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "show calls [FUNCTION]");
                const std::string only = args.empty() ? std::string() : parsePlatformCall(args[0], true);
                return [only](Session& s) {
                    if (!only.empty()) return s.print(only + ": " + std::to_string(s.device.callCount(only)));
                    const auto counts = s.device.callCounts();
                    if (counts.empty()) s.print("no calls yet");
                    for (const auto& [function, count] : counts) s.print(function + ": " + std::to_string(count));
                    if (const std::uint64_t injected = s.device.faultsInjected())
                        s.print("faults injected so far: " + std::to_string(injected));
                };
            }};
}

}  // namespace

std::vector<CommandEntry> showCommands() {
    return {handheldOnly(showNotifications()), handheldOnly(showNotification()), handheldOnly(showHistory()),
            showWindows(),  showProcesses(), showTimers(), showRegistry(), handheldOnly(showPower()), showClock(),
            showCalls()};
}

}  // namespace pocketsim
