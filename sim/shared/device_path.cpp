#include "device_path.h"

#include <vector>

namespace sim {

std::optional<std::u16string> normaliseDevicePath(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of(u"\\/", start);
        if (end == std::u16string_view::npos) end = path.size();
        const std::u16string_view part = path.substr(start, end - start);
        if (part == u"..") {
            if (parts.empty()) return std::nullopt;
            parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    if (parts.empty()) return u"\\";
    std::u16string out;
    for (std::u16string_view part : parts) {
        out += u'\\';
        out += part;
    }
    return out;
}

std::u16string devicePathFolder(std::u16string_view normalisedPath) {
    const std::size_t slash = normalisedPath.rfind(u'\\');
    if (slash == 0 || slash == std::u16string_view::npos) return u"\\";
    return std::u16string(normalisedPath.substr(0, slash));
}

}  // namespace sim
