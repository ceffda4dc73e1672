// Paths on the device: backslashes, no drive letters, no current folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sim {

// "\a\b" form of a path: '/' taken as '\', empty and "." parts dropped, ".." steps up. A path
// without a leading backslash starts at the root. Empty optional for a path that climbs above it.
std::optional<std::u16string> normaliseDevicePath(std::u16string_view path);
// The folder of a normalised path ("\" for a file in the root).
std::u16string devicePathFolder(std::u16string_view normalisedPath);

}  // namespace sim
