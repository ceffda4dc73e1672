#include "shell.h"

#include <algorithm>
#include <iterator>

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

void OpenMenu::press(UINT vk) {
    const int count = static_cast<int>(items.size());
    if (vk == VK_DOWN || vk == VK_UP) {
        const int step = vk == VK_DOWN ? 1 : count - 1;
        int at = highlighted < 0 ? (vk == VK_DOWN ? count - 1 : 0) : highlighted;
        for (int tried = 0; tried < count; ++tried) {
            at = (at + step) % count;
            if (!items[static_cast<std::size_t>(at)].separator) {
                highlighted = at;
                return;
            }
        }
    } else if (vk == VK_RETURN && highlighted >= 0) {
        chosen = items[static_cast<std::size_t>(highlighted)].id;
        closed = true;
    } else if (vk == VK_ESCAPE) {
        closed = true;
    }
}

void OpenMessageBox::press(UINT vk) {
    const UINT buttons = type & MB_TYPEMASK;
    // The buttons of each kind of box, in order; MB_DEFBUTTONn picks the default among them.
    static const int kButtons[][3] = {{IDOK}, {IDOK, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
                                      {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO}, {IDRETRY, IDCANCEL}};
    if (buttons >= std::size(kButtons)) return;
    const int* row = kButtons[buttons];
    if (vk == VK_RETURN) {
        const UINT index = (type & MB_DEFMASK) >> 8;
        result = index < 3 && row[index] ? row[index] : row[0];
        closed = true;
    } else if (vk == VK_ESCAPE) {
        const bool cancel = buttons == MB_OK || std::find(row, row + 3, IDCANCEL) != row + 3;
        if (!cancel) return;
        result = buttons == MB_OK ? IDOK : IDCANCEL;
        closed = true;
    }
}

}  // namespace sim
