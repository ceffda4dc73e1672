#include "shell_facet.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "device.h"
#include "utf.h"

namespace pocket {

MenuView describeMenu(const sim::OpenMenu& menu) {
    MenuView view;
    for (const sim::MenuItem& item : menu.items)
        view.items.push_back(MenuItemView{sim::toUtf8(item.text), item.id, item.separator, !item.popup.empty(), item.flags});
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

namespace {

// Items a user can pick: not separators, not popups, not greyed or disabled.
bool choosable(const sim::MenuItem& item) {
    return !item.separator && item.popup.empty() && !(item.flags & (MF_GRAYED | MF_DISABLED));
}

NotificationView describeNotification(const sim::Device& device, const sim::Notification& n) {
    NotificationView v;
    v.clsid = sim::clsidText(n.clsid);
    v.id = n.id;
    v.iconId = n.iconResourceId;
    v.iconHandleAlive = n.icon && device.icons.count(reinterpret_cast<std::uintptr_t>(n.icon)) != 0;
    v.html = sim::toUtf8(n.html);
    v.title = sim::toUtf8(n.title);
    v.flags = n.flags;
    v.priority = static_cast<int>(n.priority);
    v.duration = n.duration;
    v.sink = n.sink;
    v.pid = n.ownerPid;
    v.buttons = sim::htmlButtonCommands(n.html);
    return v;
}

CLSID parsedClsid(const std::string& clsid) {
    auto parsed = sim::parseClsid(clsid);
    if (!parsed) throw std::invalid_argument("not a class id: " + clsid);
    return *parsed;
}

}  // namespace

std::vector<NotificationView> ShellFacet::notifications() const {
    std::vector<NotificationView> out;
    for (const sim::Notification& n : device_.notifications.active()) out.push_back(describeNotification(device_, n));
    return out;
}

std::optional<NotificationView> ShellFacet::notification(const std::string& clsid, DWORD id) const {
    if (const sim::Notification* n = device_.notifications.find(parsedClsid(clsid), id))
        return describeNotification(device_, *n);
    return std::nullopt;
}

std::vector<sim::NotificationEvent> ShellFacet::notificationHistory() const {
    return device_.journal.all<sim::NotificationEvent>();
}

bool ShellFacet::tapNotificationButton(const std::string& clsid, DWORD id, unsigned command) {
    const sim::Notification* n = device_.notifications.find(parsedClsid(clsid), id);
    if (!n) return false;
    bool found = false;
    for (unsigned c : sim::htmlButtonCommands(n->html)) found |= c == command;
    if (!found) return false;
    // The shell posts the button's command to the sink; the bubble closes.
    const bool posted = device_.postSystemMessage(n->sink, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    device_.runUntilIdle();
    return posted;
}

std::vector<TrayIconView> ShellFacet::trayIcons() const {
    std::vector<TrayIconView> out;
    for (const sim::TrayIcon& icon : device_.shell.trayIcons()) {
        const sim::Process* owner = device_.findProcess(icon.pid);
        out.push_back(TrayIconView{icon.hwnd, icon.pid, owner ? owner->name : std::string(), icon.id, icon.flags,
                                   icon.callbackMessage, icon.iconResourceId, sim::toUtf8(icon.tip)});
    }
    return out;
}

std::optional<TrayIconView> ShellFacet::trayIconOf(const std::string& program) const {
    for (const TrayIconView& icon : trayIcons())
        if (icon.process == program) return icon;
    return std::nullopt;
}

bool ShellFacet::penDownOnTrayIcon(HWND hwnd, UINT id, int touches) {
    const sim::TrayIcon* icon = device_.shell.findTrayIcon(hwnd, id);
    if (!icon) return false;
    device_.note(sim::StylusEvent{WM_LBUTTONDOWN, hwnd, 0, 0, true, id});
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

bool ShellFacet::penUpOnTrayIcon(HWND hwnd, UINT id) {
    const sim::TrayIcon* icon = device_.shell.findTrayIcon(hwnd, id);
    if (!icon) return false;
    device_.note(sim::StylusEvent{WM_LBUTTONUP, hwnd, 0, 0, true, id});
    // An open menu tracks the pen itself: the lift never reaches the icon's owner.
    const bool menuTracked = device_.shell.menu || std::exchange(liftBelongsToMenu_, false);
    if (!menuTracked && icon->callbackMessage)
        device_.postSystemMessage(hwnd, icon->callbackMessage, id, WM_LBUTTONUP);
    device_.runUntilIdle();
    return true;
}

std::optional<MenuView> ShellFacet::openMenu() const {
    if (!device_.shell.menu || device_.shell.menu->closed) return std::nullopt;
    return describeMenu(*device_.shell.menu);
}

bool ShellFacet::chooseMenuItem(UINT id) {
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

bool ShellFacet::dismissMenu() {
    auto& menu = device_.shell.menu;
    if (!menu || menu->closed) return false;
    menu->closed = true;
    device_.runUntilIdle();
    return true;
}

std::vector<MenuView> ShellFacet::menuHistory() const {
    std::vector<MenuView> out;
    for (const sim::MenuClosed& closed : device_.journal.all<sim::MenuClosed>()) out.push_back(describeMenu(closed.menu));
    return out;
}

std::optional<MessageBoxView> ShellFacet::messageBox() const {
    for (auto it = device_.shell.boxes.rbegin(); it != device_.shell.boxes.rend(); ++it)
        if (!(*it)->closed) return describeBox(**it);
    return std::nullopt;
}

bool ShellFacet::dismissMessageBox(int button) {
    for (auto it = device_.shell.boxes.rbegin(); it != device_.shell.boxes.rend(); ++it) {
        if ((*it)->closed) continue;
        (*it)->closed = true;
        (*it)->result = button;
        device_.runUntilIdle();
        return true;
    }
    return false;
}

std::size_t ShellFacet::messageBoxesOpen() const {
    return std::count_if(device_.shell.boxes.begin(), device_.shell.boxes.end(),
                         [](const sim::OpenMessageBox* box) { return !box->closed; });
}

std::vector<MessageBoxView> ShellFacet::messageBoxHistory() const {
    std::vector<MessageBoxView> out;
    for (const sim::MessageBoxClosed& closed : device_.journal.all<sim::MessageBoxClosed>()) out.push_back(describeBox(closed.box));
    return out;
}

}  // namespace pocket
