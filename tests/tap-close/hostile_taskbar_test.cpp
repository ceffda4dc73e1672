// Taskbars of widths 0, 1, 24, 25, 26 and wide, and heights from 0 up, with stylus lifts at the
// close band's edges and at the ends of the 16-bit coordinate range. The expectation is the
// program's rule: x and y are the lParam's 16-bit halves read unsigned; a lift is a hit when
// width - 25 <= x < width and y < height, in signed 32-bit arithmetic. Every lift, hit or not,
// reaches the taskbar once and unchanged.
#include <set>
#include <string>
#include <vector>

#include "tapclose_fixture.h"

using namespace tapclose_test;

namespace {

constexpr int kBand = 25;

bool isHit(int width, int height, int x, int y) {
    const int ux = x & 0xFFFF;
    const int uy = y & 0xFFFF;
    return ux >= width - kBand && ux < width && uy < height;
}

// Columns at and around the band's edges and the taskbar's, and the ends of the 16-bit range.
std::vector<int> columns(int width) {
    const std::set<int> xs = {0,          1,         24,    25,        26,    width - 26, width - 25,
                              width - 24, width - 1, width, width + 1, 32767, 32768,      65510,
                              65511,      65535,     65536, -1,        -25,   -26,        -32768};
    return {xs.begin(), xs.end()};
}

std::vector<int> rows(int height) {
    const std::set<int> ys = {0, 1, height - 1, height, height + 1, 25, 26, 32767, 32768, 65535, -1, -32768};
    return {ys.begin(), ys.end()};
}

constexpr int kWidths[] = {0, 1, 24, 25, 26, 240, 32767, 32768, 65535, 65536, 100000};
constexpr int kHeights[] = {0, 1, 26, 32768};

class HostileTaskbar : public ::testing::TestWithParam<int> {};

}  // namespace

// Lifts along the taskbar's top row, and down its last column.
TEST_P(HostileTaskbar, LiftsCloseTheApplicationExactlyInTheBand) {
    const int width = GetParam();
    for (int height : kHeights) {
        pocket::PocketDevice device(withShell(width, height));
        ASSERT_TRUE(device.start("appshut").running);
        std::vector<std::pair<int, int>> lifts;
        for (int x : columns(width)) lifts.push_back({x, 0});
        for (int y : rows(height)) lifts.push_back({width - 1, y});

        sim::StandInOptions options;
        options.foreground = true;
        HWND app = nullptr;
        for (const auto& [x, y] : lifts) {
            SCOPED_TRACE("taskbar " + std::to_string(width) + " x " + std::to_string(height) + ", lift at (" +
                         std::to_string(x) + ", " + std::to_string(y) + ")");
            // The one in front, again; a closed one is followed by another.
            if (app && device.standIns().back().open) {
                device.setForeground(app);
            } else {
                app = device.createApplication("app", "NotesApp", "Notes", options).hwnd;
                ASSERT_NE(app, nullptr);
            }
            const std::size_t received = device.taskbarReceived().size();
            const std::size_t heard = device.standInMessages(app).size();

            device.stylusUp(x, y);

            ASSERT_EQ(device.taskbarReceived().size(), received + 1);
            const sim::ReceivedMessage lift = device.taskbarReceived().back();
            EXPECT_EQ(lift.message, static_cast<UINT>(WM_LBUTTONUP));
            EXPECT_EQ(lift.lParam, at(x, y));
            std::size_t closes = 0;
            const auto& messages = device.standInMessages(app);
            for (std::size_t i = heard; i < messages.size(); ++i) closes += messages[i].message == WM_CLOSE;
            EXPECT_EQ(closes, isHit(width, height, x, y) ? 1u : 0u);
        }
        EXPECT_TRUE(device.errors().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, HostileTaskbar, ::testing::ValuesIn(kWidths),
                         [](const auto& info) { return "Width" + std::to_string(info.param); });
