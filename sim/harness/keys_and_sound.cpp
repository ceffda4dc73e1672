#include "keys_and_sound.h"

#include "device.h"
#include "utf.h"

namespace pocket {

namespace {

HotKeyView viewOf(const sim::HotKey& key) { return HotKeyView{key.owner, key.pid, key.id, key.vk, key.modifiers}; }

}  // namespace

std::optional<HotKeyView> KeysAndSound::pressKey(UINT vk, UINT modifiers) {
    const auto holder = sim::pressHotKey(device_, vk, modifiers);
    device_.runUntilIdle();
    if (!holder) return std::nullopt;
    return viewOf(*holder);
}

void KeysAndSound::pressKeys(const std::vector<KeyPress>& presses) {
    for (const KeyPress& press : presses) {
        device_.advance(press.gapMs);
        pressKey(press.vk, press.modifiers);
    }
}

std::vector<HotKeyView> KeysAndSound::hotKeys() const {
    std::vector<HotKeyView> out;
    for (const sim::HotKey& key : device_.hotKeys.all()) out.push_back(viewOf(key));
    return out;
}

std::vector<sim::HotKeyPress> KeysAndSound::keyPresses() const { return device_.journal.all<sim::HotKeyPress>(); }

std::vector<sim::KeyboardEvent> KeysAndSound::keyboardEvents() const {
    return device_.journal.all<sim::KeyboardEvent>();
}

bool KeysAndSound::isSwitchedOn() const { return device_.keyboard.switchedOn(); }
void KeysAndSound::switchOn() { device_.keyboard.switchOn(); }

DWORD KeysAndSound::volume() const { return device_.audio.volume; }
void KeysAndSound::setVolume(DWORD volume) { device_.audio.volume = volume; }
std::vector<sim::VolumeWrite> KeysAndSound::volumeWrites() const { return device_.journal.all<sim::VolumeWrite>(); }

std::vector<SoundView> KeysAndSound::sounds() const {
    std::vector<SoundView> out;
    std::vector<std::uint64_t> started;
    for (const sim::Entry* entry : device_.journal.since(0)) {
        if (const auto* s = entry->as<sim::SoundStarted>()) {
            out.push_back(SoundView{sim::toUtf8(s->path), s->pid, s->start, s->plannedEnd, s->plannedEnd, s->async, false});
            started.push_back(entry->sequence);
        } else if (const auto* cut = entry->as<sim::SoundCut>()) {
            for (std::size_t i = 0; i < started.size(); ++i) {
                if (started[i] != cut->started) continue;
                out[i].actualEnd = entry->time;
                out[i].cut = entry->time < out[i].plannedEnd;
            }
        }
    }
    return out;
}

ULONG KeysAndSound::displayPowerState() const { return device_.display.powerState; }

DisplayDriverSettings KeysAndSound::displayDriver() const {
    return {device_.display.supportsPowerManagement, device_.display.powerState, device_.display.reportedLength};
}

void KeysAndSound::setDisplayDriver(const DisplayDriverSettings& settings) {
    device_.display.supportsPowerManagement = settings.supportsPowerManagement;
    device_.display.powerState = settings.powerState;
    device_.display.reportedLength = settings.reportedLength;
}

std::vector<sim::EscapeCall> KeysAndSound::displayEscapes() const { return device_.journal.all<sim::EscapeCall>(); }

void KeysAndSound::setPower(const PowerStatus& status) {
    SYSTEM_POWER_STATUS_EX record{};
    record.ACLineStatus = status.acLine;
    record.BatteryFlag = status.flag;
    record.BatteryLifePercent = status.percent;
    record.BatteryLifeTime = BATTERY_LIFE_UNKNOWN;
    record.BatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
    record.BackupBatteryFlag = BATTERY_FLAG_HIGH;
    record.BackupBatteryLifePercent = 100;
    record.BackupBatteryLifeTime = BATTERY_LIFE_UNKNOWN;
    record.BackupBatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
    device_.powerStatus = record;
}

void KeysAndSound::setPowerRecord(const SYSTEM_POWER_STATUS_EX& record) { device_.powerStatus = record; }
const SYSTEM_POWER_STATUS_EX& KeysAndSound::powerRecord() const { return device_.powerStatus; }

}  // namespace pocket
