// Tray icons, popup menus and message boxes: modal waits that keep dispatching, and the user's side.
#include <gtest/gtest.h>

#include <shellapi.h>
#include <windows.h>

#include <string>
#include <vector>

#include "context.h"
#include "device.h"
#include "inside.h"
#include "pocket_device.h"

namespace {

std::vector<std::string> seen;
BOOL trackResult = -1;

constexpr UINT kTrayMessage = WM_USER + 1024;

sim::MenuItem item(const char16_t* text, UINT id) {
    sim::MenuItem m;
    m.text = text;
    m.id = static_cast<std::uint16_t>(id);
    return m;
}

HMENU makeMenu() {
    sim::MenuItem separator;
    separator.separator = true;
    sim::MenuItem top;
    top.text = u"popup";
    top.flags = MF_POPUP;
    top.popup = {item(u"About", 40006), separator, item(u"Exit", 40005)};
    sim::Device& device = sim::currentDevice();
    return device.menus.create({top}, &sim::currentProcess());
}

LRESULT CALLBACK TrayProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kTrayMessage:
        seen.push_back(lParam == WM_LBUTTONDOWN ? "down" : lParam == WM_LBUTTONUP ? "up" : "other");
        if (lParam == WM_LBUTTONDOWN) {
            HMENU menu = makeMenu();
            trackResult = TrackPopupMenuEx(GetSubMenu(menu, 0), TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 240, 294, hwnd,
                                           nullptr);
            seen.push_back("returned");
            DestroyMenu(menu);
        }
        return 0;
    case WM_COMMAND:
        seen.push_back("command" + std::to_string(LOWORD(wParam)));
        return 0;
    case WM_TIMER:
        seen.push_back("timer");
        return 0;
    case WM_USER:
        seen.push_back("posted");
        return 0;
    case WM_USER + 2:
        PostQuitMessage(5);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND trayWindow = nullptr;

int trayProgram() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TrayProc;
    wc.lpszClassName = u"TRAYPROBE";
    RegisterClassW(&wc);
    trayWindow = CreateWindowExW(0, u"TRAYPROBE", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    NOTIFYICONDATA nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = trayWindow;
    nid.uID = 1;
    nid.uFlags = NIF_MESSAGE;
    nid.uCallbackMessage = kTrayMessage;
    Shell_NotifyIcon(NIM_ADD, &nid);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    return static_cast<int>(msg.wParam);
}

class ShellTest : public ::testing::Test {
protected:
    ShellTest() {
        seen.clear();
        trackResult = -1;
        process = &inside(device).startHosted("tray", trayProgram);
    }
    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }
    pocket::PocketDevice device;
    sim::Process* process = nullptr;
};

}  // namespace

TEST_F(ShellTest, PenDownAndUpArePostedSeparately) {
    ASSERT_EQ(device.trayIcons().size(), 1u);
    EXPECT_EQ(device.trayIcons()[0].callbackMessage, kTrayMessage);
    device.penUpOnTrayIcon(trayWindow, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"up"}));
    EXPECT_FALSE(device.openMenu());
    EXPECT_FALSE(device.penDownOnTrayIcon(trayWindow, 2));  // no such icon
}

TEST_F(ShellTest, MenuChoiceArrivesAsPostedCommandAfterTheWaitEnds) {
    device.penDownOnTrayIcon(trayWindow, 1);
    auto menu = device.openMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->x, 240);
    EXPECT_EQ(menu->y, 294);
    EXPECT_EQ(menu->flags, static_cast<UINT>(TPM_RIGHTALIGN | TPM_BOTTOMALIGN));
    ASSERT_EQ(menu->items.size(), 3u);
    EXPECT_EQ(menu->items[0].text, "About");
    EXPECT_TRUE(menu->items[1].separator);
    EXPECT_FALSE(device.chooseMenuItem(0));  // the separator cannot be picked
    EXPECT_TRUE(device.chooseMenuItem(40005));
    EXPECT_EQ(seen, (std::vector<std::string>{"down", "returned", "command40005"}));
    EXPECT_EQ(trackResult, TRUE);
    EXPECT_EQ(process->handles.liveOf(sim::HandleKind::Menu), 0);
}

TEST_F(ShellTest, OpenMenuStillDispatchesTimersAndPostedMessages) {
    device.penDownOnTrayIcon(trayWindow, 1);
    inside(device).postSystemMessage(trayWindow, WM_USER, 0, 0);
    inside(device).runUntilIdle();
    EXPECT_EQ(seen, (std::vector<std::string>{"down", "posted"}));
    device.dismissMenu();
    EXPECT_EQ(seen, (std::vector<std::string>{"down", "posted", "returned"}));
}

