// Hot keys held by windows, their delivery as WM_HOTKEY, and synthesised key events.
#include <gtest/gtest.h>

#include <windows.h>

#include "probe.h"

namespace {

constexpr UINT kVk = 0x8C;

class HotKeysTest : public ::testing::Test {
protected:
    HotKeysTest() { probe::reset(); }
    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }

    // Calls made on the probe's own thread; the result and the error the call left.
    std::pair<BOOL, DWORD> onProbe(const probe::Probe& p, std::function<BOOL()> call) {
        DWORD error = 0;
        const auto result = probe::run(device, p, [&] {
            SetLastError(0);
            const BOOL ok = call();
            error = GetLastError();
            return ok;
        });
        return {*result, error};
    }
    std::pair<BOOL, DWORD> registerKey(const probe::Probe& p, HWND hwnd, int id, UINT mods, UINT vk) {
        return onProbe(p, [=] { return RegisterHotKey(hwnd, id, mods, vk); });
    }
    std::pair<BOOL, DWORD> unregisterKey(const probe::Probe& p, HWND hwnd, int id) {
        return onProbe(p, [=] { return UnregisterHotKey(hwnd, id); });
    }

    pocket::PocketDevice device;
};

}  // namespace

TEST_F(HotKeysTest, AKeyHasOneHolderUntilReleased) {
    const auto a = probe::start(device, "a");
    const auto b = probe::start(device, "b");
    EXPECT_EQ(registerKey(a, a.hwnd, 1, 0, kVk), std::make_pair(TRUE, DWORD{0}));
    EXPECT_EQ(registerKey(b, b.hwnd, 1, 0, kVk), std::make_pair(FALSE, DWORD{ERROR_HOTKEY_ALREADY_REGISTERED}));
    EXPECT_EQ(registerKey(a, a.hwnd, 2, 0, kVk), std::make_pair(FALSE, DWORD{ERROR_HOTKEY_ALREADY_REGISTERED}));
    // The same key with other modifiers is another key.
    EXPECT_EQ(registerKey(b, b.hwnd, 1, MOD_SHIFT, kVk), std::make_pair(TRUE, DWORD{0}));
    // MOD_KEYUP is not part of the key.
    EXPECT_EQ(registerKey(b, b.hwnd, 3, MOD_KEYUP, kVk), std::make_pair(FALSE, DWORD{ERROR_HOTKEY_ALREADY_REGISTERED}));

    EXPECT_EQ(unregisterKey(b, b.hwnd, 7), std::make_pair(FALSE, DWORD{ERROR_HOTKEY_NOT_REGISTERED}));
    EXPECT_EQ(unregisterKey(b, b.hwnd, 1), std::make_pair(TRUE, DWORD{0}));  // b's shifted key
    EXPECT_EQ(unregisterKey(a, a.hwnd, 1), std::make_pair(TRUE, DWORD{0}));
    EXPECT_EQ(unregisterKey(a, a.hwnd, 1), std::make_pair(FALSE, DWORD{ERROR_HOTKEY_NOT_REGISTERED}));
    EXPECT_EQ(registerKey(b, b.hwnd, 1, 0, kVk), std::make_pair(TRUE, DWORD{0}));
    ASSERT_EQ(device.hotKeys().size(), 1u);
    EXPECT_EQ(device.hotKeys()[0].owner, b.hwnd);
    EXPECT_EQ(device.hotKeys()[0].pid, b.pid);
}

TEST_F(HotKeysTest, OnlyTheWindowsOwnThreadRegistersAndReleasesForIt) {
    const auto a = probe::start(device, "a");
    const auto b = probe::start(device, "b");
    EXPECT_EQ(registerKey(b, a.hwnd, 1, 0, kVk).first, FALSE);
    EXPECT_EQ(registerKey(a, a.hwnd, 1, 0, kVk).first, TRUE);
    EXPECT_EQ(unregisterKey(b, a.hwnd, 1).first, FALSE);
    const auto stale = reinterpret_cast<HWND>(0x7FFF0000);
    EXPECT_EQ(registerKey(a, stale, 2, 0, 0x41), std::make_pair(FALSE, DWORD{ERROR_INVALID_WINDOW_HANDLE}));
    EXPECT_EQ(device.hotKeys().size(), 1u);
}

TEST_F(HotKeysTest, APressPostsWmHotKeyToTheHolderOnly) {
    const auto a = probe::start(device, "a");
    const auto b = probe::start(device, "b");
    registerKey(a, a.hwnd, 140, 0, kVk);
    registerKey(b, b.hwnd, 5, MOD_CONTROL | MOD_KEYUP, kVk);  // and at the release
    device.advance(30);

    const auto holder = device.pressKey(kVk);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->owner, a.hwnd);
    device.pressKey(kVk, MOD_CONTROL);
    EXPECT_FALSE(device.pressKey(kVk, MOD_ALT));
    EXPECT_FALSE(device.pressKey(0x8D));

    const auto atA = probe::messagesOf(a.hwnd, WM_HOTKEY);
    ASSERT_EQ(atA.size(), 1u);
    EXPECT_EQ(atA[0].wParam, 140u);
    EXPECT_EQ(atA[0].lParam, MAKELPARAM(0, kVk));
    EXPECT_EQ(atA[0].time, 30u);
    const auto atB = probe::messagesOf(b.hwnd, WM_HOTKEY);
    ASSERT_EQ(atB.size(), 2u);
    EXPECT_EQ(atB[0].lParam, MAKELPARAM(MOD_CONTROL, kVk));
    EXPECT_EQ(atB[1].lParam, MAKELPARAM(MOD_CONTROL | MOD_KEYUP, kVk));
    EXPECT_EQ(device.keyPresses().size(), 4u);
    EXPECT_FALSE(device.keyPresses()[3].receiver);
}

