#include "encode.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace screen {

std::string encodePng(cairo_surface_t* surface) {
    std::string bytes;
    const cairo_status_t status = cairo_surface_write_to_png_stream(
        surface,
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error(std::string("PNG: ") + cairo_status_to_string(status));
    return bytes;
}

std::string encodePpm(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_RGB24)
        throw std::runtime_error("PPM: not an RGB image");

    std::string bytes = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    bytes.reserve(bytes.size() + static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel;  // 0x00RRGGBB in the machine's byte order
            std::memcpy(&pixel, data + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 4, 4);
            bytes += static_cast<char>(pixel >> 16 & 0xFF);
            bytes += static_cast<char>(pixel >> 8 & 0xFF);
            bytes += static_cast<char>(pixel & 0xFF);
        }
    }
    return bytes;
}

}  // namespace screen
