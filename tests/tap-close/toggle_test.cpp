// Starting the program again and again turns tap-to-close on and off.
#include "tapclose_fixture.h"

using namespace tapclose_test;

namespace {

std::size_t callsByProgram(const pocket::PocketDevice& device, std::uint64_t mark, const std::string& function) {
    const auto names = device.callNames(mark, "appshut");
    return static_cast<std::size_t>(std::count(names.begin(), names.end(), function));
}

}  // namespace

TEST_F(TapCloseTest, EveryStartTogglesTapToClose) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const auto on = start();
        ASSERT_TRUE(on.running);
        EXPECT_TRUE(hooked());
        HWND app = application();
        device.tapTaskbar(230, 10);
        EXPECT_EQ(closesSent(app), 1u);

        device.recordCalls();
        const std::uint64_t mark = device.mark();
        const auto off = start();
        EXPECT_FALSE(off.running);
        EXPECT_EQ(off.exitCode, 0);
        EXPECT_EQ(callsByProgram(device, mark, "CreateWindowExW"), 0u);
        device.recordCalls(false);
        EXPECT_FALSE(device.process(on.pid)->running);
        EXPECT_EQ(device.process(on.pid)->exitCode, 0);
        EXPECT_FALSE(hooked());
        EXPECT_EQ(device.runningCount("appshut"), 0u);

        // Off: the close button only sends the application back again.
        HWND other = application();
        device.tapTaskbar(230, 10);
        EXPECT_EQ(closesSent(other), 0u);
        EXPECT_EQ(device.sentToBackground().back(), other);
    }
}

TEST(TapCloseWithoutShell, RunsWithoutEffectUntilASecondStart) {
    pocket::PocketDevice device;  // no shell, so no taskbar
    device.recordCalls();
    const auto idle = device.start("appshut");
    EXPECT_TRUE(idle.running);
    EXPECT_EQ(device.runningCount("appshut"), 1u);

    const auto off = device.start("appshut");
    EXPECT_EQ(off.exitCode, 0);
    EXPECT_FALSE(device.process(idle.pid)->running);
    EXPECT_EQ(device.process(idle.pid)->exitCode, 0);
    EXPECT_EQ(callsByProgram(device, 0, "SetWindowLongW"), 0u);
    EXPECT_TRUE(device.errors().empty());
}

// The loop can end without WM_CLOSE (a WM_QUIT from another program): the taskbar gets its own
// procedure back before the program's code goes.
TEST_F(TapCloseTest, QuitFromOutsidePutsTheTaskbarBack) {
    const auto on = start();
    ASSERT_TRUE(hooked());
    device.startCode("quitter", [] {
        PostMessageW(FindWindowW(u"APPSHUT", nullptr), WM_QUIT, 0, 0);
        return 0;
    });
    EXPECT_FALSE(device.process(on.pid)->running);
    EXPECT_EQ(device.process(on.pid)->exitCode, 0);
    EXPECT_FALSE(hooked());
    HWND app = application();
    device.tapTaskbar(230, 10);
    EXPECT_EQ(closesSent(app), 0u);
    EXPECT_EQ(device.sentToBackground().back(), app);
}

// The shell's taskbar went away while tap-to-close ran: a second start still ends it.
TEST_F(TapCloseTest, SecondStartEndsItWhenTheTaskbarIsGone) {
    const auto on = start();
    ASSERT_TRUE(hooked());
    for (const auto& p : device.processes())
        if (p.name == "shell") device.terminate(p.pid, 0);
    ASSERT_FALSE(device.findWindow("HHTaskBar"));
    const auto off = start();
    EXPECT_EQ(off.exitCode, 0);
    EXPECT_FALSE(device.process(on.pid)->running);
    EXPECT_EQ(device.process(on.pid)->exitCode, 0);
}