TEST_F(HotKeysTest, KeysGoWithTheirWindowAndProcess) {
    const auto a = probe::start(device, "a");
    const auto b = probe::start(device, "b");
    registerKey(a, a.hwnd, 1, 0, kVk);
    registerKey(b, b.hwnd, 1, 0, 0x8D);
    probe::run(device, a, [&] { return DestroyWindow(a.hwnd); });
    EXPECT_FALSE(device.pressKey(kVk));
    inside(device).postSystemMessage(b.hwnd, WM_CLOSE, 0, 0);
    inside(device).runUntilIdle();
    ASSERT_FALSE(device.process(b.pid)->running);
    EXPECT_TRUE(device.hotKeys().empty());
    const auto c = probe::start(device, "c");
    EXPECT_EQ(registerKey(c, c.hwnd, 1, 0, kVk).first, TRUE);
    EXPECT_EQ(registerKey(c, c.hwnd, 2, 0, 0x8D).first, TRUE);
}

TEST_F(HotKeysTest, PressesWithGapsArriveAtTheirVirtualTimes) {
    const auto a = probe::start(device, "a");
    registerKey(a, a.hwnd, 1, 0, kVk);
    registerKey(a, a.hwnd, 2, 0, 0x89);
    device.pressKeys({{kVk, 100}, {0x89, 0}, {kVk, 449}});
    const auto got = probe::messagesOf(a.hwnd, WM_HOTKEY);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].time, 100u);
    EXPECT_EQ(got[1].wParam, 2u);
    EXPECT_EQ(got[1].time, 100u);
    EXPECT_EQ(got[2].time, 549u);
    EXPECT_EQ(device.now(), 549u);
}

TEST_F(HotKeysTest, AThreadHotKeyIsPostedToTheThread) {
    std::vector<MSG> got;
    inside(device).startHosted("t", [&got] {
        RegisterHotKey(nullptr, 3, 0, kVk);
        MSG msg;
        GetMessageW(&msg, nullptr, 0, 0);
        got.push_back(msg);
        return 0;
    });
    ASSERT_EQ(device.hotKeys().size(), 1u);
    EXPECT_EQ(device.hotKeys()[0].owner, nullptr);
    EXPECT_TRUE(device.pressKey(kVk));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].hwnd, nullptr);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_HOTKEY));
    EXPECT_EQ(got[0].wParam, 3u);
    EXPECT_TRUE(device.hotKeys().empty());  // the thread has ended
}

namespace {

struct PowerKeyCase {
    const char* name;
    std::vector<std::pair<BYTE, DWORD>> events;  // key and flags, in order
    bool switchedOn;
};

class PowerKey : public ::testing::TestWithParam<PowerKeyCase> {};

}  // namespace

TEST_P(PowerKey, SwitchesOffOnAPressAndItsRelease) {
    pocket::PocketDevice device;
    const auto& events = GetParam().events;
    device.advance(7);
    inside(device).startHosted("k", [&events] {
        for (const auto& [vk, flags] : events) keybd_event(vk, 0, flags, 1);
        return 0;
    });
    EXPECT_EQ(device.isSwitchedOn(), GetParam().switchedOn);
    ASSERT_EQ(device.keyboardEvents().size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(device.keyboardEvents()[i].vk, events[i].first);
        EXPECT_EQ(device.keyboardEvents()[i].flags, events[i].second);
        EXPECT_EQ(device.keyboardEvents()[i].extra, 1u);
        EXPECT_EQ(device.keyboardEvents()[i].time, 7u);
    }
    device.switchOn();
    EXPECT_TRUE(device.isSwitchedOn());
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, PowerKey,
    ::testing::Values(PowerKeyCase{"PressAndRelease", {{VK_OFF, 0}, {VK_OFF, KEYEVENTF_KEYUP}}, false},
                      PowerKeyCase{"PressOnly", {{VK_OFF, 0}}, true},
                      PowerKeyCase{"ReleaseOnly", {{VK_OFF, KEYEVENTF_KEYUP}}, true},
                      PowerKeyCase{"ReleaseThenPress", {{VK_OFF, KEYEVENTF_KEYUP}, {VK_OFF, 0}}, true},
                      PowerKeyCase{"OtherKey", {{0x41, 0}, {0x41, KEYEVENTF_KEYUP}}, true},
                      PowerKeyCase{"None", {}, true}),
    [](const auto& info) { return std::string(info.param.name); });
