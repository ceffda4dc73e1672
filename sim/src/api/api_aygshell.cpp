// AYGSHELL's notifications: the shell keeps copies of what the program gave it.
#include <aygshell.h>

#include "api_call.h"

using namespace sim;

namespace {

unsigned iconResource(const Device& device, HICON icon) {
    auto it = device.icons.find(reinterpret_cast<std::uintptr_t>(icon));
    return it == device.icons.end() ? 0 : it->second.resourceId;
}

Notification fromRecord(const Device& device, const SHNOTIFICATIONDATA& data, std::uint32_t pid) {
    Notification n;
    n.clsid = data.clsid;
    n.id = data.dwID;
    n.priority = data.npPriority;
    n.duration = data.csDuration;
    n.icon = data.hicon;
    n.iconResourceId = iconResource(device, data.hicon);
    n.flags = data.grfFlags;
    n.sink = data.hwndSink;
    if (data.pszHTML) n.html = data.pszHTML;
    if (data.pszTitle) n.title = data.pszTitle;
    n.lParam = data.lParam;
    n.ownerPid = pid;
    return n;
}

bool validRecord(const SHNOTIFICATIONDATA* data) { return data && data->cbStruct >= sizeof(SHNOTIFICATIONDATA); }

LRESULT shellAnswer(ApiCall& call, NotificationEvent event) {
    const LRESULT result = event.result;
    call.device.note(std::move(event));
    return result;
}

}  // namespace

LRESULT SHNotificationAdd(SHNOTIFICATIONDATA* data) {
    ApiCall call("SHNotificationAdd", data ? data->dwID : 0, data ? data->hicon : nullptr);
    if (!validRecord(data)) return call.ret(LRESULT{E_INVALIDARG});
    if (call.injectFault()) return call.ret(LRESULT{E_OUTOFMEMORY});
    return call.ret(shellAnswer(call, call.device.notifications.add(fromRecord(call.device, *data, call.process.pid),
                                                                    call.device.clock.now())));
}

LRESULT SHNotificationUpdate(DWORD mask, SHNOTIFICATIONDATA* data) {
    ApiCall call("SHNotificationUpdate", mask, data ? data->dwID : 0, data ? data->hicon : nullptr);
    if (!validRecord(data)) return call.ret(LRESULT{E_INVALIDARG});
    if (call.injectFault()) return call.ret(LRESULT{E_OUTOFMEMORY});
    return call.ret(shellAnswer(call, call.device.notifications.update(mask, fromRecord(call.device, *data, call.process.pid),
                                                                       call.device.clock.now(), call.process.pid)));
}

LRESULT SHNotificationRemove(const CLSID* clsid, DWORD id) {
    ApiCall call("SHNotificationRemove", id);
    if (!clsid) return call.ret(LRESULT{E_INVALIDARG});
    if (call.injectFault()) return call.ret(LRESULT{E_FAIL});
    return call.ret(shellAnswer(call, call.device.notifications.remove(*clsid, id, call.device.clock.now(), call.process.pid)));
}
