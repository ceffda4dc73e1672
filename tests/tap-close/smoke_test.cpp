#include "tapclose_fixture.h"

using namespace tapclose_test;

TEST_F(TapCloseTest, LiftInTheBandClosesTheForegroundApplication) {
    auto shut = start();
    ASSERT_TRUE(shut.running);
    EXPECT_FALSE(device.taskbarProcedureIsItsOwn());
    HWND app = application();
    device.tapTaskbar(230, 10);
    EXPECT_EQ(taskbarLifts(), 1u);
    EXPECT_EQ(closesSent(app), 1u);
    auto second = start();
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_FALSE(device.process(shut.pid)->running);
    EXPECT_EQ(device.process(shut.pid)->exitCode, 0);
    EXPECT_TRUE(device.taskbarProcedureIsItsOwn());
}
