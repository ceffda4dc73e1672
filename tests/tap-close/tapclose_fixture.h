// Shared set-up of the tap-to-close program's end-to-end tests: a device booted with its shell.
#pragma once

#include <gtest/gtest.h>

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

class TapCloseTest : public ::testing::Test {
protected:
    TapCloseTest() : device(withShell()) {}

    pocket::ProcessView start() { return device.start("appshut"); }
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

    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }

    pocket::PocketDevice device;
};

}  // namespace tapclose_test
