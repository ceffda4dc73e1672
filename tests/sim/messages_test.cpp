// Win32 message semantics of the simulated window manager, checked from code running on the device.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "inside.h"
#include "pocket_device.h"

namespace {

std::vector<std::string> events;

std::string name(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_CREATE: return "create";
    case WM_DESTROY: return "destroy";
    case WM_CLOSE: return "close";
    case WM_TIMER: return "timer" + std::to_string(wParam);
    case WM_USER: return "user" + std::to_string(wParam);
    default: return "msg" + std::to_string(message);
    }
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    events.push_back(name(message, wParam));
    if (message == WM_DESTROY) PostQuitMessage(static_cast<int>(wParam ? wParam : 3));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND makeWindow(LPCWSTR className, LPCWSTR title = u"probe") {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, title, 0, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr,
                           nullptr);
}

int pump() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    return static_cast<int>(msg.wParam);
}

class MessagesTest : public ::testing::Test {
protected:
    MessagesTest() { events.clear(); }
    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }
    pocket::PocketDevice device;
};

}  // namespace

TEST_F(MessagesTest, CreateIsSentInsideCreationAndDestroyEndsTheLoop) {
    auto& p = inside(device).startHosted("probe", [] {
        HWND hwnd = makeWindow(u"PROBE");
        events.push_back("created");
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return pump();
    });
    EXPECT_EQ(events, (std::vector<std::string>{"create", "created", "close", "destroy"}));
    EXPECT_EQ(p.exitCode, 3);
    EXPECT_TRUE(device.windows().empty());
}

TEST_F(MessagesTest, PostedMessagesComeBeforeADueTimer) {
    inside(device).startHosted("probe", [] {
        HWND hwnd = makeWindow(u"PROBE");
        SetTimer(hwnd, 7, 100, nullptr);
        Sleep(150);  // the timer falls due while the thread sleeps
        PostMessageW(hwnd, WM_USER, 1, 0);
        PostMessageW(hwnd, WM_USER, 2, 0);
        MSG msg;
        for (int i = 0; i < 3; ++i) {
            GetMessageW(&msg, nullptr, 0, 0);
            DispatchMessageW(&msg);
        }
        return 0;
    });
    device.advance(200);
    EXPECT_EQ(events, (std::vector<std::string>{"create", "user1", "user2", "timer7"}));
}

TEST_F(MessagesTest, KillTimerRemovesADueTimerAndSetTimerRestartsIt) {
    inside(device).startHosted("probe", [] {
        HWND hwnd = makeWindow(u"PROBE");
        SetTimer(hwnd, 1, 100, nullptr);
        SetTimer(hwnd, 2, 100, nullptr);
        Sleep(150);
        KillTimer(hwnd, 1);
        SetTimer(hwnd, 2, 100, nullptr);  // restarts: due 100 ms from now, not at once
        PostMessageW(hwnd, WM_USER, 0, 0);
        return pump();
    });
    device.advance(150 + 99);
    EXPECT_EQ(events, (std::vector<std::string>{"create", "user0"}));
    device.advance(1);
    EXPECT_EQ(events, (std::vector<std::string>{"create", "user0", "timer2"}));
}

TEST_F(MessagesTest, TimerFiresOncePerPeriodInVirtualTime) {
    inside(device).startHosted("probe", [] {
        HWND hwnd = makeWindow(u"PROBE");
        SetTimer(hwnd, 4, 5000, nullptr);
        return pump();
    });
    device.advance(4999);
    EXPECT_EQ(events.size(), 1u);
    device.advance(1);
    EXPECT_EQ(events.size(), 2u);
    device.advance(60000);
    EXPECT_EQ(events.size(), 14u);
}

TEST_F(MessagesTest, PostToNoWindowGoesToTheCallersThread) {
    inside(device).startHosted("probe", [] {
        EXPECT_TRUE(PostMessageW(nullptr, WM_USER + 5, 9, 10));
        MSG msg{};
        EXPECT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
        EXPECT_EQ(msg.hwnd, nullptr);
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
        EXPECT_EQ(msg.wParam, 9u);
        EXPECT_EQ(msg.lParam, 10);
        return 0;
    });
}

