// Paths on a desktop PC, where each process has a current folder and drive letters name the top
// folders ("C:\\Tools" is the simulated file system's "\\C:\\Tools").
#pragma once

#include <string>
#include <string_view>

namespace sim {

class Process;

// The full path that `path` names for `caller`, as Windows resolves it: "C:\\x" as it is; "C:x"
// and "C:" from the current folder when that is on drive C, else from C's root; "\\x" from the
// root of the current folder's drive; anything else from the current folder.
std::u16string fullDesktopPath(const Process& caller, std::u16string_view path);

// "C:\\Tools" for a folder's normalised path ("\\C:\\Tools"); a drive's root keeps its backslash.
std::u16string desktopFolderName(std::u16string_view normalisedPath);

}  // namespace sim
