#include "journal_report.h"

#include <algorithm>
#include <map>
#include <set>

#include "device_terms.h"
#include "format.h"
#include "shell_terms.h"
#include "utf.h"

namespace pocketsim {

namespace {

constexpr std::size_t kMostLines = 10;  // of a kind: a line that presses a key a hundred times stays readable

struct ReportLine {
    std::string kind;  // what "... N earlier KIND not shown" names; empty: always shown
    std::string text;
};

std::string closedMenuText(const pocket::PocketDevice& device, const pocket::MenuView& menu) {
    const std::string whose = "menu of " + ownerText(device, menu.pid) + " closed";
    if (!menu.chosen) return whose + " without a choice";
    const std::string text = whose + ": " + std::to_string(menu.chosen);
    for (const pocket::MenuItemView& item : menu.items)
        if (!item.separator && item.id == menu.chosen) return text + " " + quote(item.text) + " chosen";
    return text + " chosen";
}

std::string boxClosedText(const pocket::PocketDevice& device, const pocket::MessageBoxView& box) {
    return "message box " + quote(box.caption) + " of " + ownerText(device, box.pid) + " closed " +
           (box.result ? "with " + buttonName(box.result) + " (" + std::to_string(box.result) + ")"
                       : std::string("without a button"));
}

std::string soundText(const pocket::PocketDevice& device, const sim::SoundStarted& s) {
    return ownerText(device, s.pid) + " plays " + sim::toUtf8(s.path) + ", " + (s.async ? "async" : "sync") + ", " +
           std::to_string(s.plannedEnd - s.start) + " ms";
}

std::string windowLabel(const pocket::PocketDevice& device, const ScriptState& state, HWND hwnd) {
    for (const pocket::StandInRecord& s : device.standIns())
        if (s.hwnd == hwnd) return quote(s.className) + " of " + ownerText(device, s.pid);
    for (const pocket::StandInRecord& app : state.applications)
        if (app.hwnd == hwnd) return quote(app.className) + " of " + ownerText(device, app.pid);
    for (const pocket::WindowView& window : device.windows())
        if (window.hwnd == hwnd) return quote(window.className) + " of " + ownerText(device, window.pid);
    return "hwnd " + handleText(hwnd);
}

// "hot keys taken by rcbridge (pid 4100): 142, 141": one line per holder and direction, at the
// place of its first key.
void noteKey(std::vector<ReportLine>& lines, std::map<std::pair<std::uint32_t, bool>, std::size_t>& lineOf,
             const pocket::PocketDevice& device, const sim::HotKey& key, bool taken) {
    const std::string name = std::to_string(key.vk) + (key.modifiers ? "+" + modifierText(key.modifiers) : "");
    auto [it, fresh] = lineOf.try_emplace({key.pid, taken}, lines.size());
    if (fresh) {
        lines.push_back({"", std::string("hot keys ") + (taken ? "taken by " : "released by ") + ownerText(device, key.pid) + ": " + name});
    } else {
        lines[it->second].text += ", " + name;
    }
}

}  // namespace

JournalReport::JournalReport(const pocket::PocketDevice& device, const ScriptState& state)
    : device_(device), state_(state), mark_(device.mark()) {}

std::vector<std::string> JournalReport::next() {
    std::size_t dropped = 0;
    const std::vector<const sim::Entry*> entries = device_.journal().since(mark_, &dropped);
    mark_ = device_.mark();
    std::vector<ReportLine> lines;
    if (dropped) lines.push_back({"", "... " + std::to_string(dropped) + " earlier journal entries no longer kept"});

    std::set<std::uint32_t> startedNow;
    std::size_t launchNumber = device_.journal().total<sim::ProcessLaunch>();
    for (const sim::Entry* e : entries) launchNumber -= e->as<sim::ProcessLaunch>() ? 1 : 0;
    std::size_t taskbarLine = 0;  // one line names every message the taskbar's own procedure got
    std::map<std::pair<std::uint32_t, bool>, std::size_t> keyLines;
    const std::vector<pocket::StandInRecord> standIns = device_.standIns();

    for (const sim::Entry* e : entries) {
        const auto stampedLine = [&](const std::string& kind, const std::string& text) {
            lines.push_back({kind, timeStamp(e->time) + " " + text});
        };
        if (const auto* started = e->as<sim::ProcessStarted>()) {
            startedNow.insert(started->pid);
        } else if (const auto* ended = e->as<sim::ProcessEnded>()) {
            // A process started and ended by the same line is the line's own news.
            if (!startedNow.count(ended->pid))
                if (const auto view = device_.process(ended->pid)) lines.push_back({"", processText(*view)});
        } else if (const auto* d = e->as<sim::DeliveryEntry>()) {
            const sim::ReceivedMessage message{d->message, d->wParam, d->lParam, e->time};
            if (d->proc == device_.taskbarOwnProcedure()) {
                const std::string name = messageName(d->message);
                if (!taskbarLine) {
                    lines.push_back({"", "the taskbar's own procedure received " + name});
                    taskbarLine = lines.size();
                } else {
                    lines[taskbarLine - 1].text += ", " + name;
                }
                continue;
            }
            if (d->proc != device_.standInProcedure()) continue;
            const auto s = std::find_if(standIns.begin(), standIns.end(), [&](const auto& r) { return r.hwnd == d->hwnd; });
            // A stand-in made meanwhile was made by the script, which says so; its creation is no news.
            if (s == standIns.end() || startedNow.count(s->pid)) continue;
            stampedLine("messages to " + s->className, standInName(*s) + " received " + receivedText(message));
        } else if (const auto* taken = e->as<sim::HotKeyTaken>()) {
            noteKey(lines, keyLines, device_, taken->key, true);
        } else if (const auto* released = e->as<sim::HotKeyReleased>()) {
            noteKey(lines, keyLines, device_, released->key, false);
        } else if (const auto* sent = e->as<sim::SentToBackground>()) {
            lines.push_back({"", "the shell sent " + windowLabel(device_, state_, sent->window) + " to the background"});
        } else if (const auto* write = e->as<sim::VolumeWrite>()) {
            stampedLine("volume settings", "volume set to " + volumeText(write->volume) + " by " + ownerText(device_, write->pid));
        } else if (const auto* sound = e->as<sim::SoundStarted>()) {
            stampedLine("sounds", soundText(device_, *sound));
        } else if (const auto* key = e->as<sim::KeyboardEvent>()) {
            stampedLine("key events", keyboardEventText(device_, *key));
        } else if (const auto* launch = e->as<sim::ProcessLaunch>()) {
            lines.push_back({"", launchText(device_, ++launchNumber, *launch)});
        } else if (const auto* display = e->as<sim::DisplayPowerChanged>()) {
            lines.push_back({"", "display power " + displayStateText(display->from) + " -> " + displayStateText(display->to)});
        } else if (const auto* power = e->as<sim::PowerSwitched>()) {
            lines.push_back({"", power->on ? "the device switched on" : "the device switched off"});
        } else if (const auto* opened = e->as<sim::MenuOpened>()) {
            const pocket::MenuView menu = pocket::describeMenu(opened->menu);
            lines.push_back({"menus opened and closed", "menu opened by " + ownerText(device_, menu.pid) + " at (" +
                                                            std::to_string(menu.x) + ", " + std::to_string(menu.y) +
                                                            "): " + menuItemsText(menu.items)});
        } else if (const auto* closed = e->as<sim::MenuClosed>()) {
            lines.push_back({"menus opened and closed", closedMenuText(device_, pocket::describeMenu(closed->menu))});
        } else if (const auto* box = e->as<sim::MessageBoxOpened>()) {
            lines.push_back({"message boxes opened and closed",
                             "message box " + quote(sim::toUtf8(box->box.caption)) + " opened by " +
                                 ownerText(device_, box->box.pid) + ": " + quote(sim::toUtf8(box->box.text))});
        } else if (const auto* shut = e->as<sim::MessageBoxClosed>()) {
            lines.push_back({"message boxes opened and closed", boxClosedText(device_, pocket::describeBox(shut->box))});
        }
    }

    // Only the last few of each kind.
    std::map<std::string, std::size_t> count;
    for (const ReportLine& line : lines) ++count[line.kind];
    std::map<std::string, std::size_t> seen;
    std::vector<std::string> out;
    for (const ReportLine& line : lines) {
        const std::size_t n = count[line.kind];
        const std::size_t index = seen[line.kind]++;
        if (line.kind.empty() || n <= kMostLines) {
            out.push_back(line.text);
        } else if (index == 0) {
            out.push_back("... " + std::to_string(n - kMostLines) + " earlier " + line.kind + " not shown");
        } else if (index >= n - kMostLines) {
            out.push_back(line.text);
        }
    }
    return out;
}

}  // namespace pocketsim
