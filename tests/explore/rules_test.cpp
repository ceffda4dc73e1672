// The explorer's rules for tap-to-close and the volume keys, on hand-made cases.
#include <gtest/gtest.h>

#include "tap_rules.h"
#include "volume_model.h"

namespace {

using namespace explore;

TEST(TapRules, CloseBandOnAStandardTaskbar) {
    const struct {
        int x, y;
        bool ours, shell;
    } cases[] = {
        {215, 10, true, true},   {239, 10, true, true},    {214, 10, false, false}, {240, 10, false, false},
        {230, 25, true, true},   {230, 26, false, false},  {230, 0, true, true},    {-1, 10, false, false},
        {230, -1, false, false}, {65536 + 230, 5, true, true}, {-26, 5, false, false}, {230, 65535, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(liftInCloseBand(c.x, c.y, 240, 26), c.ours) << c.x << "," << c.y;
        EXPECT_EQ(shellCloseButtonHit(c.x, c.y, 240, 26), c.shell) << c.x << "," << c.y;
    }
}

TEST(TapRules, NarrowAndWideTaskbars) {
    EXPECT_TRUE(liftInCloseBand(0, 0, 10, 26));  // narrower than the band: band all over
    EXPECT_TRUE(liftInCloseBand(9, 0, 10, 26));
    EXPECT_FALSE(liftInCloseBand(10, 0, 10, 26));
    EXPECT_FALSE(liftInCloseBand(0, 0, 0, 26));  // no width, no band
    EXPECT_FALSE(liftInCloseBand(65535, 0, 70000, 26));  // a 16-bit coordinate never reaches it
    EXPECT_FALSE(liftInCloseBand(5, 0, 240, 0));         // no height
}

TEST(TapRules, ClosableWindows) {
    const struct {
        const char* className;
        std::uint32_t style, exStyle;
        bool closable;
    } cases[] = {
        {"NotesApp", kVisible, 0, true},
        {"NotesApp", 0, 0, false},
        {"NotesApp", kVisible | kDisabled, 0, false},
        {"Dialog", kVisible, 0, false},
        {"dialog", kVisible, 0, true},
        {"static", kVisible, 0, false},
        {"Static", kVisible, 0, true},
        {"Worker", kVisible, 0, false},
        {"Worke", kVisible, 0, true},
        {"Workers", kVisible, 0, true},
        {"HHTaskBar", kVisible, 0, false},
        {"DesktopExplorerWindow", kVisible, 0, false},
        {"MS_SIPBUTTON", kVisible, 0, false},
        {"NotesApp", kVisible, kNoActivate, false},
        {"NotesApp", kVisible, kCaptionOk, false},
        {"NotesApp", kVisible, 0x40000008, true},  // WS_EX_NODRAG | WS_EX_TOPMOST
    };
    for (const auto& c : cases)
        EXPECT_EQ(closableWindow({true, c.className, c.style, c.exStyle}), c.closable) << c.className;
    EXPECT_FALSE(closableWindow({false, "NotesApp", kVisible, 0}));
}

TEST(VolumeModel, StepsClampEachChannel) {
    EXPECT_EQ(stepVolume(30000u << 16 | 65000u, true), 31092u << 16 | 65535u);
    EXPECT_EQ(stepVolume(2000u << 16 | 500u, false), 908u << 16 | 0u);
    EXPECT_EQ(stepVolume(0, false), 0u);
    EXPECT_EQ(stepVolume(0xFFFFFFFFu, true), 0xFFFFFFFFu);
    std::uint32_t v = 0;
    for (int i = 0; i < 60; ++i) v = stepVolume(v, true);
    EXPECT_EQ(v, 65520u << 16 | 65520u);
    EXPECT_EQ(stepVolume(v, true), 0xFFFFFFFFu);
}

TEST(VolumeModel, FollowsWhatTheBridgeHandledAndWhatFailed) {
    VolumeModel m;
    m.rebase(0, 10, 7);
    m.press(true);
    m.press(true);
    m.press(false);
    auto e = m.expect(10, 7);
    EXPECT_TRUE(e.consistent);
    EXPECT_EQ(e.pending, 3u);
    EXPECT_EQ(e.volume, 0u);

    m.failGet(12);  // the second press could not read the volume: nothing written for it
    e = m.expect(12, 8);
    EXPECT_TRUE(e.consistent) << e.why;
    EXPECT_EQ(e.volume, stepVolume(0, true));

    m.failSet(9);  // the third press's write failed
    e = m.expect(13, 9);
    EXPECT_TRUE(e.consistent) << e.why;
    EXPECT_EQ(e.volume, stepVolume(0, true));
    EXPECT_EQ(e.pending, 0u);

    EXPECT_FALSE(m.expect(14, 9).consistent);  // more reads than presses
    EXPECT_FALSE(m.expect(13, 8).consistent);  // a write missing
}

}  // namespace
