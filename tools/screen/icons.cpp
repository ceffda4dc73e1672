#include "icons.h"

#include <cstring>
#include <exception>

#include <sys/stat.h>

#include "icon_pixels.h"
#include "resources.h"

namespace screen {

namespace {

constexpr int kIconSide = 16;

SurfacePtr toSurface(const sim::IconPixels& pixels) {
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels.width, pixels.height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < pixels.height; ++y)
        std::memcpy(data + static_cast<std::size_t>(y) * stride, &pixels.argb[static_cast<std::size_t>(y) * pixels.width],
                    static_cast<std::size_t>(pixels.width) * 4);
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

// Every icon of the file that can be drawn; a file that cannot be read has none.
std::map<unsigned, SurfacePtr> loadIcons(const std::string& path) {
    std::map<unsigned, SurfacePtr> icons;
    try {
        const sim::ResourceSet resources = sim::ResourceSet::load(path);
        for (unsigned id : resources.groupIconIds()) {
            SurfacePtr& surface = icons[id];
            const sim::IconImage* image = resources.groupIcon(id)->best(kIconSide, kIconSide);
            if (!image) continue;
            try {
                surface = toSurface(sim::decodeIcon(*image, sim::AlphaForm::premultiplied));
            } catch (const std::exception&) {
                // Left null: drawn as a missing icon.
            }
        }
    } catch (const std::exception&) {
        icons.clear();
    }
    return icons;
}

}  // namespace

SurfacePtr IconCache::find(const std::string& path, unsigned id) {
    struct stat info {};
    const std::lock_guard lock(mutex_);
    if (::stat(path.c_str(), &info) != 0) {
        files_.erase(path);
        return nullptr;
    }
    const Stamp stamp{info.st_mtim.tv_sec, info.st_mtim.tv_nsec, info.st_size};
    auto found = files_.find(path);
    if (found == files_.end() || found->second.stamp != stamp)
        found = files_.insert_or_assign(path, File{stamp, loadIcons(path)}).first;
    const auto icon = found->second.icons.find(id);
    if (icon == found->second.icons.end() || !icon->second) return nullptr;
    // The caller's own reference: the surface outlives the file being read again meanwhile.
    return SurfacePtr(cairo_surface_reference(icon->second.get()));
}

IconCache& IconCache::shared() {
    static IconCache cache;
    return cache;
}

}  // namespace screen
