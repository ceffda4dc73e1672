#include "desktop_paths.h"

#include "process.h"
#include "utf.h"

namespace sim {

namespace {

bool startsWithDrive(std::u16string_view path) {
    return path.size() >= 2 && path[1] == u':' &&
           ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
}

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

std::u16string joined(std::u16string_view folder, std::u16string_view rest) {
    std::u16string out(folder);
    if (rest.empty()) return out;
    if (out.empty() || !isSeparator(out.back())) out += u'\\';
    out += rest;
    return out;
}

}  // namespace

std::u16string fullDesktopPath(const Process& caller, std::u16string_view path) {
    const std::u16string& current = caller.currentDirectory;
    if (startsWithDrive(path)) {
        if (path.size() > 2 && isSeparator(path[2])) return std::u16string(path);
        const bool onThatDrive = startsWithDrive(current) && foldCase(current[0]) == foldCase(path[0]);
        const std::u16string root = std::u16string(path.substr(0, 2)) + u"\\";
        return joined(onThatDrive ? current : root, path.substr(2));
    }
    // A UNC name ("\\\\server\\share") stays as it is.
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return std::u16string(path);
    if (!path.empty() && isSeparator(path[0]))
        return startsWithDrive(current) ? std::u16string(current.substr(0, 2)) + std::u16string(path)
                                        : std::u16string(path);
    return joined(current, path);
}

std::u16string desktopFolderName(std::u16string_view normalisedPath) {
    std::u16string out(normalisedPath.substr(normalisedPath.empty() || normalisedPath[0] != u'\\' ? 0 : 1));
    if (out.size() == 2 && out[1] == u':') out += u'\\';
    return out;
}

}  // namespace sim
