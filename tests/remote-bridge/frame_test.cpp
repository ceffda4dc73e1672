// The bridge's frame: single instance, the media player's look-alike window, the tray menu, shutdown.
#include <gmock/gmock.h>

#include <shellapi.h>

#include <set>

#include "../expect_sequence.h"
#include "bridge_fixture.h"

using namespace bridge_test;
using namespace pocket;

TEST_F(BridgeTest, StartShowsTheIconAndHoldsTheSevenKeys) {
    auto bridge = start();
    EXPECT_TRUE(bridge.running);
    auto tray = icon();
    EXPECT_EQ(tray.id, 1u);
    EXPECT_EQ(tray.callbackMessage, kTrayMessage);
    EXPECT_EQ(tray.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    EXPECT_EQ(tray.iconId, 102u);

    auto window = device.findWindow("WMP7.5 for Pocket PC");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->title, "Windows Media");
    EXPECT_EQ(window->style, 0u);
    EXPECT_EQ(tray.hwnd, window->hwnd);

    std::set<UINT> held;
    for (const auto& key : device.hotKeys()) {
        EXPECT_EQ(key.owner, window->hwnd);
        EXPECT_EQ(static_cast<UINT>(key.id), key.vk);
        EXPECT_EQ(key.modifiers, 0u);
        held.insert(key.vk);
    }
    EXPECT_EQ(held, (std::set<UINT>{136, 137, 138, 139, 140, 141, 142}));
}

namespace {

const std::vector<std::int64_t> kKeyOrder = {142, 141, 139, 138, 140, 137, 136};

// The last argument of every recorded call of `function` by the bridge: the key, or the key's id.
std::vector<std::int64_t> lastArguments(const pocket::PocketDevice& device, const std::string& function) {
    std::vector<std::int64_t> out;
    for (const pocket::CallView& call : device.calls(0, "rcbridge"))
        if (call.function == function) out.push_back(call.args.back().number());
    return out;
}

}  // namespace

// The tray icon first, then the seven keys, in the order a remote's keys are laid out.
TEST_F(BridgeTest, StartUpTakesTheTrayIconAndTheKeysInOrder) {
    device.recordCalls();
    start();
    static const Step kStartUp[] = {
        {kCall, "CreateMutexW"},
        {kCall, "FindWindowW"},
        {kCall, "GetStockObject"},
        {kCall, "RegisterClassW"},
        {kCall, "CreateWindowExW"},
        {kSent, WM_CREATE},
        {kCall, "LoadImageW"},
        {kCall | kResult, "Shell_NotifyIcon", TRUE},
        {kCall, "RegisterHotKey"}, {kCall, "RegisterHotKey"}, {kCall, "RegisterHotKey"}, {kCall, "RegisterHotKey"},
        {kCall, "RegisterHotKey"}, {kCall, "RegisterHotKey"}, {kCall, "RegisterHotKey"},
    };
    EXPECT_SEQUENCE(device, 0, "rcbridge", kStartUp);
    EXPECT_EQ(lastArguments(device, "RegisterHotKey"), kKeyOrder);
}

TEST_F(BridgeTest, SecondStartEndsAtOnceLeavingOneBridge) {
    auto first = start();
    auto second = start();
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(device.process(first.pid)->running);
    EXPECT_EQ(device.trayIcons().size(), 1u);
    EXPECT_EQ(device.hotKeys().size(), 7u);
}

struct MediaPlayerCase {
    const char* name;
    const char* className;
    const char* title;
    bool refused;
};

class BridgeBesideMediaPlayer : public BridgeTest, public ::testing::WithParamInterface<MediaPlayerCase> {};

