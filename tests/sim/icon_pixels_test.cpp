// Icon images decoded to pixels, as the screen pictures draw them.
#include "icon_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace icon_pixels_test {

using Bytes = std::vector<std::uint8_t>;

// The 16-colour palette the art files are drawn with; '.' is transparent.
const std::map<char, std::uint32_t> kArtColours = {
    {'K', 0x000000}, {'r', 0x800000}, {'g', 0x008000}, {'y', 0x808000}, {'b', 0x000080}, {'m', 0x800080},
    {'c', 0x008080}, {'w', 0xC0C0C0}, {'k', 0x808080}, {'R', 0xFF0000}, {'G', 0x00FF00}, {'Y', 0xFFFF00},
    {'B', 0x0000FF}, {'M', 0xFF00FF}, {'C', 0x00FFFF}, {'W', 0xFFFFFF},
};

// The rows of the image of the given size in an art file.
std::vector<std::string> artRows(const std::string& path, int size) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::vector<std::string> rows;
    std::string line;
    bool inImage = false;
    while (std::getline(in, line) && rows.size() < static_cast<std::size_t>(size)) {
        if (line.starts_with("size ")) inImage = std::stoi(line.substr(5)) == size;
        else if (inImage && !line.empty() && line[0] != '#') rows.push_back(line.substr(0, size));
    }
    return rows;
}

TEST(IconPixels, BuiltIconsShowTheirArtWithTransparentBackground) {
    struct Case {
        const char* res;
        unsigned group;
        const char* art;
    };
    for (const Case& c : {Case{"voltmarap", 101, "battery-monitor/icons/app.txt"},
                          Case{"voltmarap", 106, "battery-monitor/icons/warning.txt"},
                          Case{"rcbridge", 102, "remote-bridge/icons/tray.txt"}}) {
        SCOPED_TRACE(c.art);
        const sim::ResourceSet set = sim::ResourceSet::load(std::string(POCKET_IMAGE_DIR "/") + c.res + ".res");
        ASSERT_NE(set.groupIcon(c.group), nullptr);
        const sim::IconImage* image = set.groupIcon(c.group)->best(16, 16);
        ASSERT_NE(image, nullptr);
        const sim::IconPixels pixels = sim::decodeIcon(*image);
        ASSERT_EQ(pixels.width, 16);
        ASSERT_EQ(pixels.height, 16);
        const auto rows = artRows(std::string(POCKET_SOURCE_DIR "/") + c.art, 16);
        ASSERT_EQ(rows.size(), 16u);
        int transparent = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const char letter = rows[y][x];
                const std::uint32_t expected = letter == '.' ? 0 : 0xFF000000u | kArtColours.at(letter);
                transparent += letter == '.';
                ASSERT_EQ(pixels.argb[y * 16 + x], expected) << "x " << x << " y " << y << " '" << letter << "'";
            }
        EXPECT_GT(transparent, 0);
    }
}

// A 2 x 2 icon bitmap: `pixels` are palette indices or colours (0xAARRGGBB), top row first.
Bytes bitmap(unsigned bitCount, const std::vector<std::uint32_t>& palette, const std::vector<std::uint32_t>& pixels,
             std::uint8_t maskTopRow = 0, std::uint8_t maskBottomRow = 0) {
    Bytes b;
    auto put32 = [&b](std::uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> 8 * i)); };
    put32(40), put32(2), put32(4), put32(1 | bitCount << 16), put32(0);
    put32(0), put32(0), put32(0), put32(static_cast<std::uint32_t>(palette.size())), put32(0);
    for (std::uint32_t colour : palette) put32(colour);
    for (int row : {1, 0}) {  // bottom row first
        Bytes line;
        const std::uint32_t left = pixels[row * 2], right = pixels[row * 2 + 1];
        switch (bitCount) {
        case 1: line = {static_cast<std::uint8_t>(left << 7 | right << 6)}; break;
        case 8: line = {static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(right)}; break;
        case 24:
            for (std::uint32_t p : {left, right}) line.insert(line.end(), {std::uint8_t(p), std::uint8_t(p >> 8), std::uint8_t(p >> 16)});
            break;
        default:
            for (std::uint32_t p : {left, right})
                line.insert(line.end(), {std::uint8_t(p), std::uint8_t(p >> 8), std::uint8_t(p >> 16), std::uint8_t(p >> 24)});
        }
        line.resize((line.size() + 3) / 4 * 4, 0);  // rows end on a 4-byte boundary
        b.insert(b.end(), line.begin(), line.end());
    }
    for (std::uint8_t mask : {maskBottomRow, maskTopRow}) b.insert(b.end(), {mask, 0, 0, 0});
    return b;
}

TEST(IconPixels, EachDepthDecodesTopRowFirstWithItsMask) {
    struct Case {
        const char* name;
        Bytes data;
        sim::AlphaForm form;
        std::vector<std::uint32_t> expected;
    };
    const std::vector<std::uint32_t> palette = {0x00FF0000, 0x000000FF, 0x0000FF00};
    const std::vector<Case> cases = {
        {"1 bit, top right masked", bitmap(1, palette, {1, 0, 0, 1}, 0x40), sim::AlphaForm::straight,
         {0xFF0000FF, 0, 0xFFFF0000, 0xFF0000FF}},
        {"8 bits, an index past the palette is black", bitmap(8, palette, {2, 7, 0, 1}, 0, 0x80), sim::AlphaForm::straight,
         {0xFF00FF00, 0xFF000000, 0, 0xFF0000FF}},
        {"24 bits", bitmap(24, {}, {0x123456, 0xABCDEF, 0, 0xFFFFFF}), sim::AlphaForm::straight,
         {0xFF123456, 0xFFABCDEF, 0xFF000000, 0xFFFFFFFF}},
        {"32 bits with alpha, straight", bitmap(32, {}, {0x80FF8040, 0xFF010203, 0, 0xFFFFFFFF}, 0, 0x40),
         sim::AlphaForm::straight, {0x80FF8040, 0xFF010203, 0, 0}},
        {"32 bits with alpha, premultiplied", bitmap(32, {}, {0x80FF8040, 0xFF010203, 0, 0xFFFFFFFF}),
         sim::AlphaForm::premultiplied, {0x80804020, 0xFF010203, 0, 0xFFFFFFFF}},
        {"32 bits without alpha: the mask alone", bitmap(32, {}, {0x00FF0000, 0x0000FF00, 0x000000FF, 0}, 0x80),
         sim::AlphaForm::straight, {0, 0xFF00FF00, 0xFF0000FF, 0xFF000000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const sim::IconPixels pixels = sim::decodeIcon(sim::IconImage{2, 2, 0, 0, c.data}, c.form);
        ASSERT_EQ(pixels.width, 2);
        ASSERT_EQ(pixels.height, 2);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(pixels.argb[i], c.expected[i]) << "pixel " << i;
    }
}

TEST(IconPixels, ImagesThatCannotBeDrawnAreRefused) {
    const Bytes good = bitmap(8, {0xFFFFFF}, {0, 0, 0, 0});
    auto with = [&good](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    for (const Bytes& bad : {Bytes(good.begin(), good.end() - 1), Bytes(good.begin(), good.begin() + 30),
                             with(4, 0),                       // no width
                             with(8, 3),                       // an odd doubled height
                             with(14, 16),                     // 16 bits per pixel
                             with(16, 1),                      // run-length compressed
                             with(32, 0), Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}}) {
        EXPECT_THROW(sim::decodeIcon(sim::IconImage{2, 2, 0, 8, bad}), std::runtime_error) << bad.size();
    }
}

}  // namespace icon_pixels_test
