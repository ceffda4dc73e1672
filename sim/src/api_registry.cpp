// Registry entry points (ADVAPI32 on the desktop, COREDLL on the device).
#include <algorithm>
#include <cstring>

#include "api_call.h"

using namespace sim;

namespace {

LONG openOrCreate(ApiCall& call, HKEY parent, LPCWSTR subKey, bool create, PHKEY result, LPDWORD disposition) {
    Device& device = call.device;
    if (!result) return ERROR_INVALID_PARAMETER;
    auto base = device.registry.resolve(parent);
    if (!base) return ERROR_INVALID_HANDLE;
    if (call.injectFault()) return ERROR_ACCESS_DENIED;
    std::shared_ptr<RegistryKey> key;
    bool created = false;
    const LONG error = static_cast<LONG>(device.registry.walk(base, subKey ? subKey : u"", create, key, created));
    if (error != ERROR_SUCCESS) return error;
    const std::uintptr_t handle = device.handles.allocate(HandleKind::RegistryKey, &call.process);
    device.registry.bind(handle, key, call.process.pid);
    *result = reinterpret_cast<HKEY>(handle);
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

DWORD valueError(const RegistryKey& key, LPCWSTR name) {
    auto it = key.valueErrors.find(Registry::fold(name ? name : u""));
    return it == key.valueErrors.end() ? ERROR_SUCCESS : it->second;
}

}  // namespace

LONG WINAPI RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD options, REGSAM access,
                            LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    ApiCall call("RegCreateKeyExW", key, subKey, options, access);
    return call.ret(openOrCreate(call, key, subKey, true, result, disposition));
}

LONG WINAPI RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) {
    ApiCall call("RegOpenKeyExW", key, subKey, access);
    return call.ret(openOrCreate(call, key, subKey, false, result, nullptr));
}

LONG WINAPI RegQueryValueExW(HKEY hkey, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    ApiCall call("RegQueryValueExW", hkey, name, size ? *size : 0);
    auto key = call.device.registry.resolve(hkey);
    if (!key) return call.ret(LONG{ERROR_INVALID_HANDLE});
    if (key->deleted) return call.ret(LONG{ERROR_KEY_DELETED});
    if (reserved || (data && !size)) return call.ret(LONG{ERROR_INVALID_PARAMETER});
    if (call.injectFault()) return call.ret(LONG{ERROR_ACCESS_DENIED});
    if (const DWORD error = valueError(*key, name)) return call.ret(static_cast<LONG>(error));
    auto it = key->values.find(Registry::fold(name ? name : u""));
    if (it == key->values.end()) return call.ret(LONG{ERROR_FILE_NOT_FOUND});
    const RegistryValue& value = it->second.second;
    const DWORD needed = static_cast<DWORD>(value.data.size());
    if (type) *type = value.type;
    if (!data) {
        if (size) *size = needed;
        return call.ret(LONG{ERROR_SUCCESS});
    }
    if (*size < needed) {
        // The buffer is left as it was; the caller learns the size it needs.
        *size = needed;
        return call.ret(LONG{ERROR_MORE_DATA});
    }
    std::copy(value.data.begin(), value.data.end(), data);
    *size = needed;
    return call.ret(LONG{ERROR_SUCCESS});
}

LONG WINAPI RegSetValueExW(HKEY hkey, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    ApiCall call("RegSetValueExW", hkey, name, type, size);
    auto key = call.device.registry.resolve(hkey);
    if (!key) return call.ret(LONG{ERROR_INVALID_HANDLE});
    if (key->deleted) return call.ret(LONG{ERROR_KEY_DELETED});
    if (!data && size) return call.ret(LONG{ERROR_INVALID_PARAMETER});
    if (call.injectFault()) return call.ret(LONG{ERROR_ACCESS_DENIED});
    if (const DWORD error = valueError(*key, name)) return call.ret(static_cast<LONG>(error));
    const std::u16string valueName = name ? name : u"";
    key->values[Registry::fold(valueName)] = {valueName, RegistryValue{type, std::vector<std::uint8_t>(data, data + size)}};
    return call.ret(LONG{ERROR_SUCCESS});
}

LONG WINAPI RegDeleteValueW(HKEY hkey, LPCWSTR name) {
    ApiCall call("RegDeleteValueW", hkey, name);
    auto key = call.device.registry.resolve(hkey);
    if (!key) return call.ret(LONG{ERROR_INVALID_HANDLE});
    if (key->deleted) return call.ret(LONG{ERROR_KEY_DELETED});
    if (call.injectFault()) return call.ret(LONG{ERROR_ACCESS_DENIED});
    if (key->values.erase(Registry::fold(name ? name : u"")) == 0) return call.ret(LONG{ERROR_FILE_NOT_FOUND});
    return call.ret(LONG{ERROR_SUCCESS});
}

LONG WINAPI RegCloseKey(HKEY hkey) {
    ApiCall call("RegCloseKey", hkey);
    if (call.device.registry.isPredefined(hkey)) return call.ret(LONG{ERROR_SUCCESS});
    const auto value = reinterpret_cast<std::uintptr_t>(hkey);
    if (!call.device.handles.release(value, HandleKind::RegistryKey, &call.process))
        return call.ret(LONG{ERROR_INVALID_HANDLE});
    call.device.registry.unbind(value);
    return call.ret(LONG{ERROR_SUCCESS});
}
