// What rcbridge ships besides its code: the compiled resources and the beep installed beside it.
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

BUILT_RESOURCES(rcbridge, "rcbridge")

// ---- Menu ----

TEST(RcbridgeResources, TrayMenuIsOnePopupWithAboutSeparatorExit) {
    const auto menu = rcbridge().menu(101);
    ASSERT_TRUE(menu.has_value());
    ASSERT_EQ(menu->size(), 1u);
    const sim::MenuItem& popup = menu->front();
    EXPECT_EQ(popup.text, u"popup");
    EXPECT_EQ(popup.flags, 0x10 | 0x80);  // MF_POPUP, and the last top-level item

    // Text, id and flags of each item: the popup is GetSubMenu(menu, 0).
    struct Item {
        std::u16string text;
        std::uint16_t id;
        bool separator;
        std::uint16_t flags;
    };
    const std::vector<Item> expected = {
        {u"\uFF8A\uFF9E\uFF70\uFF7C\uFF9E\uFF6E\uFF9D\u60C5\u5831...", 40006, false, 0x00},  // ﾊﾞｰｼﾞｮﾝ情報...
        {u"", 0, true, 0x00},
        {u"\u7D42\u4E86", 40005, false, 0x80},  // 終了, with MF_END
    };
    ASSERT_EQ(popup.popup.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const sim::MenuItem& item = popup.popup[i];
        EXPECT_EQ(item.text, expected[i].text) << "item " << i;
        EXPECT_EQ(item.id, expected[i].id) << "item " << i;
        EXPECT_EQ(item.separator, expected[i].separator) << "item " << i;
        EXPECT_EQ(item.flags, expected[i].flags) << "item " << i;
        EXPECT_TRUE(item.popup.empty()) << "item " << i;
    }
    EXPECT_FALSE(rcbridge().menu(102).has_value());
}

// ---- About text ----

TEST(RcbridgeResources, AboutTextHasItsFourLinesWithinTheBox) {
    const auto text = rcbridge().string(40010);
    ASSERT_TRUE(text.has_value());
    // The About box loads it into 128 characters, terminator included.
    EXPECT_LE(text->size(), 127u);

    std::vector<std::u16string> lines(1);
    for (char16_t c : *text) {
        EXPECT_NE(c, u'\r') << "lines end with a single line feed";
        if (c == u'\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    ASSERT_EQ(lines.size(), 4u);
    // Tunelark ﾘﾓｺﾝ ﾕｰﾃｨﾘﾃｨ ver.1.02
    EXPECT_EQ(lines[0], u"Tunelark \uFF98\uFF93\uFF7A\uFF9D \uFF95\uFF70\uFF83\uFF68\uFF98\uFF83\uFF68 ver.1.02");
    EXPECT_EQ(lines[1], u"for Toshiba GENIOe Series");
    EXPECT_EQ(lines[2], u"");
    EXPECT_FALSE(lines[3].empty());
}

TEST(RcbridgeResources, HasNoOtherStrings) {
    for (unsigned id : {0u, 1u, 40005u, 40006u, 40009u, 40011u}) EXPECT_FALSE(rcbridge().string(id).has_value()) << id;
}

// ---- Icon ----

TEST(RcbridgeResources, TrayIconIsTheOnlyGroupIn32And16PixelsOf16Colours) {
    EXPECT_EQ(rcbridge().groupIconIds(), (std::vector<unsigned>{102}));
    const sim::GroupIcon* icon = rcbridge().groupIcon(102);
    ASSERT_NE(icon, nullptr);
    std::vector<int> sizes;
    for (const sim::IconImage& image : icon->images) {
        EXPECT_EQ(image.width, image.height);
        EXPECT_EQ(image.bitCount, 4);
        EXPECT_EQ(image.colorCount, 16);
        sizes.push_back(image.width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
    // The notification icon is loaded at 16 x 16.
    const sim::IconImage* small = icon->best(16, 16);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->width, 16);
}

TEST(RcbridgeResources, AreJapanese) {
    const ResourceSet& res = rcbridge();
    EXPECT_EQ(res.language(kResourceMenu, 101), kJapanese);
    EXPECT_EQ(res.language(kResourceString, 40010 / 16 + 1), kJapanese);
    EXPECT_EQ(res.language(kResourceGroupIcon, 102), kJapanese);
    EXPECT_EQ(res.language(kResourceVersion, 1), kJapanese);
}

// ---- The beep installed beside the program ----

TEST(RcbridgeBeep, IsAShortPcmWaveThatStartsAndEndsInSilence) {
    const Bytes wav = readFile(POCKET_IMAGE_DIR "/rcbridge.files/beep.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(u32(wav, 4), wav.size() - 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u32(wav, 16), 16u);
    EXPECT_EQ(u16(wav, 20), 1);  // PCM
    EXPECT_EQ(u16(wav, 22), 1);  // mono
    const std::uint32_t rate = u32(wav, 24);
    EXPECT_EQ(u32(wav, 28), rate);  // bytes per second
    EXPECT_EQ(u16(wav, 32), 1);     // block align
    EXPECT_EQ(u16(wav, 34), 8);     // bits per sample
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    const std::uint32_t count = u32(wav, 40);
    // One pad byte after an odd-sized chunk.
    ASSERT_EQ(wav.size(), 44u + count + (count & 1));

    // Short enough not to hold up the power-off sequence, long enough to hear.
    ASSERT_GT(rate, 0u);
    const double ms = 1000.0 * count / rate;
    EXPECT_GE(ms, 50.0);
    EXPECT_LE(ms, 250.0);

    // 8-bit samples are centred on 128: a start or end away from it clicks.
    const auto sample = [&](std::size_t i) { return static_cast<int>(wav.at(44 + i)); };
    EXPECT_NEAR(sample(0), 128, 2);
    EXPECT_NEAR(sample(count - 1), 128, 2);
    int low = 255, high = 0;
    for (std::size_t i = 0; i < count; ++i) {
        low = std::min(low, sample(i));
        high = std::max(high, sample(i));
    }
    EXPECT_GE(high - low, 64) << "too quiet to hear";
}

}  // namespace
