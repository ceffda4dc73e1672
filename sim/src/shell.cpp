#include "shell.h"

#include <algorithm>

namespace sim {

BOOL Shell::addTrayIcon(const TrayIcon& icon) {
    if (findTrayIcon(icon.hwnd, icon.id)) return FALSE;
    tray_.push_back(icon);
    return TRUE;
}

BOOL Shell::modifyTrayIcon(const TrayIcon& icon, UINT flags) {
    auto it = std::find_if(tray_.begin(), tray_.end(),
                           [&](const TrayIcon& t) { return t.hwnd == icon.hwnd && t.id == icon.id; });
    if (it == tray_.end()) return FALSE;
    if (flags & 0x1) it->callbackMessage = icon.callbackMessage;
    if (flags & 0x2) {
        it->icon = icon.icon;
        it->iconResourceId = icon.iconResourceId;
    }
    if (flags & 0x4) it->tip = icon.tip;
    it->flags |= flags;
    return TRUE;
}

BOOL Shell::deleteTrayIcon(HWND hwnd, UINT id) {
    const auto before = tray_.size();
    std::erase_if(tray_, [&](const TrayIcon& t) { return t.hwnd == hwnd && t.id == id; });
    return tray_.size() < before ? TRUE : FALSE;
}

const TrayIcon* Shell::findTrayIcon(HWND hwnd, UINT id) const {
    for (const TrayIcon& t : tray_)
        if (t.hwnd == hwnd && t.id == id) return &t;
    return nullptr;
}

void Shell::remember(const OpenMenu& m) {
    if (menuHistory.size() >= historyLimit) menuHistory.erase(menuHistory.begin(), menuHistory.begin() + historyLimit / 2);
    menuHistory.push_back(m);
}

void Shell::remember(const OpenMessageBox& b) {
    if (boxHistory.size() >= historyLimit) boxHistory.erase(boxHistory.begin(), boxHistory.begin() + historyLimit / 2);
    boxHistory.push_back(b);
}

}  // namespace sim
