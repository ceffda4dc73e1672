// The user at the shell: the tray icon, the popup menu, the message box and the notification.
#include "names.h"
#include "run.h"

namespace explore {

void Run::doTrayPen() {
    const std::vector<pocket::TrayIconView> icons = device_.trayIcons();
    if (icons.empty()) {
        note("tray: no icon to touch");
        return;
    }
    const pocket::TrayIconView& icon = rng_.pick(icons);
    const int action = static_cast<int>(rng_.below(4));
    note(std::string("tray: ") + (action <= 1 ? "tap" : action == 2 ? "pen down on" : "pen up on") + " icon of pid " +
         std::to_string(icon.pid));
    chooseFault(EventKind::TrayPen, "rcbridge");
    if (action <= 1) device_.tapTrayIcon(icon.hwnd, icon.id);
    else if (action == 2) device_.penDownOnTrayIcon(icon.hwnd, icon.id);
    else device_.penUpOnTrayIcon(icon.hwnd, icon.id);
}

void Run::doMenu() {
    const auto menu = device_.openMenu();
    if (!menu) {
        note("menu: none open");
        return;
    }
    const std::size_t choice = rng_.weighted({35, 25, 30, 10});
    static const char* const names[] = {"About", "Exit", "dismiss", "an item it does not have"};
    note(std::string("menu of pid ") + std::to_string(menu->pid) + ": " + names[choice]);
    chooseFault(EventKind::Menu, "rcbridge");
    if (choice == 0) {
        device_.chooseMenuItem(40006);
    } else if (choice == 1) {
        for (BridgeRun& b : bridges_)
            if (b.pid == menu->pid) b.closeRequested = true;
        device_.chooseMenuItem(40005);
    } else if (choice == 2) {
        device_.dismissMenu();
    } else if (device_.chooseMenuItem(rng_.pick<UINT>({0, 40007, 1}))) {
        problem("the menu let the user choose an item it does not have");
    }
}

void Run::doMessageBox() {
    if (!device_.messageBox()) {
        note("message box: none open");
        return;
    }
    note("message box: OK");
    chooseFault(EventKind::MessageBox, "rcbridge");
    device_.dismissMessageBox(IDOK);
}

void Run::doNotification() {
    const std::vector<pocket::NotificationView> active = device_.notifications();
    if (active.empty()) {
        note("notification: none shown");
        return;
    }
    const DWORD id = active[static_cast<std::size_t>(rng_.below(active.size()))].id;
    const unsigned command = rng_.chance(85) ? 1u : rng_.pick<unsigned>({0, 2, 65535});
    note("notification " + std::to_string(id) + ": tap cmd:" + std::to_string(command));
    chooseFault(EventKind::Notification, "voltmarap");
    bool resets = false;
    if (command == 1 && monitor_.running())
        for (const ExpectedNotification& n : monitor_.notifications())
            resets |= n.id == id && n.owner == monitor_.instance();
    if (resets) monitor_.reset(device_.now(), power_, monitorFaults());
    const bool tapped = device_.tapNotificationButton(kMonitorClsidText, id, command);
    if (command != 1 && tapped) problem("the notification has a button cmd:" + std::to_string(command));
}

}  // namespace explore
