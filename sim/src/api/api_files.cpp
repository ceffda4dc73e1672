// Module file names and file attributes (COREDLL's file system side).
#include <algorithm>

#include "api_call.h"
#include "code_page.h"
#include "desktop_paths.h"
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

// The module's path, or the error the call reports before it touches the buffer.
const std::u16string* modulePath(ApiCall& call, HMODULE module, const void* buffer, DWORD size, DWORD& error) {
    const Process* owner = moduleOwner(call, module);
    if (!owner || owner->modulePath.empty()) error = kErrorModNotFound;
    else if (!buffer && size) error = ERROR_INVALID_PARAMETER;
    // Rare on a real device, but a caller that uses the path must cope with it.
    else if (call.injectFault()) error = ERROR_NOT_ENOUGH_MEMORY;
    else return &owner->modulePath;
    return nullptr;
}

// Copies the first `size` characters of `path`. Windows CE (as Windows XP) cuts a path that does
// not fit without a terminator, returns `size` and reports nothing. The desktop (and Wine) also
// set ERROR_INSUFFICIENT_BUFFER, and clear the last error on success.
DWORD copyWidePath(ApiCall& call, const std::u16string& path, LPWSTR buffer, DWORD size) {
    const bool desktop = call.device.config.machine == Machine::Desktop;
    if (path.size() >= size) {
        std::copy_n(path.begin(), size, buffer);
        return desktop ? call.fail(ERROR_INSUFFICIENT_BUFFER, size) : call.ret(size);
    }
    std::copy(path.begin(), path.end(), buffer);
    buffer[path.size()] = u'\0';
    if (desktop) call.thread.lastError = ERROR_SUCCESS;
    return call.ret(static_cast<DWORD>(path.size()));
}

}  // namespace

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    ApiCall call("GetModuleFileNameW", module, static_cast<const void*>(buffer), size);
    DWORD error = ERROR_SUCCESS;
    const std::u16string* path = modulePath(call, module, buffer, size, error);
    if (!path) return call.fail(error, DWORD{0});
    return copyWidePath(call, *path, buffer, size);
}

// The desktop's 8-bit form, as Wine makes it: the 16-bit path cut to `size` characters, then
// converted to the ANSI code page, whole characters only, as many as fit in `size` bytes. A path
// cut at a double-byte character thus comes back one byte short of the buffer, terminated, and
// with no error of its own: only a caller that leaves room past the longest path it accepts can
// tell it from a whole one. (Windows documents a cut to size - 1 bytes plus a terminator, with
// the result `size` and ERROR_INSUFFICIENT_BUFFER.)
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    ApiCall call("GetModuleFileNameA", module, static_cast<const void*>(buffer), size);
    DWORD error = ERROR_SUCCESS;
    const std::u16string* path = modulePath(call, module, buffer, size, error);
    if (!path) return call.fail(error, DWORD{0});
    if (size == 0) return call.fail(ERROR_INSUFFICIENT_BUFFER, DWORD{0});
    call.thread.lastError = path->size() >= size ? ERROR_INSUFFICIENT_BUFFER : ERROR_SUCCESS;
    const std::u16string wide = path->substr(0, size);
    const std::string ansi = wideToAnsiWithin(call.device.config.ansiCodePage, wide, size);
    std::copy(ansi.begin(), ansi.end(), buffer);
    if (ansi.size() < size) buffer[ansi.size()] = '\0';
    else call.thread.lastError = ERROR_INSUFFICIENT_BUFFER;
    return call.ret(static_cast<DWORD>(ansi.size()));
}

namespace {

DWORD fileAttributes(ApiCall& call, std::u16string_view path) {
    const bool desktop = call.device.config.machine == Machine::Desktop;
    const FileLookup found = call.device.files.lookup(desktop ? fullDesktopPath(call.process, path) : std::u16string(path));
    if (!found.entry) return call.fail(found.error, INVALID_FILE_ATTRIBUTES);
    // A file that is there can still be unreadable (a storage card taken out, a locked volume).
    if (call.injectFault()) return call.fail(ERROR_ACCESS_DENIED, INVALID_FILE_ATTRIBUTES);
    return call.ret(found.entry->attributes);
}

}  // namespace

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

// Desktop only: Windows CE has no current folder.
DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    ApiCall call("GetCurrentDirectoryA", size, static_cast<const void*>(buffer));
    const std::string folder = wideToAnsi(call.device.config.ansiCodePage, call.process.currentDirectory);
    // Too small: the size it needs, terminator included, and the buffer left alone.
    if (folder.size() >= size) return call.ret(static_cast<DWORD>(folder.size() + 1));
    std::copy(folder.begin(), folder.end(), buffer);
    buffer[folder.size()] = '\0';
    return call.ret(static_cast<DWORD>(folder.size()));
}
