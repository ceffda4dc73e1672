// The checks the sweeps rely on: they must see what an ended process leaves and what a second
// copy means, or every sweep passes vacuously.
#include <gtest/gtest.h>

#include "device_checks.h"

namespace {

const std::string kMonitorClsid = "{CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5}";

TEST(DeviceChecks, CleanShutdownLeavesNothing) {
    pocket::PocketDevice device;
    device.setTickCount(60000);
    device.start("voltmarap");
    device.advance(10000);
    device.start("voltmarap");  // switches the first copy off
    EXPECT_TRUE(pocket::leftoversOfEndedProcesses(device).empty());
    EXPECT_TRUE(pocket::duplicateCopies(device).empty());
}

TEST(DeviceChecks, NotificationKeptByAFailedRemovalIsReported) {
    pocket::PocketDevice device;
    device.setTickCount(60000);
    device.start("voltmarap");
    device.failCall("SHNotificationRemove");
    device.start("voltmarap");
    const auto leftovers = pocket::leftoversOfEndedProcesses(device);
    ASSERT_EQ(leftovers.size(), 1u);
    EXPECT_EQ(leftovers[0].what, "notification");
    EXPECT_EQ(leftovers[0].process, "voltmarap");
    EXPECT_TRUE(device.notification(kMonitorClsid, 1).has_value());
}

TEST(DeviceChecks, NonZeroExitIsReported) {
    pocket::PocketDevice device;
    device.startCode("quitter", [] { return 3; });
    device.startCode("fine", [] { return 0; });
    const auto exits = pocket::nonZeroExits(device);
    ASSERT_EQ(exits.size(), 1u);
    EXPECT_NE(exits[0].find("quitter"), std::string::npos);
    EXPECT_NE(exits[0].find("exit code 3"), std::string::npos);
}

}  // namespace
