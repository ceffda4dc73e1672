// Resources of the program images: strings and icons; and the GDI stock objects.
#include "api_call.h"
#include "resources.h"

using namespace sim;

namespace {

// The running module that an instance handle names; NULL names the caller's own.
const Process* moduleOf(Device& device, Process& caller, HINSTANCE instance) {
    if (!instance || instance == caller.instance) return &caller;
    for (const auto& process : device.processes())
        if (process->running() && process->instance == instance) return process.get();
    return nullptr;
}

constexpr std::uintptr_t kStockObjectBase = 0x00F00000;
constexpr int kStockObjectCount = 20;

}  // namespace

int WINAPI LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
    ApiCall call("LoadStringW", instance, id, bufferMax);
    const Process* module = moduleOf(call.device, call.process, instance);
    if (!buffer) return call.fail(ERROR_INVALID_PARAMETER, 0);
    if (!module) return call.fail(ERROR_RESOURCE_DATA_NOT_FOUND, 0);
    // A string that is not there leaves the buffer as it was.
    const auto text = module->resources().stringRef(id);
    if (!text) return call.fail(ERROR_RESOURCE_NAME_NOT_FOUND, 0);
    if (bufferMax == 0) {
        // A zero-sized buffer receives a pointer to the resource itself, which is not terminated.
        *reinterpret_cast<LPCWSTR*>(buffer) = text->data();
        return call.ret(static_cast<int>(text->size()));
    }
    if (bufferMax < 0) return call.fail(ERROR_INVALID_PARAMETER, 0);
    // Cut to bufferMax - 1 characters and terminated; a buffer of one character, with room for
    // the terminator only, is not written at all.
    const int length = std::min<int>(static_cast<int>(text->size()), bufferMax - 1);
    if (length == 0) {
        if (bufferMax > 1) buffer[0] = 0;
        return call.ret(0);
    }
    std::copy_n(text->data(), length, buffer);
    buffer[length] = 0;
    return call.ret(length);
}

HANDLE WINAPI LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    ApiCall call("LoadImageW", instance, name, type, cx, cy, flags);
    Device& device = call.device;
    const Process* module = moduleOf(device, call.process, instance);
    if (type != IMAGE_ICON) return call.fail(ERROR_INVALID_PARAMETER, HANDLE{nullptr});
    if (!module || !IS_INTRESOURCE(name)) return call.fail(ERROR_RESOURCE_NAME_NOT_FOUND, HANDLE{nullptr});
    const unsigned id = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name));
    const GroupIcon* group = module->resources().groupIcon(id);
    if (!group || group->images.empty()) return call.fail(ERROR_RESOURCE_NAME_NOT_FOUND, HANDLE{nullptr});
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, HANDLE{nullptr});
    const int width = cx ? cx : 32;
    const int height = cy ? cy : 32;
    const IconImage* image = group->best(width, height);
    const std::uintptr_t handle = device.handles.allocate(HandleKind::Icon, &call.process);
    device.icons[handle] = LoadedIcon{&call.process, id, image ? image->width : width, image ? image->height : height};
    return call.ret(reinterpret_cast<HANDLE>(handle));
}

// A handle that is no icon (NULL, or one destroyed already) fails the call without a last error,
// as on Windows (Wine's tests of DestroyCursor hold it to that).
BOOL WINAPI DestroyIcon(HICON icon) {
    ApiCall call("DestroyIcon", icon);
    if (!icon) return call.ret(FALSE);
    const auto value = reinterpret_cast<std::uintptr_t>(icon);
    if (!call.device.handles.release(value, HandleKind::Icon, &call.process)) return call.ret(FALSE);
    call.device.icons.erase(value);
    return call.ret(TRUE);
}

HGDIOBJ WINAPI GetStockObject(int object) {
    ApiCall call("GetStockObject", object);
    if (object < 0 || object >= kStockObjectCount) return call.fail(ERROR_INVALID_PARAMETER, HGDIOBJ{nullptr});
    return call.ret(reinterpret_cast<HGDIOBJ>(kStockObjectBase + 4 * static_cast<std::uintptr_t>(object)));
}
