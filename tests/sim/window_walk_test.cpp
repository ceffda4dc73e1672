// Walking the top-level windows, class names, and the stand-in windows of outside programs.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "probe.h"

namespace {

class WindowWalkTest : public ::testing::Test {
protected:
    WindowWalkTest() { probe::reset(); }
    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }

    // The top-level windows as GetWindow walks them from the first.
    std::vector<HWND> walk() {
        std::vector<HWND> out;
        inside(device).startHosted("walker", [&out] {
            for (HWND w = GetWindow(nullptr, GW_CHILD); w && out.size() < 100; w = GetWindow(w, GW_HWNDNEXT))
                out.push_back(w);
            return 0;
        });
        return out;
    }

    // The walk must see every top-level window; the shell's own windows may be among them.
    std::vector<HWND> walkOf(std::initializer_list<HWND> ours) {
        const std::vector<HWND> all = walk();
        EXPECT_EQ(all, inside(device).windows.zOrder());
        std::vector<HWND> out;
        for (HWND w : all)
            if (std::find(ours.begin(), ours.end(), w) != ours.end()) out.push_back(w);
        return out;
    }

    pocket::PocketDevice device;
};

}  // namespace

TEST_F(WindowWalkTest, GoesFromTheFrontWindowBackwards) {
    const auto older = device.createStandIn("tunelark", "TUNELARK", "Tunelark");
    const auto newer = device.createStandIn("midi", "TUNELARKMIDI", "Tunelark MIDI");
    const auto p = probe::start(device, "p");
    ASSERT_TRUE(older.hwnd && newer.hwnd);
    EXPECT_EQ(walkOf({older.hwnd, newer.hwnd, p.hwnd}), (std::vector<HWND>{p.hwnd, newer.hwnd, older.hwnd}));
    const auto& z = inside(device).windows.zOrder();

    std::vector<HWND> got;
    DWORD error = 0;
    inside(device).startHosted("walker", [&] {
        got.push_back(GetWindow(newer.hwnd, GW_HWNDFIRST));
        got.push_back(GetWindow(newer.hwnd, GW_HWNDLAST));
        got.push_back(GetWindow(newer.hwnd, GW_HWNDPREV));
        got.push_back(GetWindow(z.front(), GW_HWNDPREV));
        got.push_back(GetWindow(z.back(), GW_HWNDNEXT));
        got.push_back(GetWindow(newer.hwnd, GW_CHILD));
        got.push_back(GetWindow(newer.hwnd, GW_OWNER));
        SetLastError(0);
        got.push_back(GetWindow(reinterpret_cast<HWND>(0x7FFF0000), GW_HWNDNEXT));
        error = GetLastError();
        return 0;
    });
    EXPECT_EQ(got, (std::vector<HWND>{z.front(), z.back(), p.hwnd, nullptr, nullptr, nullptr, nullptr, nullptr}));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowWalkTest, ClosedWindowsLeaveTheWalk) {
    const auto a = device.createStandIn("a", "A", "a");
    const auto b = device.createStandIn("b", "B", "b");
    EXPECT_TRUE(device.closeStandIn(b.hwnd));
    EXPECT_FALSE(device.process(b.pid)->running);
    EXPECT_EQ(walkOf({a.hwnd, b.hwnd}), std::vector<HWND>{a.hwnd});
    EXPECT_TRUE(device.closeStandIn(a.hwnd));
    EXPECT_TRUE(walkOf({a.hwnd, b.hwnd}).empty());
    EXPECT_FALSE(device.closeStandIn(a.hwnd));
}

