// The user at the shell: the tray icon, the popup menu, the message box and the notification.
#include <algorithm>

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
    std::size_t alike = 0;
    for (const pocket::TrayIconView& other : icons) alike += other.process == icon.process && other.id == icon.id;
    const std::string which = (alike == 1 ? icon.process : "pid=" + std::to_string(icon.pid)) + " " + std::to_string(icon.id);
    record((action <= 1 ? "tap tray " : action == 2 ? "pen down tray " : "pen up tray ") + which);
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
        record("choose menu 40006");
        device_.chooseMenuItem(40006);
    } else if (choice == 1) {
        for (BridgeRun& b : bridges_)
            if (b.pid == menu->pid) b.closeRequested = true;
        record("choose menu 40005");
        device_.chooseMenuItem(40005);
    } else if (choice == 2) {
        record("dismiss menu");
        device_.dismissMenu();
    } else {
        const UINT item = rng_.pick<UINT>({0, 40007, 1});
        record("# choose menu " + std::to_string(item) + ": an item it does not have, refused");
        if (device_.chooseMenuItem(item)) problem("the menu let the user choose an item it does not have");
    }
}

void Run::doMessageBox() {
    if (!device_.messageBox()) {
        note("message box: none open");
        return;
    }
    note("message box: OK");
    chooseFault(EventKind::MessageBox, "rcbridge");
    record("dismiss messagebox OK");
    device_.dismissMessageBox(IDOK);
}

void Run::doNotification() {
    const std::vector<pocket::NotificationView> active = device_.notifications();
    if (active.empty()) {
        note("notification: none shown");
        return;
    }
    const pocket::NotificationView& tappedOn = active[static_cast<std::size_t>(rng_.below(active.size()))];
    const DWORD id = tappedOn.id;
    const unsigned command = rng_.chance(85) ? 1u : rng_.pick<unsigned>({0, 2, 65535});
    note("notification " + std::to_string(id) + ": tap cmd:" + std::to_string(command));
    chooseFault(EventKind::Notification, "voltmarap");
    bool resets = false;
    if (command == 1 && monitor_.running())
        for (const ExpectedNotification& n : monitor_.notifications())
            resets |= n.id == id && n.owner == monitor_.instance();
    if (resets) monitor_.reset(device_.now(), power_, monitorFaults());
    const bool hasButton =
        std::find(tappedOn.buttons.begin(), tappedOn.buttons.end(), command) != tappedOn.buttons.end();
    record(std::string(hasButton ? "" : "# (no such button) ") + "tap notification voltmarap " + std::to_string(id) +
           " " + std::to_string(command));
    const bool tapped = device_.tapNotificationButton(kMonitorClsidText, id, command);
    if (command != 1 && tapped) problem("the notification has a button cmd:" + std::to_string(command));
}

}  // namespace explore
