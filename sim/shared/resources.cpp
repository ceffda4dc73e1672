#include "resources.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace sim {

namespace {

// Menu item flags as a menu template stores them.
constexpr std::uint16_t kItemPopup = 0x10;
constexpr std::uint16_t kItemLast = 0x80;
constexpr std::uint16_t kItemSeparator = 0x800;

// Deeper menus than this are not drawn by anyone; the limit keeps hostile input off the stack.
constexpr int kMaxMenuDepth = 16;

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error("malformed .res: " + what); }

std::size_t align4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

// Bounds-checked little-endian reads over one resource's bytes.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }

    std::uint8_t u8(std::size_t at) const {
        need(at, 1);
        return bytes_[at];
    }
    std::uint16_t u16(std::size_t at) const {
        need(at, 2);
        return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    std::uint32_t u32(std::size_t at) const {
        need(at, 4);
        return static_cast<std::uint32_t>(u16(at)) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
    }

    // A NUL-terminated UTF-16 string starting at `at` that must end before `limit`;
    // `at` is moved past the terminator.
    std::u16string sz(std::size_t& at, std::size_t limit) const {
        limit = std::min(limit, bytes_.size());
        std::u16string text;
        for (;;) {
            if (at + 2 > limit) fail("unterminated string");
            const char16_t c = u16(at);
            at += 2;
            if (c == 0) return text;
            text.push_back(c);
        }
    }

    void need(std::size_t at, std::size_t count) const {
        if (at > bytes_.size() || count > bytes_.size() - at) fail("data ends too early");
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// A TYPE or NAME field of an entry header: 0xFFFF and a number, or a string.
struct Ordinal {
    bool numeric = false;
    unsigned id = 0;
};

Ordinal readOrdinal(const Reader& r, std::size_t& at, std::size_t limit) {
    if (at + 2 > limit) fail("entry header too short");
    if (r.u16(at) == 0xFFFF) {
        if (at + 4 > limit) fail("entry header too short");
        Ordinal o{true, r.u16(at + 2)};
        at += 4;
        return o;
    }
    r.sz(at, limit);
    return Ordinal{};
}

std::map<unsigned, std::u16string> parseStringBlock(unsigned block, std::span<const std::uint8_t> data) {
    if (block == 0) fail("string table block 0");
    const Reader r(data);
    std::map<unsigned, std::u16string> strings;
    std::size_t at = 0;
    for (unsigned i = 0; i < 16; ++i) {
        const std::size_t length = r.u16(at);
        at += 2;
        r.need(at, length * 2);
        // A zero length is how the table says the string does not exist.
        if (length > 0) {
            std::u16string text;
            for (std::size_t k = 0; k < length; ++k) text.push_back(r.u16(at + 2 * k));
            strings[(block - 1) * 16 + i] = std::move(text);
        }
        at += length * 2;
    }
    return strings;
}

// Checks that a device-independent bitmap icon holds all the pixels its header promises.
void checkIconBitmap(std::span<const std::uint8_t> data) {
    if (!isPngImage(data)) iconBitmapLayout(data);
}

GroupIcon parseGroupIcon(std::span<const std::uint8_t> data,
                         const std::map<std::pair<unsigned, unsigned>, std::vector<std::uint8_t>>& images) {
    const Reader r(data);
    if (r.u16(0) != 0 || r.u16(2) != 1) fail("group icon directory of the wrong kind");
    const unsigned count = r.u16(4);
    r.need(6, std::size_t{count} * 14);
    GroupIcon group;
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t at = 6 + std::size_t{i} * 14;
        const unsigned imageId = r.u16(at + 12);
        const auto found = images.find({kResourceIcon, imageId});
        if (found == images.end()) fail("group icon refers to missing icon image " + std::to_string(imageId));
        if (r.u32(at + 8) != found->second.size())
            fail("group icon gives the wrong size for image " + std::to_string(imageId));
        checkIconBitmap(found->second);

        IconImage image;
        image.width = r.u8(at) == 0 ? 256 : r.u8(at);
        image.height = r.u8(at + 1) == 0 ? 256 : r.u8(at + 1);
        image.colorCount = r.u8(at + 2);
        image.bitCount = r.u16(at + 6);
        if (image.bitCount == 0 && !isPngImage(found->second)) image.bitCount = Reader(found->second).u16(14);
        image.data = found->second;
        group.images.push_back(std::move(image));
    }
    return group;
}

std::vector<MenuItem> parseMenuItems(const Reader& r, std::size_t& at, int depth) {
    if (depth > kMaxMenuDepth) fail("menu nested too deeply");
    std::vector<MenuItem> items;
    for (;;) {
        MenuItem item;
        item.flags = r.u16(at);
        at += 2;
        const bool popup = item.flags & kItemPopup;
        if (!popup) {
            item.id = r.u16(at);
            at += 2;
        }
        item.text = r.sz(at, r.size());
        if (popup) {
            item.popup = parseMenuItems(r, at, depth + 1);
        } else {
            item.separator = (item.flags & kItemSeparator) || (item.id == 0 && item.text.empty());
        }
        const bool last = item.flags & kItemLast;
        items.push_back(std::move(item));
        if (last) return items;
    }
}

std::vector<MenuItem> parseMenu(std::span<const std::uint8_t> data) {
    const Reader r(data);
    const unsigned version = r.u16(0);
    // Version 1 is the extended template, which none of the programs use.
    if (version != 0) fail("menu template version " + std::to_string(version) + " is not supported");
    std::size_t at = 4 + std::size_t{r.u16(2)};
    return parseMenuItems(r, at, 0);
}

// One block of a version resource: wLength, wValueLength, wType, the key, the value, the children.
struct VersionNode {
    std::u16string key;
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;
    std::size_t valueStart = 0;
    std::size_t end = 0;
};

VersionNode readVersionNode(const Reader& r, std::size_t at, std::size_t limit) {
    VersionNode node;
    const std::size_t length = r.u16(at);
    if (length < 6 || length > limit - at) fail("version block of impossible length");
    node.end = at + length;
    node.valueLength = r.u16(at + 2);
    node.type = r.u16(at + 4);
    std::size_t p = at + 6;
    node.key = r.sz(p, node.end);
    node.valueStart = std::min(align4(p), node.end);
    return node;
}

// Blocks that hold other blocks carry no value of their own, so their children start after the key.
template <typename Visit>
void forEachChild(const Reader& r, const VersionNode& parent, std::size_t firstChild, Visit visit) {
    std::size_t at = align4(firstChild);
    while (at < parent.end) {
        if (parent.end - at < 6) fail("version block too short");
        const VersionNode child = readVersionNode(r, at, parent.end);
        visit(child);
        at = align4(child.end);
    }
}

// Text values may be counted in characters or in bytes depending on the compiler, so the
// string is taken up to its terminator or the end of the block instead.
std::u16string versionText(const Reader& r, const VersionNode& node) {
    std::u16string text;
    if (node.valueLength == 0) return text;
    for (std::size_t at = node.valueStart; at + 2 <= node.end; at += 2) {
        const char16_t c = r.u16(at);
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

VersionInfo parseVersion(std::span<const std::uint8_t> data) {
    const Reader r(data);
    if (data.size() < 6) fail("version resource too short");
    const VersionNode root = readVersionNode(r, 0, data.size());
    if (root.key != u"VS_VERSION_INFO") fail("version resource without VS_VERSION_INFO");

    VersionInfo info;
    if (root.valueLength != 0) {
        if (root.valueLength < 52 || root.valueLength > root.end - root.valueStart)
            fail("fixed file info of the wrong size");
        const std::size_t f = root.valueStart;
        if (r.u32(f) != 0xFEEF04BD) fail("fixed file info without its signature");
        const std::uint32_t words[4] = {r.u32(f + 8), r.u32(f + 12), r.u32(f + 16), r.u32(f + 20)};
        for (int i = 0; i < 2; ++i) {
            info.fileVersion[2 * i] = static_cast<std::uint16_t>(words[i] >> 16);
            info.fileVersion[2 * i + 1] = static_cast<std::uint16_t>(words[i]);
            info.productVersion[2 * i] = static_cast<std::uint16_t>(words[2 + i] >> 16);
            info.productVersion[2 * i + 1] = static_cast<std::uint16_t>(words[2 + i]);
        }
        info.fileFlagsMask = r.u32(f + 24);
        info.fileFlags = r.u32(f + 28);
        info.fileOS = r.u32(f + 32);
        info.fileType = r.u32(f + 36);
        info.fileSubtype = r.u32(f + 40);
    }

    forEachChild(r, root, root.valueStart + root.valueLength, [&](const VersionNode& group) {
        if (group.key == u"StringFileInfo") {
            forEachChild(r, group, group.valueStart, [&](const VersionNode& table) {
                auto& entries = info.strings[table.key];
                forEachChild(r, table, table.valueStart, [&](const VersionNode& entry) {
                    entries.emplace(entry.key, versionText(r, entry));
                });
            });
        } else if (group.key == u"VarFileInfo") {
            forEachChild(r, group, group.valueStart, [&](const VersionNode& var) {
                if (var.key != u"Translation") return;
                if (var.valueLength > var.end - var.valueStart || var.valueLength % 4 != 0)
                    fail("translation list of the wrong size");
                for (std::size_t at = var.valueStart; at < var.valueStart + var.valueLength; at += 4)
                    info.translations.emplace_back(r.u16(at), r.u16(at + 2));
            });
        }
    });
    return info;
}

}  // namespace

const IconImage* GroupIcon::best(int width, int height) const {
    const IconImage* chosen = nullptr;
    long chosenDistance = 0;
    for (const IconImage& image : images) {
        const long distance = std::labs(static_cast<long>(image.width) - width) +
                              std::labs(static_cast<long>(image.height) - height);
        bool better = chosen == nullptr || distance < chosenDistance;
        if (chosen && distance == chosenDistance) {
            // Shrinking a larger image looks better than blowing up a smaller one; then more colours win.
            const long area = static_cast<long>(image.width) * image.height;
            const long chosenArea = static_cast<long>(chosen->width) * chosen->height;
            better = area > chosenArea || (area == chosenArea && image.bitCount > chosen->bitCount);
        }
        if (better) {
            chosen = &image;
            chosenDistance = distance;
        }
    }
    return chosen;
}

ResourceSet ResourceSet::parse(std::span<const std::uint8_t> bytes) {
    const Reader r(bytes);
    // Every .res starts with an empty entry of 32 bytes that marks the format.
    static constexpr std::uint8_t marker[32] = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    if (bytes.size() < 32 || !std::equal(marker, marker + 32, bytes.begin())) fail("not a 32-bit resource file");

    ResourceSet set;
    std::map<std::pair<unsigned, unsigned>, std::vector<std::uint8_t>> icons;
    std::size_t at = 32;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8) fail("entry header too short");
        const std::size_t dataSize = r.u32(at);
        const std::size_t headerSize = r.u32(at + 4);
        if (headerSize < 24 || headerSize % 4 != 0 || headerSize > bytes.size() - at)
            fail("entry header of impossible size");
        const std::size_t headerEnd = at + headerSize;
        if (dataSize > bytes.size() - headerEnd) fail("entry data runs past the end of the file");

        std::size_t p = at + 8;
        const Ordinal type = readOrdinal(r, p, headerEnd);
        const Ordinal name = readOrdinal(r, p, headerEnd);
        p = align4(p);
        // DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
        if (p + 16 > headerEnd) fail("entry header too short");
        const std::uint16_t language = r.u16(p + 6);

        const auto data = bytes.subspan(headerEnd, dataSize);
        if (type.numeric && name.numeric && type.id != 0) {
            const std::pair key{type.id, name.id};
            // The first of several languages is the one the programs get.
            if (!set.raw_.contains(key)) {
                set.raw_.emplace(key, Raw{language, std::vector<std::uint8_t>(data.begin(), data.end())});
            }
        }
        at = align4(headerEnd + dataSize);
    }

    for (const auto& [key, raw] : set.raw_) {
        const auto [type, id] = key;
        switch (type) {
        case kResourceIcon:
            icons.emplace(key, raw.data);
            break;
        case kResourceString:
            for (auto& [stringId, text] : parseStringBlock(id, raw.data))
                set.strings_.emplace(stringId, std::move(text));
            break;
        case kResourceMenu:
            set.menus_.emplace(id, parseMenu(raw.data));
            break;
        case kResourceVersion:
            if (!set.version_) set.version_ = parseVersion(raw.data);
            break;
        default:
            break;
        }
    }
    for (const auto& [key, raw] : set.raw_)
        if (key.first == kResourceGroupIcon) set.icons_.emplace(key.second, parseGroupIcon(raw.data, icons));
    return set;
}

