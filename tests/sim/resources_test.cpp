#include "resource_test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace resource_test;

std::string sourceDir() {
#ifdef POCKET_SOURCE_DIR
    return POCKET_SOURCE_DIR;
#else
    std::string file = __FILE__;  // <source>/tests/sim/resources_test.cpp
    for (int i = 0; i < 3; ++i) file = file.substr(0, file.find_last_of('/'));
    return file;
#endif
}

BUILT_RESOURCES(voltmarap, "voltmarap")

// ---- Writing .res files by hand, for the inputs windres never makes ----

void put16(Bytes& b, std::initializer_list<unsigned> words) {
    for (unsigned v : words) b.insert(b.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
}
void put32(Bytes& b, std::uint32_t v) { put16(b, {v & 0xFFFF, v >> 16}); }
void putSz(Bytes& b, std::u16string_view s) {
    for (char16_t c : s) put16(b, {c});
    put16(b, {0});
}
void pad4(Bytes& b) { b.resize((b.size() + 3) / 4 * 4, 0); }

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes b;
    for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
    return b;
}

Bytes resFile() { return cat({Bytes{0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0}, Bytes(16, 0)}); }

void addEntry(Bytes& res, unsigned type, unsigned id, const Bytes& data, std::uint16_t language = kJapanese) {
    put32(res, static_cast<std::uint32_t>(data.size()));
    put32(res, 32);
    // Type, name, DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
    put16(res, {0xFFFF, type, 0xFFFF, id, 0, 0, 0x1030, language, 0, 0, 0, 0});
    res.insert(res.end(), data.begin(), data.end());
    pad4(res);
}

Bytes stringBlock(const std::vector<std::u16string>& texts) {
    Bytes b;
    for (std::size_t i = 0; i < 16; ++i) {
        const std::u16string text = i < texts.size() ? texts[i] : u"";
        put16(b, {static_cast<unsigned>(text.size())});
        for (char16_t c : text) put16(b, {c});
    }
    return b;
}

// One block of a version resource; `value` is written as is, `valueLength` as the compiler would.
Bytes versionNode(std::u16string_view key, unsigned type, const Bytes& value, unsigned valueLength,
                  const std::vector<Bytes>& children = {}) {
    Bytes b(6, 0);
    putSz(b, key);
    pad4(b);
    b.insert(b.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        pad4(b);
        b.insert(b.end(), child.begin(), child.end());
    }
    b[0] = static_cast<std::uint8_t>(b.size());
    b[1] = static_cast<std::uint8_t>(b.size() >> 8);
    b[2] = static_cast<std::uint8_t>(valueLength);
    b[3] = static_cast<std::uint8_t>(valueLength >> 8);
    b[4] = static_cast<std::uint8_t>(type);
    return b;
}

Bytes fixedFileInfo(std::uint32_t signature = 0xFEEF04BD) {
    Bytes b;
    put32(b, signature);
    b.resize(52, 0);
    return b;
}

Bytes resWith(unsigned type, unsigned id, const Bytes& data) {
    Bytes res = resFile();
    addEntry(res, type, id, data);
    return res;
}

// ---- The program's strings ----

struct StringCase {
    unsigned id;
    std::u16string text;
};

class VoltmarapString : public ::testing::TestWithParam<StringCase> {};

TEST_P(VoltmarapString, IsStoredExactly) {
    const auto text = voltmarap().string(GetParam().id);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VoltmarapString,
    ::testing::Values(
        StringCase{1, u"バッテリ情報"},
        StringCase{2, u"<HTML><BODY><P>バッテリ残量: %d %%%s<BR>連続バッテリ使用時間: %d 時間 %d 分</P>"
                      u"<p align=right><input type=button name='cmd:%d' value='リセット'></p></BODY></HTML>"},
        StringCase{3, u" (ACアダプタ接続)"},
        StringCase{4, u" (充電中)"},
        StringCase{5, u" (状態不明)"}),
    [](const auto& info) { return "Id" + std::to_string(info.param.id); });

