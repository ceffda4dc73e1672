// Registry entry points (ADVAPI32 on the desktop, COREDLL on the device).
#include <algorithm>
#include <cstring>

#include "api_call.h"

using namespace sim;

namespace {

bool isStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

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

DWORD valueError(const RegistryKey& key, std::u16string_view name) {
    auto it = key.valueErrors.find(Registry::fold(name));
    return it == key.valueErrors.end() ? ERROR_SUCCESS : it->second;
}

// The value a query reads, or the error the query gives before it touches the caller's buffer.
LONG findValue(ApiCall& call, HKEY hkey, std::u16string_view name, LPDWORD reserved, LPBYTE data, LPDWORD size,
               const RegistryValue*& found) {
    auto key = call.device.registry.resolve(hkey);
    if (!key) return ERROR_INVALID_HANDLE;
    if (key->deleted) return ERROR_KEY_DELETED;
    if (reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
    if (call.injectFault()) return ERROR_ACCESS_DENIED;
    if (const DWORD error = valueError(*key, name)) return static_cast<LONG>(error);
    auto it = key->values.find(Registry::fold(name));
    if (it == key->values.end()) return ERROR_FILE_NOT_FOUND;
    found = &it->second.second;
    return ERROR_SUCCESS;
}

// Hands `bytes` to the caller with Win32's size rules. A buffer too small is left as it was, and
// the caller learns the size it needs. A string whose data lacks its terminator gets one where
// the buffer has room after the data (`terminator`: its width, 1 or 2 bytes; 0 for other types),
// as NT does (and Wine); it is not counted in the size returned.
LONG copyOut(const std::vector<std::uint8_t>& bytes, LPBYTE data, LPDWORD size, std::size_t terminator) {
    const DWORD needed = static_cast<DWORD>(bytes.size());
    if (!data) {
        if (size) *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    std::copy(bytes.begin(), bytes.end(), data);
    // The last character of the data (the one byte of a 1-byte value) is not a zero.
    const std::size_t last = std::min<std::size_t>(terminator, needed);
    const bool unterminated = std::any_of(bytes.end() - static_cast<std::ptrdiff_t>(last), bytes.end(),
                                          [](std::uint8_t b) { return b != 0; });
    if (terminator && needed + terminator <= *size && unterminated) std::fill_n(data + needed, terminator, std::uint8_t{0});
    *size = needed;
    return ERROR_SUCCESS;
}


// A string value as the 8-bit functions see it: its 16-bit characters in the ANSI code page.
std::vector<std::uint8_t> toAnsiData(UINT codePage, const std::vector<std::uint8_t>& wideBytes) {
    std::u16string wide(wideBytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<char16_t>(wideBytes[2 * i] | wideBytes[2 * i + 1] << 8);
    const std::string ansi = wideToAnsi(codePage, wide);
    return {ansi.begin(), ansi.end()};
}

std::u16string fromAnsi(ApiCall& call, LPCSTR text) {
    return text ? ansiToWide(call.device.config.ansiCodePage, text) : std::u16string();
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
    const RegistryValue* value = nullptr;
    if (const LONG error = findValue(call, hkey, name ? name : u"", reserved, data, size, value)) return call.ret(error);
    if (type) *type = value->type;
    return call.ret(copyOut(value->data, data, size, isStringType(value->type) ? sizeof(WCHAR) : 0));
}

LONG WINAPI RegSetValueExW(HKEY hkey, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    ApiCall call("RegSetValueExW", hkey, name, type, size);
    auto key = call.device.registry.resolve(hkey);
    if (!key) return call.ret(LONG{ERROR_INVALID_HANDLE});
    if (key->deleted) return call.ret(LONG{ERROR_KEY_DELETED});
    if (!data && size) return call.ret(LONG{ERROR_INVALID_PARAMETER});
    if (call.injectFault()) return call.ret(LONG{ERROR_ACCESS_DENIED});
    if (const DWORD error = valueError(*key, name ? name : u"")) return call.ret(static_cast<LONG>(error));
    // A string whose size leaves out the terminator that follows it gets it counted (NT does
    // this, and so reads one character past the size given).
    if (isStringType(type) && size >= sizeof(WCHAR) && size % sizeof(WCHAR) == 0) {
        const auto* text = reinterpret_cast<const WCHAR*>(data);
        if (text[size / sizeof(WCHAR) - 1] != 0 && text[size / sizeof(WCHAR)] == 0) size += sizeof(WCHAR);
    }
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

// The 8-bit forms: names are converted from the ANSI code page, string values towards it.
LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
    ApiCall call("RegOpenKeyExA", key, subKey, access);
    const std::u16string wideSubKey = fromAnsi(call, subKey);
    return call.ret(openOrCreate(call, key, subKey ? wideSubKey.c_str() : nullptr, false, result, nullptr));
}

LONG WINAPI RegQueryValueExA(HKEY hkey, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    ApiCall call("RegQueryValueExA", hkey, name, size ? *size : 0);
    const RegistryValue* value = nullptr;
    if (const LONG error = findValue(call, hkey, fromAnsi(call, name), reserved, data, size, value))
        return call.ret(error);
    if (type) *type = value->type;
    if (!isStringType(value->type)) return call.ret(copyOut(value->data, data, size, 0));
    return call.ret(copyOut(toAnsiData(call.device.config.ansiCodePage, value->data), data, size, 1));
}
