// The remote's keys: volume steps, player commands, the multi-press key, display and power, beeps.
#include <gmock/gmock.h>

#include "bridge_fixture.h"

using namespace bridge_test;

namespace {

DWORD volume(WORD left, WORD right) { return MAKELONG(left, right); }

struct VolumeCase {
    const char* name;
    DWORD before;
    UINT key;
    int presses;
    DWORD after;
};

class BridgeVolume : public BridgeTest, public ::testing::WithParamInterface<VolumeCase> {};

}  // namespace

TEST_P(BridgeVolume, StepsEachChannelWithinItsBounds) {
    start();
    device.setVolume(GetParam().before);
    for (int i = 0; i < GetParam().presses; ++i) device.pressKey(GetParam().key);
    EXPECT_EQ(device.volume(), GetParam().after);
    EXPECT_EQ(soundCount(), 0u);  // volume steps are silent
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BridgeVolume,
    ::testing::Values(VolumeCase{"UpCapsOneChannel", volume(65000, 30000), kVolumeUp, 1, volume(65535, 31092)},
                      VolumeCase{"DownFloorsOneChannel", volume(500, 2000), kVolumeDown, 1, volume(0, 908)},
                      VolumeCase{"DownAtZero", volume(0, 0), kVolumeDown, 1, volume(0, 0)},
                      VolumeCase{"UpAtMax", volume(65535, 65535), kVolumeUp, 1, volume(65535, 65535)},
                      VolumeCase{"SixtyUpFromZero", volume(0, 0), kVolumeUp, 60, volume(65520, 65520)},
                      VolumeCase{"SixtyOneUpFromZero", volume(0, 0), kVolumeUp, 61, volume(65535, 65535)},
                      VolumeCase{"SixtyDownFromMax", volume(65535, 65535), kVolumeDown, 60, volume(15, 15)},
                      VolumeCase{"SixtyOneDownFromMax", volume(65535, 65535), kVolumeDown, 61, volume(0, 0)},
                      VolumeCase{"UnequalKeepTheirGap", volume(1000, 3000), kVolumeUp, 2, volume(3184, 5184)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BridgeTest, UnreadableVolumeIsLeftAlone) {
    start();
    device.setVolume(volume(100, 200));
    device.failCall("waveOutGetVolume");
    device.pressKey(kVolumeUp);
    EXPECT_EQ(device.volume(), volume(100, 200));
    EXPECT_TRUE(device.volumeWrites().empty());
    device.pressKey(kVolumeUp);
    EXPECT_EQ(device.volume(), volume(1192, 1292));
}

struct PlayerCase {
    UINT key;
    WPARAM command;
};

class BridgePlayerKey : public BridgeTest, public ::testing::WithParamInterface<PlayerCase> {};

TEST_P(BridgePlayerKey, PostsItsCommandAndBeeps) {
    start();
    HWND tunelark = player();
    device.pressKey(GetParam().key);
    EXPECT_EQ(commands(tunelark), std::vector<WPARAM>{GetParam().command});
    for (const auto& m : device.standInMessages(tunelark)) {
        if (m.message == WM_COMMAND) {
            EXPECT_EQ(m.lParam, 0);
        }
    }
    auto sounds = device.sounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_TRUE(sounds[0].async);
    EXPECT_EQ(sounds[0].path, "\\Program Files\\rcbridge\\beep.wav");
}

INSTANTIATE_TEST_SUITE_P(Keys, BridgePlayerKey,
                         ::testing::Values(PlayerCase{kKeyA, 40038}, PlayerCase{kKeyB, 40037},
                                           PlayerCase{kKeyC, 40027}, PlayerCase{kKeyD, 40027}));

TEST_F(BridgeTest, WithoutAPlayerNothingIsPostedAndNothingSounds) {
    start();
    HWND other = device.createStandIn("notes", "tunelark", "Tunelark").hwnd;  // classes compare exactly
    for (UINT key : {kKeyA, kKeyB, kKeyC, kKeyD}) device.pressKey(key);
    device.pressKey(kMulti);
    device.advance(450);
    EXPECT_TRUE(commands(other).empty());
    EXPECT_EQ(soundCount(), 0u);
}

TEST_F(BridgeTest, FirstPlayerWindowInZOrderGetsTheCommand) {
    start();
    HWND midi = player("TUNELARKMIDI");
    HWND plain = player("TUNELARK");  // created later: in front
    device.pressKey(kKeyA);
    EXPECT_TRUE(commands(midi).empty());
    EXPECT_EQ(commands(plain), std::vector<WPARAM>{40038});
}

// A window whose class cannot be read (gone meanwhile) is passed over, whatever the buffer held
// from the search before: the command goes to the next player window of the walk.
TEST_F(BridgeTest, PlayerWhoseClassCannotBeReadIsPassedOver) {
    start();
    HWND midi = player("TUNELARKMIDI");
    HWND plain = player("TUNELARK");  // in front: the walk reads its class first
    device.failCall("GetClassNameW", 2, 1, "rcbridge");  // the second search's first read
    device.pressKey(kKeyA);
    device.pressKey(kKeyB);
    EXPECT_EQ(commands(plain), std::vector<WPARAM>{40038});
    EXPECT_EQ(commands(midi), std::vector<WPARAM>{40037});
}

TEST_F(BridgeTest, OnePressOfTheMultiKeyActsWhenTheGroupEnds) {
    start();
    HWND tunelark = player();
    device.pressKey(kMulti);
    device.advance(449);
    EXPECT_TRUE(commands(tunelark).empty());
    device.advance(1);
    EXPECT_EQ(commands(tunelark), std::vector<WPARAM>{40036});
    EXPECT_EQ(soundCount(), 1u);
    EXPECT_TRUE(device.timers().empty());  // one-shot
}

TEST_F(BridgeTest, PressesMoreThan450msApartAreSeparateGroups) {
    start();
    HWND tunelark = player();
    device.pressKeys({{kMulti, 0}, {kMulti, 500}});
    device.advance(450);
    EXPECT_EQ(commands(tunelark), (std::vector<WPARAM>{40036, 40036}));
    EXPECT_EQ(device.displayPowerState(), static_cast<ULONG>(VideoPowerOn));
}

struct DisplayCase {
    const char* name;
    bool supported;
    ULONG before;
    ULONG after;
    bool queryFails = false;  // the driver answers the support query with an error (below 0)
};

class BridgeDoublePress : public BridgeTest, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(BridgeDoublePress, TogglesTheDisplayAfterTwoBeeps) {
    start();
    device.setDisplayDriver({GetParam().supported, GetParam().before, sizeof(VIDEO_POWER_MANAGEMENT)});
    if (GetParam().queryFails) device.failCall("ExtEscape");
    device.pressKeys({{kMulti, 0}, {kMulti, 300}});
    EXPECT_EQ(device.displayPowerState(), GetParam().before);
    device.advance(450 + 120);  // the group ends; the first beep plays to its end
    EXPECT_EQ(device.displayPowerState(), GetParam().before);
    device.advance(75);
    EXPECT_EQ(device.displayPowerState(), GetParam().after);
    auto sounds = device.sounds();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_FALSE(sounds[0].async);
    EXPECT_TRUE(sounds[1].async);
    EXPECT_EQ(sounds[1].start, sounds[0].actualEnd + 75);  // played to its end, then the pause
    EXPECT_TRUE(device.timers().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BridgeDoublePress,
    ::testing::Values(DisplayCase{"OnGoesOff", true, VideoPowerOn, VideoPowerOff},
                      DisplayCase{"OffGoesOn", true, VideoPowerOff, VideoPowerOn},
                      DisplayCase{"StandByGoesOn", true, VideoPowerStandBy, VideoPowerOn},
                      DisplayCase{"SuspendGoesOn", true, VideoPowerSuspend, VideoPowerOn},
                      DisplayCase{"NoDriverSupport", false, VideoPowerOn, VideoPowerOn},
                      DisplayCase{"FailedQueryStillToggles", true, VideoPowerOn, VideoPowerOff, true},
                      DisplayCase{"FailedQueryOnADriverWithoutIt", false, VideoPowerOn, VideoPowerOn, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BridgeTest, DriverReportingALongerRecordIsNeverGivenMore) {
    start();
    device.setDisplayDriver({true, VideoPowerOn, 64});
    device.pressKeys({{kMulti, 0}, {kMulti, 100}});
    device.advance(1000);
    EXPECT_EQ(device.displayPowerState(), static_cast<ULONG>(VideoPowerOff));
    bool sawSet = false;
    for (const auto& e : device.displayEscapes())
        if (e.escape == SETPOWERMANAGEMENT) {
            sawSet = true;
            EXPECT_EQ(e.cbInput, static_cast<int>(sizeof(VIDEO_POWER_MANAGEMENT)));
        }
    EXPECT_TRUE(sawSet);
}

TEST_F(BridgeTest, ThirdPressPowersOffAtOnce) {
    auto bridge = start();
    HWND tunelark = player();
    device.pressKeys({{kMulti, 0}, {kMulti, 300}, {kMulti, 300}});
    EXPECT_TRUE(device.timers().empty());
    device.advance(1000);  // three beeps played to their end, with two pauses
    const auto& events = device.keyboardEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].vk, VK_OFF);
    EXPECT_EQ(events[0].flags, 0u);
    EXPECT_EQ(events[0].extra, 1u);
    EXPECT_EQ(events[1].vk, VK_OFF);
    EXPECT_EQ(events[1].flags, static_cast<DWORD>(KEYEVENTF_KEYUP));
    EXPECT_EQ(events[1].extra, 1u);
    EXPECT_FALSE(device.isSwitchedOn());

    auto sounds = device.sounds();
    ASSERT_EQ(sounds.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(sounds[i].async);
    EXPECT_EQ(sounds[1].start, sounds[0].actualEnd + 75);
    EXPECT_EQ(sounds[2].start, sounds[1].actualEnd + 75);
    EXPECT_EQ(events[0].time, sounds[2].actualEnd);

    EXPECT_TRUE(commands(tunelark).empty());
    EXPECT_TRUE(device.timers().empty());
    EXPECT_TRUE(device.process(bridge.pid)->running);
}

TEST_F(BridgeTest, FourthPressStartsANewGroup) {
    start();
    HWND tunelark = player();
    device.pressKeys({{kMulti, 0}, {kMulti, 100}, {kMulti, 100}, {kMulti, 100}});
    device.advance(1000);
    EXPECT_EQ(commands(tunelark), std::vector<WPARAM>{40036});
}

TEST_F(BridgeTest, PressesDuringABeepWaitAndComeInOrder) {
    start();
    device.setVolume(volume(0, 0));
    // The power-off beeps block the bridge; the volume presses made meanwhile wait in its queue.
    device.pressKeys({{kMulti, 0}, {kMulti, 50}, {kMulti, 50}, {kVolumeUp, 10}, {kVolumeDown, 10}, {kVolumeUp, 10}});
    EXPECT_EQ(device.volume(), volume(0, 0));
    EXPECT_TRUE(device.keyboardEvents().empty());
    device.advance(2000);
    ASSERT_EQ(device.keyboardEvents().size(), 2u);
    const auto& writes = device.volumeWrites();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].volume, volume(1092, 1092));
    EXPECT_EQ(writes[1].volume, volume(0, 0));
    EXPECT_EQ(writes[2].volume, volume(1092, 1092));
    EXPECT_GE(writes[0].time, device.keyboardEvents()[1].time);
}

TEST_F(BridgeTest, MissingBeepMeansSilentActionsAndIsLookedUpAtEveryBeep) {
    start();
    HWND tunelark = player();
    const auto beep = device.fileBytes(beepPath());
    ASSERT_TRUE(beep);
    device.removeFile(beepPath());
    device.pressKey(kKeyA);
    EXPECT_EQ(commands(tunelark).size(), 1u);
    EXPECT_EQ(soundCount(), 0u);

    device.pressKeys({{kMulti, 0}, {kMulti, 100}, {kMulti, 100}});
    const std::uint64_t thirdPress = device.now();
    device.advance(1000);
    ASSERT_EQ(device.keyboardEvents().size(), 2u);
    EXPECT_EQ(device.keyboardEvents()[0].time, thirdPress + 150);  // the pauses still pass

    device.putFile(beepPath(), *beep);
    device.pressKey(kKeyB);
    EXPECT_EQ(soundCount(), 1u);
}

TEST_F(BridgeTest, ModulePathThatCannotBeReadPlaysNothing) {
    start();
    HWND tunelark = player();
    device.failCall("GetModuleFileNameW");
    device.pressKey(kKeyA);
    EXPECT_EQ(commands(tunelark).size(), 1u);
    EXPECT_EQ(soundCount(), 0u);
}