TEST_F(MessagesTest, PostToAWindowThatIsGoneFails) {
    inside(device).startHosted("probe", [] {
        HWND hwnd = makeWindow(u"PROBE");
        DestroyWindow(hwnd);
        SetLastError(0);
        EXPECT_FALSE(PostMessageW(hwnd, WM_USER, 0, 0));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        EXPECT_FALSE(IsWindow(hwnd));
        return 0;
    });
}

TEST_F(MessagesTest, QuitEndsTheLoopWithItsCode) {
    auto& p = inside(device).startHosted("probe", [] {
        PostQuitMessage(42);
        PostMessageW(nullptr, WM_USER, 0, 0);
        MSG msg;
        int seen = 0;
        while (GetMessageW(&msg, nullptr, 0, 0)) ++seen;
        EXPECT_EQ(seen, 1);  // posted messages first, then the quit
        return static_cast<int>(msg.wParam);
    });
    EXPECT_EQ(p.exitCode, 42);
}

TEST_F(MessagesTest, FindWindowAcrossProcessesByClassTitleOrBoth) {
    inside(device).startHosted("owner", [] {
        makeWindow(u"ProbeClass", u"Probe Title");
        return pump();
    });
    inside(device).startHosted("finder", [] {
        const HWND byClass = FindWindowW(u"PROBECLASS", nullptr);
        EXPECT_NE(byClass, nullptr);
        EXPECT_EQ(FindWindowW(nullptr, u"Probe Title"), byClass);
        EXPECT_EQ(FindWindowW(u"ProbeClass", u"Probe Title"), byClass);
        EXPECT_EQ(FindWindowW(u"ProbeClass", u"Other"), nullptr);
        EXPECT_EQ(FindWindowW(u"Probe", nullptr), nullptr);
        PostMessageW(byClass, WM_CLOSE, 0, 0);
        return 0;
    });
    EXPECT_EQ(device.runningCount("owner"), 0u);
}

namespace {
LRESULT CALLBACK AnsweringProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        events.push_back("sent" + std::to_string(wParam));
        return static_cast<LRESULT>(wParam * 2);
    }
    return RecordingProc(hwnd, message, wParam, lParam);
}
}  // namespace