TEST(VoltmarapResources, HasNoOtherStrings) {
    for (unsigned id : {0u, 6u, 15u, 16u, 17u, 40010u}) EXPECT_FALSE(voltmarap().string(id).has_value()) << id;
}

TEST(VoltmarapResources, AreJapanese) {
    const ResourceSet& res = voltmarap();
    EXPECT_EQ(res.language(kResourceString, 1), kJapanese);
    EXPECT_EQ(res.language(kResourceVersion, 1), kJapanese);
    for (unsigned id : res.groupIconIds()) EXPECT_EQ(res.language(kResourceGroupIcon, id), kJapanese) << id;
    EXPECT_EQ(res.language(kResourceMenu, 1), 0);
}

// ---- Icons ----

TEST(VoltmarapResources, HasExactlyTheIconsTheProgramLoads) {
    EXPECT_EQ(voltmarap().groupIconIds(), (std::vector<unsigned>{101, 102, 103, 104, 106, 107, 108}));
    EXPECT_EQ(voltmarap().groupIcon(105), nullptr);
}

struct IconCase {
    unsigned id;
    std::string art;  // stem of the pixel-art file
    std::vector<int> sizes;
};

class VoltmarapIcon : public ::testing::TestWithParam<IconCase> {};

TEST_P(VoltmarapIcon, HasItsSizesInSixteenColours) {
    const sim::GroupIcon* icon = voltmarap().groupIcon(GetParam().id);
    ASSERT_NE(icon, nullptr);
    std::vector<int> sizes;
    for (const sim::IconImage& image : icon->images) {
        EXPECT_EQ(image.width, image.height);
        EXPECT_EQ(image.bitCount, 4);
        EXPECT_EQ(image.colorCount, 16);
        sizes.push_back(image.width);
    }
    EXPECT_EQ(sizes, GetParam().sizes);
    const sim::IconImage* small = icon->best(16, 16);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->width, 16);
}

// Decodes a 4-bit icon image into palette colours, "." where the mask makes it transparent.
std::vector<std::string> decode(const sim::IconImage& image) {
    const Bytes& d = image.data;
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(d.at(at) | d.at(at + 1) << 8 | d.at(at + 2) << 16 | d.at(at + 3) << 24);
    };
    const std::uint32_t header = u32(0);
    const int n = static_cast<int>(u32(4));
    EXPECT_EQ(static_cast<int>(u32(8)), 2 * n);
    const std::size_t palette = header;
    const std::size_t xorBits = palette + 16 * 4;
    const std::size_t xorStride = (n * 4 + 31) / 32 * 4;
    const std::size_t andBits = xorBits + xorStride * n;
    const std::size_t andStride = (n + 31) / 32 * 4;
    EXPECT_EQ(d.size(), andBits + andStride * n);

    // The colours the art files name, by their RGB value.
    const std::map<std::uint32_t, char> letters = {
        {0x000000, 'K'}, {0x800000, 'r'}, {0x008000, 'g'}, {0x808000, 'y'}, {0x000080, 'b'}, {0x800080, 'm'},
        {0x008080, 'c'}, {0xC0C0C0, 'w'}, {0x808080, 'k'}, {0xFF0000, 'R'}, {0x00FF00, 'G'}, {0xFFFF00, 'Y'},
        {0x0000FF, 'B'}, {0xFF00FF, 'M'}, {0x00FFFF, 'C'}, {0xFFFFFF, 'W'}};
    std::vector<std::string> rows(n, std::string(n, '?'));
    for (int y = 0; y < n; ++y) {
        const std::size_t xorRow = xorBits + xorStride * (n - 1 - y);
        const std::size_t andRow = andBits + andStride * (n - 1 - y);
        for (int x = 0; x < n; ++x) {
            const int index = (d.at(xorRow + x / 2) >> (x % 2 ? 0 : 4)) & 0x0F;
            const bool clear = d.at(andRow + x / 8) & (0x80 >> (x % 8));
            if (clear) {
                // A transparent pixel must draw nothing over the screen: black in the colour bitmap.
                EXPECT_EQ(index, 0) << "pixel " << x << "," << y;
                rows[y][x] = '.';
                continue;
            }
            const std::size_t p = palette + 4 * index;
            const std::uint32_t rgb = d.at(p + 2) << 16 | d.at(p + 1) << 8 | d.at(p);
            const auto letter = letters.find(rgb);
            if (letter != letters.end()) rows[y][x] = letter->second;
        }
    }
    return rows;
}

