// Shared set-up of the remote-control bridge's end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pocket_device.h"
#include "utf.h"

namespace bridge_test {

constexpr UINT kTrayMessage = 2048;
constexpr UINT kAbout = 40006;
constexpr UINT kExit = 40005;
constexpr UINT kVolumeDown = 136, kVolumeUp = 137, kKeyA = 138, kKeyB = 139, kMulti = 140, kKeyC = 141, kKeyD = 142;
inline const std::vector<UINT> kRemoteKeys = {142, 141, 139, 138, 140, 137, 136};

class BridgeTest : public ::testing::Test {
protected:
    BridgeTest() { device.setVolume(0x80008000); }

    pocket::ProcessView start() { return device.start("rcbridge"); }
    pocket::TrayIconView icon() const {
        auto found = device.trayIconOf("rcbridge");
        EXPECT_TRUE(found);
        return found ? *found : pocket::TrayIconView{};
    }
    void tapIcon() {
        auto i = icon();
        device.tapTrayIcon(i.hwnd, i.id);
    }
    HWND player(const std::string& className = "TUNELARK") {
        return device.createStandIn("tunelark", className, "Tunelark").hwnd;
    }
    // WM_COMMAND identifiers a stand-in received.
    std::vector<WPARAM> commands(HWND window) const {
        std::vector<WPARAM> out;
        for (const auto& m : device.standInMessages(window))
            if (m.message == WM_COMMAND) out.push_back(m.wParam);
        return out;
    }
    std::string beepPath() const { return device.installFolder("rcbridge") + "\\beep.wav"; }
    std::size_t soundCount() const { return device.sounds().size(); }

    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }

    pocket::PocketDevice device;
};

}  // namespace bridge_test
