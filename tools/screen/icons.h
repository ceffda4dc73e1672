// The programs' icons as cairo surfaces, read from their .res files once.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "cairo_handles.h"

namespace screen {

class IconCache {
public:
    // The 16 x 16 image of group icon `id` in the .res file at `path`, premultiplied ARGB; null when
    // the file, the group or a drawable image is missing. A file is read again once it changes.
    SurfacePtr find(const std::string& path, unsigned id);

    // The process's cache, shared by all threads.
    static IconCache& shared();

private:
    struct Stamp {
        long long seconds = 0, nanoseconds = 0, size = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    struct File {
        Stamp stamp;
        std::map<unsigned, SurfacePtr> icons;  // null for an icon that cannot be drawn
    };

    std::mutex mutex_;
    std::map<std::string, File> files_;
};

}  // namespace screen
