#include "file_system.h"

#include "utf.h"

namespace sim {

namespace {

constexpr DWORD kErrorInvalidName = 123;  // ERROR_INVALID_NAME

bool hasWildcard(std::u16string_view path) {
    return path.find_first_of(u"*?") != std::u16string_view::npos;
}

}  // namespace

FileSystem::FileSystem() {
    FileEntry root;
    root.path = u"\\";
    root.attributes = FILE_ATTRIBUTE_DIRECTORY;
    entries_.emplace(key(root.path), std::move(root));
}

std::u16string FileSystem::key(std::u16string_view normalisedPath) {
    std::u16string out(normalisedPath);
    for (char16_t& c : out) c = foldCase(c);
    return out;
}

bool FileSystem::makeFolder(std::u16string_view path) {
    const auto normal = normaliseDevicePath(path);
    if (!normal || hasWildcard(*normal)) return false;
    if (const FileEntry* existing = find(*normal)) return existing->isFolder();
    if (!makeFolder(devicePathFolder(*normal))) return false;
    FileEntry folder;
    folder.path = *normal;
    folder.attributes = FILE_ATTRIBUTE_DIRECTORY;
    entries_.emplace(key(*normal), std::move(folder));
    return true;
}

bool FileSystem::put(std::u16string_view path, std::vector<std::uint8_t> bytes, DWORD attributes) {
    const auto normal = normaliseDevicePath(path);
    if (!normal || *normal == u"\\" || hasWildcard(*normal)) return false;
    auto it = entries_.find(key(*normal));
    if (it != entries_.end() && it->second.isFolder()) return false;
    if (!makeFolder(devicePathFolder(*normal))) return false;
    FileEntry& file = entries_[key(*normal)];
    if (file.path.empty()) file.path = *normal;  // a replaced file keeps the spelling it had
    file.bytes = std::move(bytes);
    file.attributes = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY);
    if (file.attributes == 0) file.attributes = FILE_ATTRIBUTE_NORMAL;
    return true;
}

bool FileSystem::remove(std::u16string_view path) {
    const auto normal = normaliseDevicePath(path);
    if (!normal || *normal == u"\\") return false;
    const std::u16string k = key(*normal);
    auto it = entries_.find(k);
    if (it == entries_.end()) return false;
    if (it->second.isFolder()) {
        const std::u16string below = k + u'\\';
        auto child = entries_.lower_bound(below);
        if (child != entries_.end() && child->first.starts_with(below)) return false;  // not empty
    }
    entries_.erase(it);
    return true;
}

FileLookup FileSystem::lookup(std::u16string_view path) const {
    if (path.empty()) return {nullptr, ERROR_PATH_NOT_FOUND};
    const auto normal = normaliseDevicePath(path);
    if (!normal) return {nullptr, ERROR_PATH_NOT_FOUND};
    if (hasWildcard(*normal)) return {nullptr, kErrorInvalidName};
    auto it = entries_.find(key(*normal));
    if (it != entries_.end()) return {&it->second, ERROR_SUCCESS};
    auto folder = entries_.find(key(devicePathFolder(*normal)));
    const bool folderThere = folder != entries_.end() && folder->second.isFolder();
    return {nullptr, folderThere ? static_cast<DWORD>(ERROR_FILE_NOT_FOUND) : static_cast<DWORD>(ERROR_PATH_NOT_FOUND)};
}

std::vector<const FileEntry*> FileSystem::entries() const {
    std::vector<const FileEntry*> out;
    for (const auto& [k, entry] : entries_) out.push_back(&entry);
    return out;
}

}  // namespace sim