// The rows of each image of an art file, in file order.
std::vector<std::vector<std::string>> readArt(const std::string& stem) {
    std::ifstream in(sourceDir() + "/battery-monitor/icons/" + stem + ".txt");
    EXPECT_TRUE(in.good()) << stem;
    std::vector<std::vector<std::string>> images;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("size ", 0) == 0) {
            images.emplace_back();
            continue;
        }
        images.back().push_back(line);
    }
    return images;
}

TEST_P(VoltmarapIcon, ShowsTheDrawnPixels) {
    const sim::GroupIcon* icon = voltmarap().groupIcon(GetParam().id);
    ASSERT_NE(icon, nullptr);
    const auto art = readArt(GetParam().art);
    ASSERT_EQ(art.size(), icon->images.size());
    for (std::size_t i = 0; i < art.size(); ++i) EXPECT_EQ(decode(icon->images[i]), art[i]) << "image " << i;
}

INSTANTIATE_TEST_SUITE_P(Table, VoltmarapIcon,
                         ::testing::Values(IconCase{101, "app", {16, 32}}, IconCase{102, "level0", {16}},
                                           IconCase{103, "level1", {16}}, IconCase{104, "level2", {16}},
                                           IconCase{106, "warning", {16}}, IconCase{107, "ac", {16}},
                                           IconCase{108, "level3", {16}}),
                         [](const auto& info) { return info.param.art; });

// ---- Menus ----

Bytes menuItem(unsigned flags, unsigned id, std::u16string_view text) {
    Bytes b;
    put16(b, {flags});
    if (!(flags & 0x10)) put16(b, {id});
    putSz(b, text);
    return b;
}

// "text=id" per item, "-" for a separator, a popup's items in braces.
std::string describe(const std::vector<sim::MenuItem>& items) {
    std::string out;
    for (const sim::MenuItem& item : items) {
        if (!out.empty()) out += ',';
        if (item.separator) {
            out += '-';
            continue;
        }
        out += std::string(item.text.begin(), item.text.end());
        out += item.popup.empty() ? "=" + std::to_string(item.id) : "{" + describe(item.popup) + "}";
    }
    return out;
}

TEST(ResourceSet, MenuTree) {
    const Bytes menu = cat({Bytes{0, 0, 0, 0},
                            menuItem(0x10, 0, u"Tray"),
                            menuItem(0x00, 40001, u"About"),
                            menuItem(0x00, 0, u""),      // MENUITEM SEPARATOR as windres writes it
                            menuItem(0x800, 7, u""),     // MFT_SEPARATOR
                            menuItem(0x90, 0, u"More"),  // last item of "Tray"
                            menuItem(0x88, 40003, u"Deep"),
                            menuItem(0x80, 40002, u"Exit")});
    const ResourceSet set = ResourceSet::parse(resWith(kResourceMenu, 101, menu));
    EXPECT_FALSE(set.menu(102).has_value());
    const auto items = set.menu(101);
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(describe(*items), "Tray{About=40001,-,-,More{Deep=40003}},Exit=40002");
    EXPECT_EQ(items->at(0).popup.at(3).popup.at(0).flags, 0x88);
}

// ---- Several entries ----

