// The shell's notification area, popup menus and message boxes, as programs call them.
#include <shellapi.h>

#include "api_call.h"
#include "menus.h"
#include "message_delivery.h"
#include "shell.h"

using namespace sim;

#define ERROR_POPUP_ALREADY_ACTIVE 1446L

namespace {

unsigned iconResource(const Device& device, HICON icon) {
    auto it = device.icons.find(reinterpret_cast<std::uintptr_t>(icon));
    return it == device.icons.end() ? 0 : it->second.resourceId;
}

}  // namespace

BOOL WINAPI Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data) {
    ApiCall call("Shell_NotifyIcon", message, data ? data->uID : 0, data ? data->uFlags : 0);
    Device& device = call.device;
    if (!data || data->cbSize < sizeof(NOTIFYICONDATA)) return call.fail(ERROR_INVALID_PARAMETER, FALSE);
    auto answer = [&](TrayIcon icon, BOOL result) {
        device.note(TrayChange{message, std::move(icon), result});
        return call.ret(result);
    };
    if (message == NIM_DELETE) {
        TrayIcon gone;
        if (const TrayIcon* known = device.shell.findTrayIcon(data->hWnd, data->uID)) gone = *known;
        gone.hwnd = data->hWnd;
        gone.id = data->uID;
        return answer(gone, device.shell.deleteTrayIcon(data->hWnd, data->uID));
    }
    if (message != NIM_ADD && message != NIM_MODIFY) return call.fail(ERROR_INVALID_PARAMETER, FALSE);
    if (!device.windows.find(data->hWnd)) return call.fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, FALSE);
    TrayIcon icon;
    icon.hwnd = data->hWnd;
    icon.id = data->uID;
    icon.flags = data->uFlags;
    icon.pid = call.process.pid;
    if (data->uFlags & NIF_MESSAGE) icon.callbackMessage = data->uCallbackMessage;
    if (data->uFlags & NIF_ICON) {
        icon.icon = data->hIcon;
        icon.iconResourceId = iconResource(device, data->hIcon);
    }
    if (data->uFlags & NIF_TIP) {
        const WCHAR* end = data->szTip;
        while (end < data->szTip + 64 && *end) ++end;  // a tip that fills the field has no terminator
        icon.tip.assign(static_cast<const WCHAR*>(data->szTip), end);
    }
    if (message == NIM_ADD) return answer(icon, device.shell.addTrayIcon(icon));
    const BOOL modified = device.shell.modifyTrayIcon(icon, data->uFlags);
    const TrayIcon* now = device.shell.findTrayIcon(icon.hwnd, icon.id);
    return answer(now ? *now : icon, modified);
}

HMENU WINAPI LoadMenuW(HINSTANCE instance, LPCWSTR name) {
    ApiCall call("LoadMenuW", instance, name);
    if (!IS_INTRESOURCE(name)) return call.fail(ERROR_RESOURCE_NAME_NOT_FOUND, HMENU{nullptr});
    const unsigned id = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name));
    const Process* module = &call.process;
    if (instance && instance != call.process.instance) {
        module = nullptr;
        for (const auto& p : call.device.processes())
            if (p->running() && p->instance == instance) module = p.get();
    }
    if (!module) return call.fail(ERROR_RESOURCE_DATA_NOT_FOUND, HMENU{nullptr});
    auto items = module->resources().menu(id);
    if (!items) return call.fail(ERROR_RESOURCE_NAME_NOT_FOUND, HMENU{nullptr});
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, HMENU{nullptr});
    return call.ret(call.device.menus.create(*items, &call.process));
}

HMENU WINAPI GetSubMenu(HMENU menu, int position) {
    ApiCall call("GetSubMenu", menu, position);
    const MenuObject* object = call.device.menus.find(menu);
    if (!object) return call.fail(ERROR_INVALID_MENU_HANDLE, HMENU{nullptr});
    if (position < 0 || static_cast<std::size_t>(position) >= object->popups.size()) return call.ret(HMENU{nullptr});
    return call.ret(object->popups[static_cast<std::size_t>(position)]);
}

BOOL WINAPI DestroyMenu(HMENU menu) {
    ApiCall call("DestroyMenu", menu);
    // NULL is no handle at all, so releasing it is a failed call, not a release of another's handle.
    if (!menu) return call.fail(ERROR_INVALID_MENU_HANDLE, FALSE);
    if (!call.device.menus.destroy(menu, &call.process)) return call.fail(ERROR_INVALID_MENU_HANDLE, FALSE);
    return call.ret(TRUE);
}

BOOL WINAPI TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND hwnd, LPTPMPARAMS) {
    ApiCall call("TrackPopupMenuEx", menu, flags, x, y, hwnd);
    Device& device = call.device;
    const MenuObject* object = device.menus.find(menu);
    if (!object) return call.fail(ERROR_INVALID_MENU_HANDLE, FALSE);
    if (!device.windows.find(hwnd)) return call.fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (device.shell.menu) return call.fail(ERROR_POPUP_ALREADY_ACTIVE, FALSE);
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, FALSE);

    OpenMenu open;
    open.menu = menu;
    open.items = object->items;
    open.x = x;
    open.y = y;
    open.flags = flags;
    open.owner = hwnd;
    open.thread = &call.thread;
    open.pid = call.process.pid;
    open.openedAt = device.clock.now();
    device.shell.menu = open;
    device.note(MenuOpened{open});
    // The menu goes with the wait, however the wait ends (a choice, the owner's end, an unwound thread).
    struct Close {
        Device& device;
        ~Close() {
            if (device.shell.menu) {
                device.note(MenuClosed{*device.shell.menu});
                device.shell.menu.reset();
            }
        }
    } close{device};
    runModalLoop(device, call.thread, [&device, hwnd] {
        return !device.shell.menu || device.shell.menu->closed || !device.windows.find(hwnd);
    });
    const UINT chosen = device.shell.menu ? device.shell.menu->chosen : 0;
    if (chosen && !(flags & TPM_RETURNCMD)) device.postSystemMessage(hwnd, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    if (flags & TPM_RETURNCMD) return call.ret(static_cast<BOOL>(chosen));
    return call.ret(TRUE);
}

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    ApiCall call("MessageBoxW", owner, text, caption, type);
    Device& device = call.device;
    if (owner && !device.windows.find(owner)) return call.fail(ERROR_INVALID_WINDOW_HANDLE, 0);
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, 0);
    OpenMessageBox box;
    box.owner = owner;
    box.text = text ? text : u"";
    box.caption = caption ? caption : u"Error";
    box.type = type;
    box.thread = &call.thread;
    box.pid = call.process.pid;
    box.openedAt = device.clock.now();
    device.shell.boxes.push_back(&box);
    device.note(MessageBoxOpened{box});
    struct Close {
        Device& device;
        OpenMessageBox& box;
        ~Close() {
            std::erase(device.shell.boxes, &box);
            device.note(MessageBoxClosed{box});
        }
    } close{device, box};
    runModalLoop(device, call.thread, [&box] { return box.closed; });
    // Ended by WM_QUIT rather than a button: the box's dialog gives its initial result, IDOK.
    return call.ret(box.closed ? box.result : IDOK);
}
