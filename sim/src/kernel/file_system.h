// The device's files, in memory: backslash paths without drive letters, compared without case.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device_path.h"

namespace sim {

struct FileEntry {
    std::u16string path;  // as first given, normalised: "\Program Files\X\y.exe"
    std::vector<std::uint8_t> bytes;
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;

    bool isFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// What a lookup found: the entry, or the Win32 error a call reports for the path.
struct FileLookup {
    const FileEntry* entry = nullptr;
    DWORD error = ERROR_SUCCESS;
};

class FileSystem {
public:
    FileSystem();

    // Puts a file (replacing one of the same name) and makes the folders above it. False when the
    // path names the root, a folder, or lies below a file.
    bool put(std::u16string_view path, std::vector<std::uint8_t> bytes, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE);
    bool makeFolder(std::u16string_view path);
    // Removes a file, or a folder that is empty.
    bool remove(std::u16string_view path);

    FileLookup lookup(std::u16string_view path) const;
    const FileEntry* find(std::u16string_view path) const { return lookup(path).entry; }
    std::vector<const FileEntry*> entries() const;

private:
    static std::u16string key(std::u16string_view normalisedPath);
    std::map<std::u16string, FileEntry> entries_;
};

}  // namespace sim
