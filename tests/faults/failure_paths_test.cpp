// Failure paths the sweep found wrong, each shown on its own: what a program must do when the
// one call it depends on fails.
#include <gtest/gtest.h>

#include <ostream>

#include "pocket_device.h"

namespace {

std::size_t closesReceived(const pocket::PocketDevice& device, HWND window) {
    std::size_t count = 0;
    for (const auto& m : device.standInMessages(window)) count += m.message == WM_CLOSE;
    return count;
}

// The next call of `function` by `program` fails, and every one after it (0: no end).
void failFromNextCall(pocket::PocketDevice& device, const std::string& function, const std::string& program,
                      std::uint64_t count) {
    device.failCall(function, device.callCount(function, program) + 1, count, program);
}

struct UnjudgedWindow {
    const char* name;
    const char* failing;  // what appshut asks about the window in front
    const char* className;
    DWORD exStyle;
};

void PrintTo(const UnjudgedWindow& row, std::ostream* out) { *out << row.name; }

class TapCloseUnjudged : public ::testing::TestWithParam<UnjudgedWindow> {};

}  // namespace

// A window whose class or style cannot be read may be the shell's own, a dialog or one closed by
// its OK button: a tap in the close band leaves it open, and the taskbar still gets the lift.
TEST_P(TapCloseUnjudged, IsLeftOpen) {
    const UnjudgedWindow& row = GetParam();
    sim::DeviceConfig config;
    config.shell = true;
    pocket::PocketDevice device(config);
    sim::StandInOptions options;
    options.foreground = true;
    options.exStyle = row.exStyle;
    const HWND window = device.createApplication("app", row.className, "App", options).hwnd;
    device.start("appshut");
    ASSERT_FALSE(device.taskbarProcedureIsItsOwn());

    failFromNextCall(device, row.failing, "appshut", 0);
    device.tapTaskbar(230, 10);

    EXPECT_EQ(closesReceived(device, window), 0u);
    EXPECT_EQ(device.sentToBackground(), std::vector<HWND>{window});
    EXPECT_TRUE(device.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TapCloseUnjudged,
    ::testing::Values(UnjudgedWindow{"DialogWithoutItsClassName", "GetClassNameW", "Dialog", 0},
                      UnjudgedWindow{"DesktopWithoutItsClassName", "GetClassNameW", "DesktopExplorerWindow", 0},
                      UnjudgedWindow{"OkButtonWithoutItsStyle", "GetWindowLongW", "ConfirmApp", WS_EX_CAPTIONOKBTN},
                      UnjudgedWindow{"NoActivateWithoutItsStyle", "GetWindowLongW", "Keyboard", WS_EX_NOACTIVATE}),
    [](const auto& info) { return std::string(info.param.name); });

// The same tap with nothing failing closes an ordinary application: the rows above fail for the
// fault, not for the window.
TEST(TapCloseUnjudged, AnOrdinaryApplicationIsClosedWhenNothingFails) {
    sim::DeviceConfig config;
    config.shell = true;
    pocket::PocketDevice device(config);
    sim::StandInOptions options;
    options.foreground = true;
    const HWND window = device.createApplication("app", "ConfirmApp", "App", options).hwnd;
    device.start("appshut");
    device.tapTaskbar(230, 10);
    EXPECT_EQ(closesReceived(device, window), 1u);
}

namespace {

class BridgeMultiPress : public ::testing::Test {
protected:
    BridgeMultiPress() {
        player = device.createStandIn("tunelark", "TUNELARK", "Tunelark").hwnd;
        device.start("rcbridge");
    }
    std::vector<WPARAM> commands() const {
        std::vector<WPARAM> out;
        for (const auto& m : device.standInMessages(player))
            if (m.message == WM_COMMAND) out.push_back(m.wParam);
        return out;
    }
    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }

    pocket::PocketDevice device;
    HWND player = nullptr;
};

}  // namespace

// Without its timer a group of presses could never end, and the next press, however much later,
// would join it. The group ends at once instead: one press is the player command now.
TEST_F(BridgeMultiPress, APressWhoseTimerFailsActsAtOnce) {
    failFromNextCall(device, "SetTimer", "rcbridge", 1);
    device.pressKey(140);
    EXPECT_EQ(commands(), std::vector<WPARAM>{40036});
    EXPECT_TRUE(device.timers().empty());

    // A double press a minute later is a double press: the display goes off, the device stays on.
    device.advance(60000);
    device.pressKeys({{140, 0}, {140, 100}});
    device.advance(5000);
    EXPECT_EQ(device.displayPowerState(), static_cast<ULONG>(VideoPowerOff));
    EXPECT_TRUE(device.isSwitchedOn());
    EXPECT_EQ(commands(), std::vector<WPARAM>{40036});
}

// The second press's timer failing ends the group of two at once: the display toggles.
TEST_F(BridgeMultiPress, ASecondPressWhoseTimerFailsTogglesTheDisplayAtOnce) {
    device.pressKey(140);
    failFromNextCall(device, "SetTimer", "rcbridge", 1);
    device.advance(100);
    device.pressKey(140);
    device.advance(5000);
    EXPECT_EQ(device.displayPowerState(), static_cast<ULONG>(VideoPowerOff));
    EXPECT_TRUE(commands().empty());

    device.pressKey(140);
    device.advance(5000);
    EXPECT_EQ(commands(), std::vector<WPARAM>{40036});
    EXPECT_TRUE(device.isSwitchedOn());
}