TEST(ResourceSet, FirstLanguageWinsAndNamedEntriesAreSkipped) {
    Bytes res = resFile();
    // An entry with a named type and name, as windres writes for user data.
    put32(res, 4);
    put32(res, 40);
    putSz(res, u"DATA");
    putSz(res, u"X");
    res = cat({res, Bytes(2 + 16, 0), Bytes{1, 2, 3, 4}});
    addEntry(res, kResourceString, 1, stringBlock({u"", u"first"}), kJapanese);
    addEntry(res, kResourceString, 1, stringBlock({u"", u"second"}), 0x0409);
    addEntry(res, kResourceString, 2, stringBlock({u"sixteen"}), 0x0409);

    const ResourceSet set = ResourceSet::parse(res);
    EXPECT_EQ(set.string(1), u"first");
    EXPECT_EQ(set.string(16), u"sixteen");
    EXPECT_FALSE(set.string(0).has_value());
    EXPECT_EQ(set.language(kResourceString, 1), kJapanese);
    EXPECT_EQ(set.language(kResourceString, 2), 0x0409);
}

// ---- Choosing an icon image ----

struct BestCase {
    int width, height;
    int wantWidth, wantBits;
};

class GroupIconBest : public ::testing::TestWithParam<BestCase> {};

TEST_P(GroupIconBest, PicksExactSizeElseClosest) {
    sim::GroupIcon icon;
    for (auto [size, bits] : {std::pair{16, 4}, std::pair{32, 4}, std::pair{16, 8}, std::pair{48, 8}})
        icon.images.push_back(sim::IconImage{size, size, 0, bits, {}});
    const sim::IconImage* best = icon.best(GetParam().width, GetParam().height);
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(best->width, GetParam().wantWidth);
    EXPECT_EQ(best->bitCount, GetParam().wantBits);
}

