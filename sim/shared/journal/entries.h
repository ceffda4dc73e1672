// What a journal entry can record, one type per kind of happening.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "records.h"

namespace sim {

// An argument or a result of a platform call, as the call saw it.
struct Value {
    enum class Kind : std::uint8_t { None, Signed, Unsigned, Pointer, Text, Resource };
    Kind kind = Kind::None;
    std::uint64_t bits = 0;  // Signed: two's complement; Resource: the MAKEINTRESOURCE number
    std::string text;        // Text: UTF-8

    std::int64_t number() const { return static_cast<std::int64_t>(bits); }
    bool operator==(const Value&) const = default;
};

// A platform call a program made, recorded as it starts; its result comes when it returns.
struct CallEntry {
    const char* function = nullptr;
    std::vector<Value> args;
    Value result;
    bool returned = false;
    bool faulted = false;  // the driver made it fail
};

enum class Delivery : std::uint8_t {
    Sent,    // SendMessageW, or sent by the system (WM_CREATE, WM_DESTROY)
    Posted,  // dispatched from the queue
    Called,  // CallWindowProcW: one procedure passing a message on to another
};

// A window procedure ran.
struct DeliveryEntry {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    Delivery how = Delivery::Sent;
    std::uint8_t depth = 0;  // procedures the thread was already inside
    const void* proc = nullptr;
    bool returned = false;
};

// keybd_event.
struct KeyboardEvent {
    std::uint64_t time = 0;
    std::uint32_t pid = 0;
    BYTE vk = 0;
    BYTE scan = 0;
    DWORD flags = 0;
    DWORD extra = 0;
};

// A hot key registered, and one given back (unregistered, or gone with its window or thread).
struct HotKeyTaken {
    HotKey key;
};
struct HotKeyReleased {
    HotKey key;
};

// A key the user pressed, and the holder of its hot key, if any.
struct HotKeyPress {
    std::uint64_t time = 0;
    UINT vk = 0;
    UINT modifiers = 0;
    std::optional<HotKey> receiver;  // empty: the key reached no one
};

// The stylus on the screen: WM_LBUTTONDOWN, WM_MOUSEMOVE or WM_LBUTTONUP at a window's point, or
// touching and leaving an icon of the notification area (the shell tells the icon's owner).
struct StylusEvent {
    UINT message = 0;
    HWND target = nullptr;  // the window, or the owner of the icon
    int x = 0;
    int y = 0;
    bool onTrayIcon = false;
    UINT iconId = 0;
};

struct SoundStarted {
    std::u16string path;  // as the program gave it
    std::uint32_t pid = 0;
    std::uint64_t start = 0;
    std::uint64_t plannedEnd = 0;
    bool async = false;
};

// A sound ended before its planned end: a later sound or a stop cut it.
struct SoundCut {
    std::uint64_t started = 0;  // the sequence of its SoundStarted
};

struct VolumeWrite {
    std::uint64_t time = 0;
    std::uint32_t pid = 0;
    DWORD volume = 0;
};

struct EscapeCall {
    std::uint64_t time = 0;
    std::uint32_t pid = 0;
    int escape = 0;
    int cbInput = 0;
    int cbOutput = 0;
    int result = 0;
};

// The display driver's panel went on or off at a program's escape.
struct DisplayPowerChanged {
    ULONG from = 0;
    ULONG to = 0;
};

// The power switch: VK_OFF pressed and released switches the device off.
struct PowerSwitched {
    bool on = false;
};

// Shell_NotifyIcon and its answer.
struct TrayChange {
    DWORD operation = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
    TrayIcon icon;
    BOOL result = FALSE;
};

struct MenuOpened {
    OpenMenu menu;
};
struct MenuClosed {
    OpenMenu menu;  // with the item chosen, 0 when dismissed
};
struct MessageBoxOpened {
    OpenMessageBox box;
};
struct MessageBoxClosed {
    OpenMessageBox box;  // with the button that closed it
};

struct ProcessStarted {
    std::uint32_t pid = 0;
    std::string name;
};

struct ProcessEnded {
    std::uint32_t pid = 0;
    std::string name;
    int exitCode = 0;
};

// The shell sent the application in front to the background.
struct SentToBackground {
    HWND window = nullptr;
};

struct FaultFired {
    const char* function = nullptr;
    std::string program;
};

// Something the simulation refused to carry on silently.
struct SimulationError {
    std::string message;
};

using EntryData = std::variant<CallEntry, DeliveryEntry, KeyboardEvent, HotKeyPress, HotKeyTaken, HotKeyReleased,
                               StylusEvent, SoundStarted,
                               SoundCut, VolumeWrite, EscapeCall, DisplayPowerChanged, PowerSwitched,
                               NotificationEvent, TrayChange, MenuOpened, MenuClosed, MessageBoxOpened,
                               MessageBoxClosed, ProcessLaunch, ProcessStarted, ProcessEnded, SentToBackground,
                               FaultFired, SimulationError>;

}  // namespace sim
