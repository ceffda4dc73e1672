// The driver's side of the shell: the user's pen on tray icons, menus and message boxes.
#include "pocket_device.h"
#include "utf.h"

#include <utility>

namespace pocket {

MenuView describeMenu(const sim::OpenMenu& menu) {
    MenuView view;
    for (const sim::MenuItem& item : menu.items)
        view.items.push_back(MenuItemView{sim::toUtf8(item.text), item.id, item.separator, !item.popup.empty()});
    view.x = menu.x;
    view.y = menu.y;
    view.flags = menu.flags;
    view.pid = menu.pid;
    view.chosen = menu.chosen;
    return view;
}

MessageBoxView describeBox(const sim::OpenMessageBox& box) {
    return MessageBoxView{sim::toUtf8(box.text), sim::toUtf8(box.caption), box.type, box.pid, box.result};
}

// Items a user can pick: not separators, not popups, not greyed or disabled.
bool choosable(const sim::MenuItem& item) {
    return !item.separator && item.popup.empty() && !(item.flags & (MF_GRAYED | MF_DISABLED));
}


std::vector<TrayIconView> PocketDevice::trayIcons() const {
    std::vector<TrayIconView> out;
    for (const sim::TrayIcon& icon : device_.shell.trayIcons()) {
        const sim::Process* owner = device_.findProcess(icon.pid);
        out.push_back(TrayIconView{icon.hwnd, icon.pid, owner ? owner->name : std::string(), icon.id, icon.flags,
                                   icon.callbackMessage, icon.iconResourceId, sim::toUtf8(icon.tip)});
    }
    return out;
}

std::optional<TrayIconView> PocketDevice::trayIconOf(const std::string& program) const {
    for (const TrayIconView& icon : trayIcons())
        if (icon.process == program) return icon;
    return std::nullopt;
}

bool PocketDevice::penDownOnTrayIcon(HWND hwnd, UINT id, int touches) {
    const sim::TrayIcon* icon = device_.shell.findTrayIcon(hwnd, id);
    if (!icon) return false;
    if (device_.shell.menu) {
        // The touch belongs to the menu's tracking, and so does the lift that follows it.
        liftBelongsToMenu_ = true;
        dismissMenu();
        return true;
    }
    for (int i = 0; i < touches && icon->callbackMessage; ++i)
        device_.postSystemMessage(hwnd, icon->callbackMessage, id, WM_LBUTTONDOWN);
    device_.runUntilIdle();
    return true;
}

bool PocketDevice::penUpOnTrayIcon(HWND hwnd, UINT id) {
    const sim::TrayIcon* icon = device_.shell.findTrayIcon(hwnd, id);
    if (!icon) return false;
    // An open menu tracks the pen itself: the lift never reaches the icon's owner.
    const bool menuTracked = device_.shell.menu || std::exchange(liftBelongsToMenu_, false);
    if (!menuTracked && icon->callbackMessage)
        device_.postSystemMessage(hwnd, icon->callbackMessage, id, WM_LBUTTONUP);
    device_.runUntilIdle();
    return true;
}

std::optional<MenuView> PocketDevice::openMenu() const {
    if (!device_.shell.menu || device_.shell.menu->closed) return std::nullopt;
    return describeMenu(*device_.shell.menu);
}

bool PocketDevice::chooseMenuItem(UINT id) {
    auto& menu = device_.shell.menu;
    if (!menu || menu->closed) return false;
    bool found = false;
    for (const sim::MenuItem& item : menu->items) found |= choosable(item) && item.id == id;
    if (!found) return false;
    menu->chosen = id;
    menu->closed = true;
    device_.runUntilIdle();
    return true;
}

bool PocketDevice::dismissMenu() {
    auto& menu = device_.shell.menu;
    if (!menu || menu->closed) return false;
    menu->closed = true;
    device_.runUntilIdle();
    return true;
}

std::vector<MenuView> PocketDevice::menuHistory() const {
    std::vector<MenuView> out;
    for (const sim::MenuClosed& closed : journal().all<sim::MenuClosed>()) out.push_back(describeMenu(closed.menu));
    return out;
}

std::optional<MessageBoxView> PocketDevice::messageBox() const {
    for (auto it = device_.shell.boxes.rbegin(); it != device_.shell.boxes.rend(); ++it)
        if (!(*it)->closed) return describeBox(**it);
    return std::nullopt;
}

bool PocketDevice::dismissMessageBox(int button) {
    for (auto it = device_.shell.boxes.rbegin(); it != device_.shell.boxes.rend(); ++it) {
        if ((*it)->closed) continue;
        (*it)->closed = true;
        (*it)->result = button;
        device_.runUntilIdle();
        return true;
    }
    return false;
}

std::vector<MessageBoxView> PocketDevice::messageBoxHistory() const {
    std::vector<MessageBoxView> out;
    for (const sim::MessageBoxClosed& closed : journal().all<sim::MessageBoxClosed>()) out.push_back(describeBox(closed.box));
    return out;
}

}  // namespace pocket
