#include "icon_pixels.h"

#include <stdexcept>
#include <string>

namespace sim {

namespace {

// This folder is compiled in batches: names here must not clash with other files' local names.
[[noreturn]] void iconFail(const std::string& what) { throw std::runtime_error("icon image: " + what); }

class IconBytes {
public:
    explicit IconBytes(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    std::uint8_t u8(std::uint64_t at) const {
        if (at >= bytes_.size()) iconFail("data ends too early");
        return bytes_[at];
    }
    std::uint16_t u16(std::uint64_t at) const { return static_cast<std::uint16_t>(u8(at) | u8(at + 1) << 8); }
    std::uint32_t u32(std::uint64_t at) const {
        return static_cast<std::uint32_t>(u16(at)) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
    }
    std::uint64_t size() const { return bytes_.size(); }

private:
    const std::vector<std::uint8_t>& bytes_;
};

std::uint32_t premultiply(std::uint32_t argb) {
    const std::uint32_t a = argb >> 24;
    if (a == 255) return argb;
    auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | scale(argb >> 16 & 0xFF) << 16 | scale(argb >> 8 & 0xFF) << 8 | scale(argb & 0xFF);
}

}  // namespace

IconPixels decodeIcon(const IconImage& image, AlphaForm form) {
    const IconBytes in(image.data);
    if (isPngImage(image.data)) iconFail("PNG images are not drawn");
    const IconBitmapLayout layout = iconBitmapLayout(image.data);
    // Icons are at most 256 pixels a side.
    if (layout.width > 256 || layout.height > 256) iconFail("impossible size");
    const unsigned bitCount = layout.bitCount;
    if (bitCount == 16) iconFail("16 bits per pixel are not drawn");
    if (layout.compression != 0) iconFail("bit-field images are not drawn");
    const int width = layout.width;
    const int height = layout.height;
    const std::uint64_t paletteEntries = layout.paletteEntries;
    const std::uint64_t paletteAt = layout.paletteAt;
    const std::uint64_t xorStride = layout.xorStride;
    const std::uint64_t andStride = layout.andStride;
    const std::uint64_t xorAt = layout.xorAt;
    const std::uint64_t andAt = layout.andAt;

    auto paletteColour = [&](unsigned index) -> std::uint32_t {
        // An index past a short palette has no colour of its own: black, as an empty entry would be.
        if (index >= paletteEntries) return 0xFF000000;
        const std::uint64_t at = paletteAt + std::uint64_t{index} * 4;
        return 0xFF000000u | std::uint32_t{in.u8(at + 2)} << 16 | std::uint32_t{in.u8(at + 1)} << 8 | in.u8(at);
    };

    // A 32-bit image whose alpha bytes are all zero predates alpha: its mask alone says what shows.
    bool ownAlpha = false;
    if (bitCount == 32)
        for (int row = 0; row < height && !ownAlpha; ++row)
            for (int x = 0; x < width && !ownAlpha; ++x) ownAlpha = in.u8(xorAt + row * xorStride + x * 4 + 3) != 0;

    IconPixels out;
    out.width = width;
    out.height = height;
    out.argb.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const int row = height - 1 - y;  // stored bottom row first
        const std::uint64_t xorRow = xorAt + row * xorStride;
        const std::uint64_t andRow = andAt + row * andStride;
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            switch (bitCount) {
            case 1: pixel = paletteColour(in.u8(xorRow + x / 8) >> (7 - x % 8) & 1); break;
            case 4: pixel = paletteColour(in.u8(xorRow + x / 2) >> (x % 2 == 0 ? 4 : 0) & 0xF); break;
            case 8: pixel = paletteColour(in.u8(xorRow + x)); break;
            case 24:
                pixel = 0xFF000000u | std::uint32_t{in.u8(xorRow + x * 3 + 2)} << 16 |
                        std::uint32_t{in.u8(xorRow + x * 3 + 1)} << 8 | in.u8(xorRow + x * 3);
                break;
            default:
                pixel = in.u32(xorRow + x * 4);
                if (!ownAlpha) pixel |= 0xFF000000u;
                break;
            }
            if (in.u8(andRow + x / 8) >> (7 - x % 8) & 1) pixel = 0;
            out.argb[static_cast<std::size_t>(y) * width + x] = form == AlphaForm::premultiplied ? premultiply(pixel) : pixel;
        }
    }
    return out;
}

}  // namespace sim
