// Which foreground windows a lift in the band may close.
#include <string>
#include <tuple>

#include "tapclose_fixture.h"

using namespace tapclose_test;

namespace {

// A lift in the band with `app` in front: how many WM_CLOSE it got, after checking the taskbar had the lift.
class ClosableTest : public TapCloseTest {
protected:
    std::size_t closesAfterLift(HWND app) {
        EXPECT_NE(app, nullptr);
        device.recordCalls();
        device.tapTaskbar(230, 10);
        EXPECT_EQ(taskbarLifts(), 1u);
        EXPECT_EQ(closesSent(app), closesPostedByHook());
        return closesSent(app);
    }
};

class ExcludedClassTest : public ClosableTest, public ::testing::WithParamInterface<const char*> {};

}  // namespace

TEST_P(ExcludedClassTest, IsNeverClosed) {
    ASSERT_TRUE(start().running);
    HWND app = application(GetParam());
    EXPECT_EQ(closesAfterLift(app), 0u);
    // The taskbar still did its own part.
    ASSERT_EQ(device.sentToBackground().size(), 1u);
    EXPECT_EQ(device.sentToBackground()[0], app);
}

INSTANTIATE_TEST_SUITE_P(Classes, ExcludedClassTest,
                         ::testing::Values("HHTaskBar", "SipWndClass", "menu_worker", "Explore", "Worker",
                                           "DesktopExplorerWindow", "MSPOutlook", "MS_SIPBUTTON", "static", "Dialog"));

namespace {

std::string longName(std::size_t length, const std::string& head) {
    std::string name = head;
    while (name.size() < length) name += static_cast<char>('a' + name.size() % 26);
    return name;
}

class NearMissTest : public ClosableTest, public ::testing::WithParamInterface<std::tuple<std::string, DWORD>> {};

}  // namespace

// Names close to an excluded one are not excluded: the two extended-style bits alone decide.
TEST_P(NearMissTest, IsDecidedByTheStylesAlone) {
    const auto& [className, exStyle] = GetParam();
    ASSERT_TRUE(start().running);
    sim::StandInOptions options;
    options.exStyle = exStyle;
    HWND app = application(className, options);
    EXPECT_EQ(closesAfterLift(app), (exStyle & (WS_EX_NOACTIVATE | WS_EX_CAPTIONOKBTN)) ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NearMissTest,
    ::testing::Combine(::testing::Values("dialog", "DIALOG", "Dialo", "Dialogs", "Static", "STATIC", "stati",
                                         "statics", "Work", "Worker2", "worker", "hhtaskbar", "HHTaskBa",
                                         "HHTaskBar ", "Explorer", "Explor", "desktopexplorerwindow", "MSPOutlook2",
                                         "menu_worke", "sipwndclass", "MS_SIPBUTTONS", longName(63, "Worker"),
                                         longName(64, "Worker"), longName(64, "static"), longName(200, "Dialog")),
                       ::testing::Values(0u, WS_EX_CAPTIONOKBTN, WS_EX_NOACTIVATE)));

namespace {

struct StyleRow {
    const char* name;
    const char* className;
    DWORD exStyle;
    bool closes;
};

class ExStyleTest : public ClosableTest, public ::testing::WithParamInterface<StyleRow> {};

}  // namespace

TEST_P(ExStyleTest, OnlyNoActivateAndCaptionOkReject) {
    const StyleRow& row = GetParam();
    ASSERT_TRUE(start().running);
    sim::StandInOptions options;
    options.exStyle = row.exStyle;
    EXPECT_EQ(closesAfterLift(application(row.className, options)), row.closes ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ExStyleTest,
    ::testing::Values(StyleRow{"None", "NotesApp", 0, true},
                      StyleRow{"NoActivate", "NotesApp", WS_EX_NOACTIVATE, false},
                      StyleRow{"CaptionOk", "NotesApp", WS_EX_CAPTIONOKBTN, false},
                      StyleRow{"Topmost", "NotesApp", WS_EX_TOPMOST, true},
                      StyleRow{"NoDrag", "NotesApp", WS_EX_NODRAG, true},
                      StyleRow{"TopmostNoDrag", "NotesApp", WS_EX_TOPMOST | WS_EX_NODRAG, true},
                      StyleRow{"EveryOtherBit", "NotesApp", ~(WS_EX_NOACTIVATE | WS_EX_CAPTIONOKBTN), true},
                      StyleRow{"CaptionOkAndOthers", "NotesApp", WS_EX_CAPTIONOKBTN | WS_EX_TOPMOST | WS_EX_NODRAG,
                               false},
                      StyleRow{"NoActivateAndOthers", "NotesApp", WS_EX_NOACTIVATE | WS_EX_TOPMOST, false},
                      StyleRow{"DialogTopmost", "Dialog", WS_EX_TOPMOST, false},
                      StyleRow{"StaticTopmost", "static", WS_EX_TOPMOST | WS_EX_NODRAG, false}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct StateRow {
    const char* name;
    const char* className;
    DWORD style;
};

class WindowStateTest : public ClosableTest, public ::testing::WithParamInterface<StateRow> {};

}  // namespace

// Hidden or disabled: left alone, whatever the class.
TEST_P(WindowStateTest, IsNeverClosed) {
    const StateRow& row = GetParam();
    ASSERT_TRUE(start().running);
    sim::StandInOptions options;
    options.style = row.style;
    EXPECT_EQ(closesAfterLift(application(row.className, options)), 0u);
}

INSTANTIATE_TEST_SUITE_P(States, WindowStateTest,
                         ::testing::Values(StateRow{"Hidden", "NotesApp", 0},
                                           StateRow{"Disabled", "NotesApp", WS_VISIBLE | WS_DISABLED},
                                           StateRow{"HiddenAndDisabled", "NotesApp", WS_DISABLED},
                                           StateRow{"HiddenWeirdClass", "notesapp2", 0},
                                           StateRow{"DisabledDialogCase", "dialog", WS_VISIBLE | WS_DISABLED}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClosableTest, NoForegroundWindowClosesNothing) {
    ASSERT_TRUE(start().running);
    HWND app = application();
    device.setForeground(nullptr);
    EXPECT_EQ(closesAfterLift(app), 0u);
    EXPECT_TRUE(device.sentToBackground().empty());
}

// The shell's own desktop in front, which is what a device shows with no application open.
TEST_F(ClosableTest, DesktopInFrontIsNotClosed) {
    ASSERT_TRUE(start().running);
    ASSERT_EQ(device.foreground(), device.desktop());
    device.recordCalls();
    device.tapTaskbar(230, 10);
    EXPECT_EQ(closesPostedByHook(), 0u);
    EXPECT_EQ(device.foreground(), device.desktop());
}

// A foreground handle whose window has gone since.
TEST_F(ClosableTest, StaleForegroundHandleClosesNothing) {
    ASSERT_TRUE(start().running);
    HWND app = application();
    ASSERT_TRUE(device.closeStandIn(app));
    device.setForeground(app);
    device.recordCalls();
    device.tapTaskbar(230, 10);
    EXPECT_EQ(closesPostedByHook(), 0u);
    EXPECT_EQ(taskbarLifts(), 1u);
}
