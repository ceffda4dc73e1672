// The resources of a program, read from the .res file that windres compiles from its script.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sim {

// Resource type numbers, as a .res file stores them.
constexpr unsigned kResourceIcon = 3;
constexpr unsigned kResourceMenu = 4;
constexpr unsigned kResourceString = 6;
constexpr unsigned kResourceGroupIcon = 14;
constexpr unsigned kResourceVersion = 16;

struct IconImage {
    int width = 0;
    int height = 0;
    int colorCount = 0;  // 0 for 256 colours or more, as in the group directory
    int bitCount = 0;
    std::vector<std::uint8_t> data;  // the RT_ICON resource: BITMAPINFOHEADER, palette, XOR and AND masks
};

// Where a bitmap icon image (RT_ICON data that is not a PNG) keeps its parts.
struct IconBitmapLayout {
    int width = 0;
    int height = 0;  // of the image; the header's counts the AND mask's rows too
    unsigned bitCount = 0;
    std::uint32_t compression = 0;  // 0, or 3: bit fields, their three masks after the header
    std::uint64_t paletteAt = 0;
    std::uint64_t paletteEntries = 0;
    std::uint64_t xorAt = 0;  // the colours, bottom row first, rows of xorStride bytes
    std::uint64_t xorStride = 0;
    std::uint64_t andAt = 0;  // the mask: a set bit is transparent
    std::uint64_t andStride = 0;
};
bool isPngImage(std::span<const std::uint8_t> data);
// Reads a bitmap icon image's header; throws std::runtime_error when it is not one, or when the
// data is shorter than the bitmap it promises.
IconBitmapLayout iconBitmapLayout(std::span<const std::uint8_t> data);

struct GroupIcon {
    std::vector<IconImage> images;
    // The image LoadImageW would pick for this size: exact size first, then the closest.
    const IconImage* best(int width, int height) const;
};

struct VersionInfo {
    std::uint16_t fileVersion[4] = {};     // e.g. 1,0,2,0 from VS_FIXEDFILEINFO
    std::uint16_t productVersion[4] = {};
    // The rest of VS_FIXEDFILEINFO.
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOS = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    // String blocks by their name, e.g. u"041104b0", each mapping keys to values.
    std::map<std::u16string, std::map<std::u16string, std::u16string>> strings;
    // Var "Translation" pairs: language id, code page.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
};

struct MenuItem {
    std::u16string text;  // empty with `separator`
    std::uint16_t id = 0;
    std::uint16_t flags = 0;  // MF_* as stored
    bool separator = false;
    std::vector<MenuItem> popup;  // items of a popup; empty otherwise
};

class ResourceSet {
public:
    // Reads a .res file's bytes; throws std::runtime_error when they are not a valid .res.
    static ResourceSet parse(std::span<const std::uint8_t> bytes);
    static ResourceSet load(const std::string& path);

    // Entry of the string table, with its language ignored; nullopt when there is none.
    std::optional<std::u16string> string(unsigned id) const;
    // The same entry without a copy; the pointer lives as long as the set.
    const std::u16string* stringRef(unsigned id) const {
        auto it = strings_.find(id);
        return it == strings_.end() ? nullptr : &it->second;
    }
    const GroupIcon* groupIcon(unsigned id) const;
    std::vector<unsigned> groupIconIds() const;
    std::optional<VersionInfo> version() const;
    // The top-level items of a menu resource.
    std::optional<std::vector<MenuItem>> menu(unsigned id) const;
    // Language of the first resource of the given type and id (0 when unknown).
    std::uint16_t language(unsigned type, unsigned id) const;

private:
    struct Raw {
        std::uint16_t language;
        std::vector<std::uint8_t> data;
    };
    // Only numeric types and names are used by the programs.
    std::map<std::pair<unsigned, unsigned>, Raw> raw_;
    std::map<unsigned, std::u16string> strings_;
    std::map<unsigned, GroupIcon> icons_;
    std::map<unsigned, std::vector<MenuItem>> menus_;
    std::optional<VersionInfo> version_;
};

}  // namespace sim
