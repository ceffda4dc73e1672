// The launcher's own folder, cut from its module path under the ANSI code page, is the
// Application Manager's current folder.
#include "launcher_fixture.h"

using namespace launcher_test;

namespace {

struct FolderCase {
    const char* name;
    UINT codePage;
    const char* launcherPath;  // UTF-8
    const char* folder;        // UTF-8; nullptr: nothing may be started
};

// In Shift-JIS, 表 is 0x95 0x5C, ソ is 0x83 0x5C, 能 is 0x94 0x5C and 予 is 0x97 0x5C: their trail
// byte is a backslash.
const FolderCase kFolderCases[] = {
    {"PlainFolder", 1252, "C:\\Program Files\\Bundle\\setuplaunch.exe", "C:\\Program Files\\Bundle"},
    // "D:" alone would be the current folder on D, wherever that is: the root keeps its backslash.
    {"DriveRoot", 1252, "D:\\setuplaunch.exe", "D:\\"},
    {"DriveRootJapanese", 932, "D:\\ソ.exe", "D:\\"},
    // In 1252, 0x95 is "•": the backslash after it is a real separator.
    {"BulletBeforeSeparator", 1252, "C:\\Bundle•\\setuplaunch.exe", "C:\\Bundle•"},
    // High Latin-1 bytes that would be lead bytes under 932.
    {"LatinLetters", 1252, "C:\\Données\\Café\\setuplaunch.exe", "C:\\Données\\Café"},
    {"JapaneseFolders", 932, "D:\\セットアップ\\表示\\setuplaunch.exe", "D:\\セットアップ\\表示"},
    {"FolderEndsInTrailBackslash", 932, "D:\\ソフト\\表\\setuplaunch.exe", "D:\\ソフト\\表"},
    {"NameIsTrailBackslash", 932, "D:\\予定\\ソ.exe", "D:\\予定"},
    {"OnlyTrailBackslashes", 932, "E:\\能\\予\\表.exe", "E:\\能\\予"},
    {"HalfWidthKatakana", 932, "D:\\ｾｯﾄｱｯﾌﾟ\\setuplaunch.exe", "D:\\ｾｯﾄｱｯﾌﾟ"},
    {"MixedWidths", 932, "D:\\Setup表\\ﾃﾞｰﾀ\\表setup.exe", "D:\\Setup表\\ﾃﾞｰﾀ"},
};

void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.name; }

class LauncherFolder : public ::testing::TestWithParam<FolderCase> {};

}  // namespace

TEST_P(LauncherFolder, IsCutAtTheLastRealSeparator) {
    const FolderCase& c = GetParam();
    pocket::PocketDevice pc(desktopConfig(c.codePage));
    ASSERT_TRUE(pc.putFile(kAppManager, {'M', 'Z'}));
    pc.setRegistryValue(kAppPathsKey, u"", REG_SZ, wideBytes(sim::fromUtf8(kAppManager)));
    pc.installAt("setuplaunch", c.launcherPath);

    const auto launcher = pc.start("setuplaunch");

    EXPECT_EQ(launcher.exitCode, 0);
    ASSERT_EQ(pc.launches().size(), 1u);
    const sim::ProcessLaunch launch = pc.launches().front();
    EXPECT_TRUE(launch.started()) << "error " << launch.error;
    ASSERT_TRUE(launch.currentDirectory);
    EXPECT_EQ(sim::toUtf8(*launch.currentDirectory), c.folder);
    EXPECT_EQ(sim::toUtf8(launch.workingFolder), c.folder);
    EXPECT_EQ(launch.commandLine, kRegisterCommand);
}

INSTANTIATE_TEST_SUITE_P(Paths, LauncherFolder, ::testing::ValuesIn(kFolderCases),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct LengthCase {
    const char* name;
    UINT codePage;
    std::size_t folderUnits;  // characters in the folder's name ("\" + name + "\")
    const char* folderChar;   // UTF-8 character the folder name repeats
    bool started;
};

// The module path is cut by bytes: a full 260-byte buffer may have lost its terminator.
const LengthCase kLengthCases[] = {
    // "C:\" + folder + "\setuplaunch.exe": 3 + 240 + 16 = 259 bytes and the terminator.
    {"FitsIn259Bytes", 1252, 240, "m", true},
    {"Fills260Bytes", 1252, 241, "m", false},
    {"FarTooLong", 1252, 400, "m", false},
    // Each 表 takes two bytes under 932: 120 of them give 3 + 240 + 16 = 259 bytes.
    {"JapaneseFitsIn259Bytes", 932, 120, "表", true},
    // 140 characters, but 261 bytes.
    {"JapaneseBeyond260Bytes", 932, 121, "表", false},
};

void PrintTo(const LengthCase& c, std::ostream* out) { *out << c.name; }

}  // namespace

class LauncherModulePath : public ::testing::TestWithParam<LengthCase> {};

TEST_P(LauncherModulePath, AFullBufferStartsNothing) {
    const LengthCase& c = GetParam();
    pocket::PocketDevice pc(desktopConfig(c.codePage));
    ASSERT_TRUE(pc.putFile(kAppManager, {'M', 'Z'}));
    pc.setRegistryValue(kAppPathsKey, u"", REG_SZ, wideBytes(sim::fromUtf8(kAppManager)));
    std::string folder = "C:\\";
    for (std::size_t i = 0; i < c.folderUnits; ++i) folder += c.folderChar;
    pc.installAt("setuplaunch", folder + "\\setuplaunch.exe");

    const auto launcher = pc.start("setuplaunch");

    EXPECT_EQ(launcher.exitCode, 0);
    EXPECT_EQ(pc.launches().size(), c.started ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LauncherModulePath, ::testing::ValuesIn(kLengthCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Started from a prompt in another folder of the setup CD, the launcher still hands over the root.
TEST(LauncherDriveRoot, IsTheRootWhateverTheCurrentFolderOnThatDrive) {
    pocket::PocketDevice pc(desktopConfig(1252));
    ASSERT_TRUE(pc.putFile(kAppManager, {'M', 'Z'}));
    pc.setRegistryValue(kAppPathsKey, u"", REG_SZ, wideBytes(sim::fromUtf8(kAppManager)));
    pc.installAt("setuplaunch", "D:\\setuplaunch.exe");
    ASSERT_TRUE(pc.putFile("D:\\Tools\\readme.txt", {}));

    pc.start("setuplaunch", u"", "D:\\Tools");

    ASSERT_EQ(pc.launches().size(), 1u);
    EXPECT_EQ(pc.launches().front().workingFolder, u"D:\\");
}
