#include <gtest/gtest.h>

#include "pocket_device.h"

TEST(VoltmarapSmoke, StartsAndShowsNotification) {
    pocket::PocketDevice device;
    device.setPower({AC_LINE_OFFLINE, 85, 0});
    auto p = device.start("voltmarap");
    EXPECT_TRUE(p.running);
    auto list = device.notifications();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].iconId, 108u);
    device.advance(60000);
    auto second = device.start("voltmarap");
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_FALSE(device.process(p.pid)->running);
    EXPECT_TRUE(device.notifications().empty());
    EXPECT_TRUE(device.errors().empty());
}
