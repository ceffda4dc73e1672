// The device's registry: an in-memory tree of keys and typed values with Win32's rules.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "records.h"

namespace sim {

struct RegistryKey {
    std::u16string name;
    RegistryKey* parent = nullptr;
    bool deleted = false;
    // Children and values by upper-cased name; each keeps the name as first written.
    std::map<std::u16string, std::shared_ptr<RegistryKey>> children;
    std::map<std::u16string, std::pair<std::u16string, RegistryValue>> values;
    // Faults the driver set: opening this key, or reading or writing one of its values, fails.
    DWORD openError = ERROR_SUCCESS;
    std::map<std::u16string, DWORD> valueErrors;
};

class Registry {
public:
    Registry();

    // Roots: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS.
    std::shared_ptr<RegistryKey> root(HKEY predefined) const;
    bool isPredefined(HKEY key) const;

    // Walks `path` (backslash-separated, no case) from `base`; creates missing keys when asked.
    // Returns the error a real open or create would give.
    DWORD walk(const std::shared_ptr<RegistryKey>& base, std::u16string_view path, bool create,
               std::shared_ptr<RegistryKey>& out, bool& created);

    // Open handles of programs.
    void bind(std::uintptr_t handle, std::shared_ptr<RegistryKey> key, std::uint32_t pid);
    std::shared_ptr<RegistryKey> resolve(HKEY handle) const;
    bool unbind(std::uintptr_t handle);
    void unbindAllOf(std::uint32_t pid, std::vector<std::uintptr_t>& released);

    // Driver side, with full paths such as "HKCU\Software\Orvalen\VoltmaraPPC" (HKLM, HKCR, HKU too).
    void setValue(const std::string& keyPath, const std::u16string& name, DWORD type, std::vector<std::uint8_t> data);
    std::optional<RegistryValue> value(const std::string& keyPath, const std::u16string& name) const;
    bool deleteValue(const std::string& keyPath, const std::u16string& name);
    bool deleteKey(const std::string& keyPath);
    bool keyExists(const std::string& keyPath) const;
    void failKey(const std::string& keyPath, DWORD error);
    void failValue(const std::string& keyPath, const std::u16string& name, DWORD error);
    void clearFaults(const std::string& keyPath);

    static std::u16string fold(std::u16string_view name);

private:
    std::shared_ptr<RegistryKey> findPath(const std::string& keyPath, bool create) const;

    std::map<std::uintptr_t, std::shared_ptr<RegistryKey>> roots_;
    struct Binding {
        std::shared_ptr<RegistryKey> key;
        std::uint32_t pid;
    };
    std::unordered_map<std::uintptr_t, Binding> handles_;
};

}  // namespace sim