ResourceSet ResourceSet::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open resource file " + path);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw std::runtime_error("cannot read resource file " + path);
    try {
        return parse(bytes);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
}

std::optional<std::u16string> ResourceSet::string(unsigned id) const {
    const auto found = strings_.find(id);
    if (found == strings_.end()) return std::nullopt;
    return found->second;
}

const GroupIcon* ResourceSet::groupIcon(unsigned id) const {
    const auto found = icons_.find(id);
    return found == icons_.end() ? nullptr : &found->second;
}

std::vector<unsigned> ResourceSet::groupIconIds() const {
    std::vector<unsigned> ids;
    for (const auto& entry : icons_) ids.push_back(entry.first);
    return ids;
}

std::optional<VersionInfo> ResourceSet::version() const { return version_; }

std::optional<std::vector<MenuItem>> ResourceSet::menu(unsigned id) const {
    const auto found = menus_.find(id);
    if (found == menus_.end()) return std::nullopt;
    return found->second;
}

std::uint16_t ResourceSet::language(unsigned type, unsigned id) const {
    const auto found = raw_.find({type, id});
    return found == raw_.end() ? 0 : found->second.language;
}

bool isPngImage(std::span<const std::uint8_t> data) {
    static constexpr std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return data.size() >= 8 && std::equal(sig, sig + 8, data.begin());
}