TEST_F(MessagesTest, SentMessagesFromAnotherThreadAreHandledBeforePostedOnes) {
    inside(device).startHosted("receiver", [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = AnsweringProc;
        wc.lpszClassName = u"RECEIVER";
        RegisterClassW(&wc);
        HWND hwnd = CreateWindowExW(0, u"RECEIVER", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        PostMessageW(hwnd, WM_TIMER, 99, 0);
        Sleep(1000);  // the send arrives while the receiver is busy elsewhere
        return pump();
    });
    inside(device).startHosted("sender", [] {
        const HWND receiver = FindWindowW(u"RECEIVER", nullptr);
        events.push_back("sending");
        const LRESULT answer = SendMessageW(receiver, WM_USER, 21, 0);
        events.push_back("answer" + std::to_string(answer));
        return 0;
    });
    EXPECT_EQ(events, (std::vector<std::string>{"create", "sending"}));
    device.advance(1000);
    // The receiver keeps its turn after answering; the sender sees the answer when it runs again.
    EXPECT_EQ(events, (std::vector<std::string>{"create", "sending", "sent21", "timer99", "answer42"}));
}

TEST_F(MessagesTest, NamedMutexIsSharedAndGoesWithItsLastHandle) {
    inside(device).startHosted("first", [] {
        EXPECT_NE(CreateMutexW(nullptr, FALSE, u"NAME"), nullptr);
        EXPECT_EQ(GetLastError(), 0u);
        return pump();
    });
    inside(device).startHosted("second", [] {
        HANDLE h = CreateMutexW(nullptr, FALSE, u"NAME");
        EXPECT_NE(h, nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        CreateMutexW(nullptr, FALSE, u"name");  // names are case-sensitive
        EXPECT_EQ(GetLastError(), 0u);
        return 0;
    });
    EXPECT_TRUE(inside(device).mutexes.exists(u"NAME"));
    EXPECT_FALSE(inside(device).mutexes.exists(u"name"));  // closed with the second process
}

TEST_F(MessagesTest, OnlyTheOwnerOfAMutexReleasesIt) {
    inside(device).startHosted("owner", [] {
        HANDLE owned = CreateMutexW(nullptr, TRUE, u"OWNED");
        HANDLE free = CreateMutexW(nullptr, FALSE, u"FREE");
        SetLastError(0);
        EXPECT_FALSE(ReleaseMutex(free));
        EXPECT_EQ(GetLastError(), 288u);  // ERROR_NOT_OWNER
        Sleep(10);  // the other opens it meanwhile
        EXPECT_TRUE(ReleaseMutex(owned));
        EXPECT_FALSE(ReleaseMutex(owned));  // owned once, released once
        return pump();
    });
    inside(device).startHosted("other", [] {
        // Opening an existing mutex never makes the caller its owner.
        HANDLE opened = CreateMutexW(nullptr, TRUE, u"OWNED");
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        SetLastError(0);
        EXPECT_FALSE(ReleaseMutex(opened));
        EXPECT_EQ(GetLastError(), 288u);
        EXPECT_FALSE(ReleaseMutex(reinterpret_cast<HANDLE>(0x1234)));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        return 0;
    });
    device.advance(10);
}

namespace {

std::vector<HWND> family;  // parent, then its children

LRESULT CALLBACK FamilyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        const auto at = std::find(family.begin(), family.end(), hwnd);
        events.push_back("destroy" + std::to_string(at - family.begin()) + (IsWindow(hwnd) ? "" : " gone"));
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(MessagesTest, DestroyWindowTakesItsChildrenTimersAndPostedMessages) {
    inside(device).startHosted("probe", [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = FamilyProc;
        wc.lpszClassName = u"FAMILY";
        RegisterClassW(&wc);
        family.clear();
        family.push_back(CreateWindowExW(0, u"FAMILY", u"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr));
        for (int i = 0; i < 2; ++i)
            family.push_back(
                CreateWindowExW(0, u"FAMILY", u"", WS_CHILD, 0, 0, 9, 9, family[0], nullptr, nullptr, nullptr));
        HWND other = CreateWindowExW(0, u"FAMILY", u"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
        for (HWND hwnd : {family[0], family[2], other}) PostMessageW(hwnd, WM_USER, 0, 0);
        SetTimer(family[1], 1, 10, nullptr);
        EXPECT_TRUE(DestroyWindow(family[0]));
        for (HWND hwnd : family) EXPECT_FALSE(IsWindow(hwnd));
        Sleep(20);
        MSG msg;
        std::vector<HWND> left;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) left.push_back(msg.hwnd);
        EXPECT_EQ(left, std::vector<HWND>{other});
        return 0;
    });
    device.advance(20);
    // The parent hears of it first; each is still a window while it does.
    EXPECT_EQ(events, (std::vector<std::string>{"destroy0", "destroy1", "destroy2"}));
}

TEST_F(MessagesTest, TickCountWrapsAt2To32) {
    device.setTickCount(0xFFFFFF00u);
    inside(device).startHosted("probe", [] {
        const DWORD before = GetTickCount();
        Sleep(0x200);
        EXPECT_EQ(GetTickCount() - before, 0x200u);
        EXPECT_EQ(GetTickCount(), 0x100u);
        return 0;
    });
    device.advance(0x200);
}

TEST_F(MessagesTest, ThreadThatNeverBlocksIsStoppedLoudly) {
    inside(device).scheduler.runawayLimit = 10000;
    auto& p = inside(device).startHosted("spinner", [] {
        for (;;) GetTickCount();
        return 0;
    });
    EXPECT_FALSE(p.running());
    ASSERT_EQ(device.errors().size(), 1u);
    EXPECT_NE(device.errors()[0].find("spinner"), std::string::npos);
    device.clearErrors();
}
