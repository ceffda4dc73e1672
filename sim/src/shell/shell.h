// The shell's user-facing parts that programs drive: notification-area icons, popup menus and
// message boxes. The user's side (taps, choices, dismissals) comes from the driver.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "resources.h"
#include "records.h"

namespace sim {

class SimThread;

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
