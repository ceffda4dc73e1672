// The moments at which the shell's thread meets the hook half put on, half taken off, or the
// program going away under a call still running on the shell's thread.
#include "tapclose_fixture.h"

using namespace tapclose_test;

namespace {

// The stylus messages of one tap in the band, as the taskbar must see them: each exactly once.
void expectOneTap(const std::vector<sim::ReceivedMessage>& received, std::size_t from) {
    ASSERT_EQ(received.size(), from + 2);
    EXPECT_EQ(received[from].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(received[from].lParam, at(230, 10));
    EXPECT_EQ(received[from + 1].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(received[from + 1].lParam, at(230, 10));
}

}  // namespace

// Our procedure is on the taskbar, but the program has not yet taken in what it replaced.
TEST_F(TapCloseTest, TapWhileTheHookGoesOn) {
    device.stopAt("SetWindowLongW", 1, "appshut");
    const auto shut = start();
    ASSERT_EQ(device.stoppedThreads().size(), 1u);
    ASSERT_EQ(device.stoppedThreads()[0].process, "appshut");
    ASSERT_TRUE(hooked());
    application();
    const std::size_t before = device.taskbarReceived().size();
    device.tapTaskbar(230, 10);
    expectOneTap(device.taskbarReceived(), before);

    device.resumeStopped();
    EXPECT_TRUE(device.process(shut.pid)->running);
    HWND later = application("LaterApp");
    device.tapTaskbar(230, 10);
    EXPECT_EQ(closesSent(later), 1u);
    expectOneTap(device.taskbarReceived(), before + 2);

    start();
    EXPECT_EQ(device.process(shut.pid)->exitCode, 0);
    EXPECT_FALSE(hooked());
}

// The taskbar's procedure is back, but the program has not yet cleared its record of it.
TEST_F(TapCloseTest, TapWhileTheHookComesOff) {
    device.stopAt("SetWindowLongW", 2, "appshut");
    const auto shut = start();
    ASSERT_TRUE(device.stoppedThreads().empty());
    application();
    const auto off = start();
    EXPECT_EQ(off.exitCode, 0);
    ASSERT_EQ(device.stoppedThreads().size(), 1u);
    ASSERT_EQ(device.stoppedThreads()[0].process, "appshut");
    EXPECT_FALSE(hooked());

    const std::size_t before = device.taskbarReceived().size();
    device.tapTaskbar(230, 10);
    expectOneTap(device.taskbarReceived(), before);

    device.resumeStopped();
    device.advance(1000);
    EXPECT_FALSE(device.process(shut.pid)->running);
    EXPECT_EQ(device.process(shut.pid)->exitCode, 0);
    EXPECT_FALSE(hooked());
    device.tapTaskbar(230, 10);
    expectOneTap(device.taskbarReceived(), before + 2);
}

namespace {

struct InProgressRow {
    const char* name;
    const char* call;  // where a thread stops while the shell's thread is inside our procedure
    std::uint64_t occurrence;  // counted from the tap
    const char* process;
};

class InProgressTest : public TapCloseTest, public ::testing::WithParamInterface<InProgressRow> {};

}  // namespace

// A second start closes the program while the shell's thread is still inside its procedure:
// the program must stay until that call has returned into it and out again.
TEST_P(InProgressTest, ProgramOutlivesTheCallUnderWay) {
    const InProgressRow& row = GetParam();
    const auto shut = start();
    HWND app = application();
    device.stopAt(row.call, device.callsMade(row.call, row.process) + row.occurrence, row.process);
    device.stylusDown(230, 10);
    device.stylusUp(230, 10);
    ASSERT_EQ(device.stoppedThreads().size(), 1u);
    ASSERT_EQ(device.stoppedThreads()[0].process, row.process);

    const auto off = start();
    EXPECT_EQ(off.exitCode, 0);
    EXPECT_FALSE(hooked());
    device.advance(2000);
    EXPECT_TRUE(device.process(shut.pid)->running);
    EXPECT_TRUE(device.errors().empty());

    device.resumeStopped();
    device.advance(1000);
    EXPECT_FALSE(device.process(shut.pid)->running);
    EXPECT_EQ(device.process(shut.pid)->exitCode, 0);
    EXPECT_EQ(taskbarLifts(), 1u);
    // The tap began while tap-to-close was on, so it still closes the application.
    EXPECT_EQ(closesSent(app), 1u);

    // And the taskbar carries on by itself.
    const std::size_t before = device.taskbarReceived().size();
    device.tapTaskbar(230, 10);
    expectOneTap(device.taskbarReceived(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, InProgressTest,
    ::testing::Values(
        // In our procedure, before the taskbar has seen the lift.
        InProgressRow{"BeforeHandingOn", "GetWindowRect", 1, "shell"},
        // In the taskbar's own procedure, called from ours.
        InProgressRow{"InTheTaskbarsHandling", "GetWindowRect", 2, "shell"},
        // The taskbar waits for the application to answer the send that puts it back.
        InProgressRow{"TaskbarWaitsOnTheApplication", "DefWindowProcW", 1, "app"}),
    [](const auto& info) { return std::string(info.param.name); });
