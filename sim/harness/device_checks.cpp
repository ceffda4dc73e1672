#include "device_checks.h"

#include <map>

namespace pocket {

namespace {

struct HandleCheck {
    sim::HandleKind kind;
    const char* what;
};

constexpr HandleCheck kHandleChecks[] = {
    {sim::HandleKind::Window, "window"},
    {sim::HandleKind::Icon, "icon"},
    {sim::HandleKind::Menu, "menu"},
    {sim::HandleKind::DeviceContext, "device context"},
    {sim::HandleKind::RegistryKey, "registry key"},
};

void countOf(std::map<std::uint32_t, std::int64_t>& counts, std::uint32_t pid) { ++counts[pid]; }

}  // namespace

std::string Leftover::describe() const {
    return process + " (pid " + std::to_string(pid) + ") left " + std::to_string(count) + " " + what +
           (count == 1 ? "" : "(s)");
}

std::vector<Leftover> handlesLeftBy(const ProcessView& ended) {
    std::vector<Leftover> out;
    for (const HandleCheck& check : kHandleChecks) {
        const std::int64_t live = ended.handles.liveOf(check.kind);
        if (live != 0) out.push_back({ended.pid, ended.name, std::string(check.what) + " handle", live});
    }
    return out;
}

std::vector<Leftover> heldForEndedProcesses(const PocketDevice& device) {
    std::vector<Leftover> out;
    auto report = [&](const char* what, const std::map<std::uint32_t, std::int64_t>& counts) {
        for (const auto& [pid, count] : counts) {
            const auto holder = device.process(pid);
            if (holder && !holder->running) out.push_back({pid, holder->name, what, count});
        }
    };
    std::map<std::uint32_t, std::int64_t> timers, hotKeys, notifications, trayIcons;
    for (const TimerView& t : device.timers()) countOf(timers, t.pid);
    for (const HotKeyView& h : device.hotKeys()) countOf(hotKeys, h.pid);
    for (const NotificationView& n : device.notifications()) countOf(notifications, n.pid);
    for (const TrayIconView& t : device.trayIcons()) countOf(trayIcons, t.pid);
    report("timer", timers);
    report("hot key", hotKeys);
    report("notification", notifications);
    report("tray icon", trayIcons);
    return out;
}

std::vector<Leftover> leftoversOfEndedProcesses(const PocketDevice& device) {
    std::vector<Leftover> out;
    for (const ProcessView& p : device.processes())
        if (!p.running)
            for (Leftover& left : handlesLeftBy(p)) out.push_back(std::move(left));
    for (Leftover& left : heldForEndedProcesses(device)) out.push_back(std::move(left));
    return out;
}

std::optional<std::string> nonZeroExit(const ProcessView& ended) {
    if (ended.running || ended.exitCode == 0) return std::nullopt;
    return ended.name + " (pid " + std::to_string(ended.pid) + ") ended with exit code " +
           std::to_string(ended.exitCode.value_or(-1));
}

std::vector<std::string> nonZeroExits(const PocketDevice& device) {
    std::vector<std::string> out;
    for (const ProcessView& p : device.processes())
        if (auto exit = nonZeroExit(p)) out.push_back(*exit);
    return out;
}

std::vector<std::string> duplicateCopies(const PocketDevice& device) {
    std::map<std::string, int> running;
    for (const ProcessView& p : device.runningProcesses()) ++running[p.name];
    std::vector<std::string> out;
    for (const auto& [name, copies] : running)
        if (copies > 1) out.push_back(name + ": " + std::to_string(copies) + " copies running");
    return out;
}

}  // namespace pocket
