// CreateProcessA on a desktop PC: what it refuses, as Windows does, and what it records.
#include <gtest/gtest.h>

#include <windows.h>

#include "context.h"
#include "inside.h"
#include "pocket_device.h"

namespace {

struct LaunchCase {
    const char* name;
    const char* application;
    const char* currentDirectory;  // nullptr: the caller's
    DWORD error;
    const char16_t* workingFolder;  // where it starts, when it does
};

void PrintTo(const LaunchCase& c, std::ostream* out) { *out << c.name; }

const LaunchCase kLaunches[] = {
    {"Started", "C:\\Apps\\tool.exe", "C:\\Work", ERROR_SUCCESS, u"C:\\Work"},
    {"NoDefaultExtension", "C:\\Apps\\tool", "C:\\Work", ERROR_FILE_NOT_FOUND, nullptr},
    {"CallersFolderInherited", "C:\\Apps\\tool.exe", nullptr, ERROR_SUCCESS, u"C:\\Caller"},
    {"DriveAloneIsTheCurrentFolderThere", "C:\\Apps\\tool.exe", "C:", ERROR_SUCCESS, u"C:\\Caller"},
    {"DriveAloneElsewhereIsItsRoot", "C:\\Apps\\tool.exe", "D:", ERROR_SUCCESS, u"D:\\"},
    {"NoSuchFile", "C:\\Apps\\gone.exe", "C:\\Work", ERROR_FILE_NOT_FOUND, nullptr},
    {"NoSuchFolder", "C:\\Gone\\tool.exe", "C:\\Work", ERROR_PATH_NOT_FOUND, nullptr},
    {"AFolder", "C:\\Apps", "C:\\Work", ERROR_ACCESS_DENIED, nullptr},
    {"NoSuchCurrentFolder", "C:\\Apps\\tool.exe", "C:\\Gone", ERROR_DIRECTORY, nullptr},
    {"CurrentFolderIsAFile", "C:\\Apps\\tool.exe", "C:\\Apps\\tool.exe", ERROR_DIRECTORY, nullptr},
};

class ProcessLaunch : public ::testing::TestWithParam<LaunchCase> {};

}  // namespace

TEST_P(ProcessLaunch, ChecksTheProgramAndTheFolder) {
    const LaunchCase& c = GetParam();
    pocket::PocketDevice pc(pocket::desktopConfig());
    for (const char* file : {"C:\\Apps\\tool.exe", "C:\\Work\\x", "C:\\Caller\\x", "D:\\x"}) ASSERT_TRUE(pc.putFile(file, {}));
    auto& caller = inside(pc).startHosted("caller", [&c] {
        sim::currentProcess().currentDirectory = u"C:\\Caller";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        char commandLine[] = "/x";
        SetLastError(0);
        const BOOL started =
            CreateProcessA(c.application, commandLine, nullptr, nullptr, FALSE, 0, nullptr, c.currentDirectory, &startup, &info);
        EXPECT_EQ(started, c.error == ERROR_SUCCESS);
        if (!started) {
            EXPECT_EQ(GetLastError(), c.error);
            return 0;
        }
        EXPECT_NE(info.dwProcessId, 0u);
        EXPECT_TRUE(CloseHandle(info.hThread));
        EXPECT_TRUE(CloseHandle(info.hProcess));
        EXPECT_FALSE(CloseHandle(info.hProcess));
        return 0;
    });
    EXPECT_EQ(caller.exitCode, 0);
    ASSERT_EQ(pc.launches().size(), 1u);
    const sim::ProcessLaunch launch = pc.launches().front();
    EXPECT_EQ(launch.error, c.error);
    EXPECT_EQ(launch.commandLine, u"/x");
    if (c.workingFolder) {
        EXPECT_EQ(launch.workingFolder, c.workingFolder);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProcessLaunch, ::testing::ValuesIn(kLaunches),
                         [](const auto& info) { return std::string(info.param.name); });
