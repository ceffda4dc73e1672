// The events of a step that move time, power and keys, and how a step's event is chosen.
#include <algorithm>

#include "names.h"
#include "run.h"
#include "script_lines.h"

namespace explore {

namespace {

constexpr const char* kPrograms[] = {"voltmarap", "rcbridge", "appshut"};

std::string powerText(const PowerSample& p) {
    return "ac " + std::to_string(p.acLine) + " flag " + std::to_string(p.flag) + " percent " +
           std::to_string(p.percent);
}

}  // namespace

EventKind Run::chooseKind() {
    std::vector<unsigned> weights(kEventKinds, 0);
    auto set = [&](EventKind kind, unsigned weight) { weights[static_cast<std::size_t>(kind)] = weight; };
    set(EventKind::Advance, 22);
    set(EventKind::Start, 10);
    set(EventKind::Power, 7);
    set(EventKind::Key, 12);
    set(EventKind::TrayPen, 5);
    set(EventKind::Menu, device_.openMenu() ? 20 : 1);
    set(EventKind::MessageBox, device_.messageBox() ? 12 : 1);
    set(EventKind::Notification, 5);
    set(EventKind::Stylus, 12);
    set(EventKind::Foreground, 4);
    set(EventKind::StandIn, 5);
    set(EventKind::BeepFile, 2);
    set(EventKind::Registry, 1);
    set(EventKind::CloseRequest, 2);
    set(EventKind::Display, 1);
    set(EventKind::Volume, 1);
    return static_cast<EventKind>(rng_.weighted(weights));
}

void Run::carryOut(EventKind kind) {
    // (A raced stylus lift is not judged: tap-to-close may be switched off meanwhile.)
    if (!inRaceWindow_) {
        switch (kind) {
        case EventKind::Notification: stepInvolves_ = "voltmarap"; break;
        case EventKind::Key:
        case EventKind::TrayPen:
        case EventKind::Menu:
        case EventKind::MessageBox: stepInvolves_ = "rcbridge"; break;
        default: stepInvolves_.clear();
        }
    }
    switch (kind) {
    case EventKind::Advance: return doAdvance();
    case EventKind::Start: return doStart(kPrograms[rng_.weighted({40, 30, 30})]);
    case EventKind::Power: return doPower();
    case EventKind::Key: return doKey();
    case EventKind::TrayPen: return doTrayPen();
    case EventKind::Menu: return doMenu();
    case EventKind::MessageBox: return doMessageBox();
    case EventKind::Notification: return doNotification();
    case EventKind::Stylus: return doStylus();
    case EventKind::Foreground: return doForeground();
    case EventKind::StandIn: return doStandIn();
    case EventKind::BeepFile: return doBeepFile();
    case EventKind::Registry: return doRegistry();
    case EventKind::CloseRequest: return doCloseRequest(kPrograms[rng_.below(3)]);
    case EventKind::Display: return doDisplay();
    case EventKind::Volume: return doVolume();
    }
}

std::uint32_t Run::runningPid(const std::string& program) const {
    const std::vector<std::uint32_t> pids = device_.runningPids(program);
    return pids.empty() ? 0 : pids.front();
}

void Run::advance(std::uint64_t milliseconds) {
    if (race_) {
        // Time stands still while a thread is stopped: the race is run out at that instant.
        const std::uint64_t start = device_.now();
        const std::uint64_t target = start + milliseconds;
        device_.advanceUntilStop(milliseconds);
        if (device_.now() != start) record("advance " + std::to_string(device_.now() - start) + "ms");
        monitor_.advanceTo(device_.now(), power_, monitorFaults());
        settleRace();
        // The race's own settling may have gone past the end.
        milliseconds = target > device_.now() ? target - device_.now() : 0;
    }
    device_.advance(milliseconds);
    if (milliseconds) record("advance " + std::to_string(milliseconds) + "ms");
    monitor_.advanceTo(device_.now(), power_, monitorFaults());
}

void Run::doAdvance() {
    std::uint64_t ms = 0;
    const std::uint32_t tick = device_.tickCount();
    switch (rng_.below(10)) {
    case 0:
    case 1:
    case 2:
    case 3: ms = rng_.between(1, 2000); break;
    case 4:
    case 5:
        // Onto a sampling instant, or just before or after it.
        if (auto next = monitor_.nextSample()) {
            const std::int64_t to = static_cast<std::int64_t>(*next - device_.now()) + rng_.between(-1, 1);
            ms = static_cast<std::uint64_t>(std::max<std::int64_t>(0, to));
        } else {
            ms = rng_.between(1, 10000);
        }
        break;
    case 6:
    case 7: ms = rng_.between(5000, 300000); break;
    case 8: ms = rng_.between(300000, 3 * 3600000); break;
    default:
        if (tick <= 20000) {
            ms = 20000 - tick + rng_.below(2);  // onto the first tick that counts, or one past it
        } else if (tick > 0xFFFFFFFFu - 4 * 3600000u) {
            const std::int64_t to = static_cast<std::int64_t>(0x100000000ull - tick) + rng_.between(-5000, 25000);
            ms = static_cast<std::uint64_t>(std::max<std::int64_t>(0, to));
        } else {
            ms = rng_.below(100);
        }
    }
    note("advance " + std::to_string(ms) + " ms");
    chooseFault(EventKind::Advance, "");
    advance(ms);
}

void Run::doPower() {
    PowerSample p;
    switch (rng_.below(5)) {
    case 0:
    case 1:
        p.acLine = rng_.chance(60) ? 0 : 1;
        p.percent = static_cast<std::uint8_t>(rng_.below(101));
        p.flag = rng_.pick<std::uint8_t>({0, 1, 2, 4, 8, 9, 0x80});
        break;
    case 2:
    case 3:
        p.acLine = rng_.pick<std::uint8_t>({0, 1, 2, 255, rng_.byte()});
        p.percent = rng_.pick<std::uint8_t>({0, 9, 10, 29, 30, 49, 50, 69, 70, 100, 101, 254, 255, rng_.byte()});
        p.flag = rng_.pick<std::uint8_t>({0, 8, 255, rng_.byte()});
        break;
    default: {
        // Every byte of the record at random: only three fields may matter.
        SYSTEM_POWER_STATUS_EX record;
        auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
        for (std::size_t i = 0; i < sizeof record; ++i) bytes[i] = rng_.byte();
        device_.setPowerRecord(record);
        this->record(powerRecordLine(record));
        power_ = {record.ACLineStatus, record.BatteryFlag, record.BatteryLifePercent};
        note("power record at random: " + powerText(power_));
        return;
    }
    }
    power_ = p;
    device_.setPower({p.acLine, p.percent, p.flag});
    record(powerLine(p));
    note("power " + powerText(p));
}

void Run::doKey() {
    const UINT vk = rng_.chance(90) ? static_cast<UINT>(rng_.between(136, 142))
                                    : rng_.pick<UINT>({135, 143, VK_OFF, static_cast<UINT>(rng_.byte())});
    const std::uint64_t gap = rng_.chance(60) ? rng_.pick<std::uint64_t>({0, 1, 100, 449, 450, 451, 900})
                                              : static_cast<std::uint64_t>(rng_.between(0, 3000));
    note("key " + std::to_string(vk) + " after " + std::to_string(gap) + " ms");
    chooseFault(EventKind::Key, "");
    advance(gap);

    const std::uint32_t bridge = runningPid("rcbridge");
    const BridgeRun* run = nullptr;
    for (const BridgeRun& b : bridges_)
        if (b.pid == bridge) run = &b;
    const auto holder = device_.pressKey(vk);
    record(vk ? "press " + std::to_string(vk) : std::string("# key 0 pressed: no key, nothing happens"));
    const bool remoteKey = vk >= 136 && vk <= 142;
    const bool expectHeld = remoteKey && run && !run->hotKeysFailed;
    if (holder.has_value() != expectHeld || (holder && holder->pid != bridge)) {
        problem("key " + std::to_string(vk) + " reached " +
                (holder ? "process " + std::to_string(holder->pid) : std::string("no one")) + "; expected " +
                (expectHeld ? "the bridge (pid " + std::to_string(bridge) + ")" : std::string("no one")));
    }
    if (holder && (vk == 136 || vk == 137)) volume_.press(vk == 137);
    // The player command each key may lead to (key 140 only when its group stays a single press).
    if (holder && vk >= 138) ++commandsPressed_[vk == 138 ? 40038 : vk == 139 ? 40037 : vk == 140 ? 40036 : 40027];
}

void Run::doVolume() {
    const std::uint64_t gets = device_.callCount("waveOutGetVolume", "rcbridge");
    const std::uint64_t sets = device_.callCount("waveOutSetVolume", "rcbridge");
    if (volume_.expect(gets, sets).pending) {
        note("volume: presses still waiting, left alone");
        return;
    }
    const std::uint32_t volume = rng_.pick<std::uint32_t>(
        {0, 0xFFFFFFFF, 0xFFFF0000, 0x0000FFFF, 1091, 1092, 0xFBBBFBBB, static_cast<std::uint32_t>(rng_.next())});
    note("volume set to " + hex(volume));
    device_.setVolume(volume);
    record("volume set " + hex(volume));
    volume_.rebase(volume, gets, sets);
}

}  // namespace explore
