// Shared set-up of the tap-to-close program's end-to-end tests: a device booted with its shell.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pocket_device.h"

namespace tapclose_test {

inline sim::DeviceConfig withShell(int taskbarWidth = -1, int taskbarHeight = 26) {
    sim::DeviceConfig config;
    config.shell = true;
    config.taskbarWidth = taskbarWidth;
    config.taskbarHeight = taskbarHeight;
    return config;
}

constexpr WPARAM kPenDown = 1;         // MK_LBUTTON, as the touch driver sets it
constexpr UINT kRightButtonUp = 0x0205;  // WM_RBUTTONUP: a lift, but not the one watched

// The lParam of a stylus position as the touch driver packs it (negative values wrap).
inline LPARAM at(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class TapCloseTest : public ::testing::Test {
protected:
    explicit TapCloseTest(sim::DeviceConfig config = withShell()) : device(config) {}

    pocket::ProcessView start() { return device.start("appshut"); }
    bool hooked() const { return !device.taskbarProcedureIsItsOwn(); }
    // A visible, enabled application window in front.
    HWND application(const std::string& className = "NotesApp", sim::StandInOptions options = {}) {
        options.foreground = true;
        return device.createApplication("app", className, "App", options).hwnd;
    }
    std::size_t closesSent(HWND window) const {
        std::size_t count = 0;
        for (const auto& m : device.standInMessages(window)) count += m.message == WM_CLOSE;
        return count;
    }
    std::size_t taskbarLifts() const {
        std::size_t count = 0;
        for (const auto& m : device.taskbarReceived()) count += m.message == WM_LBUTTONUP;
        return count;
    }
    // WM_CLOSE posts by the hook, to any window (the shell's own included); needs recordCalls().
    std::size_t closesPostedByHook() {
        std::size_t count = 0;
        for (const pocket::CallView& call : device.calls(0, "appshut"))
            count += call.function == "PostMessageW" && call.args.at(1).number() == WM_CLOSE;
        return count;
    }
    // What the taskbar answers to a message another program sends it (a send across threads).
    LRESULT sendToTaskbar(UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = 0;
        const HWND taskbar = device.taskbar();
        device.startCode("sender", [&result, taskbar, message, wParam, lParam] {
            result = SendMessageW(taskbar, message, wParam, lParam);
            return 0;
        });
        return result;
    }

    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }

    pocket::PocketDevice device;
};

}  // namespace tapclose_test
