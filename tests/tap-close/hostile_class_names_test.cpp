// Class names at and around 31, 32, 63 and 64 characters and far longer, for the closable-window
// test: its buffer takes 63 characters and a terminator, and only a whole, exact name of its list
// excludes a window. A name that merely begins with one is decided by the two style bits alone.
#include <string>

#include "tapclose_fixture.h"

using namespace tapclose_test;

namespace {

constexpr std::size_t kLengths[] = {31, 32, 33, 62, 63, 64, 65, 256, 1000};
constexpr DWORD kStyles[] = {0, WS_EX_NOACTIVATE, WS_EX_CAPTIONOKBTN};

std::string padded(const std::string& head, std::size_t length) {
    std::string name = head;
    while (name.size() < length) name += static_cast<char>('a' + name.size() % 26);
    return name.substr(0, length);
}

class LongClassName : public TapCloseTest, public ::testing::WithParamInterface<const char*> {};

}  // namespace

TEST_P(LongClassName, IsNeverAnExcludedName) {
    ASSERT_TRUE(start().running);
    for (std::size_t length : kLengths) {
        for (DWORD exStyle : kStyles) {
            const std::string className = padded(GetParam(), length);
            SCOPED_TRACE(std::to_string(length) + " characters, extended style " + std::to_string(exStyle));
            sim::StandInOptions options;
            options.exStyle = exStyle;
            const HWND app = application(className, options);
            ASSERT_NE(app, nullptr);
            device.tapTaskbar(230, 10);
            const bool closable = exStyle == 0;
            EXPECT_EQ(closesSent(app), closable ? 1u : 0u);
            if (!closable) {
                EXPECT_TRUE(device.closeStandIn(app));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Heads, LongClassName,
                         ::testing::Values("HHTaskBar", "SipWndClass", "menu_worker", "Explore", "Worker",
                                           "DesktopExplorerWindow", "MSPOutlook", "MS_SIPBUTTON", "static", "Dialog",
                                           "NotesApp"),
                         [](const auto& info) { return std::string(info.param); });
