// Owning handles for the cairo and Pango objects the pictures use.
#pragma once

#include <memory>

#include <cairo.h>
#include <glib-object.h>

namespace screen {

struct SurfaceRelease {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoRelease {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct GObjectRelease {
    void operator()(void* object) const { g_object_unref(object); }
};

using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using CairoPtr = std::unique_ptr<cairo_t, CairoRelease>;
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectRelease>;

}  // namespace screen
