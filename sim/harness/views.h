// What the harness shows of a device: plain values, copied out, that stay valid whatever the
// device does next.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device_config.h"
#include "entries.h"

namespace pocket {

struct ProcessView {
    std::uint32_t pid = 0;
    std::string name;
    bool running = false;
    std::optional<int> exitCode;
    sim::HandleCounts handles;  // live now (at exit for an ended process)
};

struct WindowView {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
    std::string process;
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
};

struct TimerView {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
    std::string process;
    UINT_PTR id = 0;
    UINT period = 0;
    std::uint64_t due = 0;
};

struct NotificationView {
    std::string clsid;
    DWORD id = 0;
    unsigned iconId = 0;  // resource id of the icon shown, 0 for none
    bool iconHandleAlive = false;
    std::string html;
    std::string title;
    DWORD flags = 0;
    int priority = 0;
    DWORD duration = 0;
    HWND sink = nullptr;
    std::uint32_t pid = 0;
    std::vector<unsigned> buttons;  // commands of the HTML's buttons
};

struct HotKeyView {
    HWND owner = nullptr;  // NULL for a thread's hot key
    std::uint32_t pid = 0;
    int id = 0;
    UINT vk = 0;
    UINT modifiers = 0;
};

// One press of a key: `gapMs` of virtual time pass before it.
struct KeyPress {
    UINT vk = 0;
    std::uint64_t gapMs = 0;
    UINT modifiers = 0;
};

struct SoundView {
    std::string path;
    std::uint32_t pid = 0;
    std::uint64_t start = 0;
    std::uint64_t plannedEnd = 0;
    std::uint64_t actualEnd = 0;
    bool async = false;
    bool cut = false;  // ended before its planned end by a later sound or a stop
};

struct DisplayDriverSettings {
    bool supportsPowerManagement = true;
    ULONG powerState = VideoPowerOn;
    ULONG reportedLength = sizeof(VIDEO_POWER_MANAGEMENT);  // Length written into GETPOWERMANAGEMENT answers
};

struct PowerStatus {
    BYTE acLine = AC_LINE_OFFLINE;
    BYTE percent = 100;
    BYTE flag = BATTERY_FLAG_HIGH;
};

struct StandInView {
    HWND hwnd = nullptr;  // NULL when the window could not be made
    std::uint32_t pid = 0;
};

// A stand-in made so far, closed or not, as it was asked for.
struct StandInRecord {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
    std::string program;
    std::string className;
    std::string title;
    bool open = false;  // its window still exists
};

struct StoppedThread {
    std::uint32_t thread = 0;
    std::string process;
    std::string call;  // the platform call it was stopped in, after its effect
};

// A platform call as the journal recorded it.
struct CallView {
    std::uint64_t time = 0;
    std::uint32_t thread = 0;
    std::string process;  // whose code made the call
    std::string function;
    std::vector<sim::Value> args;
    sim::Value result;
    bool faulted = false;  // the driver made it fail
};

struct TrayIconView {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
    std::string process;
    UINT id = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    unsigned iconId = 0;  // resource id of the icon shown, 0 for none
    std::string tip;
};

struct MenuItemView {
    std::string text;
    UINT id = 0;
    bool separator = false;
    bool popup = false;
    UINT flags = 0;  // as the program stored them (MF_GRAYED ...)
};

struct MenuView {
    std::vector<MenuItemView> items;
    int x = 0;
    int y = 0;
    UINT flags = 0;
    std::uint32_t pid = 0;
    UINT chosen = 0;  // in the history: the item chosen, 0 when dismissed
};

struct MessageBoxView {
    std::string text;
    std::string caption;
    UINT type = 0;
    std::uint32_t pid = 0;
    int result = 0;  // in the history: the button that closed it
};

// A file or folder on the device.
struct FileView {
    std::u16string path;  // normalised: "\Program Files\X\y.exe"
    bool folder = false;
    std::vector<std::uint8_t> bytes;
};

// A registry key with what the driver set on it.
struct RegistryKeyView {
    struct Value {
        std::u16string name;  // as first written
        sim::RegistryValue value;
    };
    struct ValueFault {
        std::u16string name;  // as written, or upper-cased when the value does not exist
        DWORD error = 0;
    };
    DWORD openError = ERROR_SUCCESS;  // what opening it fails with
    std::vector<Value> values;
    std::vector<ValueFault> valueFaults;
    std::vector<std::u16string> subkeys;
};

// A desktop PC (for the setup launcher) with an ANSI code page of 1252 or 932.
inline sim::DeviceConfig desktopConfig(UINT ansiCodePage = 1252) {
    sim::DeviceConfig config;
    config.machine = sim::Machine::Desktop;
    config.ansiCodePage = ansiCodePage;
    return config;
}

MenuView describeMenu(const sim::OpenMenu& menu);
MessageBoxView describeBox(const sim::OpenMessageBox& box);

}  // namespace pocket
