// What appshut ships besides its code: its icon (its version block: version_blocks_test.cpp).
#include "resource_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace resource_test;

constexpr unsigned kAppIcon = 104;

BUILT_RESOURCES(appshut, "appshut")

// ---- Icon ----

TEST(AppshutResources, ClassIconIsTheOnlyGroup) {
    EXPECT_EQ(appshut().groupIconIds(), (std::vector<unsigned>{kAppIcon}));
}

TEST(AppshutResources, ClassIconHas32And16PixelImagesOf16Colours) {
    const sim::GroupIcon* icon = appshut().groupIcon(kAppIcon);
    ASSERT_NE(icon, nullptr);
    std::vector<int> sizes;
    for (const sim::IconImage& image : icon->images) {
        EXPECT_EQ(image.width, image.height);
        EXPECT_EQ(image.bitCount, 4);
        EXPECT_EQ(image.colorCount, 16);
        sizes.push_back(image.width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
}

// Each size the shell asks for finds its own drawing, and the drawing is neither empty nor a
// filled square: some pixels opaque, some transparent.
TEST(AppshutResources, EachSizeIsDrawnInItsOwnImage) {
    const sim::GroupIcon* icon = appshut().groupIcon(kAppIcon);
    ASSERT_NE(icon, nullptr);
    for (int size : {32, 16}) {
        SCOPED_TRACE(size);
        const sim::IconImage* image = icon->best(size, size);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, size);

        // BITMAPINFOHEADER (40 bytes), 16 palette entries, 4-bit colour rows, then the 1-bit AND
        // mask; rows are padded to 4 bytes, and the mask's bit is set where the pixel is transparent.
        const std::size_t colourRow = (static_cast<std::size_t>(size) * 4 + 31) / 32 * 4;
        const std::size_t maskRow = (static_cast<std::size_t>(size) + 31) / 32 * 4;
        const std::size_t maskAt = 40 + 16 * 4 + colourRow * size;
        ASSERT_EQ(image->data.size(), maskAt + maskRow * size);
        int opaque = 0;
        int transparent = 0;
        for (int row = 0; row < size; ++row) {
            for (int column = 0; column < size; ++column) {
                const std::uint8_t bits = image->data[maskAt + row * maskRow + column / 8];
                if (bits & (0x80 >> (column % 8)))
                    ++transparent;
                else
                    ++opaque;
            }
        }
        EXPECT_GT(opaque, size * size / 4);
        EXPECT_GT(transparent, 0);
    }
}

// ---- Languages ----

TEST(AppshutResources, IconIsJapaneseAndVersionIsUsEnglish) {
    const ResourceSet& res = appshut();
    EXPECT_EQ(res.language(kResourceGroupIcon, kAppIcon), kJapanese);
    EXPECT_EQ(res.language(kResourceVersion, 1), kEnglishUs);
}

TEST(AppshutResources, HasNoMenusOrStrings) {
    const ResourceSet& res = appshut();
    for (unsigned id : {1u, 101u, 104u}) EXPECT_FALSE(res.menu(id).has_value()) << id;
    for (unsigned id : {0u, 1u, 104u}) EXPECT_FALSE(res.string(id).has_value()) << id;
    EXPECT_EQ(res.language(kResourceMenu, 104), 0);
    EXPECT_EQ(res.language(kResourceString, 104 / 16 + 1), 0);
}

}  // namespace