TEST_P(BridgeBesideMediaPlayer, RefusesOnlyClassAndTitleTogether) {
    device.createStandIn("wmplayer", GetParam().className, GetParam().title);
    auto bridge = start();
    EXPECT_EQ(bridge.running, !GetParam().refused);
    if (GetParam().refused) {
        EXPECT_EQ(bridge.exitCode, 0);
        EXPECT_TRUE(device.trayIcons().empty());
        EXPECT_TRUE(device.hotKeys().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frame, BridgeBesideMediaPlayer,
    ::testing::Values(MediaPlayerCase{"ClassAndTitle", "WMP7.5 for Pocket PC", "Windows Media", true},
                      MediaPlayerCase{"ClassOnly", "WMP7.5 for Pocket PC", "Playlist", false},
                      MediaPlayerCase{"TitleOnly", "OtherPlayer", "Windows Media", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BridgeTest, PenDownOpensTheMenuAboveTheMenuBar) {
    start();
    auto tray = icon();
    device.penUpOnTrayIcon(tray.hwnd, tray.id);
    EXPECT_FALSE(device.openMenu());  // a lift alone opens nothing

    device.penDownOnTrayIcon(tray.hwnd, tray.id);
    auto menu = device.openMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->x, 240);
    EXPECT_EQ(menu->y, 320 - 26);
    EXPECT_EQ(menu->flags, 0x28u);
    ASSERT_EQ(menu->items.size(), 3u);
    EXPECT_EQ(menu->items[0].text, "ﾊﾞｰｼﾞｮﾝ情報...");
    EXPECT_EQ(menu->items[0].id, kAbout);
    EXPECT_TRUE(menu->items[1].separator);
    EXPECT_EQ(menu->items[2].text, "終了");
    EXPECT_EQ(menu->items[2].id, kExit);
}

// A second touch posted before the first was handled reaches the bridge inside the menu's loop:
// the menu being tracked stays, and goes once, when it closes.
TEST_F(BridgeTest, TouchWhileTheMenuIsTrackedIsIgnored) {
    auto bridge = start();
    auto tray = icon();
    device.penDownOnTrayIcon(tray.hwnd, tray.id, 2);
    ASSERT_TRUE(device.openMenu());
    EXPECT_EQ(device.menuHistory().size(), 0u);
    ASSERT_TRUE(device.chooseMenuItem(kExit));
    EXPECT_EQ(device.menuHistory().size(), 1u);
    const auto ended = *device.process(bridge.pid);
    EXPECT_FALSE(ended.running);
    EXPECT_EQ(ended.handles.liveOf(sim::HandleKind::Menu), 0);
    // One load: the menu and its popup.
    EXPECT_EQ(ended.handles.openedOf(sim::HandleKind::Menu), 2u) << "the menu was loaded again meanwhile";
    EXPECT_EQ(ended.handles.badReleases, 0u);
}

TEST(BridgeScreen, MenuFollowsTheScreenSize) {
    pocket::PocketDevice device(sim::DeviceConfig{480, 640, 0});
    device.start("rcbridge");
    auto tray = device.trayIconOf("rcbridge");
    ASSERT_TRUE(tray);
    device.tapTrayIcon(tray->hwnd, tray->id);
    auto menu = device.openMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->x, 480);
    EXPECT_EQ(menu->y, 614);
}

TEST_F(BridgeTest, AboutShowsTheTextInAnInformationBox) {
    auto bridge = start();
    tapIcon();
    ASSERT_TRUE(device.chooseMenuItem(kAbout));
    auto box = device.messageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "About");
    EXPECT_EQ(box->type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_THAT(box->text, ::testing::StartsWith("Tunelark ﾘﾓｺﾝ ﾕｰﾃｨﾘﾃｨ ver.1.02\nfor Toshiba GENIOe Series\n\n"));
    EXPECT_LE(sim::fromUtf8(box->text).size(), 127u);
    EXPECT_FALSE(device.openMenu());

    // Keys still work while the box waits for the user.
    device.setVolume(0);
    device.pressKey(kVolumeUp);
    EXPECT_EQ(device.volume(), 0x04440444u);

    device.dismissMessageBox();
    EXPECT_FALSE(device.messageBox());
    EXPECT_TRUE(device.process(bridge.pid)->running);
}

TEST_F(BridgeTest, ExitRemovesTheIconAndReleasesTheKeys) {
    auto bridge = start();
    tapIcon();
    ASSERT_TRUE(device.chooseMenuItem(kExit));
    auto ended = device.process(bridge.pid);
    EXPECT_FALSE(ended->running);
    EXPECT_EQ(ended->exitCode, 0);
    EXPECT_TRUE(device.trayIcons().empty());
    EXPECT_TRUE(device.hotKeys().empty());
    EXPECT_TRUE(device.windows().empty());
    for (auto kind : {sim::HandleKind::Menu, sim::HandleKind::Icon, sim::HandleKind::DeviceContext,
                      sim::HandleKind::Window})
        EXPECT_EQ(ended->handles.liveOf(kind), 0) << sim::handleKindName(kind);
    EXPECT_EQ(ended->handles.badReleases, 0u);

    // Another program can take the keys now.
    device.startCode("other", [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"OTHER";
        RegisterClassW(&wc);
        HWND hwnd = CreateWindowExW(0, u"OTHER", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        for (UINT vk : kRemoteKeys) EXPECT_TRUE(RegisterHotKey(hwnd, static_cast<int>(vk), 0, vk)) << vk;
        return 0;
    });
}

TEST_F(BridgeTest, CloseFromAnotherProgramShutsDownInOrder) {
    start();
    device.recordCalls();
    const std::uint64_t mark = device.mark();
    device.startCode("closer", [] {
        PostMessageW(FindWindowW(u"WMP7.5 for Pocket PC", u"Windows Media"), WM_CLOSE, 0, 0);
        return 0;
    });
    // The keys go back in the order they were taken; UnregisterHotKey's id is the key.
    static const Step kShutDown[] = {
        {kPosted, WM_CLOSE},
        {kCall, "UnregisterHotKey"}, {kCall, "UnregisterHotKey"}, {kCall, "UnregisterHotKey"}, {kCall, "UnregisterHotKey"},
        {kCall, "UnregisterHotKey"}, {kCall, "UnregisterHotKey"}, {kCall, "UnregisterHotKey"},
        {kCall | kResult, "Shell_NotifyIcon", TRUE},
        {kCall | kResult, "DestroyIcon", TRUE},
        {kCall, "DestroyWindow"},
        {kSent, WM_DESTROY},
        {kCall, "PostQuitMessage"},
    };
    EXPECT_SEQUENCE(device, mark, "rcbridge", kShutDown);
    EXPECT_EQ(lastArguments(device, "UnregisterHotKey"), kKeyOrder);
    EXPECT_EQ(device.runningCount("rcbridge"), 0u);
}

TEST_F(BridgeTest, AThousandMenusAndKeyPressesLeaveNoHandles) {
    auto bridge = start();
    player();
    for (int i = 0; i < 1000; ++i) {
        tapIcon();
        device.dismissMenu();
        device.pressKey(i % 2 ? kKeyA : kVolumeUp);
        device.advance(200);
        if (i % 10 == 0) {
            device.pressKeys({{kMulti, 0}, {kMulti, 100}});  // a display toggle takes the screen's DC
            device.advance(1000);
        }
    }
    auto now = device.process(bridge.pid);
    EXPECT_EQ(now->handles.liveOf(sim::HandleKind::Menu), 0);
    EXPECT_EQ(now->handles.liveOf(sim::HandleKind::Icon), 1);  // the tray icon
    EXPECT_EQ(now->handles.liveOf(sim::HandleKind::DeviceContext), 0);
    EXPECT_EQ(now->handles.badReleases, 0u);
    EXPECT_EQ(device.menuHistory().size(), 1000u);
    EXPECT_EQ(device.displayPowerState(), static_cast<ULONG>(VideoPowerOn));  // toggled an even number of times
}

class BridgeStartFailure : public BridgeTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BridgeStartFailure, EndsWithCodeZeroAndLeavesNothing) {
    device.failCall(GetParam());
    auto bridge = start();
    EXPECT_FALSE(bridge.running);
    EXPECT_EQ(bridge.exitCode, 0);
    EXPECT_TRUE(device.trayIcons().empty());
    EXPECT_TRUE(device.hotKeys().empty());
    EXPECT_TRUE(device.windows().empty());
    EXPECT_TRUE(start().running);  // nothing stands in the way of the next start
}

INSTANTIATE_TEST_SUITE_P(Frame, BridgeStartFailure,
                         ::testing::Values("CreateMutexW", "RegisterClassW", "CreateWindowExW"));

