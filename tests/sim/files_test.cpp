// Files on the device, module file names, and the files installed with a program.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "context.h"
#include "file_system.h"
#include "inside.h"
#include "pocket_device.h"
#include "process.h"
#include "utf.h"

namespace {

struct LookupCase {
    const char* name;
    const char16_t* path;
    DWORD attributes;  // INVALID_FILE_ATTRIBUTES when the lookup fails
    DWORD error;
};

class FileLookup : public ::testing::TestWithParam<LookupCase> {};

constexpr DWORD kErrorInvalidName = 123;

}  // namespace

TEST_P(FileLookup, GivesAttributesOrTheWin32Error) {
    pocket::PocketDevice device;
    device.putFile("\\Program Files\\Tool\\beep.wav", {1, 2, 3});
    inside(device).files.put(u"\\Windows\\sys.dll", {}, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    DWORD attributes = 0;
    DWORD error = 0;
    const char16_t* path = GetParam().path;
    inside(device).startHosted("f", [&] {
        SetLastError(0);
        attributes = GetFileAttributesW(path);
        error = GetLastError();
        return 0;
    });
    EXPECT_EQ(attributes, GetParam().attributes);
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileLookup,
    ::testing::Values(
        LookupCase{"File", u"\\Program Files\\Tool\\beep.wav", FILE_ATTRIBUTE_ARCHIVE, 0},
        LookupCase{"OtherCase", u"\\PROGRAM FILES\\tool\\BEEP.WAV", FILE_ATTRIBUTE_ARCHIVE, 0},
        LookupCase{"ForwardSlashes", u"/Program Files/Tool/beep.wav", FILE_ATTRIBUTE_ARCHIVE, 0},
        LookupCase{"DotParts", u"\\Program Files\\.\\Other\\..\\Tool\\beep.wav", FILE_ATTRIBUTE_ARCHIVE, 0},
        LookupCase{"NoLeadingBackslash", u"Program Files\\Tool\\beep.wav", FILE_ATTRIBUTE_ARCHIVE, 0},
        LookupCase{"Attributes", u"\\Windows\\sys.dll", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM, 0},
        LookupCase{"Folder", u"\\Program Files\\Tool", FILE_ATTRIBUTE_DIRECTORY, 0},
        LookupCase{"FolderWithBackslash", u"\\Program Files\\Tool\\", FILE_ATTRIBUTE_DIRECTORY, 0},
        LookupCase{"Root", u"\\", FILE_ATTRIBUTE_DIRECTORY, 0},
        LookupCase{"MissingFile", u"\\Program Files\\Tool\\gone.wav", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
        LookupCase{"MissingFolder", u"\\Program Files\\None\\beep.wav", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        LookupCase{"BelowAFile", u"\\Program Files\\Tool\\beep.wav\\x", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        LookupCase{"AboveTheRoot", u"\\..\\beep.wav", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        LookupCase{"Wildcard", u"\\Program Files\\Tool\\*.wav", INVALID_FILE_ATTRIBUTES, kErrorInvalidName},
        LookupCase{"Empty", u"", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        LookupCase{"Null", nullptr, INVALID_FILE_ATTRIBUTES, ERROR_INVALID_PARAMETER}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileSystem, PutRemoveAndFolders) {
    sim::FileSystem fs;
    EXPECT_TRUE(fs.put(u"\\A\\B\\c.txt", {1}));
    EXPECT_TRUE(fs.put(u"\\a\\b\\C.TXT", {2}));  // replaces, keeping the first spelling
    EXPECT_EQ(fs.find(u"\\a\\b\\c.txt")->path, u"\\A\\B\\c.txt");
    EXPECT_EQ(fs.find(u"\\a\\b\\c.txt")->bytes, std::vector<std::uint8_t>{2});
    EXPECT_FALSE(fs.put(u"\\A\\B", {}));            // a folder
    EXPECT_FALSE(fs.put(u"\\A\\B\\c.txt\\d", {}));  // below a file
    EXPECT_FALSE(fs.put(u"\\", {}));
    EXPECT_TRUE(fs.put(u"\\A\\B C", {}));  // sorts between the folder and its contents
    EXPECT_FALSE(fs.remove(u"\\A\\B"));    // not empty
    EXPECT_TRUE(fs.remove(u"\\A\\B\\c.txt"));
    EXPECT_TRUE(fs.remove(u"\\A\\B"));
    EXPECT_FALSE(fs.remove(u"\\A\\B"));
    EXPECT_FALSE(fs.remove(u"\\"));
    EXPECT_TRUE(fs.find(u"\\A\\B C"));
}

namespace {

struct ModuleCase {
    const char* name;
    DWORD size;
    DWORD result;
    std::u16string contents;  // of the buffer after the call, prefilled with '#'
};

class ModuleFileName : public ::testing::TestWithParam<ModuleCase> {};

}  // namespace

// "\P\x.exe" is 8 characters.
TEST_P(ModuleFileName, IsCutWithoutATerminatorWhenItDoesNotFit) {
    pocket::PocketDevice device;
    const ModuleCase c = GetParam();
    std::u16string buffer(12, u'#');
    DWORD result = 99;
    inside(device).startHosted("m", [&] {
        sim::currentProcess().modulePath = u"\\P\\x.exe";
        result = GetModuleFileNameW(nullptr, buffer.data(), c.size);
        return 0;
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(buffer, c.contents);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ModuleFileName,
    ::testing::Values(ModuleCase{"Roomy", 12, 8, std::u16string(u"\\P\\x.exe\0###", 12)},
                      ModuleCase{"JustFits", 9, 8, std::u16string(u"\\P\\x.exe\0###", 12)},
                      ModuleCase{"OneShort", 8, 8, u"\\P\\x.exe####"},
                      ModuleCase{"Cut", 3, 3, u"\\P\\#########"},
                      ModuleCase{"NoRoom", 0, 0, u"############"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModuleFileNameOf, AnInstanceNamesItsProgramAndAnUnknownModuleNothing) {
    pocket::PocketDevice device;
    const std::string program = "voltmarap";
    const auto started = device.start(program);
    ASSERT_TRUE(device.process(started.pid)->running);
    const HINSTANCE instance = inside(device).findProcess(started.pid)->instance;
    std::u16string own(260, u'#');
    std::u16string other(260, u'#');
    DWORD unknown = 99;
    DWORD failed = 99;
    device.failCall("GetModuleFileNameW", inside(device).faults.occurrences("GetModuleFileNameW") + 2);
    inside(device).startHosted("m", [&] {
        GetModuleFileNameW(reinterpret_cast<HMODULE>(instance), other.data(), 260);
        unknown = GetModuleFileNameW(reinterpret_cast<HMODULE>(0x1234), own.data(), 260);
        failed = GetModuleFileNameW(reinterpret_cast<HMODULE>(instance), own.data(), 260);
        return 0;
    });
    EXPECT_EQ(failed, 0u);
    EXPECT_EQ(own, std::u16string(260, u'#'));
    const std::string path = sim::toUtf8(other.c_str());
    EXPECT_EQ(path, device.installFolder(program) + "\\" + program + ".exe");
    EXPECT_TRUE(device.fileExists(path));
    EXPECT_EQ(unknown, 0u);
}

TEST(Install, PutsTheProgramsFilesBesideIt) {
    const auto images = std::filesystem::path(POCKET_IMAGE_DIR);
    const std::string program = "voltmarap";
    const auto dir = std::filesystem::temp_directory_path() / ("pocket-install-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / (program + ".files") / "Sounds");
    for (const char* ext : {".image", ".res"})
        std::filesystem::copy_file(images / (program + ext), dir / (program + ext));
    std::ofstream(dir / (program + ".files") / "beep.wav", std::ios::binary) << "RIFF";
    std::ofstream(dir / (program + ".files") / "Sounds" / "b.wav", std::ios::binary) << "xy";

    setenv("POCKET_IMAGE_DIR", dir.c_str(), 1);
    pocket::PocketDevice device;
    unsetenv("POCKET_IMAGE_DIR");
    std::filesystem::remove_all(dir);

    const std::string folder = device.installFolder(program);
    EXPECT_EQ(device.fileBytes(folder + "\\BEEP.WAV"), (std::vector<std::uint8_t>{'R', 'I', 'F', 'F'}));
    EXPECT_EQ(device.fileBytes(folder + "\\sounds\\b.wav"), (std::vector<std::uint8_t>{'x', 'y'}));
    EXPECT_TRUE(device.fileExists(folder + "\\" + program + ".exe"));
    EXPECT_TRUE(device.removeFile(folder + "\\beep.wav"));
    EXPECT_FALSE(device.fileExists(folder + "\\beep.wav"));
    EXPECT_FALSE(device.removeFile(folder + "\\beep.wav"));
    EXPECT_FALSE(device.removeFile(folder));  // a folder is not a file
}

// Moving a program takes the files beside it along; a move that cannot be made leaves it in place.
TEST(FileSystem, ProgramsMoveWithTheirFiles) {
    pocket::PocketDevice device;
    const std::string oldFolder = device.installFolder("rcbridge");
    ASSERT_TRUE(device.fileExists(oldFolder + "\\beep.wav"));
    ASSERT_TRUE(device.putFile("\\Blocker", {}));

    EXPECT_THROW(device.installAt("rcbridge", "\\Blocker\\rcbridge.exe"), std::runtime_error);
    EXPECT_EQ(device.installFolder("rcbridge"), oldFolder);
    EXPECT_TRUE(device.fileExists(oldFolder + "\\rcbridge.exe"));

    device.installAt("rcbridge", oldFolder + "\\renamed.exe");
    EXPECT_TRUE(device.fileExists(oldFolder + "\\beep.wav")) << "a file the move puts back in place is kept";
    EXPECT_FALSE(device.fileExists(oldFolder + "\\rcbridge.exe"));

    device.installAt("rcbridge", "\\Bridge\\rcbridge.exe");
    EXPECT_TRUE(device.fileExists("\\Bridge\\beep.wav"));
    EXPECT_FALSE(device.fileExists(oldFolder + "\\beep.wav"));
    EXPECT_FALSE(device.fileExists(oldFolder + "\\renamed.exe"));
    EXPECT_EQ(device.start("rcbridge").exitCode, std::nullopt) << "it runs from its new place";
}
