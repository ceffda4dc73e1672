// What the journal's entries carry and the harness shows: hot keys, notifications, tray icons,
// menus and message boxes as they stood, processes asked for, messages received.
#pragma once

#include <aygshell.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "resources.h"

namespace sim {

class SimThread;

struct HotKey {
    HWND owner = nullptr;           // NULL: a thread hot key, posted to `threadId`'s queue
    std::uint32_t threadId = 0;
    std::uint32_t pid = 0;
    int id = 0;
    UINT modifiers = 0;             // MOD_ALT ... MOD_WIN, and MOD_KEYUP
    UINT vk = 0;

    // MOD_KEYUP only asks for a second message at the release; it is not part of the key.
    UINT keyModifiers() const { return modifiers & ~static_cast<UINT>(MOD_KEYUP); }
};

struct Notification {
    CLSID clsid{};
    DWORD id = 0;
    SHNP priority = SHNP_INFORM;
    DWORD duration = 0;
    HICON icon = nullptr;
    unsigned iconResourceId = 0;  // the resource the shown icon was loaded from; 0 when none
    DWORD flags = 0;
    HWND sink = nullptr;
    std::u16string html;
    std::u16string title;
    LPARAM lParam = 0;
    std::uint32_t ownerPid = 0;
};

enum class NotificationCall { Add, Update, Remove };

struct NotificationEvent {
    NotificationCall call;
    CLSID clsid{};
    DWORD id = 0;
    DWORD mask = 0;  // SHNUM_* of an update
    LRESULT result = 0;
    std::uint64_t time = 0;
    std::uint32_t pid = 0;
    std::optional<Notification> after;  // the notification as the call left it
};

bool sameClsid(const CLSID& a, const CLSID& b);
std::string clsidText(const CLSID& clsid);
std::optional<CLSID> parseClsid(const std::string& text);

// The commands of the HTML's buttons: every <input type=button name='cmd:N'> gives N.
std::vector<unsigned> htmlButtonCommands(std::u16string_view html);

struct TrayIcon {
    HWND hwnd = nullptr;
    UINT id = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    HICON icon = nullptr;
    unsigned iconResourceId = 0;
    std::u16string tip;
    std::uint32_t pid = 0;
};

// A popup menu on the screen, waiting for the user inside TrackPopupMenuEx.
struct OpenMenu {
    HMENU menu = nullptr;
    std::vector<MenuItem> items;
    int x = 0;
    int y = 0;
    UINT flags = 0;
    HWND owner = nullptr;
    SimThread* thread = nullptr;
    std::uint32_t pid = 0;
    std::uint64_t openedAt = 0;
    bool closed = false;
    UINT chosen = 0;  // 0 when dismissed
    int highlighted = -1;  // the item the arrow keys are on, -1 for none

    // A key pressed while the menu is tracked: the arrows move between the items that can be
    // chosen, Enter chooses the highlighted one, Escape dismisses the menu.
    void press(UINT vk);
};

// A message box on the screen, waiting for the user inside MessageBoxW.
struct OpenMessageBox {
    HWND owner = nullptr;
    std::u16string text;
    std::u16string caption;
    UINT type = 0;
    SimThread* thread = nullptr;
    std::uint32_t pid = 0;
    std::uint64_t openedAt = 0;
    bool closed = false;
    int result = 0;

    // A key pressed while the box is up: Enter pushes the default button; Escape closes a box
    // that has a Cancel button (or only OK), as that button.
    void press(UINT vk);
};

// A process a program asked the system to create (CreateProcessA on the desktop). What it starts
// lies outside the simulation: the request is recorded, and the new process does not run.
struct ProcessLaunch {
    std::uint32_t parentPid = 0;
    // As the caller gave them, converted from its ANSI code page; empty optional for NULL.
    std::optional<std::u16string> applicationName;
    std::optional<std::u16string> commandLine;
    std::optional<std::u16string> currentDirectory;
    std::u16string workingFolder;  // where the new process starts: the current directory resolved
    BOOL inheritHandles = FALSE;
    DWORD creationFlags = 0;
    bool environmentGiven = false;
    DWORD error = ERROR_SUCCESS;  // why the creation failed; ERROR_SUCCESS when it was made
    std::uint32_t processId = 0;
    std::uint32_t threadId = 0;

    bool started() const { return error == ERROR_SUCCESS; }
};

// A registry value: its type and its bytes.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

// A message a window procedure received.
struct ReceivedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::uint64_t time = 0;
};

}  // namespace sim
