// The shell's user-facing parts that programs drive: notification-area icons, popup menus and
// message boxes. The user's side (taps, choices, dismissals) comes from the driver.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "resources.h"

namespace sim {

class SimThread;

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

class Shell {
public:
    // Notification area.
    BOOL addTrayIcon(const TrayIcon& icon);
    BOOL modifyTrayIcon(const TrayIcon& icon, UINT flags);
    BOOL deleteTrayIcon(HWND hwnd, UINT id);
    const std::vector<TrayIcon>& trayIcons() const { return tray_; }
    const TrayIcon* findTrayIcon(HWND hwnd, UINT id) const;

    // The menu and the boxes on the screen now.
    std::optional<OpenMenu> menu;
    std::vector<OpenMessageBox*> boxes;

private:
    std::vector<TrayIcon> tray_;
};

}  // namespace sim
