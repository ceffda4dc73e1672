// The shell as the user meets it: notifications, the notification area's icons, popup menus and
// message boxes, and the pen on them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device_core.h"

namespace pocket {

class ShellFacet : protected Facet {
public:
    // Notifications: what the shell shows, what it was asked, and the user's taps.
    std::vector<NotificationView> notifications() const;
    std::optional<NotificationView> notification(const std::string& clsid, DWORD id) const;
    std::vector<sim::NotificationEvent> notificationHistory() const;
    // Taps the button whose name is cmd:<command>; false when the HTML has no such button.
    bool tapNotificationButton(const std::string& clsid, DWORD id, unsigned command);

    // The notification area's icons, and the pen on them. The pen touching and leaving an icon are
    // separate events; each posts the icon's callback message. While a popup menu is open,
    // touching anywhere outside it only closes the menu. `touches` > 1: touches quicker than the
    // program, all posted before it handles the first.
    std::vector<TrayIconView> trayIcons() const;
    bool penDownOnTrayIcon(HWND hwnd, UINT id, int touches = 1);
    bool penUpOnTrayIcon(HWND hwnd, UINT id);
    bool tapTrayIcon(HWND hwnd, UINT id) { return penDownOnTrayIcon(hwnd, id) && penUpOnTrayIcon(hwnd, id); }
    // The first icon of a program, for scripts that know only the program.
    std::optional<TrayIconView> trayIconOf(const std::string& program) const;

    // The popup menu on the screen, and the user's answer to it.
    std::optional<MenuView> openMenu() const;
    bool chooseMenuItem(UINT id);
    bool dismissMenu();
    std::vector<MenuView> menuHistory() const;

    // Message boxes on the screen (most recent last), and closing one as the user would.
    std::optional<MessageBoxView> messageBox() const;
    std::size_t messageBoxesOpen() const;
    bool dismissMessageBox(int button = IDOK);
    std::vector<MessageBoxView> messageBoxHistory() const;

protected:
    explicit ShellFacet(sim::Device& device) : Facet(device) {}

private:
    bool liftBelongsToMenu_ = false;
};

}  // namespace pocket