INSTANTIATE_TEST_SUITE_P(Table, GroupIconBest,
                         ::testing::Values(BestCase{16, 16, 16, 8}, BestCase{32, 32, 32, 4}, BestCase{48, 48, 48, 8},
                                           BestCase{20, 20, 16, 8}, BestCase{24, 24, 32, 4},
                                           BestCase{64, 64, 48, 8}, BestCase{1, 1, 16, 8},
                                           BestCase{16, 40, 32, 4}),
                         [](const auto& info) {
                             return "Ask" + std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

// ---- Malformed files ----

// 16 x 16 in 16 colours: header, palette, colour bitmap, mask.
Bytes iconImage16() {
    Bytes b;
    put16(b, {40, 0, 16, 0, 32, 0, 1, 4});
    b.resize(40 + 64 + 8 * 16 + 4 * 16, 0);
    return b;
}

Bytes groupDir(unsigned count, unsigned imageId, std::uint32_t bytesInRes) {
    Bytes b;
    put16(b, {0, 1, count, 0x1010, 0x0010, 1, 4});
    put32(b, bytesInRes);
    put16(b, {imageId});
    return b;
}

Bytes withIcon(const Bytes& image, const Bytes& dir) {
    Bytes res = resFile();
    addEntry(res, kResourceIcon, 1, image);
    addEntry(res, kResourceGroupIcon, 101, dir);
    return res;
}

Bytes setU32(Bytes b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
    return b;
}

// A .res holding one version resource with the given fixed info and blocks.
Bytes version(const std::pair<Bytes, unsigned>& fixed, const std::vector<Bytes>& children = {}) {
    return resWith(kResourceVersion, 1, versionNode(u"VS_VERSION_INFO", 0, fixed.first, fixed.second, children));
}

struct BadCase {
    std::string name;
    Bytes bytes;
};

class Malformed : public ::testing::TestWithParam<BadCase> {};

TEST_P(Malformed, IsRejected) { EXPECT_THROW(ResourceSet::parse(GetParam().bytes), std::runtime_error); }

std::vector<BadCase> badCases() {
    const Bytes good = resWith(kResourceString, 1, stringBlock({u"", u"text"}));
    const Bytes image = iconImage16();
    const auto imageSize = static_cast<std::uint32_t>(image.size());
    Bytes deepMenu{0, 0, 0, 0};
    for (int i = 0; i < 5000; ++i) deepMenu = cat({deepMenu, menuItem(0x10, 0, u"")});
    const Bytes shortImage(image.begin(), image.begin() + 100);

    return {
        {"Empty", {}},
        {"NotARes", Bytes(64, 0x41)},
        {"HeaderCutShort", Bytes(good.begin(), good.begin() + 40)},
        {"DataSizePastEnd", setU32(good, 32, 0x10000)},
        {"DataSizeHuge", setU32(good, 32, 0xFFFFFFF0)},
        {"HeaderSizePastEnd", setU32(good, 36, 0x10000)},
        {"HeaderSizeTooSmall", setU32(good, 36, 8)},
        {"HeaderSizeUnaligned", setU32(good, 36, 30)},
        {"DataCut", Bytes(good.begin(), good.end() - 8)},
        {"UnterminatedName", cat({resFile(), Bytes{0, 0, 0, 0, 32, 0, 0, 0}, Bytes(24, 'A')})},
        {"StringLengthPastData", resWith(kResourceString, 1, Bytes{0, 0, 0xFF, 0x7F, 'a', 0})},
        {"StringBlockZero", resWith(kResourceString, 0, stringBlock({}))},
        {"GroupMissingImage", withIcon(image, groupDir(1, 2, imageSize))},
        {"GroupCountPastData", withIcon(image, groupDir(9, 1, imageSize))},
        {"GroupWrongBytesInRes", withIcon(image, groupDir(1, 1, imageSize + 4))},
        {"GroupWrongType", withIcon(image, setU32(groupDir(1, 1, imageSize), 2, 0x00010002))},
        {"IconImageShorterThanItsBitmap", withIcon(shortImage, groupDir(1, 1, 100))},
        {"IconImageHugeWidth", withIcon(setU32(image, 4, 0x7FFFFFFF), groupDir(1, 1, imageSize))},
        {"MenuWithoutEnd", resWith(kResourceMenu, 1, cat({Bytes{0, 0, 0, 0}, menuItem(0, 1, u"a")}))},
        {"MenuTextUnterminated", resWith(kResourceMenu, 1, Bytes{0, 0, 0, 0, 0x80, 0, 1, 0, 'a', 0})},
        {"MenuHeaderOffsetPastEnd", resWith(kResourceMenu, 1, cat({Bytes{0, 0, 0xFF, 0}, menuItem(0x80, 1, u"a")}))},
        {"MenuExtended", resWith(kResourceMenu, 1, cat({Bytes{1, 0, 4, 0, 0, 0, 0, 0}, menuItem(0x80, 1, u"a")}))},
        {"MenuNestedTooDeep", resWith(kResourceMenu, 1, deepMenu)},
        {"VersionWrongKey", resWith(kResourceVersion, 1, versionNode(u"VS_VERSION", 0, fixedFileInfo(), 52))},
        {"VersionBadSignature", version({fixedFileInfo(0x12345678), 52})},
        {"VersionFixedInfoShort", version({Bytes(20, 0), 20})},
        {"VersionLengthPastData", [] {
             Bytes v = versionNode(u"VS_VERSION_INFO", 0, fixedFileInfo(), 52);
             v[1] = 0x7F;
             return resWith(kResourceVersion, 1, v);
         }()},
        // A child claiming no length would otherwise be read again and again.
        {"VersionChildLengthZero", version({fixedFileInfo(), 52}, {Bytes(8, 0)})},
        {"VersionTranslationOdd",
         version({fixedFileInfo(), 52},
                 {versionNode(u"VarFileInfo", 1, {}, 0,
                              {versionNode(u"Translation", 0, Bytes{1, 2, 3, 4, 5, 6}, 6)})})},
        {"VersionChildPastParent", [] {
             Bytes child = versionNode(u"StringFileInfo", 1, {}, 0);
             child[0] += 8;
             return version({fixedFileInfo(), 52}, {child});
         }()},
    };
}

INSTANTIATE_TEST_SUITE_P(Table, Malformed, ::testing::ValuesIn(badCases()),
                         [](const auto& info) { return info.param.name; });

TEST(MalformedBuiltFile, CutsAndCorruptionsAreReadSafely) {
    // Under AddressSanitizer this shows any read past the data. A stride prime to 4 reaches every
    // alignment of every field while keeping the sanitizer build fast.
    Bytes built = readFile(POCKET_IMAGE_DIR "/voltmarap.res");
    int cuts = 0, rejected = 0;
    for (std::size_t size = 0; size < built.size(); size += 7, ++cuts) {
        try {
            ResourceSet::parse(std::span(built.data(), size));
        } catch (const std::runtime_error&) {
            ++rejected;
        }
    }
    // Cuts that fall between two entries leave a shorter valid file; all others are errors.
    EXPECT_GT(rejected, cuts * 9 / 10);

    for (std::size_t at = 0; at < built.size(); at += 5) {
        const std::uint8_t saved = built[at];
        built[at] = at % 2 ? 0xFF : 0x00;
        try {
            ResourceSet::parse(built);
        } catch (const std::runtime_error&) {
        }
        built[at] = saved;
    }
}

TEST(ResourceSetLoad, MissingFileThrows) {
    EXPECT_THROW(ResourceSet::load(POCKET_IMAGE_DIR "/no-such-file.res"), std::runtime_error);
}

// ---- icongen ----

#ifdef ICONGEN_PATH
struct IcongenRun {
    int status;
    std::string errors;
    Bytes ico;
};

IcongenRun runIcongen(const std::string& art) {
    // ctest runs cases in parallel processes: each needs files of its own.
    const std::string dir = ::testing::TempDir() + "/icongen_test_" + std::to_string(::getpid());
    const std::string in = dir + ".txt", out = dir + ".ico", err = dir + ".err";
    std::ofstream(in) << art;
    std::remove(out.c_str());
    const int status = std::system((std::string(ICONGEN_PATH) + " '" + in + "' '" + out + "' 2>'" + err + "'").c_str());
    IcongenRun run{status, {}, {}};
    std::ifstream errors(err);
    std::getline(errors, run.errors, '\0');
    std::ifstream ico(out, std::ios::binary);
    if (ico) run.ico = Bytes{std::istreambuf_iterator<char>(ico), std::istreambuf_iterator<char>()};
    std::remove(in.c_str());
    std::remove(out.c_str());
    std::remove(err.c_str());
    return run;
}

struct ArtErrorCase {
    std::string name;
    std::string art;
    std::string message;  // part of the error that must be shown
};

class IcongenError : public ::testing::TestWithParam<ArtErrorCase> {};

TEST_P(IcongenError, FailsWithoutWritingAnIcon) {
    const IcongenRun run = runIcongen(GetParam().art);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find(GetParam().message), std::string::npos) << run.errors;
    EXPECT_TRUE(run.ico.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, IcongenError,
    ::testing::Values(ArtErrorCase{"RaggedRow", "size 2\nWW\nW\n", "line 3: row 2 has 1 pixels"},
                      ArtErrorCase{"LongRow", "size 2\nWW\nWWW\n", "line 3: row 2 has 3 pixels"},
                      ArtErrorCase{"UnknownLetter", "size 2\nWW\nWZ\n", "line 3: unknown colour 'Z' in column 2"},
                      ArtErrorCase{"MissingRows", "# short\nsize 3\nWWW\n", "line 2: the image has 1 of its 3 rows"},
                      ArtErrorCase{"NoImage", "# nothing\n", "no image"},
                      ArtErrorCase{"NoSize", "WW\nWW\n", "line 1: expected \"size N\""},
                      ArtErrorCase{"BadSize", "size 300\n", "line 1: the size must be"},
                      ArtErrorCase{"SameSizeTwice", "size 1\nW\nsize 1\nK\n", "line 3: a 1 pixel image is already"}),
    [](const auto& info) { return info.param.name; });

#else
TEST(Icongen, NeedsTheToolPath) { GTEST_SKIP() << "built without ICONGEN_PATH"; }
#endif

}  // namespace
