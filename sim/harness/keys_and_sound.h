// The device's hardware: keys and the power switch, wave-out sound, the display driver, the battery.
#pragma once

#include <optional>
#include <vector>

#include "device_core.h"

namespace pocket {

class KeysAndSound : protected Facet {
public:
    // A press reaches the window (or thread) holding the key, as a posted WM_HOTKEY; the device
    // then runs until every thread waits. Returns the holder, or nothing when no one holds it.
    std::optional<HotKeyView> pressKey(UINT vk, UINT modifiers = 0);
    void pressKeys(const std::vector<KeyPress>& presses);
    std::vector<HotKeyView> hotKeys() const;
    std::vector<sim::HotKeyPress> keyPresses() const;
    // keybd_event calls, and the power switch that VK_OFF reaches.
    std::vector<sim::KeyboardEvent> keyboardEvents() const;
    bool isSwitchedOn() const;
    void switchOn();

    // Wave-out device 0: volume (low word left, high word right) and the sounds played.
    DWORD volume() const;
    void setVolume(DWORD volume);
    std::vector<sim::VolumeWrite> volumeWrites() const;
    std::vector<SoundView> sounds() const;

    // The display driver.
    ULONG displayPowerState() const;
    DisplayDriverSettings displayDriver() const;
    void setDisplayDriver(const DisplayDriverSettings& settings);
    std::vector<sim::EscapeCall> displayEscapes() const;

    // The power supply as the battery driver reports it.
    void setPower(const PowerStatus& status);
    void setPowerRecord(const SYSTEM_POWER_STATUS_EX& record);
    const SYSTEM_POWER_STATUS_EX& powerRecord() const;

protected:
    explicit KeysAndSound(sim::Device& device) : Facet(device) {}
};

}  // namespace pocket
