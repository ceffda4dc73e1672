// The taskbar must not notice the hook: every message reaches its own procedure once, unchanged,
// its answer comes back unchanged, and a close request follows its own handling of the lift.
#include <algorithm>
#include <vector>

#include "../expect_sequence.h"
#include "tapclose_fixture.h"

using namespace tapclose_test;
using namespace pocket;

namespace {

bool sameMessage(const sim::ReceivedMessage& m, UINT message, WPARAM wParam, LPARAM lParam) {
    return m.message == message && m.wParam == wParam && m.lParam == lParam;
}

std::size_t indexOf(const std::vector<sim::ReceivedMessage>& log, UINT message) {
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i].message == message) return i;
    return log.size();
}

}  // namespace

TEST_F(TapCloseTest, TaskbarSendsTheApplicationBackBeforeItIsClosed) {
    ASSERT_TRUE(start().running);
    HWND app = application();
    device.stylusDown(230, 10);
    device.recordCalls();
    const std::uint64_t mark = device.mark();
    device.stylusUp(230, 10);

    // The lift, on the shell's thread: ours notes the window in front, hands the lift on, and the
    // taskbar sends that window back before our close request goes out, posted.
    static const Step kLift[] = {
        {kPosted, WM_LBUTTONUP},  // our procedure
        {kCall, "GetWindowRect"},
        {kCall, "GetForegroundWindow"},
        {kCall, "IsWindowVisible"}, {kCall, "IsWindowEnabled"}, {kCall, "GetClassNameW"},
        {kCall, "GetWindowLongW"}, {kCall, "GetWindowLongW"},
        {kCall, "CallWindowProcW"},
        {kCalled, WM_LBUTTONUP},  // the taskbar's own
        {kCall, "GetWindowRect"},
        {kCall, "GetForegroundWindow"},
        {kCall, "SendMessageW"},
        {kSent | kWParam, WM_ACTIVATE, WA_INACTIVE},  // the application
        {kCall, "IsWindow"},
        {kCall, "PostMessageW"},
        {kPosted, WM_CLOSE},  // the application
        {kCall, "DestroyWindow"},
        {kSent, WM_DESTROY},
        {kCall, "PostQuitMessage"},
    };
    static const char* const kIgnored[] = {"GetMessageW", "DispatchMessageW", "TranslateMessage", "DefWindowProcW"};
    EXPECT_SEQUENCE(device, mark, "", kLift, kIgnored);

    ASSERT_EQ(device.sentToBackground().size(), 1u);
    EXPECT_EQ(device.sentToBackground()[0], app);
    EXPECT_EQ(device.foreground(), device.desktop());
    const auto& log = device.standInMessages(app);
    const std::size_t activate = indexOf(log, WM_ACTIVATE);
    const std::size_t close = indexOf(log, WM_CLOSE);
    ASSERT_LT(activate, log.size());
    ASSERT_LT(close, log.size());
    EXPECT_LT(activate, close);
    EXPECT_EQ(log[activate].wParam, static_cast<WPARAM>(WA_INACTIVE));
    EXPECT_TRUE(sameMessage(log[close], WM_CLOSE, 0, 0));
    EXPECT_EQ(closesSent(app), 1u);
    EXPECT_FALSE(device.findWindow("NotesApp").has_value());
}

// Posted, not sent: an application that does not answer cannot hold up the shell, and stays open.
TEST_F(TapCloseTest, ApplicationThatRefusesToCloseStaysOpen) {
    ASSERT_TRUE(start().running);
    sim::StandInOptions options;
    options.refusesToClose = true;
    HWND app = application("NotesApp", options);
    device.tapTaskbar(230, 10);
    EXPECT_EQ(closesSent(app), 1u);
    EXPECT_TRUE(device.findWindow("NotesApp").has_value());
}

TEST_F(TapCloseTest, WindowGoneDuringTheTaskbarsHandlingIsNotPosted) {
    ASSERT_TRUE(start().running);
    sim::StandInOptions options;
    options.closesWhenSentBack = true;
    HWND app = application("NotesApp", options);
    device.recordCalls();
    device.tapTaskbar(230, 10);
    ASSERT_EQ(device.sentToBackground().size(), 1u);
    EXPECT_FALSE(device.findWindow("NotesApp").has_value());
    EXPECT_EQ(closesSent(app), 0u);
    EXPECT_EQ(closesPostedByHook(), 0u);
    EXPECT_EQ(taskbarLifts(), 1u);
}

namespace {

struct SendRow {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT taskbarResult;
    bool closes;
};

class SendTest : public TapCloseTest, public ::testing::WithParamInterface<SendRow> {};

}  // namespace

