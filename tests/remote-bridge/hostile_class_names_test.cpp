// Window class names and titles at and around the bridge's 32-character class buffer and beyond,
// for its two window checks: the media player it posts commands to ("TUNELARKMIDI" or "TUNELARK",
// compared whole and exactly) and the Windows Media Player window that keeps it from starting
// (class "WMP7.5 for Pocket PC" and title "Windows Media" together).
#include <string>

#include "bridge_fixture.h"

using namespace bridge_test;

namespace {

constexpr std::size_t kLengths[] = {31, 32, 33, 63, 64, 65, 256, 1000};

// `head` continued with letters to `length` characters.
std::string padded(const std::string& head, std::size_t length) {
    std::string name = head;
    while (name.size() < length) name += static_cast<char>('A' + name.size() % 26);
    return name.substr(0, length);
}

class BridgePlayerClass : public BridgeTest, public ::testing::WithParamInterface<const char*> {};

}  // namespace

// Windows whose class only begins with a player's class, however long, are walked past: the
// command goes to the real player behind them, and none of them hears of it.
TEST_P(BridgePlayerClass, LongNamesBeginningWithItAreNotThePlayer) {
    const std::string head = GetParam();
    start();
    HWND real = player(head);  // created first, so behind all the others
    std::vector<HWND> lookalikes;
    for (std::size_t length : kLengths)
        lookalikes.push_back(device.createStandIn("lookalike", padded(head, length), "Tunelark").hwnd);
    device.pressKey(kKeyB);
    for (std::size_t i = 0; i < lookalikes.size(); ++i)
        EXPECT_TRUE(commands(lookalikes[i]).empty()) << "class of " << kLengths[i] << " characters";
    EXPECT_EQ(commands(real), std::vector<WPARAM>{40037});
    EXPECT_EQ(soundCount(), 1u);
}

// With only the look-alikes there, no player is found: nothing posted, nothing heard.
TEST_P(BridgePlayerClass, LongNamesAloneFindNoPlayer) {
    const std::string head = GetParam();
    start();
    std::vector<HWND> lookalikes;
    for (std::size_t length : kLengths)
        lookalikes.push_back(device.createStandIn("lookalike", padded(head, length), "Tunelark").hwnd);
    device.pressKey(kKeyA);
    device.pressKey(kMulti);
    device.advance(450);
    for (HWND window : lookalikes) EXPECT_TRUE(commands(window).empty());
    EXPECT_EQ(soundCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Classes, BridgePlayerClass, ::testing::Values("TUNELARK", "TUNELARKMIDI"),
                         [](const auto& info) { return std::string(info.param); });

namespace {

struct DecoyRow {
    const char* name;
    std::string className;
    std::string title;
};

std::vector<DecoyRow> decoyRows() {
    std::vector<DecoyRow> rows;
    for (std::size_t length : kLengths) {
        rows.push_back({"Class", padded("WMP7.5 for Pocket PC", length), "Windows Media"});
        rows.push_back({"Title", "WMP7.5 for Pocket PC", padded("Windows Media", length)});
    }
    return rows;
}

}  // namespace

// A window whose class or title only begins with Windows Media Player's does not keep the bridge
// from starting.
TEST_F(BridgeTest, LongerClassOrTitleThanWindowsMediaPlayersDoesNotStopTheStart) {
    for (const DecoyRow& row : decoyRows()) {
        SCOPED_TRACE(std::string(row.name) + " of " + std::to_string(std::max(row.className.size(), row.title.size())) +
                     " characters");
        const HWND other = device.createStandIn("player", row.className, row.title).hwnd;
        ASSERT_NE(other, nullptr);
        ASSERT_TRUE(start().running);
        const auto icon = device.trayIconOf("rcbridge");
        ASSERT_TRUE(icon);
        ASSERT_TRUE(device.penDownOnTrayIcon(icon->hwnd, icon->id));
        ASSERT_TRUE(device.chooseMenuItem(kExit));
        ASSERT_EQ(device.runningCount("rcbridge"), 0u);
        ASSERT_TRUE(device.closeStandIn(other));
    }
}
