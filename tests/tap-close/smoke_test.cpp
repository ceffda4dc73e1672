#include "../expect_sequence.h"
#include "tapclose_fixture.h"

using namespace tapclose_test;
using namespace pocket;

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

// Start: a Pocket PC of version 3 or more, one copy, its window, then the taskbar's procedure
// swapped for ours. A second start asks the first to close, which puts the taskbar's back.
TEST_F(TapCloseTest, StartHooksTheTaskbarAndASecondStartUnhooksIt) {
    device.recordCalls();
    ASSERT_TRUE(start().running);
    static const Step kStart[] = {
        {kCall, "GetVersionExW"},
        {kCall, "SystemParametersInfoW"},
        {kCall, "CreateMutexW"},
        {kCall, "LoadIconW"},
        {kCall, "GetStockObject"},
        {kCall, "RegisterClassW"},
        {kCall, "CreateWindowExW"},
        {kSent, WM_CREATE},
        {kCall, "FindWindowW"},
        {kCall, "GetWindowLongW"},
        {kCall, "SetWindowLongW"},
    };
    EXPECT_SEQUENCE(device, 0, "appshut", kStart);

    const std::uint64_t mark = device.mark();
    EXPECT_EQ(start().exitCode, 0);
    static const Step kSecondStart[] = {
        {kCall, "GetVersionExW"},
        {kCall, "SystemParametersInfoW"},
        {kCall, "CreateMutexW"},
        {kCall, "FindWindowW"},
        {kCall | kResult, "PostMessageW", TRUE},
        {kPosted, WM_CLOSE},  // the first copy
        {kCall, "SetWindowLongW"},
        {kCall | kResult, "DestroyWindow", TRUE},
        {kSent, WM_DESTROY},
        {kCall, "PostQuitMessage"},
    };
    EXPECT_SEQUENCE(device, mark, "appshut", kSecondStart);
    EXPECT_TRUE(device.taskbarProcedureIsItsOwn());
}