TEST_F(WindowWalkTest, AStandInRecordsWhatItReceives) {
    const auto player = device.createStandIn("tunelark", "TUNELARK", "Tunelark");
    const auto p = probe::start(device, "p");
    device.advance(40);
    probe::run(device, p, [&] { return PostMessageW(player.hwnd, WM_COMMAND, 40038, 0); });
    EXPECT_TRUE(device.closeStandIn(player.hwnd));
    std::vector<UINT> messages;
    for (const auto& m : device.standInMessages(player.hwnd)) messages.push_back(m.message);
    EXPECT_EQ(messages, (std::vector<UINT>{WM_CREATE, WM_COMMAND, WM_CLOSE, WM_DESTROY}));
    const auto command = device.standInMessages(player.hwnd)[1];
    EXPECT_EQ(command.wParam, 40038u);
    EXPECT_EQ(command.lParam, 0);
    EXPECT_EQ(command.time, 40u);
}

namespace {

struct ClassNameCase {
    const char* name;
    int maxCount;
    int result;
    std::u16string buffer;  // prefilled with '#'
};

class ClassName : public ::testing::TestWithParam<ClassNameCase> {};

}  // namespace

TEST_P(ClassName, IsCutToLeaveRoomForTheTerminator) {
    pocket::PocketDevice device;
    const auto window = device.createStandIn("t", "TUNELARK", "t");  // 8 characters
    const ClassNameCase c = GetParam();
    std::u16string buffer(10, u'#');
    int result = 99;
    inside(device).startHosted("c", [&] {
        result = GetClassNameW(window.hwnd, buffer.data(), c.maxCount);
        return 0;
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(buffer, c.buffer);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ClassName,
    ::testing::Values(ClassNameCase{"Roomy", 10, 8, std::u16string(u"TUNELARK\0#", 10)},
                      ClassNameCase{"JustFits", 9, 8, std::u16string(u"TUNELARK\0#", 10)},
                      ClassNameCase{"OneShort", 8, 7, std::u16string(u"TUNELAR\0##", 10)},
                      ClassNameCase{"OnlyTerminator", 1, 0, u"##########"},
                      ClassNameCase{"Zero", 0, 0, u"##########"},
                      ClassNameCase{"Negative", -1, 0, u"##########"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowState, SetWindowLongLeavesTheLastErrorAlone) {
    pocket::PocketDevice device;
    inside(device).startHosted("probe", [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"STATE";
        RegisterClassW(&wc);
        HWND hwnd = CreateWindowExW(0, u"STATE", u"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
        // A previous value of 0 tells nothing: only a caller that cleared the error can tell.
        SetLastError(1234);
        EXPECT_EQ(SetWindowLongW(hwnd, GWL_USERDATA, 5), 0);
        EXPECT_EQ(GetLastError(), 1234u);
        EXPECT_EQ(SetWindowLongW(hwnd, GWL_USERDATA, 0), 5);
        EXPECT_EQ(GetLastError(), 1234u);
        return 0;
    });
    EXPECT_TRUE(device.errors().empty());
}

TEST(WindowState, AChildIsVisibleOnlyWithItsParents) {
    pocket::PocketDevice device;
    inside(device).startHosted("probe", [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"STATE";
        RegisterClassW(&wc);
        auto make = [](DWORD style, HWND parent) {
            return CreateWindowExW(0, u"STATE", u"", style, 0, 0, 9, 9, parent, nullptr, nullptr, nullptr);
        };
        HWND hidden = make(WS_POPUP, nullptr);
        HWND shown = make(WS_POPUP | WS_VISIBLE, nullptr);
        EXPECT_FALSE(IsWindowVisible(make(WS_CHILD | WS_VISIBLE, hidden)));
        HWND middle = make(WS_CHILD | WS_VISIBLE, shown);
        EXPECT_TRUE(IsWindowVisible(make(WS_CHILD | WS_VISIBLE, middle)));
        EXPECT_FALSE(IsWindowVisible(make(WS_CHILD, middle)));
        EXPECT_FALSE(IsWindowVisible(make(WS_CHILD | WS_VISIBLE, make(WS_CHILD, shown))));
        return 0;
    });
    EXPECT_TRUE(device.errors().empty());
}
