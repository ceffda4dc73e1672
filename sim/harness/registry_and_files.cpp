#include "registry_and_files.h"

#include "device.h"
#include "utf.h"

namespace pocket {

namespace {

// The key at a full path as it stands, without creating anything.
std::shared_ptr<sim::RegistryKey> findKey(const sim::Registry& registry, const std::string& path) {
    const std::size_t slash = path.find('\\');
    const std::string root = path.substr(0, slash);
    HKEY base = root == "HKCU" ? HKEY_CURRENT_USER
                : root == "HKLM" ? HKEY_LOCAL_MACHINE
                : root == "HKCR" ? HKEY_CLASSES_ROOT
                                 : HKEY_USERS;
    std::shared_ptr<sim::RegistryKey> key = registry.root(base);
    std::size_t pos = slash == std::string::npos ? path.size() : slash + 1;
    while (key && pos < path.size()) {
        const std::size_t end = std::min(path.find('\\', pos), path.size());
        const std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;
        auto it = key->children.find(sim::Registry::fold(sim::fromUtf8(part)));
        key = it == key->children.end() ? nullptr : it->second;
    }
    return key;
}

}  // namespace

void RegistryAndFiles::setRegistryValue(const std::string& key, const std::u16string& name, DWORD type,
                                        std::vector<std::uint8_t> data) {
    device_.registry.setValue(key, name, type, std::move(data));
}

std::optional<sim::RegistryValue> RegistryAndFiles::registryValue(const std::string& key,
                                                                  const std::u16string& name) const {
    return device_.registry.value(key, name);
}

bool RegistryAndFiles::deleteRegistryValue(const std::string& key, const std::u16string& name) {
    return device_.registry.deleteValue(key, name);
}

bool RegistryAndFiles::deleteRegistryKey(const std::string& key) { return device_.registry.deleteKey(key); }

bool RegistryAndFiles::registryKeyExists(const std::string& key) const { return device_.registry.keyExists(key); }

std::optional<RegistryKeyView> RegistryAndFiles::registryKey(const std::string& path) const {
    const auto key = findKey(device_.registry, path);
    if (!key) return std::nullopt;
    RegistryKeyView view;
    view.openError = key->openError;
    for (const auto& [folded, entry] : key->values) view.values.push_back({entry.first, entry.second});
    for (const auto& [folded, error] : key->valueErrors) {
        auto value = key->values.find(folded);
        view.valueFaults.push_back({value == key->values.end() ? folded : value->second.first, error});
    }
    for (const auto& [folded, child] : key->children) view.subkeys.push_back(child->name);
    return view;
}

void RegistryAndFiles::setDword(const std::string& key, const std::u16string& name, DWORD value) {
    std::vector<std::uint8_t> bytes(4);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    device_.registry.setValue(key, name, REG_DWORD, bytes);
}

std::optional<DWORD> RegistryAndFiles::dword(const std::string& key, const std::u16string& name) const {
    auto value = device_.registry.value(key, name);
    if (!value || value->data.size() != 4) return std::nullopt;
    DWORD out = 0;
    for (int i = 0; i < 4; ++i) out |= static_cast<DWORD>(value->data[i]) << (8 * i);
    return out;
}

void RegistryAndFiles::failRegistryKey(const std::string& key, DWORD error) { device_.registry.failKey(key, error); }

void RegistryAndFiles::failRegistryValue(const std::string& key, const std::u16string& name, DWORD error) {
    device_.registry.failValue(key, name, error);
}

void RegistryAndFiles::clearRegistryFaults(const std::string& key) { device_.registry.clearFaults(key); }

bool RegistryAndFiles::putFile(const std::string& devicePath, std::vector<std::uint8_t> bytes) {
    return device_.files.put(sim::fromUtf8(devicePath), std::move(bytes));
}

bool RegistryAndFiles::removeFile(const std::string& devicePath) {
    return fileExists(devicePath) && device_.files.remove(sim::fromUtf8(devicePath));
}

bool RegistryAndFiles::fileExists(const std::string& devicePath) const {
    const sim::FileEntry* entry = device_.files.find(sim::fromUtf8(devicePath));
    return entry && !entry->isFolder();
}

bool RegistryAndFiles::folderExists(const std::string& devicePath) const {
    const sim::FileEntry* entry = device_.files.find(sim::fromUtf8(devicePath));
    return entry && entry->isFolder();
}

std::optional<std::vector<std::uint8_t>> RegistryAndFiles::fileBytes(const std::string& devicePath) const {
    const sim::FileEntry* entry = device_.files.find(sim::fromUtf8(devicePath));
    if (!entry || entry->isFolder()) return std::nullopt;
    return entry->bytes;
}

std::vector<FileView> RegistryAndFiles::files() const {
    std::vector<FileView> out;
    for (const sim::FileEntry* entry : device_.files.entries())
        out.push_back(FileView{entry->path, entry->isFolder(), entry->bytes});
    return out;
}

}  // namespace pocket
