// A picture's bytes in the file formats pocketscreen writes.
#pragma once

#include <string>

#include <cairo.h>

namespace screen {

// Both take an RGB24 image surface. Throw std::runtime_error when cairo fails.
std::string encodePng(cairo_surface_t* surface);
std::string encodePpm(cairo_surface_t* surface);  // binary P6, for tests that read pixels

}  // namespace screen
