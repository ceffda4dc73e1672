// Kernel services: last error, tick count, sleeping, named mutexes, power status.
#include "api_call.h"

using namespace sim;

namespace {
constexpr DWORD kErrorNotOwner = 288;  // ERROR_NOT_OWNER
}  // namespace

DWORD WINAPI GetLastError(void) { return currentThread().lastError; }

void WINAPI SetLastError(DWORD error) { currentThread().lastError = error; }

DWORD WINAPI GetTickCount(void) {
    ApiCall call("GetTickCount");
    return call.ret(static_cast<DWORD>(call.device.clock.tickCount()));
}

void WINAPI Sleep(DWORD milliseconds) {
    ApiCall call("Sleep", milliseconds);
    Device& device = call.device;
    if (milliseconds == INFINITE) {
        device.scheduler.block(call.thread, [] { return false; });
        return;
    }
    const std::uint64_t until = device.clock.now() + milliseconds;
    // Sleep(0) only gives the others their turn first; a longer sleep waits in virtual time.
    device.scheduler.block(
        call.thread, [&device, until] { return device.clock.now() >= until; },
        [until, milliseconds]() -> std::optional<std::uint64_t> {
            if (milliseconds == 0) return std::nullopt;
            return until;
        });
}

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
    ApiCall call("CreateMutexW", initialOwner, name);
    if (call.injectFault()) return call.fail(ERROR_NOT_ENOUGH_MEMORY, HANDLE{nullptr});
    bool existed = false;
    const std::uint32_t object = call.device.mutexes.open(name ? name : u"", existed);
    const std::uintptr_t handle = call.device.handles.allocate(HandleKind::Mutex, &call.process);
    call.device.mutexes.addHandle(handle, object);
    // Opening an existing mutex never makes the caller its owner.
    if (initialOwner && !existed) call.device.mutexes.takeInitialOwnership(object, call.thread.id());
    call.thread.lastError = existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    return call.ret(reinterpret_cast<HANDLE>(handle));
}

BOOL WINAPI ReleaseMutex(HANDLE mutex) {
    ApiCall call("ReleaseMutex", mutex);
    const auto handle = reinterpret_cast<std::uintptr_t>(mutex);
    if (!call.device.handles.isOpen(handle, HandleKind::Mutex)) return call.fail(ERROR_INVALID_HANDLE, FALSE);
    bool known = false;
    if (!call.device.mutexes.release(handle, call.thread.id(), known))
        return call.fail(known ? kErrorNotOwner : ERROR_INVALID_HANDLE, FALSE);
    return call.ret(TRUE);
}

BOOL WINAPI CloseHandle(HANDLE object) {
    ApiCall call("CloseHandle", object);
    const auto value = reinterpret_cast<std::uintptr_t>(object);
    const HandleTable::Entry* entry = call.device.handles.find(value);
    if (!entry) return call.fail(ERROR_INVALID_HANDLE, FALSE);
    // Mutexes, and the handles of processes that CreateProcessA started.
    const HandleKind kind = entry->kind;
    const bool closable = kind == HandleKind::Mutex || kind == HandleKind::Process || kind == HandleKind::Thread;
    if (!closable || !call.device.handles.release(value, kind, &call.process)) return call.fail(ERROR_INVALID_HANDLE, FALSE);
    if (kind == HandleKind::Mutex) call.device.mutexes.closeHandle(value);
    return call.ret(TRUE);
}

BOOL WINAPI GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX status, BOOL update) {
    ApiCall call("GetSystemPowerStatusEx", status, update);
    if (!status) return call.fail(ERROR_INVALID_PARAMETER, FALSE);
    if (call.injectFault()) return call.fail(ERROR_INVALID_FUNCTION, FALSE);
    *status = call.device.powerStatus;
    return call.ret(TRUE);
}

// One simulated thread runs at a time, so a plain update is already atomic between them.
LONG WINAPI InterlockedIncrement(LONG volatile* addend) {
    ApiCall call("InterlockedIncrement", const_cast<const LONG*>(addend));
    *addend = *addend + 1;
    return call.ret(static_cast<LONG>(*addend));
}

LONG WINAPI InterlockedDecrement(LONG volatile* addend) {
    ApiCall call("InterlockedDecrement", const_cast<const LONG*>(addend));
    *addend = *addend - 1;
    return call.ret(static_cast<LONG>(*addend));
}