TEST_F(ShellTest, TouchingTheIconWhileTheMenuIsOpenOnlyClosesIt) {
    device.penDownOnTrayIcon(trayWindow, 1);
    device.penUpOnTrayIcon(trayWindow, 1);  // the lift of the opening tap goes to the menu
    ASSERT_TRUE(device.openMenu());
    device.tapTrayIcon(trayWindow, 1);
    EXPECT_FALSE(device.openMenu());
    EXPECT_EQ(seen, (std::vector<std::string>{"down", "returned"}));
    device.penUpOnTrayIcon(trayWindow, 1);  // a later lift is the program's again
    EXPECT_EQ(seen, (std::vector<std::string>{"down", "returned", "up"}));
    ASSERT_EQ(device.menuHistory().size(), 1u);
    EXPECT_EQ(device.menuHistory()[0].chosen, 0u);
}

TEST_F(ShellTest, QuitEndsTheMenuAndStaysPosted) {
    device.penDownOnTrayIcon(trayWindow, 1);
    inside(device).postSystemMessage(trayWindow, WM_USER + 2, 0, 0);
    inside(device).runUntilIdle();
    EXPECT_FALSE(device.openMenu());
    EXPECT_EQ(seen, (std::vector<std::string>{"down", "returned"}));
    EXPECT_FALSE(process->running());
    EXPECT_EQ(process->exitCode, 5);  // the message loop saw the quit the menu gave back
}

TEST_F(ShellTest, DestroyingTheOwnerEndsTheMenu) {
    device.penDownOnTrayIcon(trayWindow, 1);
    inside(device).startHosted("closer", [] {
        PostMessageW(trayWindow, WM_CLOSE, 0, 0);  // DefWindowProc destroys: the owner goes, the menu with it
        return 0;
    });
    EXPECT_FALSE(device.openMenu());
    EXPECT_FALSE(process->running());
    EXPECT_EQ(process->exitCode, 0);
}

namespace {
int boxResult = -1;
}

TEST(ShellMessageBox, IsModalAndReturnsTheButton) {
    pocket::PocketDevice device;
    boxResult = -1;
    auto& p = inside(device).startHosted("box", [] {
        SetTimer(nullptr, 0, 100, nullptr);
        boxResult = MessageBoxW(nullptr, u"text\nline", u"About", MB_OK | MB_ICONINFORMATION);
        return 0;
    });
    auto box = device.messageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "text\nline");
    EXPECT_EQ(box->caption, "About");
    EXPECT_EQ(box->type, static_cast<UINT>(MB_ICONINFORMATION));
    device.advance(1000);  // its timer keeps running while the box waits
    EXPECT_TRUE(p.running());
    EXPECT_TRUE(device.dismissMessageBox(IDOK));
    EXPECT_EQ(boxResult, IDOK);
    EXPECT_FALSE(p.running());
    EXPECT_FALSE(device.messageBox());
    EXPECT_EQ(device.messageBoxHistory().size(), 1u);
}

TEST(ShellMessageBox, QuitEndsItWithItsInitialResultAndStaysPosted) {
    pocket::PocketDevice device;
    boxResult = -1;
    auto& p = inside(device).startHosted("box", [] {
        PostQuitMessage(4);
        boxResult = MessageBoxW(nullptr, u"text", u"About", MB_YESNO);
        MSG msg;
        EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
        return static_cast<int>(msg.wParam);
    });
    EXPECT_EQ(boxResult, IDOK);
    EXPECT_EQ(p.exitCode, 4);
    EXPECT_FALSE(device.messageBox());
}

TEST(ShellMetrics, ScreenSize) {
    pocket::PocketDevice device(sim::DeviceConfig{320, 240, 0});
    inside(device).startHosted("metrics", [] {
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
        return 0;
    });
}

// NULL names no menu: the call fails, and no one's handle count calls it a bad release, as
// releasing a handle twice is.
TEST(Menus, DestroyingNullFailsWithoutABadRelease) {
    pocket::PocketDevice device;
    BOOL nullResult = TRUE;
    BOOL twiceResult = TRUE;
    DWORD error = 0;
    auto& process = inside(device).startHosted("m", [&] {
        nullResult = DestroyMenu(nullptr);
        error = GetLastError();
        HMENU menu = makeMenu();
        DestroyMenu(menu);
        twiceResult = DestroyMenu(menu);
        return 0;
    });
    EXPECT_FALSE(nullResult);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
    EXPECT_FALSE(twiceResult);
    EXPECT_EQ(process.handlesAtExit->badReleases, 1u);
}
