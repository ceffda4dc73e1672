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

std::vector<Leftover> leftoversOfEndedProcesses(const PocketDevice& device) {
    std::vector<Leftover> out;
    std::map<std::uint32_t, std::string> ended;
    for (const ProcessView& p : device.processes()) {
        if (p.running) continue;
        ended[p.pid] = p.name;
        for (const HandleCheck& check : kHandleChecks) {
            const std::int64_t live = p.handles.liveOf(check.kind);
            if (live != 0) out.push_back({p.pid, p.name, std::string(check.what) + " handle", live});
        }
    }

    auto report = [&](const char* what, const std::map<std::uint32_t, std::int64_t>& counts) {
        for (const auto& [pid, count] : counts) {
            auto it = ended.find(pid);
            if (it != ended.end()) out.push_back({pid, it->second, what, count});
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

std::vector<std::string> nonZeroExits(const PocketDevice& device) {
    std::vector<std::string> out;
    for (const ProcessView& p : device.processes())
        if (!p.running && p.exitCode != 0)
            out.push_back(p.name + " (pid " + std::to_string(p.pid) + ") ended with exit code " +
                          std::to_string(p.exitCode.value_or(-1)));
    return out;
}

std::vector<std::string> duplicateCopies(const PocketDevice& device) {
    std::map<std::string, int> running;
    for (const ProcessView& p : device.processes())
        if (p.running) ++running[p.name];
    std::vector<std::string> out;
    for (const auto& [name, copies] : running)
        if (copies > 1) out.push_back(name + ": " + std::to_string(copies) + " copies running");
    return out;
}

}  // namespace pocket