IconBitmapLayout iconBitmapLayout(std::span<const std::uint8_t> data) {
    const Reader r(data);
    const std::uint32_t headerSize = r.u32(0);
    if (headerSize < 40 || headerSize > data.size()) fail("icon image without a bitmap header");
    const auto width = static_cast<std::int32_t>(r.u32(4));
    const auto height = static_cast<std::int32_t>(r.u32(8));
    IconBitmapLayout layout;
    layout.bitCount = r.u16(14);
    layout.compression = r.u32(16);
    const std::uint32_t colorsUsed = r.u32(32);
    if (width <= 0 || width > 1024 || height <= 0 || height > 2048 || height % 2 != 0)
        fail("icon image of impossible size");
    const unsigned bits = layout.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        fail("icon image with " + std::to_string(bits) + " bits per pixel");
    if (layout.compression != 0 && layout.compression != 3) fail("compressed icon image");
    layout.width = width;
    layout.height = height / 2;
    layout.paletteEntries = colorsUsed;
    if (layout.paletteEntries == 0 && bits <= 8) layout.paletteEntries = 1u << bits;
    if (layout.paletteEntries > 256) fail("icon palette too large");
    layout.paletteAt = headerSize + (layout.compression == 3 ? 12 : 0);
    layout.xorStride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    layout.andStride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    layout.xorAt = layout.paletteAt + layout.paletteEntries * 4;
    layout.andAt = layout.xorAt + layout.xorStride * layout.height;
    if (layout.andAt + layout.andStride * layout.height > data.size()) fail("icon image shorter than its bitmap");
    return layout;
}

}  // namespace sim
