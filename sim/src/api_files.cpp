// Module file names and file attributes (COREDLL's file system side).
#include <algorithm>

#include "api_call.h"
#include "code_page.h"
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

// A path that does not fit is cut to `size` characters WITHOUT a terminator and `size` is
// returned, as Windows CE and Windows XP do (later desktop versions terminate it and set
// ERROR_INSUFFICIENT_BUFFER). Callers must treat a return equal to `size` as a cut path.
template <class Char>
DWORD copyModulePath(ApiCall& call, HMODULE module, Char* buffer, DWORD size,
                     std::basic_string<Char> (*convert)(ApiCall&, const std::u16string&)) {
    const Process* owner = moduleOwner(call, module);
    if (!owner || owner->modulePath.empty()) return call.fail(kErrorModNotFound, DWORD{0});
    if (!buffer && size) return call.fail(ERROR_INVALID_PARAMETER, DWORD{0});
    // Rare on a real device, but a caller that uses the path must cope with it.
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, DWORD{0});
    const std::basic_string<Char> path = convert(call, owner->modulePath);
    if (path.size() >= size) {
        std::copy_n(path.begin(), size, buffer);
        return call.ret(size);
    }
    std::copy(path.begin(), path.end(), buffer);
    buffer[path.size()] = Char{};
    return call.ret(static_cast<DWORD>(path.size()));
}

std::u16string asIs(ApiCall&, const std::u16string& path) { return path; }
std::string toAnsi(ApiCall& call, const std::u16string& path) {
    return wideToAnsi(call.device.config.ansiCodePage, path);
}

DWORD fileAttributes(ApiCall& call, std::u16string_view path) {
    const FileLookup found = call.device.files.lookup(path);
    if (!found.entry) return call.fail(found.error, INVALID_FILE_ATTRIBUTES);
    // A file that is there can still be unreadable (a storage card taken out, a locked volume).
    if (call.injectFault()) return call.fail(ERROR_ACCESS_DENIED, INVALID_FILE_ATTRIBUTES);
    return call.ret(found.entry->attributes);
}

}  // namespace

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    ApiCall call("GetModuleFileNameW", module, static_cast<const void*>(buffer), size);
    return copyModulePath(call, module, buffer, size, asIs);
}

// The desktop's 8-bit form: the path in the ANSI code page, cut by bytes.
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    ApiCall call("GetModuleFileNameA", module, static_cast<const void*>(buffer), size);
    return copyModulePath(call, module, buffer, size, toAnsi);
}

DWORD WINAPI GetFileAttributesW(LPCWSTR path) {
    ApiCall call("GetFileAttributesW", path);
    if (!path) return call.fail(ERROR_INVALID_PARAMETER, INVALID_FILE_ATTRIBUTES);
    return fileAttributes(call, path);
}

DWORD WINAPI GetFileAttributesA(LPCSTR path) {
    ApiCall call("GetFileAttributesA", path);
    if (!path) return call.fail(ERROR_INVALID_PARAMETER, INVALID_FILE_ATTRIBUTES);
    return fileAttributes(call, ansiToWide(call.device.config.ansiCodePage, path));
}
