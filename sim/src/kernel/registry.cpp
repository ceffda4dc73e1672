#include "registry.h"

#include <stdexcept>

#include "utf.h"

namespace sim {

namespace {

std::uintptr_t rootValue(HKEY key) { return reinterpret_cast<std::uintptr_t>(key); }

std::shared_ptr<RegistryKey> child(RegistryKey& key, std::u16string_view name, bool create) {
    auto it = key.children.find(Registry::fold(name));
    if (it != key.children.end()) return it->second;
    if (!create) return nullptr;
    auto made = std::make_shared<RegistryKey>();
    made->name = std::u16string(name);
    made->parent = &key;
    key.children.emplace(Registry::fold(name), made);
    return made;
}

void markDeleted(RegistryKey& key) {
    key.deleted = true;
    for (auto& [name, child] : key.children) markDeleted(*child);
}

}  // namespace

Registry::Registry() {
    for (HKEY key : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS}) {
        auto node = std::make_shared<RegistryKey>();
        roots_[rootValue(key)] = node;
    }
    roots_[rootValue(HKEY_CLASSES_ROOT)]->name = u"HKEY_CLASSES_ROOT";
    roots_[rootValue(HKEY_CURRENT_USER)]->name = u"HKEY_CURRENT_USER";
    roots_[rootValue(HKEY_LOCAL_MACHINE)]->name = u"HKEY_LOCAL_MACHINE";
    roots_[rootValue(HKEY_USERS)]->name = u"HKEY_USERS";
}

std::u16string Registry::fold(std::u16string_view name) {
    std::u16string out(name);
    for (char16_t& c : out) c = foldCase(c);
    return out;
}

std::shared_ptr<RegistryKey> Registry::root(HKEY predefined) const {
    auto it = roots_.find(rootValue(predefined));
    return it == roots_.end() ? nullptr : it->second;
}

bool Registry::isPredefined(HKEY key) const { return roots_.count(rootValue(key)) != 0; }

DWORD Registry::walk(const std::shared_ptr<RegistryKey>& base, std::u16string_view path, bool create,
                     std::shared_ptr<RegistryKey>& out, bool& created) {
    created = false;
    if (base->deleted) return ERROR_KEY_DELETED;
    if (!path.empty() && path.front() == u'\\') return ERROR_BAD_PATHNAME;
    std::shared_ptr<RegistryKey> key = base;
    std::size_t pos = 0;
    while (pos < path.size()) {
        std::size_t end = path.find(u'\\', pos);
        if (end == std::u16string_view::npos) end = path.size();
        const std::u16string_view part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;
        if (part.size() > 255) return ERROR_INVALID_PARAMETER;
        const bool existed = key->children.count(fold(part)) != 0;
        key = child(*key, part, create);
        if (!key) return ERROR_FILE_NOT_FOUND;
        created = created || !existed;
        if (key->openError != ERROR_SUCCESS) {
            created = false;
            return key->openError;
        }
    }
    out = key;
    return ERROR_SUCCESS;
}

void Registry::bind(std::uintptr_t handle, std::shared_ptr<RegistryKey> key, std::uint32_t pid) {
    handles_[handle] = Binding{std::move(key), pid};
}

std::shared_ptr<RegistryKey> Registry::resolve(HKEY handle) const {
    if (auto root = this->root(handle)) return root;
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == handles_.end() ? nullptr : it->second.key;
}

bool Registry::unbind(std::uintptr_t handle) { return handles_.erase(handle) != 0; }

void Registry::unbindAllOf(std::uint32_t pid, std::vector<std::uintptr_t>& released) {
    for (auto it = handles_.begin(); it != handles_.end();) {
        if (it->second.pid == pid) {
            released.push_back(it->first);
            it = handles_.erase(it);
        } else {
            ++it;
        }
    }
}

std::shared_ptr<RegistryKey> Registry::findPath(const std::string& keyPath, bool create) const {
    const std::size_t slash = keyPath.find('\\');
    const std::string rootName = keyPath.substr(0, slash);
    HKEY rootKey;
    if (rootName == "HKCU" || rootName == "HKEY_CURRENT_USER") rootKey = HKEY_CURRENT_USER;
    else if (rootName == "HKLM" || rootName == "HKEY_LOCAL_MACHINE") rootKey = HKEY_LOCAL_MACHINE;
    else if (rootName == "HKCR" || rootName == "HKEY_CLASSES_ROOT") rootKey = HKEY_CLASSES_ROOT;
    else if (rootName == "HKU" || rootName == "HKEY_USERS") rootKey = HKEY_USERS;
    else throw std::invalid_argument("unknown registry root in " + keyPath);
    std::shared_ptr<RegistryKey> key = root(rootKey);
    if (slash == std::string::npos) return key;
    const std::u16string rest = fromUtf8(keyPath.substr(slash + 1));
    std::size_t pos = 0;
    while (pos < rest.size()) {
        std::size_t end = rest.find(u'\\', pos);
        if (end == std::u16string::npos) end = rest.size();
        const std::u16string part = rest.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;
        key = child(*key, part, create);
        if (!key) return nullptr;
    }
    return key;
}

void Registry::setValue(const std::string& keyPath, const std::u16string& name, DWORD type,
                        std::vector<std::uint8_t> data) {
    auto key = findPath(keyPath, true);
    key->values[fold(name)] = {name, RegistryValue{type, std::move(data)}};
}

std::optional<RegistryValue> Registry::value(const std::string& keyPath, const std::u16string& name) const {
    auto key = findPath(keyPath, false);
    if (!key) return std::nullopt;
    auto it = key->values.find(fold(name));
    if (it == key->values.end()) return std::nullopt;
    return it->second.second;
}

bool Registry::deleteValue(const std::string& keyPath, const std::u16string& name) {
    auto key = findPath(keyPath, false);
    return key && key->values.erase(fold(name)) != 0;
}

bool Registry::deleteKey(const std::string& keyPath) {
    auto key = findPath(keyPath, false);
    if (!key || !key->parent) return false;
    markDeleted(*key);
    return key->parent->children.erase(fold(key->name)) != 0;
}

bool Registry::keyExists(const std::string& keyPath) const { return findPath(keyPath, false) != nullptr; }

void Registry::failKey(const std::string& keyPath, DWORD error) { findPath(keyPath, true)->openError = error; }

void Registry::failValue(const std::string& keyPath, const std::u16string& name, DWORD error) {
    findPath(keyPath, true)->valueErrors[fold(name)] = error;
}

void Registry::clearFaults(const std::string& keyPath) {
    if (auto key = findPath(keyPath, false)) {
        key->openError = ERROR_SUCCESS;
        key->valueErrors.clear();
    }
}

}  // namespace sim
