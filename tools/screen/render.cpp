#include "render.h"

#include <cstdio>
#include <fstream>
#include <mutex>
#include <stdexcept>

#include "cairo_handles.h"
#include "description.h"
#include "draw.h"
#include "encode.h"
#include "palette.h"

namespace screen {

namespace {

// Pango and fontconfig are not made for threads drawing at once, and a picture takes a few
// milliseconds: the server's threads take turns.
std::mutex drawing;

SurfacePtr render(const Description& d) {
    const std::lock_guard lock(drawing);
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, d.width, d.height));
    CairoPtr cr(cairo_create(surface.get()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string("cannot draw: ") + cairo_status_to_string(cairo_status(cr.get())));
    const palette::Rgb background = d.displayOn ? palette::kBlank : palette::kDisplayOff;
    cairo_set_source_rgb(cr.get(), background.r / 255.0, background.g / 255.0, background.b / 255.0);
    cairo_paint(cr.get());
    for (const Element& e : d.elements) drawElement(cr.get(), e);
    return surface;
}

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Through a file beside it, so that a reader never sees half a picture, nor a failed one.
void writeWhole(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".part";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace

std::string renderPng(std::string_view description) {
    return encodePng(render(parseDescription(description)).get());
}

void renderFile(std::string_view description, const std::string& path) {
    const SurfacePtr surface = render(parseDescription(description));
    writeWhole(path, endsWith(path, ".ppm") ? encodePpm(surface.get()) : encodePng(surface.get()));
}

}  // namespace screen
