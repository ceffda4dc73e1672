// Pictures of the simulated screen from its description: for `render` and for the live device's server.
#pragma once

#include <string>
#include <string_view>

namespace screen {

// The picture as PNG bytes. Throws DescriptionError for a bad description. Threads may call it at
// once; they draw in turn.
std::string renderPng(std::string_view description);

// Writes the picture to `path`: a binary PPM when it ends in ".ppm", a PNG otherwise. Throws
// DescriptionError for a bad description, std::runtime_error when the file cannot be written
// (then `path` is left as it was).
void renderFile(std::string_view description, const std::string& path);

}  // namespace screen
