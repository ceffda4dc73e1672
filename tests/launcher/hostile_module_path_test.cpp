// The launcher's own module path at and around its 260-byte buffer, under code pages 1252 and 932:
// where the folder and file name split the length, where a double-byte character meets the buffer's
// end, and far beyond it. A path of 260 bytes or more starts nothing, however it comes back cut; a
// shorter one starts the Application Manager in the folder cut from it.
#include <string>

#include "launcher_fixture.h"

using namespace launcher_test;

namespace {

// Bytes of a UTF-8 text in the ANSI code page: one a character under 1252 (for the characters
// used here); under 932 one for ASCII and half-width katakana, two for the rest.
std::size_t ansiBytes(UINT codePage, const std::string& utf8) {
    std::size_t bytes = 0;
    for (char16_t c : sim::fromUtf8(utf8)) {
        const bool single = codePage == 1252 || c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
        bytes += single ? 1 : 2;
    }
    return bytes;
}

std::string repeat(const std::string& unit, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += unit;
    return out;
}

struct ModulePathCase {
    const char* name;
    UINT codePage;
    std::string folder;  // UTF-8, without the trailing backslash except at a drive's root
    std::string file;
    std::size_t bytes;  // of the whole path in the code page, which the row must have
};

std::string fullPath(const ModulePathCase& c) {
    return c.folder.back() == '\\' ? c.folder + c.file : c.folder + "\\" + c.file;
}

const ModulePathCase kCases[] = {
    // 1252: the folder short and the file name long, and the other way round.
    {"LongNameIn258Bytes", 1252, "C:\\b", repeat("n", 249) + ".exe", 258},
    {"LongNameIn259Bytes", 1252, "C:\\b", repeat("n", 250) + ".exe", 259},
    {"LongNameIn260Bytes", 1252, "C:\\b", repeat("n", 251) + ".exe", 260},
    {"LongNameIn261Bytes", 1252, "C:\\b", repeat("n", 252) + ".exe", 261},
    {"RootWithLongNameIn259Bytes", 1252, "D:\\", repeat("n", 252) + ".exe", 259},
    {"RootWithLongNameIn260Bytes", 1252, "D:\\", repeat("n", 253) + ".exe", 260},
    {"DeepFolderIn258Bytes", 1252, "C:\\" + repeat("d\\", 124) + "d", "a.exe", 258},
    {"DeepFolderIn262Bytes", 1252, "C:\\" + repeat("d\\", 126) + "d", "a.exe", 262},
    {"FarTooLong", 1252, "C:\\" + repeat("m", 4000), "setuplaunch.exe", 4019},
    // 932: 表 is 0x95 0x5C, its trail byte a backslash.
    {"TrailBackslashFolderIn259Bytes", 932, "C:\\" + repeat("表", 124), "abc.exe", 259},
    {"TrailBackslashFolderIn260Bytes", 932, "C:\\x" + repeat("表", 124), "abc.exe", 260},
    {"TrailBackslashNameIn259Bytes", 932, "C:\\表", repeat("表", 125) + ".ex", 259},
    // Where the buffer's end meets a double-byte character.
    {"CharacterEndingAtByte259", 932, "C:\\" + repeat("m", 252), "x表", 259},
    {"CharacterEndingAtByte260", 932, "C:\\" + repeat("m", 253), "x表", 260},
    {"CharacterAcrossTheBufferEnd", 932, "C:\\" + repeat("m", 254), "x表.exe", 265},
    {"HalfWidthKatakanaIn259Bytes", 932, "D:\\" + repeat("ｾ", 240), repeat("ﾃ", 11) + ".exe", 259},
    {"HalfWidthKatakanaIn260Bytes", 932, "D:\\" + repeat("ｾ", 240), repeat("ﾃ", 12) + ".exe", 260},
    {"JapaneseFarTooLong", 932, "D:\\" + repeat("表", 2000), "a.exe", 4009},
    // Cut at a character boundary, the path comes back 259 bytes long, terminated, without an
    // error, and its folder would be the one above the launcher's.
    {"CutAtACharacterBoundary", 932, "C:\\" + repeat("表", 60) + "\\x" + repeat("表", 70), "setuplaunch.exe", 281},
};

void PrintTo(const ModulePathCase& c, std::ostream* out) { *out << c.name; }

class LauncherLongModulePath : public ::testing::TestWithParam<ModulePathCase> {};

}  // namespace

TEST_P(LauncherLongModulePath, StartsInItsFolderOnlyWhenThePathFitsTheBuffer) {
    const ModulePathCase& c = GetParam();
    const std::string path = fullPath(c);
    ASSERT_EQ(ansiBytes(c.codePage, path), c.bytes) << "the row does not have the length it claims";
    pocket::PocketDevice pc(desktopConfig(c.codePage));
    ASSERT_TRUE(pc.putFile(kAppManager, {'M', 'Z'}));
    pc.setRegistryValue(kAppPathsKey, u"", REG_SZ, wideBytes(sim::fromUtf8(kAppManager)));
    pc.installAt("setuplaunch", path);

    const auto launcher = pc.start("setuplaunch");

    EXPECT_EQ(launcher.exitCode, 0);
    EXPECT_TRUE(pc.errors().empty());
    if (c.bytes >= 260) {
        EXPECT_TRUE(pc.launches().empty()) << "started from a module path cut at the buffer's end";
        return;
    }
    ASSERT_EQ(pc.launches().size(), 1u);
    EXPECT_TRUE(pc.launches().front().started());
    EXPECT_EQ(pc.launches().front().currentDirectory, sim::fromUtf8(c.folder));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LauncherLongModulePath, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
