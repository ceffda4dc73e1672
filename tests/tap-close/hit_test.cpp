// Which stylus lifts on the taskbar close the application in front.
#include <vector>

#include "tapclose_fixture.h"

using namespace tapclose_test;

namespace {

struct LiftRow {
    const char* name;
    int width;
    int height;
    int x;
    int y;
    bool closes;
};

class BandTest : public TapCloseTest, public ::testing::WithParamInterface<LiftRow> {
protected:
    BandTest() : TapCloseTest(withShell(GetParam().width, GetParam().height)) {}
};

}  // namespace

TEST_P(BandTest, LiftClosesTheApplicationOnlyInTheBand) {
    const LiftRow& row = GetParam();
    ASSERT_TRUE(start().running);
    HWND app = application();
    device.recordCalls();
    device.tapTaskbar(row.x, row.y);
    EXPECT_EQ(taskbarLifts(), 1u);
    EXPECT_EQ(closesSent(app), row.closes ? 1u : 0u);
    EXPECT_EQ(closesPostedByHook(), row.closes ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lifts, BandTest,
    ::testing::Values(
        // 240 x 26: the rightmost 25 columns over the whole height.
        LiftRow{"LeftEdge", 240, 26, 215, 10, true}, LiftRow{"RightEdge", 240, 26, 239, 10, true},
        LiftRow{"LeftOfBand", 240, 26, 214, 10, false}, LiftRow{"RightOfTaskbar", 240, 26, 240, 10, false},
        LiftRow{"TopRow", 240, 26, 230, 0, true}, LiftRow{"BottomRow", 240, 26, 230, 25, true},
        LiftRow{"BelowTaskbar", 240, 26, 230, 26, false}, LiftRow{"FarBelow", 240, 26, 230, 300, false},
        LiftRow{"LeftEnd", 240, 26, 0, 0, false},
        // Negative positions arrive as large unsigned numbers.
        LiftRow{"LeftOfTaskbar", 240, 26, -1, 10, false}, LiftRow{"AboveTaskbar", 240, 26, 230, -1, false},
        LiftRow{"AboveAndLeft", 240, 26, -1, -1, false}, LiftRow{"FarAbove", 240, 26, 230, -32768, false},
        LiftRow{"BandWidthLeft", 240, 26, -25, 10, false},
        // Narrower than the band: all of it is band, but nothing left of it.
        LiftRow{"NarrowLeftEnd", 20, 26, 0, 10, true}, LiftRow{"NarrowRightEnd", 20, 26, 19, 10, true},
        LiftRow{"NarrowRightOfTaskbar", 20, 26, 20, 10, false},
        LiftRow{"NarrowLeftOfTaskbar", 20, 26, -1, 10, false},
        LiftRow{"NarrowAboveTaskbar", 20, 26, 10, -1, false}, LiftRow{"BandWide", 25, 26, 0, 10, true},
        LiftRow{"BandWideLeftOf", 25, 26, -1, 10, false},
        // The band follows the taskbar's own height.
        LiftRow{"LowBottomRow", 240, 10, 230, 9, true}, LiftRow{"LowBelow", 240, 10, 230, 10, false}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct Stroke {
    enum Kind { Down, Move, Up } kind;
    int x;
    int y;
};

struct StrokeRow {
    const char* name;
    std::vector<Stroke> strokes;
    bool closes;
};

class StrokeTest : public TapCloseTest, public ::testing::WithParamInterface<StrokeRow> {};

}  // namespace

// Only where the stylus leaves the taskbar counts.
TEST_P(StrokeTest, OnlyTheLiftDecides) {
    ASSERT_TRUE(start().running);
    HWND app = application();
    const std::uint64_t mark = device.mark();
    for (const Stroke& s : GetParam().strokes) {
        if (s.kind == Stroke::Down) device.stylusDown(s.x, s.y);
        if (s.kind == Stroke::Move) device.stylusMove(s.x, s.y);
        if (s.kind == Stroke::Up) device.stylusUp(s.x, s.y);
    }
    EXPECT_EQ(closesSent(app), GetParam().closes ? 1u : 0u);
    // The journal has the stroke as the screen felt it.
    const auto touches = device.journal().all<sim::StylusEvent>(mark);
    ASSERT_EQ(touches.size(), GetParam().strokes.size());
    for (std::size_t i = 0; i < touches.size(); ++i) {
        const Stroke& s = GetParam().strokes[i];
        EXPECT_EQ(touches[i].message, s.kind == Stroke::Down ? WM_LBUTTONDOWN : s.kind == Stroke::Move ? WM_MOUSEMOVE : WM_LBUTTONUP);
        EXPECT_EQ(std::pair(touches[i].x, touches[i].y), std::pair(s.x, s.y));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Strokes, StrokeTest,
    ::testing::Values(
        StrokeRow{"PressInBandLiftOutside", {{Stroke::Down, 230, 10}, {Stroke::Up, 100, 10}}, false},
        StrokeRow{"PressOutsideLiftInBand", {{Stroke::Down, 100, 10}, {Stroke::Up, 230, 10}}, true},
        StrokeRow{"DragOutOfBand",
                  {{Stroke::Down, 230, 10}, {Stroke::Move, 200, 10}, {Stroke::Move, 100, 10}, {Stroke::Up, 100, 10}},
                  false},
        StrokeRow{"DragIntoBand",
                  {{Stroke::Down, 100, 10}, {Stroke::Move, 220, 10}, {Stroke::Move, 230, 10}, {Stroke::Up, 230, 10}},
                  true},
        StrokeRow{"PressAndMoveInBandWithoutLift", {{Stroke::Down, 230, 10}, {Stroke::Move, 235, 12}}, false},
        StrokeRow{"DragBelowTaskbar", {{Stroke::Down, 230, 10}, {Stroke::Move, 230, 40}, {Stroke::Up, 230, 40}}, false}),
    [](const auto& info) { return std::string(info.param.name); });
