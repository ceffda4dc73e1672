// An ended program's image stays loaded, loudly, while anything could still run its code.
#include <gtest/gtest.h>

#include "inside.h"
#include "pocket_device.h"

namespace {

std::size_t lifts(const pocket::PocketDevice& device) {
    std::size_t count = 0;
    for (const auto& m : device.taskbarReceived()) count += m.message == WM_LBUTTONUP;
    return count;
}

}  // namespace

TEST(ImageUnload, RefusedWhileAnotherProcessesWindowUsesItsProcedure) {
    sim::DeviceConfig config;
    config.shell = true;
    pocket::PocketDevice device(config);
    auto shut = device.start("appshut");
    ASSERT_TRUE(shut.running);
    ASSERT_FALSE(device.taskbarProcedureIsItsOwn());

    // Killed without its own shutdown, the program leaves its procedure on the shell's taskbar.
    ASSERT_TRUE(inside(device).terminate(shut.pid, 1));
    EXPECT_EQ(device.process(shut.pid)->exitCode, 1);
    ASSERT_EQ(device.errors().size(), 1u);
    EXPECT_NE(device.errors()[0].find("cannot be unloaded"), std::string::npos);

    // The code is still there, so the taskbar keeps working.
    device.tapTaskbar(100, 10);
    EXPECT_EQ(lifts(device), 1u);
    device.clearErrors();
}

TEST(ImageUnload, OrderlyEndUnloadsWithoutComplaint) {
    sim::DeviceConfig config;
    config.shell = true;
    pocket::PocketDevice device(config);
    auto shut = device.start("appshut");
    device.start("appshut");  // switches it off
    EXPECT_FALSE(device.process(shut.pid)->running);
    EXPECT_TRUE(device.errors().empty());
    EXPECT_TRUE(device.taskbarProcedureIsItsOwn());
}

TEST(ImageUnload, RefusedWhileAThreadIsInsideItsCode) {
    sim::DeviceConfig config;
    config.shell = true;
    pocket::PocketDevice device(config);
    auto shut = device.start("appshut");
    device.stopAt("GetWindowRect", 1, "shell");  // the shell's thread, inside the hook's procedure
    device.stylusUp(230, 10);
    ASSERT_EQ(device.stoppedThreads().size(), 1u);

    inside(device).terminate(shut.pid, 1);
    ASSERT_FALSE(device.errors().empty());
    EXPECT_NE(device.errors()[0].find("is running its code"), std::string::npos);

    device.resumeStopped();  // the kept code runs to its end
    EXPECT_TRUE(device.stoppedThreads().empty());
    EXPECT_EQ(lifts(device), 1u);
    device.clearErrors();
}
