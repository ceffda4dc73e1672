// A desktop PC with the setup launcher installed, and an Application Manager to find.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pocket_device.h"
#include "utf.h"

namespace launcher_test {

using pocket::desktopConfig;

inline const char* const kAppPathsKey = "HKLM\\software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";
inline const char* const kAppManager = "C:\\Program Files\\Windows CE Services\\CEAppMgr.exe";
inline const char16_t* const kRegisterCommand = u"/register .\\setup.ini";

// A string value as the registry keeps it: 16-bit characters, with or without the terminator.
inline std::vector<std::uint8_t> wideBytes(const std::u16string& text, bool terminated = true) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

class LauncherTest : public ::testing::Test {
protected:
    explicit LauncherTest(UINT codePage = 1252) : pc(desktopConfig(codePage)) {}

    void installAppManager(const std::string& path = kAppManager) { ASSERT_TRUE(pc.putFile(path, {'M', 'Z'})); }
    void registerAppManager(DWORD type, std::vector<std::uint8_t> data) {
        pc.setRegistryValue(kAppPathsKey, u"", type, std::move(data));
    }
    void registerAppManager(const std::string& path = kAppManager) { registerAppManager(REG_SZ, wideBytes(sim::fromUtf8(path))); }

    // Runs the launcher to its end; it must end by itself with 0, whatever happened.
    pocket::ProcessView runLauncher() {
        const pocket::ProcessView launcher = pc.start("setuplaunch");
        EXPECT_FALSE(launcher.running) << "the launcher waits for something";
        EXPECT_EQ(launcher.exitCode, 0);
        EXPECT_EQ(launcher.handles.liveOf(sim::HandleKind::RegistryKey), 0) << "a key handle was left open";
        EXPECT_TRUE(pc.errors().empty());
        return launcher;
    }

    pocket::PocketDevice pc;
};

}  // namespace launcher_test