// Whatever reaches the taskbar, from any thread: once, unchanged, with its own answer.
TEST_P(SendTest, TaskbarGetsTheMessageOnceAndItsAnswerComesBack) {
    const SendRow& row = GetParam();
    ASSERT_TRUE(start().running);
    HWND app = application();
    device.setTaskbarResult(row.taskbarResult);
    const std::size_t before = device.taskbarReceived().size();

    EXPECT_EQ(sendToTaskbar(row.message, row.wParam, row.lParam), row.taskbarResult);
    ASSERT_EQ(device.taskbarReceived().size(), before + 1);
    EXPECT_TRUE(sameMessage(device.taskbarReceived().back(), row.message, row.wParam, row.lParam));
    EXPECT_EQ(closesSent(app), row.closes ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SendTest,
    ::testing::Values(SendRow{"LiftInBand", WM_LBUTTONUP, 0, at(230, 10), 1234, true},
                      SendRow{"LiftInBandNegativeResult", WM_LBUTTONUP, 0x55, at(239, 25), -7, true},
                      SendRow{"LiftOutsideBand", WM_LBUTTONUP, 0, at(100, 10), 1234, false},
                      SendRow{"LiftLeftOfTaskbar", WM_LBUTTONUP, 0, at(-1, 10), 0x7fffffff, false},
                      SendRow{"LiftWithHighBitsInWParam", WM_LBUTTONUP, 0xffffffffu, at(230, 10), 1234, true},
                      SendRow{"PressInBand", WM_LBUTTONDOWN, kPenDown, at(230, 10), 1234, false},
                      SendRow{"MoveInBand", WM_MOUSEMOVE, kPenDown, at(230, 10), 99, false},
                      SendRow{"DoubleTapInBand", WM_LBUTTONDBLCLK, kPenDown, at(230, 10), 1234, false},
                      SendRow{"RightLiftInBand", kRightButtonUp, 0, at(230, 10), 1234, false},
                      SendRow{"Close", WM_CLOSE, 0, 0, 0, false},
                      SendRow{"Private", WM_USER + 7, 0xdeadbeefu, static_cast<LPARAM>(0x80000001u), -1, false},
                      SendRow{"Zero", 0, 0, 0, 42, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The stylus as the touch driver delivers it: posted messages, passed on in order, none added.
TEST_F(TapCloseTest, StylusMessagesReachTheTaskbarUnchangedAndInOrder) {
    ASSERT_TRUE(start().running);
    application();
    struct Posted {
        UINT message;
        int x;
        int y;
    };
    const std::vector<Posted> strokes = {
        {WM_LBUTTONDOWN, 10, 5},   {WM_MOUSEMOVE, 100, 5},  {WM_MOUSEMOVE, 230, 20}, {WM_LBUTTONUP, 230, 20},
        {WM_LBUTTONDOWN, 230, 0},  {WM_MOUSEMOVE, -5, -5},  {WM_LBUTTONUP, -5, -5},  {WM_LBUTTONDOWN, 239, 25},
        {WM_LBUTTONUP, 239, 26},   {WM_LBUTTONDOWN, 0, 0},  {WM_LBUTTONUP, 214, 1},  {WM_LBUTTONDOWN, 300, 3},
        {WM_LBUTTONUP, 30000, 3},
    };
    const std::size_t before = device.taskbarReceived().size();
    std::vector<sim::ReceivedMessage> expected;
    for (const Posted& p : strokes) {
        if (p.message == WM_LBUTTONDOWN) device.stylusDown(p.x, p.y);
        if (p.message == WM_MOUSEMOVE) device.stylusMove(p.x, p.y);
        if (p.message == WM_LBUTTONUP) device.stylusUp(p.x, p.y);
        expected.push_back({p.message, static_cast<WPARAM>(p.message == WM_LBUTTONUP ? 0 : kPenDown), at(p.x, p.y)});
    }
    const auto& received = device.taskbarReceived();
    ASSERT_EQ(received.size(), before + expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(sameMessage(received[before + i], expected[i].message, expected[i].wParam, expected[i].lParam));
    }
}

namespace {

struct CostRow {
    const char* name;
    UINT message;
    int x;
    int y;
};

class CostTest : public TapCloseTest, public ::testing::WithParamInterface<CostRow> {};

}  // namespace

// Every taskbar message passes the hook: anything but a lift must cost it no platform call
// beyond handing the message on (the shell's own procedure makes none for these).
TEST_P(CostTest, MessageOtherThanALiftOnlyHandsOn) {
    const CostRow& row = GetParam();
    ASSERT_TRUE(start().running);
    application();
    device.recordCalls();
    const std::uint64_t mark = device.mark();
    device.postMessage(device.taskbar(), row.message, kPenDown, at(row.x, row.y));
    device.runUntilIdle();

    const Step handOn[] = {{kPosted, row.message}, {kCall, "CallWindowProcW"}};
    EXPECT_SEQUENCE(device, mark, "appshut", handOn);
    ASSERT_FALSE(device.taskbarReceived().empty());
    EXPECT_EQ(device.taskbarReceived().back().message, row.message);
}

INSTANTIATE_TEST_SUITE_P(Messages, CostTest,
                         ::testing::Values(CostRow{"PressInBand", WM_LBUTTONDOWN, 230, 10},
                                           CostRow{"MoveInBand", WM_MOUSEMOVE, 230, 10},
                                           CostRow{"MoveOutside", WM_MOUSEMOVE, 10, 10},
                                           CostRow{"DoubleTap", WM_LBUTTONDBLCLK, 230, 10},
                                           CostRow{"RightLift", kRightButtonUp, 230, 10},
                                           CostRow{"Private", WM_USER + 1, 230, 10}),
                         [](const auto& info) { return std::string(info.param.name); });
