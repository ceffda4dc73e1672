// Module file names and file attributes (COREDLL's file system side).
#include <algorithm>

#include "api_call.h"
#include "file_system.h"

using namespace sim;

namespace {

constexpr DWORD kErrorModNotFound = 126;  // ERROR_MOD_NOT_FOUND

const Process* moduleOwner(ApiCall& call, HMODULE module) {
    if (!module) return &call.process;
    for (const auto& p : call.device.processes())
        if (p->running() && p->instance && reinterpret_cast<HMODULE>(p->instance) == module) return p.get();
    return nullptr;
}

}  // namespace

// A path that does not fit is cut to nSize characters WITHOUT a terminator and nSize is returned,
// as Windows CE and Windows XP do (later desktop versions terminate it and set
// ERROR_INSUFFICIENT_BUFFER). Callers must treat a return equal to nSize as a cut path.
DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    ApiCall call("GetModuleFileNameW", module, static_cast<const void*>(buffer), size);
    const Process* owner = moduleOwner(call, module);
    if (!owner || owner->modulePath.empty()) return call.fail(kErrorModNotFound, DWORD{0});
    if (!buffer && size) return call.fail(ERROR_INVALID_PARAMETER, DWORD{0});
    // Rare on a real device, but a caller that uses the path must cope with it.
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, DWORD{0});
    const std::u16string& path = owner->modulePath;
    if (path.size() >= size) {
        std::copy_n(path.begin(), size, buffer);
        return call.ret(size);
    }
    std::copy(path.begin(), path.end(), buffer);
    buffer[path.size()] = u'\0';
    return call.ret(static_cast<DWORD>(path.size()));
}

DWORD WINAPI GetFileAttributesW(LPCWSTR path) {
    ApiCall call("GetFileAttributesW", path);
    if (!path) return call.fail(ERROR_INVALID_PARAMETER, INVALID_FILE_ATTRIBUTES);
    const FileLookup found = call.device.files.lookup(path);
    if (!found.entry) return call.fail(found.error, INVALID_FILE_ATTRIBUTES);
    // A file that is there can still be unreadable (a storage card taken out, a locked volume).
    if (call.injectFault()) return call.fail(ERROR_ACCESS_DENIED, INVALID_FILE_ATTRIBUTES);
    return call.ret(found.entry->attributes);
}
